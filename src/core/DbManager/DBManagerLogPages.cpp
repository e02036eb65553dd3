// Paged reading of a run's detail rows: the log viewer loads long runs a page at a time.
#include "core/DbManager/DBManager.h"

#include <sqlite3.h>

#include "core/DbManager/DbSupport.h"
#include "platform/MainThread.h"
#include "platform/Sqlite.h"

namespace vantrel {

int DBManager::readLogDetailsWhereTimestamp(
    const QString& stamp, qint64 afterId, int limit, const LogDetailVisitor& visit) const
{
    Q_ASSERT(isMainThread());
    if (m_excludedatabasePath.isEmpty() || limit <= 0)
        return m_excludedatabasePath.isEmpty() ? -1 : 0;
    SqliteDatabase db;
    if (!db.open(m_excludedatabasePath, SQLITE_OPEN_READONLY)) {
        dbsupport::logLine(QStringLiteral("Log database %1: %2").arg(m_excludedatabasePath, db.lastError()));
        return -1;
    }
    // The key range comes first so that SQLite seeks to the page instead of scanning from the start.
    SqliteStatement query(db,
        QStringLiteral("SELECT id, timeStamp, inputFilename, outputFilename, information, oldSize, newSize, ratio, "
                       "save FROM tblLogDetails WHERE id > ? AND timeStamp LIKE ? ESCAPE '\\' ORDER BY id LIMIT ?"));
    if (!query.isValid() || !query.bindInt64(1, afterId) || !query.bindText(2, dbsupport::escapeLikePattern(stamp))
        || !query.bindInt(3, limit))
        return -1;
    int count = 0;
    LogDetailValues values;
    int rc = SQLITE_ROW;
    while ((rc = query.step()) == SQLITE_ROW) {
        for (int i = 0; i < int(values.size()); ++i)
            values[i] = query.columnText(i + 1);
        visit(query.columnInt64(0), values);
        ++count;
    }
    return rc == SQLITE_DONE ? count : (count > 0 ? count : -1);
}

} // namespace vantrel
