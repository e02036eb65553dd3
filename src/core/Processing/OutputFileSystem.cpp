#include "core/Processing/OutputFileSystem.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>

#include "platform/imaging/AtomicFileWriter.h"
#include "platform/imaging/SourceReads.h"

namespace vantrel {

namespace {

std::filesystem::path nativePath(const QString& path)
{
    return std::filesystem::path(QFile::encodeName(path).toStdString());
}

int errnoOf(const std::error_code& error)
{
    if (!error)
        return 0;
    return error.category() == std::generic_category() || error.category() == std::system_category() ? error.value()
                                                                                                     : EIO;
}

// The process's file-creation mask, read once without changing it (umask() would change it for
// every thread for a moment).
mode_t creationMask()
{
    static const mode_t kMask = [] {
        QFile status(QStringLiteral("/proc/self/status"));
        if (status.open(QIODevice::ReadOnly)) {
            for (const QByteArray& line : status.readAll().split('\n')) {
                if (line.startsWith("Umask:")) {
                    bool ok = false;
                    const uint mask = line.mid(6).trimmed().toUInt(&ok, 8);
                    if (ok)
                        return static_cast<mode_t>(mask);
                }
            }
        }
        return static_cast<mode_t>(022);
    }();
    return kMask;
}

} // namespace

OutputFileSystem::~OutputFileSystem() = default;

OutputFileSystem::Held::~Held()
{
    if (folder >= 0)
        ::close(folder);
}

int OutputFileSystem::createTemporary(const QString& folder, QString* path)
{
    QByteArray pattern = QFile::encodeName(folder);
    if (!pattern.endsWith('/'))
        pattern.append('/');
    const qsizetype nameStart = pattern.size();
    pattern.append(AtomicFileWriter::kTempPrefix).append("XXXXXX").append(AtomicFileWriter::kTempSuffix);
    const int fd = ::mkostemps(pattern.data(), static_cast<int>(std::strlen(AtomicFileWriter::kTempSuffix)), O_CLOEXEC);
    if (fd < 0)
        return errno;
    // mkostemp creates the file readable by its owner only; give it the usual mode of a new file.
    ::fchmod(fd, 0666 & ~creationMask());
    {
        auto held = std::make_unique<Held>();
        held->lock = std::make_unique<AtomicFileWriter::TemporaryLock>(pattern);
        held->folder = ::open(pattern.left(nameStart).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        held->name = pattern.mid(nameStart).toStdString();
        const std::lock_guard guard(m_mutex);
        m_held[pattern.toStdString()] = std::move(held);
    }
    ::close(fd);
    *path = QFile::decodeName(pattern);
    return 0;
}

namespace {

int closeChecked(int fd)
{
    return ::close(fd) == 0 || errno == EINTR ? 0 : errno;
}

// Flushes the file or folder at `path` to the disk; 0 or errno.
int flushPath(const QByteArray& path, int flags)
{
    const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC | flags);
    if (fd < 0)
        return errno;
    const int error = ::fsync(fd) == 0 ? 0 : errno;
    ::close(fd);
    return error;
}

} // namespace

int OutputFileSystem::copyContents(const QString& source, const QString& target)
{
    const SourceDescriptor in(::open(QFile::encodeName(source).constData(), O_RDONLY | O_CLOEXEC));
    if (in.fd < 0)
        return errno;
    struct stat info { };
    if (::fstat(in.fd, &info) != 0)
        return errno;
    const int out = ::open(QFile::encodeName(target).constData(), O_WRONLY | O_TRUNC | O_CLOEXEC);
    if (out < 0)
        return errno;
    int error = 0;
    std::vector<char> buffer(std::size_t(1) << 20);
    for (;;) {
        const ssize_t n = ::read(in.fd, buffer.data(), buffer.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            error = errno;
        if (n <= 0 || (error = AtomicFileWriter::writeAll(out, buffer.data(), n)) != 0)
            break;
    }
    if (error == 0) {
        // The permission bits and the modification time, as a file manager's copy keeps them.
        ::fchmod(out, info.st_mode & 07777);
        const struct timespec times[2] = { info.st_atim, info.st_mtim };
        ::futimens(out, times);
    }
    const int closed = closeChecked(out);
    return error != 0 ? error : closed;
}

int OutputFileSystem::commit(const QString& temporary, const QString& target)
{
    const QByteArray from = QFile::encodeName(temporary);
    const QByteArray to = QFile::encodeName(target);
    // Some file systems put the rename on the disk before the bytes: flushed first, the final name
    // never stands on an empty file after a power cut. A failed flush (a full disk, an I/O error)
    // fails the write.
    if (const int error = flushPath(from, 0))
        return error;
    if (::rename(from.constData(), to.constData()) != 0)
        return errno;
    release(temporary);
    const qsizetype slash = to.lastIndexOf('/');
    flushPath(slash > 0 ? to.left(slash) : QByteArray("/"), O_DIRECTORY); // the new entry, best effort
    return 0;
}

void OutputFileSystem::discard(const QString& temporary)
{
    release(temporary, true);
}

void OutputFileSystem::release(const QString& temporary, bool remove)
{
    const QByteArray native = QFile::encodeName(temporary);
    std::unique_ptr<Held> held;
    {
        const std::lock_guard guard(m_mutex);
        const auto it = m_held.find(native.toStdString());
        if (it != m_held.end()) {
            held = std::move(it->second);
            m_held.erase(it);
        }
    }
    if (!remove)
        return;
    // Where the folder is now, by its descriptor (it may have been renamed since).
    if (held && held->folder >= 0)
        ::unlinkat(held->folder, held->name.c_str(), 0);
    else
        ::unlink(native.constData());
}

int OutputFileSystem::makeFolder(const QString& folder)
{
    std::error_code error;
    std::filesystem::create_directories(nativePath(folder), error);
    return errnoOf(error);
}

std::shared_ptr<OutputFileSystem> OutputFileSystem::standard()
{
    static const auto kStandard = std::make_shared<OutputFileSystem>();
    return kStandard;
}

bool OutputFileSystem::isTemporaryName(const QString& fileName)
{
    return fileName.startsWith(QLatin1String(AtomicFileWriter::kTempPrefix))
        && fileName.endsWith(QLatin1String(AtomicFileWriter::kTempSuffix));
}

} // namespace vantrel
