#pragma once

#include <QString>

namespace vantrel {

/// What tells one version of a source file from another: its device, inode, size and
/// modification time to the nanosecond. Taken before a photo's source is read and again once
/// the read is complete (the pixels pulled, the metadata read, the bytes copied): any difference
/// means the file was rewritten, replaced or cut short meanwhile, so what was read may mix two
/// versions (a picture half grey, a copy of 0 bytes) and must not become an output.
struct SourceIdentity {
    /// How long a version must have stood unchanged before it is copied: longer than the pauses
    /// of a program that rewrites a photo in place piece by piece (a sync client or a camera
    /// import pauses tens of milliseconds between pieces), short enough that a photo saved just
    /// before its run waits barely.
    static constexpr qint64 kSettleNanoseconds = 2'000'000'000;

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
    /// When this version will have stood unchanged for kSettleNanoseconds, on the wall clock (ns
    /// since the epoch) that reads `now`: counted from its modification time, or from `now` when
    /// that time lies ahead (another machine's clock). A time on a whole second may come from a
    /// file system that keeps no finer (FAT keeps even seconds): it may stand for up to two
    /// seconds later.
    qint64 settledAt(qint64 now) const;

    bool operator==(const SourceIdentity&) const = default;
};

} // namespace vantrel
