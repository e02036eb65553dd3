#include "core/DbManager/DBManager.h"

#include <chrono>
#include <thread>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <sqlite3.h>

#include "LogDatabaseFixtures.h"
#include "platform/Sqlite.h"

using namespace vantrel;
using test::execOn;

namespace {

const QStringList kSummaryColumns = { "timeStamp", "imagesSelected", "imagesConverted", "conversionFailed", "oldSize",
    "newSize", "saveSpace", "timeElapsed", "totalOldSize" };
const QStringList kDetailColumns
    = { "timeStamp", "inputFilename", "outputFilename", "information", "oldSize", "newSize", "ratio", "save" };

DbRows textColumns(const QStringList& names)
{
    DbRows columns;
    for (const QString& name : names)
        columns.append({ { "column", name }, { "dataType", "TEXT" } });
    return columns;
}

DbRow summaryRow(const QString& stamp)
{
    DbRow row;
    for (const QString& column : kSummaryColumns)
        row.insert(column, column + " of " + stamp);
    row["timeStamp"] = stamp;
    return row;
}

DbRow detailRow(const QString& stamp, const QString& input)
{
    DbRow row;
    for (const QString& column : kDetailColumns)
        row.insert(column, column + " " + input);
    row["timeStamp"] = stamp;
    row["inputFilename"] = input;
    return row;
}

// What the batch run does at the end of a run.
void createLogTables(DBManager& db)
{
    if (!db.isTableExistsInDB("tblLogSummary"))
        db.createTableWithColumns("tblLogSummary", textColumns(kSummaryColumns));
    if (!db.isTableExistsInDB("tblLogDetails"))
        db.createTableWithColumns("tblLogDetails", textColumns(kDetailColumns));
}

// name -> stored SQL of every table that is not SQLite's own.
QMap<QString, QString> tablesOf(const QString& path)
{
    QMap<QString, QString> tables;
    SqliteDatabase db;
    if (!db.open(path, SQLITE_OPEN_READONLY))
        return tables;
    SqliteStatement query(db, "SELECT name, sql FROM sqlite_master WHERE type='table' AND name NOT LIKE 'sqlite_%'");
    while (query.step() == SQLITE_ROW)
        tables.insert(query.columnText(0), query.columnText(1));
    return tables;
}

QByteArray contentsOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Every test gets its own Application Support folder.
class DBManagerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_savedDataHome = qgetenv("XDG_DATA_HOME");
        qputenv("XDG_DATA_HOME", m_dir.path().toUtf8());
    }
    void TearDown() override { qputenv("XDG_DATA_HOME", m_savedDataHome); }
    QString supportFolder() const { return m_dir.path() + "/Vantrel"; }
    QString dbPath() const { return supportFolder() + "/Vantrel.db"; }

    QTemporaryDir m_dir;
    QByteArray m_savedDataHome;
};

} // namespace

TEST_F(DBManagerTest, NewFileHoldsOnlyTheStartupTablesAndTheLogTablesComeWithTheFirstRun)
{
    DBManager db;
    EXPECT_EQ(db.excludedatabasePath(), dbPath());
    const QMap<QString, QString> expected = {
        { "ExcludeItems", "CREATE TABLE ExcludeItems(id INTEGER PRIMARY KEY AUTOINCREMENT, name TEXT,TypeId INTEGER)" },
        { "MasterPersonalVault",
            "CREATE TABLE MasterPersonalVault (nId INTEGER PRIMARY KEY AUTOINCREMENT,Name VARCHAR,PlaceHolderText "
            "VARCHAR, PersonalInformationCategory INTEGER, Predefined INTEGER)" },
    };
    EXPECT_EQ(tablesOf(dbPath()), expected);
    EXPECT_FALSE(db.isTableExistsInDB("tblLogSummary"));
    EXPECT_TRUE(db.getAllLogSummaries().isEmpty()) << "the viewer opened before any run";
    EXPECT_TRUE(db.getAllLogDetailsWhereTimestamp("x").isEmpty());

    createLogTables(db);
    createLogTables(db); // a second run finds them and changes nothing
    QMap<QString, QString> afterRun = expected;
    afterRun["tblLogSummary"] = "CREATE TABLE tblLogSummary(id INTEGER PRIMARY KEY AUTOINCREMENT, timeStamp "
                                "TEXT,imagesSelected TEXT,imagesConverted TEXT,conversionFailed TEXT,oldSize "
                                "TEXT,newSize TEXT,saveSpace TEXT,timeElapsed TEXT,totalOldSize TEXT)";
    afterRun["tblLogDetails"] = "CREATE TABLE tblLogDetails(id INTEGER PRIMARY KEY AUTOINCREMENT, timeStamp "
                                "TEXT,inputFilename TEXT,outputFilename TEXT,information TEXT,oldSize TEXT,newSize "
                                "TEXT,ratio TEXT,save TEXT)";
    EXPECT_EQ(tablesOf(dbPath()), afterRun);
    EXPECT_TRUE(db.isTableExistsInDB("tblLogDetails"));

    // Names that are not plain identifiers never reach a statement.
    db.createTableWithColumns("evil(x);DROP TABLE ExcludeItems;--", textColumns({ "a" }));
    db.createTableWithColumns("t2", { { { "column", "a TEXT);DROP TABLE ExcludeItems;--" }, { "dataType", "TEXT" } } });
    EXPECT_EQ(tablesOf(dbPath()), afterRun);
}

TEST_F(DBManagerTest, AnExistingFileIsNeitherOpenedNorChanged)
{
    QDir().mkpath(supportFolder());
    const struct {
        const char* name;
        QByteArray bytes;
    } cases[] = { { "not a database", "plain text, not SQLite" }, { "empty file", "" } };
    for (const auto& c : cases) {
        QFile file(dbPath());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(c.bytes);
        file.close();
        DBManager db;
        EXPECT_EQ(contentsOf(dbPath()), c.bytes) << c.name;
        EXPECT_EQ(QDir(supportFolder()).entryList(QDir::Files), QStringList { "Vantrel.db" }) << c.name;
    }
    QFile::remove(dbPath());
    ASSERT_TRUE(execOn(dbPath(), "CREATE TABLE mine(a)"));
    const QByteArray before = contentsOf(dbPath());
    DBManager db;
    EXPECT_EQ(contentsOf(dbPath()), before);
    EXPECT_EQ(tablesOf(dbPath()).keys(), QStringList { "mine" });
}

TEST_F(DBManagerTest, RunRowsAreWrittenAndReadBackInOrder)
{
    DBManager db;
    createLogTables(db);
    const QString stamp = "12072026 08:24:5 AM";
    ASSERT_TRUE(db.InsertDetailInLogSummaryTable(summaryRow(stamp)));
    ASSERT_TRUE(db.InsertDetailInLogSummaryTable(summaryRow("12072026 09:00:0 AM")));
    const DbRows details = { detailRow(stamp, "/p/b.jpg"), detailRow(stamp, "/p/a.jpg"), detailRow(stamp, "/p/c.png") };
    ASSERT_TRUE(db.InsertDetailInLogDetailsTable(details));
    ASSERT_TRUE(db.InsertDetailInLogDetailsTable({ detailRow("12072026 09:00:0 AM", "/q/z.tif") }));
    EXPECT_TRUE(db.InsertDetailInLogDetailsTable({})) << "an empty run commits nothing and succeeds";

    EXPECT_EQ(db.getAllLogSummaries(), (DbRows { summaryRow(stamp), summaryRow("12072026 09:00:0 AM") }));
    EXPECT_EQ(db.getAllLogDetailsWhereTimestamp(stamp), details);
    EXPECT_EQ(db.getAllLogDetailsWhereTimestamp("12072026 08:24:5 am"), details) << "ASCII case is ignored";
    EXPECT_TRUE(db.getAllLogDetailsWhereTimestamp("12072026 08:24:5").isEmpty()) << "whole text, no prefix match";

    EXPECT_FALSE(db.InsertDetailInLogSummaryTable({})) << "no dictionary, no row";
    DbRow partial = { { "timeStamp", "partial" } };
    ASSERT_TRUE(db.InsertDetailInLogSummaryTable(partial));
    EXPECT_EQ(db.getAllLogSummaries().last().value("totalOldSize", "absent"), "") << "a missing value stores \"\"";
}

TEST_F(DBManagerTest, StampsWithQuotesAndWildcardsMatchOnlyThemselves)
{
    DBManager db;
    createLogTables(db);
    // Each stamp next to a decoy that a wildcard or a broken quote would also match.
    const struct {
        QString stamp;
        QString decoy;
    } cases[] = {
        { "O'Brien's run", "O'Brien's run2" },
        { "50% done", "50xx done" },
        { "a_b", "aXb" },
        { "%", "anything" },
        { "_", "z" },
        { "back\\slash", "back\\\\slash" },
        { "x' OR '1'='1", "y" },
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(db.InsertDetailInLogDetailsTable({ detailRow(c.stamp, "own"), detailRow(c.decoy, "decoy") }));
    }
    for (const auto& c : cases) {
        const DbRows rows = db.getAllLogDetailsWhereTimestamp(c.stamp);
        ASSERT_EQ(rows.size(), 1) << c.stamp.toStdString();
        EXPECT_EQ(rows[0].value("inputFilename"), "own") << c.stamp.toStdString();
        EXPECT_EQ(rows[0].value("timeStamp"), c.stamp);
    }
}

TEST_F(DBManagerTest, NullColumnsReadAsEmptyText)
{
    DBManager db;
    createLogTables(db);
    ASSERT_TRUE(execOn(dbPath(), "INSERT INTO tblLogSummary(timeStamp) VALUES (NULL)"));
    ASSERT_TRUE(execOn(dbPath(), "INSERT INTO tblLogDetails(timeStamp, ratio) VALUES ('s', NULL)"));
    const DbRows summaries = db.getAllLogSummaries();
    ASSERT_EQ(summaries.size(), 1);
    EXPECT_EQ(summaries[0].keys(), DbRow(summaryRow("")).keys());
    for (const QString& value : summaries[0]) {
        EXPECT_FALSE(value.isNull());
        EXPECT_EQ(value, "");
    }
    const DbRows details = db.getAllLogDetailsWhereTimestamp("s");
    ASSERT_EQ(details.size(), 1);
    EXPECT_EQ(details[0].value("ratio", "absent"), "");
    EXPECT_FALSE(details[0].value("ratio").isNull());
}

TEST_F(DBManagerTest, AFailureInsideTheTransactionLeavesTheFileUsable)
{
    DBManager db;
    createLogTables(db);
    ASSERT_TRUE(db.InsertDetailInLogSummaryTable(summaryRow("run")));

    // The insert cannot be prepared once the transaction has begun (no column "save").
    ASSERT_TRUE(execOn(dbPath(),
        "DROP TABLE tblLogDetails; CREATE TABLE tblLogDetails(id INTEGER PRIMARY KEY "
        "AUTOINCREMENT, timeStamp TEXT,inputFilename TEXT)"));
    EXPECT_FALSE(db.InsertDetailInLogDetailsTable({ detailRow("run", "/a.jpg") }));
    EXPECT_TRUE(execOn(dbPath(), "BEGIN EXCLUSIVE TRANSACTION; COMMIT")) << "the file must not stay locked";
    EXPECT_EQ(db.getAllLogSummaries().size(), 1) << "the summary row stays";

    // One row refused by the database: it is skipped, the others are committed, the answer is NO.
    ASSERT_TRUE(execOn(dbPath(), "DROP TABLE tblLogDetails"));
    createLogTables(db);
    ASSERT_TRUE(execOn(dbPath(),
        "CREATE TRIGGER refuse BEFORE INSERT ON tblLogDetails WHEN "
        "NEW.inputFilename = '/bad.jpg' BEGIN SELECT RAISE(ABORT, 'refused'); END"));
    EXPECT_FALSE(db.InsertDetailInLogDetailsTable(
        { detailRow("run", "/a.jpg"), detailRow("run", "/bad.jpg"), detailRow("run", "/c.jpg") }));
    EXPECT_EQ(
        db.getAllLogDetailsWhereTimestamp("run"), (DbRows { detailRow("run", "/a.jpg"), detailRow("run", "/c.jpg") }));

    // A later run writes normally.
    ASSERT_TRUE(execOn(dbPath(), "DROP TRIGGER refuse"));
    EXPECT_TRUE(db.InsertDetailInLogDetailsTable({ detailRow("later", "/d.jpg") }));
    EXPECT_EQ(db.getAllLogDetailsWhereTimestamp("later"), DbRows { detailRow("later", "/d.jpg") });
}

TEST_F(DBManagerTest, ReadOnlyOrLockedFileAnswersNoWithoutHanging)
{
    DBManager db;
    createLogTables(db);
    ASSERT_TRUE(db.InsertDetailInLogSummaryTable(summaryRow("before")));
    QElapsedTimer timer; // a sanity bound on a hang, not a speed measurement
    timer.start();

    db.setLogDatabaseOpenFlags(SQLITE_OPEN_READONLY);
    EXPECT_FALSE(db.InsertDetailInLogSummaryTable(summaryRow("ro")));
    EXPECT_FALSE(db.InsertDetailInLogDetailsTable({ detailRow("ro", "/a.jpg") }));
    db.createTableWithColumns("tblOther", textColumns({ "a" }));
    EXPECT_FALSE(db.isTableExistsInDB("tblOther"));
    EXPECT_EQ(db.getAllLogSummaries().size(), 1) << "reading still works";
    db.setLogDatabaseOpenFlags(SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);

    // Another connection holds the file exclusively: writers answer NO, readers return nothing.
    SqliteDatabase holder;
    ASSERT_TRUE(holder.open(dbPath(), SQLITE_OPEN_READWRITE));
    ASSERT_TRUE(holder.exec("BEGIN EXCLUSIVE TRANSACTION"));
    EXPECT_FALSE(db.InsertDetailInLogSummaryTable(summaryRow("locked")));
    EXPECT_FALSE(db.InsertDetailInLogDetailsTable({ detailRow("locked", "/a.jpg") }));
    EXPECT_TRUE(db.getAllLogSummaries().isEmpty());
    ASSERT_TRUE(holder.exec("COMMIT"));
    EXPECT_LT(timer.elapsed(), 30'000);

    EXPECT_TRUE(db.InsertDetailInLogDetailsTable({ detailRow("after", "/a.jpg") }));
    EXPECT_EQ(db.getAllLogSummaries().size(), 1);
}

TEST_F(DBManagerTest, RowsWaitForAConnectionThatHoldsTheFileForAMoment)
{
    DBManager db;
    createLogTables(db);
    for (const bool details : { false, true }) {
        SCOPED_TRACE(details ? "details" : "summary");
        SqliteDatabase holder;
        ASSERT_TRUE(holder.open(dbPath(), SQLITE_OPEN_READWRITE));
        ASSERT_TRUE(holder.exec("BEGIN EXCLUSIVE TRANSACTION"));
        std::thread release([&holder] {
            std::this_thread::sleep_for(std::chrono::milliseconds(400));
            holder.exec("COMMIT");
        });
        const bool written = details ? db.InsertDetailInLogDetailsTable({ detailRow("held", "/a.jpg") })
                                     : db.InsertDetailInLogSummaryTable(summaryRow("held"));
        release.join();
        EXPECT_TRUE(written);
    }
    EXPECT_EQ(db.getAllLogSummaries().size(), 1);
    EXPECT_EQ(db.getAllLogDetailsWhereTimestamp("held").size(), 1);
}

TEST_F(DBManagerTest, WithoutApplicationSupportFolderEveryOperationAnswersNoOrEmpty)
{
    QFile blocker(m_dir.filePath("file"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    qputenv("XDG_DATA_HOME", m_dir.filePath("file/data").toUtf8()); // below a plain file: cannot be made

    DBManager db;
    EXPECT_TRUE(db.excludedatabasePath().isEmpty());
    createLogTables(db);
    EXPECT_FALSE(db.isTableExistsInDB("tblLogSummary"));
    EXPECT_FALSE(db.InsertDetailInLogSummaryTable(summaryRow("s")));
    EXPECT_FALSE(db.InsertDetailInLogDetailsTable({ detailRow("s", "/a.jpg") }));
    EXPECT_TRUE(db.getAllLogSummaries().isEmpty());
    EXPECT_TRUE(db.getAllLogDetailsWhereTimestamp("s").isEmpty());
    EXPECT_TRUE(db.getDataFromMPV(1).isEmpty());
    EXPECT_EQ(db.FindPlaceholderTextFromid(1), "");
    EXPECT_FALSE(db.FindKeywordInUserPersonalValut("k"));
    EXPECT_FALSE(db.RemoveRecordFromExcludedItem("n"));
    EXPECT_FALSE(db.deleteAllDetailFromUserPersonalVault());
    EXPECT_FALSE(db.inserScanareas({ { "a", "1" } }));
    EXPECT_TRUE(db.getMasterLogs().isEmpty());

    DBManager general("Seed.db");
    EXPECT_TRUE(general.documentsDirectory().isEmpty());
    EXPECT_TRUE(QDir(m_dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries) == QStringList { "file" });
}
