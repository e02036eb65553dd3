#include "core/PhotoLibrary/AlbumFile.h"

#include <QFile>
#include <QFileInfo>
#include <QXmlStreamReader>

#include "platform/PropertyListTokens.h"

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
        if (!PropertyListTokens::nextElement(m_xml) || m_xml.name() != QLatin1String("plist"))
            return std::nullopt;
        if (!PropertyListTokens::nextElement(m_xml) || m_xml.name() != kDict)
            return std::nullopt;
        if (!readRoot())
            return std::nullopt;
        if (!m_stopped && !PropertyListTokens::onlyTheEndFollows(m_xml))
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
            const QXmlStreamReader::TokenType token = PropertyListTokens::skipToElementBoundary(m_xml);
            if (token == QXmlStreamReader::EndElement)
                return true;
            if (token != QXmlStreamReader::StartElement || m_xml.name() != kKey)
                return false;
            const std::optional<QString> key = PropertyListTokens::elementText(m_xml);
            if (!key || PropertyListTokens::skipToElementBoundary(m_xml) != QXmlStreamReader::StartElement)
                return false;
            if (!value(*key))
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
        std::optional<QString> read = PropertyListTokens::elementText(m_xml);
        if (!read)
            return false;
        text = std::move(*read);
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
