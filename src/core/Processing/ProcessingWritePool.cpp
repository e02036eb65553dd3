#include "core/Processing/ProcessingWritePool.h"

#include <algorithm>

#include <QDir>
#include <QFileInfo>

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

QString ProcessingWritePool::key(const QString& path)
{
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

void ProcessingWritePool::dispatch(
    const QString& source, const QString& output, qint64 memoryNeed, std::function<void()> job)
{
    Job entry { key(source), key(output), std::move(job), memoryNeed };
    {
        std::lock_guard lock(m_mutex);
        ++m_inFlight;
        ++m_busy[entry.source];
        ++m_busy[entry.output];
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

bool ProcessingWritePool::isBusyWith(const QString& path) const
{
    const QString k = key(path);
    std::lock_guard lock(m_mutex);
    return m_busy.contains(k);
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

void ProcessingWritePool::waitUntilFree(const QString& path) const
{
    const QString k = key(path);
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [&] { return !m_busy.contains(k); });
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
        for (const QString& k : { job.source, job.output }) {
            if (--m_busy[k] <= 0)
                m_busy.remove(k);
        }
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
