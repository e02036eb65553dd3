#pragma once

#include <QString>

namespace vantrel {

/// What tells one version of a source file from another: its device, inode, size and
/// modification time to the nanosecond. Taken before a photo's source is read and again once
/// the read is complete (the pixels pulled, the metadata read, the bytes copied): any difference
/// means the file was rewritten, replaced or cut short meanwhile, so what was read may mix two
/// versions (a picture half grey, a copy of 0 bytes) and must not become an output.
struct SourceIdentity {
    bool exists = false;
    quint64 device = 0;
    quint64 inode = 0;
    qint64 size = 0;
    qint64 modifiedSeconds = 0;
    qint64 modifiedNanoseconds = 0;

    /// The identity of the file at `path` now (a missing file has exists false).
    static SourceIdentity of(const QString& path);
    /// True when the file at `path` is no longer the version this identity was taken from.
    bool changedAt(const QString& path) const { return of(path) != *this; }

    bool operator==(const SourceIdentity&) const = default;
};

} // namespace vantrel
