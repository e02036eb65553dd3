#include "core/PhotoLibrary/LibrarySql.h"

#include <sqlite3.h>

#include <QFileInfo>

#include "platform/Sqlite.h"

namespace vantrel::LibrarySql {

QString quoteIdentifier(const QString& name)
{
    QString quoted = name;
    quoted.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

// Library databases are opened only when they are regular files: reading a FIFO or a device named
// like one would block the reader for good.
bool openReadOnly(SqliteDatabase& db, const QString& path)
{
    return !path.isEmpty() && QFileInfo(path).isFile() && db.open(path, SQLITE_OPEN_READONLY);
}

bool openReadWrite(SqliteDatabase& db, const QString& path)
{
    return !path.isEmpty() && QFileInfo(path).isFile() && db.open(path, SQLITE_OPEN_READWRITE);
}

bool tableExists(const SqliteDatabase& db, const QString& table)
{
    SqliteStatement statement(db, QStringLiteral("SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = ?;"));
    return statement.bindText(1, table) && statement.step() == SQLITE_ROW;
}

QHash<QString, int> columnPositions(const SqliteDatabase& db, const QString& table)
{
    QHash<QString, int> positions;
    SqliteStatement statement(db, QStringLiteral("PRAGMA table_info(%1);").arg(quoteIdentifier(table)));
    while (statement.step() == SQLITE_ROW)
        positions.insert(statement.columnText(1), statement.columnInt(0));
    return positions;
}

} // namespace vantrel::LibrarySql
