#include "core/DbManager/RunLogWriter.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <thread>

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

#include <sqlite3.h>

#include "core/DbManager/DbSupport.h"
#include "platform/Sqlite.h"

namespace vantrel {

using namespace dbsupport;

namespace {

using Clock = std::chrono::steady_clock;

const char* const kCompanions[] = { "", "-journal", "-wal", "-shm" };

QString createLogTable(const QString& table, const QStringList& columns)
{
    QStringList typed;
    for (const QString& column : columns)
        typed << column + QStringLiteral(" TEXT");
    return QStringLiteral("CREATE TABLE IF NOT EXISTS %1(id INTEGER PRIMARY KEY AUTOINCREMENT, %2)")
        .arg(table, typed.join(u','));
}

/// The busy handler of a write's connection: while another connection holds the file, SQLite
/// calls it before each new try; it pauses and lets the try go ahead until the write's deadline.
int waitUntilDeadline(void* deadline, int)
{
    if (Clock::now() >= *static_cast<const Clock::time_point*>(deadline))
        return 0;
    std::this_thread::sleep_for(std::chrono::milliseconds(kBusyPauseMs));
    return 1;
}

/// The file cannot serve as the log at all: damaged, not a database, or not writable.
bool isUnusable(int code)
{
    switch (code & 0xff) {
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
    case SQLITE_CANTOPEN:
    case SQLITE_READONLY:
        return true;
    default:
        return false;
    }
}

QJsonObject toJson(const DbRow& row)
{
    QJsonObject object;
    for (auto it = row.cbegin(); it != row.cend(); ++it)
        object.insert(it.key(), it.value());
    return object;
}

DbRow fromJson(const QJsonObject& object)
{
    DbRow row;
    for (auto it = object.constBegin(); it != object.constEnd(); ++it)
        row.insert(it.key(), it.value().toString());
    return row;
}

} // namespace

RunLogWriter::RunLogWriter(QString databasePath, std::chrono::milliseconds budget)
    : m_databasePath(std::move(databasePath))
    , m_budget(budget)
{
}

QList<RunLogWriter::Run> RunLogWriter::pendingRuns() const
{
    QList<Run> runs;
    QFile file(pendingPath());
    if (!QFileInfo(file).isFile() || !file.open(QIODevice::ReadOnly))
        return runs;
    const QJsonDocument document = QJsonDocument::fromJson(file.readAll());
    if (!document.isArray()) {
        logLine(QStringLiteral("Pending log rows in %1 are unreadable").arg(pendingPath()));
        return runs;
    }
    for (const QJsonValue& value : document.array()) {
        Run run;
        run.summary = fromJson(value[QStringLiteral("summary")].toObject());
        for (const QJsonValue& detail : value[QStringLiteral("details")].toArray())
            run.details.append(fromJson(detail.toObject()));
        runs.append(run);
    }
    return runs;
}

bool RunLogWriter::keepPending(const QList<Run>& runs, QString* why) const
{
    QJsonArray array;
    for (const Run& run : runs) {
        QJsonArray details;
        for (const DbRow& row : run.details)
            details.append(toJson(row));
        array.append(
            QJsonObject { { QStringLiteral("summary"), toJson(run.summary) }, { QStringLiteral("details"), details } });
    }
    // Written whole or not at all: a half-written file would lose the runs it already held.
    QSaveFile file(pendingPath());
    if (file.open(QIODevice::WriteOnly) && file.write(QJsonDocument(array).toJson(QJsonDocument::Compact)) >= 0
        && file.commit())
        return true;
    *why = file.errorString();
    return false;
}

QString RunLogWriter::moveAside(QString* why) const
{
    if (!QFileInfo::exists(m_databasePath)) {
        *why = QStringLiteral("no database file to set aside");
        return {};
    }
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH.mm.ss"));
    const QFileInfo info(m_databasePath);
    const QString aside = info.path() + u'/' + info.completeBaseName() + QStringLiteral(" (damaged ") + stamp
        + QStringLiteral(").") + info.suffix();
    // The journal files go with it: left behind, SQLite would apply them to the fresh file.
    for (const char* companion : kCompanions) {
        const QString from = m_databasePath + QLatin1String(companion);
        if (!QFileInfo::exists(from) && !QFileInfo(from).isSymLink())
            continue;
        if (std::rename(
                QFile::encodeName(from).constData(), QFile::encodeName(aside + QLatin1String(companion)).constData())
            != 0) {
            *why = QString::fromLocal8Bit(std::strerror(errno));
            return {};
        }
    }
    return aside;
}

RunLogWriter::Result RunLogWriter::writeAll(const QList<Run>& runs, Clock::time_point deadline, QString* why) const
{
    // A file made here holds what every new log database holds, as if made at launch.
    const bool fresh = !QFileInfo::exists(m_databasePath) && !QFileInfo(m_databasePath).isSymLink();
    SqliteDatabase db;
    if (!db.open(m_databasePath, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE)) {
        *why = db.lastError();
        return Result::Unusable;
    }
    sqlite3_busy_handler(db.handle(), &waitUntilDeadline, &deadline);
    const auto fail = [&] {
        *why = db.lastError();
        const int code = sqlite3_extended_errcode(db.handle());
        rollback(db);
        return isUnusable(code) ? Result::Unusable : Result::Failed;
    };
    // The exclusive lock first: from here no other connection can make the write wait again.
    if (!db.exec(QStringLiteral("BEGIN EXCLUSIVE TRANSACTION")))
        return fail();
    if (fresh && (!db.exec(kCreateExcludeItems) || !db.exec(kCreateMasterPersonalVault)))
        return fail();
    if (!db.exec(createLogTable(QStringLiteral("tblLogSummary"), kSummaryColumns))
        || !db.exec(createLogTable(QStringLiteral("tblLogDetails"), kDetailColumns)))
        return fail();
    SqliteStatement summary(db, kInsertSummary);
    SqliteStatement detail(db, kInsertDetails);
    if (!summary.isValid() || !detail.isValid())
        return fail();
    for (const Run& run : runs) {
        if (!bindRow(summary, kSummaryColumns, run.summary) || summary.step() != SQLITE_DONE)
            return fail();
        summary.reset();
        for (const DbRow& row : run.details) {
            if (!bindRow(detail, kDetailColumns, row) || detail.step() != SQLITE_DONE)
                return fail();
            detail.reset();
        }
    }
    summary.finalize();
    detail.finalize();
    if (!db.exec(QStringLiteral("COMMIT TRANSACTION")))
        return fail();
    return Result::Written;
}

RunLogWriter::Outcome RunLogWriter::write(const Run& run)
{
    const Clock::time_point deadline = Clock::now() + m_budget;
    QList<Run> runs = pendingRuns();
    runs.append(run);
    Outcome outcome;
    outcome.runs = int(runs.size());

    QString why;
    Result result = writeAll(runs, deadline, &why);
    if (result == Result::Unusable) {
        logLine(QStringLiteral("Log database %1 cannot be used: %2").arg(m_databasePath, why));
        QString moveError;
        outcome.movedAsideTo = moveAside(&moveError);
        if (!outcome.movedAsideTo.isEmpty()) {
            logLine(QStringLiteral("Log database set aside as %1").arg(outcome.movedAsideTo));
            result = writeAll(runs, deadline, &why);
        } else {
            logLine(QStringLiteral("Log database %1 could not be set aside: %2").arg(m_databasePath, moveError));
        }
    }
    if (result == Result::Written) {
        outcome.saved = true;
        if (QFileInfo::exists(pendingPath()) && !QFile::remove(pendingPath()))
            logLine(QStringLiteral("Pending log rows %1 could not be removed; they may be written twice")
                        .arg(pendingPath()));
        return outcome;
    }
    outcome.failure = why;
    QString pendingError;
    outcome.kept = keepPending(runs, &pendingError);
    if (!outcome.kept) {
        outcome.failure += QStringLiteral("; the rows could not be kept either (%1)").arg(pendingError);
        logLine(QStringLiteral("Log rows of %1 run(s) lost: %2").arg(runs.size()).arg(outcome.failure));
    } else {
        logLine(QStringLiteral("Log rows of %1 run(s) kept in %2 for the next run: %3")
                    .arg(runs.size())
                    .arg(pendingPath(), why));
    }
    return outcome;
}

} // namespace vantrel
