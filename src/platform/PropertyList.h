#pragma once

#include <optional>

#include <QByteArray>
#include <QString>
#include <QVariant>

namespace vantrel::PropertyList {

/// Reads an XML property list: dict -> QVariantMap, array -> QVariantList, string -> QString,
/// integer -> qint64, real -> double, true/false -> bool, date -> QDateTime (UTC), data ->
/// QByteArray. Never resolves or expands entities: a document whose DOCTYPE declares entities, or
/// that refers to one, is refused. Returns nothing for damaged or non-plist input.
std::optional<QVariant> read(const QByteArray& xml);
std::optional<QVariant> readFile(const QString& path);

/// Writes an XML property list of the same value types (tests and fixtures use it); QVariantHash
/// and QStringList are accepted too. Returns empty bytes when a value has another type.
QByteArray write(const QVariant& root);
bool writeFile(const QVariant& root, const QString& path);

} // namespace vantrel::PropertyList
