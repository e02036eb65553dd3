#pragma once

#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

#include "core/Processing/RunInterfaces.h"

namespace vantrel {

/// Runs the submitted jobs one after another on a background thread of its own. The thread is
/// started when work arrives and ends when the queue is empty; the next thread is started only
/// after the previous one has been joined (it has nothing left to do by then). The thread keeps
/// the queue alive and is detached when the executor goes, so the executor may be destroyed at any
/// time without waiting for it. Should no thread be available, the jobs run on the calling thread
/// instead.
class ProcessingSerialExecutor : public RunExecutor {
public:
    ProcessingSerialExecutor();
    ~ProcessingSerialExecutor() override;
    ProcessingSerialExecutor(const ProcessingSerialExecutor&) = delete;
    ProcessingSerialExecutor& operator=(const ProcessingSerialExecutor&) = delete;
    void submit(std::function<void()> job) override;

    /// Jobs submitted to any executor of the process and not yet returned. Whoever must know that
    /// no queued work is still touching files (a test before it removes its folders) waits for 0.
    static int unfinishedJobs();

private:
    struct Queue {
        std::mutex mutex;
        std::deque<std::function<void()>> jobs;
        bool draining = false;
        std::mutex threadMutex; // guards thread
        std::thread thread; // the last thread started
    };
    static void drain(const std::shared_ptr<Queue>& queue);
    std::shared_ptr<Queue> m_queue;
};

} // namespace vantrel
