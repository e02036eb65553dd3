#pragma once

#include <concepts>
#include <optional>

#include <QByteArray>
#include <QCborArray>
#include <QCborMap>
#include <QCborValue>
#include <QList>
#include <QString>
#include <QVariant>

namespace vantrel {

class KeyedArchiver;
class KeyedUnarchiver;

/// A record that can be stored in a keyed archive: it names its class (part of the stored format),
/// writes its keys, and rebuilds itself from a coder. initWithCoder must start from zero values,
/// not from the record's defaults: an absent key reads as 0, NO or nil.
template <class T>
concept KeyedArchivable = requires(const T& object, KeyedArchiver& archiver, KeyedUnarchiver& unarchiver)
{
    {
        T::kClassName
        } -> std::convertible_to<const char*>;
    object.encodeWithCoder(archiver);
    {
        T::initWithCoder(unarchiver)
        } -> std::same_as<T>;
};

/// Writes a keyed archive: a CBOR document in which every object is a map holding "$class" (the
/// record's class name) and its keys. Scalars keep the type they were encoded with (float32 as a
/// single-precision CBOR float, int32 and bool as CBOR integers and booleans); nested records are
/// nested maps, lists of records are arrays of maps. A nil value (null string, invalid number,
/// empty optional) is not written at all, so it reads back as nil.
class KeyedArchiver {
public:
    explicit KeyedArchiver(const char* className);

    template <KeyedArchivable T> static QByteArray archivedDataWithRootObject(const T& root)
    {
        return encodeRecord(root).encodedData();
    }

    void encodeString(const QString& value, const QString& key);
    void encodeFloat(float value, const QString& key);
    void encodeInt32(qint32 value, const QString& key);
    void encodeBool(bool value, const QString& key);
    /// A number as held: bool, an integer type, float or double. An invalid QVariant is nil.
    void encodeNumber(const QVariant& number, const QString& key);

    template <KeyedArchivable T> void encodeObject(const T& object, const QString& key)
    {
        m_map.insert(key, encodeRecord(object).m_map);
    }

    template <KeyedArchivable T> void encodeObject(const std::optional<T>& object, const QString& key)
    {
        if (object)
            encodeObject(*object, key);
    }

    template <KeyedArchivable T> void encodeArray(const QList<T>& objects, const QString& key)
    {
        QCborArray array;
        for (const T& object : objects)
            array.append(encodeRecord(object).m_map);
        m_map.insert(key, array);
    }

    const QCborMap& map() const { return m_map; }
    /// The CBOR bytes of this object; floats that were encoded as float32 stay single precision.
    QByteArray encodedData() const;

private:
    template <KeyedArchivable T> static KeyedArchiver encodeRecord(const T& object)
    {
        KeyedArchiver archiver(T::kClassName);
        object.encodeWithCoder(archiver);
        return archiver;
    }

    QCborMap m_map;
};

/// Reads a keyed archive written by KeyedArchiver. Every decode of an absent key gives the zero
/// value (0, NO, a null string, an invalid number, nil). A value of the wrong type, an object of
/// the wrong class or damaged bytes make the whole archive decode as nil; nothing throws.
class KeyedUnarchiver {
public:
    template <KeyedArchivable T> static std::optional<T> unarchiveObjectWithData(const QByteArray& data)
    {
        const std::optional<QCborMap> root = parseDocument(data);
        if (!root)
            return std::nullopt;
        KeyedUnarchiver unarchiver(*root);
        std::optional<T> object = unarchiver.decodeRecord<T>(*root);
        if (unarchiver.hasFailed()) {
            unarchiver.reportFailure();
            return std::nullopt;
        }
        return object;
    }

    bool containsValueForKey(const QString& key) const;

    /// A text string; absent gives a null QString.
    QString decodeString(const QString& key);
    /// Any number (a float32 as written, or a wider one) converted to single precision.
    float decodeFloat(const QString& key);
    /// Any number within the 32-bit range; a fraction is cut.
    qint32 decodeInt32(const QString& key);
    /// A boolean, or a number where non-zero is YES.
    bool decodeBool(const QString& key);
    /// The number object as held (bool, qint64 or double); absent gives an invalid QVariant.
    QVariant decodeNumber(const QString& key);

    template <KeyedArchivable T> std::optional<T> decodeObject(const QString& key)
    {
        const QCborValue value = valueForKey(key);
        if (value.isUndefined() || value.isNull())
            return std::nullopt;
        return decodeRecord<T>(value);
    }

    /// A list of records; absent gives an empty list. A nil or foreign element fails the archive.
    template <KeyedArchivable T> QList<T> decodeArray(const QString& key)
    {
        const QCborValue value = valueForKey(key);
        if (value.isUndefined() || value.isNull())
            return {};
        if (!value.isArray()) {
            fail(QStringLiteral("\"%1\" is not an array").arg(key));
            return {};
        }
        QList<T> objects;
        const QCborArray array = value.toArray();
        objects.reserve(array.size());
        for (const QCborValue& item : array) {
            std::optional<T> object = decodeRecord<T>(item);
            if (!object)
                return {};
            objects.append(std::move(*object));
        }
        return objects;
    }

    bool hasFailed() const { return m_failed; }
    /// Marks the archive as damaged; the record being decoded and every record above it become nil.
    void fail(const QString& reason);

private:
    explicit KeyedUnarchiver(QCborMap map);

    static std::optional<QCborMap> parseDocument(const QByteArray& data);
    QCborValue valueForKey(const QString& key) const;
    // The map of a nested object when it is one of className; otherwise fails.
    std::optional<QCborMap> objectMap(const QCborValue& value, const char* className);
    std::optional<double> numberForKey(const QString& key);
    void reportFailure() const;

    template <KeyedArchivable T> std::optional<T> decodeRecord(const QCborValue& value)
    {
        if (m_failed)
            return std::nullopt;
        const std::optional<QCborMap> map = objectMap(value, T::kClassName);
        if (!map)
            return std::nullopt;
        KeyedUnarchiver nested(*map);
        T object = T::initWithCoder(nested);
        if (nested.hasFailed()) {
            fail(nested.m_reason);
            return std::nullopt;
        }
        return object;
    }

    QCborMap m_map;
    bool m_failed = false;
    QString m_reason;
};

} // namespace vantrel
