#pragma once

#include <QSize>
#include <QString>

namespace vantrel::DocumentHeaderSize {

/// The size of an EPS file from its "%%BoundingBox" comment (points, one pixel each), also
/// behind a DOS-EPS binary header (C5 D0 D3 C6) and for "(atend)" bounding boxes. An empty size
/// when the file states none. Reads at most a few hundred kilobytes; never throws.
QSize epsSize(const QString& path);

/// The size of a PICT file from its frame rectangle (after the 512-byte preamble, or without
/// one when the file has none). An empty size when the header is unusable.
QSize pictSize(const QString& path);

} // namespace vantrel::DocumentHeaderSize
