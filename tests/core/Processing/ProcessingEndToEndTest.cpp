// A whole run without fakes: generated photos through the real engine, its worker thread, the
// one-photo pipeline and the file system into a real log database, read back afterwards.
// Not for ThreadSanitizer runs: libvips and its codecs are not instrumented (see README).
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "core/AppDelegate.h"
#include "core/Catalogue.h"
#include "core/DataBeans/PhotoFile.h"
#include "core/DbManager/DBManager.h"
#include "core/Processing/OutputFileSystem.h"
#include "core/Processing/ProcessingClock.h"
#include "core/Processing/ProcessingEngine.h"
#include "core/Processing/ProcessingFileProbe.h"
#include "core/Processing/ProcessingLogDatabase.h"
#include "core/Processing/ProcessingPhotoPipeline.h"
#include "core/Processing/ProcessingSerialExecutor.h"
#include "platform/NotificationCenter.h"
#include "platform/imaging/ImageProperties.h"
#include "support/FileCut.h"
#include "support/TestImages.h"

#include "RewritingFileSystem.h"

namespace vantrel {
namespace {

// A fresh log database for the shared application state.
AppDelegate* freshApplication()
{
    // Every test has a home of its own, so the log database starts empty.
    AppDelegate* app = AppDelegate::resetShared();
    app->dbManager = std::make_shared<DBManager>();
    return app;
}

// Puts the photo at `path` into the shared batch, selected.
void addToBatch(AppDelegate* app, const QString& path)
{
    PhotoFilePtr photo = PhotoFile::initWithFileUrl(path, QFileInfo(path).fileName(), false);
    photo->setIsSelected(true);
    app->arraySelectedImagesToProcess.append(photo);
}

// The real engine over `pipeline`, started with `options` and run until it has finished.
std::shared_ptr<ProcessingEngine> runToTheEnd(AppDelegate* app, std::shared_ptr<ProcessingPhotoPipeline> pipeline,
    const RunOptions& options, std::shared_ptr<RunFileProbe> probe = std::make_shared<ProcessingFileProbe>())
{
    auto engine = ProcessingEngine::create(
        { std::move(pipeline), std::move(probe), std::make_shared<ProcessingClock>(), nullptr,
            std::make_shared<ProcessingLogDatabase>(app->dbManager), std::make_shared<ProcessingSerialExecutor>() });
    bool finished = false;
    QObject context;
    NotificationCenter::defaultCenter().addObserver(
        &context, kNotificationsProcessFinished, [&](const Notification&) { finished = true; });
    EXPECT_TRUE(engine->startProcess(options));
    QDeadlineTimer limit(120'000);
    while (!(finished && engine->activeWorkers() == 0) && !limit.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    EXPECT_TRUE(finished);
    return engine;
}

TEST(ProcessingEndToEndTest, GeneratedPhotosThroughTheRealRunIntoTheLog)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString src = dir.path() + "/src";
    const QString out = dir.path() + "/out";
    QDir().mkpath(src);

    AppDelegate* app = freshApplication();

    // Four photos: a landscape, a portrait tagged with orientation 6, a PNG, and one whose source
    // disappears before the run.
    struct Source {
        QString name;
        int width;
        int height;
    };
    const std::vector<Source> sources { { "land.jpg", 1600, 1200 }, { "turned.jpg", 1200, 800 },
        { "flat.png", 640, 480 }, { "gone.jpg", 300, 200 } };
    for (const Source& s : sources) {
        const QString path = src + "/" + s.name;
        ASSERT_TRUE(testimages::writePattern(path, s.width, s.height));
        if (s.name == "turned.jpg") {
            ASSERT_TRUE(testimages::setOrientation(path, 6));
        }
        addToBatch(app, path);
    }
    ASSERT_TRUE(QFile::remove(src + "/gone.jpg"));

    RunOptions options;
    options.job.folderOption = 1;
    options.job.ouptputFolder = out;
    options.job.formatOption = 1;
    options.job.selectedFileFormat = 3; // jpg
    options.job.isCustomSize = true;
    options.job.isKeepAspectRatio = true;
    options.job.customWidth = 400;
    options.job.customHeight = 400;
    // A killed process left a temporary behind; a write in progress elsewhere holds its own.
    QDir().mkpath(out);
    ASSERT_TRUE(testimages::writeBytes(out + "/.vantrel-killed.tmp", "half a photo"));
    QString held;
    ASSERT_EQ(OutputFileSystem::standard()->createTemporary(out, &held), 0);
    const auto engine = runToTheEnd(app, std::make_shared<ProcessingPhotoPipeline>(), options);

    const struct {
        QString output;
        int width;
        int height;
    } expected[] = { { "land.jpg", 400, 300 }, { "turned.jpg", 267, 400 }, { "flat.jpg", 400, 300 } };
    for (const auto& e : expected) {
        SCOPED_TRACE(e.output.toStdString());
        const vips::VImage image = vips::VImage::new_from_file((out + "/" + e.output).toUtf8().constData());
        const bool quarterTurn = image.get_typeof(VIPS_META_ORIENTATION) && image.get_int(VIPS_META_ORIENTATION) >= 5;
        EXPECT_EQ(quarterTurn ? image.height() : image.width(), e.width);
        EXPECT_EQ(quarterTurn ? image.width() : image.height(), e.height);
    }

    const DbRows summaries = app->dbManager->getAllLogSummaries();
    ASSERT_EQ(summaries.size(), 1);
    const DbRow& summary = summaries[0];
    EXPECT_EQ(summary.value("imagesSelected"), "4");
    EXPECT_EQ(summary.value("imagesConverted"), "3");
    EXPECT_EQ(summary.value("conversionFailed"), "1");
    EXPECT_EQ(summary.value("timeStamp"), engine->getLogDetails().value("timeStamp").toString());

    const DbRows details = app->dbManager->getAllLogDetailsWhereTimestamp(summary.value("timeStamp"));
    ASSERT_EQ(details.size(), 4);
    const QStringList order { "land.jpg", "turned.jpg", "flat.png", "gone.jpg" };
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(details[i].value("inputFilename"), src + "/" + order[i]);
    EXPECT_EQ(details[0].value("outputFilename"), out + "/land.jpg");
    EXPECT_EQ(details[0].value("information"), "Processed successfully.");
    EXPECT_NE(details[0].value("ratio"), " ");
    EXPECT_EQ(details[3].value("information"), "File not available at source directory.");
    EXPECT_EQ(details[3].value("outputFilename"), " ");
    QStringList temporaries;
    for (const QString& name : QDir(out).entryList(QDir::Hidden | QDir::Files | QDir::System))
        if (OutputFileSystem::isTemporaryName(name))
            temporaries << out + "/" + name;
    EXPECT_EQ(temporaries, QStringList { held }) << "only the write still in progress keeps its temporary";
    OutputFileSystem::standard()->discard(held);
}

// The real probe, except that write permission is read from the permission bits, as the photos'
// owner sees them: root may write anything, and the tests run as root.
class PermissionBitsProbe : public ProcessingFileProbe {
public:
    bool isReadOnly(const QString& path) override
    {
        return !QFileInfo(path).permission(QFileDevice::WriteOwner) || ProcessingFileProbe::isReadOnly(path);
    }
};

TEST(ProcessingEndToEndTest, AReadOnlyFolderOfPhotosIsConvertedButNeverReplacedInPlace)
{
    // Two photos in a folder of mode 555, each of mode 444, as on a locked card or a copy from
    // optical media. Converted elsewhere, both are written; kept beside themselves under their own
    // names, each output would replace its source, which is refused.
    const struct {
        const char* name;
        bool elsewhere;
        QString information;
        QString converted;
    } rows[] = {
        { "into another folder", true, "Processed successfully.", "2" },
        { "onto themselves", false, "Access denied to source file.", "0" },
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        QTemporaryDir dir;
        ASSERT_TRUE(dir.isValid());
        const QString card = dir.filePath("card");
        QDir().mkpath(card);
        // A log database of the row's own: two runs in one second would share a summary row.
        const QByteArray dataHome = qgetenv("XDG_DATA_HOME");
        qputenv("XDG_DATA_HOME", QFile::encodeName(dir.filePath("data")));
        AppDelegate* app = freshApplication();
        qputenv("XDG_DATA_HOME", dataHome);
        QList<QByteArray> originals;
        for (const QString name : { "one.jpg", "two.jpg" }) {
            const QString path = card + "/" + name;
            ASSERT_TRUE(testimages::writePattern(path, 320, 240));
            ASSERT_TRUE(
                QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther));
            originals.append(testimages::readBytes(path));
            addToBatch(app, path);
        }
        const auto readAndList = QFileDevice::ReadOwner | QFileDevice::ExeOwner | QFileDevice::ReadGroup
            | QFileDevice::ExeGroup | QFileDevice::ReadOther | QFileDevice::ExeOther;
        ASSERT_TRUE(QFile::setPermissions(card, readAndList));

        RunOptions options;
        options.job.folderOption = row.elsewhere ? 1 : 0;
        options.job.ouptputFolder = dir.filePath("out");
        options.job.isPercentSize = true;
        options.job.perWidth = options.job.perHeight = 50;
        options.askBeforeOverwrite = false;
        runToTheEnd(app, std::make_shared<ProcessingPhotoPipeline>(), options, std::make_shared<PermissionBitsProbe>());
        QFile::setPermissions(card, readAndList | QFileDevice::WriteOwner); // so that the folder can be removed

        const DbRows summaries = app->dbManager->getAllLogSummaries();
        ASSERT_EQ(summaries.size(), 1);
        EXPECT_EQ(summaries[0].value("imagesConverted"), row.converted);
        const DbRows details = app->dbManager->getAllLogDetailsWhereTimestamp(summaries[0].value("timeStamp"));
        ASSERT_EQ(details.size(), 2);
        for (int i = 0; i < 2; ++i) {
            const QString name = i == 0 ? "one.jpg" : "two.jpg";
            EXPECT_EQ(details[i].value("information"), row.information) << name.toStdString();
            EXPECT_EQ(testimages::readBytes(card + "/" + name), originals[i]) << name.toStdString();
            const QString output = options.job.ouptputFolder + "/" + name;
            if (row.elsewhere) {
                EXPECT_EQ(readImageProperties(output, PropertyDepth::SizeAndOrientation).storedSize(), QSize(160, 120))
                    << name.toStdString();
            }
        }
        EXPECT_EQ(QDir(card).entryList(QDir::Files | QDir::Hidden), (QStringList { "one.jpg", "two.jpg" }));
    }
}

// A copy job over three photos, the middle one rewritten in place while its bytes are copied:
// that photo fails with its own log text and leaves no output; the others are written and logged.
TEST(ProcessingEndToEndTest, APhotoRewrittenDuringTheRunFailsAloneWithItsOwnLogText)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    AppDelegate* app = freshApplication();
    const QStringList names { "first.jpg", "rewritten.jpg", "last.jpg" };
    for (const QString& name : names) {
        const QString path = dir.filePath(name);
        ASSERT_TRUE(testimages::writePattern(path, 320, 240));
        addToBatch(app, path);
    }
    ASSERT_TRUE(testimages::writePattern(dir.filePath("other.jpg"), 200, 100));
    QFile other(dir.filePath("other.jpg"));
    ASSERT_TRUE(other.open(QIODevice::ReadOnly));
    const auto fileSystem = std::make_shared<RewritingFileSystem>(
        RewritingFileSystem::At::Copy, dir.filePath("rewritten.jpg"), other.readAll());

    RunOptions options;
    options.job.folderOption = 1;
    options.job.ouptputFolder = dir.filePath("out");
    options.job.isKeepOriginalSize = true;
    runToTheEnd(app, std::make_shared<ProcessingPhotoPipeline>(fileSystem), options);

    const DbRows summaries = app->dbManager->getAllLogSummaries();
    ASSERT_EQ(summaries.size(), 1);
    EXPECT_EQ(summaries[0].value("imagesConverted"), "2");
    EXPECT_EQ(summaries[0].value("conversionFailed"), "1");
    const DbRows details = app->dbManager->getAllLogDetailsWhereTimestamp(summaries[0].value("timeStamp"));
    ASSERT_EQ(details.size(), 3);
    const QString expected[]
        = { "Processed successfully.", "The photo changed while it was being read.", "Processed successfully." };
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(details[i].value("inputFilename"), dir.filePath(names[i]));
        EXPECT_EQ(details[i].value("information"), expected[i]);
    }
    EXPECT_EQ(QDir(options.job.ouptputFolder).entryList(QDir::Files | QDir::Hidden),
        (QStringList { "first.jpg", "last.jpg" }));
}

// A batch of a JPEG, a 36 MB BMP and a JPEG, reduced to half size, with the BMP cut to a third
// of its length once the process has held a mapping of it for a moment, else `delayMs` after the
// run starts. 0 when the run ended as it must: both JPEGs
// written and logged, the BMP either written whole (the cut came after its read) or failed with
// no output; another number tells what went wrong.
int runWithABmpCutShort(int delayMs)
{
    QTemporaryDir dir;
    AppDelegate* app = freshApplication();
    const QStringList names { "first.jpg", "large.bmp", "last.jpg" };
    for (const QString& name : names) {
        const bool large = name.endsWith(".bmp");
        if (!testimages::writePattern(dir.filePath(name), large ? 4000 : 640, large ? 3000 : 480))
            return 2;
        addToBatch(app, dir.filePath(name));
    }
    RunOptions options;
    options.job.folderOption = 1;
    options.job.ouptputFolder = dir.filePath("out");
    options.job.formatOption = 1;
    options.job.selectedFileFormat = 3; // jpg
    options.job.isPercentSize = true;
    options.job.perWidth = options.job.perHeight = 50;
    {
        const test::FileCut cut(dir.filePath("large.bmp"), delayMs);
        runToTheEnd(app, std::make_shared<ProcessingPhotoPipeline>(), options);
    }

    const DbRows summaries = app->dbManager->getAllLogSummaries();
    if (summaries.size() != 1)
        return 3;
    const DbRows details = app->dbManager->getAllLogDetailsWhereTimestamp(summaries[0].value("timeStamp"));
    if (details.size() != 3)
        return 4;
    const QString written = "Processed successfully.";
    if (details[0].value("information") != written || details[2].value("information") != written)
        return 5;
    const QString output = dir.filePath("out/large.jpg");
    const QString outcome = details[1].value("information");
    if (outcome == written)
        return readImageProperties(output, PropertyDepth::SizeAndOrientation).storedSize() == QSize(2000, 1500) ? 0 : 6;
    // Failed as changed, or unreadable when the cut came before the run first read it.
    const bool failed = outcome == "The photo changed while it was being read." || outcome == "File not Processed.";
    return failed && !QFile::exists(output) ? 0 : 7;
}

TEST(ProcessingEndToEndDeathTest, ABmpCutShortWhileTheRunReadsItFailsAloneAndTheRunEnds)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    for (const int delayMs : { 0, 100, 200, 400, 800 }) {
        SCOPED_TRACE(delayMs);
        EXPECT_EXIT(std::_Exit(runWithABmpCutShort(delayMs)), ::testing::ExitedWithCode(0), "");
    }
}

} // namespace
} // namespace vantrel
