#include "platform/Sqlite.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <sqlite3.h>

using namespace vantrel;

TEST(Sqlite, BindsStepsAndReadsColumnsWithNullAsEmpty)
{
    QTemporaryDir dir;
    SqliteDatabase db;
    ASSERT_TRUE(db.open(dir.filePath("t.db"), SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE))
        << db.lastError().toStdString();
    ASSERT_TRUE(db.exec("CREATE TABLE t (a INTEGER, b INTEGER, c TEXT)"));

    SqliteStatement insert(db, "INSERT INTO t VALUES (?, ?, ?)");
    ASSERT_TRUE(insert.isValid());
    ASSERT_TRUE(insert.bindInt(1, 7));
    ASSERT_TRUE(insert.bindInt64(2, 5'000'000'000LL));
    ASSERT_TRUE(insert.bindText(3, QString::fromUtf8("dé'jà %_")));
    EXPECT_EQ(insert.step(), SQLITE_DONE);
    ASSERT_TRUE(insert.reset());
    EXPECT_EQ(insert.step(), SQLITE_DONE) << "bindings survive a reset";
    ASSERT_TRUE(db.exec("INSERT INTO t VALUES (NULL, NULL, NULL)"));

    SqliteStatement select(db, "SELECT a, b, c FROM t ORDER BY rowid");
    ASSERT_EQ(select.step(), SQLITE_ROW);
    EXPECT_EQ(select.columnInt(0), 7);
    EXPECT_EQ(select.columnInt64(1), 5'000'000'000LL);
    EXPECT_EQ(select.columnText(2), QString::fromUtf8("dé'jà %_"));
    ASSERT_EQ(select.step(), SQLITE_ROW);
    ASSERT_EQ(select.step(), SQLITE_ROW);
    EXPECT_EQ(select.columnInt(0), 0);
    EXPECT_FALSE(select.columnText(2).isNull());
    EXPECT_EQ(select.columnText(2), "");
    EXPECT_EQ(select.step(), SQLITE_DONE);
}

TEST(Sqlite, FailuresAreReportedNotThrown)
{
    QTemporaryDir dir;
    SqliteDatabase missing;
    EXPECT_FALSE(missing.open(dir.filePath("absent/x.db"), SQLITE_OPEN_READWRITE));
    EXPECT_FALSE(missing.isOpen());
    EXPECT_FALSE(missing.lastError().isEmpty());
    EXPECT_FALSE(missing.exec("SELECT 1"));

    SqliteDatabase db;
    ASSERT_TRUE(db.open(dir.filePath("t.db"), SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE));
    EXPECT_FALSE(db.exec("CREATE TABLE"));
    EXPECT_FALSE(db.lastError().isEmpty());
    SqliteStatement bad(db, "SELECT * FROM nowhere");
    EXPECT_FALSE(bad.isValid());
    EXPECT_FALSE(bad.bindInt(1, 1));
    EXPECT_EQ(bad.step(), SQLITE_MISUSE);
    EXPECT_EQ(bad.columnText(0), "");

    // Moving hands the handle over; the source no longer owns it.
    {
        SqliteStatement a(db, "SELECT 1");
        SqliteStatement b = std::move(a);
        EXPECT_FALSE(a.isValid());
        ASSERT_EQ(b.step(), SQLITE_ROW);
        EXPECT_EQ(b.columnInt(0), 1);
    }
    SqliteDatabase moved = std::move(db);
    EXPECT_FALSE(db.isOpen());
    EXPECT_TRUE(moved.isOpen());
    EXPECT_TRUE(moved.exec("SELECT 1"));
}

TEST(Sqlite, ReadOnlyConnectionRefusesWrites)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("t.db");
    {
        SqliteDatabase db;
        ASSERT_TRUE(db.open(path, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE));
        ASSERT_TRUE(db.exec("CREATE TABLE t (a)"));
    }
    SqliteDatabase ro;
    ASSERT_TRUE(ro.open(path, SQLITE_OPEN_READONLY));
    EXPECT_FALSE(ro.exec("INSERT INTO t VALUES (1)"));
    SqliteStatement count(ro, "SELECT count(*) FROM t");
    ASSERT_EQ(count.step(), SQLITE_ROW);
    EXPECT_EQ(count.columnInt(0), 0);
}
