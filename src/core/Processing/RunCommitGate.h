#pragma once

#include <condition_variable>
#include <functional>
#include <mutex>

#include <QHash>
#include <QSet>
#include <QString>

namespace vantrel {

/// Whether the writes of one run may still put their outputs in place. Every write of the run
/// notes the temporary it makes (hold) and renames it over its target through pass(); the run
/// closes the gate when it ends (its summary is shown). From then on no write of the run starts a
/// temporary or puts one in place, and the temporaries of the writes still on their way (a source
/// read that stalled on a share that stopped answering) are removed at once: no file is added or
/// replaced after the summary, and none is left half written. Thread-safe: the writers hold and
/// pass, the main thread closes.
class RunCommitGate {
public:
    /// Notes `temporary`, just made by a write of the run, and how to remove it. False once the
    /// gate is closed: `discard` has then been run, and the write goes no further.
    bool hold(const QString& temporary, std::function<void()> discard);
    /// The write has removed `temporary` itself.
    void release(const QString& temporary);
    /// Runs `commit` (the rename of `temporary` over `target`; it returns 0 or an errno) unless the
    /// gate is closed, and returns its result; returns ECANCELED, running nothing, once it is
    /// closed. A target put in place is remembered.
    int pass(const QString& temporary, const QString& target, const std::function<int()>& commit);
    /// Closes the gate: no commit starts any more, the commits on their way (renames on the
    /// output's volume, never a read of a source) are waited for, and the temporaries still held
    /// are removed. Returns the targets the run's writes put in place.
    QSet<QString> close();
    bool isClosed() const;

private:
    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_closed = false;
    int m_inProgress = 0; // commits on their way; they run side by side, outside the lock
    QHash<QString, std::function<void()>> m_held; // temporary -> its removal
    QSet<QString> m_committed;
};

} // namespace vantrel
