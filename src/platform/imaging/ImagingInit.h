#pragma once

#include <string>

namespace vantrel {

/// Starts libvips and exiv2 once, before any worker thread: libvips needs VIPS_INIT, exiv2's XMP
/// parser is thread-safe only when initialised with a lock function, and its BMFF (HEIF/AVIF)
/// support must be switched on explicitly. Returns false when libvips cannot start.
bool initImagingLibraries(const char* argv0);

/// The version of the vector-code library (liborc) loaded in this process; empty without one.
std::string vectorLibraryVersion();
/// True for a liborc version that libvips may use on several threads at once (0.4.34 or later);
/// false for older ones and for text that is no version.
bool vectorLibraryIsSafe(const std::string& version);

} // namespace vantrel
