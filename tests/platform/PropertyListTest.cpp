#include "platform/PropertyList.h"

#include <limits>

#include <QDateTime>
#include <QFile>
#include <QPointF>
#include <QTemporaryDir>
#include <QTimeZone>

#include <gtest/gtest.h>

using namespace vantrel;

namespace {

QByteArray plist(const QByteArray& body)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\">\n" + body + "\n</plist>\n";
}

} // namespace

TEST(PropertyList, ReadsNestedDictionariesArraysAndEveryScalarType)
{
    const QByteArray xml = plist(R"(<dict>
  <key>LBL_TITLE</key><string>Resize &amp; rename &lt;%@&gt; &#233;</string>
  <key>count</key><integer>-42</integer>
  <key>big</key><integer>9007199254740993</integer>
  <key>ratio</key><real>0.1</real>
  <key>on</key><true/>
  <key>off</key><false/>
  <key>when</key><date>2024-03-05T07:08:09Z</date>
  <key>blob</key><data>
    AAEC
    /w==
  </data>
  <!-- a comment between entries -->
  <key>empty</key><string/>
  <key>list</key>
  <array>
    <dict><key>inner</key><array><integer>1</integer><string>two</string></array></dict>
    <array/>
    <dict/>
  </array>
</dict>)");
    const std::optional<QVariant> root = PropertyList::read(xml);
    ASSERT_TRUE(root.has_value());
    const QVariantMap map = root->toMap();
    EXPECT_EQ(map.size(), 10);
    EXPECT_EQ(map["LBL_TITLE"].toString(), QString::fromUtf8("Resize & rename <%@> \u00e9"));
    EXPECT_EQ(map["count"].typeId(), QMetaType::LongLong);
    EXPECT_EQ(map["count"].toLongLong(), -42);
    EXPECT_EQ(map["big"].toLongLong(), 9007199254740993LL) << "integers are not squeezed through a double";
    EXPECT_EQ(map["ratio"].typeId(), QMetaType::Double);
    EXPECT_EQ(map["ratio"].toDouble(), 0.1);
    EXPECT_EQ(map["on"], QVariant(true));
    EXPECT_EQ(map["off"], QVariant(false));
    EXPECT_EQ(map["when"].toDateTime(), QDateTime(QDate(2024, 3, 5), QTime(7, 8, 9), Qt::UTC));
    EXPECT_EQ(map["blob"].toByteArray(), QByteArray("\x00\x01\x02\xff", 4));
    EXPECT_EQ(map["empty"].typeId(), QMetaType::QString);
    EXPECT_TRUE(map["empty"].toString().isEmpty());
    EXPECT_FALSE(map["empty"].toString().isNull()) << "an empty string is a value, not a missing one";
    const QVariantList list = map["list"].toList();
    ASSERT_EQ(list.size(), 3);
    EXPECT_EQ(list[0].toMap()["inner"].toList(), (QVariantList { qint64(1), QString("two") }));
    EXPECT_EQ(list[1].toList(), QVariantList());
    EXPECT_EQ(list[2].toMap(), QVariantMap());
}

TEST(PropertyList, RefusesDamagedAndForeignDocuments)
{
    const struct {
        const char* name;
        QByteArray xml;
    } cases[] = {
        { "empty", "" },
        { "not xml", "hello" },
        { "not a plist", "<?xml version=\"1.0\"?><html><dict/></html>" },
        { "truncated", plist("<dict><key>a</key><string>b</string>").left(60) },
        { "unclosed dict", "<plist version=\"1.0\"><dict><key>a</key><string>b</string></plist>" },
        { "key without value", plist("<dict><key>a</key></dict>") },
        { "value without key", plist("<dict><string>a</string></dict>") },
        { "unknown element", plist("<dict><key>a</key><color>red</color></dict>") },
        { "bad integer", plist("<integer>12abc</integer>") },
        { "bad real", plist("<real>zero point one</real>") },
        { "bad date", plist("<date>yesterday</date>") },
        { "bad data", plist("<data>!!!not base64!!!</data>") },
        { "text inside true", plist("<true>yes</true>") },
        { "element inside string", plist("<string>a<b/>c</string>") },
        { "two roots", plist("<string>a</string><string>b</string>") },
        { "text beside the root", plist("stray<string>a</string>") },
        { "undeclared entity", plist("<string>&nope;</string>") },
    };
    for (const auto& c : cases)
        EXPECT_FALSE(PropertyList::read(c.xml).has_value()) << c.name;
}

TEST(PropertyList, NeverResolvesEntities)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString secretPath = dir.filePath("secret.txt");
    {
        QFile secret(secretPath);
        ASSERT_TRUE(secret.open(QIODevice::WriteOnly));
        secret.write("TOP-SECRET-CONTENT");
    }
    const QByteArray external = "<?xml version=\"1.0\"?>\n<!DOCTYPE plist [ <!ENTITY xxe SYSTEM \"file://"
        + secretPath.toUtf8()
        + "\"> ]>\n<plist version=\"1.0\"><dict><key>k</key><string>&xxe;</string></dict></plist>";
    const QByteArray internal = "<?xml version=\"1.0\"?>\n<!DOCTYPE plist [ <!ENTITY a \"aaaaaaaaaa\">"
                                "<!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;\"> ]>\n"
                                "<plist version=\"1.0\"><string>&b;</string></plist>";
    const QByteArray unused = "<?xml version=\"1.0\"?>\n<!DOCTYPE plist [ <!ENTITY xxe SYSTEM \"file://"
        + secretPath.toUtf8() + "\"> ]>\n<plist version=\"1.0\"><string>plain</string></plist>";
    for (const QByteArray& xml : { external, internal, unused }) {
        const std::optional<QVariant> root = PropertyList::read(xml);
        EXPECT_FALSE(root.has_value()) << xml.constData();
        if (root) {
            EXPECT_FALSE(PropertyList::write(*root).contains("TOP-SECRET")) << "the file was read";
        }
    }

    // A plain DOCTYPE naming the document type is normal and accepted.
    const QByteArray named = "<?xml version=\"1.0\"?>\n<!DOCTYPE plist PUBLIC \"-//X//DTD PLIST 1.0//EN\" "
                             "\"http://localhost/PropertyList-1.0.dtd\">\n"
                             "<plist version=\"1.0\"><string>fine</string></plist>";
    const std::optional<QVariant> root = PropertyList::read(named);
    ASSERT_TRUE(root.has_value());
    EXPECT_EQ(root->toString(), "fine");
}

TEST(PropertyList, WriteThenReadGivesTheSameValues)
{
    const QVariantMap original {
        { "text", QString::fromUtf8("a < b & \"c\" \u00e9 \u65e5\u672c") },
        { "spaces", QString("  padded  ") },
        { "int", qint64(-7) },
        { "max", QVariant(std::numeric_limits<qint64>::max()) },
        { "real", 0.1 },
        { "tiny", 1e-300 },
        { "yes", true },
        { "no", false },
        { "when", QDateTime(QDate(1999, 12, 31), QTime(23, 59, 59), Qt::UTC) },
        { "bytes", QByteArray("\x00\xff\x10", 3) },
        { "list", QVariantList { qint64(1), QVariantMap { { "deep", QVariantList {} } }, QString("x") } },
        { "emptyMap", QVariantMap() },
    };
    const QByteArray xml = PropertyList::write(original);
    ASSERT_FALSE(xml.isEmpty());
    const std::optional<QVariant> back = PropertyList::read(xml);
    ASSERT_TRUE(back.has_value()) << xml.constData();
    EXPECT_EQ(back->toMap(), original) << xml.constData();

    QTemporaryDir dir;
    const QString path = dir.filePath("fixture.plist");
    ASSERT_TRUE(PropertyList::writeFile(original, path));
    EXPECT_EQ(PropertyList::readFile(path)->toMap(), original);
    EXPECT_FALSE(PropertyList::readFile(dir.filePath("missing.plist")).has_value());

    EXPECT_TRUE(PropertyList::write(QVariantMap { { QString("p"), QVariant::fromValue(QPointF(1, 2)) } }).isEmpty())
        << "an unsupported type is refused, not silently dropped";
}
