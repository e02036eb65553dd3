#include "core/Helper/LanguageTableReader.h"
#include "core/ResourceImages.h"

#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QSet>

#include <gtest/gtest.h>

using namespace vantrel;

namespace {

LanguageTable resourceTable()
{
    ResourceImages::initResources();
    return LanguageTableReader::readFile(":/VANTREL_EN.plist").value_or(LanguageTable());
}

} // namespace

TEST(LanguageTable, HoldsEveryCaptionKeyUsedInTheSources)
{
    const LanguageTable table = resourceTable();
    ASSERT_FALSE(table.isEmpty());

    const QString src = QStringLiteral(VANTREL_SOURCE_DIR) + "/src";
    ASSERT_TRUE(QFile::exists(src));
    static const QRegularExpression literal(QStringLiteral("\"(ID_[A-Z0-9_]+)\""));
    QDirIterator it(src, { "*.cpp", "*.h" }, QDir::Files, QDirIterator::Subdirectories);
    int files = 0;
    while (it.hasNext()) {
        QFile file(it.next());
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        ++files;
        const QString text = QString::fromUtf8(file.readAll());
        for (auto m = literal.globalMatch(text); m.hasNext();) {
            const QString key = m.next().captured(1);
            EXPECT_TRUE(table.contains(key)) << key.toStdString() << " in " << file.fileName().toStdString();
        }
    }
    EXPECT_GT(files, 0);
}

TEST(LanguageTable, HoldsTheCaptionsOfTheInformationRowsAndAlerts)
{
    const LanguageTable table = resourceTable();
    const char* keys[] = {
        "ID_PHOTOS_CANT_ADDED_FROM_TRASH",
        "ID_OK_CAPS",
        "ID_FILE_NAME",
        "ID_FILE_PATH",
        "ID_FILE_SIZE",
        "ID_FILE_LABEL",
        "ID_FILE_CREATED",
        "ID_FILE_MODIFIED",
        "ID_FOLDER_NAME",
        "ID_RATING",
        "ID_KEYWORDS",
        "ID_IMAGE_SIZE",
        "ID_IMAGE_DPI",
        "ID_ORIENTATION",
        "ID_DIGITAL_ZOOM_RATIO",
        "ID_CAPTURE_DATE",
        "ID_EDITING_SOFTWARE",
        "ID_EXPOSURE",
        "ID_FOCAL_LENGTH",
        "ID_EXPOSURE_BIAS",
        "ID_ISO_SPEED_RATING",
        "ID_EXPOSURE_MODE",
        "ID_EXPOSURE_PROGRAM",
        "ID_METERING",
        "ID_LIGHT_SOURCE",
        "ID_SENSING_METHOD",
        "ID_SCENCE_CAPTURE_TYPE",
        "ID_CAMERA_MAKER",
        "ID_CAMERA_MODEL",
        "ID_CAMERA_LENS_MODEL",
        "ID_CAMERA_FIRMWARE",
        "ID_COLOR_MODEL",
        "ID_COLOR_SPACE",
        "ID_PROFILE_NAME",
        "ID_GPS_ALTITUDE",
        "ID_GPS_LATITUDE",
        "ID_GPS_LONGITUDE",
    };
    for (const char* key : keys) {
        EXPECT_TRUE(table.contains(key)) << key;
        EXPECT_FALSE(table.value(key).trimmed().isEmpty()) << key;
    }
}

TEST(ResourceImages, NamedImagesWithOrWithoutExtension)
{
    const char* names[] = {
        "place_holder.png",
        "checked_image.png",
        "uncheck_image.png",
        "checked_icon_2.png",
        "not_av_big.png",
        "not_av_small.png",
        "radio.png",
        "radio_active.png",
        "checked_sq_icon_flip",
        "unchecked_sq_icon_flip",
        "header_gradient.png",
        "pi_topLeft",
        "pi_centerFill",
        "pi_bottomRight",
        "close-normal",
        "min-press",
        "max-hover",
        "list_view_enabled.png",
        "grid_view_big_disabled.png",
        "rotate_keep_original_active.png",
        "auto_rotate.png",
        "flip_v_active.png",
    };
    for (const char* name : names)
        EXPECT_FALSE(ResourceImages::named(name).isNull()) << name;
    for (int n = 1; n <= 19; ++n)
        EXPECT_FALSE(ResourceImages::named(QString("%1.png").arg(n)).isNull()) << n;
    for (int n = 1; n <= 55; ++n)
        EXPECT_FALSE(ResourceImages::named(QString("loader%1.png").arg(n)).isNull()) << n;
    EXPECT_EQ(ResourceImages::named("checked_image.png").size(), QSize(22, 22));
    EXPECT_EQ(ResourceImages::named("pi_topFill").size(), QSize(1, 4));
}

TEST(ResourceImages, AMissingNameDrawsNothing)
{
    for (const char* name :
        { "", "no_such_image.png", "no_such_image", "20.png", "loader56.png", "../VANTREL_EN.plist" })
        EXPECT_TRUE(ResourceImages::named(name).isNull()) << name;
    EXPECT_TRUE(ResourceImages::pathOf("no_such_image.png").isEmpty());
}
