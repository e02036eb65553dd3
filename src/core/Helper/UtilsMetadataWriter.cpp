#include "core/Helper/UtilsMetadataWriter.h"

#include <atomic>

#include <cmath>
#include <cstdio>
#include <map>
#include <string>
#include <utility>

#include <QStringList>

#include <exiv2/exiv2.hpp>

namespace vantrel::UtilsMetadataWriter {

namespace {

/// Dictionary keys of the "{Exif}" group whose EXIF tag name differs.
const std::map<QString, std::string>& exifTagNames()
{
    static const std::map<QString, std::string> names {
        { "SubsecTime", "SubSecTime" },
        { "SubsecTimeOriginal", "SubSecTimeOriginal" },
        { "SubsecTimeDigitized", "SubSecTimeDigitized" },
        { "FocalLenIn35mmFilm", "FocalLengthIn35mmFilm" },
    };
    return names;
}

/// Dictionary keys of the "{IPTC}" group and their IPTC dataset names.
const std::map<QString, std::string>& iptcDatasetNames()
{
    static const std::map<QString, std::string> names {
        { "Keywords", "Keywords" },
        { "ObjectName", "ObjectName" },
        { "Caption/Abstract", "Caption" },
        { "By-line", "Byline" },
        { "CopyrightNotice", "Copyright" },
        { "City", "City" },
        { "Province/State", "ProvinceState" },
        { "Country/PrimaryLocationName", "CountryName" },
        { "Headline", "Headline" },
        { "Credit", "Credit" },
        { "Source", "Source" },
    };
    return names;
}

bool isRational(Exiv2::TypeId type)
{
    return type == Exiv2::unsignedRational || type == Exiv2::signedRational;
}

/// The closest fraction to a value with a denominator up to a million and a numerator that fits a
/// signed rational (continued fractions): 0.000125 gives 1/8000 and -0.3333333 gives -1/3, where
/// a fixed denominator would turn short exposure times into other ones. {0, 0} when none fits.
std::pair<qlonglong, qlonglong> closestFraction(double value)
{
    constexpr qlonglong kMaxDenominator = 1'000'000;
    constexpr qlonglong kMaxNumerator = 2'147'483'647;
    double x = std::fabs(value);
    qlonglong h0 = 0, h1 = 1, k0 = 1, k1 = 0;
    for (int i = 0; i < 40 && x < 1e12; ++i) {
        const double whole = std::floor(x);
        const auto a = static_cast<qlonglong>(whole);
        const qlonglong h2 = a * h1 + h0;
        const qlonglong k2 = a * k1 + k0;
        if (k2 > kMaxDenominator || h2 > kMaxNumerator)
            break;
        h0 = h1, h1 = h2, k0 = k1, k1 = k2;
        const double rest = x - whole;
        if (rest < 1e-12 || std::fabs(double(h1) / double(k1) - std::fabs(value)) <= std::fabs(value) * 1e-12)
            break;
        x = 1.0 / rest;
    }
    if (k1 == 0)
        return { 0, 0 };
    return { value < 0 ? -h1 : h1, k1 };
}

/// One number in the text form exiv2 reads for the type: "n/d" for rationals.
std::string numberText(double value, Exiv2::TypeId type)
{
    if (!std::isfinite(value))
        return {};
    if (!isRational(type))
        return QString::number(static_cast<qlonglong>(std::llround(value))).toStdString();
    const auto [numerator, denominator] = closestFraction(value);
    if (denominator == 0)
        return {};
    return QStringLiteral("%1/%2").arg(numerator).arg(denominator).toStdString();
}

std::string valueText(const QVariant& value, Exiv2::TypeId type)
{
    if (value.typeId() == QMetaType::QVariantList || value.typeId() == QMetaType::QStringList) {
        std::string out;
        for (const QVariant& entry : value.toList()) {
            const std::string part = valueText(entry, type);
            if (part.empty())
                return {};
            out += (out.empty() ? "" : " ") + part;
        }
        return out;
    }
    bool ok = false;
    const double number = value.toDouble(&ok);
    if (type == Exiv2::asciiString || type == Exiv2::string || type == Exiv2::comment || type == Exiv2::undefined
        || !ok)
        return type == Exiv2::undefined ? std::string() : value.toString().toStdString();
    return numberText(number, type);
}

/// Decimal degrees as the three rationals of a GPS coordinate.
std::string degreesText(double degrees)
{
    if (!std::isfinite(degrees))
        return {};
    degrees = std::fabs(degrees);
    const auto whole = static_cast<qlonglong>(degrees);
    const double minutes = (degrees - whole) * 60.0;
    const auto wholeMinutes = static_cast<qlonglong>(minutes);
    const qlonglong hundredthSeconds = std::llround((minutes - wholeMinutes) * 60.0 * 100.0);
    return QStringLiteral("%1/1 %2/1 %3/100").arg(whole).arg(wholeMinutes).arg(hundredthSeconds).toStdString();
}

void setExif(Exiv2::ExifData& exif, const std::string& key, const QVariant& value)
{
    try {
        const Exiv2::ExifKey exifKey(key);
        const Exiv2::TypeId type = exifKey.defaultTypeId();
        const std::string text = valueText(value, type);
        if (text.empty())
            return;
        Exiv2::Value::AutoPtr parsed = Exiv2::Value::create(type);
        if (parsed->read(text) != 0)
            return;
        exif[key].setValue(parsed.get());
    } catch (const Exiv2::AnyError&) {
        // A key without an EXIF tag of that name is left out.
    }
}

void writeGps(Exiv2::ExifData& exif, const QVariantMap& gps)
{
    for (auto it = gps.constBegin(); it != gps.constEnd(); ++it) {
        const QString& key = it.key();
        if (key == "Latitude" || key == "Longitude" || key == "DestLatitude" || key == "DestLongitude") {
            const std::string text = degreesText(it.value().toDouble());
            if (!text.empty())
                exif["Exif.GPSInfo.GPS" + key.toStdString()] = text;
        } else if (key == "TimeStamp") {
            const QStringList parts = it.value().toString().split(':');
            if (parts.size() == 3)
                exif["Exif.GPSInfo.GPSTimeStamp"] = QStringLiteral("%1/1 %2/1 %3/100")
                                                        .arg(parts[0].toInt())
                                                        .arg(parts[1].toInt())
                                                        .arg(std::llround(parts[2].toDouble() * 100.0))
                                                        .toStdString();
        } else if (key == "GPSVersion") {
            setExif(exif, "Exif.GPSInfo.GPSVersionID", it.value());
        } else {
            setExif(exif, "Exif.GPSInfo.GPS" + key.toStdString(), it.value());
        }
    }
}

void writeIptc(Exiv2::IptcData& iptc, const QVariantMap& group)
{
    for (auto it = group.constBegin(); it != group.constEnd(); ++it) {
        const auto name = iptcDatasetNames().find(it.key());
        if (name == iptcDatasetNames().end())
            continue;
        try {
            const Exiv2::IptcKey key("Iptc.Application2." + name->second);
            while (true) {
                const auto existing = iptc.findKey(key);
                if (existing == iptc.end())
                    break;
                iptc.erase(existing);
            }
            const QVariantList values
                = it.value().typeId() == QMetaType::QVariantList || it.value().typeId() == QMetaType::QStringList
                ? it.value().toList()
                : QVariantList { it.value() };
            for (const QVariant& value : values) {
                Exiv2::StringValue text(value.toString().toStdString());
                iptc.add(key, &text);
            }
        } catch (const Exiv2::AnyError&) {
        }
    }
}

} // namespace

namespace {
std::atomic<bool> g_failForTesting { false };
} // namespace

void setWriteFailureForTesting(bool fail)
{
    g_failForTesting = fail;
}

bool writeProperties(const QString& path, const QVariantMap& dictionary)
{
    if (g_failForTesting) {
        std::fprintf(stderr, "metadata %s: failing as a test asked\n", qPrintable(path));
        return false;
    }
    try {
        auto image = Exiv2::ImageFactory::open(path.toStdString());
        if (!image.get())
            return false;
        image->readMetadata();
        Exiv2::ExifData exif = image->exifData();

        // Only descriptive tags of the main image: the layout tags (sizes, strips, compression)
        // belong to the new pixels, and the orientation tag is the encoder's.
        static const char* const kTiffTags[] = { "Make", "Model", "Software", "DateTime", "Artist", "Copyright",
            "ImageDescription", "HostComputer", "XResolution", "YResolution", "ResolutionUnit" };
        const QVariantMap tiff = dictionary.value("{TIFF}").toMap();
        for (const char* tag : kTiffTags) {
            const auto it = tiff.constFind(QLatin1String(tag));
            if (it != tiff.constEnd())
                setExif(exif, std::string("Exif.Image.") + tag, it.value());
        }

        QVariantMap photo = dictionary.value("{ExifAux}").toMap();
        const QVariantMap exifGroup = dictionary.value("{Exif}").toMap();
        for (auto it = exifGroup.constBegin(); it != exifGroup.constEnd(); ++it)
            photo.insert(it.key(), it.value());
        for (auto it = photo.constBegin(); it != photo.constEnd(); ++it) {
            const QString& key = it.key();
            // The new pixels decide their own dimensions; versions are written by the library.
            if (key == "PixelXDimension" || key == "PixelYDimension" || key == "ExifVersion" || key == "FlashpixVersion"
                || key == "SerialNumber" || key == "LensInfo")
                continue;
            if (key == "Rating") {
                setExif(exif, "Exif.Image.Rating", it.value());
                continue;
            }
            const auto renamed = exifTagNames().find(key);
            setExif(exif, "Exif.Photo." + (renamed != exifTagNames().end() ? renamed->second : key.toStdString()),
                it.value());
        }
        writeGps(exif, dictionary.value("{GPS}").toMap());
        // The top-level orientation is the one the image is written with; the stored pixel
        // dimensions are those of the new pixels.
        bool ok = false;
        const int orientation = dictionary.value("Orientation").toInt(&ok);
        if (ok && orientation >= 1 && orientation <= 8)
            exif["Exif.Image.Orientation"] = static_cast<uint16_t>(orientation);
        if (!exifGroup.isEmpty() && image->pixelWidth() > 0 && image->pixelHeight() > 0) {
            exif["Exif.Photo.PixelXDimension"] = static_cast<uint32_t>(image->pixelWidth());
            exif["Exif.Photo.PixelYDimension"] = static_cast<uint32_t>(image->pixelHeight());
        }
        image->setExifData(exif);

        if (dictionary.contains("{IPTC}")) {
            Exiv2::IptcData iptc = image->iptcData();
            writeIptc(iptc, dictionary.value("{IPTC}").toMap());
            image->setIptcData(iptc);
        }
        image->writeMetadata();
        return true;
    } catch (const Exiv2::AnyError& error) {
        std::fprintf(stderr, "metadata %s: %s\n", qPrintable(path), error.what());
        return false;
    }
}

} // namespace vantrel::UtilsMetadataWriter
