#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariantMap>

// Builders of photo-library packages for tests: databases written with the sqlite3 API, album
// files with the property-list writer and tiny photos with libvips, all under a folder the test
// owns. Each builder returns false (with a gtest failure message) when something could not be
// written.
namespace vantrel::libraryfixtures {

/// Runs an SQL script on `dbPath`, creating the file when needed.
bool execSql(const QString& dbPath, const QString& sql);
/// `text` as an SQL literal ('it''s'), or NULL for a missing text.
QString sqlText(const std::optional<QString>& text);
/// Writes an 8x8 photo (its format from the extension), creating the folders on the way.
bool writePhoto(const QString& path);

/// A photo of a Photos library in the newer layout (assets; files under originals/<dir>/<file>).
struct AssetRow {
    QString uuid;
    QString directory;
    QString fileName;
    std::optional<QString> originalFileName = std::nullopt; ///< NULL when missing
    qint64 originalFileSize = 1234;
    int trashedState = 0;
    bool writeFile = true; ///< false: the row names a file that does not exist
};
/// Writes `dbRelative` (e.g. "database/Photos.sqlite") with an asset table named `assetTable`
/// ("ZASSET" or "ZGENERICASSET") and ZADDITIONALASSETATTRIBUTES, and the photos.
bool buildNewerPhotosLibrary(const QString& package, const QList<AssetRow>& rows,
    const QString& assetTable = QStringLiteral("ZASSET"),
    const QString& dbRelative = QStringLiteral("database/Photos.sqlite"));
/// The same schema, written in WAL mode: every row but the last is checkpointed into the database
/// file; the last lives only in the "-wal" file copied beside it (with its "-shm").
bool buildWalPhotosLibrary(const QString& package, const QList<AssetRow>& rows);
/// Rows of the asset table that the database file alone (without its "-wal") holds.
int rowsWithoutWal(const QString& dbPath, const QString& scratchFolder);

/// A version of an iPhoto/Aperture or older-layout Photos library.
struct VersionRow {
    int modelId = 0;
    QString uuid;
    QString masterUuid;
    QString projectUuid;
    std::optional<QString> name = QStringLiteral("a version");
    int isInTrash = 0;
    int showInLibrary = 1;
    int versionNumber = 1;
    std::optional<QString> description = std::nullopt;
};
struct MasterRow {
    QString uuid;
    QString imagePath; ///< relative to the masters folder
    std::optional<QString> originalFileName = std::nullopt;
    qint64 fileSize = 2048;
    int isInTrash = 0;
};
struct FolderRow {
    QString uuid;
    std::optional<QString> name = std::nullopt;
};
/// Writes the versions, masters and folders tables into `dbPath`.
bool buildVersionDatabase(const QString& dbPath, const QList<VersionRow>& versions, const QList<MasterRow>& masters,
    const QList<FolderRow>& folders);

/// An album file: "Archive Path" (left out when nothing), "Application Version" (left out when
/// nothing) and a "Master Image List" of key -> {"ImagePath", "ThumbPath"} (an empty text leaves
/// that entry out).
struct AlbumEntry {
    QString imagePath;
    QString thumbPath;
};
bool writeAlbumFile(const QString& path, const std::optional<QString>& archivePath,
    const std::map<QString, AlbumEntry>& imageList, const std::optional<QString>& applicationVersion = std::nullopt);

/// Every file and folder below `root` (relative path -> SHA-256 of the content, or "<dir>"),
/// leaving out the folders in `excluded` (absolute paths) and everything below them.
std::map<std::string, std::string> snapshotTree(const QString& root, const QStringList& excluded = {});
/// The entries that differ between two snapshots, one line each ("added x", "removed x", "changed x").
std::vector<std::string> treeDifferences(
    const std::map<std::string, std::string>& before, const std::map<std::string, std::string>& after);

} // namespace vantrel::libraryfixtures
