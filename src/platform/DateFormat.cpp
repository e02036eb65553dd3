#include "platform/DateFormat.h"

#include <memory>

#include <QLocale>
#include <QTimeZone>

#include <unicode/gregocal.h>
#include <unicode/smpdtfmt.h>
#include <unicode/timezone.h>
#include <unicode/unistr.h>

namespace vantrel::DateFormat {

namespace {

icu::UnicodeString toIcu(const QString& s)
{
    return icu::UnicodeString(reinterpret_cast<const char16_t*>(s.utf16()), static_cast<int32_t>(s.size()));
}

QString fromIcu(const icu::UnicodeString& s)
{
    return QString(reinterpret_cast<const QChar*>(s.getBuffer()), s.length());
}

const char* const kPosixLocale = "en_US_POSIX";

std::unique_ptr<icu::SimpleDateFormat> makeFormatter(
    const QString& pattern, bool utc, const icu::Locale& locale = icu::Locale(kPosixLocale))
{
    UErrorCode status = U_ZERO_ERROR;
    auto fmt = std::make_unique<icu::SimpleDateFormat>(toIcu(pattern), locale, status);
    if (U_FAILURE(status))
        return nullptr;
    icu::TimeZone* zone = utc ? icu::TimeZone::getGMT()->clone() : icu::TimeZone::createDefault();
    auto* calendar = new icu::GregorianCalendar(zone, locale, status);
    if (U_FAILURE(status)) {
        delete calendar;
        return nullptr;
    }
    fmt->adoptCalendar(calendar);
    fmt->setLenient(false);
    return fmt;
}

QString formatWith(std::unique_ptr<icu::SimpleDateFormat> fmt, const QDateTime& when)
{
    if (!fmt || !when.isValid())
        return {};
    icu::UnicodeString out;
    fmt->format(static_cast<UDate>(when.toMSecsSinceEpoch()), out);
    return fromIcu(out);
}

/// The ICU locale of QLocale's default (the user's locale unless a test sets another); the C
/// locale reads as en_US_POSIX.
icu::Locale userLocale()
{
    const QLocale user;
    const QByteArray name = user.language() == QLocale::C ? QByteArray(kPosixLocale) : user.name().toLatin1();
    return icu::Locale(name.constData());
}

std::optional<QDateTime> parseWith(std::unique_ptr<icu::SimpleDateFormat> fmt, const QString& text, bool utc)
{
    if (!fmt)
        return std::nullopt;
    icu::ParsePosition pos(0);
    const icu::UnicodeString input = toIcu(text);
    const UDate date = fmt->parse(input, pos);
    if (pos.getErrorIndex() >= 0 || pos.getIndex() != input.length())
        return std::nullopt;
    return QDateTime::fromMSecsSinceEpoch(
        static_cast<qint64>(date), utc ? QTimeZone::utc() : QTimeZone::systemTimeZone());
}

} // namespace

QString format(const QDateTime& when, const QString& pattern, bool utc)
{
    return formatWith(makeFormatter(pattern, utc), when);
}

QString formatForUser(const QDateTime& when, const QString& pattern)
{
    return formatWith(makeFormatter(pattern, false, userLocale()), when);
}

std::optional<QDateTime> parse(const QString& text, const QString& pattern, bool utc)
{
    return parseWith(makeFormatter(pattern, utc), text, utc);
}

std::optional<QDateTime> parseForUser(const QString& text, const QString& pattern)
{
    if (auto date = parseWith(makeFormatter(pattern, false, userLocale()), text, false))
        return date;
    return parse(text, pattern);
}

} // namespace vantrel::DateFormat
