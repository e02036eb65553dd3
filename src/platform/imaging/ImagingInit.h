#pragma once

namespace vantrel {

/// Starts libvips and exiv2 once, before any worker thread: libvips needs VIPS_INIT, exiv2's XMP
/// parser is thread-safe only when initialised with a lock function, and its BMFF (HEIF/AVIF)
/// support must be switched on explicitly. Returns false when libvips cannot start.
bool initImagingLibraries(const char* argv0);

} // namespace vantrel
