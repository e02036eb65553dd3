#include "core/Processing/ProcessingAdmission.h"

#include <algorithm>
#include <thread>

#include "platform/imaging/ImagingInit.h"

namespace vantrel {

ProcessingAdmission::ProcessingAdmission(DecodeBudget* budget)
    : m_budget(budget ? *budget : DecodeBudget::process())
{
}

ProcessingAdmission::~ProcessingAdmission()
{
    setImagingThreads(0);
}

DecodeBudget::Ticket ProcessingAdmission::take(qint64 bytes)
{
    return m_budget.reserve(bytes);
}

void ProcessingAdmission::run(const std::function<void()>& photo, DecodeBudget::Ticket memory)
{
    setRunning(+1);
    {
        // The photo's decodes are paid for by its admission.
        const DecodeBudget::Covered covered(&memory);
        photo();
    }
    memory = DecodeBudget::Ticket();
    setRunning(-1);
}

void ProcessingAdmission::setRunning(int change)
{
    const int cores = std::max(1, static_cast<int>(std::thread::hardware_concurrency()));
    std::lock_guard lock(m_mutex);
    m_running += change;
    // Set under the lock, so that the setting follows the count in the order the count changed:
    // set after the lock, the share of a photo that found itself alone could land after that of
    // a photo that joined it. Read by each pipeline as it starts: a photo keeps the threads it
    // started with.
    setImagingThreads(std::max(1, cores / std::max(1, m_running)));
}

} // namespace vantrel
