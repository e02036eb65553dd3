#pragma once

#include <optional>

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariantMap>

namespace vantrel {

/// Reads photo-library databases. Class operations only, no state; each opens its own connection
/// and closes it before returning, so any thread may call them (the add scan calls them from its
/// worker while the log database is in use on the main thread).
///
/// Operations that only read open the database read-only, and must be given a database that is
/// safe to read in place (LibraryDatabaseCopy::canReadInPlace) or a private copy. The few that
/// change a database (marking trash, counts, emptying, vacuum) open it read-write without
/// creating it and bind every value; the readers never call them. Table and column names are
/// quoted identifiers. A database that cannot be opened or a statement that cannot be prepared
/// gives an empty result.
class DBOperations {
public:
    using Photo = QVariantMap;
    using InfoMap = QHash<QString, QVariantMap>;

    /// Reads a Photos library: one dictionary per photo with "imagePath", "originalFileName",
    /// "fileSize" (qint64), "uuid", "uuidRKVersion", "modelId" and "description". Nothing when the
    /// package has no database or it cannot be copied ("Error in copy Data Base %@").
    static std::optional<QList<Photo>> getPhotoslibraryPath(const QString& packagePath);
    static std::optional<QList<Photo>> getImagesFromlibraryPath(const QString& packagePath);
    static QString getDataBasePathForPhotosLib(const QString& packagePath);

    /// Versions not in the trash, shown in the library and with a version number other than 0,
    /// whose "uuid", "masterUuid" and "projectUuid" are all non-empty: "modelId" (decimal text),
    /// "uuid", "masterUuid", "projectUuid", "name" ("" for NULL).
    static QList<QVariantMap> getAllVersionPhotos(const QString& dbPath, const QString& tableName);
    /// Masters not in the trash, keyed by uuid: "OriginalPath" (`dbPrefix` + "/" + imagePath) and
    /// "MasterCount" 0. Rows without a uuid or an image path are skipped.
    static void getAllMasterPhotos(
        const QString& dbPath, const QString& dbPrefix, const QString& tableName, InfoMap& updateDict);
    /// Folders keyed by uuid: "EventName" (the name, "untitled event" when empty or NULL) and
    /// "VersionCount" 0. Rows without a uuid are skipped.
    static void getAllFolders(const QString& dbPath, const QString& tableName, InfoMap& updateDict);

    /// Names of the database's tables, without SQLite's own ("SQLITE_..." in any case).
    static QStringList getDBTableName(const QString& dbPath);
    static bool tableHasData(const QString& dbPath, const QString& tableName);
    static bool dbHasData(const QString& dbPath);
    /// The non-NULL values of a column, as text.
    static QStringList getColumnDataForDB(const QString& dbPath, const QString& tableName, const QString& columnName);
    /// Column name to column position.
    static QHash<QString, int> getPragmaForMaster(const QString& dbPath, const QString& tableName);
    /// Rows whose "isInTrash" is not 1: "imagePath", "projectUuid", "uuid" and "filePath" (`dbPrefix`
    /// + "/" + imagePath), read at the positions of `dictPragmaIndex`.
    static QList<QVariantMap> getAllPhotoNodes(const QString& dbPath, const QString& tableName,
        const QHash<QString, int>& dictPragmaIndex, const QString& dbPrefix);
    /// The number of versions of a master; 0 when none.
    static int getRowCountEventForDB(const QString& dbPath, const QString& tableName, const QString& uuid);
    /// A folder's stored "versionCount"; 0 when none.
    static int getpreviousEventCountForDB(const QString& dbPath, const QString& tableName, const QString& uuid);
    /// Runs `query` read-only and returns the column-0 text of its last row ("" when none).
    static QString getuuIDfromRkVersionTable(const QString& query, const QString& dbPath);

    // These change the database; nothing in the readers calls them.
    static bool tableEmptyData(const QString& dbPath, const QString& tableName);
    /// Empties every table that has rows.
    static bool dbEmptyData(const QString& dbPath);
    static bool vacuumDB(const QString& dbPath);
    static bool markInTrashForMaster(const QString& dbPath, const QString& tableName, const QString& uuid);
    static bool justMarkInTrashForVersion(const QString& dbPath, const QString& tableName, const QString& uuid);
    static bool updateFolderCount(
        const QString& dbPath, const QString& tableName, const QString& projectUuid, int count);
    /// Marks the version, then sets `folderVersionCount` on its folder in "RKFolder".
    static bool markInTrashForVersion(const QString& dbPath, const QString& tableName, const QString& uuid,
        const QString& projectUuid, int folderVersionCount);
};

} // namespace vantrel
