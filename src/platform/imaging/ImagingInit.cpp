#include "platform/imaging/ImagingInit.h"

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>

#include <dlfcn.h>
#include <malloc.h>
#include <unistd.h>

#include <exiv2/exiv2.hpp>
#include <vips/vips8>
// After vips8: it relies on the types that header declares.
#include <vips/vector.h>

namespace vantrel {

namespace {

std::mutex g_xmpMutex;

void xmpLock(void* /*data*/, bool lock)
{
    if (lock)
        g_xmpMutex.lock();
    else
        g_xmpMutex.unlock();
}

// Arenas for the heap: enough that libvips' workers rarely wait for each other's allocations
// (pixel buffers are allocated once per region and reused), few enough that freed memory is
// found again instead of piling up in one arena per thread.
constexpr int kMallocArenas = 2;
// Blocks from this size up are mapped and unmapped directly, for the whole process. Without a
// fixed value glibc raises the threshold up to 32 MB after the first large free, and decoded
// strips and encoder buffers of a few MB then stay in the heap after use. The value is low enough
// for the grid's thumbnails (about 330 KB each, freed out of order as the cache evicts them: from
// the heap they left it fragmented, 1.3 GB resident for a 130 MB cache) and costs a run no
// measurable time against 1 or 4 MB.
constexpr int kMmapThreshold = 256 << 10;

// libvips' own thread count, read once it has started.
std::atomic<int> g_defaultThreads { 0 };

} // namespace

std::string vectorLibraryVersion()
{
    // The library libvips loaded, asked at run time: the headers a build saw may be older or newer.
    using VersionFunction = const char* (*)();
    const auto version = reinterpret_cast<VersionFunction>(dlsym(RTLD_DEFAULT, "orc_version_string"));
    return version ? std::string(version()) : std::string();
}

bool vectorLibraryIsSafe(const std::string& version)
{
    int numbers[3] = {};
    size_t at = 0;
    for (int i = 0; i < 3; ++i) {
        size_t end = at;
        while (end < version.size() && std::isdigit(static_cast<unsigned char>(version[end])))
            ++end;
        if (end == at || end - at > 6 || (i < 2 && (end >= version.size() || version[end] != '.')))
            return false;
        numbers[i] = std::stoi(version.substr(at, end - at));
        at = end + 1;
    }
    const int kSafe[3] = { 0, 4, 34 };
    return !std::lexicographical_compare(numbers, numbers + 3, kSafe, kSafe + 3);
}

void boundLibraryThreads(char** argv)
{
    static const char kVariable[] = "OMP_NUM_THREADS";
    const char* current = std::getenv(kVariable);
    if (current && std::strcmp(current, "1") == 0)
        return;
    if (setenv(kVariable, "1", 1) == 0)
        execv("/proc/self/exe", argv);
    std::fprintf(stderr, "cannot start again with %s=1: %s\n", kVariable, std::strerror(errno));
}

void setImagingThreads(int threads)
{
    const int fallback = g_defaultThreads.load();
    vips_concurrency_set(threads > 0 ? threads : fallback > 0 ? fallback : 0);
}

void releaseFreedMemory()
{
    malloc_trim(0);
}

bool initImagingLibraries(const char* argv0)
{
    static bool ok = [argv0] {
        // Before libvips starts its threads, so that every later arena obeys the cap.
        mallopt(M_ARENA_MAX, kMallocArenas);
        mallopt(M_MMAP_THRESHOLD, kMmapThreshold);
        if (VIPS_INIT(argv0 ? argv0 : "vantrel") != 0)
            return false;
        // No operation cache: batch work touches each image once, and libvips 8.14 keys cached
        // loads by file name only, so a photo replaced on disk (a run that writes over its
        // source) would be read back stale.
        g_defaultThreads = vips_concurrency_get();
        vips_cache_set_max(0);
        vips_cache_set_max_mem(0);
        // Run-time generated vector code only with a liborc that is safe on several threads:
        // 0.4.33 frees a pipeline's code without the lock libvips compiles under, so pipelines
        // built and dropped on several threads at once corrupt the heap (concurrent thumbnails
        // crashed within a few hundred rounds). The plain C paths cost processor time in
        // reductions, not correctness.
        vips_vector_set_enabled(vectorLibraryIsSafe(vectorLibraryVersion()) ? TRUE : FALSE);
        Exiv2::XmpParser::initialize(xmpLock, nullptr);
#ifdef EXV_ENABLE_BMFF
        Exiv2::enableBMFF(true);
#endif
        Exiv2::LogMsg::setLevel(Exiv2::LogMsg::mute);
        return true;
    }();
    return ok;
}

} // namespace vantrel
