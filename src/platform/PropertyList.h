#pragma once

#include <optional>

#include <QByteArray>
#include <QString>
#include <QVariant>

namespace vantrel::PropertyList {

/// Reads an XML property list: dict -> QVariantMap, array -> QVariantList, string -> QString,
/// integer -> qint64, real -> double, true/false -> bool, date -> QDateTime (UTC), data ->
/// QByteArray. Never resolves external entities (a DOCTYPE's entities are not expanded).
/// Returns nothing for damaged or non-plist input.
std::optional<QVariant> read(const QByteArray& xml);
std::optional<QVariant> readFile(const QString& path);

/// Writes an XML property list of the same value types (tests and fixtures use it).
QByteArray write(const QVariant& root);
bool writeFile(const QVariant& root, const QString& path);

} // namespace vantrel::PropertyList
