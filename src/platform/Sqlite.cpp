#include "platform/Sqlite.h"

#include <cstdio>
#include <utility>

#include <QByteArray>

#include <sqlite3.h>

namespace vantrel {

bool initializeSqlite()
{
    return sqlite3_initialize() == SQLITE_OK;
}

// ---- SqliteDatabase ----

SqliteDatabase::~SqliteDatabase()
{
    close();
}

SqliteDatabase::SqliteDatabase(SqliteDatabase&& other) noexcept
    : m_db(std::exchange(other.m_db, nullptr))
    , m_openError(std::move(other.m_openError))
{
}

SqliteDatabase& SqliteDatabase::operator=(SqliteDatabase&& other) noexcept
{
    if (this != &other) {
        close();
        m_db = std::exchange(other.m_db, nullptr);
        m_openError = std::move(other.m_openError);
    }
    return *this;
}

bool SqliteDatabase::open(const QString& path, int flags)
{
    close();
    m_openError.clear();
    if (!initializeSqlite()) {
        m_openError = QStringLiteral("sqlite3_initialize failed");
        return false;
    }
    sqlite3* db = nullptr;
    const QByteArray name = path.toUtf8();
    const int rc = sqlite3_open_v2(name.constData(), &db, flags | SQLITE_OPEN_FULLMUTEX, nullptr);
    if (rc != SQLITE_OK) {
        // SQLite may hand back a connection even on failure; it carries the message and must be closed.
        m_openError = db ? QString::fromUtf8(sqlite3_errmsg(db)) : QStringLiteral("out of memory");
        sqlite3_close(db);
        return false;
    }
    m_db = db;
    return true;
}

void SqliteDatabase::close()
{
    if (m_db) {
        // Fails only while a statement of this connection is still alive, which the ownership
        // rule above forbids; say so rather than leak in silence.
        if (sqlite3_close(m_db) != SQLITE_OK)
            std::fprintf(stderr, "SQLite: connection closed with statements still open: %s\n", sqlite3_errmsg(m_db));
        m_db = nullptr;
    }
}

bool SqliteDatabase::exec(const QString& sql)
{
    if (!m_db)
        return false;
    const QByteArray text = sql.toUtf8();
    return sqlite3_exec(m_db, text.constData(), nullptr, nullptr, nullptr) == SQLITE_OK;
}

QString SqliteDatabase::lastError() const
{
    if (!m_db)
        return m_openError.isEmpty() ? QStringLiteral("database not open") : m_openError;
    return QString::fromUtf8(sqlite3_errmsg(m_db));
}

// ---- SqliteStatement ----

SqliteStatement::SqliteStatement(const SqliteDatabase& db, const QString& sql)
{
    prepare(db, sql);
}

SqliteStatement::~SqliteStatement()
{
    finalize();
}

SqliteStatement::SqliteStatement(SqliteStatement&& other) noexcept
    : m_stmt(std::exchange(other.m_stmt, nullptr))
{
}

SqliteStatement& SqliteStatement::operator=(SqliteStatement&& other) noexcept
{
    if (this != &other) {
        finalize();
        m_stmt = std::exchange(other.m_stmt, nullptr);
    }
    return *this;
}

bool SqliteStatement::prepare(const SqliteDatabase& db, const QString& sql)
{
    finalize();
    if (!db.handle())
        return false;
    const QByteArray text = sql.toUtf8();
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(db.handle(), text.constData(), int(text.size()), &stmt, nullptr) != SQLITE_OK) {
        sqlite3_finalize(stmt); // null-safe; prepare leaves null on failure
        return false;
    }
    m_stmt = stmt; // null for a text without a statement (only comments or blanks)
    return m_stmt != nullptr;
}

void SqliteStatement::finalize()
{
    if (m_stmt) {
        sqlite3_finalize(m_stmt);
        m_stmt = nullptr;
    }
}

bool SqliteStatement::bindInt(int index, int value)
{
    return m_stmt && sqlite3_bind_int(m_stmt, index, value) == SQLITE_OK;
}

bool SqliteStatement::bindInt64(int index, qint64 value)
{
    return m_stmt && sqlite3_bind_int64(m_stmt, index, sqlite3_int64(value)) == SQLITE_OK;
}

bool SqliteStatement::bindText(int index, const QString& value)
{
    if (!m_stmt)
        return false;
    const QByteArray text = value.toUtf8();
    return sqlite3_bind_text(m_stmt, index, text.constData(), int(text.size()), SQLITE_TRANSIENT) == SQLITE_OK;
}

int SqliteStatement::step()
{
    return m_stmt ? sqlite3_step(m_stmt) : SQLITE_MISUSE;
}

bool SqliteStatement::reset()
{
    return m_stmt && sqlite3_reset(m_stmt) == SQLITE_OK;
}

int SqliteStatement::columnInt(int column) const
{
    return m_stmt ? sqlite3_column_int(m_stmt, column) : 0;
}

qint64 SqliteStatement::columnInt64(int column) const
{
    return m_stmt ? qint64(sqlite3_column_int64(m_stmt, column)) : 0;
}

QString SqliteStatement::columnText(int column) const
{
    const unsigned char* text = m_stmt ? sqlite3_column_text(m_stmt, column) : nullptr;
    if (!text)
        return QStringLiteral("");
    return QString::fromUtf8(reinterpret_cast<const char*>(text));
}

} // namespace vantrel
