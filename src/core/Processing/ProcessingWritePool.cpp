#include "core/Processing/ProcessingWritePool.h"

#include <algorithm>

namespace vantrel {

int ProcessingWritePool::defaultWriters()
{
    return std::max(1, static_cast<int>(std::thread::hardware_concurrency()));
}

ProcessingWritePool::ProcessingWritePool(int writers, DecodeBudget* budget)
    : m_writers(std::max(1, writers))
    , m_admission(budget)
{
    if (m_writers == 1)
        return;
    m_threads.reserve(m_writers);
    for (int i = 0; i < m_writers; ++i)
        m_threads.emplace_back([this] { writerLoop(); });
}

ProcessingWritePool::~ProcessingWritePool()
{
    {
        std::lock_guard lock(m_mutex);
        m_closing = true;
    }
    m_changed.notify_all();
    for (std::thread& thread : m_threads)
        thread.join();
}

void ProcessingWritePool::dispatch(
    const QString& source, const QString& output, qint64 memoryNeed, std::function<void()> job)
{
    Job entry { OutputIdentity::of(source), OutputIdentity::of(output), std::move(job), memoryNeed };
    {
        std::lock_guard lock(m_mutex);
        ++m_inFlight;
        for (const OutputIdentity* identity : { &entry.source, &entry.output }) {
            for (const QString& k : identity->keys())
                ++m_busy[k];
        }
        for (const QString& k : entry.output.keys())
            ++m_writing[k];
        if (m_writers > 1)
            m_queue.push_back(std::move(entry));
    }
    if (m_writers > 1) {
        m_changed.notify_all();
        return;
    }
    m_admission.run(entry.run, m_admission.take(entry.memoryNeed));
    finish(entry);
}

bool ProcessingWritePool::isFull() const
{
    std::lock_guard lock(m_mutex);
    return m_inFlight >= m_writers;
}

bool ProcessingWritePool::isBusyWith(const QString& path, Use use) const
{
    const OutputIdentity identity = OutputIdentity::of(path);
    std::lock_guard lock(m_mutex);
    return isBusyLocked(identity, use);
}

bool ProcessingWritePool::isBusyLocked(const OutputIdentity& identity, Use use) const
{
    const QHash<QString, int>& inFlight = use == Use::Write ? m_busy : m_writing;
    for (const QString& k : identity.keys()) {
        if (inFlight.contains(k))
            return true;
    }
    return false;
}

quint64 ProcessingWritePool::completions() const
{
    std::lock_guard lock(m_mutex);
    return m_completions;
}

void ProcessingWritePool::waitPast(quint64 seen) const
{
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [&] { return m_completions > seen || m_inFlight == 0; });
}

void ProcessingWritePool::waitUntilFree(const QString& path, Use use) const
{
    const OutputIdentity identity = OutputIdentity::of(path);
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [&] { return !isBusyLocked(identity, use); });
}

void ProcessingWritePool::waitIdle() const
{
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [&] { return m_inFlight == 0; });
}

void ProcessingWritePool::finish(const Job& job)
{
    {
        std::lock_guard lock(m_mutex);
        const auto release = [](QHash<QString, int>& counts, const QString& k) {
            if (--counts[k] <= 0)
                counts.remove(k);
        };
        for (const OutputIdentity* identity : { &job.source, &job.output }) {
            for (const QString& k : identity->keys())
                release(m_busy, k);
        }
        for (const QString& k : job.output.keys())
            release(m_writing, k);
        --m_inFlight;
        ++m_completions;
    }
    m_changed.notify_all();
}

void ProcessingWritePool::writerLoop()
{
    for (;;) {
        // The next job is taken and admitted by one writer at a time, so that jobs are admitted
        // in the order they were handed over.
        std::unique_lock order(m_admissionOrder);
        Job job;
        {
            std::unique_lock lock(m_mutex);
            m_changed.wait(lock, [&] { return m_closing || !m_queue.empty(); });
            if (m_queue.empty())
                return;
            job = std::move(m_queue.front());
            m_queue.pop_front();
        }
        DecodeBudget::Ticket memory = m_admission.take(job.memoryNeed);
        order.unlock();
        m_admission.run(job.run, std::move(memory));
        job.run = nullptr;
        finish(job);
    }
}

} // namespace vantrel
