#include "core/Batch/PhotoInfoRows.h"

#include <cmath>
#include <cstdlib>

#include <QDir>
#include <QFileInfo>

#include "core/DataBeans/ExifInfo.h"
#include "core/Helper/CommonFunc.h"
#include "core/PhotoLibrary/ImageFileInfo.h"

namespace vantrel {

namespace {

QString numberText(const QString& value, const char* format)
{
    bool ok = false;
    const double number = value.toDouble(&ok);
    return ok ? QString::asprintf(format, number) : QString();
}

} // namespace

const QList<QString>& PhotoInfoRows::titleKeys()
{
    static const QList<QString> keys { "ID_FILE_NAME", "ID_FILE_PATH", "ID_FILE_SIZE", "ID_FILE_LABEL",
        "ID_FILE_CREATED", "ID_FILE_MODIFIED", "ID_FOLDER_NAME", "ID_RATING", "ID_KEYWORDS", "ID_IMAGE_SIZE",
        "ID_IMAGE_DPI", "ID_ORIENTATION", "ID_DIGITAL_ZOOM_RATIO", "ID_CAPTURE_DATE", "ID_EDITING_SOFTWARE",
        "ID_EXPOSURE", "ID_FOCAL_LENGTH", "ID_EXPOSURE_BIAS", "ID_ISO_SPEED_RATING", "ID_EXPOSURE_MODE",
        "ID_EXPOSURE_PROGRAM", "ID_METERING", "ID_LIGHT_SOURCE", "ID_SENSING_METHOD", "ID_SCENCE_CAPTURE_TYPE",
        "ID_CAMERA_MAKER", "ID_CAMERA_MODEL", "ID_CAMERA_LENS_MODEL", "ID_CAMERA_FIRMWARE", "ID_COLOR_MODEL",
        "ID_COLOR_SPACE", "ID_PROFILE_NAME", "ID_GPS_ALTITUDE", "ID_GPS_LATITUDE", "ID_GPS_LONGITUDE" };
    return keys;
}

void PhotoInfoRows::createArrayToUpdateMetaData(QList<Row>& rows, const QString& title, const QString& value)
{
    rows.append({ title, value.isEmpty() ? QString::fromLatin1(kMissing) : value });
}

QList<PhotoInfoRows::Row> PhotoInfoRows::createArrayToUpdateMetaDataWithNode(
    const ImageFileInfo& node, const ExifInfo& exif)
{
    // A value the names tables do not know reads "---" there already; an absent one too.
    const auto named = [](const QString& raw, QString (*name)(const QVariant&)) {
        return raw.isEmpty() ? QString() : name(QVariant(raw));
    };
    const bool hasPosition = !exif.gpsLatitudeRef().isEmpty() || !exif.gpsLongitudeRef().isEmpty();
    const QString altitude
        = hasPosition || exif.gpsAltitude() != 0 ? QString::asprintf("%.2f m", exif.gpsAltitude()) : QString();
    const QString folderName
        = exif.folderName().isEmpty() ? QFileInfo(node.filePath).dir().dirName() : exif.folderName();

    const QString values[] = {
        node.fileName,
        node.filePath,
        CommonFunc::getSizeInUnits(double(node.fileSize)),
        exif.fileLabel(),
        CommonFunc::getDateTimeStringFromDate(node.createDate),
        CommonFunc::getDateTimeStringFromDate(node.modDate),
        folderName,
        exif.rating(),
        exif.keywords(),
        exif.imageSizeToDisplay(),
        exif.imageDPI(),
        exif.orientation() > 0 ? CommonFunc::getOrientationType(exif.orientation()) : QString(),
        numberText(exif.digitalZoomRatio(), "%.2f"),
        CommonFunc::getDateTimeStringFromDate(exif.captureDate()),
        exif.editingSoftware(),
        exif.exposure(),
        exif.folcalLength(),
        exif.exposureBias(),
        exif.isoSpeedRating(),
        named(exif.exposureMode(), &CommonFunc::getExposureModeType),
        named(exif.exposureProgram(), &CommonFunc::getExposureProgramType),
        named(exif.meteringMode(), &CommonFunc::getMeteringModeType),
        named(exif.lightSource(), &CommonFunc::getLightSourceType),
        named(exif.sensingMethod(), &CommonFunc::getColorSensingType),
        named(exif.sceneCaptureType(), &CommonFunc::getScenceCaptureType),
        exif.cameraMaker(),
        exif.cameraModel(),
        exif.cameraLensModel(),
        exif.cameraFirmware(),
        exif.colorModel(),
        named(exif.colorSpace(), &CommonFunc::getColorSpaceType),
        exif.profileName(),
        altitude,
        getPositioninlatitudelongitude(exif.gpsLatitude(), exif.gpsLatitudeRef()),
        getPositioninlatitudelongitude(exif.gpsLongitude(), exif.gpsLongitudeRef()),
    };
    static_assert(std::size(values) == 35);

    QList<Row> rows;
    rows.reserve(35);
    const QList<QString>& keys = titleKeys();
    for (qsizetype i = 0; i < keys.size(); ++i)
        createArrayToUpdateMetaData(rows, CommonFunc::getLocalizedStringForKey(keys[i]), values[i]);
    return rows;
}

QString PhotoInfoRows::getPositioninlatitudelongitude(double coordinate, const QString& latLongRef)
{
    if (latLongRef.isEmpty())
        return QString::fromLatin1(kMissing);
    const double scaled = std::fabs(coordinate) * 3600.0;
    // Whole seconds; a value no coordinate can have (a damaged tag) reads 0 rather than overflow.
    const int seconds = std::isfinite(scaled) && scaled < 2'000'000'000.0 ? int(scaled) : 0;
    return QStringLiteral("%1° %2' %3'' %4")
        .arg(seconds / 3600)
        .arg((seconds % 3600) / 60)
        .arg(seconds % 60)
        .arg(latLongRef);
}

std::optional<QList<PhotoInfoRows::Row>> PhotoInfoRows::forFile(const QString& path)
{
    const QVariantMap properties = ExifInfo::exifForFile(path);
    if (properties.isEmpty())
        return std::nullopt;
    const std::shared_ptr<ImageFileInfo> node = ImageFileInfo::initWithPathForFile(path);
    if (!node)
        return std::nullopt;
    return createArrayToUpdateMetaDataWithNode(*node, ExifInfo::initWithDict(properties));
}

QString PhotoInfoRows::valueText(const QString& value)
{
    return QStringLiteral(":      ") + value;
}

} // namespace vantrel
