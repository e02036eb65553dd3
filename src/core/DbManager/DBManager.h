#pragma once

#include <array>
#include <functional>

#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

namespace vantrel {

class SqliteDatabase;

/// One row as it crosses this interface: column name to text (a NULL column reads as "").
using DbRow = QMap<QString, QString>;
using DbRows = QList<DbRow>;

/// The only gateway to the log database "Vantrel.db" in the Application Support folder: one
/// summary row per batch run (tblLogSummary) and one detail row per photo (tblLogDetails), joined
/// by their timeStamp text; the viewer tells runs of the same stamp apart by the keys RunLogWriter
/// records for each run (tblLogRunRows). Everything is stored and returned as text.
///
/// Threads: every operation runs on the main thread; the class holds no lock.
/// The batch run calls none of the log operations below: a finished run's rows are written by
/// RunLogWriter, off the main thread, into the same file, with the same statements
/// (createTableWithColumns's table text, InsertDetailInLogSummaryTable's and
/// InsertDetailInLogDetailsTable's inserts) inside its one transaction, where its own table step
/// (createDbTable) stands in for isTableExistsInDB and createTableWithColumns. Of this class the
/// run uses only excludedatabasePath(), the file's path.
/// Connections: each operation opens its own connection and closes it, with every statement,
/// before it returns, whatever path it takes. No database failure reaches the user: writers answer
/// false, readers return what they gathered, and one line goes to standard error.
/// Values are always bound; only table and column names (checked to be plain identifiers) are
/// formatted into statement texts.
class DBManager {
public:
    static inline const QString kDatabaseFileName = QStringLiteral("Vantrel.db");

    /// Plain initialisation followed by initDatabase().
    DBManager();
    /// Initialises for the general-purpose operations: documentsDirectory() is the Application
    /// Support folder, databaseFilename() the argument; then copyDatabaseIntoDocumentsDirectory().
    /// The log database is not prepared (call initDatabase() for that).
    explicit DBManager(const QString& databaseFilename);
    ~DBManager();
    DBManager(const DBManager&) = delete;
    DBManager& operator=(const DBManager&) = delete;

    // ---- The log database ----

    /// Stores the path of "Vantrel.db"; only when no file is there, creates it with the tables
    /// ExcludeItems and MasterPersonalVault. An existing file is never opened.
    void initDatabase();
    /// Whether `tableName` is a table of the log database (names compared ignoring case).
    bool isTableExistsInDB(const QString& tableName);
    /// CREATE TABLE IF NOT EXISTS `tableName` with an integer key "id" and the columns in order;
    /// each entry holds "column" (the name) and "dataType" (its type, e.g. "TEXT").
    void createTableWithColumns(const QString& tableName, const DbRows& arrColumn);
    /// One tblLogSummary row from the values under its nine column names (a missing key stores "").
    /// An empty dictionary answers false.
    bool InsertDetailInLogSummaryTable(const DbRow& dict);
    /// The detail rows of a run, in order, inside one exclusive transaction. A row that fails is
    /// skipped and the others are committed; the answer is true only when every row was written
    /// and committed. Any failure after the transaction began rolls it back or commits what was
    /// written; the file is never left locked.
    bool InsertDetailInLogDetailsTable(const DbRows& rows);
    /// Every tblLogSummary row in storage (ascending id) order, keyed by column name.
    DbRows getAllLogSummaries();
    /// The tblLogDetails rows whose timeStamp matches `stamp` ignoring ASCII case; "%" and "_"
    /// in the stamp are literal characters.
    DbRows getAllLogDetailsWhereTimestamp(const QString& stamp);

    // ---- The log viewer's reads ----
    // They run on the main thread while the window waits, so they never wait long for another
    // connection (another copy of the application writing its run): after kViewerBusyTimeoutMs
    // they answer Busy instead. The file is opened read-only and never created.

    static constexpr int kViewerBusyTimeoutMs = 300;
    enum class LogReadStatus { Read, Busy, Failed };

    /// Every tblLogSummary row, as getAllLogSummaries() returns them, into `rows`, and the key
    /// "id" of each into `summaryIds` when given (both left empty unless Read).
    LogReadStatus readLogSummaries(DbRows& rows, QList<qint64>* summaryIds = nullptr) const;

    /// The eight column texts of one tblLogDetails row, in table order ("timeStamp" first).
    using LogDetailValues = std::array<QString, 8>;
    using LogDetailVisitor = std::function<void(qint64 id, const LogDetailValues& values)>;
    struct LogPage {
        LogReadStatus status = LogReadStatus::Failed;
        int rows = 0; ///< rows visited
    };
    /// One page of the detail rows of the run whose summary row has the key `summaryId`, for readers
    /// that must not hold a run as one list: its rows whose key "id" is above `afterId`, in key
    /// order, at most `limit`, each handed to `visit` as it is read. The run's rows are those its
    /// writer recorded for it, so that two runs of the same stamp each show their own. A run
    /// written before runs were recorded has its rows matched by its `stamp` as
    /// getAllLogDetailsWhereTimestamp matches them, leaving out the rows of recorded runs.
    LogPage readLogDetailsOfRun(
        qint64 summaryId, const QString& stamp, qint64 afterId, int limit, const LogDetailVisitor& visit) const;
    /// The key of the summary row of the run written under the identity `runId`, into
    /// `summaryId`; 0 when no run of that identity is recorded (the answer is still Read).
    LogReadStatus readSummaryIdOfRun(const QString& runId, qint64& summaryId) const;

    // ---- General-purpose operations (no part of the application calls them) ----

    /// Copies the resource named databaseFilename() into the application's own data folder when
    /// nothing is there yet.
    void copyDatabaseIntoDocumentsDirectory();
    /// Opens `databasePath` (never creating it), replaces arrResults() and runs `query`. A query
    /// that is not executable appends per row {"z_pk": column 0, "zHtmlString": ""}; an
    /// executable one is stepped to its end.
    void runQuery(const QString& query, bool isQueryExecutable, const QString& databasePath);
    DbRows loadDataFromDB(const QString& query, const QString& strDbPath);
    /// On databasePath(): stores `html` as ZHTMLSTRING of the ZNOTEBODY row whose Z_PK is `key`,
    /// when the key is an integer of at least 1.
    bool updatedFiles(const QString& key, const QString& html);
    /// Does nothing.
    void executeQuery(const QString& query);
    /// MasterPersonalVault rows of a PersonalInformationCategory; they also become arrPersonalValut().
    DbRows getDataFromMPV(int category);
    /// The PlaceHolderText of the MasterPersonalVault row `nId`, "" when there is none.
    QString FindPlaceholderTextFromid(int nId);
    /// Whether any UserPersonalVault row holds `keyword` in one of its columns.
    bool FindKeywordInUserPersonalValut(const QString& keyword);
    /// Deletes the ExcludeItems rows named `name`.
    bool RemoveRecordFromExcludedItem(const QString& name);
    bool deleteAllDetailFromUserPersonalVault();
    /// Inserts one Scanareas row from column name to value.
    bool inserScanareas(const DbRow& values);
    /// Every LogMaster row, keyed by column name.
    DbRows getMasterLogs();
    /// Opens `dbpath` read-write (never creating it) and deletes from `table` the rows whose
    /// `forPkey` column is one of the values under `forPkey` in `resultArr` (line breaks trimmed).
    bool deleteFromDatabase(
        const QString& table, const QString& dbpath, const DbRows& resultArr, const QString& forPkey);

    // ---- Fields ----

    QString excludedatabasePath() const { return m_excludedatabasePath; }
    QString databasePath() const { return m_databasePath; }
    QString documentsDirectory() const { return m_documentsDirectory; }
    QString databaseFilename() const { return m_databaseFilename; }
    DbRows arrResults() const { return m_arrResults; }
    DbRows arrPersonalValut() const { return m_arrPersonalValut; }

    QStringList arrColumnNames;
    QStringList arrType;
    QStringList arrPlaceholderText;
    qint32 affectedRows = 0;
    qint64 lastInsertedRowID = 0;

    /// Open flags of every log-database connection (SQLite flags; read-write and create unless a
    /// test replaces them, e.g. to open read-only).
    void setLogDatabaseOpenFlags(int flags) { m_logOpenFlags = flags; }
    int logDatabaseOpenFlags() const { return m_logOpenFlags; }

private:
    bool openLogDatabase(SqliteDatabase& db) const;
    DbRows selectLogRows(const QString& sql, const QStringList& keys, const QString& boundValue, bool bind);
    DbRows selectAllRows(const QString& path, const QString& table);

    int m_logOpenFlags;
    QString m_excludedatabasePath;
    QString m_databasePath;
    QString m_documentsDirectory;
    QString m_databaseFilename;
    DbRows m_arrResults;
    DbRows m_arrPersonalValut;
};

} // namespace vantrel
