#include "core/AddPhotos/AddScan.h"

#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "core/AddPhotos/AddedPaths.h"
#include "core/AddPhotos/FolderWalk.h"
#include "core/AddPhotos/TrashLocation.h"
#include "support/LibraryFixtures.h"
#include "support/TestImages.h"

using namespace vantrel;

namespace {

struct ScanResult {
    AddScanOutcome outcome;
    QStringList accepted; ///< paths relative to the test folder, in delivery order
    int groups = 0;
};

class AddScanTest : public ::testing::Test {
protected:
    QString path(const QString& relative) const { return m_dir.path() + '/' + relative; }

    void photo(const QString& relative, int width = 16, int height = 12)
    {
        QDir().mkpath(QFileInfo(path(relative)).absolutePath());
        ASSERT_TRUE(testimages::writePattern(path(relative), width, height)) << relative.toStdString();
    }

    void bytes(const QString& relative, const QByteArray& content)
    {
        QDir().mkpath(QFileInfo(path(relative)).absolutePath());
        ASSERT_TRUE(testimages::writeBytes(path(relative), content));
    }

    ScanResult scan(const QStringList& relativeSources, AddScanOptions options = {}, int maxGroup = 256,
        const std::function<void()>& afterGroup = {})
    {
        ScanResult result;
        AddScan scanner(options, m_added, m_stop);
        scanner.setDeliver(
            [&](const QList<PhotoFilePtr>& photos) {
                ++result.groups;
                for (const PhotoFilePtr& p : photos)
                    result.accepted.append(p->filePath().mid(m_dir.path().size() + 1));
                if (afterGroup)
                    afterGroup();
            },
            maxGroup, std::chrono::hours(1));
        QStringList sources;
        for (const QString& s : relativeSources)
            sources.append(path(s));
        result.outcome = scanner.run(sources);
        return result;
    }

    QTemporaryDir m_dir;
    AddedPaths m_added;
    std::atomic<bool> m_stop { false };
};

TEST_F(AddScanTest, TypeTestAndHeaderProbeDecideEachSingleFile)
{
    photo("a.jpg", 400, 300);
    photo("up.JPG");
    photo("grey.pgm");
    ASSERT_TRUE(QFile::copy(path("grey.pgm"), path("GREY.PGM")));
    ASSERT_TRUE(QFile::copy(path("grey.pgm"), path("mixed.Pgm")));
    ASSERT_TRUE(QFile::copy(path("a.jpg"), path("named.png"))); // content decides the loader
    bytes("text.jpg", "just some words, not a photo\n");
    ASSERT_TRUE(testimages::writeEmptyFile(path("zero.jpg")));
    ASSERT_TRUE(testimages::writeTruncatedJpeg(path("cut-in-header.jpg"), 40, 30, 6));
    QFile full(path("a.jpg"));
    ASSERT_TRUE(full.open(QIODevice::ReadOnly));
    bytes("cut-in-pixels.jpg", full.readAll().left(int(full.size() * 3 / 4)));
    ASSERT_TRUE(testimages::writeLinearDng(path("camera.dng"), 20, 10, 1));
    bytes("notes.txt", "hello");

    struct Case {
        const char* file;
        bool accepted;
        bool unsupported;
        bool raw;
    };
    const Case cases[] = {
        { "a.jpg", true, false, false },
        { "up.JPG", true, false, false },
        { "grey.pgm", true, false, true },
        { "GREY.PGM", true, false, true },
        { "mixed.Pgm", false, true, false }, // an extra extension counts only as written
        { "named.png", true, false, false },
        { "text.jpg", false, true, false },
        { "zero.jpg", false, true, false },
        { "cut-in-header.jpg", false, true, false },
        { "cut-in-pixels.jpg", true, false, false }, // only the header is read
        { "camera.dng", true, false, true },
        { "notes.txt", false, true, false },
        { "missing.jpg", false, true, false },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        m_added.clear();
        const ScanResult r = scan({ c.file });
        EXPECT_EQ(r.accepted, c.accepted ? QStringList { c.file } : QStringList {});
        EXPECT_EQ(r.outcome.totalPhotoToAdd, c.accepted ? 1 : 0);
        EXPECT_EQ(r.outcome.isPhotoFormatNotSupported, c.unsupported);
        EXPECT_EQ(r.outcome.damagedFileCount, c.unsupported ? 1 : 0);
        EXPECT_EQ(r.outcome.isRawImageExist, c.raw);
    }
}

TEST_F(AddScanTest, FoldersWalkInNameOrderSkippingHiddenPackagesAndLinks)
{
    photo("top/img10.jpg");
    photo("top/img2.jpg");
    photo("top/IMG1.jpg");
    photo("top/b/inner.png");
    photo("top/a/deep/x.jpg");
    photo("top/.hidden/secret.jpg");
    photo("top/.dot.jpg");
    bytes("top/._img2.jpg", QByteArray("\0\x05\x16\x07\0\x02\0\0Mac OS X        ", 24));
    photo("top/Lib.photoslibrary/originals/0/p.jpg");
    bytes("top/readme.txt", "words");
    ASSERT_EQ(::symlink(path("top").toUtf8().constData(), path("top/a/loop").toUtf8().constData()), 0);
    ASSERT_EQ(::symlink("a.jpg-nowhere", path("top/b/dangling.jpg").toUtf8().constData()), 0);

    AddScanOptions recursive;
    recursive.isAddFromSubFolderSelected = true;
    const ScanResult deep = scan({ "top" }, recursive);
    EXPECT_EQ(deep.accepted,
        QStringList({ "top/a/deep/x.jpg", "top/b/inner.png", "top/IMG1.jpg", "top/img2.jpg", "top/img10.jpg" }));
    // The link loop, the dangling link and the text file are candidates and refused.
    EXPECT_EQ(deep.outcome.damagedFileCount, 3);

    m_added.clear();
    const ScanResult flat = scan({ "top" });
    // One level: hidden entries are candidates; the "._" companion has no pixel size.
    EXPECT_EQ(flat.accepted, QStringList({ "top/.dot.jpg", "top/IMG1.jpg", "top/img2.jpg", "top/img10.jpg" }));
    EXPECT_EQ(flat.outcome.damagedFileCount, 1);
    EXPECT_TRUE(flat.outcome.isPhotoFormatNotSupported);
}

TEST_F(AddScanTest, UnreadableSubfolderAndUndecodableNameAreSkippedAndCounted)
{
    photo("root/a/1.jpg");
    photo("root/b/2.jpg");
    photo("root/c/3.jpg");
    const QByteArray badName = QFile::encodeName(path("root/c")) + "/\xff\xfe-photo.jpg";
    {
        FILE* f = std::fopen(badName.constData(), "wb");
        ASSERT_NE(f, nullptr);
        std::fclose(f);
    }
    AddScanOptions options;
    options.isAddFromSubFolderSelected = true;
    options.canReadFolder = [](const QByteArray& folder) { return !folder.endsWith("/b"); };
    const ScanResult r = scan({ "root" }, options);
    EXPECT_EQ(r.accepted, QStringList({ "root/a/1.jpg", "root/c/3.jpg" }));
    EXPECT_EQ(r.outcome.damagedFileCount, 1);
    EXPECT_TRUE(r.outcome.isPhotoFormatNotSupported);
    ::unlink(badName.constData()); // QTemporaryDir cannot name it
}

TEST_F(AddScanTest, DuplicatesAcrossSourcesAndRuns)
{
    photo("f/1.jpg");
    photo("f/2.jpg");
    const ScanResult first = scan({ "f", "f/1.jpg", "f" });
    EXPECT_EQ(first.accepted, QStringList({ "f/1.jpg", "f/2.jpg" }));
    EXPECT_EQ(first.outcome.alreadyExistsPhotosCount, 3);
    EXPECT_TRUE(first.outcome.isPhotosAlreadyAdded);
    EXPECT_EQ(completionAlertFor(first.outcome), AddAlert::None);

    const ScanResult again = scan({ "f" });
    EXPECT_TRUE(again.accepted.isEmpty());
    EXPECT_EQ(completionAlertFor(again.outcome), AddAlert::AlreadyAdded);

    m_added.remove(path("f/2.jpg")); // a removed photo may be added again
    EXPECT_EQ(scan({ "f" }).accepted, QStringList({ "f/2.jpg" }));
}

TEST_F(AddScanTest, StopAndLimitEndTheWholeScanBeforeAppending)
{
    for (int i = 1; i <= 4; ++i) {
        photo(QStringLiteral("one/%1.jpg").arg(i));
        photo(QStringLiteral("two/%1.jpg").arg(i));
    }
    // Stop after the second photo was handed over: nothing more joins, from any later folder.
    const ScanResult stopped = scan({ "one", "two", "two/1.jpg" }, {}, 2, [this] { m_stop = true; });
    EXPECT_EQ(stopped.accepted, QStringList({ "one/1.jpg", "one/2.jpg" }));
    EXPECT_TRUE(stopped.outcome.stopped);
    EXPECT_FALSE(stopped.outcome.isMaxPhotosLimitExceeded);
    m_stop = false;

    struct Case {
        qint64 limit;
        int accepted;
        bool exceeded;
    };
    for (const Case c : { Case { 3, 3, true }, Case { 8, 8, false }, Case { 7, 7, true } }) {
        SCOPED_TRACE(c.limit);
        m_added.clear();
        AddScanOptions options;
        options.limit = c.limit;
        const ScanResult r = scan({ "one", "two" }, options, 1);
        EXPECT_EQ(r.accepted.size(), c.accepted);
        EXPECT_EQ(r.outcome.totalPhotoToAdd, c.accepted);
        EXPECT_EQ(r.outcome.isMaxPhotosLimitExceeded, c.exceeded);
        EXPECT_EQ(m_added.size(), c.accepted); // the refused photo is not marked as added
        EXPECT_EQ(completionAlertFor(r.outcome), c.exceeded ? AddAlert::LimitExceeded : AddAlert::None);
    }
}

TEST_F(AddScanTest, CompletionAlertForEachOutcome)
{
    bytes("texts/a.jpg", "not a photo");
    bytes("texts/b.txt", "not a photo");
    QDir().mkpath(path("empty"));
    photo("p/1.jpg");
    struct Case {
        QStringList sources;
        AddAlert alert;
    };
    const Case cases[] = {
        { { "texts" }, AddAlert::FormatNotSupported }, // one level: the .txt is left out, a.jpg refused
        { { "empty" }, AddAlert::NothingAdded }, { { "texts/b.txt" }, AddAlert::FormatNotSupported },
        { { "p/1.jpg" }, AddAlert::None },
        { { "p/1.jpg", "texts/a.jpg" }, AddAlert::AlreadyAdded }, // duplicate wins over unsupported
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.sources.join(',').toStdString());
        EXPECT_EQ(completionAlertFor(scan(c.sources).outcome), c.alert);
    }
    AddScanOutcome limit;
    limit.isMaxPhotosLimitExceeded = true;
    limit.totalPhotoToAdd = 5;
    EXPECT_EQ(completionAlertFor(limit), AddAlert::LimitExceeded);
}

TEST_F(AddScanTest, PhotosLibraryThroughTheReader)
{
    using libraryfixtures::AssetRow;
    const QString package = path("My Pictures.photoslibrary");
    ASSERT_TRUE(libraryfixtures::buildNewerPhotosLibrary(package,
        { { "U1", "0", "U1.jpeg", QStringLiteral("IMG_0001.JPG") }, { "U2", "1", "U2.png", std::nullopt },
            { "U3", "2", "U3.jpeg", QStringLiteral("gone.jpg"), 1, 0, false } }));
    AddPathType type = AddPathType::None;
    const QList<AddScan::LibraryItem> items = AddScan::libraryItems(package, &type);
    EXPECT_EQ(type, AddPathType::PhotosLibrary);
    ASSERT_EQ(items.size(), 2); // the missing file is skipped

    QList<PhotoFilePtr> got;
    AddScanOptions recursive;
    recursive.isAddFromSubFolderSelected = true;
    AddScan scanner(recursive, m_added, m_stop);
    scanner.setDeliver([&](const QList<PhotoFilePtr>& photos) { got.append(photos); });
    const AddScanOutcome outcome = scanner.run({ package });
    ASSERT_EQ(got.size(), 2);
    EXPECT_EQ(outcome.pathType, AddPathType::PhotosLibrary);
    for (const PhotoFilePtr& p : got)
        EXPECT_TRUE(p->isIphotosNode());
    QStringList names { got[0]->originalFileName(), got[1]->originalFileName() };
    names.sort();
    EXPECT_EQ(names, QStringList({ "IMG_0001.JPG", "U2.png" }));
}

TEST_F(AddScanTest, IPhotoLibraryThroughTheReaderWithItsPathAsWritten)
{
    using namespace libraryfixtures;
    const QString package = path("Pictures/Trip Library.photolibrary");
    ASSERT_TRUE(buildVersionDatabase(package + "/Database/apdb/Library.apdb",
        { { 1, "v1", "m1", "p1" }, { 2, "v2", "m2", "p1" }, { 3, "v3", "m1", "p1" } }, // v3: m1 again
        { { "m1", "2012/A.jpg" }, { "m2", "2012/B.png" } }, { { "p1", QStringLiteral("Holiday") } }));
    ASSERT_TRUE(writePhoto(package + "/Masters/2012/A.jpg"));
    ASSERT_TRUE(writePhoto(package + "/Masters/2012/B.png"));
    ASSERT_TRUE(writeAlbumFile(package + "/AlbumData.xml", package, {}));

    const ScanResult r = scan({ "Pictures/Trip Library.photolibrary" });
    EXPECT_EQ(r.accepted,
        QStringList({ "Pictures/Trip Library.photolibrary/Masters/2012/A.jpg",
            "Pictures/Trip Library.photolibrary/Masters/2012/B.png" }));
    EXPECT_EQ(r.outcome.pathType, AddPathType::IPhotoLibrary);
    EXPECT_EQ(r.outcome.alreadyExistsPhotosCount, 0); // the reader's repeats are merged first
    // A package met inside a folder walk is neither entered nor a candidate.
    m_added.clear();
    AddScanOptions recursive;
    recursive.isAddFromSubFolderSelected = true;
    EXPECT_TRUE(scan({ "Pictures" }, recursive).accepted.isEmpty());
}

// A Photos library and an iPhoto library in "Pictures", each holding besides its photos a preview
// and a link that leads out of it to a folder of photos: what a plain folder walk would add.
class PackageSpellingTest : public AddScanTest {
protected:
    void SetUp() override
    {
        using namespace libraryfixtures;
        ASSERT_TRUE(buildNewerPhotosLibrary(path("Pictures/Lib.photoslibrary"),
            { { "U1", "0", "U1.jpeg", QStringLiteral("IMG_1.JPG") }, { "U2", "1", "U2.jpeg", std::nullopt } }));
        const QString trip = path("Pictures/Trip.photolibrary");
        ASSERT_TRUE(buildVersionDatabase(trip + "/Database/apdb/Library.apdb",
            { { 1, "v1", "m1", "p1" }, { 2, "v2", "m2", "p1" } }, { { "m1", "2012/A.jpg" }, { "m2", "2012/B.jpg" } },
            { { "p1", QStringLiteral("Holiday") } }));
        ASSERT_TRUE(writePhoto(trip + "/Masters/2012/A.jpg"));
        ASSERT_TRUE(writePhoto(trip + "/Masters/2012/B.jpg"));
        ASSERT_TRUE(writeAlbumFile(trip + "/AlbumData.xml", trip, {}));
        // The last of its photos is only in the "-wal" file beside its database.
        ASSERT_TRUE(buildWalPhotosLibrary(path("Pictures/Wal.photoslibrary"),
            { { "A", "0", "A.jpeg" }, { "B", "0", "B.jpeg" }, { "C", "0", "C.jpeg" } }));
        photo("elsewhere/o.jpg");
        for (const QString package : { "Pictures/Lib.photoslibrary", "Pictures/Trip.photolibrary" }) {
            photo(package + "/resources/derivatives/preview.jpg");
            ASSERT_EQ(
                ::symlink(path("elsewhere").toUtf8().constData(), path(package + "/out").toUtf8().constData()), 0);
        }
    }

    // The photos the scan of one source accepts, sorted.
    QStringList accepted(const QString& source, AddPathType* type)
    {
        m_added.clear();
        AddScanOptions recursive;
        recursive.isAddFromSubFolderSelected = true;
        const ScanResult r = scan({ source }, recursive);
        *type = r.outcome.pathType;
        QStringList sorted = r.accepted;
        sorted.sort();
        return sorted;
    }
};

TEST_F(PackageSpellingTest, APackageIsReadAsAPackageHoweverItsPathIsSpelled)
{
    const QStringList photos { "Pictures/Lib.photoslibrary/originals/0/U1.jpeg",
        "Pictures/Lib.photoslibrary/originals/1/U2.jpeg" };
    const QStringList masters { "Pictures/Trip.photolibrary/Masters/2012/A.jpg",
        "Pictures/Trip.photolibrary/Masters/2012/B.jpg" };
    const struct {
        const char* source;
        AddPathType type;
        const QStringList& expected;
    } cases[] = {
        { "Pictures/Lib.photoslibrary", AddPathType::PhotosLibrary, photos },
        { "Pictures/Lib.photoslibrary/", AddPathType::PhotosLibrary, photos },
        { "Pictures/Lib.photoslibrary///", AddPathType::PhotosLibrary, photos },
        { "Pictures//Lib.photoslibrary", AddPathType::PhotosLibrary, photos },
        { "Pictures/./Lib.photoslibrary/", AddPathType::PhotosLibrary, photos },
        { "Pictures/Lib.photoslibrary/.", AddPathType::PhotosLibrary, photos },
        { "Pictures/Trip.photolibrary", AddPathType::IPhotoLibrary, masters },
        { "Pictures/Trip.photolibrary/", AddPathType::IPhotoLibrary, masters },
        { "Pictures//Trip.photolibrary//", AddPathType::IPhotoLibrary, masters },
        { "./Pictures/./Trip.photolibrary/./", AddPathType::IPhotoLibrary, masters },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.source);
        AddPathType type = AddPathType::None;
        EXPECT_EQ(accepted(c.source, &type).join('\n').toStdString(), c.expected.join('\n').toStdString());
        EXPECT_EQ(int(type), int(c.type));
    }
}

// The library's own database or album file reached through a link is read only when the link
// stays in the package: one leading out would make a file elsewhere pass for the library's. The
// same holds for the write-ahead log of its database.
TEST_F(PackageSpellingTest, ADatabaseOrAlbumFileLinkedFromOutsideIsNotRead)
{
    const struct {
        const char* package;
        const char* file;
        bool inside; // where the file is moved to and linked from
        int items;
    } cases[] = {
        { "Pictures/Lib.photoslibrary", "database/Photos.sqlite", false, 0 },
        { "Pictures/Lib.photoslibrary", "database/Photos.sqlite", true, 2 },
        { "Pictures/Trip.photolibrary", "Database/apdb/Library.apdb", false, 0 },
        { "Pictures/Trip.photolibrary", "Database/apdb/Library.apdb", true, 2 },
        { "Pictures/Trip.photolibrary", "AlbumData.xml", false, 0 },
        { "Pictures/Wal.photoslibrary", "database/Photos.sqlite-wal", false, 2 }, // the database alone
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.file) + (c.inside ? " inside" : " outside"));
        const QString file = path(QString::fromLatin1(c.package) + '/' + c.file);
        const QString moved = c.inside ? path(QString::fromLatin1(c.package) + "/store/" + QFileInfo(file).fileName())
                                       : path("elsewhere/" + QFileInfo(file).fileName());
        ASSERT_TRUE(QDir().mkpath(QFileInfo(moved).path()));
        ASSERT_TRUE(QFile::rename(file, moved));
        ASSERT_EQ(::symlink(moved.toUtf8().constData(), file.toUtf8().constData()), 0);
        EXPECT_EQ(AddScan::libraryItems(path(c.package)).size(), c.items);
        ASSERT_TRUE(QFile::remove(file));
        ASSERT_TRUE(QFile::rename(moved, file));
    }
}

TEST(TrashLocationTest, FreedesktopTrashFoldersOnly)
{
    const QString uid = QString::number(::getuid());
    const QString home = TrashLocation::homeTrash();
    const struct {
        QString path;
        bool inTrash;
    } cases[] = {
        { home + "/files/a.jpg", true }, { home, true }, { "/media/disk/.Trash-" + uid + "/files/a.jpg", true },
        { "/media/disk/.Trash/" + uid + "/files/a.jpg", true },
        { "/media/disk/.Trash-" + uid + "0/files/a.jpg", false }, { home + "x/files/a.jpg", false },
        { "/tmp/Trash/a.jpg", false }, { home.toUpper() + "/files/a.jpg", false }, // names are case-sensitive
    };
    for (const auto& c : cases)
        EXPECT_EQ(TrashLocation::isInTrash(c.path), c.inTrash) << c.path.toStdString();
}

TEST(FolderWalkTest, NamesCompareWithNumbersAsNumbers)
{
    QStringList names { "img10.jpg", "img2.jpg", "IMG1.jpg", "img02.jpg", "a", "img1b.jpg", "B" };
    std::sort(names.begin(), names.end(),
        [](const QString& a, const QString& b) { return FolderWalk::compareNames(a, b) < 0; });
    EXPECT_EQ(names, QStringList({ "a", "B", "IMG1.jpg", "img1b.jpg", "img02.jpg", "img2.jpg", "img10.jpg" }));
}

} // namespace
