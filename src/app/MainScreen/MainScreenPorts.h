#pragma once

#include <memory>

#include <QPointer>

#include "screens/AddPhotos/AddPhotosVC.h"

#include "core/Processing/ProcessingEngine.h"
#include "core/Wizard/WizardPorts.h"

namespace vantrel {

class BatchPresenter;
class FlipView;
class ProcessingView;
class ResizeView;
class RotateView;
class SettingView;

/// The wizard's view of the add-photos screen and the batch views it hosts. Before the screen
/// exists (it is made when step 1 is first shown) the batch is read directly and the screen-only
/// operations do nothing.
class AddPhotosPort : public WizardAddPhotos {
public:
    void setScreen(AddPhotosVC* screen) { m_screen = screen; }

    QList<PhotoFilePtr> getSelectedPhotoFiles() override;
    bool isRawImageExist() override;
    void enableDragDrop(bool enable) override;
    void closeBackgroundOperations() override;
    void btnYesOnRemoveSelectedPhotoTapped() override;
    void btnYesOnRemoveAllPhotoTapped() override;
    void btnRemoveFromBatchOnAlertTapped() override;
    int totalPhotoToAdd() override;
    int damagedFileCount() override;
    int alreadyExistsPhotosCount() override;

private:
    /// The batch views' logic inside the screen, when they are there.
    BatchPresenter* presenter() const;

    QPointer<AddPhotosVC> m_screen;
};

/// The wizard's view of the four option panes.
class PanesPort : public WizardPanes {
public:
    PanesPort(ResizeView* resize, RotateView* rotate, FlipView* flip, SettingView* setting);

    void setDefaultCustomSize() override;
    SizeObject getReSizeSettingObject() override;
    void setReSizeSettingObject(const SizeObject& size) override;
    bool isPredefinedSizeNotSlectedAnyValue() override;
    QList<SizeObject> predefinedSizes() override;
    qint32 getRotateSettingObject() override;
    void setRotationType(qint32 rotationType) override;
    QList<bool> getFlipSettongObject() override;
    void setFlipSettongObject(int option) override;
    OutputOptionSettings getOutputSettingObject() override;
    void setOutputSettingObject(const OutputOptionSettings& settings) override;

private:
    ResizeView* m_resize;
    RotateView* m_rotate;
    FlipView* m_flip;
    SettingView* m_setting;
};

/// The wizard's view of the processing view and its batch-run engine.
class ProcessingPort : public WizardProcessing {
public:
    explicit ProcessingPort(ProcessingView* view)
        : m_view(view)
    {
    }
    ProcessingEngine& engine();

    void startProcess(const OutputOptionSettings& outputSettingObject,
        const ResizingOptionsSettingObject& resizingOptionObject) override;
    void btnOkOnEnoughtSpcaecTapped() override;
    void holdProcessing() override;
    void restartProcessing() override;
    void stopProcessing() override;
    QVariantMap getLogDetails() override;
    void subWindowDidClose() override;

private:
    ProcessingView* m_view;
};

} // namespace vantrel
