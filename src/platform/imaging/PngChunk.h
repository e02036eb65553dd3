#pragma once

#include <QByteArray>

namespace vantrel::PngChunk {

/// Appends `v` as four bytes, most significant first (the byte order of every PNG integer).
void appendBigEndian(QByteArray& out, quint32 v);

/// Appends one chunk: the length of `data`, the four-character `type`, `data`, and the CRC-32
/// of type and data.
void append(QByteArray& out, const char* type, const QByteArray& data);

} // namespace vantrel::PngChunk
