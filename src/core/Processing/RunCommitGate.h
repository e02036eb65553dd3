#pragma once

#include <condition_variable>
#include <functional>
#include <mutex>

#include <QSet>
#include <QString>

namespace vantrel {

/// Whether the writes of one run may still put their outputs in place. Every write of the run
/// renames its finished temporary over its target through pass(); the run closes the gate when it
/// ends (its summary is shown), and a write that finishes later (its source read stalled on a share
/// that stopped answering) puts nothing in place: it removes its temporary instead. So no file is
/// added or replaced after the summary. Thread-safe: the writers pass, the main thread closes.
class RunCommitGate {
public:
    /// Runs `commit` (the rename of the finished output over `target`; it returns 0 or an errno)
    /// unless the gate is closed, and returns its result; returns ECANCELED, running nothing, once
    /// it is closed. A target put in place is remembered.
    int pass(const QString& target, const std::function<int()>& commit);
    /// Closes the gate: no commit starts any more, and the commits on their way (renames on the
    /// output's volume, never a read of a source) are waited for. Returns the targets the run's
    /// writes put in place.
    QSet<QString> close();
    bool isClosed() const;

private:
    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_closed = false;
    int m_inProgress = 0; // commits on their way; they run side by side, outside the lock
    QSet<QString> m_committed;
};

} // namespace vantrel
