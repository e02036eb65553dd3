#pragma once

#include "core/Processing/RunInterfaces.h"

namespace vantrel {

/// The wall clock, and deferred calls through the main thread's event loop.
class ProcessingClock : public RunClock {
public:
    QDateTime now() override { return QDateTime::currentDateTime(); }
    void schedule(int milliseconds, std::function<void()> fn) override;
};

} // namespace vantrel
