#include "core/Categories/QzString.h"

#include <QByteArray>
#include <QStringDecoder>
#include <QUrl>

#include "core/Categories/MutableStringXml.h"

namespace vantrel::QzString {

namespace {

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

} // namespace

bool isWhitespaceOrNewline(QChar c)
{
    return c.isSpace();
}

QString trim(const QString& text)
{
    return stringByTrimmingLeadingAndTrailingWhitespaceAndNewlineCharacters(text);
}

QString xmlSimpleEscapeString(const QString& text)
{
    QString copy = text;
    return MutableStringXml::xmlSimpleEscape(copy);
}

QString xmlSimpleEscapeStringNEW(const QString& text)
{
    QString copy = text;
    return MutableStringXml::xmlSimpleEscapeNEW(copy);
}

QString xmlSimpleUnescapeString(const QString& text)
{
    QString copy = text;
    return MutableStringXml::xmlSimpleUnescape(copy);
}

QString URLEncodedString(const QString& text)
{
    // QUrl's percent-encoding keeps exactly the unreserved characters of RFC 3986.
    return QString::fromLatin1(QUrl::toPercentEncoding(text));
}

std::optional<QString> URLDecodedString(const QString& text)
{
    const QByteArray in = text.toUtf8();
    QByteArray bytes;
    bytes.reserve(in.size());
    for (qsizetype i = 0; i < in.size(); ++i) {
        if (in[i] != '%') {
            bytes.append(in[i]);
            continue;
        }
        if (i + 2 >= in.size())
            return std::nullopt;
        const int hi = hexValue(in[i + 1]);
        const int lo = hexValue(in[i + 2]);
        if (hi < 0 || lo < 0)
            return std::nullopt;
        bytes.append(static_cast<char>(hi * 16 + lo));
        i += 2;
    }
    // A leading byte-order mark is text here, not a marker to drop.
    QStringDecoder decoder(
        QStringDecoder::Utf8, QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    QString out = decoder.decode(bytes);
    if (decoder.hasError())
        return std::nullopt;
    return out;
}

QString stringByTrimmingLeadingCharactersInSet(const QString& text, const CharacterSet& set)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (!set(text.at(i)))
            return text.mid(i);
    }
    return {};
}

QString stringByTrimmingTrailingCharactersInSet(const QString& text, const CharacterSet& set)
{
    for (qsizetype i = text.size() - 1; i >= 0; --i) {
        if (!set(text.at(i)))
            return text.left(i + 1);
    }
    return {};
}

QString stringByTrimmingLeadingAndTrailingCharactersInSet(const QString& text, const CharacterSet& set)
{
    return stringByTrimmingTrailingCharactersInSet(stringByTrimmingLeadingCharactersInSet(text, set), set);
}

QString stringByTrimmingLeadingWhitespaceAndNewlineCharacters(const QString& text)
{
    return stringByTrimmingLeadingCharactersInSet(text, isWhitespaceOrNewline);
}

QString stringByTrimmingTrailingWhitespaceAndNewlineCharacters(const QString& text)
{
    return stringByTrimmingTrailingCharactersInSet(text, isWhitespaceOrNewline);
}

QString stringByTrimmingLeadingAndTrailingWhitespaceAndNewlineCharacters(const QString& text)
{
    return stringByTrimmingLeadingAndTrailingCharactersInSet(text, isWhitespaceOrNewline);
}

} // namespace vantrel::QzString
