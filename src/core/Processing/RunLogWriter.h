#pragma once

#include <chrono>
#include <functional>
#include <memory>

#include <QList>
#include <QString>
#include <QStringList>

#include "core/DbManager/DBManager.h"
#include "core/DbManager/RunLogPendingFile.h"
#include "core/Processing/RunInterfaces.h"

namespace vantrel {

class RunFileProbe;

/// Writes finished runs into the log database: each run's summary row and detail rows together,
/// with the runs that could not be written before (kept in a pending file beside the database)
/// first, all in one exclusive transaction that also makes the log tables when they are missing.
/// Every run carries an identity stored with it (table tblLogRunIds), so a run already in the
/// database is skipped: a run reaches the file once, whatever the number of processes writing it
/// and wherever one of them stops. The pending file is read under the database's lock and changed
/// only under its own lock (RunLogPendingFile). Every wait for another connection that holds the
/// database draws on one budget for the whole write. When the write finally fails, the run is
/// added to the pending file for the next write.
///
/// A database that cannot serve as the log (damaged, not writable, or log tables whose columns
/// are not the log's) is renamed aside with the date and time and a fresh one is created in its
/// place, once per write.
///
/// Threads: no main-thread work; meant for a background thread. Opens its own connection per
/// write; any number of writers, in any number of processes, may write the same path at once.
class RunLogWriter {
public:
    static constexpr std::chrono::milliseconds kDefaultBudget { 10'000 };

    using Run = RunLogRun;
    /// How the write ended, as the run learns it, and how many runs it wrote or kept.
    struct Outcome : RunLogResult {
        Outcome() { saved = false; }
        /// Runs written, the pending ones included; or runs kept for the next write.
        int runs = 0;
    };

    /// Points where a test makes a write fail as a refused row or a killed process would.
    enum class FaultPoint {
        DetailRow, ///< before the detail row numbered `index` within the write: true refuses it
        AfterCommit, ///< after the commit: true ends the write there, the pending file untouched
    };
    using FaultHook = std::function<bool(FaultPoint point, int index)>;

    /// `databasePath` is the log database ("Vantrel.db"); the pending file is that path +
    /// ".pending". `probe` tells whether the database may be written (the real file system when
    /// none is given).
    explicit RunLogWriter(QString databasePath, std::chrono::milliseconds budget = kDefaultBudget,
        std::shared_ptr<RunFileProbe> probe = {});

    /// Writes `run` (given an identity when it has none) after the waiting runs.
    Outcome write(Run run);
    /// Writes the rows of a run still going (`run`, under the identity its end will write it
    /// with), after the waiting runs, so that they are in the log should the process end before
    /// the run does. They are marked as the run so far (table tblLogRunsSoFar): the next write of
    /// that run, so far or whole, replaces them, whereas a run written whole is never written
    /// again. A failure is only told (one line on standard error): nothing is set aside or kept
    /// for later, which the run's own end does. True when written.
    bool keepRunSoFar(const Run& run);

    QString pendingPath() const { return m_databasePath + QStringLiteral(".pending"); }
    /// The runs waiting in the pending file (a file that is not readable holds none).
    QList<Run> pendingRuns() const;

    void setFaultHook(FaultHook hook) { m_faultHook = std::move(hook); }

    /// The column descriptions of a log table: one dictionary per column with "column" (the
    /// name) and "dataType" (its type), in order; the one source of the log tables' columns.
    static DbRows createcolums(const QStringList& columns, const QStringList& withDatatype);

private:
    enum class Result { Written, Failed, Unusable };
    struct Attempt {
        Result result = Result::Failed;
        QString why;
        /// When unusable: what is wrong with the file, and the word for its new name.
        QString unusableBecause;
        QString asideWord;
        int written = 0;
    };
    Attempt writeAll(const Run& run, std::chrono::steady_clock::time_point deadline, RunLogPendingFile& pending,
        bool soFar = false) const;
    /// Makes the missing log tables (and the table of run identities) inside the write's
    /// transaction, and checks that those found have the log's columns.
    bool createDbTable(SqliteDatabase& db, Attempt* attempt) const;
    /// Makes the table `tableName` with the columns of `arrColumn` (as createcolums describes
    /// them), on the write's connection; false, making nothing, when a name or a type may not go
    /// into a statement text (isPlainTable).
    bool createTable(SqliteDatabase& db, const DbRows& arrColumn, const QString& tableName) const;
    /// Inserts `runs`, but those already written whole; the run `soFarId` is marked as a run so far.
    bool insertRuns(SqliteDatabase& db, const QList<Run>& runs, const QString& soFarId, Attempt* attempt) const;
    /// Removes the rows of the run so far `runId` (and its mark); false when it is none.
    bool removeRunSoFar(SqliteDatabase& db, const QString& runId, bool* removed) const;
    QString moveAside(const QString& word, QString* why) const;
    bool fault(FaultPoint point, int index) const { return m_faultHook && m_faultHook(point, index); }

    QString m_databasePath;
    std::chrono::milliseconds m_budget;
    std::shared_ptr<RunFileProbe> m_probe;
    FaultHook m_faultHook;
};

} // namespace vantrel
