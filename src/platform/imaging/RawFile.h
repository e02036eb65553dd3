#pragma once

#include <QByteArray>
#include <QVariantMap>

#include "platform/imaging/VipsInclude.h"

namespace vantrel::RawFile {

/// What LibRaw tells of a camera RAW file without unpacking it.
struct Header {
    bool ok = false;
    int width = 0; ///< stored (not yet turned) size
    int height = 0;
    int orientation = 1; ///< EXIF orientation from LibRaw's flip
    QVariantMap tiff; ///< "{TIFF}": Make, Model, Orientation
    QVariantMap exif; ///< "{Exif}": ISO, exposure, aperture, focal length, capture date
    QVariantMap aux; ///< "{ExifAux}": LensModel
};

/// Opens the file (sizes and flip only). One LibRaw object per call; never throws.
Header readHeader(const QString& path);

/// The embedded preview as an encoded JPEG (empty when the file has none, or it is a bitmap);
/// `orientation` receives the orientation of the RAW file.
QByteArray embeddedJpegPreview(const QString& path, int* orientation);

/// Fully develops the RAW file (16-bit sRGB, turned upright by LibRaw). Throws nothing; an
/// uninitialised VImage (no pixels) on failure.
/// `halfSize` develops at half the width and height (a quarter of the work), for thumbnails.
vips::VImage develop(const QString& path, bool halfSize = false);

} // namespace vantrel::RawFile
