#pragma once

#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>

#include "platform/MainThread.h"

#if defined(__SANITIZE_THREAD__)
#include <sanitizer/tsan_interface.h>
#endif

namespace vantrel::processing {

// The run's blocking hop to the main thread orders everything the worker did before it with what
// the main thread does inside it, and that with what the worker does after it. The hop synchronises
// inside Qt, which ThreadSanitizer cannot see; these annotations state that ordering to it (no-ops
// otherwise).
inline void hopRelease([[maybe_unused]] const void* token)
{
#if defined(__SANITIZE_THREAD__)
    __tsan_release(const_cast<void*>(token));
#endif
}

inline void hopAcquire([[maybe_unused]] const void* token)
{
#if defined(__SANITIZE_THREAD__)
    __tsan_acquire(const_cast<void*>(token));
#endif
}

/// Runs fn on the main thread and returns when it has run (or when Qt has dropped the call
/// undelivered, as a blocking queued call would). The wait is the run's own, not Qt's: a blocking
/// queued call keeps its semaphore on the worker's stack and releases it after the call has
/// returned, a touch of the worker's stack that ThreadSanitizer cannot see ordered and reports
/// against whatever the worker later puts there. Here the main thread's last touch of anything the
/// worker owns comes before a signal that ThreadSanitizer sees.
inline void syncHop(const void* token, const std::function<void()>& fn)
{
    if (isMainThread()) {
        fn();
        return;
    }
    struct Done {
        std::mutex mutex;
        std::condition_variable changed;
        bool done = false;
    };
    // Signals when Qt lets go of the call: after running it, or on dropping it.
    struct Signal {
        std::shared_ptr<Done> done;
        ~Signal()
        {
            {
                const std::lock_guard lock(done->mutex);
                done->done = true;
            }
            done->changed.notify_all();
        }
    };
    auto done = std::make_shared<Done>();
    auto signal = std::make_shared<Signal>();
    signal->done = done;
    hopRelease(token);
    runOnMainThreadAsync([token, &fn, signal = std::move(signal)] {
        hopAcquire(token);
        fn();
        hopRelease(token);
    });
    std::unique_lock lock(done->mutex);
    done->changed.wait(lock, [&] { return done->done; });
    hopAcquire(token);
}

} // namespace vantrel::processing
