#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

#include <QHash>
#include <QString>

#include "core/Processing/OutputIdentity.h"
#include "core/Processing/ProcessingAdmission.h"

namespace vantrel {

/// A bounded set of writer threads for the batch run: at most `writers` jobs in flight, each
/// named by the paths it reads and writes so that the run can wait for the one write a later photo
/// depends on. A job starts once it is admitted by the memory it needs (ProcessingAdmission),
/// in the order the jobs were handed over. With one writer the jobs run on the caller's thread,
/// one at a time, as a plain serial run would. Owned and driven by one thread (the run's worker);
/// the writers only run jobs and report their completion. The destructor waits for every job.
class ProcessingWritePool {
public:
    /// The number of writers a run uses by default: as many as the machine has cores.
    static int defaultWriters();

    /// `budget` is the process's (DecodeBudget::process()) unless a test injects its own.
    explicit ProcessingWritePool(int writers, DecodeBudget* budget = nullptr);
    ~ProcessingWritePool();
    ProcessingWritePool(const ProcessingWritePool&) = delete;
    ProcessingWritePool& operator=(const ProcessingWritePool&) = delete;

    int writers() const { return m_writers; }
    /// Hands a job to a free writer (the caller makes sure one is free: see isFull). `source` and
    /// `output` are the paths the job reads and writes; paths are compared as the files they name
    /// (OutputIdentity), never as text. `memoryNeed` is the bytes of the budget the job holds
    /// while it runs.
    void dispatch(const QString& source, const QString& output, qint64 memoryNeed, std::function<void()> job);
    void dispatch(const QString& source, const QString& output, std::function<void()> job)
    {
        dispatch(source, output, 0, std::move(job));
    }
    bool isFull() const;
    /// What the caller means to do with a path: writing it conflicts with a job in flight that
    /// reads or writes the same file; reading it only with one that writes it (two reads of one
    /// file, say through two links, run side by side).
    enum class Use { Read, Write };
    /// True while a job in flight uses the file `path` names, however it is spelled, in a way that
    /// conflicts with `use`.
    bool isBusyWith(const QString& path, Use use = Use::Write) const;
    /// Counts the jobs finished; waitPast blocks until it exceeds `seen`.
    quint64 completions() const;
    void waitPast(quint64 seen) const;
    /// Blocks until isBusyWith(path, use) no longer holds.
    void waitUntilFree(const QString& path, Use use = Use::Write) const;
    /// Blocks until every job has finished.
    void waitIdle() const;

private:
    struct Job {
        OutputIdentity source;
        OutputIdentity output;
        std::function<void()> run;
        qint64 memoryNeed = 0;
    };
    void writerLoop();
    bool isBusyLocked(const OutputIdentity& identity, Use use) const;
    void finish(const Job& job);

    const int m_writers;
    ProcessingAdmission m_admission;
    mutable std::mutex m_mutex;
    mutable std::condition_variable m_changed;
    std::mutex m_admissionOrder; // one writer at a time takes the next job and waits for its memory
    std::deque<Job> m_queue;
    QHash<QString, int> m_busy; // identity key -> jobs in flight reading or writing it
    QHash<QString, int> m_writing; // identity key -> jobs in flight writing it
    int m_inFlight = 0;
    quint64 m_completions = 0;
    bool m_closing = false;
    std::vector<std::thread> m_threads;
};

} // namespace vantrel
