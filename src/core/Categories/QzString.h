#pragma once

#include <functional>
#include <optional>

#include <QString>

/// Text helpers: trimming, XML-escaping wrappers and URL coding. Each returns a new text and
/// leaves its argument unchanged.
namespace vantrel::QzString {

/// A set of characters, given as a membership test.
using CharacterSet = std::function<bool(QChar)>;

/// White space and line breaks (blanks, tabs, CR, LF, and the Unicode separators).
bool isWhitespaceOrNewline(QChar c);

/// The text without leading and trailing white space and line breaks.
QString trim(const QString& text);

QString xmlSimpleEscapeString(const QString& text);
QString xmlSimpleEscapeStringNEW(const QString& text);
QString xmlSimpleUnescapeString(const QString& text);

/// Percent-encodes the UTF-8 bytes of the text; only A-Z, a-z, 0-9 and "-._~" stay as they are
/// (so every one of "!*'();:@&=+$,/?%#[]" is escaped).
QString URLEncodedString(const QString& text);
/// Replaces every percent escape. Nothing when an escape is malformed or the bytes are not
/// valid UTF-8.
std::optional<QString> URLDecodedString(const QString& text);

/// From the first character outside the set; empty when every character is in it.
QString stringByTrimmingLeadingCharactersInSet(const QString& text, const CharacterSet& set);
/// Up to and including the last character outside the set; empty when every character is in it.
QString stringByTrimmingTrailingCharactersInSet(const QString& text, const CharacterSet& set);
QString stringByTrimmingLeadingAndTrailingCharactersInSet(const QString& text, const CharacterSet& set);

QString stringByTrimmingLeadingWhitespaceAndNewlineCharacters(const QString& text);
QString stringByTrimmingTrailingWhitespaceAndNewlineCharacters(const QString& text);
QString stringByTrimmingLeadingAndTrailingWhitespaceAndNewlineCharacters(const QString& text);

} // namespace vantrel::QzString
