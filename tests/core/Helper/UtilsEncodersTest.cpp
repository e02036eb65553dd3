#include "core/Helper/Utils.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "core/DataBeans/ExifInfo.h"
#include "core/Helper/UtilsMetadataWriter.h"

using vantrel::ExifInfo;
using vantrel::Image;
using vantrel::Utils;

namespace {

const Utils& utils()
{
    return Utils::sharedUtils();
}

Image sample()
{
    const vips::VImage image = (vips::VImage::xyz(64, 48)[0] * 4)
                                   .bandjoin({ vips::VImage::xyz(64, 48)[1] * 5, vips::VImage::black(64, 48) + 90 });
    return Image(
        image.cast(VIPS_FORMAT_UCHAR).copy(vips::VImage::option()->set("interpretation", VIPS_INTERPRETATION_sRGB)));
}

QByteArray head(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.read(12) : QByteArray();
}

} // namespace

TEST(UtilsEncoders, ToolboxIndexOrderPicksTheFormat)
{
    QTemporaryDir dir;
    struct Case {
        int index;
        const char* name;
        QByteArray magic;
    };
    const Case cases[] = {
        { 0, "out0.tif", QByteArray("II*\0", 4) },
        { 1, "out1.bmp", "BM" },
        { 2, "out2.gif", "GIF8" },
        { 3, "out3.jpg", "\xFF\xD8" },
        { 4, "out4.jpeg", "\xFF\xD8" },
        { 5, "out5.png", "\x89PNG" },
        { 6, "out6.jp2", QByteArray("\0\0\0\x0CjP", 6) },
    };
    for (const Case& c : cases) {
        const QString path = dir.filePath(c.name);
        ASSERT_TRUE(utils().saveImageInSelectedFormat(c.index, path, sample(), sample(), {}, 0.8f, 1)) << c.name;
        const QByteArray bytes = head(path);
        const bool bigEndianTiff = c.index == 0 && bytes.startsWith(QByteArray("MM\0*", 4));
        EXPECT_TRUE(bytes.startsWith(c.magic) || bigEndianTiff) << c.name;
    }
    EXPECT_FALSE(utils().saveImageInSelectedFormat(7, dir.filePath("out7.png"), sample(), sample(), {}, 0.8f, 1));
    EXPECT_FALSE(utils().saveImageInSelectedFormat(-1, dir.filePath("outm.png"), sample(), sample(), {}, 0.8f, 1));
    EXPECT_FALSE(QFile::exists(dir.filePath("out7.png")));
    EXPECT_FALSE(utils().writeCGImage(sample(), dir.filePath("x.webp"), "org.webmproject.webp", {}));
    EXPECT_FALSE(utils().writeCGImage(Image(), dir.filePath("null.png"), "public.png", {}));
    // A folder that does not exist: a failure, not a success.
    EXPECT_FALSE(
        utils().saveImageInSelectedFormat(5, dir.filePath("no/such/out.png"), sample(), sample(), {}, 0.8f, 1));
}

TEST(UtilsEncoders, PropertiesTravelWithTheImage)
{
    QTemporaryDir dir;
    const QVariantMap properties {
        { "Orientation", 6 },
        { "{TIFF}",
            QVariantMap { { "Make", "Maker" }, { "Model", "M1" }, { "Orientation", 6 }, { "ImageWidth", 9999 } } },
        { "{Exif}",
            QVariantMap { { "DateTimeOriginal", "2020:01:01 00:00:05" }, { "FocalLength", 4.2 },
                { "ISOSpeedRatings", QVariantList { 400 } }, { "PixelXDimension", 9999 } } },
        { "{GPS}", QVariantMap { { "Latitude", 33.8716666667 }, { "LatitudeRef", "S" }, { "Altitude", 58.5 } } },
        { "{IPTC}", QVariantMap { { "Keywords", QVariantList { "sea", "sky" } } } },
        { "{ExifAux}", QVariantMap { { "LensModel", "Zoom 24-70" } } },
    };
    const QString path = dir.filePath("tagged.jpg");
    ASSERT_TRUE(utils().saveImageInSelectedFormat(3, path, sample(), sample(), properties, 0.9f, 6));
    const ExifInfo info = ExifInfo::initWithFile(path);
    EXPECT_EQ(info.pixelWidth(), 64);
    EXPECT_EQ(info.orientation(), 6);
    EXPECT_EQ(info.cameraMaker(), "Maker");
    EXPECT_EQ(info.cameraModel(), "M1");
    EXPECT_EQ(info.captureDate(), QDateTime(QDate(2020, 1, 1), QTime(0, 0, 5)));
    EXPECT_EQ(info.folcalLength(), "4.2 mm");
    EXPECT_EQ(info.isoSpeedRating(), "400");
    EXPECT_NEAR(info.gpsLatitude(), 33.8716666667, 1e-5);
    EXPECT_EQ(info.gpsLatitudeRef(), "S");
    EXPECT_NEAR(info.gpsAltitude(), 58.5, 1e-9);
    EXPECT_EQ(info.keywords(), "sea,sky");
    EXPECT_EQ(info.cameraLensModel(), "Zoom 24-70");
    const QVariantMap written = ExifInfo::exifForFile(path);
    EXPECT_EQ(written.value("{Exif}").toMap().value("PixelXDimension").toInt(), 64);
    EXPECT_FALSE(written.value("{TIFF}").toMap().contains("ImageWidth"));
    // Only the finished file is left in the folder.
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList { "tagged.jpg" });

    const QVariantMap copied = utils().setImageExifInfo({ { "keep", 1 } }, properties);
    EXPECT_EQ(copied.value("keep"), 1);
    EXPECT_EQ(copied.value("Orientation"), 6);
    EXPECT_TRUE(copied.contains("{GPS}"));
    EXPECT_FALSE(copied.contains("{ExifAux}"));
}

TEST(UtilsEncoders, UpdateRewritesInTheFilesOwnType)
{
    QTemporaryDir dir;
    const QString png = dir.filePath("photo.png");
    ASSERT_TRUE(utils().writeCGImage(sample(), png, "public.png", {}));
    ASSERT_TRUE(utils().updateImageExifDataAtPath(
        png, { { "{TIFF}", QVariantMap { { "Make", "Maker" } } } }, 0.8f, 1, utils().resizeImage(sample(), 32, 24)));
    EXPECT_TRUE(head(png).startsWith("\x89PNG"));
    const ExifInfo info = ExifInfo::initWithFile(png);
    EXPECT_EQ(info.pixelWidth(), 32);
    EXPECT_EQ(info.cameraMaker(), "Maker");

    // A type no encoder writes becomes a JPEG beside it.
    const QString odd = dir.filePath("photo.xyz");
    QFile(png).copy(odd);
    QFile::resize(odd, 10);
    ASSERT_TRUE(utils().updateImageExifDataAtPath(odd, {}, 0.8f, 1, sample()));
    EXPECT_TRUE(head(dir.filePath("photo.jpeg")).startsWith("\xFF\xD8"));
    EXPECT_FALSE(utils().updateImageExifDataAtPath(png, {}, 0.8f, 1, Image()));
}

TEST(UtilsEncoders, RationalValuesKeepTheirValue)
{
    // Written as rationals and read back: short exposure times must not become other ones.
    struct Case {
        const char* key;
        double value;
    };
    const Case cases[] = {
        { "ExposureTime", 1.0 / 8000 },
        { "ExposureTime", 1.0 / 3 },
        { "ExposureTime", 30.0 },
        { "FNumber", 2.8 },
        { "FocalLength", 4.2 },
        { "ExposureBiasValue", -1.0 / 3 },
        { "ExposureBiasValue", -0.3333 },
        { "DigitalZoomRatio", 1.0 / 1024 },
    };
    QTemporaryDir dir;
    for (const Case& c : cases) {
        const QString path = dir.filePath("rational.jpg");
        ASSERT_TRUE(
            utils().writeCGImage(sample(), path, "public.jpeg", { { "{Exif}", QVariantMap { { c.key, c.value } } } }));
        const double written = ExifInfo::exifForFile(path).value("{Exif}").toMap().value(c.key).toDouble();
        EXPECT_NEAR(written, c.value, std::abs(c.value) * 1e-9) << c.key << " " << c.value;
    }
}

TEST(UtilsEncoders, FailedMetadataWriteFailsTheWriteAndLeavesNothing)
{
    QTemporaryDir dir;
    const QVariantMap properties { { QStringLiteral("{TIFF}"),
        QVariantMap { { QStringLiteral("ImageDescription"), QStringLiteral("a photo") } } } };
    const QString path = dir.filePath(QStringLiteral("out.jpg"));
    ASSERT_TRUE(utils().writeCGImage(sample(), path, QStringLiteral("public.jpeg"), properties));
    const QByteArray before = [&] {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }();
    vantrel::UtilsMetadataWriter::setWriteFailureForTesting(true);
    EXPECT_FALSE(utils().writeCGImage(sample(), path, QStringLiteral("public.png"), properties));
    EXPECT_FALSE(utils().writeCGImage(
        sample(), dir.filePath(QStringLiteral("new.tif")), QStringLiteral("public.tiff"), properties));
    vantrel::UtilsMetadataWriter::setWriteFailureForTesting(false);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), before);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList { QStringLiteral("out.jpg") });
}
