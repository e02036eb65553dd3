#include "core/Helper/Caption.h"
#include "core/AppDelegate.h"
#include "core/Helper/CommonFunc.h"
#include "core/Helper/LanguageTableReader.h"

#include <thread>
#include <vector>

#include <gtest/gtest.h>

using namespace vantrel;

namespace {

void useTable(LanguageTable table)
{
    AppDelegate::resetShared()->setDictLanguage(std::move(table));
}

} // namespace

TEST(Caption, PlaceholdersBecomeTypedSlotsFilledInOrder)
{
    useTable({
        { "BOTH", "Added DONOT_TRANSLATE_INTEGER_VALUE photos from DONOT_TRANSLATE_STRING_VALUE." },
        { "REVERSED", "DONOT_TRANSLATE_STRING_VALUE has DONOT_TRANSLATE_INTEGER_VALUE items" },
        { "PERCENT", "100% done, %s %n %@ %1 DONOT_TRANSLATE_INTEGER_VALUE%" },
        { "PLAIN", "OK" },
    });
    const Caption both = CommonFunc::getLocalizedStringForKey("BOTH");
    EXPECT_EQ(both.toString(), "Added %d photos from %@.");
    EXPECT_EQ(both.openSlotCount(), 2);
    EXPECT_EQ(both.arg(3).arg("Pictures").toString(), "Added 3 photos from Pictures.");
    EXPECT_EQ(both.arg(3).toString(), "Added 3 photos from %@.");
    EXPECT_EQ(both.arg(1).arg("a").arg("extra").arg(9).toString(), "Added 1 photos from a.");

    EXPECT_EQ(CommonFunc::getLocalizedStringForKey("REVERSED").arg("Album").arg(-2).toString(), "Album has -2 items");

    // A "%" anywhere is plain text, in the caption and in the arguments alike.
    EXPECT_EQ(CommonFunc::getLocalizedStringForKey("PERCENT").arg(7).toString(), "100% done, %s %n %@ %1 7%");
    EXPECT_EQ(CommonFunc::getLocalizedStringForKey("BOTH").arg(1).arg("%s DONOT_TRANSLATE_INTEGER_VALUE %1").toString(),
        "Added 1 photos from %s DONOT_TRANSLATE_INTEGER_VALUE %1.");

    const QString plain = CommonFunc::getLocalizedStringForKey("PLAIN");
    EXPECT_EQ(plain, "OK");
}

TEST(Caption, MissingKeyGivesNullText)
{
    useTable({ { "PLAIN", "OK" } });
    EXPECT_EQ(CommonFunc::getLocalizedStringForKey("ID_NOT_THERE").toString(), "(null)");
    EXPECT_EQ(CommonFunc::getLocalizedStringForKey("").arg(5).toString(), "(null)");
}

TEST(Caption, TableIsLoadedFromTheResourcesOnceAcrossThreads)
{
    AppDelegate::resetShared();
    std::vector<std::thread> threads;
    std::vector<QString> results(8);
    for (size_t i = 0; i < results.size(); ++i)
        threads.emplace_back([&results, i] { results[i] = CommonFunc::getLocalizedStringForKey("ID_OK_CAPS"); });
    for (auto& t : threads)
        t.join();
    for (const auto& r : results)
        EXPECT_EQ(r, "OK");
    const auto table = AppDelegate::shareDelegate()->dictLanguage();
    ASSERT_TRUE(table);
    EXPECT_TRUE(table->contains("ID_CAMERA_MAKER"));
    EXPECT_EQ(CommonFunc::getLocalizedStringForKey("ID_NOT_THERE").toString(), "(null)");
    // An existing table is kept, not reloaded.
    CommonFunc::loadLanguageDict();
    EXPECT_EQ(AppDelegate::shareDelegate()->dictLanguage(), table);
}

TEST(LanguageTableReader, ReadsStringsSkipsOtherValuesAndRefusesDamage)
{
    const QByteArray good = R"(<?xml version="1.0" encoding="UTF-8"?>
<plist version="1.0"><dict>
  <key>A</key><string>Alpha &amp; more</string>
  <key>N</key><integer>5</integer>
  <key>D</key><dict><key>X</key><string>nested</string></dict>
  <key>B</key><string></string>
</dict></plist>)";
    const auto table = LanguageTableReader::read(good);
    ASSERT_TRUE(table);
    EXPECT_EQ(table->value("A"), "Alpha & more");
    EXPECT_TRUE(table->contains("B"));
    EXPECT_FALSE(table->contains("N"));
    EXPECT_FALSE(table->contains("D"));
    EXPECT_FALSE(table->contains("X"));

    EXPECT_FALSE(LanguageTableReader::read("<plist><dict><key>A</key><string>x</dict></plist>"));
    EXPECT_FALSE(LanguageTableReader::read("<plist><array/></plist>"));
    EXPECT_FALSE(LanguageTableReader::read(""));
    EXPECT_FALSE(LanguageTableReader::readFile("/nonexistent/table.plist"));
}

TEST(LanguageTableReader, NeverResolvesExternalEntities)
{
    const QByteArray doc = R"(<?xml version="1.0"?>
<!DOCTYPE plist [<!ENTITY xxe SYSTEM "file:///etc/passwd">]>
<plist version="1.0"><dict><key>A</key><string>x&xxe;y</string></dict></plist>)";
    const auto table = LanguageTableReader::read(doc);
    if (table) {
        EXPECT_FALSE(table->value("A").contains("root"));
    }
}
