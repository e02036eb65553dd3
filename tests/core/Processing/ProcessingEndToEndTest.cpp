// A whole run without fakes: generated photos through the real engine, its worker thread, the
// one-photo pipeline and the file system into a real log database, read back afterwards.
// Not for ThreadSanitizer runs: libvips and its codecs are not instrumented (see README).
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
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
#include "support/TestImages.h"

namespace vantrel {
namespace {

TEST(ProcessingEndToEndTest, GeneratedPhotosThroughTheRealRunIntoTheLog)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString src = dir.path() + "/src";
    const QString out = dir.path() + "/out";
    QDir().mkpath(src);

    AppDelegate* app = AppDelegate::resetShared();
    app->dbManager = std::make_shared<DBManager>();

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
        PhotoFilePtr photo = PhotoFile::initWithFileUrl(path, s.name, false);
        photo->setIsSelected(true);
        app->arraySelectedImagesToProcess.append(photo);
    }
    ASSERT_TRUE(QFile::remove(src + "/gone.jpg"));

    auto engine = ProcessingEngine::create({ std::make_shared<ProcessingPhotoPipeline>(),
        std::make_shared<ProcessingFileProbe>(), std::make_shared<ProcessingClock>(), nullptr,
        std::make_shared<ProcessingLogDatabase>(app->dbManager), std::make_shared<ProcessingSerialExecutor>() });
    bool finished = false;
    QObject context;
    NotificationCenter::defaultCenter().addObserver(
        &context, kNotificationsProcessFinished, [&](const Notification&) { finished = true; });

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
    ASSERT_TRUE(engine->startProcess(options));

    QDeadlineTimer limit(120'000);
    while (!(finished && engine->activeWorkers() == 0) && !limit.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    ASSERT_TRUE(finished);

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

} // namespace
} // namespace vantrel
