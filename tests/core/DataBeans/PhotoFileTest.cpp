#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include <QTemporaryDir>

#include "core/DataBeans/PhotoFile.h"
#include "support/TestImages.h"

namespace vantrel {
namespace {

TEST(PhotoFileTest, SizeFollowsTheOrientation)
{
    QTemporaryDir dir;
    struct Case {
        int orientation; // 0: no tag
        double width, height;
    };
    const Case cases[] = { { 0, 40, 30 }, { 1, 40, 30 }, { 3, 40, 30 }, { 5, 30, 40 }, { 6, 30, 40 }, { 8, 30, 40 } };
    for (const Case& c : cases) {
        const QString path = dir.filePath(QStringLiteral("o%1.JPG").arg(c.orientation));
        ASSERT_TRUE(testimages::writePattern(path, 40, 30));
        if (c.orientation) {
            ASSERT_TRUE(testimages::setOrientation(path, c.orientation));
        }
        const PhotoFilePtr photo = PhotoFile::initWithFileUrl(path, QStringLiteral("shown.jpg"), true);
        EXPECT_EQ(photo->width(), c.width) << c.orientation;
        EXPECT_EQ(photo->height(), c.height) << c.orientation;
        EXPECT_EQ(photo->fileExtension(), QStringLiteral("JPG"));
        EXPECT_EQ(photo->fileName(), QStringLiteral("o%1.JPG").arg(c.orientation));
        EXPECT_EQ(photo->fileURL(), photo->filePath());
        EXPECT_EQ(photo->originalFileName(), QStringLiteral("shown.jpg"));
        EXPECT_EQ(photo->fileContainerFolderName(), QFileInfo(dir.path()).fileName());
        EXPECT_TRUE(photo->isIphotosNode());
        EXPECT_FALSE(photo->isSelected());
        EXPECT_EQ(photo->processStatus(), 0);
        EXPECT_GT(photo->fileSizeInBytes(), 0);
        EXPECT_TRUE(photo->fileSizeAsString().endsWith(QStringLiteral("bytes"))
            || photo->fileSizeAsString().endsWith(QStringLiteral("KB")));
    }
}

TEST(PhotoFileTest, NamePartsOfThePath)
{
    struct Case {
        const char* path;
        const char* extension;
        const char* container;
    };
    const Case cases[] = {
        { "/in/Trip/a.b.JPG", "JPG", "Trip" },
        { "/in/.jpg", "", "in" },
        { "/in/name.", "", "in" },
        { "/in/README", "", "in" },
        { "/a.png", "png", "/" },
    };
    for (const Case& c : cases) {
        const PhotoFilePtr photo = PhotoFile::initWithFileUrl(QString::fromUtf8(c.path), {}, false);
        EXPECT_EQ(photo->fileExtension(), QString::fromUtf8(c.extension)) << c.path;
        EXPECT_EQ(photo->fileContainerFolderName(), QString::fromUtf8(c.container)) << c.path;
    }
}

TEST(PhotoFileTest, NoImageGivesZeroSize)
{
    QTemporaryDir dir;
    const QString text = dir.filePath(QStringLiteral("notes.png"));
    ASSERT_TRUE(testimages::writeBytes(text, "just text"));
    for (const QString& path : { text, dir.filePath(QStringLiteral("missing.jpg")) }) {
        const PhotoFilePtr photo = PhotoFile::initWithFileUrl(path, QString(), false);
        ASSERT_TRUE(photo);
        EXPECT_EQ(photo->width(), 0);
        EXPECT_EQ(photo->height(), 0);
    }
    EXPECT_EQ(PhotoFile::initWithFileUrl(dir.filePath(QStringLiteral("missing.jpg")), {}, false)->fileSizeAsString(),
        QStringLiteral("0 bytes"));
}

TEST(PhotoFileTest, PropertyDictionaryIsReadOnFirstUse)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("a.jpg"));
    ASSERT_TRUE(testimages::writePattern(path, 40, 30));
    ASSERT_TRUE(testimages::setOrientation(path, 6));
    const PhotoFilePtr photo = PhotoFile::initWithFileUrl(path, QStringLiteral("a.jpg"), false);
    EXPECT_FALSE(photo->isExifDictLoaded());
    const QVariantMap dictionary = photo->exifDict();
    EXPECT_TRUE(photo->isExifDictLoaded());
    EXPECT_EQ(dictionary.value(QStringLiteral("Orientation")).toInt(), 6);
    EXPECT_EQ(dictionary.value(QStringLiteral("PixelWidth")).toInt(), 40);
    photo->setExifDict({ { QStringLiteral("k"), 1 } });
    EXPECT_EQ(photo->exifDict().value(QStringLiteral("k")).toInt(), 1);
}

TEST(PhotoFileTest, BuiltAndReadFromSeveralThreads)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("t.jpg"));
    ASSERT_TRUE(testimages::writePattern(path, 40, 30));
    ASSERT_TRUE(testimages::setOrientation(path, 8));
    std::vector<PhotoFilePtr> records(8);
    std::vector<std::thread> builders;
    for (size_t i = 0; i < records.size(); ++i)
        builders.emplace_back(
            [&, i] { records[i] = PhotoFile::initWithFileUrl(path, QStringLiteral("t.jpg"), false); });
    for (std::thread& t : builders)
        t.join();
    for (const PhotoFilePtr& record : records)
        EXPECT_EQ(record->width(), 30);

    // Concurrent first reads of the dictionary agree and load it once for everyone.
    const PhotoFilePtr shared = records.front();
    std::vector<int> orientations(8);
    std::vector<std::thread> readers;
    for (size_t i = 0; i < orientations.size(); ++i)
        readers.emplace_back(
            [&, i] { orientations[i] = shared->exifDict().value(QStringLiteral("Orientation")).toInt(); });
    for (std::thread& t : readers)
        t.join();
    EXPECT_EQ(orientations, std::vector<int>(8, 8));
}

TEST(PhotoFileTest, StatusTexts)
{
    EXPECT_EQ(PhotoFile::logTextForStatus(1), QStringLiteral("Processed successfully."));
    EXPECT_EQ(PhotoFile::logTextForStatus(7),
        QStringLiteral("Output image dimension is too long, please reset the setiings."));
    EXPECT_EQ(PhotoFile::logTextForStatus(12), QStringLiteral("Destination folder doesn't exist."));
    EXPECT_EQ(PhotoFile::logTextForStatus(3), QStringLiteral("-"));
    EXPECT_EQ(PhotoFile::logTextForStatus(-1), QStringLiteral("-"));
}

} // namespace
} // namespace vantrel
