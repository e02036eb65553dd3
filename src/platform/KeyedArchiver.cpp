#include "platform/KeyedArchiver.h"

#include <cmath>
#include <cstdio>
#include <limits>

#include <QCborParserError>

namespace vantrel {

namespace {

const QString kClassKey = QStringLiteral("$class");

} // namespace

KeyedArchiver::KeyedArchiver(const char* className)
{
    m_map.insert(kClassKey, QString::fromLatin1(className));
}

void KeyedArchiver::encodeString(const QString& value, const QString& key)
{
    if (!value.isNull())
        m_map.insert(key, value);
}

void KeyedArchiver::encodeFloat(float value, const QString& key)
{
    // Held as a double that a float represents exactly; encodedData() writes it as float32.
    m_map.insert(key, static_cast<double>(value));
}

void KeyedArchiver::encodeInt32(qint32 value, const QString& key)
{
    m_map.insert(key, static_cast<qint64>(value));
}

void KeyedArchiver::encodeBool(bool value, const QString& key)
{
    m_map.insert(key, value);
}

void KeyedArchiver::encodeNumber(const QVariant& number, const QString& key)
{
    switch (number.typeId()) {
    case QMetaType::Bool:
        m_map.insert(key, number.toBool());
        return;
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Long:
    case QMetaType::LongLong:
    case QMetaType::SChar:
    case QMetaType::UChar:
        m_map.insert(key, number.toLongLong());
        return;
    case QMetaType::ULong:
    case QMetaType::ULongLong: {
        const quint64 value = number.toULongLong();
        if (value <= quint64(std::numeric_limits<qint64>::max()))
            m_map.insert(key, qint64(value));
        else
            m_map.insert(key, double(value));
        return;
    }
    case QMetaType::Float:
    case QMetaType::Double:
        m_map.insert(key, number.toDouble());
        return;
    default:
        if (number.isValid())
            std::fprintf(stderr, "KeyedArchiver: \"%s\" is not a number and is not written\n", qPrintable(key));
        return;
    }
}

QByteArray KeyedArchiver::encodedData() const
{
    // UseFloat writes every double that single precision holds exactly as float32: the float
    // fields stay float32 on disk, and no other number loses anything.
    return QCborValue(m_map).toCbor(QCborValue::UseFloat);
}

KeyedUnarchiver::KeyedUnarchiver(QCborMap map)
    : m_map(std::move(map))
{
}

std::optional<QCborMap> KeyedUnarchiver::parseDocument(const QByteArray& data)
{
    if (data.isEmpty()) {
        std::fprintf(stderr, "KeyedUnarchiver: empty archive\n");
        return std::nullopt;
    }
    QCborParserError error;
    const QCborValue root = QCborValue::fromCbor(data, &error);
    if (error.error != QCborError::NoError) {
        std::fprintf(stderr, "KeyedUnarchiver: damaged archive at byte %lld: %s\n", qint64(error.offset),
            qPrintable(error.errorString()));
        return std::nullopt;
    }
    if (error.offset != data.size()) {
        std::fprintf(stderr, "KeyedUnarchiver: damaged archive: %lld stray bytes after the root object\n",
            qint64(data.size() - error.offset));
        return std::nullopt;
    }
    if (!root.isMap()) {
        std::fprintf(stderr, "KeyedUnarchiver: the archive's root is not an object\n");
        return std::nullopt;
    }
    return root.toMap();
}

bool KeyedUnarchiver::containsValueForKey(const QString& key) const
{
    return m_map.contains(key);
}

QCborValue KeyedUnarchiver::valueForKey(const QString& key) const
{
    const auto it = m_map.constFind(key);
    return it == m_map.constEnd() ? QCborValue(QCborValue::Undefined) : it.value();
}

void KeyedUnarchiver::fail(const QString& reason)
{
    if (m_failed)
        return;
    m_failed = true;
    m_reason = reason;
}

void KeyedUnarchiver::reportFailure() const
{
    std::fprintf(stderr, "KeyedUnarchiver: archive refused: %s\n", qPrintable(m_reason));
}

std::optional<QCborMap> KeyedUnarchiver::objectMap(const QCborValue& value, const char* className)
{
    const QString expected = QString::fromLatin1(className);
    if (!value.isMap()) {
        fail(QStringLiteral("a %1 is not an object").arg(expected));
        return std::nullopt;
    }
    QCborMap map = value.toMap();
    const QCborValue found = map.value(kClassKey);
    if (!found.isString() || found.toString() != expected) {
        fail(QStringLiteral("expected a %1, found class \"%2\"").arg(expected, found.toString()));
        return std::nullopt;
    }
    return map;
}

std::optional<double> KeyedUnarchiver::numberForKey(const QString& key)
{
    const QCborValue value = valueForKey(key);
    if (value.isUndefined() || value.isNull())
        return std::nullopt;
    if (value.isBool())
        return value.toBool() ? 1.0 : 0.0;
    if (value.isInteger())
        return static_cast<double>(value.toInteger());
    if (value.isDouble())
        return value.toDouble();
    fail(QStringLiteral("\"%1\" is not a number").arg(key));
    return std::nullopt;
}

QString KeyedUnarchiver::decodeString(const QString& key)
{
    const QCborValue value = valueForKey(key);
    if (value.isUndefined() || value.isNull())
        return {};
    if (!value.isString()) {
        fail(QStringLiteral("\"%1\" is not a string").arg(key));
        return {};
    }
    // An empty string stays an empty string, not nil.
    const QString text = value.toString();
    return text.isNull() ? QString(QLatin1String("")) : text;
}

float KeyedUnarchiver::decodeFloat(const QString& key)
{
    return static_cast<float>(numberForKey(key).value_or(0.0));
}

qint32 KeyedUnarchiver::decodeInt32(const QString& key)
{
    const QCborValue value = valueForKey(key);
    if (value.isInteger()) {
        const qint64 integer = value.toInteger();
        if (integer < std::numeric_limits<qint32>::min() || integer > std::numeric_limits<qint32>::max()) {
            fail(QStringLiteral("\"%1\" is outside the 32-bit range").arg(key));
            return 0;
        }
        return static_cast<qint32>(integer);
    }
    const double number = numberForKey(key).value_or(0.0);
    if (!std::isfinite(number) || number <= double(std::numeric_limits<qint32>::min()) - 1.0
        || number >= double(std::numeric_limits<qint32>::max()) + 1.0) {
        fail(QStringLiteral("\"%1\" is not a 32-bit integer").arg(key));
        return 0;
    }
    return static_cast<qint32>(number);
}

bool KeyedUnarchiver::decodeBool(const QString& key)
{
    return numberForKey(key).value_or(0.0) != 0.0;
}

QVariant KeyedUnarchiver::decodeNumber(const QString& key)
{
    const QCborValue value = valueForKey(key);
    if (value.isUndefined() || value.isNull())
        return {};
    if (value.isBool())
        return value.toBool();
    if (value.isInteger())
        return value.toInteger();
    if (value.isDouble())
        return value.toDouble();
    fail(QStringLiteral("\"%1\" is not a number").arg(key));
    return {};
}

} // namespace vantrel
