#pragma once

#include <string>

namespace vantrel {

/// Starts libvips and exiv2 once, before any worker thread: libvips needs VIPS_INIT, exiv2's XMP
/// parser is thread-safe only when initialised with a lock function, and its BMFF (HEIF/AVIF)
/// support must be switched on explicitly. Returns false when libvips cannot start.
///
/// Also bounds the process's heap: libvips' worker threads each allocate from their own malloc
/// arena, and freed pixel buffers stayed resident in them, so the peak grew with the length of a
/// batch. The arena count is capped and large buffers (from 256 KB: a run's strips and encoder
/// buffers, the batch views' thumbnails) always come from (and return to) the system directly.
/// This is the process's one allocator setting; nothing else changes it.
bool initImagingLibraries(const char* argv0);

/// The GIF encoder quantises through libimagequant, whose loops run on OpenMP threads: as many
/// per calling thread as the machine has cores, made on first use and kept, each with a full-size
/// stack. libgomp ends the process when it cannot make one, which memory running short causes in
/// the middle of an encode. A photo's encode already runs on one of the run's writers beside the
/// others, so its loops run on the thread that calls them and no OpenMP thread is ever made
/// (OMP_NUM_THREADS=1). libgomp reads that setting once, as it is loaded, before main: a process
/// started without it sets it and executes itself again, with the same arguments. Call it first
/// in main, before anything that a new program image would not undo (temporary folders, files
/// opened). Returns when the setting is in place, or when starting again failed (a line on
/// standard error; the process then goes on as it is).
void boundLibraryThreads(char** argv);

/// The version of the vector-code library (liborc) loaded in this process; empty without one.
std::string vectorLibraryVersion();
/// True for a liborc version that libvips may use on several threads at once (0.4.34 or later);
/// false for older ones and for text that is no version.
bool vectorLibraryIsSafe(const std::string& version);
/// The worker threads libvips gives each pipeline started from now on (the process's setting:
/// thumbnails and every photo of a run alike); 0 or less restores libvips' own default.
void setImagingThreads(int threads);
/// Hands memory that was freed back to the system (after each photo of a batch), so that the
/// resident size stays that of one photo's work.
void releaseFreedMemory();

} // namespace vantrel
