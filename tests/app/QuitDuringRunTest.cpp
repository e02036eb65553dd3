// A quit while a run is active: it stops the real run, waits for its summary and log rows, and for
// the run's threads only a bounded time, so that a source whose reads stopped answering never
// holds the process.
#include <semaphore>
#include <utility>

#include <sqlite3.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include "app/ShellFakes.h"
#include "core/AppDelegate.h"
#include "core/DataBeans/PhotoFile.h"
#include "core/DbManager/DBManager.h"
#include "core/Processing/OutputFileSystem.h"
#include "core/Processing/ProcessingClock.h"
#include "core/Processing/ProcessingEngine.h"
#include "core/Processing/ProcessingFileProbe.h"
#include "core/Processing/ProcessingLogDatabase.h"
#include "core/Processing/ProcessingPhotoPipeline.h"
#include "core/Processing/ProcessingSerialExecutor.h"
#include "core/Processing/RunLogWriter.h"
#include "platform/Defaults.h"
#include "platform/NotificationCenter.h"
#include "platform/Sqlite.h"
#include "support/TestImages.h"

namespace vantrel {
namespace {

/// Writes `count` photos p0.jpg... of `width` x `height` into `dir` and adds each, checked, to the
/// batch.
bool addCheckedPhotos(AppDelegate* delegate, const QTemporaryDir& dir, int count, int width, int height)
{
    for (int i = 0; i < count; ++i) {
        const QString path = dir.filePath(QString("p%1.jpg").arg(i));
        if (!testimages::writePattern(path, width, height))
            return false;
        PhotoFilePtr photo = PhotoFile::initWithFileUrl(path, QFileInfo(path).fileName(), false);
        photo->setIsSelected(true);
        delegate->arraySelectedImagesToProcess.append(photo);
    }
    return true;
}

TEST(QuitDuringRunTest, TheRunStopsAndLogsBeforeTheProcessExits)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    AppDelegate* delegate = AppDelegate::resetShared();
    delegate->dbManager = std::make_shared<DBManager>();
    constexpr int kPhotos = 40;
    ASSERT_TRUE(addCheckedPhotos(delegate, dir, kPhotos, 1600, 1200));
    auto engine = ProcessingEngine::create({ std::make_shared<ProcessingPhotoPipeline>(),
        std::make_shared<ProcessingFileProbe>(), std::make_shared<ProcessingClock>(), nullptr,
        std::make_shared<ProcessingLogDatabase>(delegate->dbManager), std::make_shared<ProcessingSerialExecutor>() });

    int exits = 0;
    int summariesAtExit = -1;
    int workersAtExit = -1;
    AppController::Hooks hooks;
    auto* side = new shelltest::FakeWindowSide;
    side->runActive = [&] { return engine->isRunActive(); };
    side->stop = [&] { engine->stopProcessing(); };
    side->runThreadsDone = [&](std::function<void()> done) { engine->whenWorkersReturned(std::move(done)); };
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

/// The real file system, whose read of one photo's source (the copy of a photo kept as it is)
/// blocks until the test lets it go, as a share that stopped answering holds it. The photo's
/// temporary output exists by then.
class StallingFileSystem : public OutputFileSystem {
public:
    explicit StallingFileSystem(QString stalled)
        : m_stalled(std::move(stalled))
    {
    }
    int copyContents(const QString& source, const QString& target) override
    {
        if (QFileInfo(source).fileName() == m_stalled) {
            entered.release();
            released.acquire();
        }
        return OutputFileSystem::copyContents(source, target);
    }
    std::binary_semaphore entered { 0 };
    std::binary_semaphore released { 0 };

private:
    QString m_stalled;
};

TEST(QuitDuringRunTest, AStalledReadHoldsNeitherTheStopNorTheQuit)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    AppDelegate* delegate = AppDelegate::resetShared();
    delegate->dbManager = std::make_shared<DBManager>();
    Defaults::standard().removeObjectForKey(kDefaultsSavedProjectSession);
    constexpr int kPhotos = 6;
    ASSERT_TRUE(addCheckedPhotos(delegate, dir, kPhotos, 320, 240));
    // Another copy of the application holds the log database all through the quit: this run's
    // rows are kept for the next run once the write has waited its (short) budget.
    const QString database = delegate->dbManager->excludedatabasePath();
    SqliteDatabase holder;
    ASSERT_TRUE(holder.open(database, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE));
    ASSERT_TRUE(holder.exec("BEGIN EXCLUSIVE"));
    auto files = std::make_shared<StallingFileSystem>("p2.jpg");
    // The read is let go of whatever happens below, so that no thread is left held.
    bool released = false;
    const auto releaseRead = [&] {
        if (!std::exchange(released, true))
            files->released.release();
    };
    const auto releaseOnExit = qScopeGuard(releaseRead);
    auto engine = ProcessingEngine::create({ std::make_shared<ProcessingPhotoPipeline>(files),
        std::make_shared<ProcessingFileProbe>(), std::make_shared<ProcessingClock>(), nullptr,
        std::make_shared<ProcessingLogDatabase>(delegate->dbManager, std::chrono::milliseconds(200)),
        std::make_shared<ProcessingSerialExecutor>(), 1 });

    int exits = 0;
    int workersAtExit = -1;
    qsizetype keptAtExit = -1;
    bool sessionAtExit = false;
    std::function<void()> waitRunsOut;
    QList<int> alerts;
    QObject context;
    NotificationCenter::defaultCenter().addObserver(&context, kNotificationShowAlertWithType,
        [&](const Notification& n) { alerts.append(n.userInfo.value(kUserInfoType).toInt()); });
    AppController::Hooks hooks;
    auto* side = new shelltest::FakeWindowSide;
    side->changes = true;
    side->runActive = [&] { return engine->isRunActive(); };
    side->stop = [&] { engine->stopProcessing(); };
    side->runThreadsDone = [&](std::function<void()> done) { engine->whenWorkersReturned(std::move(done)); };
    hooks.makeMainWindow = [side](AppController*) { return std::unique_ptr<MainWindowSide>(side); };
    hooks.exitApplication = [&] {
        ++exits;
        workersAtExit = engine->activeWorkers();
        keptAtExit = RunLogWriter(database).pendingRuns().size();
        sessionAtExit = Defaults::standard().contains(kDefaultsSavedProjectSession);
    };
    hooks.runThreadsWaitLimit = [&](std::function<void()> runOut) { waitRunsOut = std::move(runOut); };
    AppController controller(hooks);
    controller.openMainWindow();

    RunOptions options;
    options.job.folderOption = 1;
    options.job.ouptputFolder = dir.filePath("out");
    options.job.isKeepOriginalSize = true; // photos kept as they are: copied
    const auto outputs = [&] {
        return QDir(dir.filePath("out"))
            .entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name)
            .join(", ")
            .toStdString();
    };
    ASSERT_TRUE(engine->startProcess(options));
    ASSERT_TRUE(QTest::qWaitFor([&] { return files->entered.try_acquire(); }, 60'000));
    ASSERT_EQ(engine->counterProcessedSuccessfully(), 2); // p0 and p1; p2's read does not return
    ASSERT_EQ(QDir(dir.filePath("out")).entryList(QDir::Files | QDir::Hidden).size(), 3) << "p2's temporary";

    // Quit: the stop question, the quit cancelled. Yes on it: the summary at once, p2 not processed.
    controller.terminate();
    EXPECT_EQ(alerts, QList<int> { 122 });
    engine->holdProcessing();
    engine->stopProcessing();
    QList<qint32> statuses;
    for (const PhotoFilePtr& photo : engine->arrPhotosToProcess())
        statuses.append(photo->processStatus());
    EXPECT_EQ(statuses, (QList<qint32> { 1, 1, 0, 0, 0, 0 }));
    EXPECT_FALSE(delegate->isProcessingInProgress) << "the summary is not up";
    EXPECT_EQ(outputs(), "p0.jpg, p1.jpg") << "a temporary left under the summary";

    // Quit again: nothing to stop now, so no second question; the session is saved and the process
    // leaves once the log rows are kept and the wait for the run's threads has run out.
    controller.terminate();
    EXPECT_EQ(alerts, QList<int> { 122 }) << "a stop question over the summary";
    ASSERT_EQ(side->saveSheetShown, 1);
    controller.saveSessionAnswered(AppController::SaveSessionAnswer::Save,
        [] { Defaults::standard().setObject(kDefaultsSavedProjectSession, QByteArray("session")); });
    ASSERT_TRUE(QTest::qWaitFor([&] { return bool(waitRunsOut) || exits > 0; }, 60'000))
        << "the quit waits for the stalled read";
    EXPECT_EQ(exits, 0) << "left before the wait ran out";
    waitRunsOut();
    EXPECT_EQ(exits, 1);
    EXPECT_EQ(workersAtExit, 1) << "the stalled thread is left, not joined";
    EXPECT_EQ(keptAtExit, 1) << "the run's log rows are kept for the next run";
    EXPECT_TRUE(sessionAtExit);

    // The read returns after the process would have left: no file is added, no temporary left.
    releaseRead();
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return engine->activeWorkers() == 0 && ProcessingSerialExecutor::unfinishedJobs() == 0; }, 60'000));
    EXPECT_EQ(exits, 1);
    EXPECT_EQ(outputs(), "p0.jpg, p1.jpg");
    ASSERT_TRUE(holder.exec("COMMIT"));
    const QList<RunLogWriter::Run> kept = RunLogWriter(database).pendingRuns();
    ASSERT_EQ(kept.size(), 1);
    ASSERT_EQ(kept[0].details.size(), kPhotos);
    EXPECT_EQ(kept[0].summary.value("imagesConverted").toStdString(), "2");
    EXPECT_EQ(kept[0].details[2].value("information").toStdString(), "File not Processed.");
    Defaults::standard().removeObjectForKey(kDefaultsSavedProjectSession);
}

} // namespace
} // namespace vantrel
