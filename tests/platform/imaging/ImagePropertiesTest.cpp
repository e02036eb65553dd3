// Header reads: stored and upright sizes, hostile files, the property dictionary groups.
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "platform/imaging/ImageProperties.h"
#include "platform/imaging/RawFile.h"
#include "support/TestImages.h"

using namespace vantrel;
using namespace vantrel::testimages;

TEST(ImageProperties, EachOrientationGivesStoredAndUprightSize)
{
    QTemporaryDir dir;
    for (const char* ext : { "jpg", "png", "tif" }) {
        for (int orientation = 1; orientation <= 8; ++orientation) {
            const QString path = dir.filePath(QString("o%1.%2").arg(orientation).arg(ext));
            ASSERT_TRUE(writePattern(path, 40, 30));
            ASSERT_TRUE(setOrientation(path, orientation));
            for (PropertyDepth depth : { PropertyDepth::SizeAndOrientation, PropertyDepth::Full }) {
                const ImageProperties p = readImageProperties(path, depth);
                ASSERT_TRUE(p.valid) << path.toStdString();
                EXPECT_EQ(p.orientation, orientation) << ext;
                EXPECT_EQ(p.storedSize(), QSize(40, 30)) << ext;
                EXPECT_EQ(p.uprightSize(), orientation >= 5 ? QSize(30, 40) : QSize(40, 30)) << ext << orientation;
                EXPECT_EQ(p.dictionary.value("Orientation").toInt(), orientation) << ext;
                EXPECT_EQ(p.dictionary.value("PixelWidth").toInt(), 40);
                EXPECT_EQ(p.dictionary.value("PixelHeight").toInt(), 30);
            }
        }
    }
}

TEST(ImageProperties, UntaggedFileHasNoOrientationKeyAndNoTiffGroup)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("plain.png");
    ASSERT_TRUE(writePattern(path, 10, 20));
    const ImageProperties p = readImageProperties(path);
    ASSERT_TRUE(p.valid);
    EXPECT_EQ(p.orientation, 1);
    EXPECT_FALSE(p.dictionary.contains("Orientation"));
    EXPECT_FALSE(p.dictionary.contains("{TIFF}"));
    EXPECT_EQ(p.dictionary.value("ColorModel").toString(), "RGB");
}

TEST(ImageProperties, ColourModelDepthAndAlpha)
{
    QTemporaryDir dir;
    struct Case {
        const char* name;
        PatternOptions options;
        const char* model;
        int depth;
        bool alpha;
    };
    const Case cases[] = {
        { "grey.jpg", { .grey = true }, "Gray", 8, false },
        { "rgb16.png", { .sixteenBit = true }, "RGB", 16, false },
        { "grey16.tif", { .grey = true, .sixteenBit = true }, "Gray", 16, false },
        { "rgba.png", { .alpha = true }, "RGB", 8, true },
    };
    for (const Case& c : cases) {
        const QString path = dir.filePath(c.name);
        ASSERT_TRUE(writePattern(path, 16, 16, c.options));
        const ImageProperties p = readImageProperties(path);
        ASSERT_TRUE(p.valid) << c.name;
        EXPECT_EQ(p.colorModel, c.model) << c.name;
        EXPECT_EQ(p.dictionary.value("ColorModel").toString(), c.model) << c.name;
        EXPECT_EQ(p.dictionary.value("Depth").toInt(), c.depth) << c.name;
        EXPECT_EQ(p.hasAlpha, c.alpha) << c.name;
    }
}

TEST(ImageProperties, HostileFilesAreInvalidOrSizedWithoutDecoding)
{
    QTemporaryDir dir;
    ASSERT_TRUE(writeEmptyFile(dir.filePath("empty.jpg")));
    ASSERT_TRUE(writeBytes(dir.filePath("text.jpg"), "this is not a picture at all\n"));
    ASSERT_TRUE(writeTruncatedJpeg(dir.filePath("cut.jpg"), 64, 64, 20));
    for (const char* name : { "missing.jpg", "empty.jpg", "text.jpg", "cut.jpg", "" }) {
        const ImageProperties p = readImageProperties(name[0] ? dir.filePath(name) : QString());
        EXPECT_FALSE(p.valid) << name;
        EXPECT_TRUE(p.dictionary.isEmpty()) << name;
        EXPECT_FALSE(p.error.isEmpty()) << name;
    }
    // A PNG with the extension of a JPEG is read by its content.
    ASSERT_TRUE(writePattern(dir.filePath("png.png"), 12, 7));
    QFile::rename(dir.filePath("png.png"), dir.filePath("lies.jpg"));
    const ImageProperties lying = readImageProperties(dir.filePath("lies.jpg"));
    EXPECT_TRUE(lying.valid);
    EXPECT_EQ(lying.storedSize(), QSize(12, 7));
    // A header claiming 100000 x 100000 pixels is reported as such, nothing allocated.
    ASSERT_TRUE(writeLyingPng(dir.filePath("huge.png"), 100000, 100000));
    const ImageProperties huge = readImageProperties(dir.filePath("huge.png"));
    if (huge.valid) {
        EXPECT_EQ(huge.storedSize(), QSize(100000, 100000));
    }
}

TEST(ImageProperties, ExifGpsIptcAndAuxGroups)
{
    QTemporaryDir dir;
    for (const char* name : { "camera.jpg", "camera.tif", "camera.png" }) {
        const QString path = dir.filePath(name);
        ASSERT_TRUE(writePattern(path, 64, 48));
        ASSERT_TRUE(setCameraTags(path));
        const ImageProperties p = readImageProperties(path);
        ASSERT_TRUE(p.valid) << name;
        const QVariantMap tiff = p.dictionary.value("{TIFF}").toMap();
        const QVariantMap exif = p.dictionary.value("{Exif}").toMap();
        const QVariantMap gps = p.dictionary.value("{GPS}").toMap();
        const QVariantMap iptc = p.dictionary.value("{IPTC}").toMap();
        const QVariantMap aux = p.dictionary.value("{ExifAux}").toMap();
        EXPECT_EQ(tiff.value("Make").toString(), "Testmaker") << name;
        EXPECT_EQ(tiff.value("Model").toString(), "TM-1") << name;
        EXPECT_EQ(exif.value("DateTimeOriginal").toString(), "2021:06:15 14:30:05") << name;
        EXPECT_DOUBLE_EQ(exif.value("ExposureTime").toDouble(), 0.004) << name;
        EXPECT_DOUBLE_EQ(exif.value("FNumber").toDouble(), 2.8) << name;
        EXPECT_DOUBLE_EQ(exif.value("FocalLength").toDouble(), 4.2) << name;
        EXPECT_EQ(exif.value("ISOSpeedRatings").toList(), (QVariantList { 100, 200 })) << name;
        EXPECT_EQ(exif.value("ExposureMode").toInt(), 1) << name;
        EXPECT_EQ(exif.value("Flash").toInt(), 1) << name;
        EXPECT_EQ(aux.value("LensModel").toString(), "Test Lens 24-70") << name;
        EXPECT_NEAR(gps.value("Latitude").toDouble(), 51.5, 1e-9) << name;
        EXPECT_EQ(gps.value("LatitudeRef").toString(), "N") << name;
        EXPECT_NEAR(gps.value("Longitude").toDouble(), 0.125, 1e-9) << name;
        EXPECT_EQ(gps.value("LongitudeRef").toString(), "W") << name;
        EXPECT_DOUBLE_EQ(gps.value("Altitude").toDouble(), 35.0) << name;
        EXPECT_EQ(iptc.value("Keywords").toList(), (QVariantList { "alpha", "beta" })) << name;
        EXPECT_EQ(iptc.value("Caption/Abstract").toString(), "A test caption") << name;
        if (QString(name).endsWith("tif"))
            continue; // a TIFF keeps its own resolution tags (exiv2 does not rewrite them)
        EXPECT_DOUBLE_EQ(p.dictionary.value("DPIWidth").toDouble(), 300.0) << name;
        EXPECT_DOUBLE_EQ(p.dictionary.value("DPIHeight").toDouble(), 300.0) << name;
    }
}

TEST(ImageProperties, RatingFromExifElseXmp)
{
    QTemporaryDir dir;
    const QString both = dir.filePath("both.jpg");
    const QString xmpOnly = dir.filePath("xmp.jpg");
    ASSERT_TRUE(writePattern(both, 8, 8));
    ASSERT_TRUE(writePattern(xmpOnly, 8, 8));
    ASSERT_TRUE(setMetadata(both, { { "Exif.Image.Rating", "4" }, { "Xmp.xmp.Rating", "2" } }));
    ASSERT_TRUE(setMetadata(xmpOnly, { { "Xmp.xmp.Rating", "3" } }));
    EXPECT_EQ(readImageProperties(both).dictionary.value("{Exif}").toMap().value("Rating").toInt(), 4);
    EXPECT_EQ(readImageProperties(xmpOnly).dictionary.value("{Exif}").toMap().value("Rating").toInt(), 3);
}

TEST(ImageProperties, EpsAndPictSizesComeFromTheirHeaders)
{
    QTemporaryDir dir;
    const QByteArray ps = "%!PS-Adobe-3.0 EPSF-3.0\n%%Creator: test\n%%BoundingBox: 10 20 310 220\n%%EndComments\n";
    ASSERT_TRUE(writeBytes(dir.filePath("plain.eps"), ps));
    QByteArray dos("\xC5\xD0\xD3\xC6", 4);
    auto le32 = [](QByteArray& b, quint32 v) {
        for (int i = 0; i < 4; ++i)
            b.append(char(v >> (8 * i)));
    };
    le32(dos, 30);
    le32(dos, quint32(ps.size()));
    dos.append(QByteArray(30 - dos.size(), '\0'));
    dos.append(ps);
    ASSERT_TRUE(writeBytes(dir.filePath("dos.eps"), dos));
    QByteArray pict(512, '\0');
    pict.append(QByteArray::fromHex("0000"
                                    "0000000000C80190"
                                    "001102FF")); // frame 0,0 to 200,400
    ASSERT_TRUE(writeBytes(dir.filePath("frame.pct"), pict));
    ASSERT_TRUE(writeBytes(dir.filePath("nobox.eps"), "%!PS-Adobe-3.0\nshowpage\n"));

    EXPECT_EQ(readImageProperties(dir.filePath("plain.eps")).storedSize(), QSize(300, 200));
    EXPECT_EQ(readImageProperties(dir.filePath("dos.eps")).storedSize(), QSize(300, 200));
    EXPECT_EQ(readImageProperties(dir.filePath("frame.pct")).storedSize(), QSize(400, 200));
    EXPECT_FALSE(readImageProperties(dir.filePath("nobox.eps")).valid);
}

TEST(ImageProperties, DpiFromPngPhysChunk)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("dpi.png");
    makePattern(10, 10)
        .copy(vips::VImage::option()->set("xres", 300 / 25.4)->set("yres", 150 / 25.4))
        .pngsave(path.toUtf8().constData());
    const ImageProperties p = readImageProperties(path);
    EXPECT_NEAR(p.dictionary.value("DPIWidth").toDouble(), 300.0, 0.1);
    EXPECT_NEAR(p.dictionary.value("DPIHeight").toDouble(), 150.0, 0.1);
}

TEST(ImageProperties, CameraRawThroughLibRaw)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("camera.dng");
    ASSERT_TRUE(writeLinearDng(path, 64, 48, 6));
    const ImageProperties p = readImageProperties(path);
    ASSERT_TRUE(p.valid);
    EXPECT_EQ(p.loader, "raw");
    EXPECT_EQ(p.storedSize(), QSize(64, 48));
    EXPECT_EQ(p.orientation, 6);
    EXPECT_EQ(p.uprightSize(), QSize(48, 64));
    EXPECT_EQ(p.dictionary.value("{TIFF}").toMap().value("Make").toString(), "Testmaker");

    // LibRaw's float exposure values come out as the decimals the camera wrote.
    ASSERT_TRUE(setCameraTags(path));
    const RawFile::Header header = RawFile::readHeader(path);
    ASSERT_TRUE(header.ok);
    EXPECT_EQ(header.exif.value("FocalLength").toDouble(), 4.2);
    EXPECT_EQ(header.exif.value("FNumber").toDouble(), 2.8);
    EXPECT_EQ(header.exif.value("ExposureTime").toDouble(), 0.004);
}

TEST(ImageProperties, KeywordsAndCaptionFromXmpWhenNoIptc)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("xmpkeywords.jpg");
    ASSERT_TRUE(writePattern(path, 8, 8));
    ASSERT_TRUE(setMetadataList(path,
        { { "Xmp.dc.subject", "sea" }, { "Xmp.dc.subject", "sky" },
            { "Xmp.dc.description", "lang=x-default Shore" } }));
    const QVariantMap iptc = readImageProperties(path).dictionary.value("{IPTC}").toMap();
    EXPECT_EQ(iptc.value("Keywords").toList(), (QVariantList { "sea", "sky" }));
    EXPECT_EQ(iptc.value("Caption/Abstract").toString(), "Shore");
}
