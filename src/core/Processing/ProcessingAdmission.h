#pragma once

#include <functional>
#include <mutex>

#include "platform/imaging/DecodeBudget.h"

namespace vantrel {

/// Admits the batch run's photos by the memory they will need (their decode, resize and encode
/// buffers, told by the pipeline from the header) out of the process's budget, which the
/// thumbnails share: photos are admitted in the order they ask, as many at once as fit, and one
/// that needs more than the whole budget runs alone. A photo's decodes take nothing more while it
/// runs. libvips' threads per photo follow the photos running, so that photos times threads stays
/// near the core count; the process's setting is restored when the admission is destroyed.
/// Thread-safe.
class ProcessingAdmission {
public:
    /// `budget` is the process's (DecodeBudget::process()) unless a test injects its own.
    explicit ProcessingAdmission(DecodeBudget* budget = nullptr);
    ~ProcessingAdmission();
    ProcessingAdmission(const ProcessingAdmission&) = delete;
    ProcessingAdmission& operator=(const ProcessingAdmission&) = delete;

    /// Waits until `bytes` fit beside the shares held and every earlier caller is served, then
    /// takes them.
    DecodeBudget::Ticket take(qint64 bytes);
    /// Runs `photo` while it holds `memory`, then gives the memory back.
    void run(const std::function<void()>& photo, DecodeBudget::Ticket memory);

private:
    void setRunning(int change);

    DecodeBudget& m_budget;
    std::mutex m_mutex;
    int m_running = 0;
};

} // namespace vantrel
