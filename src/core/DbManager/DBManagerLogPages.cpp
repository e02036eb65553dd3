// The log viewer's reads: the list of runs, and a run's detail rows a page at a time, so that
// long runs load in steps. Each read waits only briefly for another connection that holds the
// file, and says so when it gave up.
#include "core/DbManager/DBManager.h"

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

DBManager::LogReadStatus DBManager::readLogSummaries(DbRows& rows) const
{
    Q_ASSERT(isMainThread());
    rows.clear();
    SqliteDatabase db;
    if (!openForViewer(db, m_excludedatabasePath))
        return LogReadStatus::Failed;
    SqliteStatement query(db, QStringLiteral("SELECT * from tblLogSummary"));
    if (!query.isValid())
        return failureOf(db);
    int rc = SQLITE_ROW;
    while ((rc = query.step()) == SQLITE_ROW)
        rows.append(dbsupport::logRowOf(query, dbsupport::kSummaryColumns));
    if (rc == SQLITE_DONE)
        return LogReadStatus::Read;
    rows.clear();
    return failureOf(db);
}

DBManager::LogPage DBManager::readLogDetailsWhereTimestamp(
    const QString& stamp, qint64 afterId, int limit, const LogDetailVisitor& visit) const
{
    Q_ASSERT(isMainThread());
    if (limit <= 0 && !m_excludedatabasePath.isEmpty())
        return { LogReadStatus::Read, 0 };
    SqliteDatabase db;
    if (!openForViewer(db, m_excludedatabasePath))
        return {};
    // The key range comes first so that SQLite seeks to the page instead of scanning from the start.
    SqliteStatement query(db,
        QStringLiteral("SELECT id, timeStamp, inputFilename, outputFilename, information, oldSize, newSize, ratio, "
                       "save FROM tblLogDetails WHERE id > ? AND timeStamp LIKE ? ESCAPE '\\' ORDER BY id LIMIT ?"));
    if (!query.isValid())
        return { failureOf(db), 0 };
    if (!query.bindInt64(1, afterId) || !query.bindText(2, dbsupport::escapeLikePattern(stamp))
        || !query.bindInt(3, limit))
        return {};
    int count = 0;
    LogDetailValues values;
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

} // namespace vantrel
