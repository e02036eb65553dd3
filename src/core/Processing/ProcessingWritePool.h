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

namespace vantrel {

/// A bounded set of writer threads for the batch run: at most `writers` jobs run at once, each
/// named by the paths it reads and writes so that the run can wait for the one write a later photo
/// depends on. A job whose decode waits for its share of the process's decode budget (a large
/// progressive JPEG while others decode) lends its place meanwhile, so that a photo that needs no
/// share can be written: one job more than `writers` is then in flight (each job in flight holds
/// its decoded pixels, so lending is bounded). With one writer the jobs run on the
/// caller's thread, one at a time, as a plain serial run would. Owned and driven by one thread
/// (the run's worker); the writers only run jobs and report their completion. The destructor
/// waits for every job.
class ProcessingWritePool {
public:
    /// The number of writers a run uses by default: 2, or 3 on a machine with 6 or more cores.
    static int defaultWriters();

    explicit ProcessingWritePool(int writers);
    ~ProcessingWritePool();
    ProcessingWritePool(const ProcessingWritePool&) = delete;
    ProcessingWritePool& operator=(const ProcessingWritePool&) = delete;

    int writers() const { return m_writers; }
    /// Hands a job to a free writer (the caller makes sure one is free: see isFull). `source` and
    /// `output` are the paths the job reads and writes. Paths are compared as the files they name
    /// (OutputIdentity), never as text.
    void dispatch(const QString& source, const QString& output, std::function<void()> job);
    bool isFull() const;
    /// What the caller means to do with a path: writing it conflicts with a job in flight that
    /// reads or writes the same file; reading it only with one that writes it (two reads of one
    /// file, say through two links, run side by side).
    enum class Use { Read, Write };
    /// True while a job in flight uses the file `path` names, however it is spelled, in a way that
    /// conflicts with `use`.
    bool isBusyWith(const QString& path, Use use = Use::Write) const;
    /// Counts what frees a place: jobs finished, and places lent by jobs waiting for their decode
    /// share. waitPast blocks until it exceeds `seen`.
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
    };
    void writerLoop();
    bool isBusyLocked(const OutputIdentity& identity, Use use) const;
    void finish(const Job& job);
    void lendPlace(bool lend);

    const int m_writers;
    mutable std::mutex m_mutex;
    mutable std::condition_variable m_changed;
    std::deque<Job> m_queue;
    QHash<QString, int> m_busy; // identity key -> jobs in flight reading or writing it
    QHash<QString, int> m_writing; // identity key -> jobs in flight writing it
    int m_inFlight = 0;
    int m_lent = 0; // jobs in flight whose decode waits for its share
    quint64 m_completions = 0;
    bool m_closing = false;
    std::vector<std::thread> m_threads;
};

} // namespace vantrel
