#include "components/OnlyIntegerValueFormatter.h"

#include <optional>

namespace vantrel {

namespace {

/// Reads one 32-bit integer the way a text scanner does: leading white space skipped, one
/// optional sign, at least one decimal digit. Nothing but white space may follow. Returns no
/// value when the text is not such an integer or the value does not fit in 32 bits.
std::optional<qint32> scanWholeInt32(const QString& text)
{
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n && text.at(i).isSpace())
        ++i;
    bool negative = false;
    if (i < n && (text.at(i) == u'+' || text.at(i) == u'-')) {
        negative = text.at(i) == u'-';
        ++i;
    }
    const qsizetype firstDigit = i;
    qint64 magnitude = 0;
    constexpr qint64 kLimit = qint64(std::numeric_limits<qint32>::max()) + 1; // |INT32_MIN|
    while (i < n && text.at(i) >= u'0' && text.at(i) <= u'9') {
        magnitude = magnitude * 10 + (text.at(i).unicode() - u'0');
        if (magnitude > kLimit)
            return std::nullopt;
        ++i;
    }
    if (i == firstDigit)
        return std::nullopt;
    while (i < n && text.at(i).isSpace())
        ++i;
    if (i != n)
        return std::nullopt;
    const qint64 value = negative ? -magnitude : magnitude;
    if (value > std::numeric_limits<qint32>::max())
        return std::nullopt;
    return static_cast<qint32>(value);
}

} // namespace

OnlyIntegerValueFormatter::OnlyIntegerValueFormatter(QObject* parent)
    : QValidator(parent)
{
}

bool OnlyIntegerValueFormatter::isPartialStringValid(const QString& text) const
{
    return isPartialStringValid(text, m_maxLength, m_maxValue);
}

bool OnlyIntegerValueFormatter::isPartialStringValid(const QString& text, int maxLength, int maxValue)
{
    if (text.isEmpty())
        return true;
    const std::optional<qint32> value = scanWholeInt32(text);
    if (!value)
        return false;
    if (text.size() > maxLength)
        return false;
    if (*value > maxValue)
        return false;
    return *value != 0;
}

QValidator::State OnlyIntegerValueFormatter::validate(QString& input, int& /*pos*/) const
{
    return isPartialStringValid(input) ? Acceptable : Invalid;
}

} // namespace vantrel
