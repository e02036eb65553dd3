// The Image value: upright loading, exact transforms, colour, thumbnails and hostile files.
#include <atomic>
#include <thread>
#include <vector>

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "platform/imaging/Image.h"
#include "platform/imaging/ImageEncoder.h"
#include "platform/imaging/ImageProperties.h"
#include "platform/imaging/ImagingInit.h"
#include "platform/imaging/VipsInclude.h"
#include "support/TestImages.h"

// After VipsInclude.h: it relies on the types libvips declares there.
#include <vips/vector.h>

using namespace vantrel;
using namespace vantrel::testimages;

namespace {

using Corners = std::vector<Corner>;
constexpr Corner TL = Corner::TopLeft, TR = Corner::TopRight, BL = Corner::BottomLeft, BR = Corner::BottomRight;

Image pattern(int w, int h, const PatternOptions& o = {})
{
    return Image(makePattern(w, h, o));
}

} // namespace

TEST(Image, UprightLoadOfEachOrientation)
{
    QTemporaryDir dir;
    // Where each stored quadrant ends up (top-left, top-right, bottom-left, bottom-right) once a
    // viewer applies the tag.
    const Corners expected[9] = {
        {}, { TL, TR, BL, BR }, // 1
        { TR, TL, BR, BL }, // 2 mirrored
        { BR, BL, TR, TL }, // 3 half turn
        { BL, BR, TL, TR }, // 4 upside-down mirror
        { TL, BL, TR, BR }, // 5 transposed
        { BL, TL, BR, TR }, // 6 quarter turn clockwise: stored bottom-left at the top-left
        { BR, TR, BL, TL }, // 7 transverse
        { TR, BR, TL, BL }, // 8 quarter turn counter-clockwise
    };
    for (const char* ext : { "jpg", "png" }) {
        for (int o = 1; o <= 8; ++o) {
            const QString path = dir.filePath(QString("o%1.%2").arg(o).arg(ext));
            ASSERT_TRUE(writePattern(path, 80, 60));
            ASSERT_TRUE(setOrientation(path, o));
            const Image upright = Image::load(path);
            ASSERT_FALSE(upright.isNull()) << o;
            EXPECT_EQ(upright.size(), o >= 5 ? QSize(60, 80) : QSize(80, 60)) << ext << o;
            EXPECT_EQ(cornersOf(upright.vips()), expected[o]) << ext << " orientation " << o;
            const Image stored = Image::load(path, false);
            EXPECT_EQ(cornersOf(stored.vips()), expected[1]) << ext << o;
            // Laying the upright pixels out for the tag gives back the stored layout.
            EXPECT_EQ(cornersOf(upright.laidOutForOrientation(o).vips()), expected[1]) << ext << o;
            const Image thumb = Image::thumbnail(path, QSize(40, 40));
            ASSERT_FALSE(thumb.isNull());
            EXPECT_EQ(cornersOf(thumb.vips()), expected[o]) << "thumbnail " << ext << o;
        }
    }
}

TEST(Image, QuarterTurnsAndFlipsAreExact)
{
    const Image source = pattern(400, 300);
    const Image right = source.rotatedByDegrees(90);
    EXPECT_EQ(right.size(), QSize(300, 400));
    EXPECT_EQ(cornersOf(right.vips()), (Corners { BL, TL, BR, TR })); // old top edge on the right
    EXPECT_EQ(cornersOf(source.rotatedByDegrees(270).vips()), (Corners { TR, BR, TL, BL }));
    EXPECT_EQ(cornersOf(source.rotatedByDegrees(180).vips()), (Corners { BR, BL, TR, TL }));
    EXPECT_EQ(cornersOf(source.rotatedQuarterTurns(-1).vips()), (Corners { TR, BR, TL, BL }));
    EXPECT_EQ(cornersOf(source.flippedHorizontally().vips()), (Corners { TR, TL, BR, BL }));
    EXPECT_EQ(cornersOf(source.flippedVertically().vips()), (Corners { BL, BR, TL, TR }));
    // Exact: every pixel of four quarter turns is the original's.
    EXPECT_EQ((source.rotatedQuarterTurns(1).rotatedQuarterTurns(3).vips() == source.vips()).min(), 255.0);
}

TEST(Image, OtherAnglesGiveTheTruncatedBoundingBox)
{
    const Image turned = pattern(400, 300).rotatedByDegrees(45);
    EXPECT_EQ(turned.size(), QSize(494, 494));
    EXPECT_TRUE(turned.hasAlpha());
    EXPECT_EQ(pixelAt(turned.vips(), 0, 0).back(), 0.0); // uncovered corner stays transparent
}

TEST(Image, ExactNonUniformScale)
{
    for (const PatternOptions& o :
        { PatternOptions {}, PatternOptions { .sixteenBit = true }, PatternOptions { .alpha = true } }) {
        const Image scaled = pattern(1000, 800, o).resized(QSize(333, 17));
        EXPECT_EQ(scaled.size(), QSize(333, 17));
        EXPECT_EQ(scaled.vips().format(), o.sixteenBit ? VIPS_FORMAT_USHORT : VIPS_FORMAT_UCHAR);
        EXPECT_EQ(scaled.hasAlpha(), o.alpha);
    }
    EXPECT_EQ(pattern(50, 50).resized(QSize(1, 1)).size(), QSize(1, 1));
    EXPECT_EQ(pattern(30, 20).resized(QSize(3001, 2003)).size(), QSize(3001, 2003));
    EXPECT_TRUE(pattern(30, 20).resized(QSize(0, 5)).isNull());
}

TEST(Image, GreyLoadsAsThreeBandSrgbWithProfile)
{
    QTemporaryDir dir;
    for (const PatternOptions& o :
        { PatternOptions { .grey = true }, PatternOptions { .grey = true, .sixteenBit = true } }) {
        const QString path = dir.filePath(o.sixteenBit ? "grey16.png" : "grey.jpg");
        ASSERT_TRUE(writePattern(path, 64, 64, o));
        const Image image = Image::load(path);
        ASSERT_FALSE(image.isNull());
        EXPECT_EQ(image.vips().bands(), 3);
        EXPECT_EQ(image.vips().format(), o.sixteenBit ? VIPS_FORMAT_USHORT : VIPS_FORMAT_UCHAR);
        EXPECT_NE(image.vips().get_typeof(VIPS_META_ICC_NAME), 0u);
        const std::vector<double> p = pixelAt(image.vips(), 2, 2);
        EXPECT_NEAR(p[0], p[1], 1.0);
        EXPECT_NEAR(p[1], p[2], 1.0);
    }
    // RGB keeps its pixels.
    const Image rgb = pattern(8, 8).toSRGB();
    EXPECT_EQ(rgb.vips().get_typeof(VIPS_META_ICC_NAME), 0u);
}

TEST(Image, HostileFilesGiveNullImages)
{
    QTemporaryDir dir;
    ASSERT_TRUE(writeEmptyFile(dir.filePath("empty.jpg")));
    ASSERT_TRUE(writeTruncatedJpeg(dir.filePath("cut.jpg"), 300, 200, 700));
    ASSERT_TRUE(writeBytes(dir.filePath("text.png"), "plain text, not an image"));
    ASSERT_TRUE(writeLyingPng(dir.filePath("huge.png"), 100000, 100000));
    // Sized by their headers, but nothing here decodes them.
    ASSERT_TRUE(writeBytes(dir.filePath("box.eps"), "%!PS-Adobe-3.0 EPSF-3.0\n%%BoundingBox: 0 0 300 200\n"));
    QByteArray pict(512, '\0');
    pict.append(QByteArray::fromHex("0000"
                                    "0000000000C80190"
                                    "001102FF"));
    ASSERT_TRUE(writeBytes(dir.filePath("frame.pict"), pict));
    for (const char* name :
        { "missing.jpg", "empty.jpg", "cut.jpg", "text.png", "huge.png", "box.eps", "frame.pict" }) {
        const QString path = dir.filePath(name);
        EXPECT_TRUE(Image::load(path).isNull()) << name;
        EXPECT_TRUE(Image::loadAtSize(path, QSize(50, 40)).isNull()) << name;
        // A thumbnail may show what a damaged file still holds, at its proper size.
        const Image thumb = Image::thumbnail(path, QSize(100, 100));
        if (QString(name) == "cut.jpg")
            EXPECT_TRUE(thumb.isNull() || thumb.size() == QSize(100, 67)) << name;
        else
            EXPECT_TRUE(thumb.isNull()) << name;
    }
}

TEST(Image, ThumbnailsAndLoadAtSize)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("big.jpg");
    ASSERT_TRUE(writePattern(path, 1600, 1200));
    ASSERT_TRUE(setOrientation(path, 6));
    const Image thumb = Image::thumbnail(path, QSize(404, 414));
    EXPECT_EQ(thumb.size(), QSize(311, 414));
    const Image small = Image::thumbnail(dir.filePath("big.jpg"), QSize(4000, 4000));
    EXPECT_EQ(small.size(), QSize(1200, 1600)); // never enlarged
    const Image exact = Image::loadAtSize(path, QSize(333, 17));
    EXPECT_EQ(exact.size(), QSize(333, 17));
    EXPECT_EQ(cornersOf(Image::loadAtSize(path, QSize(300, 400)).vips()), (Corners { BL, TL, BR, TR }));
    EXPECT_EQ(Image::loadAtSize(path, QSize(2400, 3200)).size(), QSize(2400, 3200)); // enlarging

    // Every format fits the box and is never enlarged; JPEG 2000 included, whose resolution
    // levels once made a 1600-pixel photo a 50-pixel thumbnail.
    for (const char* ext : { "jpg", "png", "tif", "jp2" }) {
        const QString large = dir.filePath(QStringLiteral("large.%1").arg(QLatin1String(ext)));
        const QString little = dir.filePath(QStringLiteral("little.%1").arg(QLatin1String(ext)));
        ASSERT_TRUE(writePattern(large, 1600, 1200)) << ext;
        ASSERT_TRUE(writePattern(little, 300, 200)) << ext;
        EXPECT_EQ(Image::thumbnail(large, QSize(404, 414)).size(), QSize(404, 303)) << ext;
        EXPECT_EQ(Image::thumbnail(little, QSize(404, 414)).size(), QSize(300, 200)) << ext;
    }
}

TEST(Image, ToQImageAndFlatten)
{
    const QImage q = pattern(20, 10, { .sixteenBit = true }).toQImage();
    ASSERT_FALSE(q.isNull());
    EXPECT_EQ(q.size(), QSize(20, 10));
    EXPECT_EQ(QColor(q.pixel(1, 1)).red(), 230);
    const QImage grey = pattern(20, 10, { .grey = true }).toQImage();
    EXPECT_EQ(QColor(grey.pixel(1, 1)).green(), 30);
    const QImage withAlpha = pattern(20, 10, { .alpha = true }).toQImage();
    EXPECT_TRUE(withAlpha.hasAlphaChannel());

    vips::VImage transparent = makePattern(4, 4).bandjoin_const({ 0.0 }).copy(
        vips::VImage::option()->set("interpretation", VIPS_INTERPRETATION_sRGB));
    const Image flat = Image(transparent).flattenedOnWhite();
    EXPECT_FALSE(flat.hasAlpha());
    EXPECT_EQ(pixelAt(flat.vips(), 0, 0), (std::vector<double> { 255, 255, 255 }));
}

TEST(Image, CmykAndLabLoadAsSrgbWithProfile)
{
    QTemporaryDir dir;
    const vips::VImage rgb = makePattern(32, 32);
    const QString cmyk = dir.filePath("cmyk.jpg");
    const QString lab = dir.filePath("lab.tif");
    rgb.icc_transform("cmyk", vips::VImage::option()->set("input_profile", "srgb")).jpegsave(cmyk.toUtf8().constData());
    rgb.colourspace(VIPS_INTERPRETATION_LAB).tiffsave(lab.toUtf8().constData());
    for (const QString& path : { cmyk, lab }) {
        const ImageProperties p = readImageProperties(path);
        EXPECT_EQ(p.colorModel, path == cmyk ? "CMYK" : "Lab");
        const Image image = Image::load(path);
        ASSERT_FALSE(image.isNull()) << path.toStdString();
        EXPECT_EQ(image.vips().bands(), 3);
        EXPECT_EQ(image.vips().interpretation(), VIPS_INTERPRETATION_sRGB);
        EXPECT_NE(image.vips().get_typeof(VIPS_META_ICC_NAME), 0u);
        EXPECT_EQ(cornersOf(image.vips()), (Corners { TL, TR, BL, BR })) << path.toStdString();
    }
    // The attached profile is named in the dictionary of what is written from it.
    const QString png = dir.filePath("converted.png");
    ASSERT_TRUE(encodeImage(Image::load(cmyk), png, ImageFileFormat::Png, {}).ok);
    EXPECT_FALSE(readImageProperties(png).dictionary.value("ProfileName").toString().isEmpty());
}

TEST(Image, ConcurrentReadsAndThumbnails)
{
    // Run-time vector code corrupts the heap when pipelines come and go on several threads with
    // an unsafe liborc: it is on only with a safe one. Enough rounds to catch that crash when the
    // vector code is forced on.
    EXPECT_EQ(vips_vector_isenabled() != 0, vectorLibraryIsSafe(vectorLibraryVersion()));
    QTemporaryDir dir;
    QStringList paths;
    for (int i = 0; i < 6; ++i) {
        const QString path = dir.filePath(QString("c%1.%2").arg(i).arg(i % 2 ? "png" : "jpg"));
        ASSERT_TRUE(writePattern(path, 300 + i, 200));
        ASSERT_TRUE(setCameraTags(path));
        ASSERT_TRUE(setMetadata(path, { { "Xmp.xmp.Rating", "2" } }));
        paths.append(path);
    }
    std::atomic<int> good { 0 };
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([&] {
            for (int round = 0; round < 200; ++round)
                for (const QString& path : paths)
                    if (readImageProperties(path).dictionary.contains("{GPS}")
                        && !Image::thumbnail(path, QSize(64, 64)).toQImage().isNull())
                        ++good;
        });
    for (std::thread& t : threads)
        t.join();
    EXPECT_EQ(good.load(), 4 * 200 * 6);
}

TEST(Image, VectorCodeOnlyWithASafeLibrary)
{
    const struct {
        const char* version;
        bool safe;
    } rows[] = { { "0.4.33", false }, { "0.4.34", true }, { "0.4.40", true }, { "0.5.0", true }, { "0.4.9", false },
        { "1.0.0", true }, { "0.4", false }, { "", false }, { "0.4.x", false } };
    for (const auto& row : rows)
        EXPECT_EQ(vectorLibraryIsSafe(row.version), row.safe) << row.version;
}

TEST(Image, CameraRawDevelopsUpright)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("camera.dng");
    ASSERT_TRUE(writeLinearDng(path, 64, 48, 6));
    const Image upright = Image::load(path);
    ASSERT_FALSE(upright.isNull());
    EXPECT_EQ(upright.size(), QSize(48, 64));
    EXPECT_EQ(cornersOf(upright.vips()), (Corners { BL, TL, BR, TR }));
    EXPECT_EQ(Image::load(path, false).size(), QSize(64, 48));
    EXPECT_EQ(cornersOf(Image::load(path, false).vips()), (Corners { TL, TR, BL, BR }));
    const Image thumb = Image::thumbnail(path, QSize(24, 24)); // no preview: developed and reduced
    ASSERT_FALSE(thumb.isNull());
    EXPECT_EQ(thumb.size(), QSize(18, 24));
}

TEST(Image, DecodedPhotosAreFreeForAnyAccess)
{
    // A photo decoded into memory must not keep its loader's sequential mark: libvips would put a
    // line cache in front of every operation on it, and a resize would then run on one thread.
    QTemporaryDir dir;
    struct Case {
        const char* name;
        int orientation;
        QSize loadAtSize;
    };
    const Case cases[] = {
        { "plain.jpg", 1, { 200, 150 } }, // DCT-scaled decode
        { "turned.jpg", 6, { 150, 200 } }, { "plain.png", 1, { 200, 150 } }, // full decode, then resized
        { "plain.tif", 1, { 800, 600 } }, // the full size
    };
    const auto sequential
        = [](const Image& image) { return vips_image_get_typeof(image.vips().get_image(), VIPS_META_SEQUENTIAL) != 0; };
    for (const Case& c : cases) {
        const QString path = dir.filePath(QLatin1String(c.name));
        ASSERT_TRUE(writePattern(path, 800, 600)) << c.name;
        if (c.orientation != 1) {
            ASSERT_TRUE(setOrientation(path, c.orientation)) << c.name;
        }
        const Image whole = Image::load(path);
        ASSERT_FALSE(whole.isNull()) << c.name;
        EXPECT_FALSE(sequential(whole)) << c.name;
        const Image sized = Image::loadAtSize(path, c.loadAtSize);
        ASSERT_EQ(sized.size(), c.loadAtSize) << c.name;
        EXPECT_FALSE(sequential(sized)) << c.name;
    }
}
