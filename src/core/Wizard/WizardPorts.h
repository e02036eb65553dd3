#pragma once

#include <QList>
#include <QString>
#include <QVariantMap>

#include "core/AppDelegate.h"
#include "core/DataBeans/OutputOptionSettings.h"
#include "core/DataBeans/ResizingOptionsSettingObject.h"
#include "core/DataBeans/SizeObject.h"

// The small interfaces through which the wizard's rules (WizardDriver, AlertController,
// WizardSession) reach the screens they drive: the add-photos screen, the four option panes, the
// processing view and the main screen's own widgets. The rules hold no widget, so they run and are
// tested without a window; the main screen implements these over the real screens. Every call
// comes on the main thread.

namespace vantrel {

struct AlertContent;

/// The add-photos screen (step 1) as the wizard uses it.
class WizardAddPhotos {
public:
    virtual ~WizardAddPhotos() = default;
    /// The checked photos of the batch.
    virtual QList<PhotoFilePtr> getSelectedPhotoFiles() = 0;
    /// An added photo has an extension outside the eight output formats (never cleared).
    virtual bool isRawImageExist() = 0;
    virtual void enableDragDrop(bool enable) = 0;
    /// Stops the screen's background thumbnail work.
    virtual void closeBackgroundOperations() = 0;
    virtual void btnYesOnRemoveSelectedPhotoTapped() = 0;
    virtual void btnYesOnRemoveAllPhotoTapped() = 0;
    virtual void btnRemoveFromBatchOnAlertTapped() = 0;
    /// Counts of the last add run, for the texts of alerts 110 and 111.
    virtual int totalPhotoToAdd() = 0;
    virtual int damagedFileCount() = 0;
    virtual int alreadyExistsPhotosCount() = 0;
};

/// The resize, rotate, flip and output-settings panes: they hand their choices out only when asked
/// and take restored values through their setters.
class WizardPanes {
public:
    virtual ~WizardPanes() = default;
    // Resize pane
    virtual void setDefaultCustomSize() = 0;
    virtual SizeObject getReSizeSettingObject() = 0;
    virtual void setReSizeSettingObject(const SizeObject& size) = 0;
    virtual bool isPredefinedSizeNotSlectedAnyValue() = 0;
    /// The resize pane's size presets, in list order.
    virtual QList<SizeObject> predefinedSizes() = 0;
    // Rotate pane
    virtual qint32 getRotateSettingObject() = 0;
    virtual void setRotationType(qint32 rotationType) = 0;
    // Flip pane: [horizontal, vertical]; the setter takes 0 none, 1 horizontal, 2 vertical.
    virtual QList<bool> getFlipSettongObject() = 0;
    virtual void setFlipSettongObject(int option) = 0;
    // Output settings pane
    virtual OutputOptionSettings getOutputSettingObject() = 0;
    virtual void setOutputSettingObject(const OutputOptionSettings& settings) = 0;
};

/// The processing view and its batch-run engine.
class WizardProcessing {
public:
    virtual ~WizardProcessing() = default;
    virtual void startProcess(
        const OutputOptionSettings& outputSettingObject, const ResizingOptionsSettingObject& resizingOptionObject)
        = 0;
    /// The low-space alert's OK: the run ends with its summary.
    virtual void btnOkOnEnoughtSpcaecTapped() = 0;
    virtual void holdProcessing() = 0;
    virtual void restartProcessing() = 0;
    virtual void stopProcessing() = 0;
    /// The last run's summary row ("timeStamp", ...).
    virtual QVariantMap getLogDetails() = 0;
    /// A sheet or panel has closed: a question the run could not ask meanwhile is asked now.
    virtual void subWindowDidClose() = 0;
};

/// Which of the six bottom buttons and the footer line are shown.
struct WizardBottomButtons {
    bool nextOnPhotos = false;
    bool nextOnResizing = false;
    bool backOnResizing = false;
    bool convertOnSetting = false;
    bool backOnSetting = false;
    bool finishOnProcessing = false;
    bool footer = false;
    bool operator==(const WizardBottomButtons&) const = default;
};

/// The main screen's own widgets.
class WizardScreen {
public:
    virtual ~WizardScreen() = default;
    /// Removes the step views from the box, hides them and re-lays out; then shows the view of
    /// step 1 to 4 (0 shows none).
    virtual void showStepView(int step) = 0;
    virtual void setBottomButtons(const WizardBottomButtons& buttons) = 0;
    virtual void setBottomButtonsEnabled(bool enabled) = 0;
    virtual void setNextOnPhotosEnabled(bool enabled) = 0;
    virtual void setFinishVisible(bool visible) = 0;
    /// The footer's batch summary (rich text); an empty text with visible false hides the line.
    virtual void setFooter(const QString& text, bool visible) = 0;
    virtual void showAlertSheet(const AlertContent& alert) = 0;
    virtual void hideAlertSheet() = 0;
    virtual void showOverwriteSheet() = 0;
    virtual void hideOverwriteSheet() = 0;
    /// The animated loading overlay with its text; hiding it also stops the animation.
    virtual void showLoading(const QString& text) = 0;
    virtual void hideLoading() = 0;
    /// Lays the panes out for the window's width.
    virtual void relayout() = 0;
};

} // namespace vantrel
