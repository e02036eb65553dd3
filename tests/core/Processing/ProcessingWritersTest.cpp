// Several writers and one: the real engine and one-photo pipeline over generated photos of every
// kind give the same output bytes, statuses, messages and log rows, in batch order; and every
// write holds its share of the process's memory budget while it runs, whatever the format.
// Not for ThreadSanitizer runs: libvips and its codecs are not instrumented (see README).
#include <map>
#include <mutex>

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "ProcessingFakes.h"
#include "core/AppDelegate.h"
#include "core/Catalogue.h"
#include "core/Processing/ProcessingEngine.h"
#include "core/Processing/ProcessingPhotoPipeline.h"
#include "core/Processing/ProcessingSerialExecutor.h"
#include "platform/imaging/DecodeBudget.h"
#include "platform/imaging/ImageEncoder.h"
#include "support/TestImages.h"

namespace vantrel::test {
namespace {

/// The real pipeline, noting the budget's bytes held while each photo is written.
class ObservedPipeline : public ProcessingPhotoPipeline {
public:
    RunWriteResult write(const PhotoFile& photo, const QString& outputPath, const RunOptions& options) override
    {
        {
            std::lock_guard lock(mutex);
            heldDuringWrite[photo.fileName()] = DecodeBudget::process().heldBytes();
        }
        return ProcessingPhotoPipeline::write(photo, outputPath, options);
    }
    std::mutex mutex;
    std::map<QString, qint64> heldDuringWrite;
};

/// What a user or the log sees of a finished run, and the bytes of every output.
struct Outcome {
    QList<qint32> statuses;
    QStringList messages;
    QStringList logRows;
    std::map<QString, QByteArray> files;
    std::map<QString, qint64> held;
};

bool writeKind(const QString& path, const QString& kind)
{
    if (kind == "progressive") {
        try {
            testimages::makePattern(900, 600).jpegsave(
                path.toUtf8().constData(), vips::VImage::option()->set("Q", 85)->set("interlace", true));
            return true;
        } catch (const vips::VError&) {
            return false;
        }
    }
    if (!testimages::writePattern(path, 900, 600))
        return false;
    return kind != "turned" || testimages::setOrientation(path, 6);
}

Outcome runBatch(int writers, const RunOptions& options, const QString& src, const QString& out)
{
    AppDelegate* app = AppDelegate::resetShared();
    QDir(out).removeRecursively();
    for (const QString& name : QDir(src).entryList(QDir::Files, QDir::Name)) {
        PhotoFilePtr photo = PhotoFile::initWithFileUrl(src + "/" + name, name, false);
        photo->setIsSelected(true);
        app->arraySelectedImagesToProcess.append(photo);
    }
    auto pipeline = std::make_shared<ObservedPipeline>();
    auto log = std::make_shared<FakeLog>();
    FakeView view;
    auto engine = ProcessingEngine::create({ pipeline, std::make_shared<ProcessingFileProbe>(),
        std::make_shared<FakeClock>(), nullptr, log, std::make_shared<ProcessingSerialExecutor>(), writers });
    engine->setView(&view);
    NotificationRecorder recorder({ kNotificationsProcessFinished });
    Outcome outcome;
    if (!engine->startProcess(options) || !spinUntil([&] {
            return recorder.posted.contains(kNotificationsProcessFinished) && engine->activeWorkers() == 0;
        }))
        return outcome;
    for (const PhotoFilePtr& photo : engine->arrPhotosToProcess()) {
        outcome.statuses.append(photo->processStatus());
        outcome.messages.append(photo->processInfoMessage());
    }
    for (const QVariantMap& row : log->details)
        outcome.logRows.append(row.value("inputFilename").toString() + " -> " + row.value("outputFilename").toString()
            + ": " + row.value("information").toString());
    for (const QString& name : QDir(out).entryList(QDir::Files, QDir::Name))
        outcome.files[name] = readAll(out + "/" + name);
    outcome.held = pipeline->heldDuringWrite;
    return outcome;
}

TEST(ProcessingWritersTest, ManyWritersWriteTheBytesOfOneAndHoldTheirShare)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString src = dir.path() + "/src";
    const QString out = dir.path() + "/out";
    QDir().mkpath(src);
    // Two photos of each kind, so that photos of one kind are in flight together.
    const QStringList kinds { "sequential", "progressive", "turned", "png", "tif" };
    for (int copy = 0; copy < 2; ++copy) {
        for (const QString& kind : kinds) {
            const QString extension = kind == "png" ? "png" : kind == "tif" ? "tif" : "jpg";
            ASSERT_TRUE(writeKind(src + QStringLiteral("/%1%2.%3").arg(kind).arg(copy).arg(extension), kind));
        }
    }

    struct Job {
        const char* name;
        std::function<void(RunOptions&)> set;
    };
    const Job jobs[] = {
        { "reduced to JPEG",
            [](RunOptions& o) {
                o.job.formatOption = 1;
                o.job.selectedFileFormat = 3; // jpg
                o.job.isCustomSize = true;
                o.job.isKeepAspectRatio = true;
                o.job.customWidth = 300;
                o.job.customHeight = 10000;
            } },
        { "kept size, to PNG",
            [](RunOptions& o) {
                o.job.formatOption = 1;
                o.job.selectedFileFormat = 2; // png
                o.job.isKeepOriginalSize = true;
            } },
    };
    for (const Job& job : jobs) {
        SCOPED_TRACE(job.name);
        RunOptions options;
        options.job.folderOption = 1;
        options.job.ouptputFolder = out;
        options.job.compressionRatio = 75;
        options.askBeforeOverwrite = false;
        job.set(options);
        const Outcome one = runBatch(1, options, src, out);
        const Outcome many = runBatch(4, options, src, out);
        ASSERT_EQ(one.statuses.size(), 2 * kinds.size());
        EXPECT_EQ(one.statuses, QList<qint32>(2 * kinds.size(), 1));
        EXPECT_EQ(many.statuses, one.statuses);
        EXPECT_EQ(many.messages, one.messages);
        EXPECT_EQ(many.logRows.join('\n').toStdString(), one.logRows.join('\n').toStdString());
        ASSERT_EQ(one.files.size(), 2 * kinds.size());
        for (const auto& [name, bytes] : one.files) {
            ASSERT_TRUE(many.files.count(name)) << name.toStdString();
            EXPECT_TRUE(many.files.at(name) == bytes) << name.toStdString() << ": not the same bytes";
        }
        // Every kind that is decoded into memory is admitted by what it holds; a kept-size
        // conversion streams, except a progressive JPEG, which holds a buffer of the whole picture,
        // and a turned photo, decoded whole to be stored upright in PNG. A TIFF holds a copy of
        // its file while its metadata is parsed from that copy.
        // (With one writer the photo's own share is all the budget holds.)
        for (const auto& [name, held] : one.held) {
            const bool tiff = name.endsWith(QLatin1String(".tif"));
            const bool holds = QLatin1String(job.name) == QLatin1String("reduced to JPEG")
                || name.startsWith(QLatin1String("progressive")) || name.startsWith(QLatin1String("turned")) || tiff;
            EXPECT_EQ(held > 0, holds) << name.toStdString();
            if (tiff) {
                EXPECT_GE(held, QFileInfo(src + "/" + name).size()) << name.toStdString();
            }
        }
    }
}

TEST(ProcessingWritersTest, AGifWriteIsAdmittedByWhatItsEncoderHolds)
{
    // The GIF encoder holds its whole frame several times over (gifEncoderBytes); a write that is
    // admitted by less lets other photos start beside it and takes the process past its budget.
    // Both routes: a kept size streams from the loader, a reduced size is decoded into memory.
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString src = dir.path() + "/src";
    const QString out = dir.path() + "/out";
    QDir().mkpath(src);
    ASSERT_TRUE(writeKind(src + "/photo.jpg", "sequential"));
    const struct {
        const char* name;
        bool keepSize;
        qint64 outputPixels;
    } cases[] = { { "kept size", true, 900 * 600 }, { "reduced to 300 wide", false, 300 * 200 } };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        RunOptions options;
        options.job.folderOption = 1;
        options.job.ouptputFolder = out;
        options.job.formatOption = 1;
        options.job.selectedFileFormat = 7; // gif
        options.askBeforeOverwrite = false;
        options.job.isKeepOriginalSize = c.keepSize;
        options.job.isCustomSize = !c.keepSize;
        options.job.isKeepAspectRatio = true;
        options.job.customWidth = 300;
        options.job.customHeight = 10000;
        const Outcome run = runBatch(1, options, src, out);
        ASSERT_EQ(run.statuses, QList<qint32> { 1 });
        ASSERT_EQ(run.held.count("photo.jpg"), 1u);
        EXPECT_GE(run.held.at("photo.jpg"), gifEncoderBytes(c.outputPixels));
    }
}

} // namespace
} // namespace vantrel::test
