// The run's log written by two processes at once, one of them killed on the way, and a pending
// file that is not the application's own: every run reaches the database exactly once.
#include "core/Processing/RunLogWriter.h"

#include <chrono>
#include <functional>
#include <future>
#include <optional>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "core/DbManager/LogDatabaseFixtures.h"

namespace vantrel::test {
namespace {

using namespace std::chrono_literals;

/// A log database of its own with one run written, in a folder that goes with it.
struct LogFolder {
    LogFolder() { written = RunLogWriter(db()).write(runOf("first", 1)).saved; }
    QString db() const { return dir.filePath("Vantrel.db"); }
    QString pending() const { return db() + ".pending"; }
    /// A run left waiting in the pending file by a write that met a locked database.
    bool keepWaitingRun() const
    {
        RunLogWriter writer(db(), 50ms);
        LockHolder holder(db());
        return holder.locked() && writer.write(runOf("waiting", 2)).kept;
    }
    QTemporaryDir dir;
    bool written = false;
};

/// The outcomes of two writers (standing in for two processes, each with its own connection and
/// its own lock of the pending file) that write at the same moment.
std::pair<RunLogWriter::Outcome, RunLogWriter::Outcome> writeTogether(
    RunLogWriter& one, const RunLogWriter::Run& a, RunLogWriter& other, const RunLogWriter::Run& b)
{
    std::promise<void> go;
    std::shared_future<void> started = go.get_future().share();
    auto first = std::async(std::launch::async, [&] {
        started.wait();
        return one.write(a);
    });
    auto second = std::async(std::launch::async, [&] {
        started.wait();
        return other.write(b);
    });
    go.set_value();
    return { first.get(), second.get() };
}

TEST(RunLogSharingTest, TwoProcessesWritingAtOnceWriteEveryRunExactlyOnce)
{
    struct Case {
        const char* name;
        std::chrono::milliseconds budget;
        std::optional<std::chrono::milliseconds> lockFor; // nothing: until both writes have given up
        bool saved;
    };
    const Case cases[] = {
        { "the database busy within the budget", RunLogWriter::kDefaultBudget, 400ms, true },
        { "the database busy past the budget", 200ms, std::nullopt, false },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const LogFolder folder;
        ASSERT_TRUE(folder.written && folder.keepWaitingRun());
        RunLogWriter one(folder.db(), c.budget);
        RunLogWriter other(folder.db(), c.budget);
        {
            LockHolder holder(folder.db(), c.lockFor);
            ASSERT_TRUE(holder.locked());
            const auto [a, b] = writeTogether(one, runOf("one", 3), other, runOf("other", 4));
            EXPECT_EQ(a.saved, c.saved);
            EXPECT_EQ(b.saved, c.saved);
            EXPECT_EQ(a.kept, !c.saved) << "a run that is not saved waits for the next write";
            EXPECT_EQ(b.kept, !c.saved);
        }
        if (!c.saved) {
            EXPECT_EQ(one.pendingRuns().size(), 3) << "neither write replaced the other's run";
            EXPECT_TRUE(one.write(runOf("next", 1)).saved);
        }

        StoredLog stored = storedIn(folder.db());
        stored.summaries.sort();
        QStringList expected = { "first", "one", "other", "waiting" };
        if (!c.saved)
            expected << "next";
        expected.sort();
        EXPECT_EQ(stored.summaries, expected) << "each run once";
        EXPECT_EQ(stored.details.value("waiting"), 2);
        EXPECT_EQ(stored.details.value("one"), 3);
        EXPECT_EQ(stored.details.value("other"), 4);
        EXPECT_FALSE(QFileInfo::exists(folder.pending()));
    }
}

TEST(RunLogSharingTest, AProcessKilledBetweenItsCommitAndTidyingUpHasItsRunsWrittenOnce)
{
    const LogFolder folder;
    ASSERT_TRUE(folder.written && folder.keepWaitingRun());
    RunLogWriter killed(folder.db());
    killed.setFaultHook(
        [](RunLogWriter::FaultPoint point, int) { return point == RunLogWriter::FaultPoint::AfterCommit; });
    ASSERT_TRUE(killed.write(runOf("killed", 2)).saved);
    ASSERT_EQ(killed.pendingRuns().size(), 1) << "the waiting run is still in the pending file";

    const RunLogWriter::Outcome outcome = RunLogWriter(folder.db()).write(runOf("next", 1));
    EXPECT_TRUE(outcome.saved);
    EXPECT_EQ(outcome.runs, 1) << "the waiting run is in the database already";
    const StoredLog stored = storedIn(folder.db());
    EXPECT_EQ(stored.summaries, QStringList({ "first", "waiting", "killed", "next" }));
    EXPECT_EQ(stored.details.value("waiting"), 2);
    EXPECT_FALSE(QFileInfo::exists(folder.pending()));
}

TEST(RunLogSharingTest, APendingFileThatIsNotTheApplicationsOwnIsSetAsideOnceNeverFollowedOrImported)
{
    const QByteArray foreignRuns = R"([{"id":"x","summary":{"timeStamp":"foreign"},"details":[]}])";
    struct Case {
        const char* name;
        bool link; // the pending path is a link to `target`, else a file holding `text`
        bool targetExists;
        QByteArray text;
        bool databaseLocked;
        QString because;
        QString word;
    };
    const Case cases[] = {
        { "a link to a file of runs", true, true, foreignRuns, false, "was a symbolic link", "link" },
        { "a link to a file of runs, the write failing", true, true, foreignRuns, true, "was a symbolic link", "link" },
        { "a link to nothing, the write failing", true, false, {}, true, "was a symbolic link", "link" },
        { "text that is not a list of runs", false, false, "not [runs", false, "was unreadable", "unreadable" },
        { "a list of something else, the write failing", false, false, "[1,2]", true, "was unreadable", "unreadable" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const LogFolder folder;
        ASSERT_TRUE(folder.written);
        QTemporaryDir elsewhere;
        const QString target = elsewhere.filePath("runs.json");
        if (c.targetExists) {
            QFile file(target);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(c.text) == c.text.size());
        }
        if (c.link) {
            ASSERT_TRUE(QFile::link(target, folder.pending()));
        } else {
            QFile file(folder.pending());
            ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(c.text) == c.text.size());
        }

        RunLogWriter writer(folder.db(), 200ms);
        RunLogWriter::Outcome outcome;
        {
            std::optional<LockHolder> holder;
            if (c.databaseLocked)
                holder.emplace(folder.db());
            outcome = writer.write(runOf("run", 2));
        }
        EXPECT_EQ(outcome.saved, !c.databaseLocked);
        EXPECT_EQ(outcome.kept, c.databaseLocked);
        EXPECT_EQ(outcome.pendingSetAsideBecause, c.because);
        const QFileInfo aside(outcome.pendingSetAsideTo);
        EXPECT_TRUE(aside.fileName().startsWith("Vantrel.db (" + c.word + " ")) << aside.fileName().toStdString();
        EXPECT_EQ(aside.isSymLink(), c.link);
        if (!c.link) {
            EXPECT_EQ(contentsOf(aside.filePath()), c.text) << "kept as it was";
        }
        EXPECT_EQ(contentsOf(target), c.targetExists ? std::optional(c.text) : std::nullopt)
            << "the link's target is untouched";

        // Only the run itself waits, in a file of the application's own; the next write says
        // nothing more about the file set aside.
        if (c.databaseLocked) {
            EXPECT_FALSE(QFileInfo(folder.pending()).isSymLink());
            EXPECT_EQ(writer.pendingRuns().size(), 1);
        }
        outcome = writer.write(runOf("next", 1));
        EXPECT_TRUE(outcome.saved);
        EXPECT_TRUE(outcome.pendingSetAsideTo.isEmpty());
        EXPECT_EQ(storedIn(folder.db()).summaries, QStringList({ "first", "run", "next" })) << "nothing foreign";
        EXPECT_EQ(contentsOf(target), c.targetExists ? std::optional(c.text) : std::nullopt);
    }
}

// Entries planted at the paths the log keeps beside the database are set aside or made anew,
// never written through, waited on, or taken for damage in the database itself.
TEST(RunLogSharingTest, WhatIsPlantedBesideTheLogIsNeitherWrittenThroughNorWaitedOn)
{
    QTemporaryDir elsewhere;
    const QString target = elsewhere.filePath("someone else's file");
    struct Case {
        const char* name;
        const char* at; // appended to the database's path
        std::function<bool(const QString& path)> plant;
        bool databaseLocked; // the run is then kept in the pending file
    };
    const Case cases[] = {
        { "a hard link to a file elsewhere", ".pending.new",
            [&](const QString& path) {
                return ::link(QFile::encodeName(target).constData(), QFile::encodeName(path).constData()) == 0;
            },
            true },
        { "a FIFO", ".pending.new",
            [](const QString& path) { return mkfifo(QFile::encodeName(path).constData(), 0600) == 0; }, true },
        { "a folder", ".pending.lock", [](const QString& path) { return QFile::remove(path) && QDir().mkpath(path); },
            false },
        { "a folder, the write failing", ".pending.lock",
            [](const QString& path) { return QFile::remove(path) && QDir().mkpath(path); }, true },
        { "a link to a file elsewhere", "-journal", [&](const QString& path) { return QFile::link(target, path); },
            false },
        { "a link to nothing", "-journal",
            [&](const QString& path) { return QFile::link(elsewhere.filePath("nothing"), path); }, false },
        { "a link to nothing", ".pending.lock",
            [&](const QString& path) {
                return QFile::remove(path) && QFile::link(elsewhere.filePath("nothing"), path);
            },
            false },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name + std::string(" at ") + c.at);
        const LogFolder folder;
        ASSERT_TRUE(folder.written);
        {
            QFile file(target);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write("kept\n") == 5);
        }
        const QString planted = folder.db() + QLatin1String(c.at);
        ASSERT_TRUE(c.plant(planted));
        // A reader on a FIFO, so that a writer that opens it anyway writes into it instead of
        // blocking the test.
        const int reader = ::open(QFile::encodeName(planted).constData(), O_RDONLY | O_NONBLOCK);

        RunLogWriter::Outcome outcome;
        {
            std::optional<LockHolder> holder;
            if (c.databaseLocked)
                holder.emplace(folder.db());
            outcome = RunLogWriter(folder.db(), 200ms).write(runOf("run", 2));
        }
        if (reader >= 0)
            ::close(reader);
        EXPECT_EQ(outcome.saved, !c.databaseLocked) << outcome.failure.toStdString();
        EXPECT_EQ(outcome.kept, c.databaseLocked) << outcome.failure.toStdString();
        EXPECT_TRUE(outcome.movedAsideTo.isEmpty()) << "a sound log is not set aside";
        EXPECT_EQ(contentsOf(target), QByteArray("kept\n")) << "nothing written through a link";
        EXPECT_FALSE(QFileInfo::exists(elsewhere.filePath("nothing"))) << "nothing made at a link's target";
        EXPECT_EQ(RunLogWriter(folder.db()).pendingRuns().size(), c.databaseLocked ? 1 : 0);
        // A temporary's place is simply made anew; the lock and the journal are set aside, once.
        const bool setAside = QLatin1String(c.at) != QLatin1String(".pending.new");
        EXPECT_EQ(QDir(folder.dir.path()).entryList({ "* (not a file *" }, QDir::AllEntries | QDir::System).size(),
            setAside ? 1 : 0);

        // The next write takes the kept run in, and the log holds its whole history.
        EXPECT_TRUE(RunLogWriter(folder.db()).write(runOf("next", 1)).saved);
        const StoredLog stored = storedIn(folder.db());
        EXPECT_EQ(stored.summaries, QStringList({ "first", "run", "next" }));
        EXPECT_EQ(stored.details.value("run"), 2);
        EXPECT_EQ(contentsOf(target), QByteArray("kept\n"));
    }
}

} // namespace
} // namespace vantrel::test
