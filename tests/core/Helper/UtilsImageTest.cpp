#include "core/Helper/Utils.h"

#include <QFile>
#include <QTemporaryDir>

#include <exiv2/exiv2.hpp>
#include <gtest/gtest.h>

#include "support/TestImages.h"

using vantrel::Image;
using vantrel::Utils;

namespace {

const Utils& utils()
{
    return Utils::sharedUtils();
}

/// A w x h sRGB image, blue, with a red band of 10 rows along the top edge.
Image topMarked(int w, int h)
{
    const vips::VImage index = vips::VImage::xyz(w, h)[1];
    const vips::VImage red = vips::VImage::black(w, h).new_from_image({ 255, 0, 0 });
    const vips::VImage blue = vips::VImage::black(w, h).new_from_image({ 0, 0, 255 });
    const vips::VImage out = (index < 10)
                                 .ifthenelse(red, blue)
                                 .cast(VIPS_FORMAT_UCHAR)
                                 .copy(vips::VImage::option()->set("interpretation", VIPS_INTERPRETATION_sRGB));
    return Image(out);
}

bool isRed(const Image& image, int x, int y)
{
    const std::vector<double> p = image.vips().getpoint(x, y);
    return p.size() >= 3 && p[0] > 200 && p[1] < 60 && p[2] < 60;
}

bool samePixels(const Image& a, const Image& b)
{
    if (a.size() != b.size())
        return false;
    return (a.vips().cast(VIPS_FORMAT_INT) - b.vips().cast(VIPS_FORMAT_INT)).abs().max() == 0;
}

/// Writes a JPEG of w x h (grey when bands is 1) and tags its EXIF orientation (0: no tag).
QString writeJpeg(const QString& path, int w, int h, int orientation, int bands = 3)
{
    vips::VImage image = vips::VImage::black(w, h, vips::VImage::option()->set("bands", bands)) + 128;
    image.cast(VIPS_FORMAT_UCHAR).jpegsave(path.toUtf8().constData());
    if (orientation > 0) {
        auto file = Exiv2::ImageFactory::open(path.toStdString());
        file->readMetadata();
        Exiv2::ExifData exif = file->exifData();
        exif["Exif.Image.Orientation"] = static_cast<uint16_t>(orientation);
        file->setExifData(exif);
        file->writeMetadata();
    }
    return path;
}

} // namespace

TEST(UtilsImage, PixelSizeIsUprightForEveryOrientation)
{
    QTemporaryDir dir;
    for (int orientation = 1; orientation <= 8; ++orientation) {
        const QString path = writeJpeg(dir.filePath(QString("o%1.jpg").arg(orientation)), 40, 20, orientation);
        const QSizeF expected = orientation >= 5 ? QSizeF(20, 40) : QSizeF(40, 20);
        EXPECT_EQ(utils().getImageOriginalSizeAtFilePathUrl(path), expected) << orientation;
    }
    EXPECT_EQ(utils().getImageOriginalSizeAtFilePathUrl(dir.filePath("missing.jpg")), QSizeF(0, 0));
    EXPECT_EQ(utils().getImageOriginalSizeAtFilePathUrl(""), QSizeF(0, 0));
}

TEST(UtilsImage, DocumentSizesFromTheirHeaders)
{
    namespace ti = vantrel::testimages;
    QTemporaryDir dir;
    ASSERT_TRUE(ti::writeBytes(dir.filePath("box.eps"),
        "%!PS-Adobe-3.0 EPSF-3.0\n%%BoundingBox: 10 20 130 100\n"
        "%%EndComments\nshowpage\n"));
    EXPECT_EQ(utils().getImageOriginalSizeAtFilePathUrl(dir.filePath("box.eps")), QSizeF(120, 80));
}

TEST(UtilsImage, UprightLoadingInColour)
{
    QTemporaryDir dir;
    const Image rotated = utils().getImageWithFixedOrientionFromUrl(writeJpeg(dir.filePath("o6.jpg"), 40, 20, 6));
    EXPECT_EQ(rotated.size(), QSize(20, 40));
    const Image noTag = utils().getImageWithFixedOrientionFromUrl(writeJpeg(dir.filePath("plain.jpg"), 40, 20, 0));
    EXPECT_EQ(noTag.size(), QSize(40, 20));
    const Image grey = utils().getImageWithFixedOrientionFromUrl(writeJpeg(dir.filePath("grey.jpg"), 30, 10, 1, 1));
    ASSERT_FALSE(grey.isNull());
    EXPECT_EQ(grey.size(), QSize(30, 10));
    EXPECT_GE(grey.vips().bands(), 3);

    QFile empty(dir.filePath("empty.jpg"));
    ASSERT_TRUE(empty.open(QIODevice::WriteOnly));
    empty.close();
    for (const QString& bad : { dir.filePath("missing.jpg"), dir.filePath("empty.jpg"), QString() })
        EXPECT_TRUE(utils().getImageWithFixedOrientionFromUrl(bad).isNull()) << bad.toStdString();
}

TEST(UtilsImage, RotatedPhotosComeUpright)
{
    namespace ti = vantrel::testimages;
    QTemporaryDir dir;
    const QString path = dir.filePath("orient6.jpg");
    ASSERT_TRUE(ti::writePattern(path, 80, 40));
    ASSERT_TRUE(ti::setOrientation(path, 6));

    // Orientation 6: the viewer turns a quarter clockwise, so the stored bottom-left corner ends
    // up at the top left.
    const Image full = utils().getImageWithFixedOrientionFromUrl(path);
    ASSERT_EQ(full.size(), QSize(40, 80));
    EXPECT_EQ(ti::cornersOf(full.vips()).front(), ti::Corner::BottomLeft);

    // At a reduced width (the thumbnail route) the result is upright too.
    const Image half = utils().getImageFromFile(path, 20, 40);
    ASSERT_EQ(half.size(), QSize(20, 40));
    EXPECT_EQ(ti::cornersOf(half.vips()).front(), ti::Corner::BottomLeft);
}

TEST(UtilsImage, ThumbnailsFitTheBox)
{
    // The thumbnail has exactly the fitted size, rounded to pixels: fitted to the box width, then
    // portrait ones to the box height; a photo smaller than the box in both directions keeps its
    // size, one that is smaller in one direction only is fitted (and so enlarged) like the rest.
    struct Case {
        const char* name;
        int width, height, orientation;
        QSizeF box;
        QSize expected;
    };
    const Case cases[] = {
        { "l.jpg", 800, 600, 1, { 404, 414 }, { 404, 303 } },
        { "p.jpg", 600, 800, 1, { 404, 414 }, { 311, 414 } }, // 310.5 x 414
        { "s.jpg", 100, 50, 1, { 404, 414 }, { 100, 50 } }, { "t.jpg", 800, 600, 6, { 404, 414 }, { 311, 414 } },
        { "e.jpg", 403, 401, 1, { 404, 400 }, { 404, 402 } }, // landscape: taller than the box
    };
    QTemporaryDir dir;
    for (const Case& c : cases) {
        const QString path = writeJpeg(dir.filePath(c.name), c.width, c.height, c.orientation);
        EXPECT_EQ(utils().getThumbnailImageAtFilePath(path, c.box).size(), c.expected) << c.name;
    }
    EXPECT_TRUE(utils().getThumbnailImageAtFilePath(dir.filePath("missing.jpg"), QSizeF(404, 414)).isNull());
}

TEST(UtilsImage, QuarterTurnsAndMirrorsAreExact)
{
    const Image image = topMarked(400, 300);

    const Image cw = utils().imageRotatedByDegrees(90, image);
    ASSERT_EQ(cw.size(), QSize(300, 400));
    EXPECT_TRUE(isRed(cw, 295, 200)); // the former top edge is on the right
    EXPECT_FALSE(isRed(cw, 5, 200));

    const Image ccw = utils().imageRotatedByDegrees(270, image);
    ASSERT_EQ(ccw.size(), QSize(300, 400));
    EXPECT_TRUE(isRed(ccw, 5, 200));

    const Image half = utils().imageRotatedByDegrees(180, image);
    ASSERT_EQ(half.size(), QSize(400, 300));
    EXPECT_TRUE(isRed(half, 200, 295));
    EXPECT_TRUE(samePixels(utils().imageRotatedByDegrees(-90, image), ccw));
    EXPECT_TRUE(samePixels(utils().imageRotatedByDegrees(180, half), image));
    EXPECT_TRUE(samePixels(utils().imageRotatedByDegrees(0, image), image));
    EXPECT_TRUE(samePixels(utils().imageRotatedByDegrees(360, image), image));

    EXPECT_EQ(utils().imageRotatedByDegrees(45, image).size(), QSize(494, 494));

    const Image flippedV = utils().flipImageVertically(image);
    EXPECT_TRUE(isRed(flippedV, 200, 295));
    EXPECT_FALSE(isRed(flippedV, 200, 5));
    EXPECT_TRUE(samePixels(utils().flipImageVertically(flippedV), image));
    const Image sideways = utils().imageRotatedByDegrees(90, image); // red on the right
    EXPECT_TRUE(isRed(utils().flipImageHorizontally(sideways), 5, 200));
    EXPECT_TRUE(samePixels(utils().flipImageHorizontally(utils().flipImageHorizontally(sideways)), sideways));

    EXPECT_TRUE(utils().imageRotatedByDegrees(90, Image()).isNull());
    EXPECT_TRUE(utils().flipImageHorizontally(Image()).isNull());
}

TEST(UtilsImage, ScalingIsExactAndNeverInvalid)
{
    const Image image = topMarked(400, 300);
    EXPECT_EQ(utils().scaleImage(image, { 333, 17 }).size(), QSize(333, 17));
    EXPECT_EQ(utils().scaleImage(image, { 0.6, 0.4 }).size(), QSize(1, 1));
    EXPECT_EQ(utils().scaleImage(image, { 0, 0 }).size(), QSize(400, 300));
    EXPECT_EQ(utils().scaleImage(image, { -5, 10 }).size(), QSize(400, 300));
    EXPECT_EQ(utils().scaleImage(image, { std::nan(""), 10 }).size(), QSize(400, 300));
    EXPECT_TRUE(utils().scaleImage(Image(), { 10, 10 }).isNull());
    EXPECT_TRUE(utils().resizeImage(image, 0, 10).isNull());
    EXPECT_EQ(utils().resizeImage(image, 20, 10).size(), QSize(20, 10));
}

TEST(UtilsImage, CropsFillsAndBackgrounds)
{
    const Image image = topMarked(400, 300);
    // Rectangles count y upward: the top 10 rows are y 290 to 300.
    const Image top = utils().cropImage(image, QRectF(0, 290, 50, 10));
    ASSERT_EQ(top.size(), QSize(50, 10));
    EXPECT_TRUE(isRed(top, 25, 5));
    EXPECT_FALSE(isRed(utils().cropImage(image, QRectF(0, 0, 50, 10)), 25, 5));
    EXPECT_EQ(utils().cropImage(image, QRectF(0, 0, 0, 10)).size(), QSize(400, 300));

    // Aspect fill into 100 x 100: mode 0 keeps the top part, mode 2 the bottom part.
    const Image fillTop = utils().getAspectFillImageFormImage(topMarked(30, 60), { 100, 100 }, 0);
    ASSERT_EQ(fillTop.size(), QSize(100, 100));
    EXPECT_TRUE(isRed(fillTop, 50, 2));
    const Image fillBottom = utils().getAspectFillImageFormImage(topMarked(30, 60), { 100, 100 }, 2);
    ASSERT_EQ(fillBottom.size(), QSize(100, 100));
    EXPECT_FALSE(isRed(fillBottom, 50, 2));

    const Image framed = utils().addBackgroundToImage(topMarked(10, 20), QColor(0, 255, 0), { 30, 40 });
    ASSERT_EQ(framed.size(), QSize(30, 40));
    const std::vector<double> corner = framed.vips().getpoint(0, 0);
    EXPECT_EQ(corner[1], 255);
    EXPECT_TRUE(isRed(framed, 15, 10)); // the photo's top band, centred
    EXPECT_EQ(utils().addBackgroundToImage(image, QColor(0, 255, 0)).size(), QSize(400, 300));

    const Image drawn = utils().getDrawedImage(image, { 200, 100 }, QRectF(0, 0, 200, 100), QRectF(0, 200, 400, 100));
    ASSERT_EQ(drawn.size(), QSize(200, 100));
    EXPECT_TRUE(isRed(drawn, 100, 1));
    EXPECT_TRUE(utils().getDrawedImage(Image(), { 10, 10 }, QRectF(0, 0, 10, 10), QRectF(0, 0, 10, 10)).isNull());
}

TEST(UtilsImage, OpacityRedrawAndDrawingAtAPoint)
{
    const Image image = topMarked(40, 30);
    struct Case {
        double factor;
        double alpha;
    };
    for (const Case c : { Case { 1.0, 255 }, Case { 0.5, 128 }, Case { 0.0, 0 }, Case { 2.0, 255 }, Case { -1, 0 } }) {
        SCOPED_TRACE(c.factor);
        const Image faded = utils().getTransparentImageFromImage(image, c.factor);
        ASSERT_EQ(faded.size(), image.size());
        const std::vector<double> pixel = faded.vips().getpoint(20, 2);
        ASSERT_EQ(pixel.size(), 4u);
        EXPECT_EQ(pixel[3], c.alpha);
        EXPECT_TRUE(isRed(faded, 20, 2)); // the colour stays; only the opacity changes
    }
    EXPECT_TRUE(utils().getTransparentImageFromImage(Image(), 0.5).isNull());

    // The top 10 rows (y 20 to 30, counting upward) drawn unscaled with their lower-left corner
    // at (10, 5) of a 60 x 50 canvas: rows 35 to 44, columns 10 to 49.
    const Image drawn = utils().getDrawedImage(image, { 60, 50 }, QPointF(10, 5), QRectF(0, 20, 40, 10));
    ASSERT_EQ(drawn.size(), QSize(60, 50));
    EXPECT_TRUE(isRed(drawn, 30, 40));
    EXPECT_EQ(drawn.vips().getpoint(5, 40)[3], 0);
    EXPECT_EQ(drawn.vips().getpoint(30, 30)[3], 0);
}

TEST(UtilsImage, HostileFilesGiveNothing)
{
    namespace ti = vantrel::testimages;
    QTemporaryDir dir;
    ASSERT_TRUE(ti::writeLyingPng(dir.filePath("huge.png"), 100000, 100000));
    ASSERT_TRUE(ti::writeTruncatedJpeg(dir.filePath("truncated.jpg"), 400, 300, 600));
    ASSERT_TRUE(ti::writeBytes(dir.filePath("text.jpg"), "not an image at all"));
    for (const char* name : { "huge.png", "truncated.jpg", "text.jpg" }) {
        const QString path = dir.filePath(name);
        EXPECT_TRUE(utils().getImageWithFixedOrientionFromUrl(path).isNull()) << name;
        EXPECT_TRUE(utils().getThumbnailImageAtFilePath(path, { 404, 414 }).isNull()) << name;
    }
    // The header alone is still read: the size is reported, nothing is allocated.
    EXPECT_EQ(utils().getImageOriginalSizeAtFilePathUrl(dir.filePath("huge.png")), QSizeF(100000, 100000));
}

TEST(UtilsImage, SmallThumbnailsAndOrientationFix)
{
    namespace ti = vantrel::testimages;
    QTemporaryDir dir;
    const QString path = dir.filePath("orient6.jpg");
    ASSERT_TRUE(ti::writePattern(path, 400, 200));
    ASSERT_TRUE(ti::setOrientation(path, 6));

    EXPECT_EQ(utils().getThumbnailForFile(path, 0, 0).size(), QSize(64, 128));
    EXPECT_EQ(utils().getThumbnailForFile(path, 50, 60).size(), QSize(50, 60));
    EXPECT_TRUE(utils().getThumbnailForFile(dir.filePath("missing.jpg"), 50, 60).isNull());

    const Image fixed = utils().fixOrientation(path, { 100, 200 });
    ASSERT_EQ(fixed.size(), QSize(100, 200));
    EXPECT_EQ(ti::cornersOf(fixed.vips()).front(), ti::Corner::BottomLeft);
}
