// A quit that goes through at once while a run is active (a sub-window is open) waits for the
// real run to stop after its current photo and to write its summary and log rows.
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "app/ShellFakes.h"
#include "core/AppDelegate.h"
#include "core/DataBeans/PhotoFile.h"
#include "core/DbManager/DBManager.h"
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

TEST(QuitDuringRunTest, TheRunStopsAfterItsPhotoAndLogsBeforeTheProcessExits)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    AppDelegate* delegate = AppDelegate::resetShared();
    delegate->dbManager = std::make_shared<DBManager>();
    constexpr int kPhotos = 40;
    for (int i = 0; i < kPhotos; ++i) {
        const QString path = dir.filePath(QString("p%1.jpg").arg(i));
        ASSERT_TRUE(testimages::writePattern(path, 1600, 1200));
        PhotoFilePtr photo = PhotoFile::initWithFileUrl(path, QFileInfo(path).fileName(), false);
        photo->setIsSelected(true);
        delegate->arraySelectedImagesToProcess.append(photo);
    }
    auto engine = ProcessingEngine::create({ std::make_shared<ProcessingPhotoPipeline>(),
        std::make_shared<ProcessingFileProbe>(), std::make_shared<ProcessingClock>(), nullptr,
        std::make_shared<ProcessingLogDatabase>(delegate->dbManager), std::make_shared<ProcessingSerialExecutor>() });

    int exits = 0;
    int summariesAtExit = -1;
    int workersAtExit = -1;
    AppController::Hooks hooks;
    auto* side = new shelltest::FakeWindowSide;
    side->runActive = [&] { return engine->isRunActive(); };
    side->stopRun = [&] { engine->stopProcessing(); };
    hooks.makeMainWindow = [side](AppController*) { return std::unique_ptr<MainWindowSide>(side); };
    hooks.exitApplication = [&] {
        ++exits;
        summariesAtExit = int(delegate->dbManager->getAllLogSummaries().size());
        workersAtExit = engine->activeWorkers();
    };
    AppController controller(hooks);
    controller.openMainWindow();

    RunOptions options;
    options.job.folderOption = 1;
    options.job.ouptputFolder = dir.filePath("out");
    options.job.formatOption = 1;
    options.job.selectedFileFormat = 2; // png: slow enough to be stopped on the way
    options.job.isCustomSize = true;
    options.job.customWidth = 1200;
    options.job.customHeight = 900;
    ASSERT_TRUE(engine->startProcess(options));
    // The quit comes once a photo is written, while the run is on its way through the others.
    QDeadlineTimer first(60'000);
    while (engine->counterProcessedSuccessfully() == 0 && !first.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    ASSERT_GE(engine->counterProcessedSuccessfully(), 1);
    delegate->isSubWindowOpened = true; // a sheet is up: the quit goes through at once

    controller.terminate();
    EXPECT_EQ(exits, 0); // not in the middle of a photo

    QDeadlineTimer limit(120'000);
    while (exits == 0 && !limit.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    ASSERT_EQ(exits, 1);
    EXPECT_EQ(summariesAtExit, 1);
    const DbRows summaries = delegate->dbManager->getAllLogSummaries();
    ASSERT_EQ(summaries.size(), 1);
    const DbRows details = delegate->dbManager->getAllLogDetailsWhereTimestamp(summaries[0].value("timeStamp"));
    const int converted = summaries[0].value("imagesConverted").toInt();
    EXPECT_GE(converted, 1);
    EXPECT_LT(converted, kPhotos); // stopped on the way
    // Every photo written is a whole file with its log row; no temporary file is left behind.
    // Anything else in the folder, whatever its name, is a leftover of an unfinished write.
    const QRegularExpression whole(QStringLiteral("^p\\d+\\.png$"));
    QStringList outputs;
    QStringList leftovers;
    for (const QString& name : QDir(dir.filePath("out")).entryList(QDir::Files | QDir::Hidden | QDir::System))
        (whole.match(name).hasMatch() ? outputs : leftovers).append(name);
    EXPECT_EQ(outputs.size(), converted) << outputs.join(", ").toStdString();
    EXPECT_TRUE(leftovers.isEmpty()) << leftovers.join(", ").toStdString();
    EXPECT_GE(details.size(), converted);
    EXPECT_EQ(workersAtExit, 0); // the worker had returned
}

} // namespace
} // namespace vantrel
