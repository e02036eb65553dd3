// The log redirect: a path that cannot be opened keeps the old stream; one that can is appended to.
// A library's recurring warning is said once per run, and no line of the log is empty.
#include <cstdio>
#include <functional>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <glib.h>
#include <gtest/gtest.h>

#include "app/StandardErrorLog.h"
#include "platform/Paths.h"
#include "platform/imaging/VipsInclude.h"
#include "support/TestImages.h"

namespace vantrel {
namespace {

std::pair<dev_t, ino_t> stderrIdentity()
{
    struct stat st { };
    fstat(STDERR_FILENO, &st);
    return { st.st_dev, st.st_ino };
}

/// Restores descriptor 2 when the test ends, whatever it did.
struct StderrGuard {
    int saved = dup(STDERR_FILENO);
    ~StderrGuard()
    {
        std::fflush(stderr);
        dup2(saved, STDERR_FILENO);
        close(saved);
    }
};

TEST(StandardErrorLogTest, AFailingPathKeepsTheOldStreamAndAGoodOneIsAppendedTo)
{
    StderrGuard guard;
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString blocker = dir.filePath("file");
    QFile f(blocker);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();

    const auto before = stderrIdentity();
    for (const QString& bad : { QString(), blocker + "/Vantrel/Vantrel.log" })
        EXPECT_FALSE(StandardErrorLog::redirectTo(bad)) << bad.toStdString();
    EXPECT_EQ(stderrIdentity(), before);

    const QString log = dir.filePath("state/Vantrel/" + QLatin1String(Paths::kLogFileName));
    ASSERT_TRUE(StandardErrorLog::redirectTo(log)); // creates the folder
    StandardErrorLog::writeStartLine("Vantrel", "9.9");
    ASSERT_TRUE(StandardErrorLog::redirectTo(log));
    std::fputs("second\n", stderr);
    std::fflush(stderr);

    QFile written(log);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(written.readAll()).split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 2);
    EXPECT_TRUE(QRegularExpression(R"(^\d{4}-\d\d-\d\d \d\d:\d\d:\d\d\.\d{3} Vantrel\[\d+\] started, version 9\.9$)")
                    .match(lines[0])
                    .hasMatch())
        << lines[0].toStdString();
    EXPECT_EQ(lines[1], "second");
}

// What stands at the log's path and is not a regular file of its own is set aside, once, saying
// so, and the log goes on in a file of its own: start-up never waits on a FIFO there, and nothing
// is written through a link, symbolic or hard.
TEST(StandardErrorLogTest, AnythingButAFileAtTheLogPathIsSetAsideAndTheLogGoesOn)
{
    QTemporaryDir elsewhere;
    const QString target = elsewhere.filePath("someone else's file");
    struct Case {
        const char* name;
        std::function<bool(const QString& log)> plant;
        mode_t type;
    };
    const Case cases[] = {
        { "a FIFO", [](const QString& log) { return mkfifo(QFile::encodeName(log).constData(), 0600) == 0; }, S_IFIFO },
        { "a link to a file elsewhere", [&](const QString& log) { return QFile::link(target, log); }, S_IFLNK },
        { "a hard link to a file elsewhere",
            [&](const QString& log) {
                return ::link(QFile::encodeName(target).constData(), QFile::encodeName(log).constData()) == 0;
            },
            S_IFREG },
        { "a folder", [](const QString& log) { return QDir().mkpath(log); }, S_IFDIR },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir dir;
        const QString log = dir.filePath(QLatin1String(Paths::kLogFileName));
        {
            QFile file(target);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write("kept\n") == 5);
        }
        ASSERT_TRUE(c.plant(log));
        // A reader on the FIFO, so that a redirect that opens it anyway goes on instead of
        // blocking the test; it then writes into the FIFO, which the checks below see.
        const int reader = open(QFile::encodeName(log).constData(), O_RDONLY | O_NONBLOCK);
        {
            StderrGuard guard;
            ASSERT_TRUE(StandardErrorLog::redirectTo(log));
            std::fputs("after\n", stderr);
            std::fflush(stderr);
        }
        if (reader >= 0)
            close(reader);

        struct stat st { };
        ASSERT_EQ(lstat(QFile::encodeName(log).constData(), &st), 0);
        EXPECT_TRUE(S_ISREG(st.st_mode)) << "the log is a file of its own";
        QFile kept(target);
        ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
        EXPECT_EQ(kept.readAll(), "kept\n") << "nothing written through the link";
        if (!S_ISREG(st.st_mode))
            continue; // reading a FIFO would wait for a writer
        QFile written(log);
        ASSERT_TRUE(written.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(written.readAll());
        EXPECT_TRUE(text.endsWith("after\n")) << text.toStdString();
        EXPECT_EQ(text.count(" set aside as "), 1) << text.toStdString();
        const QStringList aside
            = QDir(dir.path()).entryList({ "Vantrel (not a file *).log" }, QDir::AllEntries | QDir::System);
        ASSERT_EQ(aside.size(), 1);
        ASSERT_EQ(lstat(QFile::encodeName(dir.filePath(aside[0])).constData(), &st), 0);
        EXPECT_EQ(st.st_mode & S_IFMT, c.type) << "set aside as it was";
    }
}

/// Standard error appended to a log file of the test's own, Qt's and the libraries' messages routed
/// there; all put back when it ends.
struct HandledLog {
    explicit HandledLog(const char* name)
        : path(dir.filePath(name))
        , redirected(StandardErrorLog::redirectTo(path))
    {
        StandardErrorLog::installMessageHandler();
    }
    ~HandledLog()
    {
        qInstallMessageHandler(nullptr);
        g_log_set_default_handler(g_log_default_handler, nullptr);
    }
    QString text() const
    {
        QFile written(path);
        return written.open(QIODevice::ReadOnly) ? QString::fromUtf8(written.readAll()) : QString();
    }

    StderrGuard guard;
    QTemporaryDir dir;
    QString path;
    bool redirected;
};

TEST(StandardErrorLogTest, QtMessagesStartWithTheDate)
{
    HandledLog log("qt.log");
    ASSERT_TRUE(log.redirected);
    qWarning("from Qt");

    const QString text = log.text();
    const QString today = StandardErrorLog::datePrefix(QDateTime::currentDateTime()).left(10);
    EXPECT_TRUE(text.startsWith(today)) << text.toStdString();
    EXPECT_TRUE(text.endsWith("warning: from Qt\n")) << text.toStdString();
}

TEST(StandardErrorLogTest, ALibraryWarningIsSaidOncePerRunAndNoLineIsEmpty)
{
    HandledLog log("library.log");
    ASSERT_TRUE(log.redirected);
    StandardErrorLog::beginRun();
    const QTemporaryDir& dir = log.dir;

    // Photos whose EXIF resolution unit libvips does not know: it warns about each one it reads.
    QStringList photos;
    for (int i = 0; i < 3; ++i) {
        const QString path = dir.filePath(QStringLiteral("unit%1.jpg").arg(i));
        ASSERT_TRUE(testimages::writePattern(path, 32, 24));
        ASSERT_TRUE(testimages::setMetadata(
            path, { { "Exif.Image.ResolutionUnit", "7" }, { "Exif.Image.XResolution", "300/1" } }));
        photos << path;
    }
    const auto readAll = [&] {
        for (const QString& path : photos)
            vips::VImage::new_from_file(path.toUtf8().constData()).xres();
    };

    const struct {
        const char* step;
        std::function<void()> act;
    } steps[] = {
        { "three photos read", readAll },
        { "the same photos read again on four threads",
            [&] {
                std::vector<std::thread> threads;
                for (int t = 0; t < 4; ++t)
                    threads.emplace_back(readAll);
                for (std::thread& thread : threads)
                    thread.join();
            } },
        { "a library message with empty lines", [] { g_log("VIPS", G_LOG_LEVEL_WARNING, "\nfirst\n\nsecond\n"); } },
        { "an empty library message", [] { g_log("GLib", G_LOG_LEVEL_WARNING, "%s", ""); } },
        { "an empty Qt message", [] { qWarning("%s", ""); } },
        { "a Qt message ending in empty lines", [] { qWarning("from Qt\n\n"); } },
        { "a new run", [] { StandardErrorLog::beginRun(); } },
        { "the photos read in the new run", readAll },
    };
    for (const auto& step : steps)
        step.act();

    QStringList lines = log.text().split('\n');
    ASSERT_FALSE(lines.isEmpty());
    EXPECT_TRUE(lines.takeLast().isEmpty()) << "the log does not end with a line end";
    for (const QString& line : lines)
        EXPECT_FALSE(line.trimmed().isEmpty()) << "an empty line in:\n" << lines.join('\n').toStdString();
    const QRegularExpression dated(R"(^\d{4}-\d\d-\d\d \d\d:\d\d:\d\d\.\d{3} )");
    const QStringList unitWarnings = lines.filter("unknown EXIF resolution unit");
    ASSERT_EQ(unitWarnings.size(), 2) << "once in each run:\n" << lines.join('\n').toStdString();
    for (const QString& line : unitWarnings) {
        EXPECT_TRUE(dated.match(line).hasMatch()) << line.toStdString();
        EXPECT_TRUE(line.endsWith("warning: VIPS: unknown EXIF resolution unit")) << line.toStdString();
    }
    EXPECT_EQ(lines.filter("first").size(), 1);
    EXPECT_EQ(lines.filter(QRegularExpression("^second$")).size(), 1) << lines.join('\n').toStdString();
    EXPECT_EQ(lines.filter("warning: from Qt").size(), 1);
}

} // namespace
} // namespace vantrel
