#include "core/Processing/OutputFileSystem.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <system_error>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>

#include "platform/imaging/AtomicFileWriter.h"

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

int OutputFileSystem::createTemporary(const QString& folder, QString* path)
{
    QByteArray pattern = QFile::encodeName(folder);
    if (!pattern.endsWith('/'))
        pattern.append('/');
    pattern.append(AtomicFileWriter::kTempPrefix).append("XXXXXX").append(AtomicFileWriter::kTempSuffix);
    const int fd = ::mkostemps(pattern.data(), static_cast<int>(std::strlen(AtomicFileWriter::kTempSuffix)), O_CLOEXEC);
    if (fd < 0)
        return errno;
    // mkostemp creates the file readable by its owner only; give it the usual mode of a new file.
    ::fchmod(fd, 0666 & ~creationMask());
    {
        auto lock = std::make_unique<AtomicFileWriter::TemporaryLock>(pattern);
        const std::lock_guard guard(m_mutex);
        m_held[pattern.toStdString()] = std::move(lock);
    }
    ::close(fd);
    *path = QFile::decodeName(pattern);
    return 0;
}

int OutputFileSystem::copyContents(const QString& source, const QString& target)
{
    std::error_code error;
    const auto from = nativePath(source);
    const auto to = nativePath(target);
    std::filesystem::copy_file(from, to, std::filesystem::copy_options::overwrite_existing, error);
    if (error)
        return errnoOf(error);
    const auto modified = std::filesystem::last_write_time(from, error);
    if (!error)
        std::filesystem::last_write_time(to, modified, error); // best effort, like a file manager copy
    return 0;
}

int OutputFileSystem::commit(const QString& temporary, const QString& target)
{
    const QByteArray from = QFile::encodeName(temporary);
    const QByteArray to = QFile::encodeName(target);
    const int error = ::rename(from.constData(), to.constData()) == 0 ? 0 : errno;
    if (error == 0)
        release(temporary);
    return error;
}

void OutputFileSystem::discard(const QString& temporary)
{
    ::unlink(QFile::encodeName(temporary).constData());
    release(temporary);
}

void OutputFileSystem::release(const QString& temporary)
{
    const std::lock_guard guard(m_mutex);
    m_held.erase(QFile::encodeName(temporary).toStdString());
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
