#include "platform/PropertyList.h"

#include <cstdio>

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QSaveFile>
#include <QTimeZone>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

#include "platform/PropertyListTokens.h"

namespace vantrel::PropertyList {

namespace {

// Nesting deeper than this is treated as damage: a hostile document must not exhaust the stack.
constexpr int kMaxDepth = 256;

class Reader {
public:
    explicit Reader(const QByteArray& xml)
        : m_xml(xml)
    {
    }

    std::optional<QVariant> parseDocument()
    {
        if (!PropertyListTokens::nextElement(m_xml) || m_xml.name() != QLatin1String("plist"))
            return std::nullopt;
        if (!PropertyListTokens::nextElement(m_xml))
            return std::nullopt;
        std::optional<QVariant> root = parseValue(0);
        if (!root || !PropertyListTokens::onlyTheEndFollows(m_xml))
            return std::nullopt;
        return root;
    }

private:
    std::optional<QString> elementText() { return PropertyListTokens::elementText(m_xml); }
    QXmlStreamReader::TokenType skipToElementBoundary() { return PropertyListTokens::skipToElementBoundary(m_xml); }

    // Reads the value whose start element is current and leaves the reader on its end element.
    std::optional<QVariant> parseValue(int depth)
    {
        if (depth > kMaxDepth)
            return std::nullopt;
        const QStringView name = m_xml.name();
        if (name == QLatin1String("dict"))
            return parseDict(depth);
        if (name == QLatin1String("array"))
            return parseArray(depth);
        if (name == QLatin1String("true") || name == QLatin1String("false")) {
            const bool value = name == QLatin1String("true");
            const std::optional<QString> text = elementText();
            if (!text || !text->trimmed().isEmpty())
                return std::nullopt;
            return QVariant(value);
        }
        const QString element = name.toString();
        const std::optional<QString> text = elementText();
        if (!text)
            return std::nullopt;
        if (element == QLatin1String("string"))
            return QVariant(text->isNull() ? QString(QLatin1String("")) : *text); // empty, not null
        if (element == QLatin1String("integer"))
            return parseInteger(text->trimmed());
        if (element == QLatin1String("real"))
            return parseReal(text->trimmed());
        if (element == QLatin1String("date"))
            return parseDate(text->trimmed());
        if (element == QLatin1String("data"))
            return parseData(*text);
        return std::nullopt;
    }

    std::optional<QVariant> parseDict(int depth)
    {
        QVariantMap map;
        while (true) {
            const QXmlStreamReader::TokenType token = skipToElementBoundary();
            if (token == QXmlStreamReader::EndElement)
                return QVariant(map);
            if (token != QXmlStreamReader::StartElement || m_xml.name() != QLatin1String("key"))
                return std::nullopt;
            const std::optional<QString> key = elementText();
            if (!key || skipToElementBoundary() != QXmlStreamReader::StartElement)
                return std::nullopt;
            std::optional<QVariant> value = parseValue(depth + 1);
            if (!value)
                return std::nullopt;
            map.insert(*key, *value);
        }
    }

    std::optional<QVariant> parseArray(int depth)
    {
        QVariantList list;
        while (true) {
            const QXmlStreamReader::TokenType token = skipToElementBoundary();
            if (token == QXmlStreamReader::EndElement)
                return QVariant(list);
            if (token != QXmlStreamReader::StartElement)
                return std::nullopt;
            std::optional<QVariant> value = parseValue(depth + 1);
            if (!value)
                return std::nullopt;
            list.append(*value);
        }
    }

    static std::optional<QVariant> parseInteger(const QString& text)
    {
        bool ok = false;
        const qint64 value = text.toLongLong(&ok, 10);
        if (ok)
            return QVariant(value);
        // Values above INT64_MAX are kept as unsigned rather than refused.
        const quint64 large = text.toULongLong(&ok, 10);
        if (ok)
            return QVariant(large);
        return std::nullopt;
    }

    static std::optional<QVariant> parseReal(const QString& text)
    {
        bool ok = false;
        const double value = QLocale::c().toDouble(text, &ok);
        if (ok)
            return QVariant(value);
        const QString lower = text.toLower();
        if (lower == QLatin1String("nan"))
            return QVariant(qQNaN());
        if (lower == QLatin1String("inf") || lower == QLatin1String("+inf") || lower == QLatin1String("infinity")
            || lower == QLatin1String("+infinity"))
            return QVariant(qInf());
        if (lower == QLatin1String("-inf") || lower == QLatin1String("-infinity"))
            return QVariant(-qInf());
        return std::nullopt;
    }

    static std::optional<QVariant> parseDate(const QString& text)
    {
        QDateTime date = QDateTime::fromString(text, Qt::ISODate);
        if (!date.isValid())
            return std::nullopt;
        return QVariant(date.toUTC());
    }

    static std::optional<QVariant> parseData(const QString& text)
    {
        QByteArray compact = text.toLatin1();
        compact.replace(' ', QByteArray()).replace('\n', QByteArray()).replace('\r', QByteArray());
        compact.replace('\t', QByteArray());
        const QByteArray::FromBase64Result decoded
            = QByteArray::fromBase64Encoding(compact, QByteArray::AbortOnBase64DecodingErrors);
        if (!decoded)
            return std::nullopt;
        return QVariant(decoded.decoded);
    }

    QXmlStreamReader m_xml;
};

bool writeValue(QXmlStreamWriter& xml, const QVariant& value, int depth)
{
    if (depth > kMaxDepth)
        return false;
    switch (value.typeId()) {
    case QMetaType::QVariantMap: {
        const QVariantMap map = value.toMap();
        xml.writeStartElement(QStringLiteral("dict"));
        for (auto it = map.begin(); it != map.end(); ++it) {
            xml.writeTextElement(QStringLiteral("key"), it.key());
            if (!writeValue(xml, it.value(), depth + 1))
                return false;
        }
        xml.writeEndElement();
        return true;
    }
    case QMetaType::QVariantHash: {
        // Sorted like a map so that the same content always gives the same bytes.
        QVariantMap map;
        const QVariantHash hash = value.toHash();
        for (auto it = hash.begin(); it != hash.end(); ++it)
            map.insert(it.key(), it.value());
        return writeValue(xml, map, depth);
    }
    case QMetaType::QVariantList:
    case QMetaType::QStringList: {
        const QVariantList list = value.toList();
        xml.writeStartElement(QStringLiteral("array"));
        for (const QVariant& item : list) {
            if (!writeValue(xml, item, depth + 1))
                return false;
        }
        xml.writeEndElement();
        return true;
    }
    case QMetaType::QString:
        xml.writeTextElement(QStringLiteral("string"), value.toString());
        return true;
    case QMetaType::Bool:
        xml.writeEmptyElement(value.toBool() ? QStringLiteral("true") : QStringLiteral("false"));
        return true;
    case QMetaType::Int:
    case QMetaType::Short:
    case QMetaType::Long:
    case QMetaType::LongLong:
    case QMetaType::SChar:
        xml.writeTextElement(QStringLiteral("integer"), QString::number(value.toLongLong()));
        return true;
    case QMetaType::UInt:
    case QMetaType::UShort:
    case QMetaType::ULong:
    case QMetaType::ULongLong:
    case QMetaType::UChar:
        xml.writeTextElement(QStringLiteral("integer"), QString::number(value.toULongLong()));
        return true;
    case QMetaType::Float:
    case QMetaType::Double: {
        // The shortest text that reads back as the same double.
        const double d = value.toDouble();
        QString text;
        if (qIsNaN(d))
            text = QStringLiteral("nan");
        else if (qIsInf(d))
            text = d > 0 ? QStringLiteral("+infinity") : QStringLiteral("-infinity");
        else
            text = QString::number(d, 'g', QLocale::FloatingPointShortest);
        xml.writeTextElement(QStringLiteral("real"), text);
        return true;
    }
    case QMetaType::QDateTime: {
        const QDateTime date = value.toDateTime();
        if (!date.isValid())
            return false;
        xml.writeTextElement(QStringLiteral("date"), date.toUTC().toString(Qt::ISODate));
        return true;
    }
    case QMetaType::QByteArray:
        xml.writeTextElement(QStringLiteral("data"), QString::fromLatin1(value.toByteArray().toBase64()));
        return true;
    default:
        return false;
    }
}

} // namespace

std::optional<QVariant> read(const QByteArray& xml)
{
    Reader reader(xml);
    return reader.parseDocument();
}

std::optional<QVariant> readFile(const QString& path)
{
    // Only a regular file: a FIFO or device under a property-list name would block the read.
    if (!QFileInfo(path).isFile())
        return std::nullopt;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return read(file.readAll());
}

QByteArray write(const QVariant& root)
{
    QByteArray out;
    QXmlStreamWriter xml(&out);
    xml.setAutoFormatting(true);
    xml.setAutoFormattingIndent(-1);
    xml.writeStartDocument(QStringLiteral("1.0"));
    xml.writeStartElement(QStringLiteral("plist"));
    xml.writeAttribute(QStringLiteral("version"), QStringLiteral("1.0"));
    if (!writeValue(xml, root, 0)) {
        std::fprintf(stderr, "PropertyList: a value of an unsupported type cannot be written\n");
        return {};
    }
    xml.writeEndElement();
    xml.writeEndDocument();
    if (xml.hasError())
        return {};
    return out;
}

bool writeFile(const QVariant& root, const QString& path)
{
    const QByteArray bytes = write(root);
    if (bytes.isEmpty())
        return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        std::fprintf(stderr, "PropertyList: could not write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

} // namespace vantrel::PropertyList
