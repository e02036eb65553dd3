#pragma once

#include <functional>

#include <QByteArray>
#include <QString>

namespace vantrel::AtomicFileWriter {

/// Temporary files of an unfinished write are named kTempPrefix + six characters + kTempSuffix
/// and live in the destination folder, so that a later run can recognise and remove leftovers.
inline constexpr char kTempPrefix[] = ".vantrel-";
inline constexpr char kTempSuffix[] = ".tmp";

/// Creates a new, empty temporary file of the pattern above in `folder` (an encoded path), owner
/// only, with a close-on-exec descriptor. Returns the descriptor and sets `path` to the file's
/// encoded name, or returns -1 with errno set. Hold its lock (TemporaryLock) from then on.
int createTemporary(const QByteArray& folder, QByteArray* path);
/// The same, with the folder opened first: `folderFd` gets its descriptor (-1 when it cannot be
/// opened), which the caller closes. removeTemporary removes the file through it, wherever the
/// folder went meanwhile (another program renaming the output folder during a run).
int createTemporary(const QByteArray& folder, QByteArray* path, int* folderFd);
/// Removes the temporary at `path` (encoded) through `folderFd`, the descriptor of the folder it
/// was created in, or by its path when that is -1.
void removeTemporary(int folderFd, const QByteArray& path);

/// Creates a temporary file beside `path` and lets `fill` write its contents: it gets the
/// temporary's descriptor and encoded path (a writer may open the path anew, truncating it) and
/// returns 0 once the contents are complete, else an errno. The temporary gets the permissions of
/// the file it replaces (a new file: 0666 less the umask), is held locked until renamed or
/// removed, and is renamed over `path` only when `fill` returned 0. Returns 0, `fill`'s non-zero
/// result, or the errno of the failing step; on failure the temporary is removed and an older
/// file at `path` is untouched.
int writeThrough(const QString& path, const std::function<int(int fd, const QByteArray& temporary)>& fill);

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
