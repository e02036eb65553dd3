#pragma once

#include <functional>

#include <QList>
#include <QObject>
#include <QString>

#include "core/DataBeans/PhotoFile.h"

namespace vantrel {

/// Finds the photos of a batch whose files have gone from their source folders, and chooses the
/// alert that reports them.
///
/// The file tests (one stat per photo) run on a worker over a snapshot of the batch; only the
/// answer comes back to the main thread, which then changes the batch by identity. So a slow
/// share with 100,000 photos never freezes the window, and a photo added while the worker runs
/// is neither lost nor brought back.
class MissingPhotoCheck {
public:
    /// Whether a file exists at a path. Injectable so tests can count or hold the calls.
    using ExistsProbe = std::function<bool(const QString& path)>;

    MissingPhotoCheck() = delete;

    /// The real probe: a stat of the path (a dangling link counts as gone).
    static bool fileExists(const QString& path);

    /// Missing for the check: its file is gone, or its recorded pixel size is not above 0.
    static bool countsAsMissing(const PhotoFile& photo, const ExistsProbe& exists);
    /// The number of photos missing for the check.
    static qsizetype countMissing(const QList<PhotoFilePtr>& snapshot, const ExistsProbe& exists);
    /// The alert for `missing` of `count` photos: none for 0 missing or an empty batch; 103 for a
    /// batch of one; else 106 when all, 104 when one, 105 when several are missing.
    static int alertForMissing(qsizetype count, qsizetype missing);

    /// The records whose files no longer exist (a photo without pixel size but with its file stays).
    static QList<PhotoFilePtr> goneRecords(const QList<PhotoFilePtr>& snapshot, const ExistsProbe& exists);

    /// Counts on a worker and calls `done(alert)` on the main thread, unless `context` has gone by
    /// then. An empty snapshot answers kNone without a worker.
    static void checkAsync(const QList<PhotoFilePtr>& snapshot, QObject* context, std::function<void(int alert)> done,
        ExistsProbe exists = fileExists);
    /// Finds the gone records on a worker and hands them to `done` on the main thread, unless
    /// `context` has gone by then; the caller removes them by identity there.
    static void findGoneAsync(const QList<PhotoFilePtr>& snapshot, QObject* context,
        std::function<void(QList<PhotoFilePtr> gone)> done, ExistsProbe exists = fileExists);
};

} // namespace vantrel
