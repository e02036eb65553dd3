#pragma once

#include <deque>
#include <functional>

#include "core/Processing/RunInterfaces.h"

namespace vantrel {

/// Runs a submitted job at once on the calling thread, unless a job of this executor is already
/// running: then it is queued and runs when that one has returned (never nested, never two at
/// once). For tests and for headless tools that drive a run from one thread.
class ProcessingInlineExecutor : public RunExecutor {
public:
    void submit(std::function<void()> job) override
    {
        m_jobs.push_back(std::move(job));
        if (m_running)
            return;
        m_running = true;
        while (!m_jobs.empty()) {
            std::function<void()> next = std::move(m_jobs.front());
            m_jobs.pop_front();
            ++m_jobsRun;
            next();
        }
        m_running = false;
    }
    int jobsRun() const { return m_jobsRun; }

private:
    std::deque<std::function<void()>> m_jobs;
    bool m_running = false;
    int m_jobsRun = 0;
};

} // namespace vantrel
