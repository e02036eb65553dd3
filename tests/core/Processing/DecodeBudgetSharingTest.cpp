// The process's memory budget taken and given back on many threads at once, as the run's writers
// and the thumbnail decodes do, without libvips: the shares are the whole work, so that the
// ThreadSanitizer step (scripts/tsan), which leaves real decodes out, reaches the budget's counts.
#include <atomic>
#include <optional>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "platform/imaging/DecodeBudget.h"

namespace vantrel::test {
namespace {

TEST(DecodeBudgetSharing, SharesTakenAndGivenBackOnManyThreadsAddUp)
{
    // Each thread takes shares in every way the process does: a photo's admission, whose decode
    // gives part of it back early; a thumbnail's share taken only when it fits at once, and given
    // back in part; a share handed from one owner to another, which gives its own back. The
    // count of what is held changes under the budget's lock (ThreadSanitizer reports one changed
    // outside it; a count changed outside it may also lose an update, and then what is held at
    // the end is not 0).
    constexpr qint64 kBudget = 100;
    constexpr int kThreads = 6;
    constexpr int kRounds = 1000;
    DecodeBudget budget(kBudget);
    std::atomic<int> overBudget { 0 };
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&, t] {
            for (int round = 0; round < kRounds; ++round) {
                // Every share is below the budget, so more than the budget is never held.
                const qint64 bytes = 10 + (t * 7 + round) % 40;
                switch (round % 3) {
                case 0: {
                    DecodeBudget::Ticket admitted = budget.reserve(bytes);
                    const DecodeBudget::Covered covered(&admitted);
                    EXPECT_EQ(budget.reserve(bytes).bytes(), 0) << "a covered decode takes nothing";
                    DecodeBudget::giveBackEarly(bytes / 2);
                    break;
                }
                case 1:
                    if (std::optional<DecodeBudget::Ticket> thumbnail = budget.tryReserve(bytes))
                        thumbnail->shrink(bytes / 3);
                    break;
                default: {
                    // Never a wait while holding a share: two threads doing so would wait on
                    // each other.
                    DecodeBudget::Ticket first = budget.reserve(bytes);
                    if (std::optional<DecodeBudget::Ticket> second = budget.tryReserve(bytes / 2))
                        *second = std::move(first);
                    break;
                }
                }
                if (budget.heldBytes() > kBudget)
                    ++overBudget;
            }
        });
    }
    for (std::thread& thread : threads)
        thread.join();
    EXPECT_EQ(overBudget.load(), 0);
    EXPECT_EQ(budget.heldBytes(), 0);
    EXPECT_EQ(budget.waiting(), 0);
}

} // namespace
} // namespace vantrel::test
