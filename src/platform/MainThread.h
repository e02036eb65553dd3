#pragma once

#include <functional>

namespace vantrel {

/// True on the thread that owns the application object (or when there is none yet).
bool isMainThread();

/// Runs fn on the main thread and returns when it has run: a direct call when already there,
/// otherwise a blocking queued call. The main thread must never wait on a worker that may be
/// inside this hop. Without an application object, fn runs on the calling thread.
void runOnMainThreadSync(const std::function<void()>& fn);

/// Queues fn to run on the main thread without waiting.
void runOnMainThreadAsync(std::function<void()> fn);

} // namespace vantrel
