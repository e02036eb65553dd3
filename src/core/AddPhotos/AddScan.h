#pragma once

#include <atomic>
#include <chrono>
#include <functional>

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include "core/AddPhotos/AddScanTypes.h"
#include "core/DataBeans/PhotoFile.h"

namespace vantrel {

class AddedPaths;

/// One add scan: expands the sources (files, folders one level or with their subfolders, photo
/// libraries), tests each candidate and hands the accepted photos over in groups. Runs on one
/// thread (the add run's worker); touches no window and no shared batch itself.
///
/// A candidate is accepted when its path is not in `added`, its extension passes the type
/// registry (checked before the file is touched), its header gives a width and height above
/// zero, and it ends with the file-type filter (unless "ALL"). Stop and the limit are tested
/// before a photo is appended, and either ends the whole scan: no photo joins after a stop, and
/// never more than `limit` in one scan.
class AddScan {
public:
    /// Receives accepted photos in scan order, on the scanning thread; the receiver hops to the
    /// main thread to append them to the batch.
    using Deliver = std::function<void(const QList<PhotoFilePtr>& photos)>;

    AddScan(AddScanOptions options, AddedPaths& added, const std::atomic<bool>& stop);

    /// Groups are handed over when `maxGroup` photos are waiting or `interval` has passed since the
    /// last hand-over, and once at the end.
    void setDeliver(
        Deliver deliver, int maxGroup = 256, std::chrono::milliseconds interval = std::chrono::milliseconds(16));

    /// Scans `sources` (local paths) in order and returns the counters and flags.
    AddScanOutcome run(const QStringList& sources);

    /// Expands one folder as the scan does: one level with the image-extension filter, or
    /// recursive without hidden entries and package contents.
    static QStringList getAllFilesInFolder(const QString& folder, bool isSubFolderSelected);

    /// The de-duplicated existing image paths of a library package (Photos, or iPhoto/Aperture),
    /// with their display names, as the scan reads them.
    struct LibraryItem {
        QString path;
        QString displayName;
    };
    /// `archivePathMissing`, when given, is set when the library's album file records no
    /// "Archive Path" (the alert is the caller's, on the main thread).
    static QList<LibraryItem> libraryItems(
        const QString& packagePath, AddPathType* type = nullptr, bool* archivePathMissing = nullptr);

private:
    bool scanSource(const QString& source);
    bool consider(const QString& path, const QString& displayName, bool isIphotoNode);
    bool refuseBadName(const QByteArray& rawPath);
    void flush();
    void flushIfDue();

    AddScanOptions m_options;
    AddedPaths& m_added;
    const std::atomic<bool>& m_stop;
    Deliver m_deliver;
    int m_maxGroup = 256;
    std::chrono::milliseconds m_interval { 16 };
    std::chrono::steady_clock::time_point m_lastDelivery;
    QList<PhotoFilePtr> m_pending;
    AddScanOutcome m_outcome;
};

} // namespace vantrel
