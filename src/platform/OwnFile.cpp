#include "platform/OwnFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDateTime>
#include <QFile>
#include <QFileInfo>

namespace vantrel::OwnFile {

namespace {

bool entryExists(const QByteArray& path)
{
    struct stat info { };
    return ::lstat(path.constData(), &info) == 0 || errno != ENOENT;
}

const char* kindOf(mode_t mode)
{
    if (S_ISFIFO(mode))
        return "a FIFO";
    if (S_ISDIR(mode))
        return "a folder";
    if (S_ISLNK(mode))
        return "a symbolic link";
    if (S_ISSOCK(mode))
        return "a socket";
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return "a device";
    return "not a regular file";
}

/// A file of our own: a regular file with no other name. A hard link is a regular file too, but
/// writing it writes the file it shares its data with, wherever that is. A count of 0 (removed
/// meanwhile) is no other name.
bool isOwnRegularFile(const struct stat& info)
{
    return S_ISREG(info.st_mode) && info.st_nlink <= 1;
}

} // namespace

QString asidePath(const QString& path, const QString& word)
{
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH.mm.ss"));
    const QFileInfo info(path);
    const QString stem = info.path() + u'/' + info.completeBaseName() + QStringLiteral(" (") + word + u' ' + stamp;
    const QString suffix = info.suffix().isEmpty() ? QString() : u'.' + info.suffix();
    QString aside = stem + u')' + suffix;
    for (int n = 2; entryExists(QFile::encodeName(aside)); ++n)
        aside = stem + QStringLiteral(" %1)").arg(n) + suffix;
    return aside;
}

QString setAsideIfNotAFile(const QString& path)
{
    const QByteArray native = QFile::encodeName(path);
    struct stat info { };
    if (path.isEmpty() || ::lstat(native.constData(), &info) != 0 || isOwnRegularFile(info))
        return {};
    const QString aside = asidePath(path, QStringLiteral("not a file"));
    const QByteArray kind = S_ISREG(info.st_mode)
        ? QStringLiteral("a hard link (a file with %1 names)").arg(qulonglong(info.st_nlink)).toLocal8Bit()
        : QByteArray(kindOf(info.st_mode));
    // rename() moves the entry itself: a link moves as a link, a FIFO is never opened, and a hard
    // link's other names keep their data.
    if (std::rename(native.constData(), QFile::encodeName(aside).constData()) != 0) {
        std::fprintf(stderr, "%s is %s and could not be set aside: %s\n", native.constData(), kind.constData(),
            std::strerror(errno));
        return {};
    }
    std::fprintf(stderr, "%s was %s, not a regular file of its own; set aside as %s\n", native.constData(),
        kind.constData(), qPrintable(aside));
    return aside;
}

int openRegular(const QString& path, int flags, int mode)
{
    const QByteArray native = QFile::encodeName(path);
    for (int attempt = 0; attempt < 2; ++attempt) {
        const int fd = ::open(native.constData(), flags | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, mode);
        struct stat info { };
        if (fd >= 0 && ::fstat(fd, &info) == 0 && isOwnRegularFile(info)) {
            ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
            return fd;
        }
        const int error = fd >= 0 ? EINVAL : errno;
        if (fd >= 0)
            ::close(fd);
        // ELOOP: a link; EISDIR: a folder; ENXIO: a FIFO without a reader, or a socket. What
        // opened but is no file of our own (a FIFO with a reader, a hard link) is set aside too.
        const bool notAFile = fd >= 0 || error == ELOOP || error == EISDIR || error == ENXIO;
        if (attempt > 0 || !notAFile || setAsideIfNotAFile(path).isEmpty()) {
            errno = error;
            return -1;
        }
    }
    return -1;
}

int createTemporary(const QString& path, int mode)
{
    const QByteArray native = QFile::encodeName(path);
    if (::unlink(native.constData()) != 0 && errno != ENOENT && setAsideIfNotAFile(path).isEmpty())
        return -1;
    return ::open(native.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
}

} // namespace vantrel::OwnFile
