// The batch run on its real serial worker thread, with the main thread's event loop carrying the
// hops: rapid answers never run two workers, and a stop during a write ends the run only once
// the worker has returned. (Also the cases run under ThreadSanitizer.)
#include <semaphore>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
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

TEST_F(ProcessingThreadsTest, AStopDuringAWriteEndsTheRunWhenTheWorkerHasReturned)
{
    addPhotos(3);
    std::binary_semaphore entered(0);
    std::binary_semaphore release(0);
    pipeline->duringWrite = [&](const PhotoFile& photo, const QString&) {
        if (photo.fileName() == "p1.jpg") {
            entered.release();
            release.acquire();
        }
    };
    ASSERT_TRUE(engine->startProcess(options));
    ASSERT_TRUE(spinUntil([&] { return entered.try_acquire(); }));

    engine->stopProcessing();
    QCoreApplication::processEvents();
    EXPECT_TRUE(recorder.posted.isEmpty()) << "the summary waits for the photo being written";
    EXPECT_EQ(view.summaryCount, 0);

    release.release();
    ASSERT_TRUE(spinUntil([&] { return !recorder.posted.isEmpty(); }));
    EXPECT_EQ(engine->activeWorkers(), 0);
    ASSERT_EQ(log->details.size(), 3);
    EXPECT_EQ(log->details[0].value("information"), "Processed successfully.");
    EXPECT_EQ(log->details[1].value("information"), "Processed successfully.");
    EXPECT_EQ(log->details[2].value("information"), "File not Processed.");
    EXPECT_TRUE(QFile::exists(out + "/p1.jpg"));
    EXPECT_FALSE(QFile::exists(out + "/p2.jpg"));
    EXPECT_EQ(view.summary.imagesConverted, "2");
    EXPECT_EQ(view.summary.conversionFailed, "1");
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
