#include "core/Processing/ProcessingSerialExecutor.h"

#include <atomic>
#include <cstdio>
#include <system_error>

namespace vantrel {

namespace {

std::atomic<int> g_unfinished { 0 };

} // namespace

ProcessingSerialExecutor::ProcessingSerialExecutor()
    : m_queue(std::make_shared<Queue>())
{
}

ProcessingSerialExecutor::~ProcessingSerialExecutor()
{
    std::lock_guard lock(m_queue->threadMutex);
    if (m_queue->thread.joinable())
        m_queue->thread.detach();
}

int ProcessingSerialExecutor::unfinishedJobs()
{
    return g_unfinished.load();
}

void ProcessingSerialExecutor::submit(std::function<void()> job)
{
    ++g_unfinished;
    {
        std::lock_guard lock(m_queue->mutex);
        m_queue->jobs.push_back(std::move(job));
        if (m_queue->draining)
            return;
        m_queue->draining = true;
    }
    try {
        std::lock_guard lock(m_queue->threadMutex);
        // The previous thread found the queue empty and is returning: joined at once.
        if (m_queue->thread.joinable())
            m_queue->thread.join();
        m_queue->thread = std::thread([queue = m_queue] { drain(queue); });
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
        job = nullptr; // what it holds goes before the job counts as finished
        --g_unfinished;
    }
}

} // namespace vantrel
