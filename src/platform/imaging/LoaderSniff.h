#pragma once

#include <QByteArray>

namespace vantrel {

/// The libvips loader that reads a file beginning with `head` (its first bytes; 16 are enough):
/// "jpegload", "pngload", "tiffload", "gifload", "webpload", "heifload", "jp2kload" or "ppmload".
/// Null when the bytes match none of them; the caller then lets libvips choose among the loaders
/// of data in memory (see DecodeSource).
const char* loaderForHeader(const QByteArray& head);

} // namespace vantrel
