#include "core/Helper/SystemInfo.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace vantrel;

namespace {

QString writeId(const QTemporaryDir& dir, const QString& name, const QByteArray& content)
{
    const QString path = dir.filePath(name);
    QFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write(content);
    return path;
}

} // namespace

TEST(SystemInfo, SerialIsAStableAppSpecificHashNeverTheRawId)
{
    QTemporaryDir tmp;
    const QByteArray id = "0123456789abcdef0123456789abcdef";
    const auto serial = SystemInfo::serialNumberFromMachineIdFile(writeId(tmp, "a", id + "\n"));
    ASSERT_TRUE(serial);
    EXPECT_EQ(serial->size(), 64);
    EXPECT_FALSE(serial->contains(QString::fromLatin1(id)));
    EXPECT_EQ(SystemInfo::serialNumberFromMachineIdFile(writeId(tmp, "b", id)), serial);
    EXPECT_NE(SystemInfo::serialNumberFromMachineIdFile(writeId(tmp, "c", "fedcba9876543210fedcba9876543210")), serial);
}

TEST(SystemInfo, NoReadableIdGivesNothing)
{
    QTemporaryDir tmp;
    EXPECT_EQ(SystemInfo::serialNumberFromMachineIdFile(tmp.filePath("missing")), std::nullopt);
    EXPECT_EQ(SystemInfo::serialNumberFromMachineIdFile(writeId(tmp, "empty", "")), std::nullopt);
    EXPECT_EQ(SystemInfo::serialNumberFromMachineIdFile(writeId(tmp, "blank", " \n")), std::nullopt);
}

TEST(SystemInfo, MachineSerialDoesNotRevealTheMachineId)
{
    for (const QString& path : SystemInfo::machineIdPaths()) {
        QFile f(path);
        if (!f.open(QIODevice::ReadOnly))
            continue;
        const QByteArray raw = f.readAll().trimmed();
        if (raw.isEmpty())
            continue;
        const auto serial = SystemInfo::getSerialNumber();
        ASSERT_TRUE(serial);
        EXPECT_FALSE(serial->contains(QString::fromLatin1(raw), Qt::CaseInsensitive));
        EXPECT_EQ(SystemInfo::computerSerialNumber(), *serial);
        return;
    }
    EXPECT_EQ(SystemInfo::getSerialNumber(), std::nullopt);
    EXPECT_EQ(SystemInfo::computerSerialNumber(), "");
}
