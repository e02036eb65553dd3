#include "platform/imaging/ImagingInit.h"

#include <mutex>

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

} // namespace

bool initImagingLibraries(const char* argv0)
{
    static bool ok = [argv0] {
        if (VIPS_INIT(argv0 ? argv0 : "vantrel") != 0)
            return false;
        // No operation cache: batch work touches each image once, and libvips 8.14 keys cached
        // loads by file name only, so a photo replaced on disk (a run that writes over its
        // source) would be read back stale.
        vips_cache_set_max(0);
        vips_cache_set_max_mem(0);
        // No run-time generated vector code: liborc 0.4.33 frees a pipeline's code without the
        // lock libvips compiles under, so pipelines built and dropped on several threads at once
        // corrupt the heap (concurrent thumbnails crashed within a few hundred rounds). The plain
        // C paths cost some processor time in reductions, not correctness.
        vips_vector_set_enabled(FALSE);
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
