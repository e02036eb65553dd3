#pragma once

#include <cstddef>

#include <QString>
#include <QVariantMap>

namespace Exiv2 {
class ExifData;
class IptcData;
class XmpData;
} // namespace Exiv2

namespace vantrel::MetadataDictionary {

/// Turns exiv2's EXIF, IPTC and XMP into the property-dictionary groups under their original key
/// names: "{TIFF}" (IFD0), "{Exif}", "{ExifAux}", "{GPS}" (decimal degrees with their refs) and
/// "{IPTC}"; only groups that end up non-empty are inserted into `dictionary`. "Rating" goes into
/// "{Exif}" from Exif.Image.Rating, else from xmp:Rating. Never throws.
void fillGroups(
    const Exiv2::ExifData& exif, const Exiv2::IptcData& iptc, const Exiv2::XmpData& xmp, QVariantMap& dictionary);

/// Decoders for the metadata blocks libvips hands over; each returns false when the block is not
/// readable (and leaves the target as it was). The EXIF block may start with "Exif\0\0"; the IPTC
/// block may be a Photoshop resource block ("Photoshop 3.0", "8BIM") or plain IIM records.
bool decodeExif(const void* data, size_t size, Exiv2::ExifData& exif);
bool decodeIptc(const void* data, size_t size, Exiv2::IptcData& iptc);
bool decodeXmp(const void* data, size_t size, Exiv2::XmpData& xmp);

/// The decimal degrees of three EXIF rationals (degrees, minutes, seconds); NaN when unusable.
double degreesFromRationals(const Exiv2::ExifData& exif, const char* key);

} // namespace vantrel::MetadataDictionary
