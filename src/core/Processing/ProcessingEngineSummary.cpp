// The end of a run: the one guarded end, the summary, the log rows, the end-of-run notifications
// and the output folder; and the bottom progress line. Main thread only.
#include "core/Processing/ProcessingEngine.h"

#include <QStringList>

#include "core/AppDelegate.h"
#include "core/Catalogue.h"
#include "core/Processing/RunCommitGate.h"
#include "core/Processing/RunSummary.h"
#include "core/Processing/RunText.h"
#include "platform/NotificationCenter.h"

namespace vantrel {

void ProcessingEngine::requestEnd()
{
    if (m_runEnded)
        return;
    m_endRequested = true;
    m_pendingQuestion = Question::None;
    // The summary describes the files on disk: a worker still writing is awaited (without
    // blocking; its last hop ends the run).
    if (m_activeWorkers == 0)
        finishRun();
}

void ProcessingEngine::finishRun()
{
    if (m_runEnded)
        return;
    m_runEnded = true;
    m_isPHOTOS_PROCESSING_IN_PROGERESS = false;
    m_isProcessOnHold = false;
    m_questionOpen = false;
    // From here on no write of this run puts its output in place. A worker still busy (a stop does
    // not wait for it) is superseded: it leaves at its next hop, starts no write, and what it or
    // its writers finish later is dropped.
    if (m_options.commitGate)
        recordCommittedWrites(m_options.commitGate->close());
    ++m_generation;
    m_handedToWriters.clear();
    // Temporaries of interrupted writes in the run's output folders (of this run when it was cut
    // off, or of an earlier process that was killed) are removed; writes in progress hold theirs.
    if (!m_outputFolders.isEmpty())
        m_deps.pipeline->removeTemporaries(QStringList(m_outputFolders.begin(), m_outputFolders.end()));
    if (m_view)
        m_view->showSummaryPanel();
    addSummaryInfo();
    m_runActive = false;
}

void ProcessingEngine::recordCommittedWrites(const QSet<QString>& committed)
{
    for (const PhotoFilePtr& photo : m_arrPhotosToProcess) {
        if (!m_handedToWriters.contains(photo.get()) || !committed.contains(photo->filePathNew()))
            continue;
        const double newSize = static_cast<double>(m_deps.probe->fileSize(photo->filePathNew()).value_or(0));
        photo->setProcessStatus(ProcessStatus::Processed);
        photo->setNewfileSizeInBytes(newSize);
        photo->setNewfileSizeAsString(RunText::bytes(newSize));
        photo->setProcessInfoMessage(QStringLiteral("File Processed"));
        ++m_counterProcessedSuccessfully;
        ++m_counterTotalProgressedFiles;
    }
}

QString ProcessingEngine::elapsedText() const
{
    return RunSummary::elapsedText(m_processStartedDateTime, m_deps.clock->now());
}

int ProcessingEngine::convertedCount() const
{
    int converted = 0;
    for (const PhotoFilePtr& photo : m_arrPhotosToProcess)
        converted += photo->processStatus() == static_cast<qint32>(ProcessStatus::Processed) ? 1 : 0;
    return converted;
}

void ProcessingEngine::addSummaryInfo()
{
    const RunSummaryTexts texts = RunSummary::summaryTexts(m_arrPhotosToProcess, elapsedText());
    if (m_view) {
        m_view->setTitle(texts.processTitle);
        m_view->setSummary(texts);
        // The write may wait for another copy of the application that holds the log: until it
        // answers, the summary says why Finish and Show Logs have not appeared yet.
        m_view->setLogNotice(m_deps.logDatabase ? QStringLiteral("Saving this run's log…") : QString());
    }
    insertDetailsInDatabase(RunSummary::runStamp(m_processStartedDateTime), texts);
    // Nothing is left to stop: a quit from here on is not asked whether to stop the run (it still
    // waits for the log, isRunActive).
    AppDelegate::shareDelegate()->isProcessingInProgress = false;
}

void ProcessingEngine::insertDetailsInDatabase(const QString& stamp, const RunSummaryTexts& texts)
{
    RunLogDatabase* log = m_deps.logDatabase.get();
    if (!log) {
        logWritten({});
        return;
    }
    m_logPending = true;
    log->writeRunLog(
        RunSummary::summaryRow(stamp, texts), detailRows(stamp), [self = weak_from_this()](const RunLogResult& result) {
            if (const auto engine = self.lock())
                engine->logWritten(result);
        });
}

QList<QVariantMap> ProcessingEngine::detailRows(const QString& stamp) const
{
    QList<QVariantMap> rows;
    rows.reserve(m_arrPhotosToProcess.size());
    for (const PhotoFilePtr& photo : m_arrPhotosToProcess)
        rows.append(RunSummary::detailRow(stamp, *photo));
    return rows;
}

void ProcessingEngine::logWritten(const RunLogResult& result)
{
    m_logPending = false;
    m_logRunId = result.runId;
    // The run's outputs are on disk either way; the summary says what became of its log.
    if (m_view)
        m_view->setLogNotice(RunSummary::logNotice(result));

    NotificationCenter& center = NotificationCenter::defaultCenter();
    center.post(kNotificationsEnable);
    center.post(kNotificationsSaveasPredefinedSize);
    center.post(kNotificationsProcessFinished);

    m_deps.clock->schedule(200, [self = weak_from_this()] {
        if (const auto engine = self.lock())
            engine->openOutputFolder();
    });
    m_isPHOTOS_PROCESSING_IN_PROGERESS = false;
    AppDelegate::shareDelegate()->isProcessingInProgress = false;
}

void ProcessingEngine::setProcessInfoAtBottm()
{
    if (!m_view)
        return;
    m_view->setBottomLine(RunSummary::bottomLine(m_counterProcessedWithError.load(),
        m_counterTotalProgressedFiles.load(), m_arrPhotosToProcess.size(), elapsedText()));
}

void ProcessingEngine::openOutputFolder()
{
    if (m_options.job.folderOption != 1 || convertedCount() < 1 || !m_deps.folderOpener)
        return;
    if (m_deps.probe->isDirectory(m_options.job.ouptputFolder))
        m_deps.folderOpener->openFolder(m_options.job.ouptputFolder);
}

QVariantMap ProcessingEngine::getLogDetails() const
{
    QVariantMap details
        = RunSummary::logDetails(m_arrPhotosToProcess, RunSummary::runStamp(m_processStartedDateTime), elapsedText());
    details.insert(QStringLiteral("runId"), m_logRunId);
    return details;
}

QString ProcessingEngine::getMessageForstatus(qint32 status)
{
    return RunSummary::getMessageForstatus(status);
}

} // namespace vantrel
