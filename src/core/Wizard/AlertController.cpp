#include "core/Wizard/AlertController.h"

#include <cstdio>

#include "core/AppDelegate.h"
#include "core/DataBeans/PhotoFile.h"
#include "core/Wizard/WizardPorts.h"

namespace vantrel {

AlertController::AlertController(
    WizardScreen& screen, WizardAddPhotos& addPhotos, WizardProcessing& processing, std::function<void()> startRun)
    : m_screen(screen)
    , m_addPhotos(addPhotos)
    , m_processing(processing)
    , m_startRun(std::move(startRun))
{
}

AlertCounts AlertController::counts()
{
    AlertCounts counts;
    counts.totalPhotoToAdd = m_addPhotos.totalPhotoToAdd();
    counts.damagedFileCount = m_addPhotos.damagedFileCount();
    counts.alreadyExistsPhotosCount = m_addPhotos.alreadyExistsPhotosCount();
    counts.selectedCount = int(m_addPhotos.getSelectedPhotoFiles().size());
    counts.batchCount = int(AppDelegate::shareDelegate()->arraySelectedImagesToProcess.size());
    return counts;
}

void AlertController::showAlertWithTag(int tag)
{
    const std::optional<AlertContent> alert = AlertCatalogue::alertForTag(tag, counts());
    if (!alert) {
        // A sheet without buttons would lock the window.
        std::fprintf(stderr, "showAlertWithTag: no alert %d; ignored\n", tag);
        return;
    }
    show(*alert);
}

void AlertController::showMessage(const QString& title, const QString& message)
{
    show(AlertCatalogue::message(title, message));
}

void AlertController::show(const AlertContent& alert)
{
    AppDelegate* app = AppDelegate::shareDelegate();
    if (app->isSubWindowOpened) {
        std::fprintf(stderr, "showAlertWithTag: alert %d dropped while a sub-window is open\n", alert.tag);
        return;
    }
    m_addPhotos.enableDragDrop(false);
    m_alertTag = alert.tag;
    m_alertShown = true;
    m_screen.showAlertSheet(alert);
    if (alert.tag == 122)
        m_processing.holdProcessing();
}

bool AlertController::closeAlert()
{
    if (!m_alertShown)
        return false;
    m_alertShown = false;
    m_screen.hideAlertSheet();
    AppDelegate* app = AppDelegate::shareDelegate();
    // The overwrite sheet may have come up over this one; its flag stays until it is answered.
    if (!m_overwriteShown)
        app->isSubWindowOpened = false;
    m_addPhotos.enableDragDrop(true);
    subWindowMayHaveClosed();
    return true;
}

// Each button closes the sheet before it acts, so that a question raised by what it starts (the
// run may ask at once) is never closed by this sheet's close.

void AlertController::btnYesOnAlertTapped()
{
    if (!closeAlert())
        return;
    switch (m_alertTag) {
    case 113:
        m_addPhotos.btnYesOnRemoveSelectedPhotoTapped();
        break;
    case 114:
        m_addPhotos.btnYesOnRemoveAllPhotoTapped();
        break;
    case 119:
    case 121:
        AppDelegate::shareDelegate()->setRawConvertFormat(QStringLiteral("png"));
        m_startRun();
        break;
    case 122:
        m_processing.stopProcessing();
        break;
    default:
        break;
    }
}

void AlertController::btnNoOnAlertTapped()
{
    if (!closeAlert())
        return;
    switch (m_alertTag) {
    case 119:
    case 121:
        AppDelegate::shareDelegate()->setRawConvertFormat(QStringLiteral("jpeg"));
        m_startRun();
        break;
    case 122:
        m_processing.restartProcessing();
        break;
    default:
        break;
    }
}

void AlertController::btnOkOnAlertTapped()
{
    if (!closeAlert())
        return;
    if (m_alertTag == 102)
        m_processing.btnOkOnEnoughtSpcaecTapped();
    else if (m_alertTag == 120)
        m_startRun();
}

void AlertController::btnSkipRawimagesTapped()
{
    if (!closeAlert())
        return;
    if (m_alertTag == 119 || m_alertTag == 121) {
        AppDelegate::shareDelegate()->setRawConvertFormat(QStringLiteral("skipRaw"));
        m_startRun();
    }
}

void AlertController::btnCancelOnAlertTapped()
{
    closeAlert();
}

void AlertController::btnRemoveFromBatchTapped()
{
    if (!closeAlert())
        return;
    m_addPhotos.btnRemoveFromBatchOnAlertTapped();
}

void AlertController::tap(AlertButton button)
{
    switch (button) {
    case AlertButton::Yes:
    case AlertButton::UsePng:
        btnYesOnAlertTapped();
        break;
    case AlertButton::No:
    case AlertButton::UseJpeg:
        btnNoOnAlertTapped();
        break;
    case AlertButton::Ok:
        btnOkOnAlertTapped();
        break;
    case AlertButton::SkipRaw:
        btnSkipRawimagesTapped();
        break;
    case AlertButton::Cancel:
        btnCancelOnAlertTapped();
        break;
    case AlertButton::RemoveFromBatch:
        btnRemoveFromBatchTapped();
        break;
    }
}

void AlertController::showOverwriteFileAlert()
{
    AppDelegate* app = AppDelegate::shareDelegate();
    if (app->isSubWindowOpened || m_overwriteShown)
        return;
    m_overwriteShown = true;
    app->isSubWindowOpened = true;
    m_screen.showOverwriteSheet();
}

void AlertController::hideOverwriteFileAlert()
{
    if (!m_overwriteShown)
        return;
    m_overwriteShown = false;
    m_screen.hideOverwriteSheet();
    AppDelegate::shareDelegate()->isSubWindowOpened = false;
    subWindowMayHaveClosed();
}

void AlertController::runEnded()
{
    if (m_alertShown && m_alertTag == 122)
        closeAlert();
}

void AlertController::subWindowMayHaveClosed()
{
    if (!AppDelegate::shareDelegate()->isSubWindowOpened)
        m_processing.subWindowDidClose();
}

} // namespace vantrel
