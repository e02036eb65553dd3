#include "platform/Defaults.h"

#include <atomic>
#include <chrono>
#include <functional>
#include <thread>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace vantrel;

TEST(Defaults, WritesAreOnDiskAtOnceAndRegisteredDefaultsAnswerForAbsentKeys)
{
    Defaults& d = Defaults::standard();
    d.registerDefaults({ { "phonenumber", "(555) 010-0199" } });
    EXPECT_FALSE(d.contains("phonenumber"));
    EXPECT_EQ(d.stringForKey("phonenumber"), "(555) 010-0199");

    d.setObject("isFirstTime", "yes");
    d.setObject("PROJECT_SESSION", QByteArray("\x01\x02\x00\x03", 4));
    // Another reader of the same file sees the values: each write was synced.
    QSettings other(QSettings::NativeFormat, QSettings::UserScope, "Vantrel", "Vantrel");
    EXPECT_TRUE(other.fileName().endsWith(".config/Vantrel/Vantrel.conf")) << other.fileName().toStdString();
    EXPECT_EQ(other.value("isFirstTime").toString(), "yes");
    EXPECT_EQ(d.dataForKey("PROJECT_SESSION"), QByteArray("\x01\x02\x00\x03", 4));

    d.setObject("phonenumber", "");
    EXPECT_EQ(d.stringForKey("phonenumber"), "") << "a stored value wins over the registered one";
    d.removeObjectForKey("phonenumber");
    EXPECT_EQ(d.stringForKey("phonenumber"), "(555) 010-0199");
    d.removeObjectForKey("isFirstTime");
    EXPECT_FALSE(d.contains("isFirstTime"));
    EXPECT_TRUE(d.dataForKey("isFirstTime").isEmpty());
}

TEST(Defaults, SomethingOtherThanAFileAtTheSettingsPathStartsWithDefaultsAndIsLeftAlone)
{
    Defaults& d = Defaults::standard();
    const QString path = Defaults::settingsFilePath();
    ASSERT_TRUE(QDir().mkpath(QFileInfo(path).path()));
    QFile::remove(path);
    ASSERT_EQ(mkfifo(QFile::encodeName(path).constData(), 0600), 0);

    // Whenever the FIFO is opened for reading, this writer serves it a stored value, so a reader
    // that does not check returns (with that value) instead of blocking the test for ever.
    std::atomic<bool> done = false;
    std::thread writer([&] {
        while (!done) {
            const int fd = open(QFile::encodeName(path).constData(), O_WRONLY | O_NONBLOCK);
            if (fd < 0) {
                std::this_thread::yield();
                continue;
            }
            const char text[] = "[General]\nisFirstTime=yes\n";
            EXPECT_GT(write(fd, text, sizeof text - 1), 0);
            close(fd);
        }
    });
    d.registerDefaults({ { "phonenumber", "(555) 010-0199" } });
    testing::internal::CaptureStderr();
    d.reload();
    const std::string err = testing::internal::GetCapturedStderr();
    done = true;
    writer.join();

    EXPECT_FALSE(d.contains("isFirstTime")) << "the FIFO was read as the settings file";
    EXPECT_NE(err.find(path.toStdString() + " is not a regular file"), std::string::npos) << err;
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
    EXPECT_EQ(d.stringForKey("phonenumber"), "(555) 010-0199");

    // The session still keeps what it is told, and the FIFO is neither replaced nor written.
    d.setObject("isFirstTime", "yes");
    EXPECT_EQ(d.stringForKey("isFirstTime"), "yes");
    d.removeObjectForKey("isFirstTime");
    EXPECT_FALSE(d.contains("isFirstTime"));
    struct stat st { };
    ASSERT_EQ(lstat(QFile::encodeName(path).constData(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));

    QFile::remove(path);
    d.reload();
}

/// Opens the FIFO at `path` for writing and closes it: a reader blocked in opening it goes on,
/// reading an empty file.
void releaseReaderOf(const QString& path)
{
    const int fd = open(QFile::encodeName(path).constData(), O_WRONLY | O_NONBLOCK);
    if (fd >= 0)
        close(fd);
}

// Runs `work` on a thread of its own and waits for it at most `deadline`. Work that is still
// blocked then is released by `release`, called until it returns, so the test ends either way;
// the answer says whether it returned in time.
bool finishesWithin(
    const std::function<void()>& work, const std::function<void()>& release, std::chrono::milliseconds deadline)
{
    std::atomic<bool> finished = false;
    std::thread worker([&] {
        work();
        finished = true;
    });
    const auto until = std::chrono::steady_clock::now() + deadline;
    while (!finished && std::chrono::steady_clock::now() < until)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    const bool inTime = finished;
    while (!finished) {
        release();
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    worker.join();
    return inTime;
}

bool reloadsWithin(Defaults& d, const QString& fifo, std::chrono::milliseconds deadline)
{
    return finishesWithin([&d] { d.reload(); }, [&fifo] { releaseReaderOf(fifo); }, deadline);
}

// QSettings locks its file with "<file>.lock" while it writes, reading what stands there to see
// whether its holder still runs: anything but a regular file there is set aside, once, saying so,
// and the settings are written at once.
TEST(Defaults, AnythingButAFileAtTheSettingsLockIsSetAsideAndTheWriteGoesThrough)
{
    const QString lock = Defaults::settingsFilePath() + ".lock";
    struct Case {
        const char* name;
        std::function<bool()> plant;
        mode_t type;
    };
    const Case cases[] = {
        { "a FIFO", [&] { return mkfifo(QFile::encodeName(lock).constData(), 0600) == 0; }, S_IFIFO },
        { "a folder", [&] { return QDir().mkpath(lock); }, S_IFDIR },
    };
    Defaults& d = Defaults::standard();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QFile::remove(Defaults::settingsFilePath());
        ASSERT_TRUE(QDir().mkpath(QFileInfo(lock).path()));
        d.reload();
        ASSERT_TRUE(c.plant());

        testing::internal::CaptureStderr();
        // A write still blocked after the deadline is let go by taking the planted entry away.
        const auto release = [&] {
            QDir(lock).removeRecursively();
            releaseReaderOf(lock);
            QFile::remove(lock);
        };
        EXPECT_TRUE(finishesWithin([&d] { d.setObject("isFirstTime", "no"); }, release, std::chrono::seconds(5)))
            << "the write blocked on the lock";
        const std::string err = testing::internal::GetCapturedStderr();
        EXPECT_EQ(QSettings(Defaults::settingsFilePath(), QSettings::NativeFormat).value("isFirstTime"), "no");
        const QStringList aside
            = QDir(QFileInfo(lock).path())
                  .entryList({ "Vantrel.conf (not a file *).lock" }, QDir::AllEntries | QDir::System | QDir::Hidden);
        ASSERT_EQ(aside.size(), 1) << err;
        struct stat st { };
        ASSERT_EQ(lstat(QFile::encodeName(QFileInfo(lock).path() + '/' + aside[0]).constData(), &st), 0);
        EXPECT_EQ(st.st_mode & S_IFMT, c.type) << "set aside as it was";
        EXPECT_NE(err.find(" set aside as "), std::string::npos) << err;
        EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << "said once: " << err;

        QDir(QFileInfo(lock).path() + '/' + aside[0]).removeRecursively();
        QFile::remove(QFileInfo(lock).path() + '/' + aside[0]);
    }
    QFile::remove(Defaults::settingsFilePath());
    d.reload();
}

TEST(Defaults, AFifoAtAnyFileTheSettingsCouldReadNeverBlocksStartUp)
{
    const QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
    const bool hadConfigDirs = qEnvironmentVariableIsSet("XDG_CONFIG_DIRS");
    const QByteArray configDirs = qgetenv("XDG_CONFIG_DIRS");
    QTemporaryDir system;
    ASSERT_TRUE(system.isValid());
    const QString first = system.filePath("first"), second = system.filePath("second");
    qputenv("XDG_CONFIG_DIRS", QFile::encodeName(first + ':' + second));
    struct Case {
        QString fifo;
        bool userFileKept; // the settings still come from the user's file
    };
    const Case cases[] = {
        { Defaults::settingsFilePath(), false },
        { config + "/Vantrel.conf", true }, // the organisation's file beside the application's
        { first + "/Vantrel/Vantrel.conf", true }, // system files, in every folder of XDG_CONFIG_DIRS
        { first + "/Vantrel.conf", true },
        { second + "/Vantrel/Vantrel.conf", true },
        { second + "/Vantrel.conf", true },
    };
    Defaults& d = Defaults::standard();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fifo.toStdString());
        QFile::remove(Defaults::settingsFilePath());
        d.reload();
        d.setObject("isFirstTime", "no");
        ASSERT_TRUE(QDir().mkpath(QFileInfo(c.fifo).path()));
        QFile::remove(c.fifo);
        ASSERT_EQ(mkfifo(QFile::encodeName(c.fifo).constData(), 0600), 0);

        testing::internal::CaptureStderr();
        EXPECT_TRUE(reloadsWithin(d, c.fifo, std::chrono::seconds(5))) << "start-up blocked on the FIFO";
        testing::internal::GetCapturedStderr();
        EXPECT_EQ(d.stringForKey("isFirstTime"), c.userFileKept ? "no" : "");

        QFile::remove(c.fifo);
        d.reload(); // back on this thread, over the user's file
    }
    if (hadConfigDirs)
        qputenv("XDG_CONFIG_DIRS", configDirs);
    else
        qunsetenv("XDG_CONFIG_DIRS");
    QFile::remove(Defaults::settingsFilePath());
    d.reload();
}
