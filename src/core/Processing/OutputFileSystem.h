#pragma once

#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>

#include <QString>

#include "platform/imaging/AtomicFileWriter.h"

namespace vantrel {

/// The file operations that writing one output needs, behind a seam: tests replace it to make a
/// write fail as a full disk or a read-only folder would (CI runs as root, where permissions do
/// not fail). Every operation returns 0 or an errno value and never throws.
class OutputFileSystem {
public:
    virtual ~OutputFileSystem();

    /// Creates an empty, uniquely named temporary file in `folder` and returns its path in `path`.
    /// The name is the encoder's temporary name (".vantrel-XXXXXX.tmp"): short enough beside any
    /// target name, and removed with the encoder's leftovers after an interrupted run.
    virtual int createTemporary(const QString& folder, QString* path);
    /// Copies the bytes (and the permission bits and modification time) of `source` over `target`.
    /// Every write and the close are checked: a copy that stops short (a full disk, a quota)
    /// returns the errno of the write that failed, never 0.
    virtual int copyContents(const QString& source, const QString& target);
    /// Renames `temporary` over `target` in one step, its bytes flushed to the disk before and the
    /// folder's entry after, so that a power cut never leaves an empty or partial file under the
    /// final name.
    virtual int commit(const QString& temporary, const QString& target);
    /// Removes a temporary file (failures are ignored). One this object created is removed through
    /// its folder's descriptor, so that it goes even when the folder was renamed meanwhile.
    virtual void discard(const QString& temporary);
    /// Creates `folder` with all missing parents.
    virtual int makeFolder(const QString& folder);

    /// The real file system. Shared and thread-safe: it holds the lock of every temporary it
    /// created until that temporary is committed or discarded, so that another run's clean-up
    /// (AtomicFileWriter::removeLeftovers) never removes a write in progress.
    static std::shared_ptr<OutputFileSystem> standard();

    /// True for the name of a temporary file of an unfinished write.
    static bool isTemporaryName(const QString& fileName);

private:
    /// A temporary in progress: its lock, and its folder's descriptor with its name there.
    struct Held {
        std::unique_ptr<AtomicFileWriter::TemporaryLock> lock;
        int folder = -1;
        std::string name;
        ~Held();
    };

    /// Forgets `temporary`; with `remove`, unlinks it first where its folder now is.
    void release(const QString& temporary, bool remove = false);

    std::mutex m_mutex;
    std::unordered_map<std::string, std::unique_ptr<Held>> m_held;
};

} // namespace vantrel
