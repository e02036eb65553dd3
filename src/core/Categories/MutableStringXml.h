#pragma once

#include <QString>

/// In-place XML escapers and unescaper. Each replaces every occurrence literally, over the whole
/// current text, step after step in a fixed order (later steps see what earlier ones wrote), and
/// returns the changed text.
namespace vantrel::MutableStringXml {

/// "&" -> "&amp;", '"' -> "&quot;", "'" -> "&#x27;", ">" -> "&gt;", "<" -> "&lt;". The ampersand
/// goes first so the entities of the later steps are not escaped again; entities already in the
/// text are escaped once more.
QString& xmlSimpleEscape(QString& text);

/// The form for free-text values that travel inside a document escaped once more as a whole:
/// "&" -> "&amp;amp;", '"' -> "&quot;", "'" -> "&#x27;", ">" -> "&gt;", "<" -> "(lessthan)".
QString& xmlSimpleEscapeNEW(QString& text);

/// "&amp;" first, then quotes, apostrophes (also "&#x39;", "&#x92;", "&#x96;"), "&#x000D;" and
/// "&#x000A;" to line feeds, then "&gt;" and "&lt;". Because "&amp;" goes first, an entity escaped
/// twice ends fully unescaped.
QString& xmlSimpleUnescape(QString& text);

} // namespace vantrel::MutableStringXml
