#pragma once

#include <memory>

#include <QByteArray>
#include <QString>

#include "platform/imaging/VipsInclude.h"

namespace vantrel {

/// The bytes a decode reads, and the loader that reads them, chosen by the file's first bytes.
///
/// libvips' JPEG, PNG, TIFF, HEIF and JPEG 2000 loaders read a file through its descriptor: when
/// the file shrinks while they read, their read ends early and the decode fails. Every other
/// loader maps the file into memory (GIF, WebP and binary Netpbm through libvips' source mapping;
/// BMP and whatever else only ImageMagick reads, through ImageMagick's own), and touching a
/// mapped page that a truncation cut off kills the whole process (SIGBUS). Those files are read
/// whole into memory the process owns first, and decoded from that copy; libvips' generic loader
/// choice, which may hand any file to ImageMagick, is never asked for a file.
///
/// The copy costs the file's size for as long as the decode lasts; DecodeFootprint counts it.
class DecodeSource {
public:
    /// Reads the first bytes of `path` and, when its loader would map the file, the whole file.
    /// Throws vips::VError when the file cannot be opened or read.
    static DecodeSource open(const QString& path);

    /// True when a decode by the loader named `loader` (the loader family an ImageProperties
    /// reports: "jpegload", "gifload", "magickload", ...) reads a copy of the file in memory.
    static bool readsCopy(const QString& loader);

    /// True when the file was read into memory.
    bool isCopy() const { return m_copy != nullptr; }
    /// True when the loader reads any strip or tile on request (TIFF, JPEG 2000): opened for
    /// random access, it serves requests in any order without decoding the whole picture first.
    bool readsAnyOrder() const;

    /// Image 0, opened by the chosen loader with `options` ("access", "fail_on", "shrink", ...);
    /// throws vips::VError. The image keeps the copy alive until it closes.
    vips::VImage load(vips::VOption* options) const;
    /// vips_thumbnail of the file or of its copy, `width` wide, with `options`; throws.
    vips::VImage thumbnail(int width, vips::VOption* options) const;

private:
    QByteArray m_path; ///< the file name in the file system's encoding
    const char* m_loader = nullptr; ///< the loader that reads the file itself, when there is one
    std::shared_ptr<VipsBlob> m_copy; ///< the file read into memory, when it is
};

} // namespace vantrel
