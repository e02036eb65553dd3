#include "LogDatabaseFixtures.h"

#include <QFile>

#include <sqlite3.h>

#include "core/DbManager/DbSupport.h"
#include "platform/Sqlite.h"

namespace vantrel::test {

RunLogRun runOf(const QString& stamp, int photos)
{
    RunLogRun run;
    for (const QString& column : dbsupport::kSummaryColumns)
        run.summary.insert(column, column + " of " + stamp);
    run.summary["timeStamp"] = stamp;
    for (int i = 0; i < photos; ++i) {
        DbRow row;
        for (const QString& column : dbsupport::kDetailColumns)
            row.insert(column, column + " " + QString::number(i));
        row["timeStamp"] = stamp;
        run.details.append(row);
    }
    return run;
}

bool execOn(const QString& path, const QString& sql)
{
    SqliteDatabase db;
    return db.open(path, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE) && db.exec(sql);
}

QStringList columnValues(const QString& path, const QString& sql)
{
    QStringList values;
    SqliteDatabase db;
    if (!db.open(path, SQLITE_OPEN_READONLY))
        return values;
    SqliteStatement query(db, sql);
    while (query.step() == SQLITE_ROW)
        values << query.columnText(0);
    return values;
}

StoredLog storedIn(const QString& path)
{
    StoredLog stored;
    stored.summaries = columnValues(path, "SELECT timeStamp FROM tblLogSummary ORDER BY id");
    for (const QString& stamp : columnValues(path, "SELECT timeStamp FROM tblLogDetails ORDER BY id"))
        ++stored.details[stamp];
    return stored;
}

QStringList tablesOf(const QString& path)
{
    return columnValues(
        path, "SELECT sql FROM sqlite_master WHERE type='table' AND name NOT LIKE 'sqlite_%' ORDER BY rowid");
}

std::optional<QByteArray> contentsOf(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return file.readAll();
}

LockHolder::LockHolder(const QString& path, std::optional<std::chrono::milliseconds> holdFor)
{
    std::promise<bool> locked;
    std::future<bool> isLocked = locked.get_future();
    m_thread = std::thread([this, path, holdFor, locked = std::move(locked)]() mutable {
        sqlite3* db = nullptr;
        const bool ok
            = sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READWRITE, nullptr) == SQLITE_OK
            && sqlite3_exec(db, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr) == SQLITE_OK;
        locked.set_value(ok);
        if (holdFor)
            std::this_thread::sleep_for(*holdFor);
        else
            m_release.get_future().wait();
        sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
        sqlite3_close(db);
    });
    m_locked = isLocked.get();
}

LockHolder::~LockHolder()
{
    release();
    m_thread.join();
}

void LockHolder::release()
{
    if (!m_released.exchange(true))
        m_release.set_value();
}

} // namespace vantrel::test
