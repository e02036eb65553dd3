#include "core/DbManager/DBManager.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <sqlite3.h>

#include "LogDatabaseFixtures.h"
#include "platform/Sqlite.h"

using namespace vantrel;
using test::columnValues;
using test::execOn;

namespace {

class DBManagerGeneralTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_savedDataHome = qgetenv("XDG_DATA_HOME");
        qputenv("XDG_DATA_HOME", m_dir.path().toUtf8());
    }
    void TearDown() override { qputenv("XDG_DATA_HOME", m_savedDataHome); }
    QString logPath() const { return m_dir.path() + "/Vantrel/Vantrel.db"; }

    QTemporaryDir m_dir;
    QByteArray m_savedDataHome;
};

} // namespace

TEST_F(DBManagerGeneralTest, DeleteFromDatabaseBindsTheKeysAndRefusesOddNames)
{
    const QString path = m_dir.filePath("other.db");
    ASSERT_TRUE(execOn(path, "CREATE TABLE t(k TEXT); INSERT INTO t VALUES ('a'),('b''c'),('d'),('e')"));
    DBManager db;
    EXPECT_TRUE(db.deleteFromDatabase("t", path, { { { "k", "\na\r\n" } }, { { "k", "b'c" } } }, "k"));
    EXPECT_EQ(columnValues(path, "SELECT k FROM t ORDER BY k"), (QStringList { "d", "e" }));
    EXPECT_TRUE(db.deleteFromDatabase("t", path, {}, "k")) << "an empty list deletes nothing";
    EXPECT_FALSE(db.deleteFromDatabase("t; DROP TABLE t", path, { { { "k", "d" } } }, "k"));
    EXPECT_FALSE(db.deleteFromDatabase("t", path, { { { "k", "d" } } }, "k) OR (1=1"));
    EXPECT_FALSE(db.deleteFromDatabase("t", m_dir.filePath("absent.db"), { { { "k", "d" } } }, "k"));
    EXPECT_FALSE(QFile::exists(m_dir.filePath("absent.db"))) << "a given path is never created";
    EXPECT_EQ(columnValues(path, "SELECT k FROM t ORDER BY k"), (QStringList { "d", "e" }));
}

TEST_F(DBManagerGeneralTest, RunQueryLoadsKeysAndUpdatedFilesBindsTheHtml)
{
    const QString path = m_dir.filePath("notes.db");
    ASSERT_TRUE(execOn(path,
        "CREATE TABLE ZNOTEBODY(Z_PK INTEGER PRIMARY KEY, ZHTMLSTRING TEXT);"
        "INSERT INTO ZNOTEBODY VALUES (1, 'x'), (2, NULL)"));
    DBManager db;
    const DbRows rows = db.loadDataFromDB("SELECT Z_PK FROM ZNOTEBODY ORDER BY Z_PK", path);
    EXPECT_EQ(
        rows, (DbRows { { { "z_pk", "1" }, { "zHtmlString", "" } }, { { "z_pk", "2" }, { "zHtmlString", "" } } }));
    EXPECT_EQ(db.databasePath(), path);

    EXPECT_TRUE(db.updatedFiles("2", "<p>it's 100%</p>"));
    EXPECT_FALSE(db.updatedFiles("0", "zero"));
    EXPECT_FALSE(db.updatedFiles("1 OR 1=1", "all"));
    EXPECT_EQ(columnValues(path, "SELECT ZHTMLSTRING FROM ZNOTEBODY ORDER BY Z_PK"),
        (QStringList { "x", "<p>it's 100%</p>" }));

    db.runQuery("DELETE FROM ZNOTEBODY WHERE Z_PK = 1", true, path);
    EXPECT_TRUE(db.arrResults().isEmpty());
    EXPECT_EQ(columnValues(path, "SELECT Z_PK FROM ZNOTEBODY"), QStringList { "2" });
    EXPECT_TRUE(db.loadDataFromDB("SELECT 1", m_dir.filePath("absent.db")).isEmpty());
    EXPECT_FALSE(QFile::exists(m_dir.filePath("absent.db")));
}

TEST_F(DBManagerGeneralTest, VaultAndExcludeHelpersWorkOnTheLogDatabase)
{
    DBManager db;
    ASSERT_TRUE(execOn(logPath(),
        "INSERT INTO MasterPersonalVault(Name, PlaceHolderText, PersonalInformationCategory, Predefined) VALUES "
        "('Mail', 'you@example.org', 2, 1), ('Phone', NULL, 2, 0), ('Card', 'xxxx', 3, 1);"
        "INSERT INTO ExcludeItems(name, TypeId) VALUES ('o''k', 1), ('keep', 1);"
        "CREATE TABLE UserPersonalVault(id INTEGER PRIMARY KEY, Keyword TEXT);"
        "INSERT INTO UserPersonalVault(Keyword) VALUES ('Secret');"
        "CREATE TABLE Scanareas(path TEXT, kind TEXT);"
        "CREATE TABLE LogMaster(id INTEGER PRIMARY KEY, note TEXT)"));

    const DbRows category2 = db.getDataFromMPV(2);
    ASSERT_EQ(category2.size(), 2);
    EXPECT_EQ(category2[0].value("Name"), "Mail");
    EXPECT_EQ(category2[1].value("PlaceHolderText", "absent"), "");
    EXPECT_EQ(db.arrPersonalValut(), category2);
    EXPECT_EQ(db.FindPlaceholderTextFromid(3), "xxxx");
    EXPECT_EQ(db.FindPlaceholderTextFromid(99), "");

    EXPECT_TRUE(db.FindKeywordInUserPersonalValut("secret"));
    EXPECT_FALSE(db.FindKeywordInUserPersonalValut("other"));
    EXPECT_TRUE(db.deleteAllDetailFromUserPersonalVault());
    EXPECT_FALSE(db.FindKeywordInUserPersonalValut("secret"));

    EXPECT_TRUE(db.RemoveRecordFromExcludedItem("o'k"));
    EXPECT_EQ(columnValues(logPath(), "SELECT name FROM ExcludeItems"), QStringList { "keep" });

    EXPECT_TRUE(db.inserScanareas({ { "path", "/a'b" }, { "kind", "dir" } }));
    EXPECT_FALSE(db.inserScanareas({ { "path) VALUES ('x'); --", "v" } }));
    EXPECT_EQ(columnValues(logPath(), "SELECT path || '|' || kind FROM Scanareas"), QStringList { "/a'b|dir" });

    ASSERT_TRUE(execOn(logPath(), "INSERT INTO LogMaster(note) VALUES ('n1'), (NULL)"));
    EXPECT_EQ(db.getMasterLogs(), (DbRows { { { "id", "1" }, { "note", "n1" } }, { { "id", "2" }, { "note", "" } } }));
}

TEST_F(DBManagerGeneralTest, SeedCopyStaysInTheApplicationsOwnFolder)
{
    DBManager db("NoSuchSeed.db"); // no such resource: nothing is created, nothing breaks
    EXPECT_EQ(db.documentsDirectory(), m_dir.path() + "/Vantrel");
    EXPECT_EQ(db.databaseFilename(), "NoSuchSeed.db");
    EXPECT_FALSE(QFile::exists(db.documentsDirectory() + "/NoSuchSeed.db"));
    EXPECT_FALSE(QDir(db.documentsDirectory() + "/Google").exists());
    EXPECT_TRUE(db.excludedatabasePath().isEmpty()) << "the log database is not prepared by this initialiser";

    DBManager escaping("../outside.db");
    EXPECT_FALSE(QFile::exists(m_dir.filePath("outside.db")));
}
