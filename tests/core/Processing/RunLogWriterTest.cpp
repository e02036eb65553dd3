// The run's log under another connection's lock, with a refused row and with an unusable file:
// all rows of a run or none, the rows kept for the next run, an unusable file set aside.
#include "core/Processing/RunLogWriter.h"

#include <chrono>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "core/DbManager/LogDatabaseFixtures.h"
#include "core/Processing/ProcessingFileProbe.h"

namespace vantrel::test {
namespace {

using namespace std::chrono_literals;
using Stored = StoredLog;

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
    QList<RunLogWriter::Run> lost;
    {
        LockHolder holder(dbPath());
        ASSERT_TRUE(holder.locked());
        for (const char* stamp : { "lost once", "lost twice" }) {
            SCOPED_TRACE(stamp);
            lost.append(runOf(stamp, 3));
            lost.last().id = QStringLiteral("identity of ") + stamp;
            const RunLogWriter::Outcome outcome = writer.write(lost.last());
            EXPECT_FALSE(outcome.saved);
            EXPECT_TRUE(outcome.kept);
            EXPECT_TRUE(outcome.movedAsideTo.isEmpty()) << "a locked file is not damaged";
            EXPECT_TRUE(outcome.failure.contains("locked")) << outcome.failure.toStdString();
        }
        QStringList kept;
        for (const RunLogWriter::Run& run : writer.pendingRuns())
            kept << run.id;
        EXPECT_EQ(kept, QStringList({ "identity of lost once", "identity of lost twice" })) << "kept as they were";
    }
    // Neither row of a run got in on its own.
    Stored stored = storedIn(dbPath());
    EXPECT_EQ(stored.summaries, QStringList({ "first" }));
    EXPECT_EQ(stored.details.size(), 1);

    // The next write brings the kept runs in first, in their order; a kept run written again is
    // the same run and arrives once.
    RunLogWriter::Outcome outcome = writer.write(lost.last());
    EXPECT_TRUE(outcome.saved);
    EXPECT_EQ(outcome.runs, 2);
    outcome = writer.write(runOf("next", 2));
    EXPECT_TRUE(outcome.saved);
    EXPECT_EQ(outcome.runs, 1);
    stored = storedIn(dbPath());
    EXPECT_EQ(stored.summaries, QStringList({ "first", "lost once", "lost twice", "next" }));
    EXPECT_EQ(stored.details.value("lost once"), 3);
    EXPECT_EQ(stored.details.value("lost twice"), 3);
    EXPECT_EQ(stored.details.value("next"), 2);
    EXPECT_FALSE(QFileInfo::exists(writer.pendingPath()));
}

/// The real file system, except that the file first seen at `path` (by device and inode) is
/// read-only, as it would be to a user who is not root.
class ReadOnlyFileProbe : public ProcessingFileProbe {
public:
    explicit ReadOnlyFileProbe(const QString& path)
        : m_identity(fileIdentity(path))
    {
    }
    bool isReadOnly(const QString& path) override
    {
        return (m_identity && fileIdentity(path) == m_identity) || ProcessingFileProbe::isReadOnly(path);
    }

private:
    std::optional<QString> m_identity;
};

TEST_F(RunLogWriterTest, AnUnusableDatabaseIsSetAsideOnceSayingWhatItWasAndAFreshOneTakesTheRun)
{
    struct Case {
        const char* name;
        std::function<bool(const QString& path)> damage;
        bool readOnly; // the file probe reports the file as read-only
        QString because;
        QString word; // in the new name
    };
    const Case cases[] = {
        { "not a database",
            [](const QString& path) {
                QFile file(path);
                return file.open(QIODevice::WriteOnly) && file.write(QByteArray(8192, 'x')) == 8192;
            },
            false, "was damaged", "damaged" },
        { "damaged pages",
            [](const QString& path) {
                if (!RunLogWriter(path).write(runOf("old", 50)).saved)
                    return false;
                QFile file(path);
                if (!file.open(QIODevice::ReadWrite) || !file.seek(4096))
                    return false;
                return file.write(QByteArray(int(file.size()) - 4096, '\xA5')) > 0;
            },
            false, "was damaged", "damaged" },
        { "a folder in its place", [](const QString& path) { return QDir().mkpath(path); }, false, "was damaged",
            "damaged" },
        { "read-only", [](const QString& path) { return RunLogWriter(path).write(runOf("old", 2)).saved; }, true,
            "was read-only", "read-only" },
        { "a detail table without a column",
            [](const QString& path) {
                return execOn(path,
                    "CREATE TABLE tblLogDetails(id INTEGER PRIMARY KEY AUTOINCREMENT, timeStamp TEXT,inputFilename "
                    "TEXT,outputFilename TEXT,information TEXT,oldSize TEXT,newSize TEXT,ratio TEXT)");
            },
            false, "had log tables with other columns", "other columns" },
        { "a summary table with its columns in another order",
            [](const QString& path) {
                return execOn(path,
                    "CREATE TABLE tblLogSummary(id INTEGER PRIMARY KEY AUTOINCREMENT, imagesSelected TEXT,timeStamp "
                    "TEXT,imagesConverted TEXT,conversionFailed TEXT,oldSize TEXT,newSize TEXT,saveSpace "
                    "TEXT,timeElapsed TEXT,totalOldSize TEXT)");
            },
            false, "had log tables with other columns", "other columns" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir dir;
        const QString path = dir.filePath("Vantrel.db");
        ASSERT_TRUE(c.damage(path));
        const QFileInfo before(path);
        const bool wasFolder = before.isDir();
        const qint64 size = before.size();

        RunLogWriter writer(path, 200ms, c.readOnly ? std::make_shared<ReadOnlyFileProbe>(path) : nullptr);
        RunLogWriter::Outcome outcome = writer.write(runOf("run", 4));
        EXPECT_TRUE(outcome.saved) << outcome.failure.toStdString();
        ASSERT_FALSE(outcome.movedAsideTo.isEmpty());
        EXPECT_EQ(outcome.movedAsideBecause, c.because);
        EXPECT_TRUE(QFileInfo(outcome.movedAsideTo).fileName().startsWith("Vantrel (" + c.word + " "))
            << outcome.movedAsideTo.toStdString();
        EXPECT_EQ(QFileInfo(outcome.movedAsideTo).isDir(), wasFolder);
        if (!wasFolder) {
            EXPECT_EQ(QFileInfo(outcome.movedAsideTo).size(), size) << "the old file is kept as it was";
        }

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
                "TEXT,outputFilename TEXT,information TEXT,oldSize TEXT,newSize TEXT,ratio TEXT,save TEXT)",
                "CREATE TABLE tblLogRunIds(runId TEXT PRIMARY KEY NOT NULL)",
                "CREATE TABLE tblLogRunsSoFar(runId TEXT PRIMARY KEY NOT NULL)",
                "CREATE TABLE tblLogRunRows(runId TEXT PRIMARY KEY NOT NULL, summaryId INTEGER NOT NULL UNIQUE, "
                "firstDetailId INTEGER NOT NULL, lastDetailId INTEGER NOT NULL)" }))
            << "the fresh file is made as at launch, with the log tables as they have always been";

        // Told once: the fresh file serves the next run without another move, and nothing waits.
        outcome = writer.write(runOf("later", 1));
        EXPECT_TRUE(outcome.saved);
        EXPECT_TRUE(outcome.movedAsideTo.isEmpty());
        EXPECT_EQ(storedIn(path).summaries, QStringList({ "run", "later" }));
        EXPECT_FALSE(QFileInfo::exists(writer.pendingPath()));
        EXPECT_EQ(QDir(dir.path()).entryList({ "Vantrel (*" }, QDir::AllEntries).size(), 1);
    }
}

TEST_F(RunLogWriterTest, ARowRefusedInTheMiddleOfAWriteLeavesNoneOfItsRunsAndTheRetryWritesThemOnce)
{
    // Row numbers count the detail rows of the write: the waiting run's 3 first, then the new run's 5.
    for (const int refused : { 0, 2, 3, 5, 7 }) {
        SCOPED_TRACE(refused);
        QTemporaryDir dir;
        const QString path = dir.filePath("Vantrel.db");
        ASSERT_TRUE(RunLogWriter(path).write(runOf("before", 2)).saved);
        {
            RunLogWriter busy(path, 50ms);
            LockHolder holder(path);
            ASSERT_FALSE(busy.write(runOf("waiting", 3)).saved);
        }

        RunLogWriter writer(path, 200ms);
        writer.setFaultHook([refused](RunLogWriter::FaultPoint point, int index) {
            return point == RunLogWriter::FaultPoint::DetailRow && index == refused;
        });
        RunLogWriter::Outcome outcome = writer.write(runOf("refused", 5));
        EXPECT_FALSE(outcome.saved);
        EXPECT_TRUE(outcome.kept);
        Stored stored = storedIn(path);
        EXPECT_EQ(stored.summaries, QStringList({ "before" })) << "no summary row without all of its details";
        EXPECT_EQ(stored.details, (QMap<QString, int> { { "before", 2 } }));
        EXPECT_EQ(writer.pendingRuns().size(), 2);

        writer.setFaultHook({});
        outcome = writer.write(runOf("after", 1));
        EXPECT_TRUE(outcome.saved);
        EXPECT_EQ(outcome.runs, 3);
        stored = storedIn(path);
        EXPECT_EQ(stored.summaries, QStringList({ "before", "waiting", "refused", "after" }));
        EXPECT_EQ(stored.details,
            (QMap<QString, int> { { "before", 2 }, { "waiting", 3 }, { "refused", 5 }, { "after", 1 } }));
        EXPECT_FALSE(QFileInfo::exists(writer.pendingPath()));
    }
}

} // namespace
} // namespace vantrel::test
