#pragma once

#include <QString>

namespace vantrel {

/// What the add-photos screen shows for an add run. The run logic (AddPhotosLogic) holds no
/// widget: it calls these on the main thread, and the screen only displays.
class AddPhotosView {
public:
    virtual ~AddPhotosView() = default;

    /// The in-screen progress view (shown while a run starts on an empty batch).
    virtual void setAddingProgressViewHidden(bool hidden) = 0;
    virtual void setStopButtonHidden(bool hidden) = 0;
    /// Registers (true) or unregisters (false) the drop box for dropped files.
    virtual void enableDragDrop(bool enable) = 0;
    /// The progress sheet over the main window, its path label cleared.
    virtual void showProgressSheet() = 0;
    virtual void endProgressSheet() = 0;
    /// After accepted photos: the in-screen text, the sheet's text and the last photo's path.
    virtual void setProgressTexts(const QString& inScreen, const QString& onSheet, const QString& path) = 0;
    /// The sheet's progress bar back to 0 and both progress texts cleared.
    virtual void resetProgress() = 0;
    /// true: the batch views with their header; false: the drop area and the middle add button.
    virtual void hideDragnDropImageSetHidden(bool hidden) = 0;

    // The batch views' part of the refresh after a run (the grid and list fill these in).
    virtual void updateBatchInformationInBottomView() { }
    virtual void changePhotosViewImageMode() { }
    virtual void updateButtonsEnability() { }
    /// Posts the footer text of the batch ("notificationUpdateFooterInfo").
    virtual void addBottomInfoAboutBatch() = 0;
    /// The run has ended and the screen is refreshed; called before the run's alert, if any.
    virtual void addRunFinished() { }
    /// A modal alert with a message, an informative text and one button (the run met a photo
    /// library whose album file records no "Archive Path").
    virtual void showMessageAlert(const QString& message, const QString& informativeText, const QString& button) = 0;
};

} // namespace vantrel
