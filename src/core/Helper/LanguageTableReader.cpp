#include "core/Helper/LanguageTableReader.h"

#include <QVariantMap>

#include "platform/PropertyList.h"

namespace vantrel::LanguageTableReader {

namespace {

std::optional<LanguageTable> fromPropertyList(const std::optional<QVariant>& root)
{
    if (!root || root->typeId() != QMetaType::QVariantMap)
        return std::nullopt;
    const QVariantMap map = root->toMap();
    LanguageTable table;
    table.reserve(map.size());
    for (auto it = map.constBegin(); it != map.constEnd(); ++it) {
        if (it.value().typeId() == QMetaType::QString) // numbers, nested collections: not captions
            table.insert(it.key(), it.value().toString());
    }
    return table;
}

} // namespace

std::optional<LanguageTable> read(const QByteArray& xml)
{
    return fromPropertyList(PropertyList::read(xml));
}

std::optional<LanguageTable> readFile(const QString& path)
{
    return fromPropertyList(PropertyList::readFile(path));
}

} // namespace vantrel::LanguageTableReader
