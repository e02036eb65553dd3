#pragma once

#include <map>
#include <string>
#include <vector>

#include <QString>

#include "platform/imaging/VipsInclude.h"

namespace vantrel::testimages {

/// The four quadrant colours of every test pattern. Quadrants (not single corner pixels) survive
/// scaling, JPEG compression and thumbnails, so a test can tell where a stored corner went.
enum class Corner { TopLeft, TopRight, BottomLeft, BottomRight };

/// 8-bit values of a quadrant: red, green, blue and yellow in colour; four grey levels in grey.
std::vector<double> cornerColour(Corner corner, bool grey = false);

struct PatternOptions {
    bool grey = false; ///< one band (B_W) instead of three (sRGB)
    bool sixteenBit = false; ///< ushort samples (values x 257), RGB16/GREY16
    bool alpha = false; ///< an extra opaque alpha band (255 or 65535)
    int quality = 92; ///< JPEG quality
};

/// A width x height image whose four quadrants have the colours of cornerColour().
vips::VImage makePattern(int width, int height, const PatternOptions& options = {});

/// Writes the pattern to `path` in the format its extension names (jpg/jpeg, png, tif/tiff, and
/// whatever else libvips saves by extension). Returns false on failure.
bool writePattern(const QString& path, int width, int height, const PatternOptions& options = {});

/// Writes EXIF/IPTC/XMP values with exiv2 into an existing file. Keys are exiv2 keys
/// ("Exif.Image.Make", "Exif.GPSInfo.GPSLatitude", "Iptc.Application2.Keywords",
/// "Xmp.xmp.Rating"); values are exiv2 text forms ("51/1 30/1 0/1" for rationals). A key given
/// several times through setMetadataList adds repeated IPTC entries.
bool setMetadata(const QString& path, const std::map<std::string, std::string>& values);
bool setMetadataList(const QString& path, const std::vector<std::pair<std::string, std::string>>& values);

/// Shorthand: Exif.Image.Orientation = orientation (a SHORT, as cameras write it).
bool setOrientation(const QString& path, int orientation);

/// A camera-like set of tags: Make, Model, DateTimeOriginal, ExposureTime, FNumber, ISO,
/// FocalLength, LensModel, GPS (51°30'N 0°7'30"W, 35 m), IPTC keywords "alpha" and "beta".
bool setCameraTags(const QString& path);

/// Hostile files.
bool writeEmptyFile(const QString& path);
/// The first `keepBytes` bytes of a valid JPEG of width x height.
bool writeTruncatedJpeg(const QString& path, int width, int height, int keepBytes);
/// A PNG whose header claims width x height (any size up to 2^31-1) with a tiny, useless data
/// chunk: reading the header is fine, decoding must be refused.
bool writeLyingPng(const QString& path, quint32 width, quint32 height);
/// A minimal camera RAW: an uncompressed linear DNG (16-bit RGB, the quadrant pattern) from
/// "Testmaker" "TM-1" with the given orientation tag and no embedded preview.
bool writeLinearDng(const QString& path, int width, int height, int orientation);
/// Arbitrary bytes (e.g. text saved with an image extension).
bool writeBytes(const QString& path, const QByteArray& bytes);
/// The whole contents of the file at `path`; empty when it cannot be read.
QByteArray readBytes(const QString& path);
/// The bytes of a blob libvips returned (a *save_buffer result), releasing the blob.
QByteArray takeBlob(VipsBlob* blob);

/// The pixel at (x, y) as 8-bit-scaled values (16-bit images are divided by 257).
std::vector<double> pixelAt(const vips::VImage& image, int x, int y);

/// True when `pixel` (first three bands, or the first band for grey) is within `tolerance` of
/// the quadrant colour.
bool looksLike(const std::vector<double>& pixel, Corner corner, bool grey = false, double tolerance = 48);

/// Which quadrant colour a pixel is nearest to.
Corner nearestCorner(const std::vector<double>& pixel, bool grey = false);

/// Samples the four corners (inset by a few pixels) and names the quadrant colour found at each,
/// in the order top-left, top-right, bottom-left, bottom-right.
std::vector<Corner> cornersOf(const vips::VImage& image, bool grey = false);

} // namespace vantrel::testimages
