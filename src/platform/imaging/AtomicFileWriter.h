#pragma once

#include <functional>

#include <QByteArray>
#include <QString>

namespace vantrel::AtomicFileWriter {

/// Temporary files of an unfinished write are named kTempPrefix + six characters + kTempSuffix
/// and live in the destination folder, so that a later run can recognise and remove leftovers.
inline constexpr char kTempPrefix[] = ".vantrel-";
inline constexpr char kTempSuffix[] = ".tmp";

/// Writes `bytes` to a temporary file beside `path` and renames it over `path` when complete.
/// Returns 0, or the errno of the failing step (the temporary file is then removed and an older
/// file at `path` is untouched). `failureHook`, when set, is asked once the first half is on
/// disk: a non-zero errno it returns fails the write at that point (for tests).
int write(const QString& path, const QByteArray& bytes, const std::function<int(const QString&)>& failureHook = {});

/// Removes leftover temporary files of interrupted writes from `folder`; returns how many. A
/// temporary that a write (of this or another process) still holds is left alone: every writer
/// holds an exclusive advisory lock (flock) on its temporary until it is renamed or removed.
int removeLeftovers(const QString& folder);

/// Writes all `size` bytes to `fd`, retrying short and interrupted writes; 0 or the errno.
int writeAll(int fd, const char* data, qint64 size);

/// Takes the writer's lock on the open temporary `fd`; false when another holder has it.
bool lockTemporary(int fd);

/// Holds the writer's lock on the temporary at `path` (encoded file name) for its lifetime,
/// through a read-only descriptor of its own. Construct it right after creating the temporary.
class TemporaryLock {
public:
    explicit TemporaryLock(const QByteArray& path);
    ~TemporaryLock();
    TemporaryLock(const TemporaryLock&) = delete;
    TemporaryLock& operator=(const TemporaryLock&) = delete;

private:
    int m_fd = -1;
};

} // namespace vantrel::AtomicFileWriter
