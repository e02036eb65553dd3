#include "core/Processing/ProcessingWritePool.h"

#include "platform/imaging/DecodeBudget.h"

namespace vantrel {

int ProcessingWritePool::defaultWriters()
{
    return std::thread::hardware_concurrency() >= 6 ? 3 : 2;
}

ProcessingWritePool::ProcessingWritePool(int writers)
    : m_writers(std::max(1, writers))
{
    if (m_writers == 1)
        return;
    // A thread for each place, and one for the job that may run on a lent place.
    m_threads.reserve(m_writers + 1);
    for (int i = 0; i < m_writers + 1; ++i)
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

void ProcessingWritePool::dispatch(const QString& source, const QString& output, std::function<void()> job)
{
    Job entry { OutputIdentity::of(source), OutputIdentity::of(output), std::move(job) };
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
    entry.run();
    finish(entry);
}

bool ProcessingWritePool::isFull() const
{
    std::lock_guard lock(m_mutex);
    return m_inFlight - m_lent >= m_writers || m_inFlight > m_writers;
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

void ProcessingWritePool::lendPlace(bool lend)
{
    {
        std::lock_guard lock(m_mutex);
        m_lent += lend ? 1 : -1;
        if (lend)
            ++m_completions;
    }
    if (lend)
        m_changed.notify_all();
}

void ProcessingWritePool::writerLoop()
{
    DecodeBudget::setThreadWaitListener([this](bool waiting) { lendPlace(waiting); });
    for (;;) {
        Job job;
        {
            std::unique_lock lock(m_mutex);
            m_changed.wait(lock, [&] { return m_closing || !m_queue.empty(); });
            if (m_queue.empty())
                return;
            job = std::move(m_queue.front());
            m_queue.pop_front();
        }
        job.run();
        job.run = nullptr;
        finish(job);
    }
}

} // namespace vantrel
