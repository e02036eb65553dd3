#include "platform/Defaults.h"

#include <QFile>
#include <QSettings>

#include <gtest/gtest.h>

using namespace vantrel;

TEST(Defaults, WritesAreOnDiskAtOnceAndRegisteredDefaultsAnswerForAbsentKeys)
{
    Defaults& d = Defaults::standard();
    d.registerDefaults({{"phonenumber", "(555) 010-0199"}});
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
