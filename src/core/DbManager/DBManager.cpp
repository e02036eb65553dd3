#include "core/DbManager/DBManager.h"

#include <QElapsedTimer>
#include <QFileInfo>

#include <sqlite3.h>

#include "core/DbManager/DbSupport.h"
#include "platform/MainThread.h"
#include "platform/Paths.h"
#include "platform/Sqlite.h"

namespace vantrel {

using namespace dbsupport;

namespace {

constexpr int kDefaultOpenFlags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE;
/// SQLite's own wait, inside one prepare or step, while another connection holds the file.
constexpr int kLogBusyTimeoutMs = kBusyBudgetMs;

} // namespace

DBManager::DBManager()
    : m_logOpenFlags(kDefaultOpenFlags)
{
    initDatabase();
}

DBManager::DBManager(const QString& databaseFilename)
    : m_logOpenFlags(kDefaultOpenFlags)
    , m_documentsDirectory(Paths::applicationSupportFolder())
    , m_databaseFilename(databaseFilename)
{
    copyDatabaseIntoDocumentsDirectory();
}

DBManager::~DBManager() = default;

bool DBManager::openLogDatabase(SqliteDatabase& db) const
{
    Q_ASSERT(isMainThread());
    if (m_excludedatabasePath.isEmpty())
        return false;
    if (!db.open(m_excludedatabasePath, m_logOpenFlags)) {
        logLine(QStringLiteral("Log database %1: %2").arg(m_excludedatabasePath, db.lastError()));
        return false;
    }
    // Another connection (a second window's viewer, a backup tool) may hold the file for a moment:
    // wait for it rather than drop the run's rows.
    sqlite3_busy_timeout(db.handle(), kLogBusyTimeoutMs);
    return true;
}

void DBManager::initDatabase()
{
    const QString folder = Paths::applicationSupportFolder();
    if (folder.isEmpty()) {
        m_excludedatabasePath.clear();
        logLine(QStringLiteral("Failed to open/create database: no Application Support folder"));
        return;
    }
    m_excludedatabasePath = folder + u'/' + kDatabaseFileName;
    if (QFileInfo::exists(m_excludedatabasePath))
        return;

    SqliteDatabase db;
    if (!db.open(m_excludedatabasePath, m_logOpenFlags)) {
        logLine(QStringLiteral("Failed to open/create database"));
        return;
    }
    if (!db.exec(QStringLiteral("PRAGMA foreign_keys = ON")))
        logLine(QStringLiteral("failed to set the foreign_key pragma"));
    db.exec(kCreateExcludeItems);
    logLine(db.exec(kCreateMasterPersonalVault) ? QStringLiteral("MasterPersonalVault table created successfully")
                                                : QStringLiteral("Failed to create MasterPersonalVault table"));
}

bool DBManager::isTableExistsInDB(const QString& tableName)
{
    SqliteDatabase db;
    if (!openLogDatabase(db))
        return false;
    SqliteStatement query(db, QStringLiteral("SELECT name FROM sqlite_master WHERE type=? AND name= ?"));
    if (!query.isValid() || !query.bindText(1, QStringLiteral("table")) || !query.bindText(2, tableName))
        return false;
    bool found = false;
    while (query.step() == SQLITE_ROW)
        found = found || query.columnText(0).compare(tableName, Qt::CaseInsensitive) == 0;
    return found;
}

void DBManager::createTableWithColumns(const QString& tableName, const DbRows& arrColumn)
{
    // Names go into the statement text, so only plain identifiers are accepted.
    if (!isPlainTable(tableName, arrColumn)) {
        logLine(QStringLiteral("Failed to create table"));
        return;
    }
    SqliteDatabase db;
    if (!openLogDatabase(db)) {
        logLine(QStringLiteral("do something %1").arg(db.lastError()));
        return;
    }
    const QString sql = createTableStatement(tableName, arrColumn);
    logLine(db.exec(sql) ? QStringLiteral("Table created successfully") : QStringLiteral("Failed to create table"));
}

bool DBManager::InsertDetailInLogSummaryTable(const DbRow& dict)
{
    if (dict.isEmpty())
        return false;
    const QString folder = Paths::applicationSupportFolder();
    if (folder.isEmpty())
        return false;
    m_excludedatabasePath = folder + u'/' + kDatabaseFileName;
    SqliteDatabase db;
    if (!openLogDatabase(db))
        return false;
    SqliteStatement insert(db, kInsertSummary);
    if (!insert.isValid() || !bindRow(insert, kSummaryColumns, dict))
        return false;
    // One statement outside any transaction: the row is committed on its own.
    return stepWhileBusy(insert) == SQLITE_DONE;
}

bool DBManager::InsertDetailInLogDetailsTable(const DbRows& rows)
{
    SqliteDatabase db;
    if (!openLogDatabase(db))
        return false;
    {
        SqliteStatement begin(db, QStringLiteral("BEGIN EXCLUSIVE TRANSACTION"));
        if (!begin.isValid() || stepWhileBusy(begin) != SQLITE_DONE) {
            printDbError(db);
            return false;
        }
    }
    // From here on every way out ends the transaction, so the file is never left locked.
    QElapsedTimer timer;
    timer.start();
    SqliteStatement insert(db, kInsertDetails);
    if (!insert.isValid()) {
        logLine(QStringLiteral("Failed to open/create database"));
        rollback(db);
        return false;
    }
    bool everyRowWritten = true;
    for (const DbRow& row : rows) {
        const bool bound = bindRow(insert, kDetailColumns, row);
        if (!bound || stepWhileBusy(insert) != SQLITE_DONE) {
            printDbError(db); // this row is skipped; the others are still committed
            everyRowWritten = false;
        }
        insert.reset();
    }
    logLine(QStringLiteral("Insert Time Taken: %1").arg(double(timer.nsecsElapsed()) / 1e9, 0, 'f', 6));
    insert.finalize();

    SqliteStatement commit(db, QStringLiteral("COMMIT TRANSACTION"));
    if (!commit.isValid() || stepWhileBusy(commit) != SQLITE_DONE) {
        printDbError(db);
        rollback(db);
        return false;
    }
    return everyRowWritten;
}

DbRows DBManager::selectLogRows(const QString& sql, const QStringList& keys, const QString& boundValue, bool bind)
{
    DbRows rows;
    SqliteDatabase db;
    if (!openLogDatabase(db))
        return rows;
    SqliteStatement query(db, sql);
    if (!query.isValid() || (bind && !query.bindText(1, boundValue)))
        return rows;
    while (query.step() == SQLITE_ROW)
        rows.append(logRowOf(query, keys));
    return rows;
}

DbRows DBManager::getAllLogSummaries()
{
    return selectLogRows(QStringLiteral("SELECT * from tblLogSummary"), kSummaryColumns, {}, false);
}

DbRows DBManager::getAllLogDetailsWhereTimestamp(const QString& stamp)
{
    return selectLogRows(QStringLiteral("SELECT * from tblLogDetails where timeStamp LIKE ? ESCAPE '\\'"),
        kDetailColumns, escapeLikePattern(stamp), true);
}

} // namespace vantrel
