#pragma once

#include <QObject>
#include <QString>

#include "core/DataBeans/OutputOptionSettings.h"
#include "core/DataBeans/ResizingOptionsSettingObject.h"
#include "core/Wizard/AlertController.h"
#include "core/Wizard/WizardPorts.h"
#include "core/Wizard/WizardSession.h"

namespace vantrel {

struct Notification;

/// The four-step wizard without its widgets: which step is shown and with which bottom buttons,
/// the checks before leaving a step, the option objects of a run, the questions before Convert,
/// the alert and overwrite sheets (AlertController) and the saved session (WizardSession). It
/// observes the notifications the main screen answers. Main thread only.
///
/// The option objects are rebuilt every time steps 3 and 4 are entered and at Convert.
class WizardDriver : public QObject {
public:
    WizardDriver(WizardScreen& screen, WizardAddPhotos& addPhotos, WizardPanes& panes, WizardProcessing& processing,
        QObject* parent = nullptr);
    ~WizardDriver() override;

    /// Registers the observers of the main screen on the default centre.
    void registerObservers();
    void initSetup();

    // Steps
    void setUiOnTabChange(int step);
    void addPhotosView();
    void addResizingOptionsView();
    void addSettingOptionsView();
    void addProcessView();
    void clearView();
    void configureBottomButtons(int step);
    /// The step whose view is in the box (0 none).
    int currentStep() const { return m_step; }

    // Bottom buttons; each does nothing while the wizard is disabled.
    void btnNextOnPhotosvwTapped();
    void btnNextOnResizingvwTapped();
    void btnBackOnResizingvwTapped();
    void btnConvertOnSettingvwTapped();
    void btnBackOnSettingvwTapped();
    void btnFinishOnProcessingvwTapped();

    /// Raises alert 123 and answers true when the predefined-size choice is on without a preset.
    bool isInvalidSizeSelected();
    ResizingOptionsSettingObject getResizeOtpionSettingObject() { return m_session.getResizeOtpionSettingObject(); }
    bool ischangesMadeInSettings() { return m_session.ischangesMadeInSettings(); }
    void saveProjectSessionToDefault() { m_session.saveProjectSessionToDefault(); }
    void loadLastSessionSettings();

    // Notification handlers
    void processFinished();
    void photosModified();
    void enableView();
    void disableView();
    void setBatchInfoAtFooterNotification(const QString& text);
    void windowResizing();
    void feedbackSubmittedSuccessfully();
    void sendRateMeNotification();

    AlertController& alerts() { return m_alerts; }
    WizardSession& session() { return m_session; }
    bool isPhotoSizeSettingFirstTime() const { return m_isPhotoSizeSettingFirstTime; }
    void setIsPhotoSizeSettingFirstTime(bool value) { m_isPhotoSizeSettingFirstTime = value; }
    const ResizingOptionsSettingObject& resizeingOptionsObject() const { return m_resizeingOptionsObject; }
    const OutputOptionSettings& outputOptionsObject() const { return m_outputOptionsObject; }

    /// The application version the rating prompt compares with the defaults' "appVersion".
    static QString bundleVersion();

private:
    void showStep(int step);
    /// Posts "notificationchangeTabUI" after a move.
    void postTab(int step);
    /// Posts "notificationShowAlertWithType".
    void raise(int tag);

    WizardScreen& m_screen;
    WizardAddPhotos& m_addPhotos;
    WizardPanes& m_panes;
    WizardProcessing& m_processing;
    WizardSession m_session;
    AlertController m_alerts;

    int m_step = 0;
    bool m_isPhotoSizeSettingFirstTime = true;
    ResizingOptionsSettingObject m_resizeingOptionsObject;
    OutputOptionSettings m_outputOptionsObject;
};

} // namespace vantrel
