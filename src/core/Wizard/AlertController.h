#pragma once

#include <functional>

#include "core/Wizard/AlertCatalogue.h"

namespace vantrel {

class WizardAddPhotos;
class WizardProcessing;
class WizardScreen;

/// The shared alert sheet and the overwrite sheet: which alert is shown, what each button does for
/// it, and the sub-window rule. Main thread only.
///
/// A raise while a sub-window is open (AppDelegate::isSubWindowOpened) is dropped, and drag and
/// drop is left as it is; the run keeps its own question pending and asks again once told that the
/// sub-window closed (subWindowMayHaveClosed()). Raising the alert sheet does not set the flag; the
/// overwrite sheet does. A later raise replaces the texts, and the buttons act on the last number.
class AlertController {
public:
    /// startRun shows step 4 and starts the run (the wizard's addProcessView).
    AlertController(
        WizardScreen& screen, WizardAddPhotos& addPhotos, WizardProcessing& processing, std::function<void()> startRun);

    void showAlertWithTag(int tag);
    /// A message with OK only, raised under the same rules as a numbered alert (alertTag 0).
    void showMessage(const QString& title, const QString& message);
    int alertTag() const { return m_alertTag; }
    bool isAlertShown() const { return m_alertShown; }
    bool isOverwriteShown() const { return m_overwriteShown; }

    // The eight buttons: PNG shares Yes, JPEG shares No.
    void btnYesOnAlertTapped();
    void btnNoOnAlertTapped();
    void btnOkOnAlertTapped();
    void btnSkipRawimagesTapped();
    void btnCancelOnAlertTapped();
    void btnRemoveFromBatchTapped();
    /// Routes a button to its action.
    void tap(AlertButton button);

    void showOverwriteFileAlert();
    void hideOverwriteFileAlert();
    /// The run is over (its summary and log rows are done): a stop question still open, raised by a
    /// quit before the run ended, asks about nothing any more and is taken down unanswered.
    void runEnded();

    /// To be called whenever isSubWindowOpened may have been cleared (by anyone): while it is clear,
    /// the run is told, so a question it could not ask meanwhile is asked now (telling it when
    /// nothing is pending does nothing).
    void subWindowMayHaveClosed();

private:
    void show(const AlertContent& alert);
    /// Ends the sheet; false when none is shown (a stale button does nothing).
    bool closeAlert();
    AlertCounts counts();

    WizardScreen& m_screen;
    WizardAddPhotos& m_addPhotos;
    WizardProcessing& m_processing;
    std::function<void()> m_startRun;
    int m_alertTag = 0;
    bool m_alertShown = false;
    bool m_overwriteShown = false;
};

} // namespace vantrel
