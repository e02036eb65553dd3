#include "core/DataBeans/ExifInfo.h"

#include <QTemporaryDir>

#include <exiv2/exiv2.hpp>
#include <gtest/gtest.h>

#include "platform/imaging/VipsInclude.h"
#include "support/TestImages.h"

using vantrel::ExifInfo;

TEST(ExifInfo, FieldsFromTheDictionary)
{
    const QVariantMap dict {
        { "PixelWidth", 4000 },
        { "PixelHeight", 3000 },
        { "Orientation", 6 },
        { "ColorModel", "RGB" },
        { "ProfileName", "sRGB IEC61966-2.1" },
        { "DPIWidth", 300 },
        { "DPIHeight", 72.5 },
        { "{Exif}",
            QVariantMap { { "DateTimeOriginal", "2021:12:31 23:59:58" }, { "FocalLength", 4.2 },
                { "ExposureBiasValue", -0.3333 }, { "ISOSpeedRatings", QVariantList { 100, 200 } }, { "Flash", 16 },
                { "MeteringMode", 5 }, { "Rating", 4 } } },
        { "{TIFF}",
            QVariantMap { { "Orientation", 6 }, { "Make", "Maker" }, { "Model", "M1" }, { "Software", "Editor 2" } } },
        { "{GPS}",
            QVariantMap { { "Latitude", 52.51 }, { "LatitudeRef", "N" }, { "Longitude", "13/1 24/1 0/1" },
                { "LongitudeRef", "E" }, { "Altitude", "345/10" } } },
        { "{IPTC}", QVariantMap { { "Keywords", QStringList { "sea", " sky" } } } },
        { "{ExifAux}", QVariantMap { { "LensModel", "Zoom 24-70" } } },
    };
    const ExifInfo info = ExifInfo::initWithDict(dict);
    EXPECT_EQ(info.pixelWidth(), 4000);
    EXPECT_EQ(info.pixelHeight(), 3000);
    EXPECT_EQ(info.imageSize(), "4000 x 3000");
    EXPECT_EQ(info.imageSizeToDisplay(), "3000 x 4000");
    EXPECT_EQ(info.orientation(), 6);
    EXPECT_EQ(info.colorModel(), "RGB");
    EXPECT_EQ(info.profileName(), "sRGB IEC61966-2.1");
    EXPECT_EQ(info.dpiWidth(), 300.0);
    EXPECT_EQ(info.dpiHeight(), 72.5);
    EXPECT_EQ(info.imageDPI(), "300.0 x 72.5");
    EXPECT_EQ(info.captureDate(), QDateTime(QDate(2021, 12, 31), QTime(23, 59, 58)));
    EXPECT_EQ(info.folcalLength(), "4.2 mm");
    EXPECT_EQ(info.exposureBias(), "-0.33 EV");
    EXPECT_EQ(info.isoSpeedRating(), "100,200");
    EXPECT_EQ(info.flashFired(), 1);
    EXPECT_EQ(info.meteringMode(), "5");
    EXPECT_EQ(info.rating(), "4");
    EXPECT_EQ(info.cameraMaker(), "Maker");
    EXPECT_EQ(info.cameraModel(), "M1");
    EXPECT_EQ(info.editingSoftware(), "Editor 2");
    EXPECT_DOUBLE_EQ(info.gpsLatitude(), 52.51);
    EXPECT_DOUBLE_EQ(info.gpsLongitude(), 13.4);
    EXPECT_DOUBLE_EQ(info.gpsAltitude(), 34.5);
    EXPECT_EQ(info.gpsLatitudeRef(), "N");
    EXPECT_EQ(info.keywords(), "sea, sky"); // entries as given, only joined
    EXPECT_EQ(info.cameraLensModel(), "Zoom 24-70");
}

TEST(ExifInfo, MissingSourcesKeepStartValues)
{
    // No {TIFF} group: orientation 0; one resolution only: no resolution at all.
    const ExifInfo info = ExifInfo::initWithDict({ { "PixelWidth", 10 }, { "PixelHeight", 20 }, { "DPIWidth", 300 } });
    EXPECT_EQ(info.orientation(), 0);
    EXPECT_EQ(info.dpiWidth(), 0.0);
    EXPECT_EQ(info.dpiHeight(), 0.0);
    EXPECT_TRUE(info.imageDPI().isEmpty());
    EXPECT_EQ(info.imageSizeToDisplay(), "10 x 20");
    EXPECT_FALSE(info.captureDate().isValid());
    EXPECT_EQ(info.flashFired(), 0);

    const ExifInfo noWidth = ExifInfo::initWithDict({ { "PixelHeight", 20 } });
    EXPECT_EQ(noWidth.imageSize(), "0 x 20");

    const ExifInfo empty = ExifInfo::initWithDict({});
    EXPECT_TRUE(empty.imageSize().isEmpty());
    EXPECT_EQ(empty.pixelWidth(), 0);
}

TEST(ExifInfo, ExifDatesParseStrictly)
{
    EXPECT_EQ(ExifInfo::getDateFromString("2019:02:28 23:59:58"), QDateTime(QDate(2019, 2, 28), QTime(23, 59, 58)));
    for (const char* bad : { "0000:00:00 00:00:00", "2019-02-28 23:59:58", "2019:02:30 10:00:00", "2019:02:28", "",
             "    :  :     :  :  " })
        EXPECT_FALSE(ExifInfo::getDateFromString(bad).isValid()) << bad;
}

TEST(ExifInfo, GpsRationalsBecomeDecimalDegrees)
{
    struct Case {
        QVariant value;
        double expected;
    };
    const Case cases[] = {
        { 48.8566, 48.8566 },
        { "52/1 30/1 3600/100", 52.51 },
        { "52/1, 30/1, 36/1", 52.51 },
        { QVariantList { "13/1", "24/1", "0/1" }, 13.4 },
        { QVariantList { 10, 30, 0 }, 10.5 },
        { "12.25", 12.25 },
        { "1/0 0/1 0/1", 0.0 },
        { "north", 0.0 },
        { QVariant(), 0.0 },
    };
    for (const Case& c : cases)
        EXPECT_NEAR(ExifInfo::decimalDegreesFromValue(c.value), c.expected, 1e-9) << c.value.toString().toStdString();
}

TEST(ExifInfo, CommonInitMarksFieldsUnset)
{
    ExifInfo info = ExifInfo::initWithDict({ { "PixelWidth", 10 }, { "PixelHeight", 20 } });
    info.commmonInit();
    EXPECT_EQ(info.orientation(), -1);
    EXPECT_EQ(info.flashFired(), -1);
    EXPECT_EQ(info.pixelWidth(), 0);
    EXPECT_TRUE(info.imageSize().isEmpty());
    EXPECT_FALSE(info.imageSize().isNull());
    EXPECT_TRUE(info.meteringMode().isNull());
}

TEST(ExifInfo, TaggedJpegAndMissingFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("tagged.jpg");
    (vips::VImage::black(64, 48, vips::VImage::option()->set("bands", 3)) + 100)
        .cast(VIPS_FORMAT_UCHAR)
        .jpegsave(path.toUtf8().constData());
    {
        auto file = Exiv2::ImageFactory::open(path.toStdString());
        file->readMetadata();
        Exiv2::ExifData exif;
        exif["Exif.Image.Make"] = "Maker";
        exif["Exif.Image.Model"] = "M1";
        exif["Exif.Image.Software"] = "Editor 2";
        exif["Exif.Image.Orientation"] = static_cast<uint16_t>(6);
        exif["Exif.Photo.DateTimeOriginal"] = "2020:01:01 00:00:05";
        exif["Exif.Photo.FocalLength"] = Exiv2::URational(42, 10);
        exif["Exif.Photo.ISOSpeedRatings"] = static_cast<uint16_t>(400);
        exif["Exif.Photo.Flash"] = static_cast<uint16_t>(1);
        exif["Exif.Photo.LensModel"] = "Zoom 24-70";
        exif["Exif.GPSInfo.GPSLatitudeRef"] = "S";
        exif["Exif.GPSInfo.GPSLatitude"] = "33/1 52/1 1800/100";
        exif["Exif.GPSInfo.GPSLongitudeRef"] = "E";
        exif["Exif.GPSInfo.GPSLongitude"] = "151/1 12/1 36/1";
        exif["Exif.GPSInfo.GPSAltitude"] = Exiv2::URational(585, 10);
        file->setExifData(exif);
        file->writeMetadata();
    }

    const ExifInfo info = ExifInfo::initWithFile(path);
    EXPECT_EQ(info.pixelWidth(), 64);
    EXPECT_EQ(info.pixelHeight(), 48);
    EXPECT_EQ(info.imageSize(), "64 x 48");
    EXPECT_EQ(info.imageSizeToDisplay(), "48 x 64");
    EXPECT_EQ(info.orientation(), 6);
    EXPECT_EQ(info.cameraMaker(), "Maker");
    EXPECT_EQ(info.cameraModel(), "M1");
    EXPECT_EQ(info.editingSoftware(), "Editor 2");
    EXPECT_EQ(info.captureDate(), QDateTime(QDate(2020, 1, 1), QTime(0, 0, 5)));
    EXPECT_EQ(info.folcalLength(), "4.2 mm");
    EXPECT_EQ(info.isoSpeedRating(), "400");
    EXPECT_EQ(info.flashFired(), 1);
    EXPECT_EQ(info.cameraLensModel(), "Zoom 24-70");
    EXPECT_NEAR(info.gpsLatitude(), 33.0 + 52.0 / 60 + 18.0 / 3600, 1e-9);
    EXPECT_EQ(info.gpsLatitudeRef(), "S");
    EXPECT_NEAR(info.gpsLongitude(), 151.21, 1e-9);
    EXPECT_NEAR(info.gpsAltitude(), 58.5, 1e-9);

    for (const QString& missing : { dir.filePath("missing.jpg"), QString() }) {
        const ExifInfo none = ExifInfo::initWithFile(missing);
        EXPECT_TRUE(none.imageSize().isEmpty());
        EXPECT_EQ(none.orientation(), 0);
        EXPECT_EQ(none.pixelWidth(), 0);
        EXPECT_TRUE(none.cameraMaker().isEmpty());
        EXPECT_TRUE(ExifInfo::exifForFile(missing).isEmpty());
    }
}

TEST(ExifInfo, CameraTagsReachTheRecordInEveryFormat)
{
    namespace ti = vantrel::testimages;
    QTemporaryDir dir;
    for (const char* name : { "camera.jpg", "camera.png", "camera.tif", "camera.dng" }) {
        const QString path = dir.filePath(name);
        const bool raw = QString(name).endsWith("dng");
        ASSERT_TRUE(raw ? ti::writeLinearDng(path, 64, 48, 6) : ti::writePattern(path, 64, 48));
        ASSERT_TRUE(ti::setCameraTags(path)) << name;
        ASSERT_TRUE(ti::setMetadata(path, { { "Exif.Image.Rating", "4" }, { "Exif.Photo.MeteringMode", "5" } }));
        if (!raw) {
            ASSERT_TRUE(ti::setOrientation(path, 6));
        }

        const ExifInfo info = ExifInfo::initWithFile(path);
        EXPECT_EQ(info.imageSize(), "64 x 48") << name;
        EXPECT_EQ(info.imageSizeToDisplay(), "48 x 64") << name;
        EXPECT_EQ(info.orientation(), 6) << name;
        EXPECT_EQ(info.colorModel(), "RGB") << name;
        EXPECT_EQ(info.cameraMaker(), "Testmaker") << name;
        EXPECT_EQ(info.cameraModel(), "TM-1") << name;
        EXPECT_EQ(info.editingSoftware(), "builder 1.0") << name;
        EXPECT_EQ(info.captureDate(), QDateTime(QDate(2021, 6, 15), QTime(14, 30, 5))) << name;
        EXPECT_EQ(info.folcalLength(), "4.2 mm") << name;
        EXPECT_EQ(info.exposureBias(), "-0.33 EV") << name;
        EXPECT_EQ(info.isoSpeedRating(), "100,200") << name;
        EXPECT_EQ(info.exposureMode(), "1") << name;
        EXPECT_EQ(info.meteringMode(), "5") << name;
        EXPECT_EQ(info.rating(), "4") << name;
        EXPECT_EQ(info.flashFired(), 1) << name;
        EXPECT_EQ(info.cameraLensModel(), "Test Lens 24-70") << name;
        EXPECT_NEAR(info.gpsLatitude(), 51.5, 1e-9) << name;
        EXPECT_NEAR(info.gpsLongitude(), 0.125, 1e-9) << name;
        EXPECT_EQ(info.gpsLongitudeRef(), "W") << name;
        EXPECT_DOUBLE_EQ(info.gpsAltitude(), 35.0) << name;
        EXPECT_EQ(info.keywords(), "alpha,beta") << name;
    }
}
