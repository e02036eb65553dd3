#pragma once

#include <QPointer>
#include <QWidget>

#include "core/Wizard/WizardPorts.h"

namespace vantrel {

/// The wizard's view of the add-photos screen, over the screen once it is created. Before that
/// the batch is read directly and the screen-only operations do nothing.
class AddPhotosPort : public WizardAddPhotos {
public:
    QList<PhotoFilePtr> getSelectedPhotoFiles() override;
    bool isRawImageExist() override { return false; }
    void enableDragDrop(bool) override { }
    void closeBackgroundOperations() override { }
    void btnYesOnRemoveSelectedPhotoTapped() override { }
    void btnYesOnRemoveAllPhotoTapped() override { }
    void btnRemoveFromBatchOnAlertTapped() override { }
    int totalPhotoToAdd() override { return 0; }
    int damagedFileCount() override { return 0; }
    int alreadyExistsPhotosCount() override { return 0; }
};

/// The wizard's view of the four option panes.
class PanesPort : public WizardPanes {
public:
    void setDefaultCustomSize() override { }
    SizeObject getReSizeSettingObject() override { return m_size; }
    void setReSizeSettingObject(const SizeObject& size) override { m_size = size; }
    bool isPredefinedSizeNotSlectedAnyValue() override { return false; }
    QList<SizeObject> predefinedSizes() override { return {}; }
    qint32 getRotateSettingObject() override { return m_rotation; }
    void setRotationType(qint32 rotationType) override { m_rotation = rotationType; }
    QList<bool> getFlipSettongObject() override { return { m_flip == 1, m_flip == 2 }; }
    void setFlipSettongObject(int option) override { m_flip = option; }
    OutputOptionSettings getOutputSettingObject() override { return m_output; }
    void setOutputSettingObject(const OutputOptionSettings& settings) override { m_output = settings; }

private:
    SizeObject m_size;
    qint32 m_rotation = 0;
    int m_flip = 0;
    OutputOptionSettings m_output;
};

/// The wizard's view of the processing view and its engine.
class ProcessingPort : public WizardProcessing {
public:
    void startProcess(const OutputOptionSettings&, const ResizingOptionsSettingObject&) override { }
    void btnOkOnEnoughtSpcaecTapped() override { }
    void holdProcessing() override { }
    void restartProcessing() override { }
    void stopProcessing() override { }
    QVariantMap getLogDetails() override { return {}; }
    void subWindowDidClose() override { }
};

} // namespace vantrel
