#pragma once

#include <QString>

#include <exiv2/exiv2.hpp>

#include "platform/imaging/DecodeBudget.h"

namespace vantrel {

/// A photo's EXIF, IPTC and XMP as exiv2 reads them from its file, read so that a file cut short
/// meanwhile fails this read and nothing else, wherever its size allows.
///
/// exiv2 reads most formats (JPEG, PNG, JPEG 2000, WebP, HEIF) through the file's descriptor,
/// but parses a TIFF-structured file (TIFF, DNG and the camera RAW formats built on TIFF: NEF,
/// ARW, PEF, CR2, ORF, RW2; and CRW) from a mapping of the whole file, because its directories
/// and values may sit at any offset. Touching a mapped page that a truncation cut off kills the
/// whole process (SIGBUS). Such a file, up to kCopyLimit, is therefore read whole into memory
/// the process owns and parsed from that copy: a cut then ends the read early or leaves the copy
/// as it was, and the parse fails or reads the bytes the copy holds. The copy lives only for the
/// parse; a write in a batch run is admitted with it counted (copyBytes).
///
/// A larger TIFF-structured file (a 16-bit scan, an uncompressed high-resolution RAW) is still
/// opened by its name and mapped for the moment of its parse. exiv2's parser needs the whole file
/// as one buffer, and reading hundreds of megabytes into memory for each writer at once would
/// overrun the memory the batch run is bounded by (DecodeBudget); the mapping costs only the
/// pages the parse touches. A truncation during that short parse can still end the process.
struct SourceMetadata {
    /// The largest file whose metadata is parsed from a copy in memory: half of the process's
    /// decode budget, so that the copy fits beside the rest of a photo's work in it.
    static constexpr qint64 kCopyLimit = DecodeBudget::kProcessBytes / 2;

    Exiv2::ExifData exif;
    Exiv2::IptcData iptc;
    Exiv2::XmpData xmp;

    /// Reads the metadata of the file at `path`. Throws Exiv2::AnyError when the file cannot be
    /// read or exiv2 does not know or cannot parse it.
    static SourceMetadata read(const QString& path);

    /// The bytes read() holds in memory for the file at `path` while it parses: the file's size
    /// when it is parsed from a copy, else 0.
    static qint64 copyBytes(const QString& path);
};

} // namespace vantrel
