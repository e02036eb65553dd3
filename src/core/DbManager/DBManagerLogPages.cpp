// The log viewer's reads: the list of runs, and a run's detail rows a page at a time, so that
// long runs load in steps. Each read waits only briefly for another connection that holds the
// file, and says so when it gave up.
#include "core/DbManager/DBManager.h"

#include <algorithm>

#include <sqlite3.h>

#include "core/DbManager/DbSupport.h"
#include "platform/MainThread.h"
#include "platform/Sqlite.h"

namespace vantrel {

namespace {

using LogReadStatus = DBManager::LogReadStatus;

bool openForViewer(SqliteDatabase& db, const QString& path)
{
    if (path.isEmpty())
        return false;
    if (!db.open(path, SQLITE_OPEN_READONLY)) {
        dbsupport::logLine(QStringLiteral("Log database %1: %2").arg(path, db.lastError()));
        return false;
    }
    sqlite3_busy_timeout(db.handle(), DBManager::kViewerBusyTimeoutMs);
    return true;
}

/// Why the last prepare or step on `db` failed: another connection holding the file, or anything
/// else.
LogReadStatus failureOf(const SqliteDatabase& db)
{
    const int code = sqlite3_errcode(db.handle()) & 0xff;
    return code == SQLITE_BUSY || code == SQLITE_LOCKED ? LogReadStatus::Busy : LogReadStatus::Failed;
}

} // namespace

DBManager::LogReadStatus DBManager::readLogSummaries(DbRows& rows, QList<qint64>* summaryIds) const
{
    Q_ASSERT(isMainThread());
    rows.clear();
    if (summaryIds)
        summaryIds->clear();
    SqliteDatabase db;
    if (!openForViewer(db, m_excludedatabasePath))
        return LogReadStatus::Failed;
    SqliteStatement query(db, QStringLiteral("SELECT * from tblLogSummary"));
    if (!query.isValid())
        return failureOf(db);
    int rc = SQLITE_ROW;
    while ((rc = query.step()) == SQLITE_ROW) {
        rows.append(dbsupport::logRowOf(query, dbsupport::kSummaryColumns));
        if (summaryIds)
            summaryIds->append(query.columnInt64(0));
    }
    if (rc == SQLITE_DONE)
        return LogReadStatus::Read;
    rows.clear();
    if (summaryIds)
        summaryIds->clear();
    return failureOf(db);
}

namespace {

const QString kDetailSelect = QStringLiteral("SELECT id, timeStamp, inputFilename, outputFilename, information, "
                                             "oldSize, newSize, ratio, save FROM tblLogDetails ");

/// Steps `query` (its values bound) to its end, handing each row to `visit`.
DBManager::LogPage visitRows(const SqliteDatabase& db, SqliteStatement& query, const DBManager::LogDetailVisitor& visit)
{
    int count = 0;
    DBManager::LogDetailValues values;
    int rc = SQLITE_ROW;
    while ((rc = query.step()) == SQLITE_ROW) {
        for (int i = 0; i < int(values.size()); ++i)
            values[i] = query.columnText(i + 1);
        visit(query.columnInt64(0), values);
        ++count;
    }
    // Rows already handed over stay handed over: a later failure ends the page early.
    if (rc == SQLITE_DONE || count > 0)
        return { LogReadStatus::Read, count };
    return { failureOf(db), 0 };
}

/// Where the run of the summary row `summaryId` has its detail rows, as its writer recorded them.
struct RecordedRows {
    LogReadStatus status = LogReadStatus::Failed;
    bool tableExists = false; ///< runs are recorded in this log
    bool recorded = false; ///< this run is one of them
    qint64 first = 0;
    qint64 last = -1;
};

/// Whether the log records its runs (has the table of their rows), into `exists`.
LogReadStatus runRowsTableExists(const SqliteDatabase& db, bool& exists)
{
    exists = false;
    SqliteStatement table(db, QStringLiteral("SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = ?"));
    if (!table.isValid() || !table.bindText(1, dbsupport::kRunRowsTable))
        return failureOf(db);
    const int rc = table.step();
    if (rc != SQLITE_ROW && rc != SQLITE_DONE)
        return failureOf(db);
    exists = rc == SQLITE_ROW;
    return LogReadStatus::Read;
}

RecordedRows recordedRowsOf(const SqliteDatabase& db, qint64 summaryId)
{
    RecordedRows found;
    found.status = runRowsTableExists(db, found.tableExists);
    if (found.status != LogReadStatus::Read || !found.tableExists)
        return found;
    SqliteStatement run(
        db, QStringLiteral("SELECT firstDetailId, lastDetailId FROM tblLogRunRows WHERE summaryId = ?"));
    if (!run.isValid() || !run.bindInt64(1, summaryId)) {
        found.status = failureOf(db);
        return found;
    }
    const int step = run.step();
    if (step == SQLITE_ROW) {
        found.recorded = true;
        found.first = run.columnInt64(0);
        found.last = run.columnInt64(1);
    } else if (step != SQLITE_DONE) {
        found.status = failureOf(db);
    }
    return found;
}

} // namespace

DBManager::LogPage DBManager::readLogDetailsOfRun(
    qint64 summaryId, const QString& stamp, qint64 afterId, int limit, const LogDetailVisitor& visit) const
{
    Q_ASSERT(isMainThread());
    if (limit <= 0 && !m_excludedatabasePath.isEmpty())
        return { LogReadStatus::Read, 0 };
    SqliteDatabase db;
    if (!openForViewer(db, m_excludedatabasePath))
        return {};
    const RecordedRows rows = recordedRowsOf(db, summaryId);
    if (rows.status != LogReadStatus::Read)
        return { rows.status, 0 };
    SqliteStatement query;
    bool bound = false;
    if (rows.recorded) {
        query.prepare(db, kDetailSelect + QStringLiteral("WHERE id > ? AND id <= ? ORDER BY id LIMIT ?"));
        bound = query.isValid() && query.bindInt64(1, std::max(afterId, rows.first - 1))
            && query.bindInt64(2, rows.last) && query.bindInt(3, limit);
    } else {
        // A run from before runs were recorded. Rows of a recorded run never belong to it, though
        // their stamp may be the same: the recorded ranges do not overlap, so the one that starts
        // last at or before a row is the only one that can hold it. The key range comes first so
        // that SQLite seeks to the page instead of scanning from the start.
        const QString recordedElsewhere = rows.tableExists
            ? QStringLiteral(" AND NOT EXISTS (SELECT 1 FROM (SELECT lastDetailId FROM tblLogRunRows WHERE "
                             "firstDetailId <= tblLogDetails.id ORDER BY firstDetailId DESC LIMIT 1) "
                             "WHERE lastDetailId >= tblLogDetails.id)")
            : QString();
        query.prepare(db,
            kDetailSelect + QStringLiteral("WHERE id > ? AND timeStamp LIKE ? ESCAPE '\\'") + recordedElsewhere
                + QStringLiteral(" ORDER BY id LIMIT ?"));
        bound = query.isValid() && query.bindInt64(1, afterId) && query.bindText(2, dbsupport::escapeLikePattern(stamp))
            && query.bindInt(3, limit);
    }
    if (!query.isValid())
        return { failureOf(db), 0 };
    if (!bound)
        return {};
    return visitRows(db, query, visit);
}

DBManager::LogReadStatus DBManager::readSummaryIdOfRun(const QString& runId, qint64& summaryId) const
{
    Q_ASSERT(isMainThread());
    summaryId = 0;
    SqliteDatabase db;
    if (!openForViewer(db, m_excludedatabasePath))
        return LogReadStatus::Failed;
    bool recorded = false;
    const LogReadStatus table = runRowsTableExists(db, recorded);
    if (table != LogReadStatus::Read || !recorded)
        return table;
    SqliteStatement run(db, QStringLiteral("SELECT summaryId FROM tblLogRunRows WHERE runId = ?"));
    if (!run.isValid())
        return failureOf(db);
    if (!run.bindText(1, runId))
        return LogReadStatus::Failed;
    const int rc = run.step();
    if (rc == SQLITE_ROW)
        summaryId = run.columnInt64(0);
    else if (rc != SQLITE_DONE)
        return failureOf(db);
    return LogReadStatus::Read;
}

} // namespace vantrel
