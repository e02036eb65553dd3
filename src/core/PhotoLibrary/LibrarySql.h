#pragma once

#include <QHash>
#include <QString>

namespace vantrel {

class SqliteDatabase;

/// Small SQL helpers shared by the library readers.
namespace LibrarySql {

/// `name` as a quoted SQL identifier ("a""b" for a"b).
QString quoteIdentifier(const QString& name);
/// Opens `path` read-only (never creates it).
bool openReadOnly(SqliteDatabase& db, const QString& path);
/// Opens `path` read-write without creating it.
bool openReadWrite(SqliteDatabase& db, const QString& path);
bool tableExists(const SqliteDatabase& db, const QString& table);
/// Column name to position, from "PRAGMA table_info"; empty for a missing table.
QHash<QString, int> columnPositions(const SqliteDatabase& db, const QString& table);

} // namespace LibrarySql
} // namespace vantrel
