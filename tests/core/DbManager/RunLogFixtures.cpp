#include "RunLogFixtures.h"

#include <QFile>

#include <sqlite3.h>

#include "core/DbManager/DbSupport.h"
#include "platform/Sqlite.h"

namespace vantrel::test {

RunLogWriter::Run runOf(const QString& stamp, int photos)
{
    RunLogWriter::Run run;
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

StoredLog storedIn(const QString& path)
{
    StoredLog stored;
    SqliteDatabase db;
    if (!db.open(path, SQLITE_OPEN_READONLY))
        return stored;
    SqliteStatement summaries(db, "SELECT timeStamp FROM tblLogSummary ORDER BY id");
    while (summaries.step() == SQLITE_ROW)
        stored.summaries << summaries.columnText(0);
    SqliteStatement details(db, "SELECT timeStamp FROM tblLogDetails ORDER BY id");
    while (details.step() == SQLITE_ROW)
        ++stored.details[details.columnText(0)];
    return stored;
}

QStringList tablesOf(const QString& path)
{
    QStringList tables;
    SqliteDatabase db;
    if (!db.open(path, SQLITE_OPEN_READONLY))
        return tables;
    SqliteStatement query(
        db, "SELECT sql FROM sqlite_master WHERE type='table' AND name NOT LIKE 'sqlite_%' ORDER BY rowid");
    while (query.step() == SQLITE_ROW)
        tables << query.columnText(0);
    return tables;
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
