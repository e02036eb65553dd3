#include "platform/imaging/SourceReads.h"

#include <cerrno>

#include <unistd.h>

namespace vantrel {

SourceDescriptor::~SourceDescriptor()
{
    if (fd >= 0)
        ::close(fd);
}

ssize_t readFromStart(int fd, void* data, size_t length)
{
    auto* bytes = static_cast<char*>(data);
    size_t done = 0;
    while (done < length) {
        const ssize_t got = ::pread(fd, bytes + done, length - done, off_t(done));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return -1;
        if (got == 0)
            break;
        done += size_t(got);
    }
    return ssize_t(done);
}

} // namespace vantrel
