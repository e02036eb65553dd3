// The add-photos screen's actions: the open panels, the Trash test, the add run's view side and
// the refresh after it.
#include "screens/AddPhotos/AddPhotosVC.h"

#include <algorithm>
#include <utility>

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include "components/CustomOpenPanel.h"
#include "components/HighlightedButton.h"
#include "components/Sheet.h"
#include "components/WyProgressIndicator.h"
#include "core/AddPhotos/TrashLocation.h"
#include "core/AppDelegate.h"
#include "core/Batch/BatchInfoLine.h"
#include "core/Catalogue.h"
#include "core/Helper/CommonFunc.h"
#include "platform/NotificationCenter.h"
#include "platform/Paths.h"
#include "platform/imaging/ImageFileTypes.h"
#include "screens/AddPhotos/DragDropBox.h"
#include "screens/Batch/BatchArea.h"
#include "screens/Batch/BatchBrowser.h"
#include "screens/Batch/OptionPopups.h"

namespace vantrel {

namespace {

// The panel's name filter: every image extension of the registry, in both letter cases for the
// image types (matched in any case) and as written for the extra ones.
QString imageNameFilter()
{
    QStringList patterns;
    for (const QString& ext : ImageFileTypes::allImageExtensions()) {
        patterns << QStringLiteral("*.") + ext;
        if (ImageFileTypes::conformsToPublicImage(ext) && ext == ext.toLower())
            patterns << QStringLiteral("*.") + ext.toUpper();
    }
    patterns.removeDuplicates();
    return QStringLiteral("Images (%1)").arg(patterns.join(QLatin1Char(' ')));
}

QFileDialog* makePanel(QWidget* owner)
{
    auto* panel = new CustomOpenPanel(owner->window());
    panel->setAttribute(Qt::WA_DeleteOnClose);
    panel->setAllowsMultipleSelection(true); // several files, folders or libraries in one choice
    panel->setWindowModality(Qt::WindowModal);
    // Roomy enough for the names, sizes and dates of its list, never larger than the window.
    const QSize window = owner->window()->size();
    panel->resize(std::min(860, window.width() - 80), std::min(540, window.height() - 120));
    // The main window takes the keyboard and its title bar back when the panel goes.
    QObject::connect(panel, &QDialog::finished, owner->window(), [main = owner->window()] { main->activateWindow(); });
    return panel;
}

QList<QUrl> chosenUrls(QFileDialog* panel)
{
    QList<QUrl> urls;
    for (const QString& file : panel->selectedFiles())
        urls.append(QUrl::fromLocalFile(file));
    return urls;
}

} // namespace

void AddPhotosVC::btnAddMorePhotosTapped()
{
    m_optionPopups->btnAddMorePhotosTapped(m_btnAddMorePhotos, AddPhotosLogic::arrAddPhotosOptions());
}

void AddPhotosVC::btnAddPhotosTappedWithIndex(int index)
{
    if (index < 0 || index > 2 || m_logic->isProcessingInProgress())
        return;
    QFileDialog* panel = makePanel(this);
    panel->setObjectName(QStringLiteral("addPhotosPanel"));
    m_logic->setIsAddFromSubFolderSelected(false);
    if (index == 0) {
        panel->setFileMode(QFileDialog::ExistingFiles);
        panel->setLabelText(QFileDialog::Accept, QStringLiteral("Add Photos"));
        panel->setNameFilter(imageNameFilter());
    } else {
        panel->setFileMode(QFileDialog::Directory);
        panel->setOption(QFileDialog::ShowDirsOnly, true);
        if (index == 1)
            panel->setLabelText(QFileDialog::Accept, QStringLiteral("Add Folder"));
        m_logic->setIsAddFromSubFolderSelected(true);
    }
    openPanel(panel, false);
}

void AddPhotosVC::btnAddIphotosTapped()
{
    if (m_logic->isProcessingInProgress())
        return;
    m_logic->setPathType(AddPathType::IPhotoLibrary);
    QFileDialog* panel = makePanel(this);
    panel->setObjectName(QStringLiteral("addLibraryPanel"));
    panel->setFileMode(QFileDialog::Directory);
    const bool photosApp = QFileInfo::exists(QStringLiteral("/Applications/Photos.app"))
        || QFileInfo::exists(QStringLiteral("/System/Applications/Photos.app"));
    panel->setLabelText(
        QFileDialog::Accept, photosApp ? QStringLiteral("Add Photos Library") : QStringLiteral("Add iPhoto Library"));
    panel->setDirectory(Paths::picturesFolder());
    openPanel(panel, true);
}

void AddPhotosVC::openPanel(QFileDialog* panel, bool librariesOnly)
{
    AppDelegate::shareDelegate()->isSubWindowOpened = true;
    m_panelOpener = QApplication::focusWidget();
    connect(panel, &QFileDialog::finished, this, [this, panel, librariesOnly](int result) {
        AppDelegate::shareDelegate()->isSubWindowOpened = false;
        if (m_panelOpener)
            m_panelOpener->setFocus(Qt::OtherFocusReason);
        QList<QUrl> urls;
        if (result == QDialog::Accepted)
            for (const QUrl& url : chosenUrls(panel))
                if (!librariesOnly || panelShouldEnableURL(url.toLocalFile()))
                    urls.append(url);
        if (urls.isEmpty())
            return;
        // The whole selection is refused when its first item lies in the Trash.
        if (TrashLocation::isInTrash(urls.first().toLocalFile())) {
            refuseTrash();
            return;
        }
        addPhotosAfterDelay(urls);
    });
    panel->open();
}

bool AddPhotosVC::panelShouldEnableURL(const QString& path)
{
    const QFileInfo info(path);
    return info.suffix().toLower() != QLatin1String("migratedphotolibrary") && info.isDir();
}

void AddPhotosVC::refuseTrash()
{
    auto* alert = new QMessageBox(QMessageBox::Warning, QString(),
        CommonFunc::getLocalizedStringForKey(QStringLiteral("ID_PHOTOS_CANT_ADDED_FROM_TRASH")), QMessageBox::NoButton,
        window());
    alert->setObjectName(QStringLiteral("trashAlert"));
    alert->addButton(CommonFunc::getLocalizedStringForKey(QStringLiteral("ID_OK_CAPS")), QMessageBox::AcceptRole);
    alert->setAttribute(Qt::WA_DeleteOnClose);
    alert->setWindowModality(Qt::WindowModal);
    QObject::connect(alert, &QDialog::finished, window(), [main = window()] { main->activateWindow(); });
    alert->open();
}

void AddPhotosVC::showMessageAlert(const QString& message, const QString& informativeText, const QString& button)
{
    // One question at a time: a sheet the same run raised (photos already in the batch) is
    // answered first, and this alert follows it.
    Sheet::whenNoSheet(window(), this,
        [this, message, informativeText, button] { openMessageAlert(message, informativeText, button); });
}

void AddPhotosVC::openMessageAlert(const QString& message, const QString& informativeText, const QString& button)
{
    auto* alert = new QMessageBox(QMessageBox::Warning, QString(), message, QMessageBox::NoButton, window());
    alert->setObjectName(QStringLiteral("messageAlert"));
    alert->setAccessibleName(message);
    alert->setInformativeText(informativeText);
    alert->addButton(button, QMessageBox::AcceptRole);
    alert->setAttribute(Qt::WA_DeleteOnClose);
    alert->setWindowModality(Qt::WindowModal);
    QObject::connect(alert, &QDialog::finished, window(), [main = window()] { main->activateWindow(); });
    alert->open();
}

void AddPhotosVC::addRunFinished()
{
    const QPointer<QWidget> opener = std::exchange(m_panelOpener, nullptr);
    if (opener && opener->isVisible() && opener->isEnabled() && opener->window() == window())
        opener->setFocus(Qt::OtherFocusReason);
}

void AddPhotosVC::addPhotosAfterDelay(const QList<QUrl>& urls)
{
    QTimer::singleShot(900, this, [this, urls] { addPhotosFromPathUrls(urls, false); });
}

bool AddPhotosVC::addPhotosFromPathUrls(const QList<QUrl>& urls, bool isiPhoto)
{
    return m_logic->addPhotosFromPathUrls(urls, isiPhoto);
}

bool AddPhotosVC::addPhotosFromDroppedPaths(const QStringList& paths)
{
    QList<QUrl> urls;
    for (const QString& path : paths)
        urls.append(QUrl::fromLocalFile(path));
    return m_logic->addPhotosFromPathUrls(urls);
}

void AddPhotosVC::btnStopAddingTapped()
{
    m_logic->btnStopAddingTapped();
}

void AddPhotosVC::processAfterAllPhotosAdded()
{
    m_logic->processAfterAllPhotosAdded();
}

void AddPhotosVC::showPhotosAfterCompletion()
{
    m_logic->showPhotosAfterCompletion();
}

void AddPhotosVC::enableDragDrop(bool enable)
{
    m_leftBox->registerForDraggedTypes(enable);
}

QStringList AddPhotosVC::getAllFilesInFolder(
    const QString& folder, const QString& fileType, bool isSubFolderSelected) const
{
    return AddPhotosLogic::getAllFilesInFolder(folder, fileType, isSubFolderSelected);
}

// What the add run shows.

void AddPhotosVC::setAddingProgressViewHidden(bool hidden)
{
    m_vWAddingPhotos->setVisible(!hidden);
    if (!hidden)
        m_txtCurrentProgress->setText(QStringLiteral("Please wait while importing photos"));
}

void AddPhotosVC::setStopButtonHidden(bool hidden)
{
    m_btnstopOnAddPhotos->setVisible(!hidden);
}

void AddPhotosVC::showProgressSheet()
{
    m_lblFilePathOnPopup->clear();
    m_txtCurrentProgressOnWin->setText(QStringLiteral("Please wait while importing photos"));
    if (!m_sheet)
        m_sheet = Sheet::beginSheet(window(), m_winAddingPhotos);
    m_progressIndicator->startAnimation();
}

void AddPhotosVC::endProgressSheet()
{
    m_progressIndicator->stopAnimation();
    if (m_sheet)
        m_sheet->endSheet();
    m_sheet = nullptr;
}

void AddPhotosVC::setProgressTexts(const QString& inScreen, const QString& onSheet, const QString& path)
{
    m_txtCurrentProgress->setText(inScreen);
    m_txtCurrentProgressOnWin->setText(onSheet);
    m_lblFilePathOnPopup->setText(
        m_lblFilePathOnPopup->fontMetrics().elidedText(path, Qt::ElideMiddle, m_lblFilePathOnPopup->width()));
    m_lblFilePathOnPopup->setToolTip(path);
}

void AddPhotosVC::resetProgress()
{
    m_progressIndicator->setDoubleValue(0);
    m_txtCurrentProgress->clear();
    m_txtCurrentProgressOnWin->clear();
}

void AddPhotosVC::hideDragnDropImageSetHidden(bool hidden)
{
    m_vWImageMetadata->setVisible(hidden);
    m_btnAddPhotos_center->setVisible(!hidden);
    m_viewDragNDrop->setVisible(!hidden);
    m_batchViews->setVisible(hidden);
    if (m_delegate)
        m_delegate->photosChangedNotification();
}

void AddPhotosVC::updateBatchInformationInBottomView()
{
    if (m_batchArea) {
        m_batchArea->updateBatchInformationInBottomView();
        return;
    }
    const QList<PhotoFilePtr>& batch = AppDelegate::shareDelegate()->arraySelectedImagesToProcess;
    m_lblBatchInfo->setText(batch.isEmpty() ? QString() : BatchInfoLine::make(batch).text);
}

void AddPhotosVC::changePhotosViewImageMode()
{
    if (m_batchArea)
        m_batchArea->changePhotosViewImageMode();
}

void AddPhotosVC::updateButtonsEnability()
{
    if (m_batchArea)
        m_batchArea->updateButtonsEnability();
}

void AddPhotosVC::addBottomInfoAboutBatch()
{
    if (m_batchArea) {
        m_batchArea->addBottomInfoAboutBatch();
        return;
    }
    NotificationCenter::defaultCenter().post(QString::fromLatin1(kNotificationUpdateFooterInfo),
        { { QString::fromLatin1(kUserInfoTextStr),
            BatchInfoLine::make(AppDelegate::shareDelegate()->arraySelectedImagesToProcess).text } });
}

// The batch views' operations, for the wizard and its alert sheet.

QList<PhotoFilePtr> AddPhotosVC::getSelectedPhotoFiles() const
{
    return m_batchViewsArea->presenter()->getSelectedPhotoFiles();
}

void AddPhotosVC::closeBackgroundOperations()
{
    m_batchViewsArea->presenter()->closeBackgroundOperations();
}

void AddPhotosVC::btnYesOnRemoveSelectedPhotoTapped()
{
    m_batchViewsArea->presenter()->btnYesOnRemoveSelectedPhotoTapped();
}

void AddPhotosVC::btnYesOnRemoveAllPhotoTapped()
{
    m_batchViewsArea->presenter()->btnYesOnRemoveAllPhotoTapped();
}

void AddPhotosVC::btnRemoveFromBatchOnAlertTapped()
{
    m_batchViewsArea->presenter()->btnRemoveFromBatchOnAlertTapped();
}

void AddPhotosVC::checkForDeletedPhotosInSourceFolder()
{
    m_batchViewsArea->presenter()->checkForDeletedPhotosInSourceFolder();
}

} // namespace vantrel
