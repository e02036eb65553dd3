#pragma once

#include <cstddef>

#include <sys/types.h>

namespace vantrel {

/// Owns a file descriptor and closes it when it goes out of scope (-1 owns nothing).
struct SourceDescriptor {
    int fd = -1;
    SourceDescriptor() = default;
    explicit SourceDescriptor(int descriptor)
        : fd(descriptor)
    {
    }
    SourceDescriptor(const SourceDescriptor&) = delete;
    SourceDescriptor& operator=(const SourceDescriptor&) = delete;
    ~SourceDescriptor();
};

/// Reads up to `length` bytes from the start of `fd` into `data` with pread, so the photo's file
/// is never mapped: a file cut short meanwhile reads short instead of faulting. Returns the bytes
/// read (fewer when the file ended sooner), or -1 with errno set.
ssize_t readFromStart(int fd, void* data, size_t length);

} // namespace vantrel
