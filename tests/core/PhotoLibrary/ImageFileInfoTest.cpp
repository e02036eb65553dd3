#include "core/PhotoLibrary/ImageFileInfo.h"

#include <sys/xattr.h>

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "core/DataBeans/ExifInfo.h"
#include "support/TestImages.h"

using namespace vantrel;

namespace {

QString writeFile(const QTemporaryDir& dir, const QString& name, int size)
{
    const QString path = dir.filePath(name);
    EXPECT_TRUE(testimages::writeBytes(path, QByteArray(size, 'x')));
    return path;
}

} // namespace

TEST(ImageFileInfo, PlainFilesBelowTwentyBytesGiveNoRecordAndTypesComeFromTheExtension)
{
    struct Case {
        const char* name;
        int size;
        const char* type; // nullptr: no record
    };
    const Case cases[] = {
        { "small.jpg", 19, nullptr },
        { "enough.jpg", 20, "JPG" },
        { "upper.PNG", 64, "Portable Network Graphic" },
        { "lower.png", 64, "Portable Network Graphic" },
        { "scan.tif", 64, "TIF" },
        { "noextension", 64, "" },
    };
    QTemporaryDir dir;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = writeFile(dir, c.name, c.size);
        const auto record = ImageFileInfo::initWithPathForFile(path);
        if (!c.type) {
            EXPECT_EQ(record, nullptr);
            continue;
        }
        ASSERT_NE(record, nullptr);
        EXPECT_EQ(record->fileType, c.type);
        EXPECT_EQ(record->fileName, c.name);
        EXPECT_EQ(record->filePath, path);
        EXPECT_EQ(record->fileSize, quint64(c.size));
        EXPECT_TRUE(record->modDate.isValid());
        EXPECT_TRUE(record->createDate.isValid());
        EXPECT_FALSE(record->isMark || record->isVideo || record->isiPhotoNode || record->isPhotosNode);
        EXPECT_FALSE(record->isExifInfoUpdated());
    }
    EXPECT_EQ(ImageFileInfo::initWithPathForFile(dir.filePath("missing.jpg")), nullptr);
}

TEST(ImageFileInfo, LibraryRecordsCarryTheirNodes)
{
    QTemporaryDir dir;
    const QString original = writeFile(dir, "original.jpg", 100);
    const QString image = writeFile(dir, "image.jpg", 50);
    const QString tiny = writeFile(dir, "tiny.jpg", 19);

    const auto fromImage = ImageFileInfo::initWithiPhotoOriginalPath(original, "thumb.jpg", image, 7, "Holiday");
    ASSERT_NE(fromImage, nullptr);
    EXPECT_TRUE(fromImage->isiPhotoNode);
    EXPECT_EQ(fromImage->filePath, image);
    EXPECT_EQ(fromImage->fileSize, 50u);
    EXPECT_EQ(fromImage->fileType, "Regular");
    EXPECT_EQ(fromImage->iPhotoInfo.oPath, original);
    EXPECT_EQ(fromImage->iPhotoInfo.tPath, "thumb.jpg");
    EXPECT_EQ(fromImage->iPhotoInfo.index, 7);
    EXPECT_EQ(fromImage->iPhotoInfo.eventName, "Holiday");

    const auto fromOriginal = ImageFileInfo::initWithiPhotoOriginalPath(original, {}, {}, 0, {});
    ASSERT_NE(fromOriginal, nullptr);
    EXPECT_EQ(fromOriginal->filePath, original);
    EXPECT_EQ(ImageFileInfo::initWithiPhotoOriginalPath(original, {}, tiny, 0, {}), nullptr);

    // The Photos record trusts the given size for the 20-byte test, then reads the file.
    EXPECT_EQ(
        ImageFileInfo::initWithPhotosOriginalPath(original, {}, "IMG_1.JPG", 19, "u", "m", "v", dir.path()), nullptr);
    const auto photos
        = ImageFileInfo::initWithPhotosOriginalPath(tiny, "t", "IMG_1.JPG", 20, "u", "m", "v", dir.path());
    ASSERT_NE(photos, nullptr);
    EXPECT_TRUE(photos->isPhotosNode);
    EXPECT_EQ(photos->fileName, "IMG_1.JPG");
    EXPECT_EQ(photos->fileSize, 19u);
    EXPECT_EQ(photos->fileType, "Regular");
    EXPECT_EQ(photos->libraryPath, dir.path());
    EXPECT_EQ(photos->photosInfo.fileSize, 20u);
    EXPECT_EQ(photos->photosInfo.uuIDRkVersion, "v");
    EXPECT_FALSE(photos->photosInfo.isMovedToTrashAlbum);
}

TEST(ImageFileInfo, FileSystemTypeAndAttributes)
{
    QTemporaryDir dir;
    const QString file = writeFile(dir, "a.jpg", 30);
    EXPECT_EQ(ImageFileInfo::fileSystemType(file), "Regular");
    EXPECT_EQ(ImageFileInfo::fileSystemType(dir.path()), "Directory");
    EXPECT_EQ(ImageFileInfo::fileSystemType(dir.filePath("missing")), "Unknown");

    EXPECT_FALSE(ImageFileInfo::metaDataDictionaryForFileAt(dir.filePath("missing")));
    const bool tagged = ::setxattr(QFile::encodeName(file).constData(), "user.vantrel.test", "yes", 3, 0) == 0;
    const auto attributes = ImageFileInfo::metaDataDictionaryForFileAt(file);
    ASSERT_TRUE(attributes);
    EXPECT_EQ(attributes->value("FSName").toString(), "a.jpg");
    EXPECT_EQ(attributes->value("FSSize").toLongLong(), 30);
    if (tagged) {
        EXPECT_EQ(attributes->value("xattr:user.vantrel.test").toByteArray(), "yes");
    }
}

TEST(ImageFileInfo, MetadataIsReadOnceOnDemand)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("photo.jpg");
    ASSERT_TRUE(testimages::writePattern(path, 40, 30));
    const auto record = ImageFileInfo::initWithPathForFile(path);
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->exifInfo(), nullptr);

    record->updateExifInfo();
    ASSERT_TRUE(record->isExifInfoUpdated());
    ASSERT_NE(record->exifInfo(), nullptr);
    EXPECT_EQ(record->exifInfo()->pixelWidth(), 40);

    ASSERT_TRUE(testimages::writePattern(path, 64, 48));
    record->updateExifInfo();
    EXPECT_EQ(record->exifInfo()->pixelWidth(), 40);
}
