// A library that fails on one photo fails that photo and nothing else: its text reaches the log
// as one line about that photo, never another photo's, and no exception of a library ends the
// run (or the process) from a writer thread.
// Not for ThreadSanitizer runs: libvips and its codecs are not instrumented (see README).
#include <cstdio>
#include <memory>
#include <string>

#include <fcntl.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "ProcessingFakes.h"
#include "core/AppDelegate.h"
#include "core/Catalogue.h"
#include "core/Processing/OutputFileSystem.h"
#include "core/Processing/ProcessingEngine.h"
#include "core/Processing/ProcessingPhotoPipeline.h"
#include "core/Processing/ProcessingSerialExecutor.h"
#include "platform/imaging/ImageEncoder.h"
#include "platform/imaging/VipsErrorText.h"
#include "support/TestImages.h"

namespace vantrel::test {
namespace {

/// Descriptor 2 goes to a file while it lives; text() is what was written meanwhile. GLib's own
/// messages (libvips' tile warnings, set apart by empty lines of GLib's making) are not taken: in
/// the application they pass through the log's own handler.
class CapturedStandardError {
public:
    explicit CapturedStandardError(const QString& path)
        : m_path(path)
    {
        std::fflush(stderr);
        m_saved = ::dup(2);
        const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
        ::dup2(fd, 2);
        ::close(fd);
        m_glib = g_log_set_default_handler([](const gchar*, GLogLevelFlags, const gchar*, gpointer) {}, nullptr);
    }
    ~CapturedStandardError() { restore(); }
    QString text()
    {
        restore();
        QFile file(m_path);
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }

private:
    void restore()
    {
        if (m_saved < 0)
            return;
        std::fflush(stderr);
        ::dup2(m_saved, 2);
        ::close(m_saved);
        m_saved = -1;
        g_log_set_default_handler(m_glib, nullptr);
    }
    QString m_path;
    int m_saved = -1;
    GLogFunc m_glib = nullptr;
};

struct Outcome {
    QList<qint32> statuses;
    QStringList messages;
    int logRows = 0;
    bool finished = false;
};

/// The real engine and pipeline over the photos of `src`, in name order, with `writers` writers,
/// writing through `fileSystem` (the real one when null).
Outcome runBatch(
    int writers, const RunOptions& options, const QString& src, std::shared_ptr<OutputFileSystem> fileSystem = {})
{
    AppDelegate* app = AppDelegate::resetShared();
    for (const QString& name : QDir(src).entryList(QDir::Files, QDir::Name)) {
        PhotoFilePtr photo = PhotoFile::initWithFileUrl(src + "/" + name, name, false);
        photo->setIsSelected(true);
        app->arraySelectedImagesToProcess.append(photo);
    }
    auto log = std::make_shared<FakeLog>();
    FakeView view;
    auto engine = ProcessingEngine::create(
        { std::make_shared<ProcessingPhotoPipeline>(std::move(fileSystem)), std::make_shared<ProcessingFileProbe>(),
            std::make_shared<FakeClock>(), nullptr, log, std::make_shared<ProcessingSerialExecutor>(), writers });
    engine->setView(&view);
    NotificationRecorder recorder({ kNotificationsProcessFinished });
    Outcome outcome;
    outcome.finished = engine->startProcess(options) && spinUntil([&] {
        return recorder.posted.contains(kNotificationsProcessFinished) && engine->activeWorkers() == 0;
    });
    for (const PhotoFilePtr& photo : engine->arrPhotosToProcess()) {
        outcome.statuses.append(photo->processStatus());
        outcome.messages.append(photo->processInfoMessage());
    }
    outcome.logRows = int(log->details.size());
    return outcome;
}

RunOptions optionsFor(const QString& out, int format)
{
    RunOptions options;
    options.job.folderOption = 1;
    options.job.ouptputFolder = out;
    options.job.formatOption = 1;
    options.job.selectedFileFormat = format;
    options.job.isKeepOriginalSize = true;
    options.job.compressionRatio = 75;
    options.askBeforeOverwrite = false;
    return options;
}

// A photo of noise (which no codec shrinks) saved by its extension and cut to a third: its header
// reads, its decode fails.
bool writeCut(const QString& path)
{
    try {
        const vips::VImage noise = vips::VImage::gaussnoise(600, 400).cast(VIPS_FORMAT_UCHAR);
        noise.bandjoin({ noise, noise }).write_to_file(path.toUtf8().constData());
    } catch (const vips::VError&) {
        return false;
    }
    const QByteArray bytes = testimages::readBytes(path);
    return bytes.size() > 3000 && testimages::writeBytes(path, bytes.left(bytes.size() / 3));
}

/// Removes the injected failure however the test ends.
struct InjectedPngChunkFailure {
    explicit InjectedPngChunkFailure(std::function<bool(const QString&)> fails)
    {
        setPngChunkFailureForTesting(std::move(fails));
    }
    ~InjectedPngChunkFailure() { setPngChunkFailureForTesting({}); }
};

/// The real file system, except that putting an output named `name` in place fails as libvips
/// fails: its text in the error buffer, and its exception thrown, out of the photo's write.
class ThrowingFileSystem : public OutputFileSystem {
public:
    explicit ThrowingFileSystem(QString name)
        : m_name(std::move(name))
    {
    }
    int commit(const QString& temporary, const QString& target) override
    {
        if (target.endsWith('/' + m_name)) {
            vips_error("VipsForeignSavePng", "%s", "out of memory (a test's thrown failure)");
            throw vips::VError();
        }
        return OutputFileSystem::commit(temporary, target);
    }

private:
    QString m_name;
};

TEST(LibraryFailureTest, EachFailedPhotoLogsItsOwnLibraryTextOnOneLine)
{
    // The library's words for each kind of damage (libjpeg's, libpng's).
    const struct Kind {
        const char* extension;
        const char* text;
    } jpeg { "jpg", "Premature end" }, png { "png", "libpng" };
    const struct {
        Kind first;
        Kind second;
    } cases[] = { { jpeg, png }, { png, jpeg } };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.first.extension) + " then " + c.second.extension);
        QTemporaryDir dir;
        ASSERT_TRUE(dir.isValid());
        const QString src = dir.path() + "/src";
        QDir().mkpath(src);
        ASSERT_TRUE(writeCut(src + "/first." + c.first.extension));
        ASSERT_TRUE(writeCut(src + "/second." + c.second.extension));

        CapturedStandardError captured(dir.path() + "/stderr.txt");
        const Outcome outcome = runBatch(1, optionsFor(dir.path() + "/out", 0 /* tif */), src);
        const QString text = captured.text();
        ASSERT_TRUE(outcome.finished);
        ASSERT_EQ(outcome.statuses, QList<qint32>({ 0, 0 })) << text.toStdString();

        const QStringList lines = text.split('\n');
        for (int i = 0; i + 1 < lines.size(); ++i)
            EXPECT_FALSE(lines[i].trimmed().isEmpty()) << "an empty line after: " << lines.value(i - 1).toStdString();
        // Every line about a photo is about it alone; the line that says it was not written
        // carries the library's own words for its damage.
        const struct {
            const char* stem;
            Kind own;
            Kind other;
        } photos[] = { { "first", c.first, c.second }, { "second", c.second, c.first } };
        for (const auto& photo : photos) {
            const QStringList about = lines.filter(QString("/%1.").arg(photo.stem));
            const QStringList notWritten = about.filter("cannot ");
            ASSERT_FALSE(notWritten.isEmpty()) << text.toStdString();
            EXPECT_TRUE(notWritten.last().contains(photo.own.text)) << notWritten.last().toStdString();
            for (const QString& line : about)
                EXPECT_FALSE(line.contains(photo.other.text)) << line.toStdString();
        }
    }
}

// libvips keeps one error buffer for the whole process, and its exception carries all of it: a
// line that another photo's failure (on another writer) put there meanwhile is not this photo's
// reason, unless the buffer says nothing else.
TEST(LibraryFailureTest, APhotosReasonLeavesOutTheLinesAboutOtherFiles)
{
    const QString own = "/photos/trip/own.jpg";
    const QString other = "/photos/trip/other.png";
    const QString notKnown = "VipsForeignLoad: \"%1\" is not a known file format";
    const struct {
        const char* what;
        QList<std::pair<const char*, QString>> buffer; // domain, text as libvips writes them
        QString reason;
    } cases[] = {
        { "another photo's line before this photo's",
            { { "VipsForeignLoad", "\"" + other + "\" is not a known file format" },
                { "VipsForeignLoad", "\"" + own + "\" is not a known file format" } },
            notKnown.arg(own) },
        { "another photo's line after this photo's, a line naming no file kept",
            { { "VipsJpeg", "Premature end of JPEG file" },
                { "VipsForeignLoad", "\"" + own + "\" is not a known file format" },
                { "vips2png", "unable to write " + other } },
            "VipsJpeg: Premature end of JPEG file; " + notKnown.arg(own) },
        { "only another photo's line: said rather than nothing",
            { { "VipsForeignLoad", "\"" + other + "\" is not a known file format" } }, notKnown.arg(other) },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        vips_error_clear();
        for (const auto& [domain, text] : c.buffer)
            vips_error(domain, "%s", text.toUtf8().constData());
        const vips::VError error; // as libvips' C++ layer throws it: the whole buffer
        EXPECT_EQ(VipsErrorText::take(error, own).toStdString(), c.reason.toStdString());
        EXPECT_STREQ(vips_error_buffer(), "") << "the buffer is emptied for the next photo";
    }
}

// A library's failure, whether its encoder catches it or its exception leaves the photo's write
// on the writer thread, fails that photo with the library's text on its line of the log, and
// the run goes on.
TEST(LibraryFailureTest, ALibraryExceptionOnAWriterFailsItsPhotoAndTheRunGoesOn)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString src = dir.path() + "/src";
    QDir().mkpath(src);
    // Tagged photos: their PNGs get metadata chunks, made through a one-pixel PNG.
    for (const char* name : { "a.jpg", "b.jpg", "c.jpg" }) {
        ASSERT_TRUE(testimages::writePattern(src + "/" + name, 320, 240));
        ASSERT_TRUE(testimages::setCameraTags(src + "/" + name));
    }
    const struct {
        const char* what;
        bool injected; // else thrown
        const char* text;
    } cases[] = {
        { "caught in the encoder", true, "out of memory (a test's injected failure)" },
        { "thrown out of the write", false, "out of memory (a test's thrown failure)" },
    };
    for (const auto& c : cases) {
        const InjectedPngChunkFailure injected(
            [&](const QString& source) { return c.injected && source.endsWith("/b.jpg"); });
        for (const int writers : { 1, 3 }) {
            SCOPED_TRACE(c.what + std::string(", writers: ") + std::to_string(writers));
            CapturedStandardError captured(dir.path() + "/stderr.txt");
            const Outcome outcome = runBatch(writers, optionsFor(dir.path() + "/out", 2 /* png */), src,
                c.injected ? nullptr : std::make_shared<ThrowingFileSystem>("b.png"));
            const QString text = captured.text();
            ASSERT_TRUE(outcome.finished);
            EXPECT_EQ(outcome.statuses, QList<qint32>({ 1, 0, 1 }));
            EXPECT_EQ(outcome.messages.value(1), "File not Processed");
            EXPECT_EQ(outcome.logRows, 3);
            const QStringList failed = text.split('\n').filter("/b.png:");
            ASSERT_EQ(failed.size(), 1) << text.toStdString();
            EXPECT_TRUE(failed[0].contains(c.text)) << failed[0].toStdString();
            EXPECT_TRUE(QFile::exists(dir.path() + "/out/a.png"));
            EXPECT_FALSE(QFile::exists(dir.path() + "/out/b.png"));
            EXPECT_TRUE(QFile::exists(dir.path() + "/out/c.png"));
            QDir(dir.path() + "/out").removeRecursively();
        }
    }
}

} // namespace
} // namespace vantrel::test
