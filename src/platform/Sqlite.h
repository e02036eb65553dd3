#pragma once

#include <QString>

struct sqlite3;
struct sqlite3_stmt;

namespace vantrel {

/// Prepares the SQLite library (sqlite3_initialize; idempotent and cheap). The library is never
/// shut down by this system: a connection may be open on any thread until the process ends.
bool initializeSqlite();

/// One SQLite connection, opened in serialized (full-mutex) mode.
/// Ownership: owns its sqlite3* and closes it when destroyed, closed or moved from.
class SqliteDatabase {
public:
    SqliteDatabase() = default;
    ~SqliteDatabase();
    SqliteDatabase(const SqliteDatabase&) = delete;
    SqliteDatabase& operator=(const SqliteDatabase&) = delete;
    SqliteDatabase(SqliteDatabase&& other) noexcept;
    SqliteDatabase& operator=(SqliteDatabase&& other) noexcept;

    /// Opens `path` with SQLITE_OPEN_* `flags` (add SQLITE_OPEN_URI for "file:" names). Any
    /// connection held before is closed first. On failure nothing stays open and lastError()
    /// tells why.
    bool open(const QString& path, int flags);
    /// Closes the connection. Statements prepared on it must be finalized first.
    void close();
    bool isOpen() const { return m_db != nullptr; }

    /// Runs one or more statements without results. false and lastError() on failure.
    bool exec(const QString& sql);

    /// The message of the last failure: the connection's own, or why it could not be opened.
    QString lastError() const;

    sqlite3* handle() const { return m_db; }

private:
    sqlite3* m_db = nullptr;
    QString m_openError;
};

/// One prepared statement.
/// Ownership: owns its sqlite3_stmt* and finalizes it when destroyed, finalized or moved from;
/// it must not outlive the SqliteDatabase it was prepared on.
class SqliteStatement {
public:
    SqliteStatement() = default;
    /// Prepares `sql` on `db`; check isValid().
    SqliteStatement(const SqliteDatabase& db, const QString& sql);
    ~SqliteStatement();
    SqliteStatement(const SqliteStatement&) = delete;
    SqliteStatement& operator=(const SqliteStatement&) = delete;
    SqliteStatement(SqliteStatement&& other) noexcept;
    SqliteStatement& operator=(SqliteStatement&& other) noexcept;

    /// Prepares the first statement of `sql`, finalizing any held before.
    bool prepare(const SqliteDatabase& db, const QString& sql);
    void finalize();
    bool isValid() const { return m_stmt != nullptr; }

    /// Parameter indexes start at 1. Text is copied by SQLite (UTF-8).
    bool bindInt(int index, int value);
    bool bindInt64(int index, qint64 value);
    bool bindText(int index, const QString& value);

    /// One sqlite3_step: SQLITE_ROW, SQLITE_DONE, SQLITE_BUSY or an error code
    /// (SQLITE_MISUSE when nothing is prepared).
    int step();
    /// Rewinds to run again; bindings are kept. false when the last step had failed.
    bool reset();

    /// Column indexes start at 0. A NULL column reads as 0 or as "" (never a null QString).
    int columnInt(int column) const;
    qint64 columnInt64(int column) const;
    QString columnText(int column) const;

private:
    sqlite3_stmt* m_stmt = nullptr;
};

} // namespace vantrel
