// A volume that fills under several writes at once: the free-space test before each photo counts
// what the writes in flight will still add, so the run holds behind the low-space alert where a
// one-at-a-time run would; and a write that still finds the volume full holds the run the same way
// instead of failing its photo. Real worker and writer threads, the main thread carrying the hops.
#include <atomic>
#include <chrono>
#include <mutex>
#include <semaphore>
#include <thread>

#include <gtest/gtest.h>

#include "ProcessingEngineFixture.h"
#include "core/Processing/ProcessingEngine.h"
#include "core/Processing/ProcessingSerialExecutor.h"

namespace vantrel::test {
namespace {

constexpr qint64 kMiB = 1024 * 1024;
constexpr qint64 kPhotoBytes = 60 * kMiB; // what each output takes on the volume

/// One volume under the output folder: its free bytes fall by a photo's size as each write ends.
struct Volume {
    std::atomic<qint64> free { 0 };
    std::atomic<qint64> lowest { 0 };
    std::atomic<int> tests { 0 }; ///< free-space tests of the output folder so far
};

class VolumeProbe : public FakeProbe {
public:
    VolumeProbe(std::shared_ptr<Volume> volume, QString folder)
        : m_volume(std::move(volume))
        , m_folder(std::move(folder))
    {
    }
    std::optional<qint64> freeBytes(const QString& folder) override
    {
        if (folder != m_folder)
            return FakeProbe::freeBytes(folder);
        ++m_volume->tests;
        return m_volume->free.load();
    }

private:
    std::shared_ptr<Volume> m_volume;
    QString m_folder;
};

/// With several writers, the write of photo pN lasts until the run has tested the free space for the
/// photo after it (so that it is in flight during that test, whatever the machine's load; one
/// writer writes on the worker's own thread). A write takes its bytes from
/// the volume when it ends; a write that finds too little room fails as a full disk does, writing
/// nothing.
class VolumePipeline : public FakePipeline {
public:
    VolumePipeline(std::shared_ptr<Volume> volume, qint64 estimate, bool inFlightDuringNextTest)
        : m_volume(std::move(volume))
        , m_estimate(estimate)
        , m_inFlightDuringNextTest(inFlightDuringNextTest)
    {
    }
    qint64 outputBytes(const PhotoFile&, const QString&, const RunOptions&) override { return m_estimate; }
    RunWriteResult write(const PhotoFile& photo, const QString& outputPath, const RunOptions& options) override
    {
        const int index = photo.fileName().mid(1, 1).toInt();
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(2); // a photo not followed by a test
        while (
            m_inFlightDuringNextTest && m_volume->tests.load() < index + 2 && std::chrono::steady_clock::now() < until)
            std::this_thread::yield();
        qint64 free = m_volume->free.load();
        do {
            if (free < kPhotoBytes) {
                std::lock_guard lock(mutex);
                noSpace.append(photo.fileName());
                return { 0, false, true };
            }
        } while (!m_volume->free.compare_exchange_weak(free, free - kPhotoBytes));
        qint64 lowest = m_volume->lowest.load();
        while (free - kPhotoBytes < lowest && !m_volume->lowest.compare_exchange_weak(lowest, free - kPhotoBytes)) { }
        return FakePipeline::write(photo, outputPath, options);
    }
    QStringList noSpace; // photos whose write found the volume full

private:
    std::shared_ptr<Volume> m_volume;
    qint64 m_estimate;
    bool m_inFlightDuringNextTest;
};

class ProcessingFreeSpaceTest : public RunBench {
public:
    void TearDown() override
    {
        if (engine)
            spinUntil([&] { return engine->activeWorkers() == 0 && workerThreadsIdle(); });
    }
};

TEST_F(ProcessingFreeSpaceTest, TheRunHoldsBeforeTheWritesInFlightFillTheVolume)
{
    constexpr qint64 kReserve = ProcessingEngine::kMinimumFreeBytes;
    const struct {
        const char* name;
        int writers;
        qint64 estimate; ///< the pipeline's estimate of each output
        QList<qint32> statuses;
        int noSpaceWrites;
    } rows[] = {
        // Three photos fit above the reserve; the fourth's test finds it crossed, as one writer does.
        { "one writer", 1, kPhotoBytes, { 1, 1, 1, 8, 0, 0, 0, 0 }, 0 },
        { "three writers", 3, kPhotoBytes, { 1, 1, 1, 8, 0, 0, 0, 0 }, 0 },
        // Nothing counted in flight: the fourth write (and any dispatched with it) finds the volume
        // full, and is held like the test's own hold, never failed.
        { "three writers, no estimate", 3, 0, {}, -1 },
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        if (engine) {
            ASSERT_TRUE(spinUntil([&] { return engine->activeWorkers() == 0 && workerThreadsIdle(); }));
        }
        freshBatch();
        options.askBeforeOverwrite = false;
        auto volume = std::make_shared<Volume>();
        // The third write takes the volume below the reserve, under the room of a fourth photo.
        volume->free = kReserve + 2 * kPhotoBytes + 10 * kMiB;
        volume->lowest = volume->free.load();
        auto volumePipeline = std::make_shared<VolumePipeline>(volume, row.estimate, row.writers > 1);
        pipeline = volumePipeline;
        probe = std::make_shared<VolumeProbe>(volume, out);
        makeEngine(std::make_shared<ProcessingSerialExecutor>(), nullptr, row.writers,
            { kNotificationShowAlertWithType, kNotificationsProcessFinished });
        for (int i = 0; i < 8; ++i)
            addCheckedPhoto(src + QStringLiteral("/p%1.jpg").arg(i), 1000);
        for (int i = 0; i < 8; ++i)
            writeFile(src + QStringLiteral("/p%1.jpg").arg(i), "photo");

        ASSERT_TRUE(engine->startProcess(options));
        ASSERT_TRUE(spinUntil([&] { return engine->activeWorkers() == 0 && engine->isProcessOnHold(); }));
        EXPECT_EQ(recorder->alertTypes, (QList<int> { 102 }));
        engine->btnOkOnEnoughtSpcaecTapped();
        ASSERT_TRUE(spinUntil([&] { return finished(); }));

        const QList<qint32> seen = statuses();
        if (!row.statuses.isEmpty()) {
            EXPECT_EQ(seen, row.statuses);
            EXPECT_EQ(volumePipeline->noSpace.size(), row.noSpaceWrites)
                << volumePipeline->noSpace.join(' ').toStdString();
            EXPECT_GE(volume->lowest.load(), kReserve - kPhotoBytes) << "no write is let past a crossed reserve";
        } else {
            EXPECT_FALSE(volumePipeline->noSpace.isEmpty());
        }
        // Every photo whose write found the volume full is held (8) with nothing written, never
        // logged as failed; every photo written says so.
        for (int i = 0; i < seen.size(); ++i) {
            const QString name = QStringLiteral("p%1.jpg").arg(i);
            const bool full = volumePipeline->noSpace.contains(name);
            if (full) {
                EXPECT_EQ(seen[i], 8) << i;
            }
            EXPECT_EQ(QFile::exists(out + "/" + name), seen[i] == 1) << i;
            EXPECT_NE(messages()[i].toStdString(), "File not Processed") << i;
        }
    }
}

TEST_F(ProcessingFreeSpaceTest, AFullDiskUnderTheStopQuestionHoldsTheRunOnceTheQuestionIsAnswered)
{
    // The stop question comes while p1 is written, and p1's write finds the volume full (with
    // three writers so do the writes in flight with it, p2 and p3). Alert 102 cannot show over the
    // question; it shows when the question is answered No, and the run does not go on past the
    // full disk: the held photo is counted, so a resume would never try it again. A full write
    // whose outcome comes after OK raises no second alert; Yes stops the run without one.
    enum class Answer { No, NoThenOkBeforeTheSecondFullWriteEnds, Yes };
    const struct {
        const char* name;
        int writers;
        int photos;
        QStringList full; ///< photos whose write finds the volume full
        Answer answer;
    } rows[] = {
        { "one writer, No", 1, 6, { "p1.jpg" }, Answer::No },
        { "three writers, No", 3, 6, { "p1.jpg", "p2.jpg", "p3.jpg" }, Answer::No },
        // Every photo is handed to a writer before the question, so that p2 is in flight at OK.
        { "three writers, OK before p2's full write ends", 3, 4, { "p1.jpg", "p2.jpg", "p3.jpg" },
            Answer::NoThenOkBeforeTheSecondFullWriteEnds },
        { "three writers, Yes", 3, 6, { "p1.jpg", "p2.jpg", "p3.jpg" }, Answer::Yes },
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        if (engine) {
            ASSERT_TRUE(spinUntil([&] { return engine->activeWorkers() == 0 && workerThreadsIdle(); }));
        }
        freshBatch();
        options.askBeforeOverwrite = false;
        makeEngine(std::make_shared<ProcessingSerialExecutor>(), nullptr, row.writers,
            { kNotificationShowAlertWithType, kNotificationsProcessFinished });
        for (int i = 0; i < row.photos; ++i) {
            const QString path = src + QStringLiteral("/p%1.jpg").arg(i);
            writeFile(path, "photo");
            addCheckedPhoto(path, 1000);
            if (row.full.contains(QFileInfo(path).fileName()))
                pipeline->fullDisk.insert(path);
        }
        const bool gateP2 = row.answer == Answer::NoThenOkBeforeTheSecondFullWriteEnds;
        std::atomic<int> writeCalls { 0 };
        std::counting_semaphore<2> entered(0);
        std::binary_semaphore releaseP1(0);
        std::binary_semaphore releaseP2(0);
        pipeline->duringWrite = [&](const PhotoFile& photo, const QString&) {
            ++writeCalls;
            if (photo.fileName() == "p1.jpg") {
                entered.release();
                releaseP1.acquire();
            } else if (gateP2 && photo.fileName() == "p2.jpg") {
                entered.release();
                releaseP2.acquire();
            }
        };

        ASSERT_TRUE(engine->startProcess(options));
        for (int gates = gateP2 ? 2 : 1; gates > 0; --gates)
            ASSERT_TRUE(spinUntil([&] { return entered.try_acquire(); }));
        if (gateP2) {
            ASSERT_TRUE(spinUntil([&] { return writeCalls.load() == row.photos; }));
        }
        engine->holdProcessing(); // the stop question is up
        releaseP1.release();
        if (gateP2) { // p0 and p1 counted: p1's outcome came under the question
            ASSERT_TRUE(spinUntil([&] { return engine->counterTotalProgressedFiles() == 2; }));
        } else {
            ASSERT_TRUE(spinUntil([&] { return engine->activeWorkers() == 0 && workerThreadsIdle(); }));
        }
        EXPECT_TRUE(recorder->alertTypes.isEmpty()) << "nothing shows over the stop question";
        EXPECT_EQ(statuses()[1], 8);

        if (row.answer == Answer::Yes) {
            engine->stopProcessing();
        } else {
            const int callsAtAnswer = writeCalls.load();
            engine->restartProcessing();
            EXPECT_EQ(recorder->alertTypes, (QList<int> { 102 })) << "the hold's alert, once answered";
            EXPECT_TRUE(engine->isProcessOnHold());
            if (gateP2) {
                engine->btnOkOnEnoughtSpcaecTapped();
                releaseP2.release();
            }
            ASSERT_TRUE(spinUntil([&] { return engine->activeWorkers() == 0 && workerThreadsIdle(); }));
            EXPECT_EQ(writeCalls.load(), callsAtAnswer) << "no photo is written past the full disk";
            if (!gateP2)
                engine->btnOkOnEnoughtSpcaecTapped();
        }
        ASSERT_TRUE(spinUntil([&] { return finished() && engine->activeWorkers() == 0 && workerThreadsIdle(); }));
        EXPECT_EQ(recorder->alertTypes, row.answer == Answer::Yes ? QList<int> {} : QList<int> { 102 });
        // Every photo whose write found the volume full is held (8), nothing written for it.
        const QList<qint32> seen = statuses();
        for (int i = 0; i < seen.size(); ++i) {
            const QString name = QStringLiteral("p%1.jpg").arg(i);
            if (row.full.contains(name) && seen[i] != 0) {
                EXPECT_EQ(seen[i], 8) << i;
            }
            EXPECT_EQ(QFile::exists(out + "/" + name), seen[i] == 1) << i;
        }
        EXPECT_EQ(seen[0], 1);
        EXPECT_EQ(seen[1], 8);
    }
}

} // namespace
} // namespace vantrel::test
