#pragma once

#include <chrono>

#include <QList>
#include <QString>

#include "core/DbManager/DBManager.h"

namespace vantrel {

/// The log rows of one finished run, with the identity that makes writing it a second time a
/// no-op (a UUID given when the run ends).
struct RunLogRun {
    QString id;
    DbRow summary;
    DbRows details;
};

/// The runs waiting for the log database: "<database>.pending" beside it, shared by every process
/// of the application. Every reading and rewriting of it happens while this object holds an
/// exclusive flock on "<database>.pending.lock" (a lock of the open file, so two objects in one
/// process exclude each other as two processes do). The file is the application's own: a symbolic
/// link, or a file that cannot be read, in its place is renamed aside with the date and time,
/// never followed, imported or deleted; anything but a regular file at the lock's place is set
/// aside as well, and the file is rewritten through a temporary made anew (O_EXCL).
///
/// Threads: one object per write, on one thread.
class RunLogPendingFile {
public:
    using Clock = std::chrono::steady_clock;

    explicit RunLogPendingFile(QString databasePath);
    ~RunLogPendingFile();
    RunLogPendingFile(const RunLogPendingFile&) = delete;
    RunLogPendingFile& operator=(const RunLogPendingFile&) = delete;

    QString path() const { return m_path; }

    /// Takes the lock, trying until `deadline`; true when it is held (also when it already was).
    bool lock(Clock::time_point deadline, QString* why);
    void unlock();

    /// The waiting runs, in the order they were kept (the lock must be held). A file that is not
    /// the application's own or cannot be read is set aside first and holds none.
    QList<RunLogRun> runs();
    /// Replaces the file with `runs` (written whole, then renamed into place), or removes it when
    /// there are none. The lock must be held.
    bool save(const QList<RunLogRun>& runs, QString* why);

    /// Where a file found in the pending file's place was renamed to by this object, and why (e.g.
    /// "was unreadable"); empty when nothing was set aside.
    QString setAsideTo() const { return m_setAsideTo; }
    QString setAsideBecause() const { return m_setAsideBecause; }

private:
    void setAside(const QString& because, const QString& word);

    QString m_path;
    int m_lockFd = -1;
    QString m_setAsideTo;
    QString m_setAsideBecause;
};

} // namespace vantrel
