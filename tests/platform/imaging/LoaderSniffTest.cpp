#include "platform/imaging/LoaderSniff.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "platform/imaging/ImageProperties.h"
#include "support/TestImages.h"

using namespace vantrel;

namespace {

TEST(LoaderSniffTest, FirstBytesNameTheLoader)
{
    const struct {
        QByteArray head;
        const char* loader;
    } cases[] = {
        { QByteArray("\xFF\xD8\xFF\xE0", 4), "jpegload" },
        { QByteArray("\x89PNG\r\n\x1A\n", 8), "pngload" },
        { QByteArray("II*\0", 4), "tiffload" },
        { QByteArray("MM\0*", 4), "tiffload" },
        { QByteArray("II+\0", 4), "tiffload" },
        { "GIF89a", "gifload" },
        { QByteArray("RIFF\x10\0\0\0WEBPVP8 ", 16), "webpload" },
        { QByteArray("\0\0\0\x18"
                     "ftypheic",
              12),
            "heifload" },
        { QByteArray("\0\0\0\x1C"
                     "ftypavif",
              12),
            "heifload" },
        { QByteArray("\0\0\0\x18"
                     "ftypmp42",
              12),
            nullptr }, // a video
        { QByteArray("\0\0\0\x0CjP  \r\n\x87\n", 12), "jp2kload" },
        { QByteArray("\xFF\x4F\xFF\x51", 4), "jp2kload" },
        { "P5\n8 8\n255\n", "ppmload" },
        { "Pictures are nice", nullptr },
        { "BM", nullptr }, // left to libvips' own choice
        { QByteArray("\xFF\xD8", 2), nullptr }, // too short to tell
        { {}, nullptr },
    };
    for (const auto& c : cases) {
        const char* got = loaderForHeader(c.head);
        EXPECT_STREQ(got, c.loader) << c.head.toHex().toStdString();
    }
}

TEST(LoaderSniffTest, ContentNotExtensionDecidesTheHeaderRead)
{
    QTemporaryDir dir;
    const QString png = dir.path() + "/real.png";
    ASSERT_TRUE(testimages::writePattern(png, 30, 20));
    const QString misnamed = dir.path() + "/misnamed.jpg";
    ASSERT_TRUE(QFile::copy(png, misnamed));
    for (const QString& path : { png, misnamed }) {
        const ImageProperties p = readImageProperties(path, PropertyDepth::SizeAndOrientation);
        EXPECT_TRUE(p.valid);
        EXPECT_EQ(p.storedSize(), QSize(30, 20));
        EXPECT_TRUE(p.loader.startsWith("png")) << p.loader.toStdString();
    }
}

TEST(LoaderSniffTest, JpegProbeAgreesWithLibvips)
{
    QTemporaryDir dir;
    const auto make = [&](const char* name, int w, int h, const testimages::PatternOptions& options = {}) {
        const QString path = dir.path() + "/" + name;
        EXPECT_TRUE(testimages::writePattern(path, w, h, options));
        return path;
    };
    testimages::PatternOptions grey;
    grey.grey = true;
    const QString plain = make("plain.jpg", 64, 48);
    const QString turned = make("turned.jpg", 64, 48);
    ASSERT_TRUE(testimages::setOrientation(turned, 6));
    const QString camera = make("camera.jpg", 80, 60);
    ASSERT_TRUE(testimages::setCameraTags(camera));
    ASSERT_TRUE(testimages::setOrientation(camera, 8));
    const QString badTag = make("bad-tag.jpg", 30, 20);
    ASSERT_TRUE(testimages::setOrientation(badTag, 9));
    const QString greyJpeg = make("grey.jpg", 33, 17, grey);
    const QString header = dir.path() + "/header-only.jpg";
    ASSERT_TRUE(testimages::writeTruncatedJpeg(header, 50, 40, 20));
    for (const QString& path : { plain, turned, camera, badTag, greyJpeg, header }) {
        SCOPED_TRACE(path.toStdString());
        const ImageProperties probe = readImageProperties(path, PropertyDepth::Probe);
        const ImageProperties vips = readImageProperties(path, PropertyDepth::SizeAndOrientation);
        EXPECT_EQ(probe.valid, vips.valid);
        EXPECT_EQ(probe.storedSize(), vips.storedSize());
        EXPECT_EQ(probe.uprightSize(), vips.uprightSize());
        EXPECT_EQ(probe.orientation, vips.orientation);
        EXPECT_EQ(probe.colorModel, vips.colorModel);
    }
    EXPECT_EQ(readImageProperties(turned, PropertyDepth::Probe).uprightSize(), QSize(48, 64));
}

} // namespace
