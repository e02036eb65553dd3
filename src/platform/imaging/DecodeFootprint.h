#pragma once

#include <QSize>
#include <QString>

namespace vantrel {

struct ImageProperties;

/// What decoding a photo holds in memory at once, told by its header before any pixel is
/// decoded: the unit in which decodes take their share of the process's budget (DecodeBudget).
///
/// A JPEG shrinks on load (DCT scaling by 2, 4 or 8), so a reduced decode holds the reduced frame;
/// every other format (PNG, TIFF without the pyramid this loader never reads, BMP, GIF, JPEG 2000
/// at full resolution, camera RAW) is decoded at its full size. A progressive JPEG also holds
/// every DCT coefficient of the whole picture while it decodes (4.5 to 6 bytes a pixel, whatever
/// the scale). A pass from top to bottom holds a few rows, except where the loader decodes the
/// frame whole anyway (GIF, JPEG 2000, interlaced PNG).
struct DecodeFootprint {
    QSize stored; ///< the stored pixel size
    int bytesPerPixel = 3; ///< as decoded: bands times bytes per sample
    /// A buffer the decoder holds for the whole picture while it decodes: a progressive JPEG's
    /// coefficients, LibRaw's image of four 16-bit samples a pixel, the copy of a file read into
    /// memory to be decoded (DecodeSource); 0 otherwise.
    qint64 workingBytes = 0;
    bool shrinksOnLoad = false; ///< a JPEG
    bool decodesWhole = false; ///< the loader holds the whole frame even for one pass
    bool secondFrame = false; ///< an upright or sRGB copy is made of the decoded frame

    /// From the header `header` of the file at `path` (a JPEG's or PNG's first bytes are read
    /// again for what the header does not tell: progressive coding, interlacing). Empty (all
    /// zero) for a header that is not valid.
    static DecodeFootprint read(const QString& path, const ImageProperties& header);
    /// The DCT scaling a JPEG decode uses to land at or above `wanted` (stored layout): the
    /// largest of 1, 2, 4 and 8 that keeps both sides at least as large.
    static int jpegShrink(QSize stored, QSize wanted);

    /// The frame decoded at 1/shrink (only a JPEG shrinks).
    qint64 frameBytes(int shrink = 1) const;
    /// A decode into memory at 1/shrink, upright and in sRGB.
    qint64 intoMemory(int shrink = 1) const;
    /// A pass from top to bottom (a streamed conversion, a thumbnail).
    qint64 streamed() const;
};

} // namespace vantrel
