#include "core/Helper/Utils.h"

#include <cmath>
#include <limits>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using vantrel::Utils;

namespace {

const Utils& utils()
{
    return Utils::sharedUtils();
}

void touch(const QString& path)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
}

} // namespace

TEST(UtilsText, ByteCountsCutToTwoDecimalsWithExactArithmetic)
{
    struct Case {
        double bytes;
        const char* expected;
    };
    const Case cases[] = {
        { 0, "0 bytes" },
        { 512, "512 bytes" },
        { 993, "993 bytes" },
        { 994, "0.97 KB" },
        { 999, "0.97 KB" },
        { 1000, "1.00 KB" },
        { 1150, "1.15 KB" }, // binary floating point would cut this to 1.14
        { 1500, "1.50 KB" },
        { 999999, "0.97 MB" },
        { 1234567, "1.23 MB" },
        { 1239999, "1.23 MB" },
        { 993e12, "993.00 TB" },
        { 994e12, "0.97 PB" },
        { 1e15, "1.00 PB" },
        { 1e18, "1.00 EB" },
        { 1e27, "1000.00 YB" }, // the last unit keeps counting
        { -5, "0 bytes" },
        { std::numeric_limits<double>::quiet_NaN(), "0 bytes" },
        { std::numeric_limits<double>::infinity(), "1000000000000.00 YB" },
    };
    for (const Case& c : cases)
        EXPECT_EQ(utils().unitStringFromBytes(c.bytes, 0).toStdString(), c.expected) << c.bytes;
}

TEST(UtilsText, ElapsedTimes)
{
    struct Case {
        qint64 seconds;
        const char* expected;
    };
    const Case cases[] = {
        { 0, "" },
        { 1, " 1 second" },
        { 45, " 45 seconds" },
        { 60, " 1 minute 0 seconds" },
        { 61, " 1 minute 1 second" },
        { 3600, "1 hour 0 minutes 0 seconds" },
        { 3661, "1 hour 1 minute 1 second" },
        { 7322, "2 hours 2 minutes 2 seconds" },
        { -5, "" },
    };
    for (const Case& c : cases)
        EXPECT_EQ(utils().timeFormattedString(c.seconds).toStdString(), c.expected) << c.seconds;
}

TEST(UtilsText, DurationsTruncateTowardZero)
{
    const QDateTime start(QDate(2026, 3, 1), QTime(10, 0, 0, 0));
    EXPECT_EQ(Utils::getDurationBetweenDate(start, start.addMSecs(2999)), 2);
    EXPECT_EQ(Utils::getDurationBetweenDate(start.addMSecs(2999), start), -2);
    EXPECT_EQ(Utils::getDurationBetweenDate(QDateTime(), start), 0);
}

TEST(UtilsText, IcuStampsAroundNewYear)
{
    // Local wall-clock times: the formatter works in the local time zone (and the C locale here:
    // the formatter follows the user's).
    const QLocale saved;
    QLocale::setDefault(QLocale::c());
    struct Case {
        QDateTime when;
        const char* pattern;
        const char* expected;
    };
    const Case cases[] = {
        // "YYYY" is the week-based year: 30 and 31 December 2024 fall in week 1 of 2025.
        { QDateTime(QDate(2024, 12, 31), QTime(13, 5, 7)), "MMddYYYY hhmms a", "12312025 01057 PM" },
        { QDateTime(QDate(2025, 1, 1), QTime(0, 0, 45)), "MMddYYYY hhmms a", "01012025 120045 AM" },
        { QDateTime(QDate(2021, 1, 1), QTime(23, 59, 59)), "MMddYYYY hhmms a", "01012021 115959 PM" },
        { QDateTime(QDate(2024, 12, 30), QTime(9, 3, 5)), "MM-dd-YYYY hh:mm:s a", "12-30-2025 09:03:5 AM" },
    };
    for (const Case& c : cases)
        EXPECT_EQ(Utils::getDateStringFromDate(c.when, c.pattern).toStdString(), c.expected) << c.expected;

    const QDateTime parsed = Utils::getDateFromString("2019:02:28 23:59:58", "yyyy:MM:dd HH:mm:ss");
    EXPECT_EQ(parsed, QDateTime(QDate(2019, 2, 28), QTime(23, 59, 58)));
    EXPECT_FALSE(Utils::getDateFromString("2019:02:30 23:59:58", "yyyy:MM:dd HH:mm:ss").isValid());
    EXPECT_EQ(Utils::getDateInFormatNEW(QDateTime(QDate(2026, 1, 2), QTime(3, 4))).toStdString(), "20260102T0304");
    QLocale::setDefault(saved);
}

TEST(UtilsText, CollisionFreeNames)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString d = dir.path();
    struct Case {
        const char* name;
        std::vector<const char*> present;
        const char* expected;
    };
    const Case cases[] = {
        { "free.jpg", {}, "free.jpg" },
        { "a.jpg", { "a.jpg" }, "a (1).jpg" },
        { "b.jpg", { "b.jpg", "b (1).jpg" }, "b (2).jpg" },
        { "c.jpg", { "c.jpg", "c (2).jpg" }, "c (1).jpg" },
        { "archive.tar.gz", { "archive.tar.gz" }, "archive.tar (1).gz" },
        { "README", { "README" }, "README (1)" },
        { ".hidden", { ".hidden" }, ".hidden (1)" },
        { "trailing.", { "trailing." }, "trailing. (1)" },
        // A "%" and a digit in the user's name are plain text, never a placeholder.
        { "50%2off.jpg", { "50%2off.jpg" }, "50%2off (1).jpg" },
        { "a%1.jpg", { "a%1.jpg" }, "a%1 (1).jpg" },
        { "%3%2%1", { "%3%2%1" }, "%3%2%1 (1)" },
    };
    for (const Case& c : cases) {
        for (const char* file : c.present)
            touch(d + "/" + file);
        EXPECT_EQ(Utils::stringToAvoidNameCollisionForPath(d + "/" + c.name), d + "/" + c.expected) << c.name;
    }

    // A folder and a dangling link occupy a name as much as a file does.
    ASSERT_TRUE(QDir(d).mkdir("folder.png"));
    EXPECT_EQ(Utils::stringToAvoidNameCollisionForPath(d + "/folder.png"), d + "/folder (1).png");
    ASSERT_EQ(::symlink("/nonexistent/target", QFile::encodeName(d + "/link.png").constData()), 0);
    EXPECT_EQ(Utils::stringToAvoidNameCollisionForPath(d + "/link.png"), d + "/link (1).png");
}

TEST(UtilsText, FlatJson)
{
    struct Case {
        QVariantMap dict;
        const char* expected;
    };
    const Case cases[] = {
        { {}, "{}" },
        { { { "n", 5 }, { "s", "x" } }, "{\"n\":5,\"s\":\"x\"}" },
        { { { "d", 1.5 }, { "b", true }, { "big", qint64(1) << 40 } }, "{\"b\":1,\"big\":1099511627776,\"d\":1.5}" },
        { { { "q\"k", "say \"hi\"" } }, "{\"q\\\"k\":\"say \\\"hi\\\"\"}" },
        { { { "path", "C:\\dir" } }, "{\"path\":\"C:\\\\dir\"}" },
        { { { "ctl", QString("a\nb\tc") + QChar(1) } }, "{\"ctl\":\"a\\nb\\tc\\u0001\"}" },
        { { { "list", QVariantList { 1, "two" } } }, "{\"list\":\"[1,\\\"two\\\"]\"}" },
        { { { "nan", std::nan("") } }, "{\"nan\":null}" },
    };
    for (const Case& c : cases)
        EXPECT_EQ(Utils::getJSONFromDict(c.dict).toStdString(), c.expected);
}

TEST(UtilsText, EmailAddresses)
{
    for (const char* good : { "a@b.cd", "first.last@mail.example.org", "x+y@sub-domain.co.uk" })
        EXPECT_TRUE(Utils::validateEmail(good)) << good;
    for (const char* bad : { "", "a@b", "a@b.c", "@b.cd", "a@b.cd ", "a@b_c.de", "a@b.c1" })
        EXPECT_FALSE(Utils::validateEmail(bad)) << bad;
}
