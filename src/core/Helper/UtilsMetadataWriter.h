#pragma once

#include <QString>
#include <QVariantMap>

namespace vantrel::UtilsMetadataWriter {

/// Writes the "{TIFF}", "{Exif}", "{ExifAux}", "{GPS}" and "{IPTC}" groups of a property
/// dictionary into the EXIF and IPTC of an image file that exists (JPEG, PNG, TIFF, JPEG 2000),
/// over what the file holds. Keys without an EXIF or IPTC counterpart and binary values are left
/// out; the top-level "Orientation" becomes the orientation tag and the stored pixel dimensions
/// are those of the file. False when the file cannot take metadata.
bool writeProperties(const QString& path, const QVariantMap& dictionary);

/// Makes every later writeProperties() fail without touching the file while `fail` is true (CI
/// runs as root, so tests cannot make the metadata write fail with permissions).
void setWriteFailureForTesting(bool fail);

} // namespace vantrel::UtilsMetadataWriter
