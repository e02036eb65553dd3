#pragma once

#include <QMap>
#include <QString>
#include <QStringList>

namespace vantrel {

class SqliteDatabase;
class SqliteStatement;

/// Helpers shared by the operations of DBManager; not part of its interface.
namespace dbsupport {

// The statements of the log database, as every file of it has been written.
inline const QString kCreateExcludeItems = QStringLiteral(
    "CREATE TABLE IF NOT EXISTS ExcludeItems(id INTEGER PRIMARY KEY AUTOINCREMENT, name TEXT,TypeId INTEGER)");
inline const QString kCreateMasterPersonalVault = QStringLiteral(
    "CREATE TABLE IF NOT EXISTS MasterPersonalVault (nId INTEGER PRIMARY KEY AUTOINCREMENT,Name VARCHAR,"
    "PlaceHolderText VARCHAR, PersonalInformationCategory INTEGER, Predefined INTEGER)");
inline const QString kInsertSummary = QStringLiteral(
    "insert into tblLogSummary(timeStamp,imagesSelected,imagesConverted, conversionFailed, oldSize, newSize, "
    "saveSpace, timeElapsed, totalOldSize ) values (?,?,?,?,?,?,?,?, ?)");
inline const QString kInsertDetails = QStringLiteral(
    "insert into tblLogDetails(timeStamp,inputFilename,outputFilename, information, oldSize, newSize, ratio, "
    "save ) values (?,?,?,?,?,?,?,?)");

/// Where each run's rows are, beside the log tables (whose columns stay as every reader expects
/// them): for the identity of a run, the key of its summary row and the keys of its first and last
/// detail rows (an empty run records 0 and -1). Two runs may carry the same stamp text; these keys
/// tell their rows apart. Runs written before this table existed have no row in it and are found
/// by their stamp.
inline const QString kRunRowsTable = QStringLiteral("tblLogRunRows");
inline const QStringList kRunRowsColumns = { "runId", "summaryId", "firstDetailId", "lastDetailId" };
inline const QString kCreateRunRows = QStringLiteral(
    "CREATE TABLE IF NOT EXISTS tblLogRunRows(runId TEXT PRIMARY KEY NOT NULL, summaryId INTEGER NOT NULL UNIQUE, "
    "firstDetailId INTEGER NOT NULL, lastDetailId INTEGER NOT NULL)");
inline const QString kCreateRunRowsIndex
    = QStringLiteral("CREATE INDEX IF NOT EXISTS tblLogRunRowsByFirstDetail ON tblLogRunRows(firstDetailId)");

// Column names in table order after "id"; the readers take the values by position.
inline const QStringList kSummaryColumns = { "timeStamp", "imagesSelected", "imagesConverted", "conversionFailed",
    "oldSize", "newSize", "saveSpace", "timeElapsed", "totalOldSize" };
inline const QStringList kDetailColumns
    = { "timeStamp", "inputFilename", "outputFilename", "information", "oldSize", "newSize", "ratio", "save" };

/// How long a statement keeps trying while another connection holds the file, and the pause
/// between tries: a write gives up after this long instead of waiting for as long as another
/// process holds the file, and instead of failing at the first busy answer.
inline constexpr int kBusyBudgetMs = 3000;
inline constexpr int kBusyPauseMs = 5;

/// "CREATE TABLE IF NOT EXISTS <table>(id INTEGER PRIMARY KEY AUTOINCREMENT, <column> <type>,...)"
/// from column descriptions ("column", "dataType"), with no blank after the commas between the
/// columns, as every log table has been made. The names are not checked here.
QString createTableStatement(const QString& tableName, const QList<QMap<QString, QString>>& columns);
/// A free name beside `path` for setting the file there aside: "<base> (<word> <date and
/// time>).<suffix>", e.g. "Vantrel (damaged 2026-12-07 19.02.03).db".
QString asidePath(const QString& path, const QString& word);
/// The current row of a "SELECT *" on a log table, keyed by `keys` (kSummaryColumns or
/// kDetailColumns); column 0, the key "id", is left out.
QMap<QString, QString> logRowOf(const SqliteStatement& query, const QStringList& keys);
/// Binds the values of `row` under `columns` to the parameters 1, 2, ... (a missing key binds "").
bool bindRow(SqliteStatement& statement, const QStringList& columns, const QMap<QString, QString>& row);
/// One line on standard error (which the application appends to its log file).
void logLine(const QString& line);
/// "db error: <message>" on standard output.
void printDbError(const SqliteDatabase& db);
/// Steps, re-stepping for at most kBusyBudgetMs while the engine answers busy or locked.
int stepWhileBusy(SqliteStatement& statement);
/// Ends an open transaction without keeping its changes; harmless when none is open.
void rollback(SqliteDatabase& db);
/// A table, column or type name that may be put into a statement text: letters, digits and
/// underscores, not starting with a digit.
bool isPlainIdentifier(const QString& name);
/// Whether createTableStatement may put this table into a statement text: a plain table name,
/// plain column names, and types of words with an optional size (e.g. "TEXT", "VARCHAR(20)").
bool isPlainTable(const QString& tableName, const QList<QMap<QString, QString>>& columns);
/// `text` as a LIKE pattern that matches only itself, for "LIKE ? ESCAPE '\'".
QString escapeLikePattern(const QString& text);
/// The column names of `table` in order (empty when the table is missing or not a plain name).
QStringList columnNamesOf(SqliteDatabase& db, const QString& table);

} // namespace dbsupport
} // namespace vantrel
