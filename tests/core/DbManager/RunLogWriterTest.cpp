// The run's log under another connection's lock and with a damaged file: both rows of a run or
// neither, the rows kept for the next run, a damaged file set aside.
#include "core/DbManager/RunLogWriter.h"

#include <chrono>
#include <future>
#include <thread>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <sqlite3.h>

#include "core/DbManager/DbSupport.h"
#include "platform/Sqlite.h"

namespace vantrel {
namespace {

using namespace std::chrono_literals;

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

/// The run stamps of the summary rows in order, and the number of detail rows per stamp.
struct Stored {
    QStringList summaries;
    QMap<QString, int> details;
};

Stored storedIn(const QString& path)
{
    Stored stored;
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

/// The stored statements of the file's own tables, in the order they were made.
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

/// A second connection, on a thread of its own, that holds the file with BEGIN EXCLUSIVE from
/// construction until release() (or until `holdFor` has passed, when given).
class LockHolder {
public:
    LockHolder(const QString& path, std::optional<std::chrono::milliseconds> holdFor = std::nullopt)
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
    ~LockHolder()
    {
        release();
        m_thread.join();
    }
    bool locked() const { return m_locked; }
    void release()
    {
        if (!m_released.exchange(true))
            m_release.set_value();
    }

private:
    std::promise<void> m_release;
    std::atomic<bool> m_released = false;
    std::thread m_thread;
    bool m_locked = false;
};

class RunLogWriterTest : public ::testing::Test {
protected:
    QString dbPath() const { return m_dir.filePath("Vantrel.db"); }
    QTemporaryDir m_dir;
};

TEST_F(RunLogWriterTest, ALockWithinTheBudgetDelaysTheWriteAndBothRowsOfTheRunArrive)
{
    ASSERT_TRUE(RunLogWriter(dbPath()).write(runOf("first", 2)).saved);
    // A lock of 3 s against the application's budget of 10 s, scaled down tenfold.
    RunLogWriter writer(dbPath(), RunLogWriter::kDefaultBudget / 10);
    LockHolder holder(dbPath(), 300ms);
    ASSERT_TRUE(holder.locked());
    const RunLogWriter::Outcome outcome = writer.write(runOf("held", 13));

    EXPECT_TRUE(outcome.saved) << outcome.failure.toStdString();
    EXPECT_TRUE(outcome.movedAsideTo.isEmpty());
    const Stored stored = storedIn(dbPath());
    EXPECT_EQ(stored.summaries, QStringList({ "first", "held" }));
    EXPECT_EQ(stored.details.value("held"), 13);
    EXPECT_FALSE(QFileInfo::exists(writer.pendingPath()));
}

TEST_F(RunLogWriterTest, ALockLongerThanTheBudgetKeepsTheWholeRunForTheNextWrite)
{
    ASSERT_TRUE(RunLogWriter(dbPath()).write(runOf("first", 1)).saved);
    // The lock outlasts the budget (held until the write has given up: a 20 s lock, scaled).
    RunLogWriter writer(dbPath(), 200ms);
    {
        LockHolder holder(dbPath());
        ASSERT_TRUE(holder.locked());
        for (const char* stamp : { "lost once", "lost twice" }) {
            SCOPED_TRACE(stamp);
            const RunLogWriter::Outcome outcome = writer.write(runOf(stamp, 3));
            EXPECT_FALSE(outcome.saved);
            EXPECT_TRUE(outcome.kept);
            EXPECT_TRUE(outcome.movedAsideTo.isEmpty()) << "a locked file is not damaged";
            EXPECT_TRUE(outcome.failure.contains("locked")) << outcome.failure.toStdString();
        }
        EXPECT_EQ(writer.pendingRuns().size(), 2);
    }
    // Neither row of a run got in on its own.
    Stored stored = storedIn(dbPath());
    EXPECT_EQ(stored.summaries, QStringList({ "first" }));
    EXPECT_EQ(stored.details.size(), 1);

    // The next write brings the kept runs in first, in their order.
    const RunLogWriter::Outcome outcome = writer.write(runOf("next", 2));
    EXPECT_TRUE(outcome.saved);
    EXPECT_EQ(outcome.runs, 3);
    stored = storedIn(dbPath());
    EXPECT_EQ(stored.summaries, QStringList({ "first", "lost once", "lost twice", "next" }));
    EXPECT_EQ(stored.details.value("lost once"), 3);
    EXPECT_EQ(stored.details.value("lost twice"), 3);
    EXPECT_EQ(stored.details.value("next"), 2);
    EXPECT_FALSE(QFileInfo::exists(writer.pendingPath()));
}

TEST_F(RunLogWriterTest, ADamagedOrUnopenableDatabaseIsSetAsideOnceAndAFreshOneTakesTheRun)
{
    struct Case {
        const char* name;
        std::function<bool(const QString& path)> damage;
    };
    const Case cases[] = {
        { "not a database",
            [](const QString& path) {
                QFile file(path);
                return file.open(QIODevice::WriteOnly) && file.write(QByteArray(8192, 'x')) == 8192;
            } },
        { "damaged pages",
            [](const QString& path) {
                if (!RunLogWriter(path).write(runOf("old", 50)).saved)
                    return false;
                QFile file(path);
                if (!file.open(QIODevice::ReadWrite) || !file.seek(4096))
                    return false;
                return file.write(QByteArray(int(file.size()) - 4096, '\xA5')) > 0;
            } },
        { "a folder in its place", [](const QString& path) { return QDir().mkpath(path); } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir dir;
        const QString path = dir.filePath("Vantrel.db");
        ASSERT_TRUE(c.damage(path));
        const QFileInfo before(path);
        const bool wasFolder = before.isDir();
        const qint64 size = before.size();

        RunLogWriter writer(path, 200ms);
        RunLogWriter::Outcome outcome = writer.write(runOf("run", 4));
        EXPECT_TRUE(outcome.saved) << outcome.failure.toStdString();
        ASSERT_FALSE(outcome.movedAsideTo.isEmpty());
        EXPECT_TRUE(QFileInfo(outcome.movedAsideTo).fileName().startsWith("Vantrel (damaged "))
            << outcome.movedAsideTo.toStdString();
        EXPECT_EQ(QFileInfo(outcome.movedAsideTo).isDir(), wasFolder);
        if (!wasFolder)
            EXPECT_EQ(QFileInfo(outcome.movedAsideTo).size(), size) << "the old file is kept as it was";

        Stored stored = storedIn(path);
        EXPECT_EQ(stored.summaries, QStringList({ "run" }));
        EXPECT_EQ(stored.details.value("run"), 4);
        EXPECT_EQ(tablesOf(path),
            QStringList({ "CREATE TABLE ExcludeItems(id INTEGER PRIMARY KEY AUTOINCREMENT, name TEXT,TypeId INTEGER)",
                "CREATE TABLE MasterPersonalVault (nId INTEGER PRIMARY KEY AUTOINCREMENT,Name VARCHAR,PlaceHolderText "
                "VARCHAR, PersonalInformationCategory INTEGER, Predefined INTEGER)",
                "CREATE TABLE tblLogSummary(id INTEGER PRIMARY KEY AUTOINCREMENT, timeStamp TEXT,imagesSelected "
                "TEXT,imagesConverted TEXT,conversionFailed TEXT,oldSize TEXT,newSize TEXT,saveSpace TEXT,timeElapsed "
                "TEXT,totalOldSize TEXT)",
                "CREATE TABLE tblLogDetails(id INTEGER PRIMARY KEY AUTOINCREMENT, timeStamp TEXT,inputFilename "
                "TEXT,outputFilename TEXT,information TEXT,oldSize TEXT,newSize TEXT,ratio TEXT,save TEXT)" }))
            << "the fresh file is made as at launch";

        // Told once: the fresh file serves the next run without another move.
        outcome = writer.write(runOf("later", 1));
        EXPECT_TRUE(outcome.saved);
        EXPECT_TRUE(outcome.movedAsideTo.isEmpty());
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).size(), 2);
    }
}

} // namespace
} // namespace vantrel
