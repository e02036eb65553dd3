#include "platform/imaging/AtomicFileWriter.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "platform/imaging/SourceReads.h"

namespace vantrel::AtomicFileWriter {

namespace {

// The process umask, read without changing it (umask() itself is not thread-safe).
mode_t processUmask()
{
    static const mode_t mask = [] {
        QFile status("/proc/self/status");
        if (status.open(QIODevice::ReadOnly))
            for (const QByteArray& line : status.readAll().split('\n'))
                if (line.startsWith("Umask:"))
                    return mode_t(std::strtol(line.mid(6).trimmed().constData(), nullptr, 8));
        return mode_t(022);
    }();
    return mask;
}

} // namespace

int createTemporary(const QByteArray& folder, QByteArray* path)
{
    QByteArray pattern = folder + "/" + kTempPrefix + "XXXXXX" + kTempSuffix;
    const int fd = ::mkostemps(pattern.data(), int(std::strlen(kTempSuffix)), O_CLOEXEC);
    if (fd >= 0)
        *path = pattern;
    return fd;
}

int createTemporary(const QByteArray& folder, QByteArray* path, int* folderFd)
{
    *folderFd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    return createTemporary(folder, path);
}

void removeTemporary(int folderFd, const QByteArray& path)
{
    if (folderFd < 0) {
        ::unlink(path.constData());
        return;
    }
    const qsizetype slash = path.lastIndexOf('/');
    ::unlinkat(folderFd, path.mid(slash + 1).constData(), 0);
}

int writeThrough(const QString& path, const std::function<int(int fd, const QByteArray& temporary)>& fill)
{
    const QFileInfo target(path);
    QByteArray temp;
    int folderFd = -1;
    const int fd = createTemporary(QFile::encodeName(target.absolutePath()), &temp, &folderFd);
    const SourceDescriptor folder(folderFd);
    if (fd < 0)
        return errno;
    // The lock lives on a descriptor of its own, so that the writing one can be closed (and its
    // errors seen) before the rename while the temporary is still held.
    const TemporaryLock lock(temp);
    auto fail = [&](int error) {
        ::close(fd);
        removeTemporary(folder.fd, temp);
        return error;
    };
    // A new file gets the usual permissions; a replaced one keeps its own.
    struct stat existing { };
    const QByteArray destination = QFile::encodeName(target.absoluteFilePath());
    const mode_t mode
        = ::stat(destination.constData(), &existing) == 0 ? (existing.st_mode & 07777) : (0666 & ~processUmask());
    if (::fchmod(fd, mode) != 0)
        return fail(errno);
    if (int error = fill(fd, temp))
        return fail(error);
    if (::close(fd) != 0) {
        const int error = errno;
        removeTemporary(folder.fd, temp);
        return error;
    }
    if (::rename(temp.constData(), destination.constData()) != 0) {
        const int error = errno;
        removeTemporary(folder.fd, temp);
        return error;
    }
    return 0;
}

int writeAll(int fd, const char* data, qint64 size)
{
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size_t(std::min<qint64>(size, 1 << 30)));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        if (n == 0)
            return ENOSPC; // nothing taken and no error: retrying would spin for ever
        data += n;
        size -= n;
    }
    return 0;
}

bool lockTemporary(int fd)
{
    while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        if (errno != EINTR)
            return false;
    }
    return true;
}

TemporaryLock::TemporaryLock(const QByteArray& path)
    : m_fd(::open(path.constData(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC))
{
    if (m_fd >= 0)
        lockTemporary(m_fd);
}

TemporaryLock::~TemporaryLock()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

int removeLeftovers(const QString& folder)
{
    const QDir dir(folder);
    int removed = 0;
    const QStringList names = dir.entryList(
        { QString::fromLatin1(kTempPrefix) + "??????" + kTempSuffix }, QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& name : names) {
        const QByteArray path = QFile::encodeName(dir.filePath(name));
        // Removed only while we hold its lock ourselves: nobody is writing it.
        const int fd = ::open(path.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0)
            continue;
        if (lockTemporary(fd) && ::unlink(path.constData()) == 0)
            ++removed;
        ::close(fd);
    }
    return removed;
}

} // namespace vantrel::AtomicFileWriter
