#include "app/MainScreen/MainScreenPorts.h"

#include "core/DataBeans/PhotoFile.h"
#include "screens/AddPhotos/AddPhotosVC.h"
#include "screens/Batch/BatchBrowser.h"
#include "screens/Panes/FlipView.h"
#include "screens/Panes/ResizeView.h"
#include "screens/Panes/RotateView.h"
#include "screens/Panes/SettingView.h"
#include "screens/Processing/ProcessingView.h"

namespace vantrel {

// --- Add-photos screen ------------------------------------------------------------------------------

BatchPresenter* AddPhotosPort::presenter() const
{
    if (!m_screen)
        return nullptr;
    auto* browser = m_screen->findChild<BatchBrowser*>();
    return browser ? browser->presenter() : nullptr;
}

QList<PhotoFilePtr> AddPhotosPort::getSelectedPhotoFiles()
{
    if (BatchPresenter* batch = presenter())
        return batch->getSelectedPhotoFiles();
    QList<PhotoFilePtr> selected;
    for (const PhotoFilePtr& photo : AppDelegate::shareDelegate()->arraySelectedImagesToProcess) {
        if (photo && photo->isSelected())
            selected.append(photo);
    }
    return selected;
}

bool AddPhotosPort::isRawImageExist()
{
    return m_screen && m_screen->isRawImageExist();
}

void AddPhotosPort::enableDragDrop(bool enable)
{
    if (m_screen)
        m_screen->enableDragDrop(enable);
}

void AddPhotosPort::closeBackgroundOperations()
{
    if (BatchPresenter* batch = presenter())
        batch->closeBackgroundOperations();
}

void AddPhotosPort::btnYesOnRemoveSelectedPhotoTapped()
{
    if (BatchPresenter* batch = presenter())
        batch->btnYesOnRemoveSelectedPhotoTapped();
}

void AddPhotosPort::btnYesOnRemoveAllPhotoTapped()
{
    if (BatchPresenter* batch = presenter())
        batch->btnYesOnRemoveAllPhotoTapped();
}

void AddPhotosPort::btnRemoveFromBatchOnAlertTapped()
{
    if (BatchPresenter* batch = presenter())
        batch->btnRemoveFromBatchOnAlertTapped();
}

int AddPhotosPort::totalPhotoToAdd()
{
    return m_screen ? m_screen->totalPhotoToAdd() : 0;
}

int AddPhotosPort::damagedFileCount()
{
    return m_screen ? m_screen->damagedFileCount() : 0;
}

int AddPhotosPort::alreadyExistsPhotosCount()
{
    return m_screen ? m_screen->alreadyExistsPhotosCount() : 0;
}

// --- Panes ------------------------------------------------------------------------------------------

PanesPort::PanesPort(ResizeView* resize, RotateView* rotate, FlipView* flip, SettingView* setting)
    : m_resize(resize)
    , m_rotate(rotate)
    , m_flip(flip)
    , m_setting(setting)
{
}

void PanesPort::setDefaultCustomSize()
{
    m_resize->setDefaultCustomSize();
}

SizeObject PanesPort::getReSizeSettingObject()
{
    return m_resize->getReSizeSettingObject();
}

void PanesPort::setReSizeSettingObject(const SizeObject& size)
{
    m_resize->setReSizeSettingObject(size);
}

bool PanesPort::isPredefinedSizeNotSlectedAnyValue()
{
    return m_resize->isPredefinedSizeNotSlectedAnyValue();
}

QList<SizeObject> PanesPort::predefinedSizes()
{
    return m_resize->predefinedSizes();
}

qint32 PanesPort::getRotateSettingObject()
{
    return m_rotate->getRotateSettingObject();
}

void PanesPort::setRotationType(qint32 rotationType)
{
    m_rotate->setRotationType(rotationType);
}

QList<bool> PanesPort::getFlipSettongObject()
{
    return m_flip->getFlipSettongObject();
}

void PanesPort::setFlipSettongObject(int option)
{
    m_flip->setFlipSettongObject(option);
}

OutputOptionSettings PanesPort::getOutputSettingObject()
{
    return m_setting->getOutputSettingObject();
}

void PanesPort::setOutputSettingObject(const OutputOptionSettings& settings)
{
    m_setting->setOutputSettingObject(settings);
}

// --- Processing view --------------------------------------------------------------------------------

ProcessingEngine& ProcessingPort::engine()
{
    return m_view->engine();
}

void ProcessingPort::startProcess(
    const OutputOptionSettings& outputSettingObject, const ResizingOptionsSettingObject& resizingOptionObject)
{
    m_view->startProcess(outputSettingObject, resizingOptionObject);
}

void ProcessingPort::btnOkOnEnoughtSpcaecTapped()
{
    m_view->btnOkOnEnoughtSpcaecTapped();
}

void ProcessingPort::holdProcessing()
{
    m_view->holdProcessing();
}

void ProcessingPort::restartProcessing()
{
    m_view->restartProcessing();
}

void ProcessingPort::stopProcessing()
{
    m_view->stopProcessing();
}

QVariantMap ProcessingPort::getLogDetails()
{
    return m_view->getLogDetails();
}

void ProcessingPort::subWindowDidClose()
{
    m_view->subWindowDidClose();
}

} // namespace vantrel
