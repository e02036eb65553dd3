#include "core/Categories/DateCompare.h"
#include "core/Categories/MutableStringXml.h"
#include "core/Categories/QzString.h"

#include <QTimeZone>

#include <gtest/gtest.h>

using namespace vantrel;

TEST(XmlEscape, BothEscapersFollowTheirTablesInOrder)
{
    struct Case {
        QString in, simple, simpleNew;
    };
    const Case cases[] = {
        { "a&b", "a&amp;b", "a&amp;amp;b" },
        { "say \"hi\"", "say &quot;hi&quot;", "say &quot;hi&quot;" },
        { "it's", "it&#x27;s", "it&#x27;s" },
        { "a>b", "a&gt;b", "a&gt;b" },
        { "a<b", "a&lt;b", "a(lessthan)b" },
        { "&\"'><", "&amp;&quot;&#x27;&gt;&lt;", "&amp;amp;&quot;&#x27;&gt;(lessthan)" },
        // Text that is already escaped is escaped again.
        { "&lt;", "&amp;lt;", "&amp;amp;lt;" },
        { "&amp;", "&amp;amp;", "&amp;amp;amp;" },
        { "", "", "" },
        { "plain", "plain", "plain" },
    };
    for (const auto& c : cases) {
        EXPECT_EQ(QzString::xmlSimpleEscapeString(c.in), c.simple) << c.in.toStdString();
        EXPECT_EQ(QzString::xmlSimpleEscapeStringNEW(c.in), c.simpleNew) << c.in.toStdString();
    }
}

TEST(XmlEscape, InPlaceFormsChangeTheirArgumentAndWrappersDoNot)
{
    QString text = "<a>";
    const QString copy = QzString::xmlSimpleEscapeString(text);
    EXPECT_EQ(text, "<a>");
    EXPECT_EQ(&MutableStringXml::xmlSimpleEscape(text), &text);
    EXPECT_EQ(text, copy);
}

TEST(XmlUnescape, ReplacesInTheDocumentedOrder)
{
    const std::pair<QString, QString> cases[] = {
        { "a &amp; b", "a & b" },
        { "&quot;q&quot;", "\"q\"" },
        { "&#x27;&#x39;&#x92;&#x96;", "''''" },
        { "a&#x000D;&#x000A;b", "a\n\nb" },
        { "a&#x000A;b", "a\nb" },
        { "&gt;&lt;", "><" },
        // "&amp;" goes first, so an entity escaped twice ends fully unescaped.
        { "&amp;lt;", "<" },
        { "&amp;amp;", "&amp;" },
        { "", "" },
    };
    for (const auto& [in, out] : cases)
        EXPECT_EQ(QzString::xmlSimpleUnescapeString(in), out) << in.toStdString();
}

TEST(XmlUnescape, TheFreeTextFormReadsAsAnEntityAfterOnePass)
{
    const QString once = QzString::xmlSimpleEscapeStringNEW("a&b");
    EXPECT_EQ(QzString::xmlSimpleUnescapeString(once), "a&amp;b");
}

TEST(UrlCoding, EncodesEverythingButUnreservedCharacters)
{
    EXPECT_EQ(QzString::URLEncodedString("aZ09-._~"), "aZ09-._~");
    EXPECT_EQ(
        QzString::URLEncodedString("!*'();:@&=+$,/?%#[]"), "%21%2A%27%28%29%3B%3A%40%26%3D%2B%24%2C%2F%3F%25%23%5B%5D");
    EXPECT_EQ(QzString::URLEncodedString("a b"), "a%20b");
    EXPECT_EQ(QzString::URLEncodedString(QString::fromUtf8("é")), "%C3%A9");
    EXPECT_EQ(QzString::URLEncodedString(""), "");
}

TEST(UrlCoding, DecodesValidUtf8AndRefusesTheRest)
{
    const QString samples[] = { "", "plain", "a b+c", QString::fromUtf8("ünïcode ✓"), "!*'();:@&=+$,/?%#[]" };
    for (const auto& s : samples)
        EXPECT_EQ(QzString::URLDecodedString(QzString::URLEncodedString(s)), s) << s.toStdString();

    EXPECT_EQ(QzString::URLDecodedString("a+b%2Bc"), "a+b+c");
    EXPECT_EQ(QzString::URLDecodedString("%41%62"), "Ab");
    EXPECT_EQ(QzString::URLDecodedString("%FF"), std::nullopt); // not UTF-8
    EXPECT_EQ(QzString::URLDecodedString("%C3"), std::nullopt); // truncated sequence
    EXPECT_EQ(QzString::URLDecodedString("%ED%A0%80"), std::nullopt); // surrogate
    EXPECT_EQ(QzString::URLDecodedString("100%"), std::nullopt); // malformed escapes
    EXPECT_EQ(QzString::URLDecodedString("%G1"), std::nullopt);
    EXPECT_EQ(QzString::URLDecodedString("%4"), std::nullopt);

    // A byte-order mark is a character like any other: kept, not swallowed.
    const QString withMark = QChar(0xFEFF) + QStringLiteral("a");
    EXPECT_EQ(QzString::URLDecodedString("%EF%BB%BFa"), withMark);
    EXPECT_EQ(QzString::URLDecodedString(withMark), withMark);
}

TEST(Trimming, WhitespaceAndNewlines)
{
    struct Case {
        QString in, leading, trailing, both;
    };
    const Case cases[] = {
        { "", "", "", "" },
        { " \t\r\n ", "", "", "" },
        { "  a b \n", "a b \n", "  a b", "a b" },
        { "x", "x", "x", "x" },
        { QString::fromUtf8("\u00a0y\u2028"), QString::fromUtf8("y\u2028"), QString::fromUtf8("\u00a0y"), "y" },
    };
    for (const auto& c : cases) {
        EXPECT_EQ(QzString::stringByTrimmingLeadingWhitespaceAndNewlineCharacters(c.in), c.leading);
        EXPECT_EQ(QzString::stringByTrimmingTrailingWhitespaceAndNewlineCharacters(c.in), c.trailing);
        EXPECT_EQ(QzString::stringByTrimmingLeadingAndTrailingWhitespaceAndNewlineCharacters(c.in), c.both);
        EXPECT_EQ(QzString::trim(c.in), c.both);
    }
}

TEST(Trimming, ByACharacterSet)
{
    const QzString::CharacterSet digits = [](QChar c) { return c.isDigit(); };
    EXPECT_EQ(QzString::stringByTrimmingLeadingCharactersInSet("12ab34", digits), "ab34");
    EXPECT_EQ(QzString::stringByTrimmingTrailingCharactersInSet("12ab34", digits), "12ab");
    EXPECT_EQ(QzString::stringByTrimmingLeadingAndTrailingCharactersInSet("12ab34", digits), "ab");
    EXPECT_EQ(QzString::stringByTrimmingLeadingAndTrailingCharactersInSet("1234", digits), "");
    EXPECT_EQ(QzString::stringByTrimmingLeadingCharactersInSet("", digits), "");
}

TEST(DateCompare, OrderTests)
{
    const QDateTime early = QDateTime::fromSecsSinceEpoch(1000, QTimeZone::utc());
    const QDateTime late = early.addSecs(1);
    struct Case {
        QDateTime a, b;
        bool later, earlier, laterOrEqual, earlierOrEqual;
    };
    const Case cases[] = {
        { late, early, true, false, true, false },
        { early, late, false, true, false, true },
        { early, early, false, false, true, true },
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DateCompare::isLaterThan(c.a, c.b), c.later);
        EXPECT_EQ(DateCompare::isEarlierThan(c.a, c.b), c.earlier);
        EXPECT_EQ(DateCompare::isLaterThanOrEqualTo(c.a, c.b), c.laterOrEqual);
        EXPECT_EQ(DateCompare::isEarlierThanOrEqualTo(c.a, c.b), c.earlierOrEqual);
    }
}
