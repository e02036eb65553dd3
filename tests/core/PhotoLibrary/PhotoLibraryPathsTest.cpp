#include "core/PhotoLibrary/PhotoLibraryPaths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "core/Helper/CommonFunc.h"
#include "core/PhotoLibrary/LibraryPathResolver.h"
#include "support/LibraryFixtures.h"
#include "support/TestImages.h"

using namespace vantrel;
using namespace vantrel::libraryfixtures;

namespace {

/// A package holding the given files (empty content) and, when `version` is given, an
/// "AlbumData.xml" with that "Application Version".
QString makePackage(
    const QTemporaryDir& dir, const QStringList& files, const std::optional<QString>& version = {}, bool album = false)
{
    const QString package = dir.path() + "/Lib.photolibrary";
    QDir().mkpath(package);
    for (const QString& file : files) {
        QDir().mkpath(QFileInfo(package + "/" + file).absolutePath());
        if (!file.endsWith('/')) {
            EXPECT_TRUE(testimages::writeBytes(package + "/" + file, "x"));
        }
    }
    if (album || version) {
        EXPECT_TRUE(writeAlbumFile(package + "/AlbumData.xml", package, {}, version));
    }
    return package;
}

} // namespace

TEST(LibraryPathResolver, ExactSpellingFirstThenAnyLetterCasePerComponent)
{
    QTemporaryDir dir;
    const QString package
        = makePackage(dir, { "Masters/2012/IMG.JPG", "masters/2012/img.jpg", "Database/apdb/Library.apdb" });
    const LibraryPathResolver library(package + "/");

    EXPECT_EQ(library.packagePath(), package);
    EXPECT_EQ(library.find("masters/2012/img.jpg"), package + "/masters/2012/img.jpg");
    EXPECT_EQ(library.find("Masters/2012/IMG.JPG"), package + "/Masters/2012/IMG.JPG");
    EXPECT_EQ(library.find("database/APDB/library.apdb"), package + "/Database/apdb/Library.apdb");
    EXPECT_EQ(library.find("database/apdb/photos.db"), "");
    EXPECT_EQ(library.find("Database/../Database/apdb/Library.apdb"), "");
    EXPECT_EQ(library.resolve("originals/0/a.jpg"), package + "/originals/0/a.jpg");
    EXPECT_EQ(
        library.resolveFullPath(package + "/DATABASE/apdb/LIBRARY.APDB"), package + "/Database/apdb/Library.apdb");
    EXPECT_EQ(library.resolveFullPath("/elsewhere/x.jpg"), "/elsewhere/x.jpg");
    EXPECT_TRUE(LibraryPathResolver(package.toLower()).find("Database").isEmpty()); // the package path is as given
}

// A photo path from a library's records is read only when it lies inside the package. A sibling
// folder whose name begins with the package's name is outside it, whether it is named directly,
// reached by ".." or through a link inside the package.
TEST(LibraryPathResolver, OnlyPathsInsideThePackageAreAdmitted)
{
    QTemporaryDir dir;
    const QString package = makePackage(dir, { "Masters/a.jpg" });
    const QString sibling = package + "2";
    ASSERT_TRUE(QDir().mkpath(sibling));
    ASSERT_TRUE(testimages::writeBytes(sibling + "/b.jpg", "x"));
    ASSERT_TRUE(QFile::link(sibling + "/b.jpg", package + "/Masters/link.jpg"));
    ASSERT_TRUE(QFile::link(package + "/Masters/a.jpg", sibling + "/back.jpg"));
    const LibraryPathResolver library(package);

    const struct {
        QString path;
        bool admitted;
    } cases[] = {
        { package + "/Masters/a.jpg", true },
        { package + "/Masters/missing.jpg", true }, // refused later, when it is read
        { package + "/Masters", false }, // a folder is no photo
        { sibling + "/b.jpg", false },
        { sibling + "/missing.jpg", false },
        { sibling + "/back.jpg", false }, // named outside, though it leads inside
        { package + "/Masters/../../" + QFileInfo(sibling).fileName() + "/b.jpg", false },
        { package + "/Masters/link.jpg", false },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path.toStdString());
        EXPECT_EQ(library.admitsPhoto(c.path), c.admitted);
    }
}

TEST(PhotoLibraryPaths, DatabaseOfAPhotosLibrary)
{
    struct Case {
        QStringList files;
        const char* expected; // relative to the package; "" for none
    };
    const Case cases[] = {
        { { "Database/apdb/Library.apdb", "database/Photos.sqlite" }, "Database/apdb/Library.apdb" },
        { { "database/Library.apdb", "database/photos.db" }, "database/Library.apdb" },
        { { "database/apdb/photos.db", "database/photos.db" }, "database/apdb/photos.db" },
        { { "database/photos.db", "database/Photos.sqlite" }, "database/photos.db" },
        { { "database/Photos.sqlite" }, "database/Photos.sqlite" },
        { { "database/" }, "" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.expected);
        QTemporaryDir dir;
        const QString package = makePackage(dir, c.files);
        const QString expected = *c.expected ? package + "/" + c.expected : QString();
        EXPECT_EQ(PhotoLibraryPaths::getDataBasePathForPhotosLib(package).toStdString(), expected.toStdString());
    }
}

TEST(PhotoLibraryPaths, KindAndVersionOfALibrary)
{
    struct Case {
        const char* name;
        QStringList files;
        std::optional<QString> version;
        bool album;
        bool photosLib;
        const char* libraryVersion; // nullptr: none
        const char* masters; // nullptr: none
        bool pkg;
        bool nineAndAbove;
    };
    const Case cases[] = {
        { "iPhoto 9", { "Database/apdb/Library.apdb", "Masters/" }, QStringLiteral("9.6.1 (910.29)"), true, true, "9",
            "Masters", true, true },
        { "iPhoto 9 without masters", { "Database/apdb/Library.apdb" }, QStringLiteral("9.4"), true, true, "9", nullptr,
            false, true },
        { "iPhoto 8", { "masters/" }, QStringLiteral("8.1.2"), true, false, "8", nullptr, false, false },
        { "iPhoto 7", {}, QStringLiteral("7"), true, false, "7", nullptr, false, false },
        { "newer application", {}, QStringLiteral("11.0"), true, false, "11", nullptr, false, true },
        { "album without version", { "database/Library.apdb" }, std::nullopt, true, false, nullptr, nullptr, false,
            false },
        { "Photos library", { "database/Library.apdb" }, std::nullopt, false, true, nullptr, nullptr, false, false },
        { "empty folder", {}, std::nullopt, false, false, nullptr, nullptr, false, false },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir dir;
        const QString package = makePackage(dir, c.files, c.version, c.album);
        EXPECT_EQ(PhotoLibraryPaths::isPhotosLib(package), c.photosLib);
        EXPECT_EQ(PhotoLibraryPaths::getPhotoLibraryVersion(package),
            c.libraryVersion ? QString(c.libraryVersion) : QString());
        EXPECT_EQ(PhotoLibraryPaths::getPhotoLibraryVersion(package).isNull(), c.libraryVersion == nullptr);
        EXPECT_EQ(
            PhotoLibraryPaths::photoLibrary_MastersOrOriginal(package), c.masters ? QString(c.masters) : QString());
        EXPECT_EQ(PhotoLibraryPaths::isPkgPhotoLib(package), c.pkg);
        EXPECT_EQ(PhotoLibraryPaths::isiPhotoLibrary9AndAbove(package), c.nineAndAbove);
        // The helpers' answers are the readers' answers.
        EXPECT_EQ(
            CommonFunc::getDataBasePathForPhotosLib(package), PhotoLibraryPaths::getDataBasePathForPhotosLib(package));
        EXPECT_EQ(CommonFunc::isPhotosLib(package), c.photosLib);
        EXPECT_EQ(CommonFunc::getPhotoLibraryVersion(package), PhotoLibraryPaths::getPhotoLibraryVersion(package));
        EXPECT_EQ(CommonFunc::photoLibrary_MastersOrOriginal(package),
            PhotoLibraryPaths::photoLibrary_MastersOrOriginal(package));
        EXPECT_EQ(CommonFunc::isPkgPhotoLib(package), c.pkg);
        EXPECT_EQ(CommonFunc::isiPhotoLibrary9AndAbove(package), c.nineAndAbove);
    }
    EXPECT_EQ(CommonFunc::getPhotoLibraryMajorVersion("9.6.1"), "9");
    EXPECT_EQ(PhotoLibraryPaths::getPhotoLibraryMajorVersion("9.6.1"), "9");
    EXPECT_EQ(PhotoLibraryPaths::getPhotoLibraryMajorVersion("10"), "10");
    EXPECT_TRUE(PhotoLibraryPaths::getPhotoLibraryMajorVersion(QString()).isNull());

    QTemporaryDir damaged;
    const QString package = makePackage(damaged, {});
    ASSERT_TRUE(testimages::writeBytes(package + "/AlbumData.xml", "<plist><dict><key>"));
    EXPECT_TRUE(PhotoLibraryPaths::getPhotoLibraryVersion(package).isNull());
}
