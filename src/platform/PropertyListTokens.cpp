#include "platform/PropertyListTokens.h"

namespace vantrel::PropertyListTokens {

bool nextElement(QXmlStreamReader& xml)
{
    while (!xml.atEnd()) {
        switch (xml.readNext()) {
        case QXmlStreamReader::StartElement:
            return true;
        case QXmlStreamReader::DTD:
            // A property list's DOCTYPE only names its type. Entities, internal or external, are
            // never expanded: a document that declares any is refused rather than partly trusted.
            if (!xml.entityDeclarations().isEmpty() || !xml.notationDeclarations().isEmpty())
                return false;
            break;
        case QXmlStreamReader::Characters:
            if (!xml.isWhitespace())
                return false;
            break;
        case QXmlStreamReader::Comment:
        case QXmlStreamReader::ProcessingInstruction:
        case QXmlStreamReader::StartDocument:
            break;
        default:
            return false;
        }
    }
    return false;
}

std::optional<QString> elementText(QXmlStreamReader& xml)
{
    QString text;
    while (!xml.atEnd()) {
        switch (xml.readNext()) {
        case QXmlStreamReader::Characters:
            text += xml.text();
            break;
        case QXmlStreamReader::Comment:
        case QXmlStreamReader::ProcessingInstruction:
            break;
        case QXmlStreamReader::EndElement:
            return text;
        default:
            return std::nullopt;
        }
    }
    return std::nullopt;
}

QXmlStreamReader::TokenType skipToElementBoundary(QXmlStreamReader& xml)
{
    while (!xml.atEnd()) {
        const QXmlStreamReader::TokenType token = xml.readNext();
        switch (token) {
        case QXmlStreamReader::StartElement:
        case QXmlStreamReader::EndElement:
            return token;
        case QXmlStreamReader::Characters:
            if (!xml.isWhitespace())
                return QXmlStreamReader::Invalid;
            break;
        case QXmlStreamReader::Comment:
        case QXmlStreamReader::ProcessingInstruction:
            break;
        default:
            return QXmlStreamReader::Invalid;
        }
    }
    return QXmlStreamReader::Invalid;
}

bool onlyTheEndFollows(QXmlStreamReader& xml)
{
    while (!xml.atEnd()) {
        const QXmlStreamReader::TokenType token = xml.readNext();
        if (token == QXmlStreamReader::StartElement || token == QXmlStreamReader::EntityReference
            || token == QXmlStreamReader::DTD || (token == QXmlStreamReader::Characters && !xml.isWhitespace()))
            return false;
    }
    return !xml.hasError();
}

} // namespace vantrel::PropertyListTokens
