#include "screens/Batch/BatchPresenter.h"

#include <cstdio>

#include <QFileInfo>

#include "core/AppDelegate.h"
#include "core/Batch/BatchPopupRules.h"
#include "core/Batch/BatchRemoval.h"
#include "core/Catalogue.h"
#include "platform/NotificationCenter.h"
#include "platform/Workspace.h"

namespace vantrel {

namespace {

void log(const char* line)
{
    std::fprintf(stderr, "%s\n", line);
}

} // namespace

BatchPresenter::BatchPresenter(BatchView* view, BatchHost* host, QList<PhotoFilePtr>* batch, QObject* parent)
    : QObject(parent)
    , m_view(view)
    , m_host(host)
    , m_batch(batch ? batch : &AppDelegate::shareDelegate()->arraySelectedImagesToProcess)
{
}

// View modes and check marks ------------------------------------------------------------------

void BatchPresenter::btnViewPhotosModetapped(int tag)
{
    log("view photos mode tapped tapped");
    if (const auto mode = BatchViewRules::modeForTag(tag))
        changePhotosViewImageMode(*mode);
}

void BatchPresenter::changePhotosViewImageMode(BatchViewMode mode)
{
    m_mode = mode;
    m_view->showViewMode(mode, BatchViewRules::look(mode), m_batch->isEmpty());
    m_view->windowResizing();
}

void BatchPresenter::btnCheckboxTappedAtLocationInCollectionView(QPoint, qsizetype index)
{
    toggleCheck(index);
}

void BatchPresenter::btnCheckTappedAtLocationInTableView(QPoint, qsizetype index)
{
    // A click on a row that outlived a shrinking batch is ignored, as in the grid.
    toggleCheck(index);
}

void BatchPresenter::toggleCheck(qsizetype index)
{
    if (!BatchPopupRules::isInsideBatch(index, m_batch->size()))
        return;
    if (!photoFileExists(index)) {
        postAlert(BatchAlert::kChosenPhotoMissing);
        return;
    }
    PhotoFile& photo = *m_batch->at(index);
    photo.setIsSelected(!photo.isSelected());
    m_view->reloadCheckMark(index);
    updateButtonsEnability();
}

bool BatchPresenter::keyDown(bool control, bool shift, bool alt, bool meta)
{
    log("Caught key event");
    if (!BatchViewRules::isMarkAllShortcut(control, shift, alt, meta))
        return false;
    markUnmarkAll();
    return true;
}

void BatchPresenter::markUnmarkAll()
{
    BatchRemoval::markUnmarkAll(*m_batch);
    m_view->reloadVisibleView();
    updateButtonsEnability();
}

QList<PhotoFilePtr> BatchPresenter::getSelectedPhotoFiles() const
{
    return BatchRemoval::getSelectedPhotoFiles(*m_batch);
}

void BatchPresenter::updateButtonsEnability()
{
    m_view->setButtons(BatchViewRules::buttons(m_batch->size(), BatchRemoval::isAllChecked(*m_batch)));
}

void BatchPresenter::updateBatchInformationInBottomView()
{
    m_view->setBatchLine(m_batch->isEmpty() ? BatchInfoLine::Styled {} : BatchInfoLine::make(*m_batch));
}

void BatchPresenter::addBottomInfoAboutBatch()
{
    NotificationCenter::defaultCenter().post(QString::fromLatin1(kNotificationUpdateFooterInfo),
        { { QString::fromLatin1(kUserInfoTextStr), BatchInfoLine::toHtml(BatchInfoLine::make(*m_batch)) } });
}

void BatchPresenter::processWithSkippedFilesNotification()
{
    m_view->reloadVisibleView();
}

void BatchPresenter::closeBackgroundOperations()
{
    m_view->closeThumbnailWork();
}

// Removals ------------------------------------------------------------------------------------

void BatchPresenter::btnRemovePhotoTapped(int tag)
{
    postAlert(BatchRemoval::alertForRemoveRequest(
        tag, AppDelegate::shareDelegate()->isSubWindowOpened, BatchRemoval::isAnyChecked(*m_batch)));
}

void BatchPresenter::btnYesOnRemoveSelectedPhotoTapped()
{
    log("yes on remove photos tapped");
    BatchRemoval::removeChecked(*m_batch, [this](const QString& path) { forget(path); });
    BatchRemoval::setAllChecked(*m_batch, true);
    changePhotosViewImageMode(m_mode);
    AppDelegate::shareDelegate()->isSubWindowOpened = false;
    if (m_batch->isEmpty() && m_host)
        m_host->setPreviewImage();
    updateBatchInformationInBottomView();
    updateButtonsEnability();
    if (m_host)
        m_host->processAfterAllPhotosAdded();
}

void BatchPresenter::btnYesOnRemoveAllPhotoTapped()
{
    m_view->closeThumbnailWork();
    if (m_host)
        m_host->forgetAllAddedPaths();
    m_batch->clear();
    AppDelegate::shareDelegate()->isSubWindowOpened = false;
    m_view->reloadBothViews();
    if (m_host)
        m_host->setPreviewImage();
    updateBatchInformationInBottomView();
    updateButtonsEnability();
    if (m_host)
        m_host->processAfterAllPhotosAdded();
}

void BatchPresenter::btnDeleteTappedAtLocationInTableView(QPoint, qsizetype index)
{
    m_selectedMenuIndex = index;
    if (!BatchRemoval::removeAt(*m_batch, index, [this](const QString& path) { forget(path); }))
        return;
    m_view->removeListRow(index);
    if (m_host)
        m_host->setPreviewImage();
    updateButtonsEnability();
    updateBatchInformationInBottomView();
    if (m_host)
        m_host->processAfterAllPhotosAdded();
}

void BatchPresenter::checkForDeletedPhotosInSourceFolder()
{
    log("check for deleted photos");
    if (m_batch->isEmpty())
        return;
    ++m_filesChecks;
    MissingPhotoCheck::checkAsync(
        *m_batch, this,
        [this](int alert) {
            --m_filesChecks;
            postAlert(alert);
            emit missingPhotosHandled();
        },
        m_exists);
}

void BatchPresenter::btnRemoveFromBatchOnAlertTapped()
{
    ++m_filesChecks;
    MissingPhotoCheck::findGoneAsync(
        *m_batch, this,
        [this](QList<PhotoFilePtr> gone) {
            --m_filesChecks;
            // Exactly the records found gone leave; photos added meanwhile stay.
            BatchRemoval::removeRecords(*m_batch, gone, [this](const QString& path) { forget(path); });
            AppDelegate::shareDelegate()->isSubWindowOpened = false;
            if (m_host) {
                m_host->setPreviewImage();
                m_host->processAfterAllPhotosAdded();
            }
            emit missingPhotosHandled();
        },
        m_exists);
}

void BatchPresenter::photoNotAvailableOnIndex(qsizetype index)
{
    if (AppDelegate::shareDelegate()->isSubWindowOpened)
        return;
    m_view->showNoNewPhotosAlert(QStringLiteral("PHOTO NOT AVAILABLE"),
        QStringLiteral("Selected Photo not available at source location"), AlertSheetButton::RemoveFromBatch);
    AppDelegate::shareDelegate()->isSubWindowOpened = true;
    if (BatchPopupRules::isInsideBatch(index, m_batch->size()))
        m_view->showNotAvailableOnCell(index);
}

void BatchPresenter::hideNoNewPhotosAlertWindow(bool hide)
{
    if (!hide)
        return;
    AppDelegate::shareDelegate()->isSubWindowOpened = false;
    m_view->hideNoNewPhotosAlert();
}

// Information popup and photo menu ---------------------------------------------------------

void BatchPresenter::btnInfoTapped(QPoint at, qsizetype index)
{
    if (!BatchPopupRules::isInsideBatch(index, m_batch->size()))
        return;
    // A header probe, never a decode: the popup opens at once even for a large photo.
    if (const auto rows = PhotoInfoRows::forFile(m_batch->at(index)->filePath()))
        m_view->showInfoPopup(at, *rows);
    else
        photoNotAvailableOnIndex(index);
}

void BatchPresenter::showMenuForIndex(QPoint at, qsizetype index)
{
    if (!BatchPopupRules::isInsideBatch(index, m_batch->size()))
        return;
    m_selectedMenuIndex = index;
    m_view->showPhotoMenu(at);
}

void BatchPresenter::btnOnMenuOptionTapped(int option)
{
    if (!BatchPopupRules::isInsideBatch(m_selectedMenuIndex, m_batch->size()))
        return;
    const PhotoMenuAction action = BatchPopupRules::menuAction(option);
    if (option < 0 || option > 4)
        return;
    m_view->dismissPhotoMenu();
    const QString path = m_batch->at(m_selectedMenuIndex)->filePath();
    switch (action) {
    case PhotoMenuAction::Reveal:
        if (!Workspace::shared().selectFile(path))
            fileNotShown(action, path);
        break;
    case PhotoMenuAction::Open:
        if (!Workspace::shared().openFile(path))
            fileNotShown(action, path);
        break;
    case PhotoMenuAction::GetInfo:
        if (!Workspace::shared().showInfo(path))
            fileNotShown(action, path);
        break;
    case PhotoMenuAction::Remove:
        BatchRemoval::removeAt(*m_batch, m_selectedMenuIndex, [this](const QString& p) { forget(p); });
        m_view->reloadBothViews();
        updateBatchInformationInBottomView();
        if (m_host) {
            m_host->setPreviewImage();
            m_host->processAfterAllPhotosAdded();
        }
        break;
    case PhotoMenuAction::None:
        break;
    }
}

void BatchPresenter::removePhotoByKey(qsizetype index)
{
    if (!BatchPopupRules::isInsideBatch(index, m_batch->size()))
        return;
    m_selectedMenuIndex = index;
    btnOnMenuOptionTapped(4);
}

void BatchPresenter::acceptDrop(const QStringList& paths)
{
    if (!paths.isEmpty() && m_host)
        m_host->addPhotosFromPathUrls(paths);
}

// Helpers -------------------------------------------------------------------------------------

void BatchPresenter::postAlert(int type)
{
    if (type == BatchAlert::kNone)
        return;
    NotificationCenter::defaultCenter().post(
        QString::fromLatin1(kNotificationShowAlertWithType), { { QString::fromLatin1(kUserInfoType), type } });
}

void BatchPresenter::fileNotShown(PhotoMenuAction action, const QString& path)
{
    // Without a file manager service or a launcher the desktop cannot show the file; the user
    // learns so instead of a click that does nothing.
    const QString name = QFileInfo(path).fileName();
    QString message;
    switch (action) {
    case PhotoMenuAction::Open:
        message = tr("\"%1\" could not be opened: no application to open it was found.");
        break;
    case PhotoMenuAction::GetInfo:
        message = tr("The information window of \"%1\" could not be shown: no file manager answered.");
        break;
    default:
        message = tr("\"%1\" could not be shown in a file manager: no file manager answered.");
        break;
    }
    NotificationCenter::defaultCenter().post(QString::fromLatin1(kNotificationShowMessageAlert),
        { { QString::fromLatin1(kUserInfoTitle), tr("FILE NOT SHOWN") },
            { QString::fromLatin1(kUserInfoMessage), message.arg(name) } });
}

void BatchPresenter::forget(const QString& path)
{
    if (m_host)
        m_host->forgetAddedPath(path);
}

bool BatchPresenter::photoFileExists(qsizetype index) const
{
    return m_exists(m_batch->at(index)->filePath());
}

} // namespace vantrel
