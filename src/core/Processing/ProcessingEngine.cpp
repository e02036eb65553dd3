#include "core/Processing/ProcessingEngine.h"

#include <algorithm>
#include <cstdio>
#include <utility>

#include <QFileInfo>

#include "core/AppDelegate.h"
#include "core/Catalogue.h"
#include "core/Processing/OutputPathBuilder.h"
#include "core/Processing/PhotoPipeline.h"
#include "core/Processing/ProcessingHop.h"
#include "core/Processing/RunCommitGate.h"
#include "core/Processing/RunText.h"
#include "platform/MainThread.h"
#include "platform/NotificationCenter.h"

namespace vantrel {

namespace {

using processing::syncHop;

// The formats a run writes back as they are; a source with any other extension is a RAW (or
// similar) photo that "skipRaw" leaves out.
bool isWritableFormat(const QString& extension)
{
    return OutputPathBuilder::outputFormatList().contains(extension.toLower());
}

} // namespace

std::shared_ptr<ProcessingEngine> ProcessingEngine::create(RunDependencies dependencies)
{
    return std::shared_ptr<ProcessingEngine>(new ProcessingEngine(std::move(dependencies)));
}

ProcessingEngine::ProcessingEngine(RunDependencies dependencies)
    : m_deps(std::move(dependencies))
    , m_writers(m_deps.writers > 0 ? m_deps.writers : ProcessingWritePool::defaultWriters())
{
}

ProcessingEngine::~ProcessingEngine() = default;

bool ProcessingEngine::startProcess(const RunOptions& options)
{
    if (m_runActive || m_activeWorkers > 0 || m_logPending) {
        std::fprintf(stderr, "startProcess: a run is still going on; the new one is refused\n");
        return false;
    }
    AppDelegate* app = AppDelegate::shareDelegate();
    m_options = options;
    m_options.job.rawConvertFormat = app->rawConvertFormat();

    // Every copy of the run's options (each worker's) shares the run's gate.
    m_options.commitGate = std::make_shared<RunCommitGate>();

    m_arrPhotosToProcess.clear();
    m_handedToWriters.clear();
    if (m_view)
        m_view->showProgressPanel();
    // A hold, an answer or a typed name left over from an earlier run must not reach this one.
    m_isProcessStopped = false;
    m_isProcessOnHold = false;
    m_currentFileFlag = 0;
    m_newFilePath.clear();
    m_fileToOverwrite.reset();
    m_filePathToOverwrite.clear();
    m_pendingQuestion = Question::None;
    m_questionOpen = false;
    m_fullDiskHold = false;
    m_outputFolders.clear();
    {
        const std::lock_guard lock(m_writtenMutex);
        m_outputsWritten.clear();
    }
    m_endRequested = false;
    m_runEnded = false;
    m_logRunId.clear();
    m_runActive = true;

    for (const PhotoFilePtr& photo : app->arraySelectedImagesToProcess) {
        if (!photo || !photo->isSelected())
            continue;
        photo->setProcessStatus(ProcessStatus::NotProcessed);
        photo->setNewfileSizeInBytes(0);
        photo->setNewfileSizeAsString(QString());
        photo->setFilePathNew(QString());
        photo->setProcessInfoMessage(QString()); // this run's message, or none if it never gets there
        m_arrPhotosToProcess.append(photo);
    }
    m_counterTotalProgressedFiles = 0;
    m_reachedIndex = -1;
    m_counterProcessedSuccessfully = 0;
    m_counterProcessedWithError = 0;
    if (m_view)
        m_view->setProgressValue(0);

    m_processStartedDateTime = m_deps.clock->now();
    m_processStartTimeStr = RunText::date(m_processStartedDateTime, QStringLiteral("MM-dd-YYYY")) + QLatin1Char(' ')
        + RunText::date(m_processStartedDateTime, QStringLiteral("hh:mm:s a"));
    setProcessInfoAtBottm();
    // The screens are disabled before the worker can report anything (an executor may run it at
    // once), so that the end of a short run always comes after this.
    NotificationCenter::defaultCenter().post(kNotificationsDisbleView);
    startProcessingOfPhotos(kAskForEach);
    // A run without photos ends at once, so that the screens are enabled again.
    if (m_arrPhotosToProcess.isEmpty())
        requestEnd();
    return true;
}

bool ProcessingEngine::startProcess(
    const OutputOptionSettings& outputSettingObject, const ResizingOptionsSettingObject& resizingOptionObject)
{
    return startProcess(
        RunOptions::from(outputSettingObject, resizingOptionObject, AppDelegate::shareDelegate()->rawConvertFormat()));
}

void ProcessingEngine::startProcessingOfPhotos(int processFlag)
{
    if (m_arrPhotosToProcess.isEmpty() || !m_runActive || m_endRequested)
        return;
    AppDelegate::shareDelegate()->isProcessingInProgress = true;
    m_isPHOTOS_PROCESSING_IN_PROGERESS = true;
    // A question kept back while a sheet was open no longer applies: the resumed photo asks again
    // whatever it still needs.
    m_pendingQuestion = Question::None;
    if (m_view)
        m_view->setTitle(QStringLiteral("Processing..."));

    // The previous worker, if it has not returned yet, is superseded: it leaves at its next hop,
    // and the serial executor starts this one only after it.
    auto worker = std::make_shared<Worker>();
    worker->photos = m_arrPhotosToProcess;
    worker->options = m_options;
    worker->processFlag = processFlag;
    worker->generation = ++m_generation;
    ++m_activeWorkers;
    m_deps.executor->submit([self = shared_from_this(), worker] { self->runWorker(*worker); });
}

void ProcessingEngine::runWorker(Worker& worker)
{
    worker.pool = std::make_unique<ProcessingWritePool>(m_writers);
    processFilesInBatch(worker);
    // Every photo handed to the writers is finished and recorded before the worker returns, so
    // that a resumed worker goes on after it and the summary describes the files on disk.
    applyOutcomes(worker, true);
    worker.pool.reset();
    syncHop(this, [this] {
        --m_activeWorkers;
        if (m_activeWorkers == 0 && m_endRequested && !m_runEnded)
            finishRun();
        if (m_activeWorkers == 0) {
            for (const std::function<void()>& done : std::exchange(m_whenWorkersReturned, {}))
                done();
        }
    });
}

void ProcessingEngine::whenWorkersReturned(std::function<void()> done)
{
    if (m_activeWorkers == 0)
        done();
    else
        m_whenWorkersReturned.push_back(std::move(done));
}

bool ProcessingEngine::hop(const Worker& worker, const std::function<void()>& fn)
{
    bool current = false;
    syncHop(this, [&] {
        current = worker.generation == m_generation.load();
        if (current)
            fn();
    });
    return current;
}

void ProcessingEngine::processFilesInBatch(Worker& worker)
{
    const int count = static_cast<int>(worker.photos.size());
    for (int index = std::max(0, m_counterTotalProgressedFiles.load());; ++index) {
        if (index >= count || worker.generation != m_generation.load())
            return;
        if (m_isPHOTOS_PROCESSING_IN_PROGERESS)
            processFileFromBunch(worker, index);
        else if (m_isProcessOnHold)
            return;
        // Whether the run ends here is decided on the main thread, where the flags cannot change
        // under the test (an answer given meanwhile supersedes this worker instead).
        if (index == count - 1 || !m_isPHOTOS_PROCESSING_IN_PROGERESS || m_isProcessStopped) {
            applyOutcomes(worker, true);
            bool leave = false;
            const bool current = hop(worker, [&] {
                if ((index == count - 1 || !m_isPHOTOS_PROCESSING_IN_PROGERESS || m_isProcessStopped)
                    && !m_isProcessOnHold) {
                    requestEnd();
                    leave = true;
                }
            });
            if (!current || leave)
                return;
        }
    }
}

void ProcessingEngine::report(int status, const QString& message)
{
    callForUpdatingProgressWithCountWithProcessStatus(status, message);
}

void ProcessingEngine::callForUpdatingProgressWithCountWithProcessStatus(int status, const QString& processMsg)
{
    if (!m_isPHOTOS_PROCESSING_IN_PROGERESS && !m_countRegardless)
        return;
    const int done = ++m_counterTotalProgressedFiles;
    const int count = static_cast<int>(m_arrPhotosToProcess.size());
    if (m_view)
        m_view->setProgressValue(count > 0 ? done * 100 / count : 100);
    if (status == 2)
        ++m_counterProcessedWithError;
    setProcessInfoAtBottm();
    if (done <= count)
        m_arrPhotosToProcess[done - 1]->setProcessInfoMessage(processMsg);
    showCurrentPhoto();
    if (done == count)
        requestEnd();
}

void ProcessingEngine::showCurrentPhoto()
{
    if (m_isProcessOnHold || !m_view)
        return;
    // Outcomes are counted in batch order, so the photo at the count is the oldest one not yet
    // counted: it is named once the worker has reached it (it is being written, or its outcome
    // waits for the writes before it); else the line keeps the photo counted last. The worker may
    // be deciding photos further on meanwhile; they are not named before their turn.
    const int done = m_counterTotalProgressedFiles.load();
    const int count = static_cast<int>(m_arrPhotosToProcess.size());
    const int index = done < count && done <= m_reachedIndex ? done : done - 1;
    if (index >= 0 && index < count)
        m_view->setCurrentPath(m_arrPhotosToProcess[index]->filePath());
}

bool ProcessingEngine::checkForReadOnlyFilePath(const QString& path) const
{
    return m_deps.probe->isReadOnly(path);
}

bool ProcessingEngine::checkForReadOnlyParentFolderPath(const QString& path) const
{
    return m_deps.probe->isReadOnly(path);
}

bool ProcessingEngine::checkForLockedFile(const QString& path) const
{
    return m_deps.probe->isLocked(path);
}

bool ProcessingEngine::checkForReadOnlyParentFolder(const QVariantMap& info) const
{
    return checkForReadOnlyParentFolderPath(info.value(QStringLiteral("FolderPath")).toString());
}

bool ProcessingEngine::wasWrittenThisRun(const Worker& worker, const QString& path) const
{
    if (worker.pool && worker.pool->isBusyWith(path))
        return true;
    const std::optional<QString> identity = m_deps.probe->fileIdentity(path);
    if (!identity)
        return false;
    const std::lock_guard lock(m_writtenMutex);
    return m_outputsWritten.contains(*identity);
}

bool ProcessingEngine::isSourceOfLaterPhoto(Worker& worker, const QString& path, int index)
{
    const std::optional<QString> identity = m_deps.probe->fileIdentity(path);
    if (!identity)
        return false;
    if (!worker.lastIndexOfSource) {
        QHash<QString, int> last;
        for (int i = 0; i < worker.photos.size(); ++i) {
            if (const auto id = m_deps.probe->fileIdentity(worker.photos[i]->fileURL()))
                last.insert(*id, i);
        }
        worker.lastIndexOfSource = std::move(last);
    }
    return worker.lastIndexOfSource->value(*identity, -1) > index;
}

void ProcessingEngine::processFileFromBunch(Worker& worker, int index)
{
    const PhotoFilePtr photo = worker.photos[index];
    const RunOptions& options = worker.options;
    const int flag = worker.processFlag;
    RunFileProbe& probe = *m_deps.probe;

    // 1. RAW photos are left out without being opened when the user chose to skip them.
    if (options.job.rawConvertFormat == QLatin1String("skipRaw") && !isWritableFormat(photo->fileExtension())) {
        queueOutcome(worker, [this, &worker, photo] {
            photo->setProcessStatus(ProcessStatus::Skipped);
            if (worker.generation == m_generation.load())
                m_currentFileFlag = 0;
            report(2, QStringLiteral("File skipped"));
        });
        return;
    }

    // 2-4. The output path (the pixels are loaded by the pipeline when it writes); a typed new
    // name for this photo replaces it.
    QString outputPath = m_deps.pipeline->outputPath(*photo, options);
    if (!hop(worker, [&] {
            photo->setFilePathNew(outputPath);
            m_reachedIndex = std::max(m_reachedIndex, index);
            showCurrentPhoto();
            if (m_currentFileFlag == kRenameFile) {
                m_currentFileFlag = 0;
                outputPath = m_newFilePath;
            }
        }))
        return;
    // An earlier photo still reading or writing this output, or writing this source, is awaited:
    // the tests below see the file system as a one-at-a-time run would.
    waitForPath(worker, outputPath);
    waitForPath(worker, photo->fileURL(), ProcessingWritePool::Use::Read);
    QString folder = QFileInfo(outputPath).path();

    // 5. Too little free space holds the run behind the low-space alert. A folder that does not
    // exist yet cannot be examined and is not tested. The writes in flight will still add their
    // (estimated) bytes: when they would take the volume below the reserve, they are awaited and
    // the volume tested again before the run is held.
    std::optional<qint64> free = probe.freeBytes(folder);
    if (const qint64 inFlight = worker.bytesInFlight.load();
        free && inFlight > 0 && *free - inFlight < kMinimumFreeBytes) {
        applyOutcomes(worker, true);
        free = probe.freeBytes(folder);
    }
    if (free && *free < kMinimumFreeBytes) {
        applyOutcomes(worker, true);
        if (!hop(worker, [&] {
                photo->setProcessStatus(ProcessStatus::Skipped);
                if (!m_isProcessOnHold)
                    showEnoughSpacePopup();
            }))
            return;
    }

    // 6. Missing source.
    if (!probe.exists(photo->fileURL())) {
        queueOutcome(worker, [this, photo] {
            photo->setProcessStatus(ProcessStatus::SourceMissing);
            report(2, QStringLiteral("File not Processed"));
        });
        return;
    }

    // 7. Existing output: skip it, or ask (the photo is then not counted and is processed again
    // with the answer when the run resumes). The question waits for every write in flight.
    const int fileFlag = m_currentFileFlag.load();
    const bool outputExists = probe.exists(outputPath);
    if (outputExists && flag != kReplaceAll && options.askBeforeOverwrite
        && !(flag == kKeepAll || fileFlag == kReplaceFile || fileFlag == kKeepFile)) {
        if (flag == kSkipAll || fileFlag == kSkipFile) {
            queueOutcome(worker, [this, &worker, photo] {
                photo->setProcessStatus(ProcessStatus::Skipped);
                if (worker.generation == m_generation.load())
                    m_currentFileFlag = 0;
                report(2, QStringLiteral("File size exceeded"));
            });
        } else {
            applyOutcomes(worker, true);
            hop(worker, [&] {
                if (m_isProcessOnHold)
                    return;
                m_fileToOverwrite = photo;
                m_filePathToOverwrite = outputPath;
                showOverwriteExistingFilePopup();
            });
        }
        return;
    }

    // 8. Keep both. Replacing, whether answered for this file, for the batch or not asked at all,
    // never destroys the source of a photo that the run has still to read, nor an output that this
    // run wrote (or is writing) for an earlier photo: that output goes under a free name. A free
    // name that a write in flight is about to take is awaited and chosen again.
    const QString chosenPath = outputPath;
    for (;;) {
        outputPath = chosenPath;
        if (flag == kKeepAll || fileFlag == kKeepFile)
            outputPath = RunText::collisionFreePath(outputPath);
        else if (outputExists
            && (wasWrittenThisRun(worker, outputPath) || isSourceOfLaterPhoto(worker, outputPath, index)))
            outputPath = RunText::collisionFreePath(outputPath);
        if (outputPath == chosenPath || !worker.pool->isBusyWith(outputPath))
            break;
        waitForPath(worker, outputPath);
    }

    // 9. The file answer is used up; a hold or a stop that came meanwhile ends the photo with
    // nothing written. Done on the main thread, where the answer and the flags cannot change under
    // it, and only by the current worker, so that an answer given for the next one is kept.
    folder = QFileInfo(outputPath).path();
    bool proceed = false;
    const bool current = hop(worker, [&] {
        m_currentFileFlag = 0;
        proceed = m_isPHOTOS_PROCESSING_IN_PROGERESS;
        if (!proceed)
            return;
        photo->setFilePathNew(outputPath);
        m_outputFolders.insert(folder);
        m_handedToWriters.insert(photo.get());
    });
    if (!current || !proceed)
        return;

    // 10. The output folder.
    if (!probe.isDirectory(folder) && probe.makeFolder(folder))
        std::fprintf(stderr, "directory created successfully %s\n", qUtf8Printable(folder));

    // 11. The size step.
    const RunSizeCheck size = m_deps.pipeline->checkSize(*photo, options);
    if (size != RunSizeCheck::Accepted) {
        queueOutcome(worker, [this, photo, size] {
            if (size == RunSizeCheck::Refused) {
                photo->setProcessStatus(ProcessStatus::DimensionTooLong);
                report(2, QStringLiteral("File size exceeded"));
            } else {
                photo->setProcessStatus(ProcessStatus::NotProcessed);
                report(2, QStringLiteral("File not Processed"));
            }
        });
        return;
    }

    // 12. Permissions (not counted as errors of the bottom line). Reading a photo needs no write
    // permission: a read-only or locked source (a locked card, a copy from optical media, a
    // read-only share) is refused only when its output would replace that very file.
    const std::optional<QString> outputIdentity = probe.fileIdentity(outputPath);
    const bool replacesSource = outputIdentity && outputIdentity == probe.fileIdentity(photo->fileURL());
    const bool sourceDenied
        = replacesSource && (checkForReadOnlyFilePath(photo->filePath()) || checkForLockedFile(photo->filePath()));
    if (sourceDenied || checkForReadOnlyParentFolderPath(folder)) {
        const auto status = sourceDenied ? ProcessStatus::SourceAccessDenied
            : probe.isDirectory(folder)  ? ProcessStatus::DestinationAccessDenied
                                         : ProcessStatus::DestinationMissing;
        queueOutcome(worker, [this, photo, status] {
            photo->setProcessStatus(status);
            report(static_cast<int>(status), QStringLiteral("Permisssion error"));
        });
        return;
    }

    // 13. Name length.
    if (PhotoPipeline::isFileNameTooLong(QFileInfo(outputPath).fileName())) {
        queueOutcome(worker, [this, photo] {
            photo->setProcessStatus(ProcessStatus::InvalidFileName);
            report(2, QStringLiteral("File not Processed"));
        });
        return;
    }

    // 14. Write.
    dispatchWrite(worker, photo, outputPath);
}

} // namespace vantrel
