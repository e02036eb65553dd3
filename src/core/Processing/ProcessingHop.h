#pragma once

#include <functional>

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

/// Runs fn on the main thread and returns when it has run.
inline void syncHop(const void* token, const std::function<void()>& fn)
{
    hopRelease(token);
    runOnMainThreadSync([&] {
        hopAcquire(token);
        fn();
        hopRelease(token);
    });
    hopAcquire(token);
}

} // namespace vantrel::processing
