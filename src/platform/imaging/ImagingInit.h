#pragma once

namespace vantrel {

/// Starts libvips and exiv2 once, before any worker thread: libvips needs VIPS_INIT, exiv2's XMP
/// parser is thread-safe only when initialised with a lock function, and its BMFF (HEIF/AVIF)
/// support must be switched on explicitly. Returns false when libvips cannot start.
///
/// Also bounds the process's heap: libvips' worker threads each allocate from their own malloc
/// arena, and freed pixel buffers stayed resident in them, so the peak grew with the length of a
/// batch. The arena count is capped and large buffers always come from (and return to) the
/// system directly.
bool initImagingLibraries(const char* argv0);

/// Hands memory that was freed back to the system (after each photo of a batch), so that the
/// resident size stays that of one photo's work.
void releaseFreedMemory();

} // namespace vantrel
