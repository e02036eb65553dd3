#pragma once

#include <QString>

namespace vantrel {

class LibraryPathResolver;

/// How a Photos library stores its photos, read from which database the package holds.
enum class PhotosLayout {
    None, ///< no database found
    Older, ///< "Library.apdb" or "photos.db": versions and masters, files under "Masters"
    Newer, ///< "Photos.sqlite": assets, files under "originals/<folder>/<file>"
};

struct PhotosDatabase {
    QString path; ///< the database file as spelled on disk; empty with PhotosLayout::None
    PhotosLayout layout = PhotosLayout::None;
};

/// Paths inside photo-library packages (a package is a folder). Every name inside a package is
/// found without regard to letter case; the returned paths are spelled as on disk. Stateless and
/// safe from any thread.
class PhotoLibraryPaths {
public:
    /// The database a Photos library is read from: "database/apdb/Library.apdb", then
    /// "database/Library.apdb", then "database/apdb/photos.db", then "database/photos.db" (the
    /// older layout), then "database/Photos.sqlite" (the newer layout).
    static PhotosDatabase locatePhotosDatabase(const LibraryPathResolver& library);
    /// locatePhotosDatabase().path: empty when the package holds none of them.
    static QString getDataBasePathForPhotosLib(const QString& libraryPath);

    /// With an "AlbumData.xml": whether "Database/apdb/Library.apdb" exists; otherwise whether
    /// "database/Library.apdb" exists.
    static bool isPhotosLib(const QString& libraryPath);
    /// The text before the first "." of the album file's "Application Version"; a null text when
    /// the package has no readable "AlbumData.xml" or the entry is missing.
    static QString getPhotoLibraryVersion(const QString& libraryPath);
    /// The text before the first "." of `version` (null for a null text).
    static QString getPhotoLibraryMajorVersion(const QString& version);
    /// The masters folder's name as spelled in the package when the major version is "9" and a
    /// "masters" folder exists; otherwise a null text.
    static QString photoLibrary_MastersOrOriginal(const QString& libraryPath);
    /// An "AlbumData.xml" and the folder named by photoLibrary_MastersOrOriginal() both exist.
    static bool isPkgPhotoLib(const QString& libraryPath);
    /// False when the package has no version or its major version is "8" or "7"; true otherwise.
    static bool isiPhotoLibrary9AndAbove(const QString& libraryPath);
};

} // namespace vantrel
