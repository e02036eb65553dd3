#include "platform/DateFormat.h"

#include <QTimeZone>

#include <gtest/gtest.h>

using namespace vantrel;

TEST(DateFormat, IcuPatternsAroundNewYear)
{
    struct Case {
        QDateTime when;
        const char* pattern;
        const char* expected;
    };
    const QTimeZone utc = QTimeZone::utc();
    const Case cases[] = {
        // "YYYY" is the week-based year: 31 December 2024 belongs to week 1 of 2025.
        {QDateTime(QDate(2024, 12, 31), QTime(13, 5, 7), utc), "MMddYYYY hhmms a", "12312025 01057 PM"},
        {QDateTime(QDate(2024, 12, 31), QTime(13, 5, 7), utc), "MMddyyyy hhmms a", "12312024 01057 PM"},
        {QDateTime(QDate(2021, 1, 1), QTime(0, 0, 45), utc), "MMddYYYY hhmms a", "01012021 120045 AM"},
        {QDateTime(QDate(2026, 12, 27), QTime(0, 0, 0), utc), "MMddYYYY hhmms a", "12272027 12000 AM"},
        {QDateTime(QDate(2026, 6, 15), QTime(9, 30, 0), utc), "yyyy:MM:dd HH:mm:ss", "2026:06:15 09:30:00"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DateFormat::format(c.when, c.pattern, true).toStdString(), c.expected) << c.pattern;
}

TEST(DateFormat, ParsesStrictlyInGregorianPosix)
{
    const auto ok = DateFormat::parse("2019:02:28 23:59:58", "yyyy:MM:dd HH:mm:ss", true);
    ASSERT_TRUE(ok.has_value());
    EXPECT_EQ(ok->toUTC(), QDateTime(QDate(2019, 2, 28), QTime(23, 59, 58), QTimeZone::utc()));
    for (const char* bad : {"0000:00:00 00:00:00", "2019:02:30 10:00:00", "garbage", "", "2019:02:28 23:59:58 x"})
        EXPECT_FALSE(DateFormat::parse(bad, "yyyy:MM:dd HH:mm:ss", true).has_value()) << bad;
}
