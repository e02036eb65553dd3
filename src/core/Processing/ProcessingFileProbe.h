#pragma once

#include "core/Processing/RunInterfaces.h"

namespace vantrel {

/// The file-system facts of a run, from the real file system: statvfs for free space, access()
/// for writability, the inode flags (FS_IOC_GETFLAGS) for the immutable flag, stat for sizes and
/// identities. Stateless; safe on any thread.
class ProcessingFileProbe : public RunFileProbe {
public:
    bool exists(const QString& path) override;
    bool isDirectory(const QString& path) override;
    std::optional<qint64> freeBytes(const QString& folder) override;
    bool isReadOnly(const QString& path) override;
    bool isLocked(const QString& path) override;
    bool makeFolder(const QString& folder) override;
    std::optional<qint64> fileSize(const QString& path) override;
    std::optional<QString> fileIdentity(const QString& path) override;
};

} // namespace vantrel
