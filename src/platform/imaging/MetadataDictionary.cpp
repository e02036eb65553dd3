#include "platform/imaging/MetadataDictionary.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <map>
#include <string>

#include <QVariantList>

#include <exiv2/exiv2.hpp>

namespace vantrel::MetadataDictionary {

namespace {

// exiv2 tag names whose property-dictionary key differs.
const std::map<std::string, QString>& renamedExifKeys()
{
    static const std::map<std::string, QString> map {
        { "SubSecTime", "SubsecTime" },
        { "SubSecTimeOriginal", "SubsecTimeOriginal" },
        { "SubSecTimeDigitized", "SubsecTimeDigitized" },
        { "FocalLengthIn35mmFilm", "FocalLenIn35mmFilm" },
        { "ISOSpeed", "ISOSpeed" },
    };
    return map;
}

const std::map<std::string, QString>& iptcKeys()
{
    static const std::map<std::string, QString> map {
        { "ObjectName", "ObjectName" },
        { "Keywords", "Keywords" },
        { "Caption", "Caption/Abstract" },
        { "Byline", "By-line" },
        { "BylineTitle", "By-lineTitle" },
        { "Copyright", "CopyrightNotice" },
        { "City", "City" },
        { "SubLocation", "Sub-location" },
        { "ProvinceState", "Province/State" },
        { "CountryName", "Country/PrimaryLocationName" },
        { "CountryCode", "Country/PrimaryLocationCode" },
        { "DateCreated", "DateCreated" },
        { "TimeCreated", "TimeCreated" },
        { "Headline", "Headline" },
        { "Credit", "Credit" },
        { "Source", "Source" },
        { "Writer", "Writer/Editor" },
        { "Category", "Category" },
        { "SuppCategory", "SupplementalCategory" },
        { "Urgency", "Urgency" },
        { "SpecialInstructions", "SpecialInstructions" },
        { "Program", "OriginatingProgram" },
        { "ProgramVersion", "ProgramVersion" },
        { "DigitizationDate", "DigitalCreationDate" },
        { "DigitizationTime", "DigitalCreationTime" },
        { "Contact", "Contact" },
        { "EditStatus", "EditStatus" },
        { "FixtureId", "FixtureIdentifier" },
        { "ReleaseDate", "ReleaseDate" },
        { "ReleaseTime", "ReleaseTime" },
        { "ExpirationDate", "ExpirationDate" },
        { "ExpirationTime", "ExpirationTime" },
        { "TransmissionReference", "OriginalTransmissionReference" },
        { "LocationName", "LocationName" },
    };
    return map;
}

// IPTC datasets that may repeat and are lists in the dictionary.
bool isIptcList(const std::string& tag)
{
    return tag == "Keywords" || tag == "Byline" || tag == "SuppCategory" || tag == "Contact";
}

QVariant scalarAt(const Exiv2::Value& value, long i)
{
    switch (value.typeId()) {
    case Exiv2::unsignedRational:
    case Exiv2::signedRational: {
        const Exiv2::Rational r = value.toRational(i);
        if (r.second == 0)
            return {};
        return double(r.first) / double(r.second);
    }
    case Exiv2::tiffFloat:
    case Exiv2::tiffDouble:
        return double(value.toFloat(i));
    default:
        return qlonglong(value.toLong(i));
    }
}

// A value as the dictionary holds it: text for ASCII, a number for a single number, a list for
// several, nothing for binary blobs.
QVariant toVariant(const Exiv2::Exifdatum& datum)
{
    const Exiv2::Value& value = datum.value();
    switch (value.typeId()) {
    case Exiv2::asciiString:
    case Exiv2::string:
    case Exiv2::xmpText:
        return QString::fromStdString(value.toString()).trimmed();
    case Exiv2::comment:
        return QString::fromStdString(static_cast<const Exiv2::CommentValue&>(value).comment()).trimmed();
    case Exiv2::undefined: {
        // Version fields ("0231") become lists of digits; other binary blocks are left out.
        const std::string tag = datum.tagName();
        if (tag == "ExifVersion" || tag == "FlashpixVersion") {
            QVariantList digits;
            for (long i = 0; i < value.count(); ++i) {
                const long c = value.toLong(i);
                if (c >= '0' && c <= '9' && !(digits.isEmpty() && c == '0'))
                    digits.append(int(c - '0'));
            }
            return digits;
        }
        if (tag == "SceneType" || tag == "FileSource")
            return value.count() > 0 ? QVariant(qlonglong(value.toLong(0))) : QVariant();
        return {};
    }
    case Exiv2::unsignedByte:
    case Exiv2::signedByte:
    case Exiv2::unsignedShort:
    case Exiv2::signedShort:
    case Exiv2::unsignedLong:
    case Exiv2::signedLong:
    case Exiv2::unsignedRational:
    case Exiv2::signedRational:
    case Exiv2::tiffFloat:
    case Exiv2::tiffDouble: {
        if (value.count() == 1)
            return scalarAt(value, 0);
        if (value.count() > 64)
            return {};
        QVariantList list;
        for (long i = 0; i < value.count(); ++i)
            list.append(scalarAt(value, i));
        return list;
    }
    default:
        return {};
    }
}

void put(QVariantMap& map, const QString& key, const QVariant& value)
{
    if (value.isValid() && !(value.typeId() == QMetaType::QString && value.toString().isEmpty()))
        map.insert(key, value);
}

void fillGps(const Exiv2::ExifData& exif, QVariantMap& gps)
{
    for (const Exiv2::Exifdatum& datum : exif) {
        if (datum.groupName() != "GPSInfo")
            continue;
        std::string tag = datum.tagName();
        if (tag.rfind("0x", 0) == 0)
            continue;
        if (tag == "GPSLatitude" || tag == "GPSLongitude" || tag == "GPSDestLatitude" || tag == "GPSDestLongitude") {
            const double degrees = degreesFromRationals(exif, datum.key().c_str());
            if (!std::isnan(degrees))
                gps.insert(QString::fromStdString(tag.substr(3)), degrees);
            continue;
        }
        if (tag == "GPSTimeStamp") {
            if (datum.count() == 3) {
                const double h = datum.toFloat(0), m = datum.toFloat(1), s = datum.toFloat(2);
                char text[32];
                std::snprintf(text, sizeof text, "%02d:%02d:%05.2f", int(h), int(m), s);
                gps.insert("TimeStamp", QString::fromLatin1(text));
            }
            continue;
        }
        const QString key = tag == "GPSVersionID" ? QString("GPSVersion") : QString::fromStdString(tag.substr(3));
        put(gps, key, toVariant(datum));
    }
}

} // namespace

double degreesFromRationals(const Exiv2::ExifData& exif, const char* key)
{
    const auto it = exif.findKey(Exiv2::ExifKey(key));
    if (it == exif.end() || it->count() < 1)
        return std::numeric_limits<double>::quiet_NaN();
    double total = 0;
    double scale = 1;
    for (long i = 0; i < std::min<long>(3, it->count()); ++i) {
        const Exiv2::Rational r = it->toRational(i);
        if (r.second == 0)
            return std::numeric_limits<double>::quiet_NaN();
        total += double(r.first) / double(r.second) / scale;
        scale *= 60;
    }
    return total;
}

void fillGroups(
    const Exiv2::ExifData& exif, const Exiv2::IptcData& iptc, const Exiv2::XmpData& xmp, QVariantMap& dictionary)
{
    QVariantMap tiff, exifGroup, aux, gps, iptcGroup;
    try {
        for (const Exiv2::Exifdatum& datum : exif) {
            const std::string group = datum.groupName();
            const std::string tag = datum.tagName();
            if (tag.rfind("0x", 0) == 0)
                continue;
            if (group == "Image") {
                if (tag == "Rating")
                    put(exifGroup, "Rating", toVariant(datum));
                else if (tag != "ExifTag" && tag != "GPSTag" && tag != "XMLPacket" && tag != "IPTCNAA"
                    && tag != "ImageResources" && tag != "InterColorProfile" && tag != "PrintImageMatching")
                    put(tiff, QString::fromStdString(tag), toVariant(datum));
            } else if (group == "Photo") {
                if (tag == "MakerNote" || tag == "InteroperabilityTag")
                    continue;
                const auto renamed = renamedExifKeys().find(tag);
                const QString key = renamed != renamedExifKeys().end() ? renamed->second : QString::fromStdString(tag);
                const QVariant value = toVariant(datum);
                put(exifGroup, key, value);
                if (tag == "LensModel")
                    put(aux, "LensModel", value);
                else if (tag == "BodySerialNumber")
                    put(aux, "SerialNumber", value);
                else if (datum.tag() == 0xa432) // the lens's focal and aperture ranges
                    put(aux, "LensInfo", value);
                else if (tag == "LensSerialNumber")
                    put(aux, "LensSerialNumber", value);
            }
        }
        // ISO speed ratings are a list even when the camera wrote one value.
        if (exifGroup.contains("ISOSpeedRatings")
            && exifGroup.value("ISOSpeedRatings").typeId() != QMetaType::QVariantList)
            exifGroup.insert("ISOSpeedRatings", QVariantList { exifGroup.value("ISOSpeedRatings") });
        fillGps(exif, gps);

        if (!exifGroup.contains("Rating")) {
            const auto rating = xmp.findKey(Exiv2::XmpKey("Xmp.xmp.Rating"));
            if (rating != xmp.end()) {
                bool ok = false;
                const int value = QString::fromStdString(rating->toString()).trimmed().toInt(&ok);
                if (ok)
                    exifGroup.insert("Rating", value);
            }
        }

        for (const Exiv2::Iptcdatum& datum : iptc) {
            if (datum.record() != Exiv2::IptcDataSets::application2)
                continue;
            const auto mapped = iptcKeys().find(datum.tagName());
            if (mapped == iptcKeys().end())
                continue;
            const QString text = QString::fromStdString(datum.toString()).trimmed();
            if (isIptcList(datum.tagName())) {
                QVariantList list = iptcGroup.value(mapped->second).toList();
                list.append(text);
                iptcGroup.insert(mapped->second, list);
            } else {
                put(iptcGroup, mapped->second, text);
            }
        }
        // Editors that write XMP only keep keywords in dc:subject and the caption in
        // dc:description: the same facts under the IPTC names when the IIM block lacks them.
        if (!iptcGroup.contains("Keywords")) {
            const auto subject = xmp.findKey(Exiv2::XmpKey("Xmp.dc.subject"));
            if (subject != xmp.end() && subject->count() > 0) {
                QVariantList keywords;
                for (long i = 0; i < subject->count(); ++i)
                    keywords.append(QString::fromStdString(subject->value().toString(i)).trimmed());
                iptcGroup.insert("Keywords", keywords);
            }
        }
        if (!iptcGroup.contains("Caption/Abstract")) {
            const auto description = xmp.findKey(Exiv2::XmpKey("Xmp.dc.description"));
            if (description != xmp.end() && description->count() > 0) {
                const auto& langAlt = static_cast<const Exiv2::LangAltValue&>(description->value());
                const auto it = langAlt.value_.find("x-default");
                const std::string text = it != langAlt.value_.end()
                    ? it->second
                    : (langAlt.value_.empty() ? std::string() : langAlt.value_.begin()->second);
                put(iptcGroup, "Caption/Abstract", QString::fromStdString(text).trimmed());
            }
        }
    } catch (const Exiv2::AnyError& e) {
        std::fprintf(stderr, "metadata: %s\n", e.what());
    }
    const std::pair<const char*, QVariantMap*> groups[] = { { "{TIFF}", &tiff }, { "{Exif}", &exifGroup },
        { "{ExifAux}", &aux }, { "{GPS}", &gps }, { "{IPTC}", &iptcGroup } };
    for (const auto& [name, map] : groups)
        if (!map->isEmpty())
            dictionary.insert(QString::fromLatin1(name), *map);
}

bool decodeExif(const void* data, size_t size, Exiv2::ExifData& exif)
{
    auto bytes = static_cast<const Exiv2::byte*>(data);
    if (size >= 6 && std::memcmp(bytes, "Exif\0\0", 6) == 0) {
        bytes += 6;
        size -= 6;
    }
    if (size < 8 || size > 64 * 1024 * 1024)
        return false;
    try {
        Exiv2::ExifParser::decode(exif, bytes, uint32_t(size));
        return true;
    } catch (const Exiv2::AnyError& e) {
        std::fprintf(stderr, "exif: %s\n", e.what());
        exif.clear();
        return false;
    }
}

bool decodeIptc(const void* data, size_t size, Exiv2::IptcData& iptc)
{
    auto bytes = static_cast<const Exiv2::byte*>(data);
    static const char kPhotoshop[] = "Photoshop 3.0";
    if (size >= sizeof kPhotoshop && std::memcmp(bytes, kPhotoshop, sizeof kPhotoshop) == 0) {
        bytes += sizeof kPhotoshop;
        size -= sizeof kPhotoshop;
    }
    if (size < 5 || size > 64 * 1024 * 1024)
        return false;
    try {
        if (bytes[0] == 0x1c)
            return Exiv2::IptcParser::decode(iptc, bytes, uint32_t(size)) == 0;
        const Exiv2::byte* record = nullptr;
        uint32_t sizeHeader = 0;
        uint32_t sizeData = 0;
        if (Exiv2::Photoshop::locateIptcIrb(bytes, long(size), &record, &sizeHeader, &sizeData) != 0)
            return false;
        return Exiv2::IptcParser::decode(iptc, record + sizeHeader, sizeData) == 0;
    } catch (const Exiv2::AnyError& e) {
        std::fprintf(stderr, "iptc: %s\n", e.what());
        iptc.clear();
        return false;
    }
}

bool decodeXmp(const void* data, size_t size, Exiv2::XmpData& xmp)
{
    if (size == 0 || size > 64 * 1024 * 1024)
        return false;
    try {
        return Exiv2::XmpParser::decode(xmp, std::string(static_cast<const char*>(data), size)) == 0;
    } catch (const Exiv2::AnyError& e) {
        std::fprintf(stderr, "xmp: %s\n", e.what());
        xmp.clear();
        return false;
    }
}

} // namespace vantrel::MetadataDictionary
