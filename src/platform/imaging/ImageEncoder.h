#pragma once

#include <functional>

#include <QString>
#include <QVariantMap>

#include "platform/imaging/Image.h"

namespace vantrel {

/// The output formats of a run.
enum class ImageFileFormat { Tiff, Png, Jpeg, Jpeg2000, Bmp, Gif };

/// The format for a lower-case extension ("tif", "tiff", "png", "jpg", "jpeg", "jp2", "bmp",
/// "gif"); false when the extension is none of those.
bool imageFileFormatForExtension(const QString& extension, ImageFileFormat* format);

/// What to write besides the pixels.
struct EncodeOptions {
    float quality = 0.75f; ///< 0..1, for JPEG and JPEG 2000
    int orientationTag = 1; ///< written into the EXIF of formats that hold it (JPEG, PNG, TIFF)
    QString metadataSource; ///< a file whose EXIF (with GPS), IPTC and XMP are carried over; empty: none
};

struct EncodeResult {
    bool ok = false;
    int errorNumber = 0; ///< errno of the failing file operation, 0 for an encoder failure
    QString error; ///< one line for the log
};

/// Encodes `image` into `path`: libvips writes the pixels strip by strip into a temporary file
/// in the destination folder (as encodeImageInto() does), which is renamed over `path` only when
/// complete, so a failure leaves no partial file and an older file at `path` intact. Reduces
/// 16-bit images to 8 bits for JPEG, GIF and BMP, flattens alpha onto white for JPEG and BMP, and
/// updates PixelXDimension/PixelYDimension and drops the embedded EXIF thumbnail of the carried
/// metadata. Thread-safe; never throws. Temporary files are named AtomicFileWriter::kTempPrefix +
/// "XXXXXX" + kTempSuffix (".vantrel-XXXXXX.tmp"); AtomicFileWriter::removeLeftovers() clears
/// those of a crashed run.
EncodeResult encodeImage(const Image& image, const QString& path, ImageFileFormat format, const EncodeOptions& options);

/// What the GIF encoder holds in memory at its peak for a frame of `pixels` pixels, measured
/// (bench/README.md): libvips gathers the frame whole as RGBA beside a copy of it and the palette
/// indices, and libimagequant adds its maps of the frame: 12.5 bytes a pixel in all. A frame of
/// at most 2^22 pixels is also copied by libimagequant in floating point, which takes the peak to
/// 24 bytes a pixel. Up to 16 MB more go to the histogram and to the strips that libvips' threads
/// hand to the encoder, whatever the size.
qint64 gifEncoderBytes(qint64 pixels);

class GuardedLoad;

/// Encodes `image` straight into `temporaryPath`, an existing temporary file that the caller
/// created, holds and removes on failure. No encoded copy of the file is kept in memory: libvips
/// pulls the pixels strip by strip into the file (BMP, written bottom-up, and GIF, quantised as a
/// whole, hold their frame), then the metadata is added to the file: PNG chunks are spliced in
/// while the file is copied once, TIFF tags are appended behind the pixels, JPEG and JPEG 2000
/// are rewritten by exiv2. `source`, when given, is the load the pixels come from: a decode that
/// failed fails the encode, whatever the encoder returned.
EncodeResult encodeImageInto(const Image& image, const QString& temporaryPath, ImageFileFormat format,
    const EncodeOptions& options, const GuardedLoad* source = nullptr);

/// Makes every later encodeImage() fail once its temporary file is complete, before the rename,
/// with the errno the hook returns for the output path (0: go on). CI runs as root, so tests
/// cannot provoke write failures with permissions. An empty function removes the hook.
void setEncodeFailureHookForTesting(std::function<int(const QString& path)> hook);

/// Makes the one-pixel PNG that carries a PNG's metadata chunks fail as libvips fails (the text in
/// its error buffer, a vips::VError thrown) for the photos whose metadata source the predicate
/// names. Memory running short fails that save; tests cannot provoke it reliably. An empty function
/// removes the hook.
void setPngChunkFailureForTesting(std::function<bool(const QString& metadataSource)> fails);

} // namespace vantrel
