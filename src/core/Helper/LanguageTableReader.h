#pragma once

#include <optional>

#include <QByteArray>
#include <QString>

#include "core/AppDelegate.h"

namespace vantrel::LanguageTableReader {

/// Reads a language table: an XML property list whose root is a dictionary from caption key to
/// caption text (read by PropertyList). Entries whose value is not a string are skipped; entities
/// are never resolved.
/// Nothing for damaged input or a root that is not a dictionary.
std::optional<LanguageTable> read(const QByteArray& xml);
std::optional<LanguageTable> readFile(const QString& path);

} // namespace vantrel::LanguageTableReader
