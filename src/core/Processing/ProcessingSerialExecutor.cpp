#include "core/Processing/ProcessingSerialExecutor.h"

#include <cstdio>
#include <system_error>
#include <thread>

namespace vantrel {

ProcessingSerialExecutor::ProcessingSerialExecutor()
    : m_queue(std::make_shared<Queue>())
{
}

void ProcessingSerialExecutor::submit(std::function<void()> job)
{
    {
        std::lock_guard lock(m_queue->mutex);
        m_queue->jobs.push_back(std::move(job));
        if (m_queue->draining)
            return;
        m_queue->draining = true;
    }
    try {
        std::thread([queue = m_queue] { drain(queue); }).detach();
    } catch (const std::system_error& error) {
        // No thread to be had: the jobs run here rather than never (the caller then waits).
        std::fprintf(stderr, "ProcessingSerialExecutor: cannot start a thread (%s); running inline\n", error.what());
        drain(m_queue);
    }
}

void ProcessingSerialExecutor::drain(const std::shared_ptr<Queue>& queue)
{
    for (;;) {
        std::function<void()> job;
        {
            std::lock_guard lock(queue->mutex);
            if (queue->jobs.empty()) {
                queue->draining = false;
                return;
            }
            job = std::move(queue->jobs.front());
            queue->jobs.pop_front();
        }
        job();
    }
}

} // namespace vantrel
