#pragma once

#include <optional>

#include <QDateTime>
#include <QString>

namespace vantrel::DateFormat {

/// Formats a moment with an ICU/Unicode date pattern (the patterns the application's texts use:
/// "YYYY" is the week-based year, "a" the AM/PM marker, "s" unpadded seconds) in the fixed
/// en_US_POSIX locale and the local time zone (or UTC when utc is set).
QString format(const QDateTime& when, const QString& pattern, bool utc = false);

/// Formats for display to the user: as format(), in the user's locale (QLocale's default; the C
/// locale reads as en_US_POSIX), so month names and the AM/PM marker are the user's.
QString formatForUser(const QDateTime& when, const QString& pattern);

/// Parses text with an ICU pattern, strictly, in en_US_POSIX and the Gregorian calendar.
/// Returns nothing when the text does not match.
std::optional<QDateTime> parse(const QString& text, const QString& pattern, bool utc = false);

/// Parses text that formatForUser() wrote in the user's locale, or that format() wrote in
/// en_US_POSIX (texts kept from before a change of locale), in the local time zone.
std::optional<QDateTime> parseForUser(const QString& text, const QString& pattern);

} // namespace vantrel::DateFormat
