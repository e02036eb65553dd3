// The write pool on its own: admission by the memory each job needs, in the order the jobs were
// handed over, libvips' threads shared among the photos running, and the table of paths in use.
// Real writer threads; the fault each test guards against is named in it.
#include <atomic>
#include <chrono>
#include <latch>
#include <mutex>
#include <thread>
#include <vector>

#include <QString>

#include <gtest/gtest.h>

#include "core/Processing/ProcessingWritePool.h"
#include "platform/imaging/DecodeBudget.h"
#include "platform/imaging/VipsInclude.h"

namespace vantrel::test {
namespace {

TEST(ProcessingWritePool, AdmitsJobsByTheMemoryTheyNeed)
{
    // Four writers and a budget of 100 bytes; each job states what it needs. Jobs run together as
    // long as their needs fit; one larger than the whole budget runs alone.
    DecodeBudget budget(100);
    ProcessingWritePool pool(4, &budget);
    const std::vector<qint64> needs { 60, 30, 10, 150, 40, 40, 10, 90, 0, 70, 20, 5 };
    struct Start {
        qint64 need;
        qint64 held; // the budget's bytes held while the job runs
        int running; // jobs running at that moment, this one included
    };
    std::mutex mutex;
    std::vector<Start> starts;
    int running = 0;
    int mostRunning = 0;
    for (std::size_t i = 0; i < needs.size(); ++i) {
        const qint64 need = needs[i];
        while (pool.isFull())
            pool.waitPast(pool.completions());
        pool.dispatch(QStringLiteral("/tmp/in%1.jpg").arg(i), QStringLiteral("/tmp/out%1.jpg").arg(i), need, [&, need] {
                {
                    std::lock_guard lock(mutex);
                    ++running;
                    mostRunning = std::max(mostRunning, running);
                    starts.push_back({ need, budget.heldBytes(), running });
                }
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
                std::lock_guard lock(mutex);
                --running;
            });
    }
    pool.waitIdle();
    ASSERT_EQ(starts.size(), needs.size());
    for (const Start& start : starts) {
        if (start.need > budget.bytes()) {
            EXPECT_EQ(start.held, start.need) << "runs alone";
            EXPECT_EQ(start.running, 1);
        } else {
            EXPECT_LE(start.held, budget.bytes()) << start.need;
            EXPECT_GE(start.held, start.need) << "holds its need while it runs";
        }
    }
    EXPECT_GE(mostRunning, 2) << "jobs that fit together run together";
    EXPECT_LE(mostRunning, 4);
    EXPECT_EQ(budget.heldBytes(), 0);
}

TEST(ProcessingWritePool, LibvipsThreadsFollowThePhotosAdmitted)
{
    // Photos times threads stays near the core count: two photos at once get half the cores
    // each, a photo alone gets them all, and the process's setting is restored afterwards.
    const int cores = std::max(1, static_cast<int>(std::thread::hardware_concurrency()));
    const int before = vips_concurrency_get();
    DecodeBudget budget(100);
    std::latch bothRunning(2);
    std::latch bothSeen(2);
    std::atomic<int> seenTogether[2] = { 0, 0 };
    {
        ProcessingWritePool pool(2, &budget);
        for (int i = 0; i < 2; ++i) {
            pool.dispatch(QStringLiteral("/tmp/t%1.jpg").arg(i), QStringLiteral("/tmp/out/t%1.jpg").arg(i), 10, [&, i] {
                bothRunning.arrive_and_wait();
                seenTogether[i] = vips_concurrency_get();
                bothSeen.arrive_and_wait();
            });
        }
        pool.waitIdle();
    }
    EXPECT_EQ(seenTogether[0].load(), std::max(1, cores / 2));
    EXPECT_EQ(seenTogether[1].load(), std::max(1, cores / 2));
    int alone = 0;
    {
        ProcessingWritePool pool(1, &budget);
        pool.dispatch("/tmp/a.jpg", "/tmp/out/a.jpg", 10, [&] { alone = vips_concurrency_get(); });
    }
    EXPECT_EQ(alone, cores);
    EXPECT_EQ(vips_concurrency_get(), before);
}

TEST(ProcessingWritePool, DecodesInsideAnAdmittedJobTakeNothingMore)
{
    // The job's admission pays for its decodes: a decode inside it never waits for the budget,
    // even when the budget is full (it would deadlock otherwise).
    DecodeBudget budget(100);
    for (const int writers : { 1, 3 }) {
        ProcessingWritePool pool(writers, &budget);
        std::atomic<qint64> inner { -1 };
        pool.dispatch("/tmp/a.jpg", "/tmp/out/a.jpg", 100, [&] { inner = budget.reserve(80).bytes(); });
        pool.waitIdle();
        EXPECT_EQ(inner.load(), 0) << writers;
        EXPECT_EQ(budget.heldBytes(), 0) << writers;
    }
}

TEST(ProcessingWritePool, AJobFirstInLineIsAdmittedBeforeTheJobsAfterItThatWouldFitSooner)
{
    // A budget that holds one large photo and one small one at a time, part of it held elsewhere
    // (the thumbnails' decodes), three writers. The large photo, handed over first, must wait for
    // that part; the two small ones after it would fit at once, yet start only after it: each
    // finds the large one holding its share. While the large one waits, the small ones stay in
    // line rather than asking the budget beside it: a writer that took a later job and asked for
    // its memory first would be served first. That overtaking needs the writers to interleave
    // just so, which the rounds give a chance; the line is checked in every round.
    constexpr qint64 kLarge = 70;
    constexpr qint64 kSmall = 30;
    constexpr qint64 kElsewhere = 60;
    DecodeBudget budget(kLarge + kSmall);
    for (int round = 0; round < 100; ++round) {
        SCOPED_TRACE(round);
        std::vector<qint64> heldAtSmallStarts;
        std::mutex mutex;
        std::atomic<int> smallsDone { 0 };
        std::atomic<bool> largeMayEnd { false };
        int mostAsking = 0;
        {
            ProcessingWritePool pool(3, &budget);
            DecodeBudget::Ticket elsewhere = budget.reserve(kElsewhere);
            pool.dispatch("/tmp/large.tif", "/tmp/out/large.tif", kLarge, [&] {
                while (!largeMayEnd.load())
                    std::this_thread::yield();
            });
            for (const char* name : { "a", "b" }) {
                pool.dispatch(QStringLiteral("/tmp/%1.jpg").arg(name), QStringLiteral("/tmp/out/%1.jpg").arg(name),
                    kSmall, [&] {
                        {
                            std::lock_guard lock(mutex);
                            heldAtSmallStarts.push_back(budget.heldBytes());
                        }
                        ++smallsDone;
                    });
            }
            while (budget.waiting() == 0)
                std::this_thread::yield();
            // Long enough for idle writers to take the small photos and ask, were they let.
            const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(round == 0 ? 100 : 1);
            while (std::chrono::steady_clock::now() < until)
                mostAsking = std::max(mostAsking, budget.waiting());
            elsewhere = DecodeBudget::Ticket();
            while (smallsDone.load() < 2)
                std::this_thread::yield();
            largeMayEnd = true;
            pool.waitIdle();
        }
        ASSERT_EQ(mostAsking, 1) << "the small photos asked for memory while the large one waited";
        ASSERT_EQ(heldAtSmallStarts, (std::vector<qint64> { kLarge + kSmall, kLarge + kSmall }))
            << "a small photo started before the large one handed over ahead of it";
    }
}

TEST(ProcessingWritePool, ThePathsInUseAreReadUnderThePoolsLockWhileWritersFinish)
{
    // The run asks whether a path is in use while writers finish other jobs and take their paths
    // out of the table. A path is in use until its job has run; the table is read under the
    // pool's lock (ThreadSanitizer reports a read that is not).
    ProcessingWritePool pool(3);
    for (int i = 0; i < 20; ++i) {
        const QString output = QStringLiteral("/tmp/vantrel-pool/out%1.jpg").arg(i);
        std::atomic<bool> ran { false };
        pool.dispatch(QStringLiteral("/tmp/vantrel-pool/in%1.jpg").arg(i), output, [&] { ran = true; });
        while (pool.isBusyWith(output))
            std::this_thread::yield();
        EXPECT_TRUE(ran.load()) << i;
        EXPECT_FALSE(pool.isBusyWith(QStringLiteral("/tmp/vantrel-pool/in%1.jpg").arg(i))) << i;
    }
    pool.waitIdle();
}

} // namespace
} // namespace vantrel::test
