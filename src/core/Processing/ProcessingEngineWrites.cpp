// The worker's side of the writers: the write step handed to the pool, the outcomes applied in
// batch order, and the waits on paths that a write in flight reads or writes. Worker thread.
#include "core/Processing/ProcessingEngine.h"

#include "core/Processing/ProcessingHop.h"
#include "core/Processing/RunCommitGate.h"
#include "core/Processing/RunSummary.h"
#include "core/Processing/RunText.h"

namespace vantrel {

namespace {

/// What a writer hands back to the worker.
struct WriteDone {
    RunWriteResult written;
    double newSize = 0;
    std::atomic<bool> done { false };
    /// The worker's count of the bytes the writes in flight will add, and this write's share.
    std::atomic<qint64>* bytesInFlight = nullptr;
    qint64 outputBytes = 0;
};

} // namespace

void ProcessingEngine::queueOutcome(Worker& worker, std::function<void()> apply)
{
    const bool counted = worker.generation == m_generation.load() && m_isPHOTOS_PROCESSING_IN_PROGERESS.load();
    worker.outcomes.push_back({ [this, &worker, counted, apply = std::move(apply)] {
                                   processing::syncHop(this, [&] {
                                       // A superseded worker records nothing it decided after its
                                       // run was held; what it decided before is counted. Nothing
                                       // is recorded after the summary.
                                       if (m_runEnded || (!counted && worker.generation != m_generation.load()))
                                           return;
                                       m_countRegardless = counted;
                                       apply();
                                       m_countRegardless = false;
                                   });
                               },
        {} });
    applyOutcomes(worker, false);
}

void ProcessingEngine::dispatchWrite(Worker& worker, const PhotoFilePtr& photo, const QString& outputPath)
{
    // The run has ended under a worker that was still deciding (a stop): nothing more is written.
    if (worker.options.commitGate && worker.options.commitGate->isClosed())
        return;
    ProcessingWritePool& pool = *worker.pool;
    while (pool.isFull()) {
        const quint64 seen = pool.completions();
        applyOutcomes(worker, false);
        if (pool.isFull())
            pool.waitPast(seen);
    }
    if (m_deps.logDatabase && m_deps.pipeline->mayEndProcess(*photo, outputPath, worker.options))
        keepRunSoFar(worker);
    auto result = std::make_shared<WriteDone>();
    const RunOptions* options = &worker.options;
    const qint64 memoryNeed = m_deps.pipeline->memoryNeed(*photo, outputPath, worker.options);
    result->bytesInFlight = &worker.bytesInFlight;
    result->outputBytes = m_deps.pipeline->outputBytes(*photo, outputPath, worker.options);
    worker.bytesInFlight += result->outputBytes;
    pool.dispatch(photo->fileURL(), outputPath, memoryNeed, [this, photo, outputPath, options, result] {
        // A failed write is recorded as the failure it is, never as written.
        result->written = m_deps.pipeline->write(*photo, outputPath, *options);
        *result->bytesInFlight -= result->outputBytes;
        if (result->written.status == 1) {
            result->newSize = static_cast<double>(m_deps.probe->fileSize(outputPath).value_or(0));
            if (const std::optional<QString> identity = m_deps.probe->fileIdentity(outputPath)) {
                const std::lock_guard lock(m_writtenMutex);
                m_outputsWritten.insert(*identity);
            }
        }
        result->done.store(true, std::memory_order_release);
    });
    // The outcome is recorded and counted even when a hold or a resume came meanwhile: the file is
    // on disk, and the run must go on after it rather than write it again or ask about it. After
    // the summary (a stop does not wait for the writes) it is dropped: the run's gate kept the
    // output from being put in place, or the end of the run recorded it already.
    worker.outcomes.push_back(
        { [this, photo, result] {
             const RunWriteResult written = result->written;
             const double newSize = result->newSize;
             processing::syncHop(this, [&] {
                 if (m_runEnded)
                     return;
                 m_handedToWriters.remove(photo.get());
                 m_countRegardless = true;
                 photo->setProcessStatus(written.status);
                 if (written.status == 1) {
                     ++m_counterProcessedSuccessfully;
                     photo->setNewfileSizeInBytes(newSize);
                     photo->setNewfileSizeAsString(RunText::bytes(newSize));
                     report(1, QStringLiteral("File Processed"));
                 } else if (written.status == static_cast<int>(ProcessStatus::DestinationAccessDenied)
                     || written.status == static_cast<int>(ProcessStatus::DestinationMissing)) {
                     report(written.status, QStringLiteral("Permisssion error"));
                 } else if (written.noSpace) {
                     // The volume filled up under the writes in flight: the photo is held like
                     // one that the free-space test stops, not failed. It is counted, so that the
                     // outcomes after it stay on their own photos. One alert per hold: under the
                     // stop question (which the alert would replace) it comes with the answer No.
                     photo->setProcessStatus(ProcessStatus::Skipped);
                     report(static_cast<int>(ProcessStatus::Skipped), QStringLiteral("File skipped"));
                     if (!m_endRequested && !m_fullDiskHold) {
                         m_fullDiskHold = true;
                         if (!m_isProcessOnHold)
                             showEnoughSpacePopup();
                     }
                 } else if (written.sourceChanged) {
                     report(2, RunText::sourceChanged());
                 } else if (written.status == static_cast<int>(ProcessStatus::DimensionTooLong)) {
                     report(2, QStringLiteral("File size exceeded"));
                 } else {
                     report(2, QStringLiteral("File not Processed"));
                 }
                 m_countRegardless = false;
             });
         },
            [result] { return result->done.load(std::memory_order_acquire); } });
    applyOutcomes(worker, false);
}

void ProcessingEngine::keepRunSoFar(Worker& worker)
{
    // Where a library ends the process in the middle of the next write, the rows of the photos
    // recorded before it are in the log: those the end of the run would write now.
    applyOutcomes(worker, false);
    QVariantMap summary;
    QList<QVariantMap> details;
    bool ended = false;
    processing::syncHop(this, [&] {
        ended = m_runEnded;
        if (ended)
            return;
        const QString stamp = RunSummary::runStamp(m_processStartedDateTime);
        summary = RunSummary::summaryRow(stamp, RunSummary::summaryTexts(m_arrPhotosToProcess, elapsedText()));
        details = detailRows(stamp);
    });
    if (!ended)
        m_deps.logDatabase->keepRunSoFar(summary, details);
}

void ProcessingEngine::applyOutcomes(Worker& worker, bool all)
{
    while (!worker.outcomes.empty()) {
        Outcome& front = worker.outcomes.front();
        if (front.ready && !front.ready()) {
            if (!all)
                return;
            const quint64 seen = worker.pool->completions();
            if (!front.ready())
                worker.pool->waitPast(seen);
            continue;
        }
        const std::function<void()> apply = std::move(front.apply);
        worker.outcomes.pop_front();
        apply();
    }
}

void ProcessingEngine::waitForPath(Worker& worker, const QString& path, ProcessingWritePool::Use use)
{
    if (!worker.pool->isBusyWith(path, use))
        return;
    worker.pool->waitUntilFree(path, use);
    applyOutcomes(worker, false);
}

} // namespace vantrel
