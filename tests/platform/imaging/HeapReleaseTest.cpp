#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <thread>

#include <malloc.h>

#include "platform/imaging/ImagingInit.h"

namespace vantrel {
namespace {

// Bytes of blocks that are mapped directly (and so unmapped as soon as they are freed).
size_t mappedBytes()
{
    return mallinfo2().hblkhd;
}

TEST(HeapRelease, BufferOfAFewMegabytesGoesBackToTheSystemWhenFreed)
{
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the address sanitizer brings its own allocator";
#endif
    ASSERT_TRUE(initImagingLibraries(nullptr));
    // A large free would make glibc raise its mapping threshold above the next buffers, which
    // then stay in the heap after use; the threshold must stay fixed.
    void* big = std::malloc(size_t(12) << 20);
    ASSERT_NE(big, nullptr);
    static_cast<volatile char*>(big)[0] = 1;
    std::free(big);
    // The count is the whole process's: a thread left from an earlier test may map or unmap a
    // block of its own meanwhile, so the measure is taken again (a few times at most) when the
    // counts moved by anything but this test's buffer, after a pause that lets such a thread
    // finish what it was doing.
    size_t before = 0;
    size_t held = 0;
    size_t after = 0;
    for (int attempt = 0; attempt < 50; ++attempt) {
        if (attempt > 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        before = mappedBytes();
        void* strip = std::malloc(size_t(6) << 20);
        ASSERT_NE(strip, nullptr);
        held = mappedBytes();
        std::free(strip);
        after = mappedBytes();
        if (held >= before + (size_t(6) << 20) && after == before)
            break;
    }
    EXPECT_GE(held, before + (size_t(6) << 20));
    EXPECT_EQ(after, before);
    releaseFreedMemory();
}

} // namespace
} // namespace vantrel
