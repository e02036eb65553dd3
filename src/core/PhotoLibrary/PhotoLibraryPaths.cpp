#include "core/PhotoLibrary/PhotoLibraryPaths.h"

#include <array>

#include <QFileInfo>
#include <QUrl>
#include <QVariant>

#include <sqlite3.h>

#include "core/PhotoLibrary/AlbumFile.h"
#include "core/PhotoLibrary/LibraryPathResolver.h"
#include "core/PhotoLibrary/LibrarySql.h"
#include "platform/Sqlite.h"

namespace vantrel {

namespace {

const QString kAlbumFile = QStringLiteral("AlbumData.xml");

QString textBeforeFirstDot(const QString& text)
{
    if (text.isNull())
        return {};
    const qsizetype dot = text.indexOf(QLatin1Char('.'));
    return dot < 0 ? text : text.left(dot);
}

} // namespace

namespace {

/// Whether the database at `path` holds the asset table of the newer layout. Opened immutable:
/// read-only, without locks or companion files, so the package is never touched.
bool holdsAssetTable(const QString& path)
{
    if (path.isEmpty() || !QFileInfo(path).isFile())
        return false;
    SqliteDatabase db;
    const QString uri = QStringLiteral("file:") + QString::fromLatin1(QUrl::toPercentEncoding(path, "/"))
        + QStringLiteral("?immutable=1");
    if (!db.open(uri, SQLITE_OPEN_READONLY | SQLITE_OPEN_URI))
        return false;
    return LibrarySql::tableExists(db, QStringLiteral("ZASSET"))
        || LibrarySql::tableExists(db, QStringLiteral("ZGENERICASSET"));
}

} // namespace

PhotosDatabase PhotoLibraryPaths::locatePhotosDatabase(const LibraryPathResolver& library)
{
    // A library upgraded by a newer system keeps its old photos.db beside the Photos.sqlite that
    // now holds the photos: the newer database wins when it has the asset table.
    const QString newer = library.findOwnFile(QStringLiteral("database/Photos.sqlite"));
    const bool preferNewer = holdsAssetTable(newer)
        && library.findOwnFile(QStringLiteral("database/apdb/Library.apdb")).isEmpty()
        && library.findOwnFile(QStringLiteral("database/Library.apdb")).isEmpty();
    if (preferNewer)
        return { newer, PhotosLayout::Newer };

    struct Candidate {
        const char* relative;
        PhotosLayout layout;
    };
    static constexpr std::array<Candidate, 5> kCandidates { {
        { "database/apdb/Library.apdb", PhotosLayout::Older },
        { "database/Library.apdb", PhotosLayout::Older },
        { "database/apdb/photos.db", PhotosLayout::Older },
        { "database/photos.db", PhotosLayout::Older },
        { "database/Photos.sqlite", PhotosLayout::Newer },
    } };
    for (const Candidate& candidate : kCandidates) {
        const QString path = library.findOwnFile(QString::fromLatin1(candidate.relative));
        if (!path.isEmpty())
            return { path, candidate.layout };
    }
    return {};
}

QString PhotoLibraryPaths::getDataBasePathForPhotosLib(const QString& libraryPath)
{
    return locatePhotosDatabase(LibraryPathResolver(libraryPath)).path;
}

bool PhotoLibraryPaths::isPhotosLib(const QString& libraryPath)
{
    const LibraryPathResolver library(libraryPath);
    if (library.exists(kAlbumFile))
        return library.exists(QStringLiteral("Database/apdb/Library.apdb"));
    return library.exists(QStringLiteral("database/Library.apdb"));
}

QString PhotoLibraryPaths::getPhotoLibraryVersion(const QString& libraryPath)
{
    const QString albumFile = LibraryPathResolver(libraryPath).findOwnFile(kAlbumFile);
    if (albumFile.isEmpty())
        return {};
    // The version sits near the top of the file: the read stops there instead of parsing the
    // whole album, which a large library makes hundreds of megabytes long.
    const std::optional<AlbumFile> album = AlbumFile::readFile(albumFile, AlbumFile::Scope::ApplicationVersion);
    if (!album || album->applicationVersion.isNull())
        return {};
    return textBeforeFirstDot(album->applicationVersion);
}

QString PhotoLibraryPaths::getPhotoLibraryMajorVersion(const QString& version)
{
    return textBeforeFirstDot(version);
}

QString PhotoLibraryPaths::photoLibrary_MastersOrOriginal(const QString& libraryPath)
{
    if (getPhotoLibraryMajorVersion(getPhotoLibraryVersion(libraryPath)) != QLatin1String("9"))
        return {};
    const QString masters = LibraryPathResolver(libraryPath).find(QStringLiteral("masters"));
    if (masters.isEmpty())
        return {};
    return masters.section(QLatin1Char('/'), -1);
}

bool PhotoLibraryPaths::isPkgPhotoLib(const QString& libraryPath)
{
    const LibraryPathResolver library(libraryPath);
    if (!library.exists(kAlbumFile))
        return false;
    const QString folder = photoLibrary_MastersOrOriginal(libraryPath);
    return !folder.isEmpty() && library.exists(folder);
}

bool PhotoLibraryPaths::isiPhotoLibrary9AndAbove(const QString& libraryPath)
{
    const QString major = getPhotoLibraryMajorVersion(getPhotoLibraryVersion(libraryPath));
    if (major.isNull())
        return false;
    return major != QLatin1String("8") && major != QLatin1String("7");
}

} // namespace vantrel
