#include "core/PhotoLibrary/DBOperations.h"

#include <chrono>
#include <filesystem>

#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "core/PhotoLibrary/LibraryReadGuard.h"
#include "support/LibraryFixtures.h"

using namespace vantrel;
using namespace vantrel::libraryfixtures;

namespace {

QList<AssetRow> assetRows()
{
    return {
        { "U1", "0", "U1.jpeg", QStringLiteral("IMG_0001.JPG"), 111 },
        { "U2", "1", "U2.jpeg", QStringLiteral("IMG_0002.JPG"), 222, 1 }, // in the trash
        { "U3", "2", "U3.png", std::nullopt, 333 }, // no original file name
        { "U4", "3", "U4.jpeg", QStringLiteral("gone.jpg"), 444, 0, false }, // its file is missing
        { "U5", "", "U5.jpeg", QStringLiteral("nowhere.jpg"), 555 }, // no folder: no path
    };
}

std::optional<QList<DBOperations::Photo>> guardedRead(const QString& testFolder, const QString& package)
{
    LibraryReadGuard guard(testFolder);
    auto photos = DBOperations::getPhotoslibraryPath(package);
    guard.check();
    return photos;
}

QStringList valuesOf(const QList<DBOperations::Photo>& photos, const char* key)
{
    QStringList values;
    for (const auto& photo : photos)
        values << photo.value(QString::fromLatin1(key)).toString();
    return values;
}

} // namespace

TEST(PhotosLibraryReader, NewerLayoutWithEitherAssetTable)
{
    for (const QString table : { "ZASSET", "ZGENERICASSET" }) {
        SCOPED_TRACE(table.toStdString());
        QTemporaryDir dir;
        const QString package = dir.path() + "/Family.photoslibrary";
        ASSERT_TRUE(buildNewerPhotosLibrary(package, assetRows(), table));

        const auto photos = guardedRead(dir.path(), package);
        ASSERT_TRUE(photos);
        ASSERT_EQ(photos->size(), 3);
        EXPECT_EQ(valuesOf(*photos, "imagePath"),
            QStringList({ package + "/originals/0/U1.jpeg", package + "/originals/2/U3.png",
                package + "/originals/3/U4.jpeg" }));
        EXPECT_EQ(valuesOf(*photos, "originalFileName"), QStringList({ "IMG_0001.JPG", "U3.png", "gone.jpg" }));
        EXPECT_EQ(valuesOf(*photos, "uuid"), QStringList({ "U1", "U3", "U4" }));
        EXPECT_EQ(valuesOf(*photos, "uuidRKVersion"), QStringList({ "U1", "U3", "U4" }));
        EXPECT_EQ(valuesOf(*photos, "modelId"), QStringList({ "", "", "" }));
        EXPECT_EQ(valuesOf(*photos, "description"), QStringList({ "", "", "" }));
        EXPECT_EQ(photos->at(0).value("fileSize").typeId(), QMetaType::LongLong);
        EXPECT_EQ(photos->at(0).value("fileSize").toLongLong(), 111);
        EXPECT_TRUE(QFileInfo::exists(photos->at(0).value("imagePath").toString()));
        EXPECT_FALSE(QFileInfo::exists(photos->at(2).value("imagePath").toString()));
    }
}

TEST(PhotosLibraryReader, SeesTheRowThatLivesOnlyInTheWriteAheadLog)
{
    QTemporaryDir dir;
    const QString package = dir.path() + "/Live.photoslibrary";
    const QList<AssetRow> rows { { "A", "0", "A.jpeg", QStringLiteral("a.jpg") },
        { "B", "1", "B.jpeg", QStringLiteral("b.jpg") }, { "C", "2", "C.jpeg", QStringLiteral("c.jpg") } };
    ASSERT_TRUE(buildWalPhotosLibrary(package, rows));
    ASSERT_TRUE(QFileInfo::exists(package + "/database/Photos.sqlite-wal"));
    ASSERT_EQ(rowsWithoutWal(package + "/database/Photos.sqlite", dir.path() + "/scratch"), 2);
    QDir(dir.path() + "/scratch").removeRecursively();

    const auto photos = guardedRead(dir.path(), package);
    ASSERT_TRUE(photos);
    EXPECT_EQ(valuesOf(*photos, "uuid"), QStringList({ "A", "B", "C" }));
}

TEST(PhotosLibraryReader, OlderLayoutAtEveryPlace)
{
    const QList<VersionRow> versions {
        { 1, "v1", "m1", "p1", QStringLiteral("one"), 0, 1, 1, QStringLiteral("a caption") },
        { 2, "v2", "m2", "p1", QStringLiteral("hidden"), 0, 0, 1 },
        { 3, "v3", "m3", "p1", QStringLiteral("trashed master") },
        { 4, "v4", "m4", "p1", std::nullopt, 1, 1, 1 }, // trashed version
        { 5, "v5", "m5", "p1", std::nullopt, 0, 1, 1, std::nullopt },
    };
    const QList<MasterRow> masters {
        { "m1", "2015/06/01/a.jpg", QStringLiteral("DSC_1.JPG"), 10 },
        { "m2", "2015/06/01/b.jpg", QStringLiteral("DSC_2.JPG"), 20 },
        { "m3", "2015/06/01/c.jpg", QStringLiteral("DSC_3.JPG"), 30, 1 },
        { "m4", "2015/06/01/d.jpg", QStringLiteral("DSC_4.JPG"), 40 },
        { "m5", "2015/06/02/e.jpg", std::nullopt, 50 },
    };
    for (const QString place :
        { "database/apdb/Library.apdb", "database/Library.apdb", "database/apdb/photos.db", "database/photos.db" }) {
        SCOPED_TRACE(place.toStdString());
        QTemporaryDir dir;
        const QString package = dir.path() + "/Old.photoslibrary";
        ASSERT_TRUE(buildVersionDatabase(package + "/" + place, versions, masters, { { "p1", std::nullopt } }));
        for (const MasterRow& master : masters)
            ASSERT_TRUE(writePhoto(package + "/Masters/" + master.imagePath));

        const auto photos = guardedRead(dir.path(), package);
        ASSERT_TRUE(photos);
        EXPECT_EQ(valuesOf(*photos, "imagePath"),
            QStringList({ package + "/Masters/2015/06/01/a.jpg", package + "/Masters/2015/06/02/e.jpg" }));
        EXPECT_EQ(valuesOf(*photos, "modelId"), QStringList({ "1", "5" }));
        EXPECT_EQ(valuesOf(*photos, "uuid"), QStringList({ "m1", "m5" }));
        EXPECT_EQ(valuesOf(*photos, "uuidRKVersion"), QStringList({ "v1", "v5" }));
        EXPECT_EQ(valuesOf(*photos, "originalFileName"), QStringList({ "DSC_1.JPG", "e.jpg" }));
        EXPECT_EQ(valuesOf(*photos, "description"), QStringList({ "a caption", "" }));
        EXPECT_EQ(valuesOf(*photos, "fileSize"), QStringList({ "10", "50" }));
    }
}

TEST(PhotosLibraryReader, ChoosesTheDatabaseByWhatThePackageHolds)
{
    QTemporaryDir dir;
    const QString package = dir.path() + "/Both.photoslibrary";
    ASSERT_TRUE(buildNewerPhotosLibrary(package, assetRows()));
    ASSERT_TRUE(buildVersionDatabase(
        package + "/database/Library.apdb", { { 1, "v1", "m1", "p1" } }, { { "m1", "x/old.jpg" } }, {}));
    ASSERT_TRUE(writePhoto(package + "/Masters/x/old.jpg"));

    const auto photos = guardedRead(dir.path(), package);
    ASSERT_TRUE(photos);
    EXPECT_EQ(valuesOf(*photos, "imagePath"), QStringList({ package + "/Masters/x/old.jpg" }));
    EXPECT_EQ(DBOperations::getDataBasePathForPhotosLib(package), package + "/database/Library.apdb");

    QTemporaryDir empty;
    QDir().mkpath(empty.path() + "/Empty.photoslibrary/database");
    EXPECT_FALSE(guardedRead(empty.path(), empty.path() + "/Empty.photoslibrary"));
    EXPECT_FALSE(DBOperations::getPhotoslibraryPath(empty.path() + "/Missing.photoslibrary"));
}

TEST(PhotosLibraryReader, NamesInsideThePackageIgnoreLetterCase)
{
    QTemporaryDir dir;
    const QString package = dir.path() + "/Holiday PHOTOS.photoslibrary";
    ASSERT_TRUE(buildNewerPhotosLibrary(package, { { "U1", "0A", "U1.JPEG", QStringLiteral("x.jpg") } },
        QStringLiteral("ZASSET"), QStringLiteral("Database/photos.SQLITE")));
    ASSERT_TRUE(QDir(package).rename("originals", "Originals"));

    for (int read = 0; read < 2; ++read) { // a second read finds no stale copy in the way
        const auto photos = guardedRead(dir.path(), package);
        ASSERT_TRUE(photos);
        ASSERT_EQ(photos->size(), 1);
        EXPECT_EQ(photos->at(0).value("imagePath").toString(), package + "/Originals/0A/U1.JPEG");
    }
}

TEST(PhotosLibraryReader, RemovesPrivateCopiesLeftBehindByAnEndedProcess)
{
    QTemporaryDir dir;
    const QString package = dir.path() + "/Family.photoslibrary";
    ASSERT_TRUE(buildNewerPhotosLibrary(package, assetRows()));
    const QString caches = Paths::cachesFolder();
    const QString stale = caches + "/library-stale1", recent = caches + "/library-recent";
    ASSERT_TRUE(writePhoto(stale + "/Photos.sqlite.jpg"));
    ASSERT_TRUE(QDir().mkpath(recent));
    std::filesystem::last_write_time(
        stale.toStdString(), std::filesystem::file_time_type::clock::now() - std::chrono::hours(7));

    EXPECT_TRUE(DBOperations::getPhotoslibraryPath(package));
    EXPECT_FALSE(QFileInfo::exists(stale));
    EXPECT_TRUE(QFileInfo::exists(recent)); // may belong to a read in progress
    QDir(recent).removeRecursively();
}

TEST(PhotosLibraryReader, AnUpgradedLibraryIsReadThroughItsNewerDatabase)
{
    // photos.db is what the library had before the upgrade; Photos.sqlite now holds the photos.
    QTemporaryDir dir;
    const QString package = dir.path() + "/Upgraded.photoslibrary";
    ASSERT_TRUE(buildNewerPhotosLibrary(package, assetRows()));
    ASSERT_TRUE(execSql(package + "/database/photos.db", "CREATE TABLE RKVersion (modelId INTEGER);"));

    const auto photos = guardedRead(dir.path(), package);
    ASSERT_TRUE(photos);
    EXPECT_EQ(DBOperations::getDataBasePathForPhotosLib(package), package + "/database/Photos.sqlite");
    EXPECT_EQ(valuesOf(*photos, "uuid"), QStringList({ "U1", "U3", "U4" }));
}

TEST(PhotosLibraryReader, SpecialFilesAndLinksOutOfThePackageAreNeverRead)
{
    QTemporaryDir dir;
    const QString package = dir.path() + "/Odd.photoslibrary";
    ASSERT_TRUE(
        buildNewerPhotosLibrary(package, { { "U1", "0", "U1.jpeg" }, { "U2", "1", "U2.jpeg", {}, 1, 0, false } }));
    // A FIFO named like a companion would block a reader that opened it.
    ASSERT_EQ(::mkfifo(QFile::encodeName(package + "/database/Photos.sqlite-wal").constData(), 0600), 0);
    // U2's file is a link to a photo outside the package.
    ASSERT_TRUE(writePhoto(dir.path() + "/outside/secret.jpeg"));
    QDir().mkpath(package + "/originals/1");
    std::filesystem::create_symlink(
        (dir.path() + "/outside/secret.jpeg").toStdString(), (package + "/originals/1/U2.jpeg").toStdString());

    const auto photos = DBOperations::getPhotoslibraryPath(package);
    ASSERT_TRUE(photos);
    EXPECT_EQ(valuesOf(*photos, "uuid"), QStringList({ "U1" }));
}
