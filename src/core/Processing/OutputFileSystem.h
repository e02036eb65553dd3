#pragma once

#include <memory>

#include <QString>

namespace vantrel {

/// The file operations that writing one output needs, behind a seam: tests replace it to make a
/// write fail as a full disk or a read-only folder would (CI runs as root, where permissions do
/// not fail). Every operation returns 0 or an errno value and never throws.
class OutputFileSystem {
public:
    virtual ~OutputFileSystem();

    /// Creates an empty, uniquely named temporary file in `folder` (a hidden name starting with
    /// kTemporaryPrefix, short enough for any target name) and returns its path in `path`.
    virtual int createTemporary(const QString& folder, QString* path);
    /// Copies the bytes (and the permission bits and modification time) of `source` over `target`.
    virtual int copyContents(const QString& source, const QString& target);
    /// Renames `temporary` over `target` in one step.
    virtual int commit(const QString& temporary, const QString& target);
    /// Removes a temporary file (failures are ignored).
    virtual void discard(const QString& temporary);
    /// Creates `folder` with all missing parents.
    virtual int makeFolder(const QString& folder);

    /// The real file system. Shared, stateless, thread-safe.
    static std::shared_ptr<OutputFileSystem> standard();

    /// Temporary files of a write start with this; a run that was cut off may remove such files.
    static constexpr const char* kTemporaryPrefix = ".vantrel-tmp-";
    static bool isTemporaryName(const QString& fileName);
};

} // namespace vantrel
