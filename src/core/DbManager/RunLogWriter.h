#pragma once

#include <chrono>

#include <QList>
#include <QString>

#include "core/DbManager/DBManager.h"

namespace vantrel {

/// Writes finished runs into the log database: each run's summary row and detail rows together,
/// with the rows of runs that could not be written before (kept in a pending file beside the
/// database) first, all in one exclusive transaction. Every wait for another connection that holds
/// the file draws on one budget for the whole write. When the write finally fails, the runs stay
/// in the pending file (replaced atomically) for the next write. A database that cannot be opened
/// for writing or is damaged is renamed aside with the date and time and a fresh one is created
/// in its place, once per write.
///
/// Threads: no main-thread work; meant for a background thread. Opens its own connection per
/// write. Two writers must not write the same path at once (one serial queue does the writes).
class RunLogWriter {
public:
    static constexpr std::chrono::milliseconds kDefaultBudget { 10'000 };

    struct Run {
        DbRow summary;
        DbRows details;
    };
    struct Outcome {
        bool saved = false;
        /// Why the write failed (the database engine's message), empty when saved.
        QString failure;
        /// When not saved: whether the runs are in the pending file for the next write.
        bool kept = false;
        /// The name the damaged database was renamed to, when it was set aside by this write.
        QString movedAsideTo;
        /// Runs written, the pending ones included; or runs kept for the next write.
        int runs = 0;
    };

    /// `databasePath` is the log database ("Vantrel.db"); the pending file is that path + ".pending".
    explicit RunLogWriter(QString databasePath, std::chrono::milliseconds budget = kDefaultBudget);

    Outcome write(const Run& run);

    QString pendingPath() const { return m_databasePath + QStringLiteral(".pending"); }
    /// The runs waiting in the pending file (an unreadable file holds none).
    QList<Run> pendingRuns() const;

private:
    enum class Result { Written, Failed, Unusable };
    Result writeAll(const QList<Run>& runs, std::chrono::steady_clock::time_point deadline, QString* why) const;
    bool keepPending(const QList<Run>& runs, QString* why) const;
    QString moveAside(QString* why) const;

    QString m_databasePath;
    std::chrono::milliseconds m_budget;
};

} // namespace vantrel
