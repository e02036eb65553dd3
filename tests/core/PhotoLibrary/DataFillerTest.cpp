#include "core/PhotoLibrary/DataFiller.h"

#include <sys/stat.h>

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <sqlite3.h>

#include "core/PhotoLibrary/AlbumFile.h"
#include "core/PhotoLibrary/LibraryReadGuard.h"
#include "support/LibraryFixtures.h"
#include "support/TestImages.h"

using namespace vantrel;
using namespace vantrel::libraryfixtures;

namespace {

// Versions 1..3 and 9 are taken; 4..8 are left out for the reason beside them.
const QList<VersionRow> kVersions {
    { 1, "v1", "m1", "p1", QStringLiteral("full album entry") },
    { 2, "v2", "m2", "p1", QStringLiteral("no album entry") },
    { 3, "v3", "m3", "p2", std::nullopt }, // album entry with a thumbnail only; NULL name
    { 4, "v4", "m2", "p1", QStringLiteral("in the trash"), 1 },
    { 5, "v5", "m2", "p1", QStringLiteral("hidden"), 0, 0 },
    { 6, "v6", "m2", "p1", QStringLiteral("version 0"), 0, 1, 0 },
    { 7, "v7", "m4", "p1", QStringLiteral("master in the trash") },
    { 8, "v8", "m1", "p9", QStringLiteral("unknown project") },
    { 9, "v9", "m1", "p2", QStringLiteral("second version of m1") },
};
const QList<MasterRow> kMasters {
    { "m1", "2012/03/04/A.jpg" },
    { "m2", "2012/03/04/B.jpg" },
    { "m3", "2012/03/05/C.png" },
    { "m4", "2012/03/05/D.jpg", std::nullopt, 10, 1 },
};
const QList<FolderRow> kFolders { { "p1", QStringLiteral("Holiday") }, { "p2", std::nullopt } };

struct Library {
    QString package;
    QString albumFile;
};

/// A library package whose album entries were recorded under `recordedFolder`.
Library buildLibrary(const QString& parent, const std::optional<QString>& archivePath, const QString& recordedFolder,
    const QString& albumName = QStringLiteral("AlbumData.xml"), const QString& mastersName = QStringLiteral("Masters"))
{
    Library library { parent + "/Trip Library.photolibrary", {} };
    library.albumFile = library.package + "/" + albumName;
    EXPECT_TRUE(buildVersionDatabase(library.package + "/Database/apdb/Library.apdb", kVersions, kMasters, kFolders));
    for (const MasterRow& master : kMasters)
        EXPECT_TRUE(writePhoto(library.package + "/" + mastersName + "/" + master.imagePath));
    EXPECT_TRUE(writePhoto(library.package + "/Previews/2012/03/04/A.jpg"));
    EXPECT_TRUE(writePhoto(library.package + "/Thumbnails/2012/03/04/A.jpg"));
    EXPECT_TRUE(writePhoto(library.package + "/Thumbnails/2012/03/05/C.jpg"));
    EXPECT_TRUE(writeAlbumFile(library.albumFile, archivePath,
        { { "1", { recordedFolder + "/Previews/2012/03/04/A.jpg", recordedFolder + "/Thumbnails/2012/03/04/A.jpg" } },
            { "3", { QString(), recordedFolder + "/Thumbnails/2012/03/05/C.jpg" } } }));
    return library;
}

struct Read {
    QStringList imagePaths;
    int archiveAlerts = 0;
    qint32 count = 0;
};

Read guardedRead(const QString& testFolder, const QString& package)
{
    LibraryReadGuard guard(testFolder);
    Read read;
    DataFiller filler;
    filler.setArchivePathMissingHandler([&] { ++read.archiveAlerts; });
    filler.setLibPath(package);
    filler.fetchImagesFromLib(package);
    read.imagePaths = filler.arrImagePaths();
    read.count = filler.lastScannedPhotosCount();
    EXPECT_TRUE(filler.arrOriginalPaths().isEmpty());
    EXPECT_TRUE(filler.arrThumbnailPaths().isEmpty());
    EXPECT_TRUE(filler.masterPhotos().isEmpty());
    guard.check();
    return read;
}

} // namespace

TEST(DataFiller, TakesVersionsWithKnownMastersAndFoldersInVersionOrder)
{
    QTemporaryDir dir;
    const QString package = dir.path() + "/Trip Library.photolibrary";
    buildLibrary(dir.path(), package, package);

    const Read read = guardedRead(dir.path(), package);
    EXPECT_EQ(read.imagePaths,
        QStringList({ package + "/Previews/2012/03/04/A.jpg", package + "/Masters/2012/03/04/B.jpg",
            package + "/Masters/2012/03/05/C.png", package + "/Masters/2012/03/04/A.jpg" }));
    EXPECT_EQ(read.count, 4);
    EXPECT_EQ(read.archiveAlerts, 0);
}

TEST(DataFiller, MarksVersionsWithoutAlbumPathsAndCountsPerMasterAndFolder)
{
    QTemporaryDir dir;
    const Library library = buildLibrary(
        dir.path(), dir.path() + "/Trip Library.photolibrary", dir.path() + "/Trip Library.photolibrary");
    DataFiller filler;
    filler.fetchImagesFromLib(library.package); // fills the master and folder maps
    QList<QVariantMap> versions { { { "modelId", "1" }, { "uuid", "v1" }, { "masterUuid", "m1" },
                                      { "projectUuid", "p1" } },
        { { "modelId", "3" }, { "uuid", "v3" }, { "masterUuid", "m3" }, { "projectUuid", "p2" } },
        { { "modelId", "2" }, { "uuid", "v2" }, { "masterUuid", "m2" }, { "projectUuid", "p1" } },
        { { "modelId", "7" }, { "uuid", "v7" }, { "masterUuid", "" }, { "projectUuid", "p1" } } };
    QStringList originals, images, thumbs;
    AlbumFile album;
    album.archivePath = library.package;
    album.masterImageList.insert(
        "1", { library.package + "/Previews/2012/03/04/A.jpg", library.package + "/Thumbnails/2012/03/04/A.jpg" });
    album.masterImageList.insert("3", { QString(), library.package + "/Thumbnails/2012/03/05/C.jpg" });
    const auto taken = filler.makeMastersListFor(versions, originals, images, thumbs, album);

    ASSERT_EQ(taken.size(), 3);
    struct Expected {
        bool iPath, tPath;
    };
    const Expected expected[] = { { false, false }, { true, false }, { true, true } };
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(taken[i].value("iPath").toBool(), expected[i].iPath);
        EXPECT_EQ(taken[i].value("tPath").toBool(), expected[i].tPath);
    }
    EXPECT_EQ(thumbs,
        QStringList({ library.package + "/Thumbnails/2012/03/04/A.jpg",
            library.package + "/Thumbnails/2012/03/05/C.jpg", library.package + "/Masters/2012/03/04/B.jpg" }));
    EXPECT_EQ(originals,
        QStringList({ library.package + "/Masters/2012/03/04/A.jpg", library.package + "/Masters/2012/03/05/C.png",
            library.package + "/Masters/2012/03/04/B.jpg" }));
    // The read counted v1 and v9 on m1; this call adds one more.
    EXPECT_EQ(filler.dictMasterInfo().value("m1").value("MasterCount").toInt(), 3);
    EXPECT_EQ(filler.dictFolderInfo().value("p2").value("EventName").toString(), "untitled event");
    EXPECT_EQ(filler.dictFolderInfo().value("p1").value("EventName").toString(), "Holiday");
    EXPECT_EQ(filler.dictFolderInfo().value("p1").value("VersionCount").toInt(), 2 + 2);
}

TEST(DataFiller, ArchivePathDecidesWhereAlbumPathsPoint)
{
    struct Case {
        const char* name;
        std::optional<QString> archive; // "%P" stands for the package path
        bool recordedElsewhere; // album paths name the archive folder, not the package
        int alerts;
    };
    const Case cases[] = {
        { "same folder", QStringLiteral("%P"), false, 0 },
        { "moved library", QStringLiteral("/Volumes/Old Disk/Pictures/Trip Library.photolibrary"), true, 0 },
        { "differs only in case", QStringLiteral("%P"), true, 0 },
        { "trailing slash", QStringLiteral("%P/"), false, 0 },
        { "empty", QStringLiteral(""), false, 1 },
        { "missing", std::nullopt, false, 1 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir dir;
        const QString package = dir.path() + "/Trip Library.photolibrary";
        std::optional<QString> archive = c.archive;
        if (archive)
            archive->replace("%P", std::string(c.name) == "differs only in case" ? package.toUpper() : package);
        buildLibrary(dir.path(), archive, c.recordedElsewhere ? *archive : package);

        const Read read = guardedRead(dir.path(), package);
        EXPECT_EQ(read.archiveAlerts, c.alerts);
        ASSERT_EQ(read.imagePaths.size(), 4);
        EXPECT_EQ(read.imagePaths.first(), package + "/Previews/2012/03/04/A.jpg");
        for (const QString& path : read.imagePaths)
            EXPECT_TRUE(QFileInfo::exists(path)) << path.toStdString();
    }
}

TEST(DataFiller, ApertureAlbumOriginalsFolderAndCapitalsInThePackagePath)
{
    struct Case {
        const char* album;
        const char* masters;
    };
    for (const Case c : { Case { "ApertureData.xml", "Masters" }, Case { "AlbumData.xml", "Originals" },
             Case { "albumdata.XML", "MASTERS" } }) {
        SCOPED_TRACE(c.album + std::string(" ") + c.masters);
        QTemporaryDir dir;
        const QString package = dir.path() + "/Trip Library.photolibrary";
        buildLibrary(dir.path(), package, package, c.album, c.masters);

        const Read read = guardedRead(dir.path(), package);
        ASSERT_EQ(read.imagePaths.size(), 4);
        EXPECT_EQ(read.imagePaths.at(1), package + "/" + c.masters + "/2012/03/04/B.jpg");
    }
}

TEST(DataFiller, WithoutAlbumFileOrDatabaseNothingIsRead)
{
    QTemporaryDir dir;
    const QString package = dir.path() + "/Trip Library.photolibrary";
    const Library library = buildLibrary(dir.path(), package, package);

    ASSERT_TRUE(QFile::rename(package + "/Database/apdb/Library.apdb", package + "/Database/apdb/Other.apdb"));
    EXPECT_TRUE(guardedRead(dir.path(), package).imagePaths.isEmpty());

    ASSERT_TRUE(QFile::rename(package + "/Database/apdb/Other.apdb", package + "/Database/apdb/Library.apdb"));
    ASSERT_TRUE(QFile::remove(library.albumFile));
    EXPECT_TRUE(guardedRead(dir.path(), package).imagePaths.isEmpty());
}

TEST(DataFiller, AWriteAheadLogDatabaseIsReadFromAPrivateCopy)
{
    QTemporaryDir dir;
    const QString package = dir.path() + "/Trip Library.photolibrary";
    buildLibrary(dir.path(), package, package);
    ASSERT_TRUE(execSql(package + "/Database/apdb/Library.apdb", "PRAGMA journal_mode=WAL;"));
    ASSERT_FALSE(QFileInfo::exists(package + "/Database/apdb/Library.apdb-shm"));

    // Read in place, SQLite would create "-wal" and "-shm" files beside the database.
    EXPECT_EQ(guardedRead(dir.path(), package).imagePaths.size(), 4);

    ASSERT_TRUE(testimages::writeBytes(package + "/Database/apdb/Library.apdb-journal", "stale"));
    EXPECT_EQ(guardedRead(dir.path(), package).imagePaths.size(), 4);
}

TEST(DataFiller, VideoExtensionsAndTrashOperations)
{
    DataFiller filler;
    for (const char* path : { "/a/clip.mov", "/a/CLIP.Mp4", "/a/x.3gpp", "/a/old.mpeg-2" })
        EXPECT_TRUE(filler.isVideoFile(path)) << path;
    for (const char* path : { "/a/photo.jpg", "/a/movie.mkv", "/a/raw.cr2" })
        EXPECT_FALSE(filler.isVideoFile(path)) << path;
    EXPECT_TRUE(filler.removePhoto({}, 0));
    EXPECT_FALSE(filler.moveNodeToiPhotoTrash(0)); // nothing kept after a read
}

TEST(DataFiller, MastersThatLeaveThePackageAreRefused)
{
    // m1 climbs out with "..", m2 is a link to a file outside, m3 stays inside.
    QTemporaryDir dir;
    const QString package = dir.path() + "/Odd Library.photolibrary";
    ASSERT_TRUE(writePhoto(dir.path() + "/outside/secret.jpg"));
    ASSERT_TRUE(buildVersionDatabase(package + "/Database/apdb/Library.apdb",
        { { 1, "v1", "m1", "p1" }, { 2, "v2", "m2", "p1" }, { 3, "v3", "m3", "p1" } },
        { { "m1", "../../outside/secret.jpg" }, { "m2", "link.jpg" }, { "m3", "inside.jpg" } }, { { "p1" } }));
    ASSERT_TRUE(writePhoto(package + "/Masters/inside.jpg"));
    ASSERT_TRUE(QFile::link(dir.path() + "/outside/secret.jpg", package + "/Masters/link.jpg"));
    ASSERT_TRUE(writeAlbumFile(package + "/AlbumData.xml", package, {}));

    const Read read = guardedRead(dir.path(), package);
    EXPECT_EQ(read.imagePaths, QStringList({ package + "/Masters/inside.jpg" }));
}

TEST(DataFiller, AlbumPathsThatLeaveThePackageOrNameNoFileKeepTheirMaster)
{
    QTemporaryDir dir;
    const QString package = dir.path() + "/Odd Library.photolibrary";
    const QString outside = dir.path() + "/outside/secret.jpg";
    ASSERT_TRUE(writePhoto(outside));
    ASSERT_TRUE(writePhoto(package + "/Previews/inside.jpg"));
    ASSERT_TRUE(QFile::link(outside, package + "/Previews/out-link.jpg"));
    ASSERT_TRUE(QFile::link(package + "/Previews/inside.jpg", package + "/Previews/in-link.jpg"));
    ASSERT_EQ(mkfifo(QFile::encodeName(package + "/Previews/pipe.jpg").constData(), 0600), 0);
    ASSERT_TRUE(QDir().mkpath(package + "/Previews/folder.jpg"));

    struct Case {
        const char* albumPath; // "%P" stands for the package, "%D" for the test folder
        bool taken; // the album's path, else the master's
    };
    const Case cases[] = {
        { "%P/Previews/inside.jpg", true },
        { "%P/Previews/in-link.jpg", true },
        { "%D/outside/secret.jpg", false }, // given in full
        { "%P/Previews/out-link.jpg", false }, // a link in the package that leads out
        { "%P/Previews/../../outside/secret.jpg", false },
        { "%P/Previews/pipe.jpg", false },
        { "%P/Previews/folder.jpg", false },
    };
    QList<VersionRow> versions;
    QList<MasterRow> masters;
    std::map<QString, AlbumEntry> album;
    for (int i = 0; i < int(std::size(cases)); ++i) {
        const QString n = QString::number(i + 1);
        versions.append({ i + 1, "v" + n, "m" + n, "p1" });
        masters.append({ "m" + n, "master" + n + ".jpg" });
        ASSERT_TRUE(writePhoto(package + "/Masters/master" + n + ".jpg"));
        const QString path = QString(cases[i].albumPath).replace("%P", package).replace("%D", dir.path());
        album[QString::number(i + 1)] = { path, path };
    }
    ASSERT_TRUE(buildVersionDatabase(package + "/Database/apdb/Library.apdb", versions, masters, { { "p1" } }));
    ASSERT_TRUE(writeAlbumFile(package + "/AlbumData.xml", package, album));

    const Read read = guardedRead(dir.path(), package);
    ASSERT_EQ(read.imagePaths.size(), qsizetype(std::size(cases)));
    for (int i = 0; i < int(std::size(cases)); ++i) {
        SCOPED_TRACE(cases[i].albumPath);
        const QString master = package + "/Masters/master" + QString::number(i + 1) + ".jpg";
        EXPECT_EQ(read.imagePaths.at(i) == master, !cases[i].taken) << read.imagePaths.at(i).toStdString();
    }
}
