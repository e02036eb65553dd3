#pragma once

#include <optional>

#include <QString>
#include <QXmlStreamReader>

/// The token walk shared by the property-list readers (the whole-tree reader and the streaming
/// album reader): each function advances a QXmlStreamReader over the layout of a property list
/// and fails on anything a property list does not hold. Entities are never expanded.
namespace vantrel::PropertyListTokens {

/// Advances to the document's first start element. Fails on stray text, an end element, an entity
/// reference, a parse error, or a DOCTYPE that declares entities or notations.
bool nextElement(QXmlStreamReader& xml);

/// The text of the current element up to its end (a null text when it has none); a nested
/// element, an entity reference or a parse error gives nothing.
std::optional<QString> elementText(QXmlStreamReader& xml);

/// Skips whitespace, comments and processing instructions; returns the next start or end
/// element, or Invalid on anything else.
QXmlStreamReader::TokenType skipToElementBoundary(QXmlStreamReader& xml);

/// Reads what follows the root value: only its end element, whitespace, comments and processing
/// instructions may follow. False on another element, stray text, an entity or a parse error.
bool onlyTheEndFollows(QXmlStreamReader& xml);

} // namespace vantrel::PropertyListTokens
