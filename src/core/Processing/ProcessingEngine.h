#pragma once

#include <atomic>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

#include <QDateTime>
#include <QHash>
#include <QList>
#include <QSet>
#include <QString>
#include <QVariantMap>

#include "core/DataBeans/PhotoFile.h"
#include "core/Processing/ProcessingWritePool.h"
#include "core/Processing/RunInterfaces.h"
#include "core/Processing/RunOptions.h"

namespace vantrel {

/// What the engine is built on. Every member is required except the log database (no log is
/// written without one) and the folder opener (nothing is opened without one).
struct RunDependencies {
    std::shared_ptr<RunPhotoPipeline> pipeline;
    std::shared_ptr<RunFileProbe> probe;
    std::shared_ptr<RunClock> clock;
    std::shared_ptr<RunFolderOpener> folderOpener;
    std::shared_ptr<RunLogDatabase> logDatabase;
    std::shared_ptr<RunExecutor> executor;
    /// Photos written at once (the pipeline's write step only); 0 takes the machine's default
    /// (ProcessingWritePool::defaultWriters), 1 writes one photo after another.
    int writers = 0;
};

/// The batch run, headless: it turns every checked photo of the batch into an output file, one
/// photo after another on one worker, holds for the overwrite question and the low-space alert,
/// takes the answers, and ends with the summary, the log rows and the end-of-run notifications.
///
/// Writes in flight. The worker makes every decision about a photo (output path, rename answer,
/// free space, existing output, keep-both name, size and permission checks) itself, in batch
/// order; only the write step goes to a pool of writers, so that up to `writers` photos are
/// written while the worker decides the next ones. Outcomes are applied in batch order (a write
/// that finishes early waits for the photos before it), so the counters, the progress, the
/// messages and the log are those of a one-at-a-time run. A photo whose output or source is named
/// by a write in flight waits for that write; every write in flight is finished and applied before
/// the overwrite question, the low-space alert or a hold takes effect, and a photo whose write was
/// started is counted as done even when a hold came meanwhile (its file is on disk: a resumed run
/// goes on after it rather than asking about its output or writing it twice).
///
/// A stop does not wait: the summary comes at once, whatever the worker and the writers are doing
/// (a source on a share that stopped answering may hold a read for ever). A photo still being read
/// or written counts as not processed, unless its output was already put in place; its write's
/// late result is dropped, and the run's commit gate (RunCommitGate) makes sure it adds or replaces
/// no file after the summary and leaves no temporary. The workers of the ended run are superseded
/// and leave as soon as their reads return; a new run is refused until they have.
///
/// Threads. Every public operation except the worker's two (processFilesInBatch and
/// processFileFromBunch) runs on the main thread. The worker never writes a record or a run field
/// itself: it hops to the main thread synchronously (runOnMainThreadSync) and does it there. The
/// main thread never waits on the worker: a resume submits a new worker to the serial executor,
/// which starts it only after the previous one has returned, and a worker that has been
/// superseded (its generation is no longer current) leaves at its next hop, after recording a
/// write it had already made. A run ends exactly once, and only after its last worker has
/// returned (or, after a stop, once the commit gate is closed), so the summary and the log
/// describe the files that are on disk.
///
/// Lifetime: made with create(); a running worker keeps the engine alive, and with it everything a
/// writer of that worker uses. The view is a plain pointer that the owner clears with
/// setView(nullptr) before the view goes away.
class ProcessingEngine : public std::enable_shared_from_this<ProcessingEngine> {
public:
    /// Batch answers, handed to a worker as its process flag.
    static constexpr int kAskForEach = 0;
    static constexpr int kSkipAll = 1;
    static constexpr int kReplaceAll = 2;
    static constexpr int kKeepAll = 3;
    /// File answers (currentFileFlag), used by the next photo that reaches the overwrite test.
    static constexpr int kReplaceFile = 4;
    static constexpr int kSkipFile = 5;
    static constexpr int kKeepFile = 6;
    static constexpr int kRenameFile = 7;
    /// A photo is held behind the low-space alert when its output volume has less free space.
    static constexpr qint64 kMinimumFreeBytes = 105'906'176;

    static std::shared_ptr<ProcessingEngine> create(RunDependencies dependencies);
    ~ProcessingEngine();
    ProcessingEngine(const ProcessingEngine&) = delete;
    ProcessingEngine& operator=(const ProcessingEngine&) = delete;

    void setView(RunView* view) { m_view = view; }

    // --- Start and scheduling -------------------------------------------------------------------
    /// Starts a run over the checked photos of the shared batch with a snapshot of the options.
    /// Refused (false, one line on stderr) while a run is still going on.
    bool startProcess(const RunOptions& options);
    /// The same with the panes' option records (copied at once; the RAW answer is the shared one).
    bool startProcess(
        const OutputOptionSettings& outputSettingObject, const ResizingOptionsSettingObject& resizingOptionObject);
    /// (Re)starts the worker from the resume index with a batch answer.
    void startProcessingOfPhotos(int processFlag);
    /// One progress report of the worker (main thread).
    void callForUpdatingProgressWithCountWithProcessStatus(int status, const QString& processMsg);

    // --- Run control and the overwrite question --------------------------------------------------
    void holdProcessing();
    void restartProcessing();
    void stopProcessing();
    void btnStopProcessTapped();
    void btnYesOnAbortTapped();
    void showEnoughSpacePopup();
    void btnOkOnEnoughtSpcaecTapped();
    void showOverwriteExistingFilePopup();
    void hideOverwriteExistingFilePopup();
    void btnReplaceImageTapped();
    void btnSkipImageTapped();
    void btnKeepImageTapped();
    /// The rename answer with the text of the rename field. False (and the error shown) when the
    /// name is empty or names an existing file; the question then stays.
    bool btnRenameImageTapped(const QString& typedName);
    void btnSkipAllImageTapped();
    void btnReplaceAllImageTapped();
    void btnKeepAllImageTapped();
    /// The rename field's rule after every edit: invalid characters removed, cut to 255 characters
    /// when it reaches 256. Returns the text the field is to show.
    static QString controlTextDidChange(const QString& text);
    /// The text without any of the 13 characters that a file name may not hold here.
    static QString validFileNameString(const QString& text);
    /// Told when a sheet or panel has closed: a question that could not be shown meanwhile (the
    /// overwrite question, the low-space alert) is asked now.
    void subWindowDidClose();

    // --- Summary, bottom line and log ------------------------------------------------------------
    void addSummaryInfo();
    void setProcessInfoAtBottm();
    void openOutputFolder();
    /// The last run's summary values, its stamp ("timeStamp") and photos, and under "runId" the
    /// identity its log was written under (empty until the write has ended, or without a log).
    QVariantMap getLogDetails() const;
    /// The log of the end of a run: the summary row and one row per photo, written together off
    /// the main thread; the run's end is announced once the write has ended (logWritten).
    void insertDetailsInDatabase(const QString& stamp, const RunSummaryTexts& texts);
    /// The log's row of each photo of the run, in run order, as its records stand (main thread).
    QList<QVariantMap> detailRows(const QString& stamp) const;

    // --- Permission tests of one photo (the probe's answers) ---------------------------------------
    bool checkForReadOnlyFilePath(const QString& path) const;
    bool checkForReadOnlyParentFolderPath(const QString& path) const;
    bool checkForLockedFile(const QString& path) const;
    /// The same test on the "FolderPath" entry of `info`; nothing in the run calls it.
    bool checkForReadOnlyParentFolder(const QVariantMap& info) const;
    static QString getMessageForstatus(qint32 status);

    // --- State, for the screen and the tests -----------------------------------------------------
    bool isProcessOnHold() const { return m_isProcessOnHold.load(); }
    bool isProcessStopped() const { return m_isProcessStopped.load(); }
    /// The worker may process and its progress reports are counted (cleared while held or stopped).
    bool isPHOTOS_PROCESSING_IN_PROGERESS() const { return m_isPHOTOS_PROCESSING_IN_PROGERESS.load(); }
    /// True from the start of a run until its log has been written (a quit waits for that, so
    /// that the write is not cut off).
    bool isRunActive() const { return m_runActive || m_logPending; }
    int currentFileFlag() const { return m_currentFileFlag.load(); }
    int counterTotalProgressedFiles() const { return m_counterTotalProgressedFiles.load(); }
    int counterProcessedSuccessfully() const { return m_counterProcessedSuccessfully.load(); }
    int counterProcessedWithError() const { return m_counterProcessedWithError.load(); }
    const QList<PhotoFilePtr>& arrPhotosToProcess() const { return m_arrPhotosToProcess; }
    const QString& filePathToOverwrite() const { return m_filePathToOverwrite; }
    PhotoFilePtr fileToOverwrite() const { return m_fileToOverwrite; }
    QDateTime processStartedDateTime() const { return m_processStartedDateTime; }
    /// Workers submitted and not yet returned.
    int activeWorkers() const { return m_activeWorkers; }
    /// Calls `done` (main thread) once no worker is left, at once when none is. A quit waits for
    /// that, a bounded time, so that writes cut off by the stop take their temporaries away.
    void whenWorkersReturned(std::function<void()> done);

private:
    explicit ProcessingEngine(RunDependencies dependencies);

    enum class Question { None, Overwrite, LowSpace };

    /// The outcome of one photo, waiting for its turn: `ready` is empty for a decided outcome and
    /// tells whether the write has finished for a photo being written.
    struct Outcome {
        std::function<void()> apply;
        std::function<bool()> ready;
    };

    /// What one worker works on: its own copies, its answer and its generation, its writers and
    /// the outcomes not yet applied, in batch order.
    struct Worker {
        QList<PhotoFilePtr> photos;
        RunOptions options;
        int processFlag = 0;
        quint64 generation = 0;
        std::optional<QHash<QString, int>> lastIndexOfSource; // file identity -> last batch index
        std::unique_ptr<ProcessingWritePool> pool;
        std::deque<Outcome> outcomes;
        /// The estimated bytes that the writes in flight will still add to their volumes.
        std::atomic<qint64> bytesInFlight { 0 };
    };

    void runWorker(Worker& worker);
    void processFilesInBatch(Worker& worker);
    void processFileFromBunch(Worker& worker, int index);
    /// Runs fn on the main thread if the worker is still the current one; false when superseded.
    bool hop(const Worker& worker, const std::function<void()>& fn);
    void report(int status, const QString& message);
    /// The progress panel's current-photo line: the oldest photo not yet counted once the worker
    /// has reached it, else the one counted last; never a photo beyond the count.
    void showCurrentPhoto();
    bool isSourceOfLaterPhoto(Worker& worker, const QString& path, int index);
    /// Queues the outcome of a photo decided without a write; it is counted when the run was in
    /// progress for this worker at the time of the decision.
    void queueOutcome(Worker& worker, std::function<void()> apply);
    /// Hands the write of a photo to the writers (waiting for a free one) and queues its outcome.
    /// Before a write that may end the process, the log rows of the outcomes applied so far are
    /// written (keepRunSoFar).
    void dispatchWrite(Worker& worker, const PhotoFilePtr& photo, const QString& outputPath);
    void keepRunSoFar(Worker& worker);
    /// Applies the outcomes at the head of the queue that are ready; with `all`, waits for every
    /// write and applies everything.
    void applyOutcomes(Worker& worker, bool all);
    /// Waits until no write in flight uses `path` in a way that conflicts with `use` (see
    /// ProcessingWritePool::isBusyWith).
    void waitForPath(
        Worker& worker, const QString& path, ProcessingWritePool::Use use = ProcessingWritePool::Use::Write);

    void askOrKeepPending(Question question);
    void requestEnd();
    void finishRun();
    /// Records as written the photos whose writes put their outputs in place before the run ended
    /// but whose outcomes had not been applied yet (they wait for an earlier photo, in batch order).
    void recordCommittedWrites(const QSet<QString>& committed);
    /// The rest of the end of a run once its log write has ended: the notice of a lost log, the
    /// end-of-run notifications and the output folder.
    void logWritten(const RunLogResult& result);
    void answerFile(int answer);
    void answerBatch(int answer);
    QString elapsedText() const;
    int convertedCount() const;

    RunDependencies m_deps;
    RunView* m_view = nullptr;

    // Main thread only.
    RunOptions m_options;
    QList<PhotoFilePtr> m_arrPhotosToProcess;
    QDateTime m_processStartedDateTime;
    QString m_processStartTimeStr;
    PhotoFilePtr m_fileToOverwrite;
    QString m_filePathToOverwrite;
    QString m_newFilePath;
    QSet<QString> m_outputFolders;
    Question m_pendingQuestion = Question::None;
    bool m_questionOpen = false;
    // A write found the volume full. Its photo is counted (so that the outcomes after it stay on
    // their own photos) and a resume would not try it again: the run holds for low space until OK
    // on alert 102 or a stop, and the stop question's No brings the alert back instead of resuming.
    bool m_fullDiskHold = false;
    bool m_runActive = false;
    bool m_endRequested = false;
    bool m_runEnded = true;
    bool m_logPending = false; // the ended run's log is being written; no new run starts meanwhile
    QString m_logRunId; // the identity of the last run's log, once written
    int m_activeWorkers = 0;
    int m_reachedIndex = -1; // the furthest photo of the run that a worker has begun
    bool m_countRegardless = false; // a queued outcome decided while the run was in progress
    QSet<const PhotoFile*> m_handedToWriters; // photos sent to be written, their outcomes not yet applied
    std::vector<std::function<void()>> m_whenWorkersReturned;

    // Read by the worker between steps.
    std::atomic<bool> m_isPHOTOS_PROCESSING_IN_PROGERESS { false };
    std::atomic<bool> m_isProcessOnHold { false };
    std::atomic<bool> m_isProcessStopped { false };
    std::atomic<int> m_currentFileFlag { 0 };
    std::atomic<int> m_counterTotalProgressedFiles { 0 };
    std::atomic<int> m_counterProcessedSuccessfully { 0 };
    std::atomic<int> m_counterProcessedWithError { 0 };
    std::atomic<quint64> m_generation { 0 };

    // File identities of the outputs this run has written: a later photo never replaces them.
    // Written by the writers after each write, read by the worker deciding the next photo; an
    // output still being written counts as written.
    mutable std::mutex m_writtenMutex;
    QSet<QString> m_outputsWritten;
    bool wasWrittenThisRun(const Worker& worker, const QString& path) const;
    const int m_writers;
};

} // namespace vantrel
