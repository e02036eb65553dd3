// The log redirect: a path that cannot be opened keeps the old stream; one that can is appended to.
#include <cstdio>

#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "app/StandardErrorLog.h"
#include "platform/Paths.h"

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
    for (const QString& bad : { QString(), blocker + "/Vantrel/Vantrel.log", dir.path() })
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

TEST(StandardErrorLogTest, QtMessagesStartWithTheDate)
{
    StderrGuard guard;
    QTemporaryDir dir;
    const QString log = dir.filePath("qt.log");
    ASSERT_TRUE(StandardErrorLog::redirectTo(log));
    StandardErrorLog::installMessageHandler();
    qWarning("from Qt");
    qInstallMessageHandler(nullptr);

    QFile written(log);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(written.readAll());
    const QString today = StandardErrorLog::datePrefix(QDateTime::currentDateTime()).left(10);
    EXPECT_TRUE(text.startsWith(today)) << text.toStdString();
    EXPECT_TRUE(text.endsWith("warning: from Qt\n")) << text.toStdString();
}

} // namespace
} // namespace vantrel
