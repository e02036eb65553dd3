#include "core/PhotoLibrary/AlbumFile.h"

#include <QFile>
#include <QFileInfo>
#include <QXmlStreamReader>

namespace vantrel {

namespace {

const QLatin1String kKey("key");
const QLatin1String kDict("dict");

/// Walks the property list with one token of look-ahead at most. The structure above the kept
/// values (plist, root dictionary, "Master Image List" and its entries) is checked like any
/// property list; a value that is not kept is skipped as well-formed XML, never built.
class AlbumReader {
public:
    AlbumReader(QIODevice* device, AlbumFile::Scope scope)
        : m_xml(device)
        , m_scope(scope)
    {
    }

    std::optional<AlbumFile> read()
    {
        if (!nextElement() || m_xml.name() != QLatin1String("plist"))
            return std::nullopt;
        if (!nextElement() || m_xml.name() != kDict)
            return std::nullopt;
        if (!readRoot())
            return std::nullopt;
        if (m_stopped)
            return std::move(m_album);
        // After the root only </plist> and the end of the document may follow.
        while (!m_xml.atEnd()) {
            const QXmlStreamReader::TokenType token = m_xml.readNext();
            if (token == QXmlStreamReader::StartElement || token == QXmlStreamReader::EntityReference
                || token == QXmlStreamReader::DTD || (token == QXmlStreamReader::Characters && !m_xml.isWhitespace()))
                return std::nullopt;
        }
        if (m_xml.hasError())
            return std::nullopt;
        return std::move(m_album);
    }

private:
    bool readRoot()
    {
        return readDict([this](const QString& key) {
            if (key == QLatin1String("Application Version")) {
                if (!readText(m_album.applicationVersion))
                    return false;
                m_stopped = m_scope == AlbumFile::Scope::ApplicationVersion;
                return true;
            }
            if (m_scope == AlbumFile::Scope::Everything && key == QLatin1String("Archive Path"))
                return readText(m_album.archivePath);
            if (m_scope == AlbumFile::Scope::Everything && key == QLatin1String("Master Image List")
                && m_xml.name() == kDict)
                return readImageList();
            return skipValue();
        });
    }

    bool readImageList()
    {
        return readDict([this](const QString& key) {
            AlbumFile::Paths& paths = m_album.masterImageList[key];
            paths = {};
            if (m_xml.name() != kDict)
                return skipValue();
            return readDict([&](const QString& field) {
                if (field == QLatin1String("ImagePath"))
                    return readText(paths.imagePath);
                if (field == QLatin1String("ThumbPath"))
                    return readText(paths.thumbPath);
                return skipValue();
            });
        });
    }

    /// The current element is a <dict>: hands each key to `value` with the reader on the start of
    /// its value; `value` must leave the reader on that value's end. Stops early once m_stopped.
    template <typename ValueReader> bool readDict(ValueReader value)
    {
        while (!m_stopped) {
            const QXmlStreamReader::TokenType token = skipToElementBoundary();
            if (token == QXmlStreamReader::EndElement)
                return true;
            if (token != QXmlStreamReader::StartElement || m_xml.name() != kKey)
                return false;
            QString key;
            if (!elementText(key) || skipToElementBoundary() != QXmlStreamReader::StartElement)
                return false;
            if (!value(key))
                return false;
        }
        return true;
    }

    /// A <string>, <integer> or <real> value as written; any other value is skipped and leaves `text` null.
    bool readText(QString& text)
    {
        const QStringView name = m_xml.name();
        const bool isString = name == QLatin1String("string");
        if (!isString && name != QLatin1String("integer") && name != QLatin1String("real")) {
            text = QString();
            return skipValue();
        }
        if (!elementText(text))
            return false;
        if (isString && text.isNull())
            text = QLatin1String(""); // an empty text, not an absent one
        else if (!isString)
            text = text.trimmed();
        return true;
    }

    bool skipValue()
    {
        m_xml.skipCurrentElement();
        return !m_xml.hasError();
    }

    /// The text of the current element up to its end; a nested element or an entity fails.
    bool elementText(QString& text)
    {
        text = QString();
        while (!m_xml.atEnd()) {
            switch (m_xml.readNext()) {
            case QXmlStreamReader::Characters:
                text += m_xml.text();
                break;
            case QXmlStreamReader::Comment:
            case QXmlStreamReader::ProcessingInstruction:
                break;
            case QXmlStreamReader::EndElement:
                return true;
            default:
                return false;
            }
        }
        return false;
    }

    /// Advances to the first start element of the document. A DOCTYPE that declares entities or
    /// notations is refused: nothing in an album file is expanded.
    bool nextElement()
    {
        while (!m_xml.atEnd()) {
            switch (m_xml.readNext()) {
            case QXmlStreamReader::StartElement:
                return true;
            case QXmlStreamReader::DTD:
                if (!m_xml.entityDeclarations().isEmpty() || !m_xml.notationDeclarations().isEmpty())
                    return false;
                break;
            case QXmlStreamReader::Characters:
                if (!m_xml.isWhitespace())
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

    /// Skips whitespace and comments; the next start or end element, or Invalid on anything else.
    QXmlStreamReader::TokenType skipToElementBoundary()
    {
        while (!m_xml.atEnd()) {
            const QXmlStreamReader::TokenType token = m_xml.readNext();
            switch (token) {
            case QXmlStreamReader::StartElement:
            case QXmlStreamReader::EndElement:
                return token;
            case QXmlStreamReader::Characters:
                if (!m_xml.isWhitespace())
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

    QXmlStreamReader m_xml;
    AlbumFile::Scope m_scope;
    AlbumFile m_album;
    bool m_stopped = false;
};

} // namespace

std::optional<AlbumFile> AlbumFile::read(QIODevice* device, Scope scope)
{
    if (!device || !device->isReadable())
        return std::nullopt;
    return AlbumReader(device, scope).read();
}

std::optional<AlbumFile> AlbumFile::readFile(const QString& path, Scope scope)
{
    if (!QFileInfo(path).isFile())
        return std::nullopt;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return read(&file, scope);
}

} // namespace vantrel
