// The information popup's rows: 35 titled values in a fixed order, "---" for what a photo lacks,
// and coordinates as degrees, minutes and seconds.
#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include "core/Batch/PhotoInfoRows.h"
#include "core/Helper/CommonFunc.h"
#include "support/TestImages.h"

namespace vantrel {
namespace {

TEST(PhotoInfoRowsTest, CoordinateText)
{
    const struct {
        double value;
        const char* ref;
        QString text;
    } rows[] = {
        { 51.5, "N", "51° 30' 0'' N" },
        { -0.125, "W", "0° 7' 30'' W" },
        { -33.8568, "S", "33° 51' 24'' S" },
        { 0, "N", "0° 0' 0'' N" },
        { 179.99999, "E", "179° 59' 59'' E" },
        { 12.3456, "", "---" },
    };
    for (const auto& row : rows)
        EXPECT_EQ(PhotoInfoRows::getPositioninlatitudelongitude(row.value, row.ref), row.text) << row.value;
}

QString valueOf(const QList<PhotoInfoRows::Row>& rows, const char* key)
{
    const qsizetype index = PhotoInfoRows::titleKeys().indexOf(QString::fromLatin1(key));
    return index >= 0 && index < rows.size() ? rows[index].value : QStringLiteral("<no row>");
}

TEST(PhotoInfoRowsTest, RowsOfAPhotoWithExifAndGps)
{
    CommonFunc::loadLanguageDict();
    QTemporaryDir dir;
    QDir(dir.path()).mkdir("Holiday");
    const QString path = dir.filePath("Holiday/cam.jpg");
    ASSERT_TRUE(testimages::writePattern(path, 64, 48));
    ASSERT_TRUE(testimages::setCameraTags(path));

    const auto rows = PhotoInfoRows::forFile(path);
    ASSERT_TRUE(rows);
    ASSERT_EQ(rows->size(), 35);
    EXPECT_EQ(rows->at(0).title, "File Name");
    EXPECT_EQ(rows->at(34).title, "Longitude");
    const struct {
        const char* key;
        QString value;
    } expected[] = {
        { "ID_FILE_NAME", "cam.jpg" },
        { "ID_FILE_PATH", path },
        { "ID_FOLDER_NAME", "Holiday" },
        { "ID_FILE_LABEL", "---" },
        { "ID_KEYWORDS", "alpha,beta" },
        { "ID_IMAGE_SIZE", "64 x 48" },
        { "ID_IMAGE_DPI", "300.0 x 300.0" },
        { "ID_EDITING_SOFTWARE", "builder 1.0" },
        { "ID_FOCAL_LENGTH", "4.2 mm" },
        { "ID_EXPOSURE_BIAS", "-0.33 EV" },
        { "ID_ISO_SPEED_RATING", "100,200" },
        { "ID_CAMERA_MAKER", "Testmaker" },
        { "ID_CAMERA_MODEL", "TM-1" },
        { "ID_CAMERA_LENS_MODEL", "Test Lens 24-70" },
        { "ID_CAMERA_FIRMWARE", "---" },
        { "ID_GPS_ALTITUDE", "35.00 m" },
        { "ID_GPS_LATITUDE", "51° 30' 0'' N" },
        { "ID_GPS_LONGITUDE", "0° 7' 30'' W" },
    };
    for (const auto& row : expected)
        EXPECT_EQ(valueOf(*rows, row.key), row.value) << row.key;
    EXPECT_NE(valueOf(*rows, "ID_CAPTURE_DATE"), "---");
    EXPECT_EQ(PhotoInfoRows::valueText("TM-1"), ":      TM-1");
}

// The colour space reads as its name, never as the tag's number.
TEST(PhotoInfoRowsTest, ColourSpaceByName)
{
    CommonFunc::loadLanguageDict();
    QTemporaryDir dir;
    const struct {
        const char* tag;
        QString shown;
    } cases[] = {
        { "1", "sRGB" },
        { "2", "Adobe RGB" },
        { "65535", "Uncalibrated" },
        { "7", "---" },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.tag);
        const QString path = dir.filePath(QStringLiteral("space%1.jpg").arg(c.tag));
        ASSERT_TRUE(testimages::writePattern(path, 32, 24));
        ASSERT_TRUE(testimages::setCameraTags(path));
        ASSERT_TRUE(testimages::setMetadata(path, { { "Exif.Photo.ColorSpace", c.tag } }));
        const auto rows = PhotoInfoRows::forFile(path);
        ASSERT_TRUE(rows);
        EXPECT_EQ(valueOf(*rows, "ID_COLOR_SPACE").toStdString(), c.shown.toStdString());
    }
}

TEST(PhotoInfoRowsTest, PhotoWithoutMetadataAndFilesThatAreNoImage)
{
    QTemporaryDir dir;
    const QString plain = dir.filePath("plain.png");
    ASSERT_TRUE(testimages::writePattern(plain, 30, 20));
    const auto rows = PhotoInfoRows::forFile(plain);
    ASSERT_TRUE(rows);
    for (const char* key : { "ID_CAMERA_MAKER", "ID_GPS_ALTITUDE", "ID_GPS_LATITUDE", "ID_GPS_LONGITUDE",
             "ID_DIGITAL_ZOOM_RATIO", "ID_CAPTURE_DATE", "ID_EXPOSURE_MODE" })
        EXPECT_EQ(valueOf(*rows, key), "---") << key;

    const QString text = dir.filePath("notes.jpg");
    ASSERT_TRUE(testimages::writeBytes(text, QByteArray(200, 'x')));
    EXPECT_FALSE(PhotoInfoRows::forFile(text));
    EXPECT_FALSE(PhotoInfoRows::forFile(dir.filePath("absent.jpg")));
}

} // namespace
} // namespace vantrel
