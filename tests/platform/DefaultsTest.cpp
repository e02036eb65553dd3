#include "platform/Defaults.h"

#include <atomic>
#include <thread>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>

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
