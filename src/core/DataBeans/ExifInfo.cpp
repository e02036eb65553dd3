#include "core/DataBeans/ExifInfo.h"

#include <cmath>
#include <optional>

#include <QLocale>
#include <QRegularExpression>
#include <QStringList>

#include "platform/DateFormat.h"
#include "platform/imaging/ImageProperties.h"

namespace vantrel {

namespace {

const QString kExifDatePattern = QStringLiteral("yyyy:MM:dd HH:mm:ss");

bool isList(const QVariant& value)
{
    return value.metaType().id() == QMetaType::QVariantList || value.metaType().id() == QMetaType::QStringList;
}

/// The text of a property value as it is kept: numbers in their shortest form, texts unchanged,
/// byte strings as UTF-8.
QString textOf(const QVariant& value)
{
    if (value.metaType().id() == QMetaType::QByteArray)
        return QString::fromUtf8(value.toByteArray());
    return value.toString();
}

/// The entries of a list value joined by ","; a single value gives its own text.
QString joinedTexts(const QVariant& value)
{
    if (!isList(value))
        return textOf(value);
    QStringList parts;
    for (const QVariant& entry : value.toList())
        parts << textOf(entry);
    return parts.join(QLatin1Char(','));
}

/// A number from a numeric value, a decimal text or a rational text "n/d"; nothing otherwise.
std::optional<double> numberOf(const QVariant& value)
{
    if (!value.isValid() || value.isNull())
        return std::nullopt;
    const QString text = textOf(value).trimmed();
    const int slash = text.indexOf(QLatin1Char('/'));
    if (slash > 0) {
        bool okN = false;
        bool okD = false;
        const double n = text.left(slash).toDouble(&okN);
        const double d = text.mid(slash + 1).toDouble(&okD);
        if (!okN || !okD || d == 0.0)
            return std::nullopt;
        return n / d;
    }
    bool ok = false;
    const double v = text.toDouble(&ok);
    if (!ok || !std::isfinite(v))
        return std::nullopt;
    return v;
}

int truncatedInt(const QVariant& value)
{
    const double v = numberOf(value).value_or(0.0);
    if (!(std::fabs(v) < 2147483647.0))
        return 0;
    return static_cast<int>(v);
}

QVariantMap group(const QVariantMap& dict, const char* name, bool* present)
{
    const auto it = dict.constFind(QLatin1String(name));
    *present = it != dict.constEnd();
    return *present ? it->toMap() : QVariantMap();
}

void setTextIfPresent(const QVariantMap& map, const char* key, QString* field)
{
    const auto it = map.constFind(QLatin1String(key));
    if (it != map.constEnd())
        *field = textOf(*it);
}

} // namespace

ExifInfo ExifInfo::initWithFile(const QString& path)
{
    return initWithDict(exifForFile(path));
}

ExifInfo ExifInfo::initWithDict(const QVariantMap& dict)
{
    ExifInfo info;
    info.resetAllWithDict(dict);
    return info;
}

QVariantMap ExifInfo::exifForFile(const QString& path)
{
    if (path.isEmpty())
        return {};
    const ImageProperties properties = readImageProperties(path, PropertyDepth::Full);
    return properties.valid ? properties.dictionary : QVariantMap();
}

QDateTime ExifInfo::getDateFromString(const QString& text)
{
    if (text.isEmpty())
        return {};
    return DateFormat::parse(text, kExifDatePattern).value_or(QDateTime());
}

double ExifInfo::decimalDegreesFromValue(const QVariant& value)
{
    QVariantList parts;
    if (isList(value)) {
        parts = value.toList();
    } else {
        const QString text = textOf(value).trimmed();
        const QStringList pieces = text.split(QRegularExpression(QStringLiteral("[\\s,]+")), Qt::SkipEmptyParts);
        for (const QString& piece : pieces)
            parts << piece;
    }
    double degrees = 0.0;
    double unit = 1.0;
    for (int i = 0; i < parts.size() && i < 3; ++i) {
        const std::optional<double> part = numberOf(parts.at(i));
        if (!part)
            return 0.0;
        degrees += *part / unit;
        unit *= 60.0;
    }
    return std::isfinite(degrees) ? degrees : 0.0;
}

void ExifInfo::resetAllWithDict(const QVariantMap& dict)
{
    if (dict.isEmpty())
        return;

    setTextIfPresent(dict, "ProfileName", &m_profileName);
    const QVariant width = dict.value(QStringLiteral("PixelWidth"));
    const QVariant height = dict.value(QStringLiteral("PixelHeight"));
    m_pixelWidth = truncatedInt(width);
    m_pixelHeight = truncatedInt(height);
    // A missing dimension reads back as 0 wherever the size text is parsed.
    m_imageSize = QStringLiteral("%1 x %2").arg(
        width.isValid() ? textOf(width) : QStringLiteral("0"), height.isValid() ? textOf(height) : QStringLiteral("0"));
    setTextIfPresent(dict, "ColorModel", &m_colorModel);
    m_dpiHeight = 0.0;
    m_dpiWidth = 0.0;
    const int topOrientation = truncatedInt(dict.value(QStringLiteral("Orientation")));
    const bool swapped = topOrientation >= 5 && topOrientation <= 8;
    m_imageSizeToDisplay = swapped ? QStringLiteral("%1 x %2").arg(m_pixelHeight).arg(m_pixelWidth)
                                   : QStringLiteral("%1 x %2").arg(m_pixelWidth).arg(m_pixelHeight);
    const std::optional<double> dpiW = numberOf(dict.value(QStringLiteral("DPIWidth")));
    const std::optional<double> dpiH = numberOf(dict.value(QStringLiteral("DPIHeight")));
    if (dpiW && dpiH) {
        m_dpiWidth = *dpiW;
        m_dpiHeight = *dpiH;
        m_imageDPI = QString::asprintf("%.1f x %.1f", m_dpiWidth, m_dpiHeight);
    }

    bool present = false;
    const QVariantMap exif = group(dict, "{Exif}", &present);
    if (present) {
        m_captureDate = getDateFromString(textOf(exif.value(QStringLiteral("DateTimeOriginal"))));
        setTextIfPresent(exif, "Rating", &m_rating);
        if (exif.contains(QStringLiteral("FocalLength"))) {
            const QVariant focal = exif.value(QStringLiteral("FocalLength"));
            const QString text = textOf(focal);
            // A rational text ("42/10") is shown as its value, like a numeric one.
            const QString shown = text.contains(QLatin1Char('/')) && numberOf(focal)
                ? QString::number(*numberOf(focal), 'g', QLocale::FloatingPointShortest)
                : text;
            m_folcalLength = QStringLiteral("%1 mm").arg(shown);
        }
        if (exif.contains(QStringLiteral("ExposureBiasValue")))
            m_exposureBias
                = QString::asprintf("%.2f EV", numberOf(exif.value(QStringLiteral("ExposureBiasValue"))).value_or(0.0));
        if (exif.contains(QStringLiteral("ISOSpeedRatings")))
            m_isoSpeedRating = joinedTexts(exif.value(QStringLiteral("ISOSpeedRatings")));
        setTextIfPresent(exif, "ExposureMode", &m_exposureMode);
        setTextIfPresent(exif, "ExposureProgram", &m_exposureProgram);
        setTextIfPresent(exif, "MeteringMode", &m_meteringMode);
        setTextIfPresent(exif, "LightSource", &m_lightSource);
        setTextIfPresent(exif, "SensingMethod", &m_sensingMethod);
        setTextIfPresent(exif, "SceneCaptureType", &m_sceneCaptureType);
        setTextIfPresent(exif, "DigitalZoomRatio", &m_digitalZoomRatio);
        setTextIfPresent(exif, "ColorSpace", &m_colorSpace);
        if (exif.contains(QStringLiteral("Flash")))
            m_flashFired = numberOf(exif.value(QStringLiteral("Flash"))).value_or(0.0) != 0.0 ? 1 : 0;
        setTextIfPresent(exif, "UserComment", &m_userComment);
    }

    const QVariantMap tiff = group(dict, "{TIFF}", &present);
    if (present) {
        setTextIfPresent(tiff, "Make", &m_cameraMaker);
        setTextIfPresent(tiff, "Model", &m_cameraModel);
        m_orientation = truncatedInt(tiff.value(QStringLiteral("Orientation")));
        setTextIfPresent(tiff, "Software", &m_editingSoftware);
    }

    const QVariantMap gps = group(dict, "{GPS}", &present);
    if (present) {
        m_gpsLatitude = decimalDegreesFromValue(gps.value(QStringLiteral("Latitude")));
        m_gpsLongitude = decimalDegreesFromValue(gps.value(QStringLiteral("Longitude")));
        setTextIfPresent(gps, "LatitudeRef", &m_gpsLatitudeRef);
        setTextIfPresent(gps, "LongitudeRef", &m_gpsLongitudeRef);
        m_gpsAltitude = numberOf(gps.value(QStringLiteral("Altitude"))).value_or(0.0);
    }

    const QVariantMap iptc = group(dict, "{IPTC}", &present);
    if (present && iptc.contains(QStringLiteral("Keywords")))
        m_keywords = joinedTexts(iptc.value(QStringLiteral("Keywords")));

    const QVariantMap aux = group(dict, "{ExifAux}", &present);
    if (present)
        setTextIfPresent(aux, "LensModel", &m_cameraLensModel);
}

void ExifInfo::commmonInit()
{
    for (QString* text :
        { &m_profileName, &m_imageSize, &m_imageSizeToDisplay, &m_colorModel, &m_imageDPI, &m_rating, &m_folcalLength,
            &m_exposureBias, &m_isoSpeedRating, &m_exposureMode, &m_exposureProgram, &m_lightSource, &m_sensingMethod,
            &m_sceneCaptureType, &m_digitalZoomRatio, &m_colorSpace, &m_userComment, &m_cameraMaker, &m_cameraModel,
            &m_editingSoftware, &m_gpsLatitudeRef, &m_gpsLongitudeRef, &m_keywords, &m_cameraLensModel })
        *text = QLatin1String("");
    m_meteringMode = QString();
    m_pixelWidth = 0;
    m_pixelHeight = 0;
    m_dpiWidth = 0.0;
    m_dpiHeight = 0.0;
    m_captureDate = QDateTime();
    m_flashFired = -1;
    m_orientation = -1;
}

} // namespace vantrel
