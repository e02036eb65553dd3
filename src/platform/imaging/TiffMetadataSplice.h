#pragma once

#include <QByteArray>

namespace vantrel::TiffMetadataSplice {

/// What splice() did.
enum class Outcome { Spliced, Unsupported, Failed };

/// Adds metadata to the TIFF at `path` (written by libvips, any size) without reading its pixels:
/// the tags that writing the metadata changed in a one-pixel TIFF of the same kind (`plain`, as
/// the encoder wrote it; `tagged`, the same after exiv2 wrote the metadata into it) are copied,
/// with their EXIF, GPS and interoperability directories, to the end of the file, behind a new
/// first directory that keeps the file's own layout tags (strips, size) and points at its pixels
/// where they are. The header is switched to the new directory last. The result reads as exiv2's
/// whole-file rewrite would, while the memory held is that of the tags only.
///
/// Unsupported: the files are not plain classic TIFFs in one byte order, `tagged` has a second
/// directory, or the file would pass 4 GiB; nothing was written and the caller writes the
/// metadata another way. Failed: a read or write of the file failed (`errorNumber` set); the
/// file must be discarded.
Outcome splice(const QByteArray& path, const QByteArray& plain, const QByteArray& tagged, int* errorNumber);

} // namespace vantrel::TiffMetadataSplice
