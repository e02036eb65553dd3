// The Photos-library reader of DBOperations: the library's database is copied into a private
// folder, one query chosen by the package's own layout runs on the copy, and the copy is removed.
#include "core/PhotoLibrary/DBOperations.h"

#include <QSet>

#include <sqlite3.h>

#include "core/PhotoLibrary/LibraryDatabaseCopy.h"
#include "core/PhotoLibrary/LibraryLog.h"
#include "core/PhotoLibrary/LibraryPathResolver.h"
#include "core/PhotoLibrary/LibrarySql.h"
#include "core/PhotoLibrary/PhotoLibraryPaths.h"
#include "platform/Sqlite.h"

namespace vantrel {

using LibrarySql::quoteIdentifier;

namespace {

/// The columns of one table, by lower-cased name (SQLite names are case-insensitive).
class TableColumns {
public:
    TableColumns() = default;
    TableColumns(const SqliteDatabase& db, const QString& table)
    {
        const auto positions = LibrarySql::columnPositions(db, table);
        for (auto it = positions.begin(); it != positions.end(); ++it)
            m_names.insert(it.key().toLower());
    }
    bool has(const char* column) const { return m_names.contains(QString::fromLatin1(column).toLower()); }
    /// The first of `columns` the table has, prefixed with `alias`; `fallback` when none.
    QString firstOf(const QString& alias, std::initializer_list<const char*> columns, const char* fallback) const
    {
        for (const char* column : columns) {
            if (has(column))
                return alias + QLatin1Char('.') + quoteIdentifier(QString::fromLatin1(column));
        }
        return QString::fromLatin1(fallback);
    }

private:
    QSet<QString> m_names;
};

/// Older layout (versions and masters): columns fileSize, modelId, master uuid, version uuid,
/// original file name, path below "Masters", description. One row per master that has a version
/// shown in the library; both must be out of the trash.
QString olderLayoutQuery(const SqliteDatabase& db)
{
    const TableColumns version(db, QStringLiteral("RKVersion"));
    const TableColumns master(db, QStringLiteral("RKMaster"));
    if (!version.has("masterUuid") || !master.has("uuid") || !master.has("imagePath"))
        return {};
    QStringList conditions;
    if (version.has("isInTrash"))
        conditions << QStringLiteral("COALESCE(v.isInTrash, 0) = 0");
    if (version.has("showInLibrary"))
        conditions << QStringLiteral("COALESCE(v.showInLibrary, 1) = 1");
    if (master.has("isInTrash"))
        conditions << QStringLiteral("COALESCE(m.isInTrash, 0) = 0");
    const QString keyColumn = version.firstOf(QStringLiteral("v"), { "modelId" }, "v.rowid");
    // SQLite takes the bare columns of a MAX() aggregate from the row holding the maximum: the
    // newest shown version of each master.
    return QStringLiteral("SELECT %1, %2, m.uuid, %3, %4, m.imagePath, %5, MAX(%2) FROM RKVersion v "
                          "JOIN RKMaster m ON m.uuid = v.masterUuid%6 GROUP BY m.uuid ORDER BY %2;")
        .arg(master.firstOf(QStringLiteral("m"), { "fileSize" }, "0"), keyColumn,
            version.firstOf(QStringLiteral("v"), { "uuid" }, "''"),
            master.firstOf(QStringLiteral("m"), { "originalFileName", "fileName" }, "''"),
            version.firstOf(QStringLiteral("v"), { "extendedDescription", "description" }, "NULL"),
            conditions.isEmpty() ? QString() : QStringLiteral(" WHERE ") + conditions.join(QStringLiteral(" AND ")));
}

/// Newer layout (assets): columns fileSize, uuid, original file name, folder under "originals",
/// file name. One row per asset not in the trash.
QString newerLayoutQuery(const SqliteDatabase& db)
{
    QString assetTable;
    for (const char* table : { "ZASSET", "ZGENERICASSET" }) {
        if (LibrarySql::tableExists(db, QString::fromLatin1(table))) {
            assetTable = QString::fromLatin1(table);
            break;
        }
    }
    if (assetTable.isEmpty())
        return {};
    const TableColumns asset(db, assetTable);
    if (!asset.has("ZDIRECTORY") || !asset.has("ZFILENAME"))
        return {};
    const TableColumns attributes(db, QStringLiteral("ZADDITIONALASSETATTRIBUTES"));
    const bool joinAttributes = attributes.has("ZASSET") && asset.has("Z_PK");
    const QString join
        = joinAttributes ? QStringLiteral(" LEFT JOIN ZADDITIONALASSETATTRIBUTES b ON b.ZASSET = a.Z_PK") : QString();
    const TableColumns noColumns;
    const TableColumns& extra = joinAttributes ? attributes : noColumns;
    return QStringLiteral("SELECT %1, %2, %3, a.ZDIRECTORY, a.ZFILENAME FROM %4 a%5%6 ORDER BY a.rowid;")
        .arg(extra.firstOf(QStringLiteral("b"), { "ZORIGINALFILESIZE" }, "0"),
            asset.firstOf(QStringLiteral("a"), { "ZUUID" }, "''"),
            extra.firstOf(QStringLiteral("b"), { "ZORIGINALFILENAME" }, "NULL"), quoteIdentifier(assetTable), join,
            asset.has("ZTRASHEDSTATE") ? QStringLiteral(" WHERE COALESCE(a.ZTRASHEDSTATE, 0) = 0") : QString());
}

bool staysInside(const QString& relative)
{
    const QStringList parts = relative.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    return !parts.isEmpty() && !parts.contains(QStringLiteral("..")) && !relative.startsWith(QLatin1Char('/'));
}

void logSkippedRow(const QString& why)
{
    qCInfo(lcPhotoLibrary).noquote() << QStringLiteral("Exception in getImagesFromlibraryPath: %1").arg(why);
}

/// One photo dictionary from a row; nothing when the columns that make the path are missing.
std::optional<DBOperations::Photo> readRow(
    const SqliteStatement& row, PhotosLayout layout, const LibraryPathResolver& library)
{
    DBOperations::Photo photo;
    const QString empty = QStringLiteral("");
    for (const char* key : { "originalFileName", "uuid", "uuidRKVersion", "modelId", "description" })
        photo.insert(QString::fromLatin1(key), empty);
    photo.insert(QStringLiteral("fileSize"), row.columnInt64(0));

    QString relative;
    QString fileName;
    if (layout == PhotosLayout::Newer) {
        photo.insert(QStringLiteral("uuid"), row.columnText(1));
        photo.insert(QStringLiteral("uuidRKVersion"), row.columnText(1));
        const QString folder = row.columnText(3);
        fileName = row.columnText(4);
        if (folder.isEmpty() || fileName.isEmpty())
            return std::nullopt;
        relative = QStringLiteral("originals/%1/%2").arg(folder, fileName);
        photo.insert(QStringLiteral("originalFileName"), row.columnText(2));
    } else {
        photo.insert(QStringLiteral("modelId"), row.columnText(1));
        photo.insert(QStringLiteral("uuid"), row.columnText(2));
        photo.insert(QStringLiteral("uuidRKVersion"), row.columnText(3));
        photo.insert(QStringLiteral("originalFileName"), row.columnText(4));
        const QString masterPath = row.columnText(5);
        if (masterPath.isEmpty())
            return std::nullopt;
        relative = QStringLiteral("Masters/%1").arg(masterPath);
        fileName = masterPath.section(QLatin1Char('/'), -1);
        photo.insert(QStringLiteral("description"), row.columnText(6));
    }
    if (!staysInside(relative))
        return std::nullopt;
    if (photo.value(QStringLiteral("originalFileName")).toString().isEmpty())
        photo.insert(QStringLiteral("originalFileName"), fileName);
    const QString imagePath = library.resolve(relative);
    if (!library.admitsPhoto(imagePath))
        return std::nullopt;
    photo.insert(QStringLiteral("imagePath"), imagePath);
    return photo;
}

} // namespace

QString DBOperations::getDataBasePathForPhotosLib(const QString& packagePath)
{
    return PhotoLibraryPaths::getDataBasePathForPhotosLib(packagePath);
}

std::optional<QList<DBOperations::Photo>> DBOperations::getPhotoslibraryPath(const QString& packagePath)
{
    return getImagesFromlibraryPath(packagePath);
}

std::optional<QList<DBOperations::Photo>> DBOperations::getImagesFromlibraryPath(const QString& packagePath)
{
    const LibraryPathResolver library(packagePath);
    const PhotosDatabase source = PhotoLibraryPaths::locatePhotosDatabase(library);
    if (source.layout == PhotosLayout::None) {
        qCWarning(lcPhotoLibrary).noquote()
            << QStringLiteral("Error in copy Data Base %1").arg(QStringLiteral("no database in ") + packagePath);
        return std::nullopt;
    }
    LibraryDatabaseCopy copy;
    if (!copy.make(source.path))
        return std::nullopt;

    QList<Photo> photos;
    SqliteDatabase db;
    SqliteStatement statement;
    // A read-only connection cannot always replay a copied write-ahead log (no usable "-shm"); the
    // copy is private, so a read-write connection may then recover it.
    for (const bool readOnly : { true, false }) {
        statement.finalize();
        const bool opened
            = readOnly ? LibrarySql::openReadOnly(db, copy.path()) : LibrarySql::openReadWrite(db, copy.path());
        if (!opened)
            continue;
        const QString query = source.layout == PhotosLayout::Newer ? newerLayoutQuery(db) : olderLayoutQuery(db);
        if (!query.isEmpty() && statement.prepare(db, query))
            break;
    }
    while (statement.step() == SQLITE_ROW) {
        if (auto photo = readRow(statement, source.layout, library))
            photos.append(*photo);
        else
            logSkippedRow(QStringLiteral("a photo without a file path"));
    }
    return photos;
}

} // namespace vantrel
