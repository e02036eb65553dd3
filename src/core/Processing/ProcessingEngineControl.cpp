// Run control: hold, resume and stop, the low-space alert, and the overwrite question with its
// answers. Main thread only.
#include "core/Processing/ProcessingEngine.h"

#include <QFileInfo>

#include "core/AppDelegate.h"
#include "core/Catalogue.h"
#include "core/Processing/OutputPathBuilder.h"
#include "platform/NotificationCenter.h"

namespace vantrel {

void ProcessingEngine::holdProcessing()
{
    m_isProcessOnHold = true;
    m_isPHOTOS_PROCESSING_IN_PROGERESS = false;
}

void ProcessingEngine::restartProcessing()
{
    if (!m_runActive || m_endRequested)
        return;
    // The photo whose write found the volume full would not be tried again: the run goes back to
    // its low-space hold rather than on past it.
    if (m_fullDiskHold) {
        showEnoughSpacePopup();
        return;
    }
    m_isProcessOnHold = false;
    // The file answer doubles as the batch answer here, so a batch answer given before the hold
    // is not kept (the next existing output asks again).
    startProcessingOfPhotos(m_currentFileFlag.load());
}

void ProcessingEngine::stopProcessing()
{
    if (!m_runActive)
        return;
    m_isProcessStopped = true;
    m_isPHOTOS_PROCESSING_IN_PROGERESS = false;
    m_isProcessOnHold = false;
    m_pendingQuestion = Question::None;
    m_questionOpen = false;
    // The summary comes now, not when the photo being read or written is done: a source that
    // stopped answering would hold it for as long as it does (see finishRun).
    m_endRequested = true;
    finishRun();
}

void ProcessingEngine::btnStopProcessTapped()
{
    if (!m_isProcessOnHold)
        stopProcessing();
}

void ProcessingEngine::btnYesOnAbortTapped()
{
    AppDelegate::shareDelegate()->isSubWindowOpened = false;
}

void ProcessingEngine::showEnoughSpacePopup()
{
    m_isProcessOnHold = true;
    m_isPHOTOS_PROCESSING_IN_PROGERESS = false;
    askOrKeepPending(Question::LowSpace);
}

void ProcessingEngine::btnOkOnEnoughtSpcaecTapped()
{
    if (!m_runActive)
        return;
    // The run is not resumed: the photos it did not reach count as not converted.
    m_isProcessOnHold = false;
    m_isPHOTOS_PROCESSING_IN_PROGERESS = false;
    if (m_pendingQuestion == Question::LowSpace)
        m_pendingQuestion = Question::None;
    requestEnd();
}

void ProcessingEngine::showOverwriteExistingFilePopup()
{
    if (m_isProcessStopped)
        return;
    m_isProcessOnHold = true;
    m_isPHOTOS_PROCESSING_IN_PROGERESS = false;
    m_questionOpen = true;
    if (m_view) {
        const QString renameText
            = OutputPathBuilder::baseName(OutputPathBuilder::baseName(QFileInfo(m_filePathToOverwrite).fileName()));
        m_view->setRenameError(QString());
        m_view->setOverwriteQuestion(
            renameText, m_filePathToOverwrite, m_fileToOverwrite ? m_fileToOverwrite->filePath() : QString());
    }
    askOrKeepPending(Question::Overwrite);
}

void ProcessingEngine::hideOverwriteExistingFilePopup()
{
    m_isPHOTOS_PROCESSING_IN_PROGERESS = true;
    m_questionOpen = false;
    if (m_pendingQuestion == Question::Overwrite)
        m_pendingQuestion = Question::None;
    NotificationCenter::defaultCenter().post(kNotificationHideOverwriteAlert);
}

void ProcessingEngine::askOrKeepPending(Question question)
{
    // A sheet cannot be shown over another one; the question waits for subWindowDidClose().
    if (AppDelegate::shareDelegate()->isSubWindowOpened) {
        m_pendingQuestion = question;
        return;
    }
    m_pendingQuestion = Question::None;
    if (question == Question::Overwrite)
        NotificationCenter::defaultCenter().post(kNotificationShowOverwriteAlert);
    else if (question == Question::LowSpace)
        NotificationCenter::defaultCenter().post(kNotificationShowAlertWithType, { { kUserInfoType, 102 } });
}

void ProcessingEngine::subWindowDidClose()
{
    if (m_pendingQuestion == Question::None || !m_runActive || m_endRequested)
        return;
    askOrKeepPending(m_pendingQuestion);
}

void ProcessingEngine::answerFile(int answer)
{
    if (!m_questionOpen || !m_runActive)
        return;
    m_isProcessOnHold = false;
    m_currentFileFlag = answer;
    hideOverwriteExistingFilePopup();
    startProcessingOfPhotos(kAskForEach);
}

void ProcessingEngine::answerBatch(int answer)
{
    if (!m_questionOpen || !m_runActive)
        return;
    m_isProcessOnHold = false;
    // The sheet is closed before the worker starts, so that a question the worker raises at once
    // is never followed by the close of the previous one.
    hideOverwriteExistingFilePopup();
    startProcessingOfPhotos(answer);
}

void ProcessingEngine::btnReplaceImageTapped()
{
    answerFile(kReplaceFile);
}

void ProcessingEngine::btnSkipImageTapped()
{
    answerFile(kSkipFile);
}

void ProcessingEngine::btnKeepImageTapped()
{
    answerFile(kKeepFile);
}

void ProcessingEngine::btnSkipAllImageTapped()
{
    answerBatch(kSkipAll);
}

void ProcessingEngine::btnReplaceAllImageTapped()
{
    answerBatch(kReplaceAll);
}

void ProcessingEngine::btnKeepAllImageTapped()
{
    answerBatch(kKeepAll);
}

bool ProcessingEngine::btnRenameImageTapped(const QString& typedName)
{
    if (!m_questionOpen || !m_runActive)
        return false;
    // The field applies the same rule; text that did not come through it is cleaned here as well.
    const QString name = controlTextDidChange(typedName);
    const QFileInfo existing(m_filePathToOverwrite);
    const QString newPath = existing.path() + QLatin1Char('/') + name + QLatin1Char('.') + existing.suffix();
    if (name.isEmpty()) {
        if (m_view)
            m_view->setRenameError(QStringLiteral("* File name can't be empty."));
        return false;
    }
    // A name the file system cannot hold would only fail later as "Invalid file name.": refuse it
    // while the user can still change it.
    if (QFileInfo(newPath).fileName().toUtf8().size() > 255) {
        if (m_view)
            m_view->setRenameError(QStringLiteral("* Invalid file name."));
        return false;
    }
    if (m_deps.probe->exists(newPath)) {
        if (m_view)
            m_view->setRenameError(QStringLiteral("* File already exist with same name at destination folder."));
        return false;
    }
    m_isProcessOnHold = false;
    if (m_view)
        m_view->setRenameError(QString());
    m_newFilePath = newPath;
    m_currentFileFlag = kRenameFile;
    hideOverwriteExistingFilePopup();
    startProcessingOfPhotos(kAskForEach);
    return true;
}

QString ProcessingEngine::validFileNameString(const QString& text)
{
    // One rule for the rename field and the settings pane's prefix.
    return OutputPathBuilder::validFileNameString(text);
}

QString ProcessingEngine::controlTextDidChange(const QString& text)
{
    QString result = validFileNameString(text);
    if (result.size() >= 256) {
        // Cut at a whole character: never leave half of a surrogate pair at the end.
        qsizetype cut = 255;
        if (result.at(cut - 1).isHighSurrogate())
            --cut;
        result.truncate(cut);
    }
    return result;
}

} // namespace vantrel
