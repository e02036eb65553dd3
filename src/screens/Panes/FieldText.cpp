#include "screens/Panes/FieldText.h"

#include <cmath>
#include <limits>

#include "core/Processing/OutputPathBuilder.h"

namespace vantrel::FieldText {

namespace {

// The longest prefix of the form [blanks][sign]digits[.digits], as a double; nothing parsed is 0.
double leadingNumber(const QString& text)
{
    int i = 0;
    while (i < text.size() && text[i].isSpace())
        ++i;
    const int start = i;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+'))
        ++i;
    int digits = 0;
    while (i < text.size() && text[i] >= u'0' && text[i] <= u'9') {
        ++i;
        ++digits;
    }
    if (i < text.size() && text[i] == u'.') {
        ++i;
        while (i < text.size() && text[i] >= u'0' && text[i] <= u'9') {
            ++i;
            ++digits;
        }
    }
    if (digits == 0)
        return 0.0;
    bool ok = false;
    const double value = text.mid(start, i - start).toDouble(&ok);
    return ok ? value : 0.0;
}

} // namespace

float floatValue(const QString& text)
{
    return float(leadingNumber(text));
}

qint32 intValue(const QString& text)
{
    const double value = std::trunc(leadingNumber(text));
    if (value >= double(std::numeric_limits<qint32>::max()))
        return std::numeric_limits<qint32>::max();
    if (value <= double(std::numeric_limits<qint32>::min()))
        return std::numeric_limits<qint32>::min();
    return qint32(value);
}

QString withoutGroupingSeparators(const QString& text)
{
    QString result = text;
    result.remove(u',');
    return result;
}

QString fileNamePart(const QString& text, int maxLength)
{
    QString result;
    result.reserve(text.size());
    for (const QChar c : OutputPathBuilder::validFileNameString(text)) {
        const char16_t u = c.unicode();
        if (u >= 0x20 && u != 0x7F)
            result.append(c);
    }
    if (result.size() > maxLength) {
        int cut = maxLength;
        if (cut > 0 && result[cut - 1].isHighSurrogate())
            --cut; // never leave half of a pair
        result.truncate(cut);
    }
    return result;
}

} // namespace vantrel::FieldText
