#pragma once

#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>

#include <memory>

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
    virtual int copyContents(const QString& source, const QString& target);
    /// Renames `temporary` over `target` in one step.
    virtual int commit(const QString& temporary, const QString& target);
    /// Removes a temporary file (failures are ignored).
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
    void release(const QString& temporary);

    std::mutex m_mutex;
    std::unordered_map<std::string, std::unique_ptr<AtomicFileWriter::TemporaryLock>> m_held;
};

} // namespace vantrel
