#pragma once

#include <QByteArray>

namespace vantrel {

/// What the marker segments of a JPEG file say up to its first scan, read without libjpeg: the
/// frame size and the EXIF orientation. Segments are skipped by their lengths, so large
/// metadata blocks (ICC, XMP, Photoshop data) cost nothing.
struct JpegHeader {
    bool ok = false; ///< a frame header with a size above zero and a scan header after it
    int width = 0;
    int height = 0;
    int components = 0; ///< 1 grey, 3 colour, 4 CMYK
    int precision = 8;
    bool hasOrientationTag = false;
    int orientation = 1; ///< 1..8 as stored (1 when absent or out of range)
    bool progressive = false; ///< a progressive frame (SOF2, SOF6, SOF10, SOF14)
    /// What libjpeg holds for a progressive frame while decoding it: every DCT coefficient of
    /// the whole picture (blocks of 64 two-byte values per component, padded to whole MCUs),
    /// whatever output scale is asked for. 0 for a sequential frame, which is decoded a row of
    /// blocks at a time.
    qint64 wholeFrameBytes = 0;

    /// Reads the file at `nativePath` (as QFile::encodeName gives it).
    static JpegHeader read(const QByteArray& nativePath);
    /// Parses the bytes of an APP1 "Exif" payload (after the "Exif\0\0" signature) for the
    /// orientation of its first image directory; false when it has none.
    static bool exifOrientation(const QByteArray& tiff, int* orientation);
};

} // namespace vantrel
