// The general-purpose operations of DBManager: helpers on other tables of the log database or on
// a database file given by the caller. No part of the application calls them today.
#include "core/DbManager/DBManager.h"

#include <QFile>
#include <QFileInfo>

#include <sqlite3.h>

#include "core/DbManager/DbSupport.h"
#include "platform/Sqlite.h"

namespace vantrel {

using namespace dbsupport;

namespace {

// A database given by the caller is opened, never created.
constexpr int kExistingFileFlags = SQLITE_OPEN_READWRITE;

bool stepToDone(SqliteStatement& statement)
{
    return statement.isValid() && stepWhileBusy(statement) == SQLITE_DONE;
}

QString quotedColumns(const QStringList& names)
{
    QStringList quoted;
    for (const QString& name : names)
        quoted << u'"' + QString(name).replace(u'"', QStringLiteral("\"\"")) + u'"';
    return quoted.join(u',');
}

QString placeholders(qsizetype count)
{
    QStringList marks;
    for (qsizetype i = 0; i < count; ++i)
        marks << QStringLiteral("?");
    return marks.join(u',');
}

} // namespace

void DBManager::copyDatabaseIntoDocumentsDirectory()
{
    // The copy goes into this application's own data folder and nowhere else; a name with a
    // folder part could point outside it.
    const QString name = m_databaseFilename;
    if (m_documentsDirectory.isEmpty() || name.isEmpty() || name.contains(u'/') || name == u"." || name == u"..")
        return;
    const QString target = m_documentsDirectory + u'/' + name;
    if (QFileInfo::exists(target))
        return;
    QFile source(QStringLiteral(":/") + name);
    if (!source.copy(target)) {
        logLine(source.errorString());
        return;
    }
    // Resources are read-only; the copy must be writable to be used as a database.
    QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser);
}

void DBManager::runQuery(const QString& query, bool isQueryExecutable, const QString& databasePath)
{
    m_databasePath = databasePath;
    m_arrResults = DbRows();
    SqliteDatabase db;
    if (!db.open(databasePath, kExistingFileFlags)) {
        logLine(QStringLiteral("Can not open database"));
        return;
    }
    SqliteStatement statement(db, query);
    if (!statement.isValid()) {
        logLine(db.lastError());
        return;
    }
    if (isQueryExecutable) {
        int rc = SQLITE_ROW;
        while (rc == SQLITE_ROW)
            rc = stepWhileBusy(statement);
        if (rc != SQLITE_DONE)
            logLine(db.lastError());
        return;
    }
    while (statement.step() == SQLITE_ROW)
        m_arrResults.append(
            { { QStringLiteral("z_pk"), statement.columnText(0) }, { QStringLiteral("zHtmlString"), "" } });
}

DbRows DBManager::loadDataFromDB(const QString& query, const QString& strDbPath)
{
    runQuery(query, false, strDbPath);
    return m_arrResults;
}

bool DBManager::updatedFiles(const QString& key, const QString& html)
{
    bool isNumber = false;
    const qint64 primaryKey = key.trimmed().toLongLong(&isNumber);
    if (!isNumber || primaryKey < 1)
        return false;
    logLine(QStringLiteral("Exitsing data, Update Please"));
    SqliteDatabase db;
    if (!db.open(m_databasePath, kExistingFileFlags))
        return false;
    SqliteStatement update(db, QStringLiteral("UPDATE ZNOTEBODY set ZHTMLSTRING = ? WHERE Z_PK = ?"));
    return update.bindText(1, html) && update.bindInt64(2, primaryKey) && stepToDone(update);
}

void DBManager::executeQuery(const QString& /*query*/) { }

DbRows DBManager::getDataFromMPV(int category)
{
    static const QStringList keys = { "nId", "Name", "PlaceHolderText", "PersonalInformationCategory", "Predefined" };
    DbRows rows;
    SqliteDatabase db;
    if (openLogDatabase(db)) {
        SqliteStatement query(db,
            QStringLiteral("SELECT nId, Name, PlaceHolderText, PersonalInformationCategory, Predefined "
                           "FROM MasterPersonalVault WHERE PersonalInformationCategory = ?"));
        if (query.bindInt(1, category)) {
            while (query.step() == SQLITE_ROW) {
                DbRow row;
                for (int i = 0; i < keys.size(); ++i)
                    row.insert(keys[i], query.columnText(i));
                rows.append(row);
            }
        }
    }
    m_arrPersonalValut = rows;
    return rows;
}

QString DBManager::FindPlaceholderTextFromid(int nId)
{
    SqliteDatabase db;
    if (!openLogDatabase(db))
        return QStringLiteral("");
    SqliteStatement query(db, QStringLiteral("SELECT PlaceHolderText FROM MasterPersonalVault WHERE nId = ?"));
    if (!query.bindInt(1, nId) || query.step() != SQLITE_ROW)
        return QStringLiteral("");
    return query.columnText(0);
}

bool DBManager::FindKeywordInUserPersonalValut(const QString& keyword)
{
    for (const DbRow& row : selectAllRows(m_excludedatabasePath, QStringLiteral("UserPersonalVault"))) {
        for (const QString& value : row) {
            if (value.compare(keyword, Qt::CaseInsensitive) == 0)
                return true;
        }
    }
    return false;
}

bool DBManager::RemoveRecordFromExcludedItem(const QString& name)
{
    SqliteDatabase db;
    if (!openLogDatabase(db))
        return false;
    SqliteStatement remove(db, QStringLiteral("DELETE FROM ExcludeItems WHERE name = ?"));
    return remove.bindText(1, name) && stepToDone(remove);
}

bool DBManager::deleteAllDetailFromUserPersonalVault()
{
    SqliteDatabase db;
    if (!openLogDatabase(db))
        return false;
    SqliteStatement remove(db, QStringLiteral("DELETE FROM UserPersonalVault"));
    return stepToDone(remove);
}

bool DBManager::inserScanareas(const DbRow& values)
{
    if (values.isEmpty())
        return false;
    for (const QString& column : values.keys()) {
        if (!isPlainIdentifier(column))
            return false;
    }
    SqliteDatabase db;
    if (!openLogDatabase(db))
        return false;
    SqliteStatement insert(db,
        QStringLiteral("INSERT INTO Scanareas(%1) VALUES (%2)")
            .arg(values.keys().join(u','), placeholders(values.size())));
    int index = 1;
    for (const QString& value : values) {
        if (!insert.bindText(index++, value))
            return false;
    }
    return stepToDone(insert);
}

DbRows DBManager::getMasterLogs()
{
    return selectAllRows(m_excludedatabasePath, QStringLiteral("LogMaster"));
}

bool DBManager::deleteFromDatabase(
    const QString& table, const QString& dbpath, const DbRows& resultArr, const QString& forPkey)
{
    if (!isPlainIdentifier(table) || !isPlainIdentifier(forPkey)) {
        logLine(QStringLiteral("deleteFromDatabase: refused table or key name"));
        return false;
    }
    QStringList keys;
    for (const DbRow& row : resultArr) {
        QString key = row.value(forPkey);
        while (key.startsWith(u'\n') || key.startsWith(u'\r'))
            key.remove(0, 1);
        while (key.endsWith(u'\n') || key.endsWith(u'\r'))
            key.chop(1);
        keys << key;
    }
    SqliteDatabase db;
    if (!db.open(dbpath, kExistingFileFlags)) {
        logLine(db.lastError());
        return false;
    }
    SqliteStatement remove(
        db, QStringLiteral("delete from %1 where %2 IN (%3)").arg(table, forPkey, placeholders(keys.size())));
    for (int i = 0; i < keys.size(); ++i) {
        if (!remove.bindText(i + 1, keys[i]))
            return false;
    }
    const bool done = stepToDone(remove);
    if (!done)
        logLine(db.lastError());
    return done;
}

DbRows DBManager::selectAllRows(const QString& path, const QString& table)
{
    DbRows rows;
    SqliteDatabase db;
    if (path.isEmpty() || !db.open(path, m_logOpenFlags))
        return rows;
    const QStringList columns = columnNamesOf(db, table);
    if (columns.isEmpty())
        return rows;
    SqliteStatement query(db, QStringLiteral("SELECT %1 FROM %2").arg(quotedColumns(columns), table));
    while (query.step() == SQLITE_ROW) {
        DbRow row;
        for (int i = 0; i < columns.size(); ++i)
            row.insert(columns[i], query.columnText(i));
        rows.append(row);
    }
    return rows;
}

} // namespace vantrel
