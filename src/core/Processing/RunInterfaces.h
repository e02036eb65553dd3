#pragma once

#include <functional>
#include <optional>
#include <vector>

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariantMap>

#include "core/DataBeans/PhotoFile.h"
#include "core/Processing/RunOptions.h"

// The small interfaces through which the batch-run engine (ProcessingEngine) reaches the window,
// the file system, the one-photo pipeline, the clock, the file browser, the log database and its
// worker thread. The engine holds no widget: everything a screen shows arrives as data through
// RunView, so the processing screen only displays it and forwards its buttons to the engine.

namespace vantrel {

/// A range of the bottom progress line drawn in a highlight colour (UTF-16 offsets into the text).
struct RunTextRange {
    int start = 0;
    int length = 0;
    bool operator==(const RunTextRange&) const = default;
};

/// The one-line progress text at the bottom of the processing screen: the whole text is drawn
/// left-aligned in `baseColor`, then each range in `highlightColor`.
struct RunBottomLine {
    QString text;
    std::vector<RunTextRange> highlights;
    static constexpr double kBaseGrey = 184.0 / 255.0; ///< red, green and blue of the base colour, opaque
    // Highlights are white, opaque.
};

/// The texts of the summary panel, one per label. `spaceSaveVisible` tells whether the
/// space-saved label is shown.
struct RunSummaryTexts {
    QString processTitle;
    QString imagesSelected;
    QString imagesConverted;
    QString conversionFailed;
    QString oldSize;
    QString newSize;
    QString spaceSave;
    bool spaceSaveVisible = false;
    QString timeElapsed;
    QString totalOldSize;
};

/// What the processing screen shows. Every call comes on the main thread.
class RunView {
public:
    virtual ~RunView() = default;
    /// Progress panel shown, summary and cross-promotion panels hidden (start of a run).
    virtual void showProgressPanel() = 0;
    /// Summary and cross-promotion panels shown, progress panel hidden (end of a run).
    virtual void showSummaryPanel() = 0;
    virtual void setTitle(const QString& title) = 0;
    /// Percent, 0 to 100.
    virtual void setProgressValue(int percent) = 0;
    virtual void setCurrentPath(const QString& path) = 0;
    virtual void setBottomLine(const RunBottomLine& line) = 0;
    virtual void setSummary(const RunSummaryTexts& texts) = 0;
    /// One line under the summary about the run's log (it could not be saved, or the damaged log
    /// database was set aside); an empty text hides it.
    virtual void setLogNotice(const QString& text) = 0;
    /// The overwrite sheet's contents, set just before the engine posts the show notification:
    /// the name offered in the rename field, the existing output file and the photo's source.
    virtual void setOverwriteQuestion(const QString& renameText, const QString& existingPath, const QString& sourcePath)
        = 0;
    /// The rename error under the field; an empty text hides it.
    virtual void setRenameError(const QString& message) = 0;
};

/// File-system facts the run tests before it writes. Injectable because permission and lock cases
/// cannot be staged for real when the tests run as root. Called on the worker thread; an
/// implementation keeps no mutable state (or guards it).
class RunFileProbe {
public:
    virtual ~RunFileProbe() = default;
    virtual bool exists(const QString& path) = 0;
    virtual bool isDirectory(const QString& path) = 0;
    /// Bytes available to the user on the volume of an existing folder; nothing when the folder
    /// cannot be examined (for example because it does not exist yet).
    virtual std::optional<qint64> freeBytes(const QString& folder) = 0;
    /// True when the item at path may not be written by this process.
    virtual bool isReadOnly(const QString& path) = 0;
    /// True when the item at path carries the immutable flag.
    virtual bool isLocked(const QString& path) = 0;
    /// Creates the folder with its missing parents; true when it exists afterwards.
    virtual bool makeFolder(const QString& folder) = 0;
    /// Size of the file at path; nothing when it cannot be read.
    virtual std::optional<qint64> fileSize(const QString& path) = 0;
    /// A key that is equal for two paths naming the same file (device and inode); nothing when
    /// the path names nothing.
    virtual std::optional<QString> fileIdentity(const QString& path) = 0;
};

/// Result of the one-photo pipeline's write step.
struct RunWriteResult {
    qint32 status = 0; ///< 1 written; otherwise the failure's status code (0, 11, 13, ...)
    /// Status 0 because the source changed while it was read (RunText::sourceChanged()).
    bool sourceChanged = false;
    /// Not written because the output's volume (or the user's quota) is full: nothing is in place.
    bool noSpace = false;
};

/// Result of the one-photo pipeline's size step.
enum class RunSizeCheck {
    Accepted, ///< the photo can be produced at the chosen size
    Refused, ///< a side above the limit: status 7
    Unreadable, ///< the source cannot be decoded: status 0
};

/// The work on one photo: its output path, the size step and the write. Called on the worker
/// thread with a snapshot of the options; the pipeline never writes the record (the engine does,
/// on the main thread).
class RunPhotoPipeline {
public:
    virtual ~RunPhotoPipeline() = default;
    /// The output path of a photo for these options (folder, name and extension).
    virtual QString outputPath(const PhotoFile& photo, const RunOptions& options) = 0;
    /// Decides whether the size step accepts the photo.
    virtual RunSizeCheck checkSize(const PhotoFile& photo, const RunOptions& options) = 0;
    /// Resizes, rotates, flips and writes (or copies) the photo to outputPath.
    virtual RunWriteResult write(const PhotoFile& photo, const QString& outputPath, const RunOptions& options) = 0;
    /// The memory the write of the photo to outputPath will hold at its peak, from its header; the
    /// run admits the write once that much of the process's budget is free. 0: nothing to admit.
    virtual qint64 memoryNeed(const PhotoFile& /*photo*/, const QString& /*outputPath*/, const RunOptions& /*options*/)
    {
        return 0;
    }
    /// The bytes the write of the photo to outputPath will add to the output's volume, estimated
    /// from its header (on the high side); the free-space test counts them while it is in flight.
    virtual qint64 outputBytes(const PhotoFile& /*photo*/, const QString& /*outputPath*/, const RunOptions& /*options*/)
    {
        return 0;
    }
    /// True when the write of the photo to outputPath goes through a library that ends the
    /// process, rather than failing the photo, where memory runs short (the GIF encoder's frame
    /// comes from an allocator that aborts); the run keeps its log rows safe before such a write.
    virtual bool mayEndProcess(const PhotoFile& /*photo*/, const QString& /*outputPath*/, const RunOptions& /*options*/)
    {
        return false;
    }
    /// Removes the temporary files that an interrupted write may have left in these folders.
    virtual void removeTemporaries(const QStringList& folders) = 0;
};

/// The time of day and deferred calls on the main thread.
class RunClock {
public:
    virtual ~RunClock() = default;
    virtual QDateTime now() = 0;
    /// Runs fn on the main thread after `milliseconds`.
    virtual void schedule(int milliseconds, std::function<void()> fn) = 0;
};

/// Shows a folder in the file browser.
class RunFolderOpener {
public:
    virtual ~RunFolderOpener() = default;
    virtual void openFolder(const QString& path) = 0;
};

/// How the write of a run's log ended.
struct RunLogResult {
    bool saved = true;
    /// When not saved: why (the database's own message), and whether the rows are kept to be
    /// written at the next run.
    QString failure;
    bool kept = false;
    /// The new name of an unusable log database that this write set aside (a fresh one took its
    /// place), and what was wrong with it ("was damaged", "was read-only", ...).
    QString movedAsideTo;
    QString movedAsideBecause;
    /// The new name of a file found in the place of the rows kept for the next run, set aside by
    /// this write, and what it was ("was unreadable", "was a symbolic link").
    QString pendingSetAsideTo;
    QString pendingSetAsideBecause;
    /// The identity the run was written under (or is kept under for the next write); empty when
    /// the run was given none. The log viewer finds the run by it, as runs may share a stamp.
    QString runId;
};

/// The log database as the run writes it. Dictionaries are keyed by column name; every value is
/// a string.
class RunLogDatabase {
public:
    virtual ~RunLogDatabase() = default;
    /// Writes the run's summary row and its detail rows together (both or neither), creating the
    /// log tables when missing. Called on the main thread, which it does not block while the
    /// database is busy; `done` runs later on the main thread with the outcome.
    virtual void writeRunLog(
        const QVariantMap& summary, const QList<QVariantMap>& details, std::function<void(const RunLogResult&)> done)
        = 0;
    /// Writes the rows of the run still going (the rows its end would write now), so that they
    /// are in the log should the process end before the run does; the next call and the run's
    /// writeRunLog replace them. Called on the run's worker thread; returns once they are written
    /// or could not be (which is only told: the run goes on).
    virtual void keepRunSoFar(const QVariantMap& /*summary*/, const QList<QVariantMap>& /*details*/) { }
};

/// Runs jobs one after another, never two at once, never on the caller's stack frame while
/// another job of the same executor is running.
class RunExecutor {
public:
    virtual ~RunExecutor() = default;
    virtual void submit(std::function<void()> job) = 0;
};

} // namespace vantrel
