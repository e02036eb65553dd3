#include "platform/KeyedArchiver.h"

#include <cstring>
#include <limits>
#include <random>

#include <QCborArray>

#include <gtest/gtest.h>

using namespace vantrel;

namespace {

// A small record with one field of every kind the archive carries.
struct Leaf {
    static constexpr const char* kClassName = "Leaf";
    QString text = QStringLiteral("");
    float ratio = 0;
    qint32 count = 0;
    bool flag = false;
    QVariant number;

    void encodeWithCoder(KeyedArchiver& coder) const
    {
        coder.encodeString(text, "text");
        coder.encodeFloat(ratio, "ratio");
        coder.encodeInt32(count, "count");
        coder.encodeBool(flag, "flag");
        coder.encodeNumber(number, "number");
    }
    static Leaf initWithCoder(KeyedUnarchiver& coder)
    {
        Leaf leaf;
        leaf.text = coder.decodeString("text");
        leaf.ratio = coder.decodeFloat("ratio");
        leaf.count = coder.decodeInt32("count");
        leaf.flag = coder.decodeBool("flag");
        leaf.number = coder.decodeNumber("number");
        return leaf;
    }
};

struct Tree {
    static constexpr const char* kClassName = "Tree";
    std::optional<Leaf> leaf;
    QList<Leaf> leaves;

    void encodeWithCoder(KeyedArchiver& coder) const
    {
        coder.encodeObject(leaf, "leaf");
        coder.encodeArray(leaves, "leaves");
    }
    static Tree initWithCoder(KeyedUnarchiver& coder)
    {
        Tree tree;
        tree.leaf = coder.decodeObject<Leaf>("leaf");
        tree.leaves = coder.decodeArray<Leaf>("leaves");
        return tree;
    }
};

QByteArray cbor(const QCborMap& map)
{
    return QCborValue(map).toCbor();
}

QCborMap leafMap(const QCborMap& fields)
{
    QCborMap map = fields;
    map.insert(QStringLiteral("$class"), QStringLiteral("Leaf"));
    return map;
}

} // namespace

TEST(KeyedArchiver, FloatsAreWrittenAsSinglePrecisionAndReadBackExactly)
{
    Leaf leaf;
    leaf.ratio = 0.1f;
    const QByteArray data = KeyedArchiver::archivedDataWithRootObject(leaf);
    // 0.1f is 0x3DCCCCCD: a CBOR single-precision float is 0xFA followed by those four bytes.
    EXPECT_TRUE(data.contains(QByteArray::fromHex("fa3dcccccd"))) << data.toHex().constData();
    EXPECT_FALSE(data.contains(QByteArray::fromHex("fb"))) << "no double-precision value was written";
    const std::optional<Leaf> back = KeyedUnarchiver::unarchiveObjectWithData<Leaf>(data);
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(back->ratio, 0.1f);
    uint32_t bits = 0;
    std::memcpy(&bits, &back->ratio, sizeof bits);
    EXPECT_EQ(bits, 0x3DCCCCCDu);
}

TEST(KeyedArchiver, EveryKindOfValueSurvivesARoundTrip)
{
    Tree tree;
    tree.leaf = Leaf { QString::fromUtf8("caf\u00e9 \"x\""), -2.5f, std::numeric_limits<qint32>::min(), true,
        QVariant(qint64(1) << 40) };
    tree.leaves = { Leaf {}, Leaf { "b", 1e30f, 7, false, QVariant(0.25) }, Leaf { "c", 0, 0, false, QVariant(true) } };
    const std::optional<Tree> back
        = KeyedUnarchiver::unarchiveObjectWithData<Tree>(KeyedArchiver::archivedDataWithRootObject(tree));
    ASSERT_TRUE(back.has_value());
    ASSERT_TRUE(back->leaf.has_value());
    EXPECT_EQ(back->leaf->text, tree.leaf->text);
    EXPECT_EQ(back->leaf->ratio, -2.5f);
    EXPECT_EQ(back->leaf->count, std::numeric_limits<qint32>::min());
    EXPECT_TRUE(back->leaf->flag);
    EXPECT_EQ(back->leaf->number.toLongLong(), qint64(1) << 40);
    ASSERT_EQ(back->leaves.size(), 3);
    EXPECT_TRUE(back->leaves[0].text.isEmpty());
    EXPECT_FALSE(back->leaves[0].text.isNull()) << "an empty string stays a string";
    EXPECT_FALSE(back->leaves[0].number.isValid()) << "a nil number stays nil";
    EXPECT_EQ(back->leaves[1].ratio, 1e30f);
    EXPECT_EQ(back->leaves[1].number, QVariant(0.25));
    EXPECT_EQ(back->leaves[2].number.typeId(), QMetaType::Bool);
}

TEST(KeyedArchiver, AbsentKeysDecodeAsZeroValues)
{
    const std::optional<Leaf> leaf = KeyedUnarchiver::unarchiveObjectWithData<Leaf>(cbor(leafMap({})));
    ASSERT_TRUE(leaf.has_value());
    EXPECT_TRUE(leaf->text.isNull());
    EXPECT_EQ(leaf->ratio, 0.0f);
    EXPECT_EQ(leaf->count, 0);
    EXPECT_FALSE(leaf->flag);
    EXPECT_FALSE(leaf->number.isValid());

    const std::optional<Tree> tree = KeyedUnarchiver::unarchiveObjectWithData<Tree>(
        cbor({ { QStringLiteral("$class"), QStringLiteral("Tree") }, { QStringLiteral("leaf"), nullptr } }));
    ASSERT_TRUE(tree.has_value());
    EXPECT_FALSE(tree->leaf.has_value()) << "an explicit CBOR null is nil too";
    EXPECT_TRUE(tree->leaves.isEmpty());
}

TEST(KeyedArchiver, NumbersOfAnotherWidthAreConverted)
{
    // A reader reads any number with the conversion it names, as long as the value fits.
    const std::optional<Leaf> leaf = KeyedUnarchiver::unarchiveObjectWithData<Leaf>(cbor(
        leafMap({ { QStringLiteral("ratio"), 3 }, { QStringLiteral("count"), 41.9 }, { QStringLiteral("flag"), 2 } })));
    ASSERT_TRUE(leaf.has_value());
    EXPECT_EQ(leaf->ratio, 3.0f);
    EXPECT_EQ(leaf->count, 41);
    EXPECT_TRUE(leaf->flag) << "non-zero is YES";
}

TEST(KeyedArchiver, ForeignOrDamagedArchivesDecodeAsNil)
{
    Tree good;
    good.leaf = Leaf {};
    good.leaves = { Leaf {} };
    const QByteArray valid = KeyedArchiver::archivedDataWithRootObject(good);
    ASSERT_TRUE(KeyedUnarchiver::unarchiveObjectWithData<Tree>(valid).has_value());

    const QCborMap wrongLeafClass { { QStringLiteral("$class"), QStringLiteral("Tree") },
        { QStringLiteral("leaf"), QCborMap { { QStringLiteral("$class"), QStringLiteral("Tree") } } } };
    const QCborMap badElement { { QStringLiteral("$class"), QStringLiteral("Tree") },
        { QStringLiteral("leaves"), QCborArray { leafMap({}), QStringLiteral("not an object") } } };
    const QCborMap leavesNotArray { { QStringLiteral("$class"), QStringLiteral("Tree") },
        { QStringLiteral("leaves"), leafMap({}) } };
    const QCborMap nestedWrongType { { QStringLiteral("$class"), QStringLiteral("Tree") },
        { QStringLiteral("leaf"), leafMap({ { QStringLiteral("count"), QStringLiteral("12") } }) } };

    const struct {
        const char* name;
        QByteArray data;
    } cases[] = {
        { "empty", QByteArray() },
        { "truncated", valid.left(valid.size() - 3) },
        { "trailing bytes", valid + QByteArray("\x00", 1) },
        { "root is an array", QCborValue(QCborArray { 1, 2 }).toCbor() },
        { "root is a string", QCborValue(QStringLiteral("Tree")).toCbor() },
        { "no class", cbor({ { QStringLiteral("leaf"), leafMap({}) } }) },
        { "wrong root class", cbor(leafMap({})) },
        { "class is not a string", cbor({ { QStringLiteral("$class"), 5 } }) },
        { "nested object of another class", cbor(wrongLeafClass) },
        { "array element not an object", cbor(badElement) },
        { "array key holds an object", cbor(leavesNotArray) },
        { "string where an int32 belongs", cbor(nestedWrongType) },
        { "plain text", QByteArray("{\"$class\":\"Tree\"}") },
        { "nested far too deep", QByteArray(100000, char(0x81)) + QByteArray(1, 0) },
        { "array claiming 2^60 elements", QByteArray::fromHex("9b0fffffffffffffff00") },
        { "string claiming 2^60 bytes", QByteArray::fromHex("7b0fffffffffffffff41") },
    };
    for (const auto& c : cases)
        EXPECT_FALSE(KeyedUnarchiver::unarchiveObjectWithData<Tree>(c.data).has_value()) << c.name;

    const struct {
        const char* name;
        QCborMap fields;
    } leafCases[] = {
        { "text is a number", { { QStringLiteral("text"), 1 } } },
        { "text is bytes", { { QStringLiteral("text"), QByteArray("abc") } } },
        { "ratio is a string", { { QStringLiteral("ratio"), QStringLiteral("0.1") } } },
        { "flag is a map", { { QStringLiteral("flag"), QCborMap() } } },
        { "count beyond 32 bits", { { QStringLiteral("count"), qint64(1) << 33 } } },
        { "count is not finite", { { QStringLiteral("count"), qInf() } } },
        { "number is an array", { { QStringLiteral("number"), QCborArray() } } },
    };
    for (const auto& c : leafCases)
        EXPECT_FALSE(KeyedUnarchiver::unarchiveObjectWithData<Leaf>(cbor(leafMap(c.fields))).has_value()) << c.name;
}

TEST(KeyedArchiver, RandomAndCutBytesNeverCrash)
{
    Tree tree;
    tree.leaf = Leaf { "abc", 1.5f, 3, true, QVariant(2) };
    tree.leaves = { *tree.leaf, *tree.leaf };
    const QByteArray valid = KeyedArchiver::archivedDataWithRootObject(tree);
    for (qsizetype cut = 0; cut < valid.size(); ++cut)
        EXPECT_FALSE(KeyedUnarchiver::unarchiveObjectWithData<Tree>(valid.left(cut)).has_value()) << cut;

    std::mt19937 random(20261207);
    for (int round = 0; round < 1000; ++round) {
        QByteArray bytes = valid;
        // Flip a few bytes of a valid archive, or make up bytes from nothing.
        if (round % 2 == 0) {
            for (int i = 0; i < 3; ++i)
                bytes[random() % bytes.size()] = char(random() & 0xff);
        } else {
            bytes.resize(qsizetype(random() % 64));
            for (char& b : bytes)
                b = char(random() & 0xff);
        }
        // No crash and no exception; whatever is accepted is a well-formed tree that archives again.
        const std::optional<Tree> back = KeyedUnarchiver::unarchiveObjectWithData<Tree>(bytes);
        if (back) {
            const QByteArray again = KeyedArchiver::archivedDataWithRootObject(*back);
            EXPECT_TRUE(KeyedUnarchiver::unarchiveObjectWithData<Tree>(again).has_value()) << bytes.toHex().constData();
        }
    }
}
