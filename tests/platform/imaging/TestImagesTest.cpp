// The shared image builders must produce what other suites rely on: the quadrant pattern in each
// format and metadata that exiv2 reads back.
#include <QTemporaryDir>

#include <exiv2/exiv2.hpp>
#include <gtest/gtest.h>

#include "support/TestImages.h"

using namespace vantrel::testimages;

TEST(TestImages, PatternQuadrantsSurviveEachFormat)
{
    QTemporaryDir dir;
    const std::vector<Corner> upright { Corner::TopLeft, Corner::TopRight, Corner::BottomLeft, Corner::BottomRight };
    for (const char* name : { "p.jpg", "p.png", "p.tif" }) {
        const QString path = dir.filePath(name);
        ASSERT_TRUE(writePattern(path, 64, 48)) << name;
        const vips::VImage image = vips::VImage::new_from_file(path.toUtf8().constData());
        EXPECT_EQ(image.width(), 64);
        EXPECT_EQ(image.height(), 48);
        EXPECT_EQ(cornersOf(image), upright) << name;
    }
}

TEST(TestImages, MetadataIsWrittenWithExiv2)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("tags.jpg");
    ASSERT_TRUE(writePattern(path, 32, 32));
    ASSERT_TRUE(setOrientation(path, 6));
    ASSERT_TRUE(setCameraTags(path));
    auto image = Exiv2::ImageFactory::open(path.toStdString());
    image->readMetadata();
    EXPECT_EQ(image->exifData()["Exif.Image.Orientation"].toLong(), 6);
    EXPECT_EQ(image->exifData()["Exif.Image.Make"].toString(), "Testmaker");
    EXPECT_EQ(image->iptcData().count(), 3u);
}
