#include "core/Helper/LanguageTableReader.h"

#include <QFile>
#include <QXmlStreamReader>

namespace vantrel::LanguageTableReader {

namespace {

// Moves to the next start element inside the current one; false at its end or on an error.
bool nextChild(QXmlStreamReader& xml)
{
    return xml.readNextStartElement();
}

} // namespace

std::optional<LanguageTable> read(const QByteArray& data)
{
    QXmlStreamReader xml(data);
    if (!nextChild(xml) || xml.name() != QLatin1String("plist"))
        return std::nullopt;
    if (!nextChild(xml) || xml.name() != QLatin1String("dict"))
        return std::nullopt;

    LanguageTable table;
    QString key;
    bool haveKey = false;
    while (nextChild(xml)) {
        if (xml.name() == QLatin1String("key")) {
            key = xml.readElementText();
            haveKey = true;
        } else if (xml.name() == QLatin1String("string")) {
            const QString text = xml.readElementText();
            if (haveKey)
                table.insert(key, text);
            haveKey = false;
        } else {
            xml.skipCurrentElement(); // numbers, nested collections: not captions
            haveKey = false;
        }
    }
    // The rest of the document must be well formed too.
    while (!xml.atEnd() && !xml.hasError())
        xml.readNext();
    if (xml.hasError())
        return std::nullopt;
    return table;
}

std::optional<LanguageTable> readFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return read(file.readAll());
}

} // namespace vantrel::LanguageTableReader
