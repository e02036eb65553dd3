#include "core/Processing/ProcessingFileProbe.h"

#include <cstdio>
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <QDir>

namespace vantrel {

namespace {

QByteArray native(const QString& path)
{
    return QFile::encodeName(path);
}

// stat() of a path; false for an empty path or a failed call.
bool statPath(const QString& path, struct stat* st)
{
    return !path.isEmpty() && ::stat(native(path).constData(), st) == 0;
}

} // namespace

bool ProcessingFileProbe::exists(const QString& path)
{
    struct stat st { };
    return statPath(path, &st);
}

bool ProcessingFileProbe::isDirectory(const QString& path)
{
    struct stat st { };
    return statPath(path, &st) && S_ISDIR(st.st_mode);
}

std::optional<qint64> ProcessingFileProbe::freeBytes(const QString& folder)
{
    struct statvfs vfs { };
    if (folder.isEmpty() || ::statvfs(native(folder).constData(), &vfs) != 0)
        return std::nullopt;
    return static_cast<qint64>(vfs.f_bavail) * static_cast<qint64>(vfs.f_frsize);
}

bool ProcessingFileProbe::isReadOnly(const QString& path)
{
    return path.isEmpty() || ::access(native(path).constData(), W_OK) != 0;
}

bool ProcessingFileProbe::isLocked(const QString& path)
{
    const int fd = ::open(native(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false;
    int flags = 0;
    const bool locked = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0 && (flags & FS_IMMUTABLE_FL) != 0;
    ::close(fd);
    if (locked)
        std::fprintf(stderr, "File is locked\n");
    return locked;
}

bool ProcessingFileProbe::makeFolder(const QString& folder)
{
    return !folder.isEmpty() && QDir().mkpath(folder);
}

std::optional<qint64> ProcessingFileProbe::fileSize(const QString& path)
{
    struct stat st { };
    if (!statPath(path, &st))
        return std::nullopt;
    return static_cast<qint64>(st.st_size);
}

std::optional<QString> ProcessingFileProbe::fileIdentity(const QString& path)
{
    struct stat st { };
    if (!statPath(path, &st))
        return std::nullopt;
    return QStringLiteral("%1:%2").arg(static_cast<quint64>(st.st_dev)).arg(static_cast<quint64>(st.st_ino));
}

} // namespace vantrel
