#include <gtest/gtest.h>

#include <cstdlib>

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
    const size_t before = mappedBytes();
    void* strip = std::malloc(size_t(6) << 20);
    ASSERT_NE(strip, nullptr);
    EXPECT_GE(mappedBytes(), before + (size_t(6) << 20));
    std::free(strip);
    EXPECT_EQ(mappedBytes(), before);
    releaseFreedMemory();
}

} // namespace
} // namespace vantrel
