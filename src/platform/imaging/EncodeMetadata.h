#pragma once

#include <QByteArray>

#include <exiv2/exiv2.hpp>

#include "platform/imaging/ImageEncoder.h"

namespace vantrel {

/// The metadata an encoder writes besides the pixels: the EXIF (with GPS), IPTC and XMP of the
/// metadata source, adjusted to the output.
struct EncodeMetadata {
    Exiv2::ExifData exif;
    Exiv2::IptcData iptc;
    Exiv2::XmpData xmp;

    bool any() const { return !exif.empty() || !iptc.empty() || !xmp.empty(); }

    /// The metadata of `options.metadataSource` for `image` written as `format`: the given
    /// orientation tag and the image's pixel dimensions, without the embedded thumbnail, the
    /// source's own layout tags (strips, samples, compression) or XMP copies that could contradict
    /// them, and for TIFF without maker notes. Without a source, the orientation tag alone where
    /// the format holds one and it is not 1. Empty (and one line on stderr) when the source's
    /// metadata cannot be read.
    static EncodeMetadata forImage(const Image& image, ImageFileFormat format, const EncodeOptions& options);

    /// Writes this metadata into `image` (a file or bytes exiv2 opened) in place of what it
    /// held: the EXIF only when `withExif`, and of IPTC and XMP only the parts this metadata has;
    /// the rest of the image's own stays. Throws Exiv2::AnyError.
    void writeTo(Exiv2::Image& image, bool withExif = true) const;

    /// `encoded`, a whole file of `format` held in memory, with this metadata written into it by
    /// exiv2; a PNG gets its EXIF as an eXIf chunk right after its header. GIF and BMP keep none.
    /// Throws Exiv2::AnyError.
    QByteArray writtenInto(const QByteArray& encoded, ImageFileFormat format) const;
};

} // namespace vantrel
