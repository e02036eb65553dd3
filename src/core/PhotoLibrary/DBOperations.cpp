#include "core/PhotoLibrary/DBOperations.h"

#include <algorithm>

#include <sqlite3.h>

#include "core/PhotoLibrary/LibraryLog.h"
#include "core/PhotoLibrary/LibrarySql.h"
#include "platform/Sqlite.h"

namespace vantrel {

using LibrarySql::openReadOnly;
using LibrarySql::openReadWrite;
using LibrarySql::quoteIdentifier;

namespace {

const QString kUntitledEvent = QStringLiteral("untitled event");

QString joinPath(const QString& prefix, const QString& relative)
{
    if (prefix.isEmpty())
        return relative;
    if (relative.isEmpty())
        return {};
    QString base = prefix;
    while (base.endsWith(QLatin1Char('/')) && base.size() > 1)
        base.chop(1);
    return relative.startsWith(QLatin1Char('/')) ? base + relative : base + QLatin1Char('/') + relative;
}

/// Runs a statement with bound text values on a read-write connection; true when it completed.
bool runChange(const QString& dbPath, const QString& sql, const QList<QVariant>& values)
{
    SqliteDatabase db;
    if (!openReadWrite(db, dbPath))
        return false;
    SqliteStatement statement(db, sql);
    if (!statement.isValid())
        return false;
    int index = 1;
    for (const QVariant& value : values) {
        const bool bound = value.typeId() == QMetaType::Int ? statement.bindInt(index, value.toInt())
                                                            : statement.bindText(index, value.toString());
        if (!bound)
            return false;
        ++index;
    }
    return statement.step() == SQLITE_DONE;
}

int lastRowInt(const QString& dbPath, const QString& sql, const QString& value)
{
    SqliteDatabase db;
    if (!openReadOnly(db, dbPath))
        return 0;
    SqliteStatement statement(db, sql);
    if (!statement.bindText(1, value))
        return 0;
    int result = 0;
    while (statement.step() == SQLITE_ROW)
        result = statement.columnInt(0);
    return result;
}

} // namespace

QList<QVariantMap> DBOperations::getAllVersionPhotos(const QString& dbPath, const QString& tableName)
{
    QList<QVariantMap> versions;
    SqliteDatabase db;
    if (!openReadOnly(db, dbPath))
        return versions;
    SqliteStatement statement(db,
        QStringLiteral("SELECT modelId, uuid, masterUuid, projectUuid, name FROM %1 WHERE isInTrash "
                       "= 0 AND showInLibrary= 1 AND versionNumber <> 0;")
            .arg(quoteIdentifier(tableName)));
    while (statement.step() == SQLITE_ROW) {
        QVariantMap version;
        version.insert(QStringLiteral("modelId"), QString::number(statement.columnInt(0)));
        version.insert(QStringLiteral("uuid"), statement.columnText(1));
        version.insert(QStringLiteral("masterUuid"), statement.columnText(2));
        version.insert(QStringLiteral("projectUuid"), statement.columnText(3));
        version.insert(QStringLiteral("name"), statement.columnText(4));
        if (statement.columnText(1).isEmpty() || statement.columnText(2).isEmpty()
            || statement.columnText(3).isEmpty()) {
            qCInfo(lcPhotoLibrary).noquote() << QStringLiteral("Exception in getAllVersionPhotos: %1")
                                                    .arg(QStringLiteral("a version without uuid, master or project"));
            continue;
        }
        versions.append(version);
    }
    return versions;
}

void DBOperations::getAllMasterPhotos(
    const QString& dbPath, const QString& dbPrefix, const QString& tableName, InfoMap& updateDict)
{
    SqliteDatabase db;
    if (!openReadOnly(db, dbPath))
        return;
    SqliteStatement statement(
        db, QStringLiteral("SELECT uuid, imagePath FROM %1 WHERE isInTrash = 0;").arg(quoteIdentifier(tableName)));
    while (statement.step() == SQLITE_ROW) {
        const QString uuid = statement.columnText(0);
        const QString imagePath = statement.columnText(1);
        if (uuid.isEmpty() || imagePath.isEmpty()) {
            qCInfo(lcPhotoLibrary).noquote() << QStringLiteral("Exception in getAllMasterPhotos: %1")
                                                    .arg(QStringLiteral("a master without uuid or path"));
            continue;
        }
        // A master lies inside the library's masters folder; a path that climbs out of it or names
        // an absolute place is refused.
        if (imagePath.startsWith(QLatin1Char('/'))
            || imagePath.split(QLatin1Char('/'), Qt::SkipEmptyParts).contains(QStringLiteral(".."))) {
            qCInfo(lcPhotoLibrary).noquote() << QStringLiteral("Exception in getAllMasterPhotos: %1")
                                                    .arg(QStringLiteral("a master path outside the library"));
            continue;
        }
        const QString originalPath = joinPath(dbPrefix, imagePath);
        if (originalPath.isEmpty())
            continue;
        updateDict.insert(
            uuid, { { QStringLiteral("OriginalPath"), originalPath }, { QStringLiteral("MasterCount"), 0 } });
    }
}

void DBOperations::getAllFolders(const QString& dbPath, const QString& tableName, InfoMap& updateDict)
{
    SqliteDatabase db;
    if (!openReadOnly(db, dbPath))
        return;
    SqliteStatement statement(db, QStringLiteral("SELECT uuid, name FROM %1;").arg(quoteIdentifier(tableName)));
    while (statement.step() == SQLITE_ROW) {
        const QString uuid = statement.columnText(0);
        if (uuid.isEmpty()) {
            qCInfo(lcPhotoLibrary).noquote()
                << QStringLiteral("Exception in getAllFolders: %1").arg(QStringLiteral("a folder without uuid"));
            continue;
        }
        const QString name = statement.columnText(1);
        updateDict.insert(uuid,
            { { QStringLiteral("EventName"), name.isEmpty() ? kUntitledEvent : name },
                { QStringLiteral("VersionCount"), 0 } });
    }
}

QStringList DBOperations::getDBTableName(const QString& dbPath)
{
    QStringList names;
    SqliteDatabase db;
    if (!openReadOnly(db, dbPath))
        return names;
    SqliteStatement statement(db, QStringLiteral("SELECT * FROM sqlite_master where type = 'table'"));
    while (statement.step() == SQLITE_ROW) {
        const QString name = statement.columnText(1);
        if (!name.toUpper().startsWith(QLatin1String("SQLITE_")))
            names.append(name);
    }
    return names;
}

bool DBOperations::tableHasData(const QString& dbPath, const QString& tableName)
{
    SqliteDatabase db;
    if (!openReadOnly(db, dbPath))
        return false;
    SqliteStatement statement(db, QStringLiteral("select * from %1").arg(quoteIdentifier(tableName)));
    return statement.step() == SQLITE_ROW;
}

bool DBOperations::dbHasData(const QString& dbPath)
{
    const QStringList tables = getDBTableName(dbPath);
    return std::any_of(tables.begin(), tables.end(), [&](const QString& table) { return tableHasData(dbPath, table); });
}

QStringList DBOperations::getColumnDataForDB(const QString& dbPath, const QString& tableName, const QString& columnName)
{
    QStringList values;
    SqliteDatabase db;
    if (!openReadOnly(db, dbPath))
        return values;
    const QString column = quoteIdentifier(columnName);
    SqliteStatement statement(
        db, QStringLiteral("select %1 from %2 where %1 IS NOT NULL").arg(column, quoteIdentifier(tableName)));
    while (statement.step() == SQLITE_ROW)
        values.append(statement.columnText(0));
    return values;
}

QHash<QString, int> DBOperations::getPragmaForMaster(const QString& dbPath, const QString& tableName)
{
    SqliteDatabase db;
    if (!openReadOnly(db, dbPath))
        return {};
    return LibrarySql::columnPositions(db, tableName);
}

QList<QVariantMap> DBOperations::getAllPhotoNodes(const QString& dbPath, const QString& tableName,
    const QHash<QString, int>& dictPragmaIndex, const QString& dbPrefix)
{
    QList<QVariantMap> nodes;
    SqliteDatabase db;
    if (!openReadOnly(db, dbPath))
        return nodes;
    SqliteStatement statement(db, QStringLiteral("SELECT * from %1;").arg(quoteIdentifier(tableName)));
    const auto text = [&](const char* column) {
        const auto it = dictPragmaIndex.constFind(QString::fromLatin1(column));
        return it == dictPragmaIndex.constEnd() ? QString() : statement.columnText(*it);
    };
    const auto trash = dictPragmaIndex.constFind(QStringLiteral("isInTrash"));
    while (statement.step() == SQLITE_ROW) {
        if (trash != dictPragmaIndex.constEnd() && statement.columnInt(*trash) == 1)
            continue;
        const QString imagePath = text("imagePath");
        nodes.append({ { QStringLiteral("imagePath"), imagePath },
            { QStringLiteral("projectUuid"), text("projectUuid") }, { QStringLiteral("uuid"), text("uuid") },
            { QStringLiteral("filePath"), joinPath(dbPrefix, imagePath) } });
    }
    return nodes;
}

int DBOperations::getRowCountEventForDB(const QString& dbPath, const QString& tableName, const QString& uuid)
{
    return lastRowInt(
        dbPath, QStringLiteral("select count(uuid) from %1 where masterUuid=?").arg(quoteIdentifier(tableName)), uuid);
}

int DBOperations::getpreviousEventCountForDB(const QString& dbPath, const QString& tableName, const QString& uuid)
{
    return lastRowInt(
        dbPath, QStringLiteral("select versionCount from %1 where uuid=?").arg(quoteIdentifier(tableName)), uuid);
}

QString DBOperations::getuuIDfromRkVersionTable(const QString& query, const QString& dbPath)
{
    SqliteDatabase db;
    if (!openReadOnly(db, dbPath))
        return QStringLiteral("");
    SqliteStatement statement(db, query);
    QString last = QStringLiteral("");
    while (statement.step() == SQLITE_ROW)
        last = statement.columnText(0);
    return last;
}

bool DBOperations::tableEmptyData(const QString& dbPath, const QString& tableName)
{
    return runChange(dbPath, QStringLiteral("delete from %1;").arg(quoteIdentifier(tableName)), {});
}

bool DBOperations::dbEmptyData(const QString& dbPath)
{
    bool emptied = true;
    for (const QString& table : getDBTableName(dbPath)) {
        if (tableHasData(dbPath, table))
            emptied = tableEmptyData(dbPath, table) && emptied;
    }
    return emptied;
}

bool DBOperations::vacuumDB(const QString& dbPath)
{
    return runChange(dbPath, QStringLiteral("vacuum;"), {});
}

bool DBOperations::markInTrashForMaster(const QString& dbPath, const QString& tableName, const QString& uuid)
{
    return runChange(
        dbPath, QStringLiteral("UPDATE %1 SET isInTrash=1 WHERE uuid=?;").arg(quoteIdentifier(tableName)), { uuid });
}

bool DBOperations::justMarkInTrashForVersion(const QString& dbPath, const QString& tableName, const QString& uuid)
{
    return markInTrashForMaster(dbPath, tableName, uuid);
}

bool DBOperations::updateFolderCount(
    const QString& dbPath, const QString& tableName, const QString& projectUuid, int count)
{
    return runChange(dbPath,
        QStringLiteral("UPDATE %1 SET versionCount=? WHERE uuid=?;").arg(quoteIdentifier(tableName)),
        { count, projectUuid });
}

bool DBOperations::markInTrashForVersion(const QString& dbPath, const QString& tableName, const QString& uuid,
    const QString& projectUuid, int folderVersionCount)
{
    const bool marked = justMarkInTrashForVersion(dbPath, tableName, uuid);
    return updateFolderCount(dbPath, QStringLiteral("RKFolder"), projectUuid, folderVersionCount) && marked;
}

} // namespace vantrel
