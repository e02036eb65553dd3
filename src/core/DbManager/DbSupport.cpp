#include "core/DbManager/DbSupport.h"

#include <cstdio>

#include <QDateTime>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QRegularExpression>
#include <QThread>

#include <sqlite3.h>

#include "core/Helper/Utils.h"
#include "platform/Sqlite.h"

namespace vantrel::dbsupport {

void logLine(const QString& line)
{
    std::fprintf(stderr, "%s\n", qPrintable(line));
}

void printDbError(const SqliteDatabase& db)
{
    std::printf("db error: %s\n", db.lastError().toUtf8().constData());
    std::fflush(stdout);
}

int stepWhileBusy(SqliteStatement& statement)
{
    QElapsedTimer waited;
    waited.start();
    int rc = statement.step();
    while ((rc == SQLITE_BUSY || rc == SQLITE_LOCKED) && waited.elapsed() < kBusyBudgetMs) {
        QThread::msleep(kBusyPauseMs);
        rc = statement.step();
    }
    return rc;
}

QString createTableStatement(const QString& tableName, const QList<QMap<QString, QString>>& columns)
{
    QString sql = QStringLiteral("CREATE TABLE IF NOT EXISTS %1%2").arg(tableName, "(");
    sql += QStringLiteral("id INTEGER PRIMARY KEY AUTOINCREMENT, ");
    for (int i = 0; i < columns.size(); ++i) {
        const QString separator = i + 1 < columns.size() ? QStringLiteral(",") : QStringLiteral(")");
        sql += columns[i].value("column") + u' ' + columns[i].value("dataType") + separator;
    }
    return sql;
}

QString asidePath(const QString& path, const QString& word)
{
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH.mm.ss"));
    const QFileInfo info(path);
    return Utils::stringToAvoidNameCollisionForPath(info.path() + u'/' + info.completeBaseName() + QStringLiteral(" (")
        + word + u' ' + stamp + QStringLiteral(").") + info.suffix());
}

QMap<QString, QString> logRowOf(const SqliteStatement& query, const QStringList& keys)
{
    QMap<QString, QString> row;
    for (int i = 0; i < keys.size(); ++i)
        row.insert(keys[i], query.columnText(i + 1));
    return row;
}

bool bindRow(SqliteStatement& statement, const QStringList& columns, const QMap<QString, QString>& row)
{
    bool ok = true;
    for (int i = 0; i < columns.size(); ++i)
        ok = statement.bindText(i + 1, row.value(columns[i])) && ok;
    return ok;
}

void rollback(SqliteDatabase& db)
{
    db.exec(QStringLiteral("ROLLBACK TRANSACTION"));
}

bool isPlainIdentifier(const QString& name)
{
    static const QRegularExpression plain(QStringLiteral("^[A-Za-z_][A-Za-z0-9_]*$"));
    return plain.match(name).hasMatch();
}

bool isPlainTable(const QString& tableName, const QList<QMap<QString, QString>>& columns)
{
    static const QRegularExpression plainType(QStringLiteral("^[A-Za-z]+( [A-Za-z]+)*(\\([0-9]+(,[0-9]+)?\\))?$"));
    bool plain = isPlainIdentifier(tableName);
    for (const QMap<QString, QString>& column : columns)
        plain = plain && isPlainIdentifier(column.value(QStringLiteral("column")))
            && plainType.match(column.value(QStringLiteral("dataType"))).hasMatch();
    return plain;
}

QString escapeLikePattern(const QString& text)
{
    QString escaped;
    escaped.reserve(text.size());
    for (const QChar c : text) {
        if (c == u'\\' || c == u'%' || c == u'_')
            escaped += u'\\';
        escaped += c;
    }
    return escaped;
}

QStringList columnNamesOf(SqliteDatabase& db, const QString& table)
{
    QStringList names;
    if (!isPlainIdentifier(table))
        return names;
    SqliteStatement info(db, QStringLiteral("PRAGMA table_info(%1)").arg(table));
    while (info.isValid() && info.step() == SQLITE_ROW)
        names << info.columnText(1);
    return names;
}

} // namespace vantrel::dbsupport
