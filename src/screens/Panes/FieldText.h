#pragma once

#include <QString>

namespace vantrel::FieldText {

/// The number at the start of a field's text, read the way text fields give their values: leading
/// blanks skipped, an optional sign, digits with an optional fraction; 0 when the text does not
/// start with a number. Single precision, as the size arithmetic reads it.
float floatValue(const QString& text);
/// The whole part of the leading number (clamped to the 32-bit range); 0 when there is none.
qint32 intValue(const QString& text);
/// The text without "," (grouping separators that a paste may bring along).
QString withoutGroupingSeparators(const QString& text);
/// The text without ":;,./\?%*|"<>" (characters a file name may not hold here), without control
/// characters (U+0000 to U+001F, U+007F), and cut to at most `maxLength` UTF-16 units without
/// splitting a surrogate pair.
QString fileNamePart(const QString& text, int maxLength);

} // namespace vantrel::FieldText
