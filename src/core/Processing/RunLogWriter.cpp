#include "core/Processing/RunLogWriter.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <thread>
#include <tuple>
#include <utility>

#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QUuid>

#include <sqlite3.h>

#include "core/DbManager/DbSupport.h"
#include "core/Processing/ProcessingFileProbe.h"
#include "platform/OwnFile.h"
#include "platform/Sqlite.h"

namespace vantrel {

using namespace dbsupport;

namespace {

using Clock = std::chrono::steady_clock;

const char* const kCompanions[] = { "", "-journal", "-wal", "-shm" };

/// The identities of the runs in the database, beside the log tables (whose columns stay as
/// every reader expects them).
const QString kRunIdsTable = QStringLiteral("tblLogRunIds");
const QString kCreateRunIds
    = QStringLiteral("CREATE TABLE IF NOT EXISTS tblLogRunIds(runId TEXT PRIMARY KEY NOT NULL)");
/// The runs whose rows are those of the run so far, written by a process that may yet end before
/// the run does; its later writes of the run replace them.
const QString kRunsSoFarTable = QStringLiteral("tblLogRunsSoFar");
const QString kCreateRunsSoFar
    = QStringLiteral("CREATE TABLE IF NOT EXISTS tblLogRunsSoFar(runId TEXT PRIMARY KEY NOT NULL)");

/// What the notice says of a file that cannot serve as the log, and the word in its new name.
using UnusableKind = std::pair<QString, QString>;
const UnusableKind kDamaged { QStringLiteral("was damaged"), QStringLiteral("damaged") };
const UnusableKind kReadOnly { QStringLiteral("was read-only"), QStringLiteral("read-only") };
const UnusableKind kOtherColumns { QStringLiteral("had log tables with other columns"),
    QStringLiteral("other columns") };

/// How long the pending file's lock is waited for at least, even when the database took the whole
/// budget: its holders keep it only while they read or rewrite that small file.
constexpr auto kPendingLockWait = std::chrono::seconds(2);

/// The busy handler of a write's connection: while another connection holds the file, SQLite
/// calls it before each new try; it pauses and lets the try go ahead until the write's deadline.
int waitUntilDeadline(void* deadline, int)
{
    if (Clock::now() >= *static_cast<const Clock::time_point*>(deadline))
        return 0;
    std::this_thread::sleep_for(std::chrono::milliseconds(kBusyPauseMs));
    return 1;
}

/// The runs kept in `pending` (whose lock is held) followed by `run`, unless it is one of them
/// already: a run is written, and kept, once.
QList<RunLogRun> keptWith(RunLogPendingFile& pending, const RunLogRun& run)
{
    QList<RunLogRun> runs = pending.runs();
    if (std::none_of(runs.cbegin(), runs.cend(), [&run](const RunLogRun& kept) { return kept.id == run.id; }))
        runs.append(run);
    return runs;
}

} // namespace

RunLogWriter::RunLogWriter(QString databasePath, std::chrono::milliseconds budget, std::shared_ptr<RunFileProbe> probe)
    : m_databasePath(std::move(databasePath))
    , m_budget(budget)
    , m_probe(probe ? std::move(probe) : std::make_shared<ProcessingFileProbe>())
{
}

DbRows RunLogWriter::createcolums(const QStringList& columns, const QStringList& withDatatype)
{
    DbRows result;
    for (qsizetype i = 0; i < columns.size() && i < withDatatype.size(); ++i)
        result.append({ { QStringLiteral("column"), columns[i] }, { QStringLiteral("dataType"), withDatatype[i] } });
    return result;
}

bool RunLogWriter::createTable(SqliteDatabase& db, const DbRows& arrColumn, const QString& tableName) const
{
    // The names go into the statement text, as for DBManager::createTableWithColumns.
    return isPlainTable(tableName, arrColumn) && db.exec(createTableStatement(tableName, arrColumn));
}

bool RunLogWriter::createDbTable(SqliteDatabase& db, Attempt* attempt) const
{
    // The readers take the values by position and the inserts name every column: a table made
    // otherwise would refuse every run, or show them under the wrong headings, for good.
    const auto otherColumns = [attempt](const QString& table, const QStringList& found) {
        attempt->result = Result::Unusable;
        attempt->why = QStringLiteral("%1 has the columns %2").arg(table, found.join(QStringLiteral(", ")));
        std::tie(attempt->unusableBecause, attempt->asideWord) = kOtherColumns;
        return false;
    };
    const std::pair<QString, QStringList> tables[]
        = { { QStringLiteral("tblLogSummary"), kSummaryColumns }, { QStringLiteral("tblLogDetails"), kDetailColumns } };
    for (const auto& [table, columns] : tables) {
        QStringList found = columnNamesOf(db, table);
        if (found.isEmpty()) {
            if (!createTable(db, createcolums(columns, QStringList(columns.size(), QStringLiteral("TEXT"))), table))
                return false;
            found = columnNamesOf(db, table);
        }
        if (found != QStringList(QStringLiteral("id")) + columns)
            return otherColumns(table, found);
    }
    if (!db.exec(kCreateRunIds))
        return false;
    QStringList found = columnNamesOf(db, kRunIdsTable);
    if (found != QStringList(QStringLiteral("runId")))
        return otherColumns(kRunIdsTable, found);
    if (!db.exec(kCreateRunsSoFar))
        return false;
    found = columnNamesOf(db, kRunsSoFarTable);
    if (found != QStringList(QStringLiteral("runId")))
        return otherColumns(kRunsSoFarTable, found);
    if (!db.exec(kCreateRunRows) || !db.exec(kCreateRunRowsIndex))
        return false;
    found = columnNamesOf(db, kRunRowsTable);
    return found == kRunRowsColumns || otherColumns(kRunRowsTable, found);
}

bool RunLogWriter::removeRunSoFar(SqliteDatabase& db, const QString& runId, bool* removed) const
{
    *removed = false;
    SqliteStatement soFar(db, QStringLiteral("SELECT 1 FROM tblLogRunsSoFar WHERE runId = ?"));
    if (!soFar.isValid() || !soFar.bindText(1, runId))
        return false;
    const int marked = soFar.step();
    if (marked == SQLITE_DONE)
        return true;
    SqliteStatement rows(
        db, QStringLiteral("SELECT summaryId, firstDetailId, lastDetailId FROM tblLogRunRows WHERE runId = ?"));
    if (marked != SQLITE_ROW || !rows.isValid() || !rows.bindText(1, runId))
        return false;
    const int found = rows.step();
    if (found == SQLITE_ROW) {
        SqliteStatement summary(db, QStringLiteral("DELETE FROM tblLogSummary WHERE id = ?"));
        SqliteStatement details(db, QStringLiteral("DELETE FROM tblLogDetails WHERE id BETWEEN ? AND ?"));
        if (!summary.isValid() || !details.isValid() || !summary.bindInt64(1, rows.columnInt64(0))
            || summary.step() != SQLITE_DONE || !details.bindInt64(1, rows.columnInt64(1))
            || !details.bindInt64(2, rows.columnInt64(2)) || details.step() != SQLITE_DONE)
            return false;
    } else if (found != SQLITE_DONE) {
        return false;
    }
    for (const char* table : { "tblLogRunRows", "tblLogRunsSoFar" }) {
        SqliteStatement mark(db, QStringLiteral("DELETE FROM %1 WHERE runId = ?").arg(QLatin1String(table)));
        if (!mark.isValid() || !mark.bindText(1, runId) || mark.step() != SQLITE_DONE)
            return false;
    }
    *removed = true;
    return true;
}

bool RunLogWriter::insertRuns(
    SqliteDatabase& db, const QList<Run>& runs, const QString& soFarId, Attempt* attempt) const
{
    SqliteStatement known(db, QStringLiteral("SELECT 1 FROM tblLogRunIds WHERE runId = ?"));
    SqliteStatement identity(db, QStringLiteral("INSERT INTO tblLogRunIds(runId) VALUES (?)"));
    SqliteStatement summary(db, kInsertSummary);
    SqliteStatement detail(db, kInsertDetails);
    SqliteStatement where(db,
        QStringLiteral("INSERT INTO tblLogRunRows(runId, summaryId, firstDetailId, lastDetailId) VALUES (?, ?, ?, ?)"));
    if (!known.isValid() || !identity.isValid() || !summary.isValid() || !detail.isValid() || !where.isValid())
        return false;
    int detailIndex = 0;
    for (const Run& run : runs) {
        if (!known.bindText(1, run.id))
            return false;
        const int found = known.step();
        known.reset();
        if (found == SQLITE_ROW) {
            // Written before, whole (by another process, or by a write stopped before it tidied
            // up), or so far: then its rows give way to these.
            bool replaced = false;
            if (!removeRunSoFar(db, run.id, &replaced))
                return false;
            if (!replaced)
                continue;
        } else if (found != SQLITE_DONE || !identity.bindText(1, run.id) || identity.step() != SQLITE_DONE) {
            return false;
        }
        identity.reset();
        if (!bindRow(summary, kSummaryColumns, run.summary) || summary.step() != SQLITE_DONE)
            return false;
        summary.reset();
        const qint64 summaryId = sqlite3_last_insert_rowid(db.handle());
        qint64 firstDetailId = 0;
        qint64 lastDetailId = -1;
        for (const DbRow& row : run.details) {
            if (fault(FaultPoint::DetailRow, detailIndex++)) {
                attempt->why = QStringLiteral("detail row refused");
                return false;
            }
            if (!bindRow(detail, kDetailColumns, row) || detail.step() != SQLITE_DONE)
                return false;
            detail.reset();
            // The exclusive transaction keeps other writers out, so the run's keys follow each other.
            lastDetailId = sqlite3_last_insert_rowid(db.handle());
            if (firstDetailId == 0)
                firstDetailId = lastDetailId;
        }
        if (!where.bindText(1, run.id) || !where.bindInt64(2, summaryId) || !where.bindInt64(3, firstDetailId)
            || !where.bindInt64(4, lastDetailId) || where.step() != SQLITE_DONE)
            return false;
        where.reset();
        if (!soFarId.isEmpty() && run.id == soFarId) {
            SqliteStatement mark(db, QStringLiteral("INSERT INTO tblLogRunsSoFar(runId) VALUES (?)"));
            if (!mark.isValid() || !mark.bindText(1, run.id) || mark.step() != SQLITE_DONE)
                return false;
        }
        ++attempt->written;
    }
    return true;
}

RunLogWriter::Attempt RunLogWriter::writeAll(
    const Run& run, Clock::time_point deadline, RunLogPendingFile& pending, bool soFar) const
{
    Attempt attempt;
    // SQLite opens the journal files at their fixed names and follows what stands there: a link or
    // a FIFO in such a place would make a sound log look damaged, or hold the write. Set aside, it
    // costs nothing (a real journal is always a regular file and is left where it is).
    for (const char* companion : kCompanions) {
        if (*companion)
            OwnFile::setAsideIfNotAFile(m_databasePath + QLatin1String(companion));
    }
    // A file made here holds what every new log database holds, as if made at launch.
    const bool fresh = !QFileInfo::exists(m_databasePath) && !QFileInfo(m_databasePath).isSymLink();
    if (!fresh && QFileInfo(m_databasePath).isFile() && m_probe->isReadOnly(m_databasePath)) {
        attempt = { Result::Unusable, QStringLiteral("attempt to write a readonly database"), kReadOnly.first,
            kReadOnly.second, 0 };
        return attempt;
    }
    SqliteDatabase db;
    if (!db.open(m_databasePath, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE)) {
        attempt = { Result::Unusable, db.lastError(), kDamaged.first, kDamaged.second, 0 };
        return attempt;
    }
    sqlite3_busy_handler(db.handle(), &waitUntilDeadline, &deadline);
    const auto fail = [&] {
        if (attempt.why.isEmpty())
            attempt.why = db.lastError();
        switch (attempt.result == Result::Unusable ? SQLITE_OK : sqlite3_extended_errcode(db.handle()) & 0xff) {
        case SQLITE_READONLY:
            std::tie(attempt.unusableBecause, attempt.asideWord) = kReadOnly;
            break;
        case SQLITE_CORRUPT:
        case SQLITE_NOTADB:
        case SQLITE_CANTOPEN:
            std::tie(attempt.unusableBecause, attempt.asideWord) = kDamaged;
            break;
        default:
            break;
        }
        attempt.result = attempt.unusableBecause.isEmpty() ? Result::Failed : Result::Unusable;
        attempt.written = 0;
        rollback(db);
        pending.unlock(); // whoever waits for it next must not wait for this connection as well
        return attempt;
    };
    // The exclusive lock first: from here no other connection can make the write wait again, and
    // no other writer reads the pending file until this one has written or given up its runs.
    if (!db.exec(QStringLiteral("BEGIN EXCLUSIVE TRANSACTION")))
        return fail();
    if (fresh && (!db.exec(kCreateExcludeItems) || !db.exec(kCreateMasterPersonalVault)))
        return fail();
    if (!createDbTable(db, &attempt))
        return fail();
    if (!pending.lock(std::max(deadline, Clock::now() + kPendingLockWait), &attempt.why))
        return fail();
    if (!insertRuns(db, keptWith(pending, run), soFar ? run.id : QString(), &attempt))
        return fail();
    if (!db.exec(QStringLiteral("COMMIT TRANSACTION")))
        return fail();
    attempt.result = Result::Written;
    return attempt;
}

QString RunLogWriter::moveAside(const QString& word, QString* why) const
{
    if (!QFileInfo::exists(m_databasePath)) {
        *why = QStringLiteral("no database file to set aside");
        return {};
    }
    const QString aside = asidePath(m_databasePath, word);
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

QList<RunLogWriter::Run> RunLogWriter::pendingRuns() const
{
    RunLogPendingFile pending(m_databasePath);
    QString why;
    if (!pending.lock(Clock::now() + kPendingLockWait, &why))
        return {};
    return pending.runs();
}

RunLogWriter::Outcome RunLogWriter::write(Run run)
{
    const Clock::time_point deadline = Clock::now() + m_budget;
    if (run.id.isEmpty())
        run.id = QUuid::createUuid().toString(QUuid::WithoutBraces);
    RunLogPendingFile pending(m_databasePath);
    Outcome outcome;
    outcome.runId = run.id;

    Attempt attempt = writeAll(run, deadline, pending);
    if (attempt.result == Result::Unusable) {
        logLine(QStringLiteral("Log database %1 cannot be used: %2").arg(m_databasePath, attempt.why));
        QString moveError;
        outcome.movedAsideTo = moveAside(attempt.asideWord, &moveError);
        if (!outcome.movedAsideTo.isEmpty()) {
            outcome.movedAsideBecause = attempt.unusableBecause;
            logLine(QStringLiteral("Log database set aside as %1").arg(outcome.movedAsideTo));
            attempt = writeAll(run, deadline, pending);
        } else {
            logLine(QStringLiteral("Log database %1 could not be set aside: %2").arg(m_databasePath, moveError));
        }
    }
    if (attempt.result == Result::Written) {
        outcome.saved = true;
        outcome.runs = attempt.written;
        if (fault(FaultPoint::AfterCommit, 0))
            return outcome;
        // Every run read from the pending file is in the database now, written by this write or
        // before it; the lock has been held since the reading.
        QString why;
        if (!pending.save({}, &why))
            logLine(QStringLiteral("Pending log rows %1 could not be removed (%2); the database skips them")
                        .arg(pendingPath(), why));
    } else {
        outcome.failure = attempt.why;
        QString why;
        if (pending.lock(std::max(deadline, Clock::now() + kPendingLockWait), &why)) {
            const QList<Run> runs = keptWith(pending, run);
            outcome.kept = pending.save(runs, &why);
            outcome.runs = int(runs.size());
        }
        if (!outcome.kept) {
            outcome.failure += QStringLiteral("; the rows could not be kept either (%1)").arg(why);
            logLine(QStringLiteral("Log rows of a run lost: %1").arg(outcome.failure));
        } else {
            logLine(QStringLiteral("Log rows of %1 run(s) kept in %2 for the next run: %3")
                        .arg(outcome.runs)
                        .arg(pendingPath(), attempt.why));
        }
    }
    outcome.pendingSetAsideTo = pending.setAsideTo();
    outcome.pendingSetAsideBecause = pending.setAsideBecause();
    return outcome;
}

bool RunLogWriter::keepRunSoFar(const Run& run)
{
    if (run.id.isEmpty())
        return false;
    RunLogPendingFile pending(m_databasePath);
    const Attempt attempt = writeAll(run, Clock::now() + m_budget, pending, true);
    if (attempt.result != Result::Written) {
        logLine(QStringLiteral("Log rows of the run so far not written to %1: %2").arg(m_databasePath, attempt.why));
        return false;
    }
    // The waiting runs went in with it, as for a whole run.
    QString why;
    if (!pending.save({}, &why))
        logLine(QStringLiteral("Pending log rows %1 could not be removed (%2); the database skips them")
                    .arg(pendingPath(), why));
    return true;
}

} // namespace vantrel
