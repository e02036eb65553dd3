// The batch run on its real serial worker thread, with the main thread's event loop carrying the
// hops: rapid answers never run two workers, and a stop ends the run at once even while a source
// read holds the worker or a writer. (Also the cases run under ThreadSanitizer.)
#include <semaphore>
#include <string>
#include <utility>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QScopeGuard>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "ProcessingFakes.h"
#include "core/AppDelegate.h"
#include "core/Catalogue.h"
#include "core/Processing/ProcessingEngine.h"
#include "core/Processing/ProcessingSerialExecutor.h"

namespace vantrel::test {
namespace {

class ProcessingThreadsTest : public ::testing::Test {
public:
    void SetUp() override
    {
        AppDelegate::resetShared();
        ASSERT_TRUE(dir.isValid());
        src = dir.path() + "/src";
        out = dir.path() + "/out";
        QDir().mkpath(src);
        QDir().mkpath(out);
        clock->current = QDateTime::currentDateTime();
        engine = ProcessingEngine::create(
            { pipeline, probe, clock, nullptr, log, std::make_shared<ProcessingSerialExecutor>(), 1 });
        engine->setView(&view);
        options.job.folderOption = 1;
        options.job.ouptputFolder = out;
        options.askBeforeOverwrite = false;
    }
    void TearDown() override
    {
        spinUntil([&] { return engine->activeWorkers() == 0 && workerThreadsIdle(); });
    }

    void addPhotos(int count)
    {
        for (int i = 0; i < count; ++i) {
            const QString path = src + QStringLiteral("/p%1.jpg").arg(i);
            QFile file(path);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(path.toUtf8());
            auto photo = std::make_shared<PhotoFile>();
            photo->setFilePath(path);
            photo->setFileURL(path);
            photo->setFileName(QFileInfo(path).fileName());
            photo->setFileExtension("jpg");
            photo->setFileSizeInBytes(file.size());
            photo->setIsSelected(true);
            AppDelegate::shareDelegate()->arraySelectedImagesToProcess.append(photo);
        }
    }

    QTemporaryDir dir;
    QString src;
    QString out;
    FakeView view;
    std::shared_ptr<FakeProbe> probe = std::make_shared<FakeProbe>();
    std::shared_ptr<FakePipeline> pipeline = std::make_shared<FakePipeline>();
    std::shared_ptr<FakeClock> clock = std::make_shared<FakeClock>();
    std::shared_ptr<FakeLog> log = std::make_shared<FakeLog>();
    std::shared_ptr<ProcessingEngine> engine;
    NotificationRecorder recorder { { kNotificationsProcessFinished } };
    RunOptions options;
};

TEST_F(ProcessingThreadsTest, RapidHoldsAndResumesNeverRunTwoWorkers)
{
    addPhotos(12);
    ASSERT_TRUE(engine->startProcess(options));
    // The stop question answered No again and again while the run goes on.
    for (int i = 0; i < 200 && engine->isRunActive(); ++i) {
        engine->holdProcessing();
        QCoreApplication::processEvents();
        engine->restartProcessing();
        QCoreApplication::processEvents();
    }
    ASSERT_TRUE(spinUntil([&] { return !engine->isRunActive() && engine->activeWorkers() == 0; }));
    EXPECT_EQ(pipeline->maxInWrite.load(), 1);
    EXPECT_EQ(recorder.posted.size(), 1);
    EXPECT_EQ(view.summaryCount, 1);
    EXPECT_EQ(engine->counterTotalProgressedFiles(), 12);
    ASSERT_EQ(log->details.size(), 12);
    for (const QVariantMap& row : log->details)
        EXPECT_EQ(row.value("information"), "Processed successfully.");
}

/// The fake pipeline whose read of one photo's source blocks until the test lets it go: the
/// header read of the size step (on the worker) or the read of its write (on a writer), as a
/// share that stopped answering holds them.
class StallingPipeline : public FakePipeline {
public:
    enum class Stage { HeaderRead, WriteRead };
    RunSizeCheck checkSize(const PhotoFile& photo, const RunOptions& options) override
    {
        if (stage == Stage::HeaderRead)
            stallOn(photo);
        return FakePipeline::checkSize(photo, options);
    }
    RunWriteResult write(const PhotoFile& photo, const QString& outputPath, const RunOptions& options) override
    {
        if (stage == Stage::WriteRead)
            stallOn(photo);
        return FakePipeline::write(photo, outputPath, options);
    }
    void stallOn(const PhotoFile& photo)
    {
        if (photo.fileName() != stalled)
            return;
        entered.release();
        released.acquire();
    }
    Stage stage = Stage::HeaderRead;
    QString stalled;
    std::binary_semaphore entered { 0 };
    std::binary_semaphore released { 0 };
};

TEST_F(ProcessingThreadsTest, AStopShowsTheSummaryAtOnceWhileASourceReadIsStalled)
{
    using Stage = StallingPipeline::Stage;
    const struct Row {
        const char* name;
        Stage stage;
        int writers;
        int photos;
        QString stalled;
        QList<qint32> statuses; // at the stop, and still after the stalled read returned
        QStringList outputs; // in the output folder, likewise
    } rows[] = {
        // p0 is written; the worker is stuck in p1's header read.
        { "the worker's header read", Stage::HeaderRead, 1, 4, "p1.jpg", { 1, 0, 0, 0 }, { "p0.jpg" } },
        // p0 is written; p1's write is stuck in its read (one writer: on the worker itself).
        { "a write's read", Stage::WriteRead, 1, 4, "p1.jpg", { 1, 0, 0, 0 }, { "p0.jpg" } },
        // p0's write is stuck while p1 and p2 are written; their outcomes wait for p0's, in batch
        // order, but their files are on disk: they count as converted.
        { "a write's read, later photos written", Stage::WriteRead, 3, 3, "p0.jpg", { 0, 1, 1 },
            { "p1.jpg", "p2.jpg" } },
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        AppDelegate::resetShared();
        src = dir.path() + "/" + row.name + "/src";
        out = dir.path() + "/" + row.name + "/out";
        QDir().mkpath(src);
        QDir().mkpath(out);
        options.job.ouptputFolder = out;
        addPhotos(row.photos);
        auto stalling = std::make_shared<StallingPipeline>();
        stalling->stage = row.stage;
        stalling->stalled = row.stalled;
        auto runLog = std::make_shared<FakeLog>();
        FakeView runView;
        NotificationRecorder finishes({ kNotificationsProcessFinished });
        engine = ProcessingEngine::create(
            { stalling, probe, clock, nullptr, runLog, std::make_shared<ProcessingSerialExecutor>(), row.writers });
        engine->setView(&runView);
        const auto outputs
            = [&] { return QDir(out).entryList(QDir::Files | QDir::Hidden, QDir::Name).join(", ").toStdString(); };
        const std::string expectedOutputs = row.outputs.join(", ").toStdString();
        // The read is let go of whatever happens below, so that no thread is left held.
        bool released = false;
        const auto releaseRead = [&] {
            if (!std::exchange(released, true))
                stalling->released.release();
        };
        const auto releaseOnExit = qScopeGuard(releaseRead);

        ASSERT_TRUE(engine->startProcess(options));
        ASSERT_TRUE(spinUntil([&] { return stalling->entered.try_acquire(); }));
        ASSERT_TRUE(spinUntil([&] { return outputs() == expectedOutputs; })); // the writes that can end, ended

        engine->stopProcessing();
        EXPECT_EQ(runView.summaryCount, 1) << "the summary waits for the stalled read";
        EXPECT_EQ(finishes.posted.size(), 1);
        EXPECT_FALSE(engine->isRunActive());
        EXPECT_EQ(engine->activeWorkers(), 1) << "the worker is still held by the read";
        const std::string converted = std::to_string(row.statuses.count(1));
        EXPECT_EQ(runView.summary.imagesConverted.toStdString(), converted);
        EXPECT_EQ(runView.summary.conversionFailed.toStdString(), std::to_string(row.photos - row.statuses.count(1)));
        ASSERT_EQ(runLog->details.size(), row.photos);
        for (int i = 0; i < row.photos; ++i) {
            EXPECT_EQ(runLog->details[i].value("information").toString().toStdString(),
                row.statuses[i] == 1 ? "Processed successfully." : "File not Processed.")
                << i;
        }

        // The read returns long after the summary: its result is dropped, with its temporary.
        releaseRead();
        ASSERT_TRUE(spinUntil([&] { return engine->activeWorkers() == 0 && workerThreadsIdle(); }));
        QList<qint32> statuses;
        for (const PhotoFilePtr& photo : engine->arrPhotosToProcess())
            statuses.append(photo->processStatus());
        EXPECT_EQ(statuses, row.statuses);
        EXPECT_EQ(outputs(), expectedOutputs) << "a file added or a temporary left after the summary";
        EXPECT_EQ(runView.summaryCount, 1);
        EXPECT_EQ(runView.summary.imagesConverted.toStdString(), converted);
        EXPECT_EQ(finishes.posted.size(), 1);
        EXPECT_EQ(runLog->summaries.size(), 1);
        EXPECT_TRUE(runView.questions.empty());
        engine->setView(nullptr);
    }
}

TEST_F(ProcessingThreadsTest, AnAnswerResumesOnANewWorkerAfterTheOldOneReturned)
{
    addPhotos(4);
    options.askBeforeOverwrite = true;
    QFile existing(out + "/p2.jpg");
    ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
    existing.close();
    ASSERT_TRUE(engine->startProcess(options));
    ASSERT_TRUE(spinUntil([&] { return engine->isProcessOnHold() && !view.questions.empty(); }));
    engine->btnKeepAllImageTapped();
    engine->btnKeepAllImageTapped();
    engine->btnReplaceImageTapped();
    ASSERT_TRUE(spinUntil([&] { return !engine->isRunActive() && engine->activeWorkers() == 0; }));
    EXPECT_EQ(view.questions.size(), 1u);
    EXPECT_EQ(view.progress, (QList<int> { 0, 25, 50, 75, 100 }));
    EXPECT_TRUE(QFile::exists(out + "/p2 (1).jpg"));
    EXPECT_EQ(pipeline->maxInWrite.load(), 1);
}

} // namespace
} // namespace vantrel::test
