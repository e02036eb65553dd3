#pragma once

#include <QPointer>
#include <QWidget>

#include "core/Processing/ProcessingEngine.h"
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

/// The wizard's view of the batch run: the processing view's engine.
class ProcessingPort : public WizardProcessing {
public:
    /// An engine on the real pipeline, file probe, clock, folder opener, serial worker and the
    /// application's log database.
    static std::shared_ptr<ProcessingEngine> makeEngine();

    void setEngine(std::shared_ptr<ProcessingEngine> engine) { m_engine = std::move(engine); }
    /// The engine, made on first use (after start-up has opened the log database).
    ProcessingEngine& engine();

    void startProcess(const OutputOptionSettings& outputSettingObject,
        const ResizingOptionsSettingObject& resizingOptionObject) override;
    void btnOkOnEnoughtSpcaecTapped() override { engine().btnOkOnEnoughtSpcaecTapped(); }
    void holdProcessing() override { engine().holdProcessing(); }
    void restartProcessing() override { engine().restartProcessing(); }
    void stopProcessing() override { engine().stopProcessing(); }
    QVariantMap getLogDetails() override { return engine().getLogDetails(); }
    void subWindowDidClose() override { engine().subWindowDidClose(); }

private:
    std::shared_ptr<ProcessingEngine> m_engine;
};

} // namespace vantrel
