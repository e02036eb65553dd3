#pragma once

#include <QSize>
#include <QString>
#include <QVariantMap>

namespace vantrel {

/// What a header read tells of image 0 of a file, without decoding pixels.
///
/// `dictionary` carries the properties under the original key names so that the records built
/// from it read like the other platform's: top level "PixelWidth", "PixelHeight", "Orientation"
/// (int, only when the file states one), "ColorModel" ("RGB", "Gray", "CMYK", "Lab"), "Depth",
/// "HasAlpha", "ProfileName", "DPIWidth", "DPIHeight", and the sub-dictionaries "{Exif}",
/// "{TIFF}", "{GPS}", "{IPTC}", "{ExifAux}", "{JFIF}" (each a QVariantMap) where the file has them.
/// Sizes are the stored (not yet rotated) pixel sizes; uprightSize() swaps them for 5 to 8.
/// HEIF/AVIF photos report orientation 1 (libheif hands them out upright). "Rating" sits in
/// "{Exif}" (Exif.Image.Rating, else xmp:Rating); "{ExifAux}" holds "LensModel".
struct ImageProperties {
    bool valid = false;       ///< false: missing, unreadable or not an image
    QString error;            ///< why, when not valid
    int pixelWidth = 0;       ///< stored layout
    int pixelHeight = 0;
    int orientation = 1;      ///< EXIF orientation 1..8 (1 when absent or meaningless)
    bool hasOrientationTag = false;
    QString colorModel;       ///< "RGB", "Gray", "CMYK", "Lab"
    int bitsPerSample = 8;
    bool hasAlpha = false;
    QString loader;           ///< libvips loader nickname ("jpegload", "pngload", ...), or "raw", "eps", "pict"
    QVariantMap dictionary;   ///< the property dictionary (see above); empty when not valid

    QSize storedSize() const { return {pixelWidth, pixelHeight}; }
    QSize uprightSize() const
    {
        return orientation >= 5 && orientation <= 8 ? QSize(pixelHeight, pixelWidth) : storedSize();
    }
};

/// How much of the header to read.
enum class PropertyDepth {
    SizeAndOrientation, ///< the size and orientation as libvips reads them
    /// The add scan's probe: the size and orientation only. A JPEG is read from its marker
    /// segments without libjpeg (anything else, or a JPEG those do not describe, as
    /// SizeAndOrientation); the dictionary then holds only the size keys.
    Probe,
    Full,               ///< every dictionary, including EXIF, GPS, IPTC, XMP-derived keys and the ICC name
};

/// Reads the header of image 0. Thread-safe; never throws; never decodes pixels; a header that
/// claims an absurd size is still only read (the size is reported, nothing is allocated).
/// RAW files go through LibRaw (sizes and flip only); EPS and PICT sizes come from their headers.
ImageProperties readImageProperties(const QString& path, PropertyDepth depth = PropertyDepth::Full);

} // namespace vantrel
