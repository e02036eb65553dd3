#pragma once

#include <functional>
#include <memory>

#include <QPointer>
#include <QWidget>

#include "app/MainScreen/MainScreenPorts.h"
#include "app/MainScreenInterface.h"
#include "components/LocalMouseMonitor.h"
#include "components/MouseDownViewDelegate.h"
#include "components/TorAttachedWindow.h"
#include "core/Wizard/WizardDriver.h"
#include "screens/Panes/RotateView.h"

class QLabel;
class QListWidget;
class QPushButton;

namespace vantrel {

class AddPhotosVC;
class AlertSheetView;
class FlipView;
class LoadingOverlay;
class LogWindow;
class ProcessingView;
class ResizeView;
class SettingView;
class Sheet;
struct Notification;

/// The main window's content: the four wizard steps in `leftBox`, the bottom buttons with the
/// footer line, the shared alert sheet (`winAlert`), the overwrite sheet (`winOverwriteAlert`),
/// the log window (`winLogs`) and the loading overlay. The rules live in WizardDriver; this widget
/// shows what it decides. Sheets are in-window overlays (Sheet), never nested event loops.
class MainScreenView : public QWidget,
                       public WizardScreen,
                       public MainScreenInterface,
                       public MouseDownViewDelegate,
                       public RotateViewDelegate {
    Q_OBJECT

public:
    /// The run's engine may be given (tests give one with their own probe); by default the screen
    /// makes one on the real pipeline and the application's log database.
    explicit MainScreenView(QWidget* parent = nullptr, std::shared_ptr<ProcessingEngine> engine = {});
    ~MainScreenView() override;

    void initSetup();

    // Steps
    void setUiOnTabChange(int step) override { m_driver->setUiOnTabChange(step); }
    void addPhotosView() { m_driver->addPhotosView(); }
    void addResizingOptionsView() { m_driver->addResizingOptionsView(); }
    void addSettingOptionsView() { m_driver->addSettingOptionsView(); }
    void addProcessView() { m_driver->addProcessView(); }
    void clearView() { m_driver->clearView(); }
    void configureBottomButtons(int step) { m_driver->configureBottomButtons(step); }

    // Bottom buttons
    void btnNextOnPhotosvwTapped() { m_driver->btnNextOnPhotosvwTapped(); }
    void btnNextOnResizingvwTapped() { m_driver->btnNextOnResizingvwTapped(); }
    void btnBackOnResizingvwTapped() { m_driver->btnBackOnResizingvwTapped(); }
    void btnConvertOnSettingvwTapped() { m_driver->btnConvertOnSettingvwTapped(); }
    void btnBackOnSettingvwTapped() { m_driver->btnBackOnSettingvwTapped(); }
    void btnFinishOnProcessingvwTapped() { m_driver->btnFinishOnProcessingvwTapped(); }
    /// Shows the last run's log rows in the log window, which covers the main window.
    void btnShowLogsTapped();

    bool isInvalidSizeSelected() override { return m_driver->isInvalidSizeSelected(); }
    ResizingOptionsSettingObject getResizeOtpionSettingObject() { return m_driver->getResizeOtpionSettingObject(); }
    bool ischangesMadeInSettings() override { return m_driver->ischangesMadeInSettings(); }
    void saveProjectSessionToDefault() override { m_driver->saveProjectSessionToDefault(); }
    void loadLastSessionSettings() override { m_driver->loadLastSessionSettings(); }

    // The main window's view of the screen
    QWidget* mainScreenWidget() override { return this; }
    bool isRunActive() override { return m_processingPort->engine().isRunActive(); }
    void stopRun() override { m_processingPort->engine().stopProcessing(); }
    void whenRunThreadsDone(std::function<void()> done) override
    {
        m_processingPort->engine().whenWorkersReturned(std::move(done));
    }

    // Shared alert sheet and overwrite sheet
    void showAlertWithTag(int tag) { m_driver->alerts().showAlertWithTag(tag); }
    void showAlertNotification(const Notification& notification);
    void btnYesOnAlertTapped() { m_driver->alerts().btnYesOnAlertTapped(); }
    void btnNoOnAlertTapped() { m_driver->alerts().btnNoOnAlertTapped(); }
    void btnOkOnAlertTapped() { m_driver->alerts().btnOkOnAlertTapped(); }
    void btnSkipRawimagesTapped() { m_driver->alerts().btnSkipRawimagesTapped(); }
    void btnCancelOnAlertTapped() { m_driver->alerts().btnCancelOnAlertTapped(); }
    void btnRemoveFromBatchTapped() { m_driver->alerts().btnRemoveFromBatchTapped(); }
    void showOverwriteFileAlert() { m_driver->alerts().showOverwriteFileAlert(); }
    void hideOverwriteFileAlert() { m_driver->alerts().hideOverwriteFileAlert(); }
    int alertTag() const { return m_driver->alerts().alertTag(); }

    // Loading overlay
    void showLoading(bool show, const QString& text);
    /// The plain overlay without animation: hidden for YES, shown for NO.
    void enableView(bool enable);
    void showLoadingNotification(const Notification& notification);
    void hideLoadingNotification();

    // Notification handlers
    void enableView() { m_driver->enableView(); }
    void disableView() { m_driver->disableView(); }
    void processFinished() { m_driver->processFinished(); }
    void photosModified() { m_driver->photosModified(); }
    void windowResizing() { relayout(); }
    void setBatchInfoAtFooterNotification(const Notification& notification);
    void feedbackSubmittedSuccessfully() { m_driver->feedbackSubmittedSuccessfully(); }
    void sendRateMeNotification() { m_driver->sendRateMeNotification(); }
    void setupViewNotification() { initSetup(); }
    void viewWillDisappear() { }
    /// A window whose delegate is this screen (the log window) closes: the sub-window flag is
    /// cleared and the plain overlay hidden.
    void windowWillClose();

    /// The rotate pane's apply button: the angle is kept, nothing reads it.
    void btnApplyRotationTapped(float angle) override { m_rotationAngle = angle; }

    // Kept operations that nothing in the application calls.
    /// Shows the options table in a popup below a point of this screen.
    void addAttachedPopupTableAtPoint(const QPointF& point);
    TorAttachedWindow* attachedPopup() const { return m_attachedPopup; }
    void addMouseEventMonitoring();
    void dismissPanel();
    void removeAttachedPopupWindow();
    void setTranslucentFeedbackWindow(QWidget* window, QWidget* box, QWidget* onWindow);
    void becomeFirstResponder();

    // Outlets
    QWidget* leftBox() const { return m_leftBox; }
    QWidget* vwResizeOptions() const { return m_vwResizeOptions; }
    QWidget* stepView(int step) const;
    QPushButton* bottomButton(const char* name) const;
    QLabel* lblBatchInfoBottom() const { return m_lblBatchInfoBottom; }
    AlertSheetView* winAlert() const { return m_winAlert; }
    QWidget* winOverwriteAlert() const { return m_winOverwriteAlert; }
    LogWindow* winLogs() const { return m_winLogs; }
    /// The add-photos screen; nullptr until step 1 is first shown.
    AddPhotosVC* addPhotosScreen() const { return m_addPhotosScreen; }
    ResizeView* vwResize() const { return m_vwResize; }
    RotateView* vwRotate() const { return m_vwRotate; }
    FlipView* vwFlip() const { return m_vwFlip; }
    SettingView* vwSetting() const { return m_vwSetting; }
    ProcessingView* vwProcessing() const { return m_vwProcessing; }
    LoadingOverlay* vwLoading() const { return m_vwLoading; }
    WizardDriver& driver() { return *m_driver; }
    ProcessingEngine& engine() { return m_processingPort->engine(); }
    /// The wizard's ports over the panes and the processing view.
    WizardPanes& panes() { return *m_panesPort; }
    ProcessingPort& processingPort() { return *m_processingPort; }
    float rotationAngle() const { return m_rotationAngle; }

    // WizardScreen
    void showStepView(int step) override;
    void setBottomButtons(const WizardBottomButtons& buttons) override;
    void setBottomButtonsEnabled(bool enabled) override;
    void setNextOnPhotosEnabled(bool enabled) override;
    void setFinishVisible(bool visible) override;
    void setFooter(const QString& text, bool visible) override;
    void showAlertSheet(const AlertContent& alert) override;
    void hideAlertSheet() override;
    void showOverwriteSheet() override;
    void hideOverwriteSheet() override;
    void showLoading(const QString& text) override { showLoading(true, text); }
    void hideLoading() override { showLoading(false, QString()); }
    void relayout() override;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildBottomBar();
    QPushButton* makeBottomButton(
        const char* name, const QString& caption, bool primary, void (MainScreenView::*action)());
    /// After any window, sheet or panel may have closed: lets a question the run is holding be asked.
    void scheduleSubWindowCheck();

    void buildStepViews(std::shared_ptr<ProcessingEngine> engine);
    /// The add-photos screen, made the first time step 1 is shown.
    AddPhotosVC* ensureAddPhotosScreen();
    /// Runs a change of step or bottom buttons; when it hid the focused control, focus goes to
    /// the step's main bottom button.
    void keepFocusOnStepChange(const std::function<void()>& change);
    void showStep(int step);
    void showBottomButtons(const WizardBottomButtons& buttons);
    /// Finish and Show Logs, without moving the focus.
    void showFinish(bool visible);

    std::unique_ptr<AddPhotosPort> m_addPhotosPort;
    std::unique_ptr<PanesPort> m_panesPort;
    std::unique_ptr<ProcessingPort> m_processingPort;
    std::unique_ptr<WizardDriver> m_driver;

    QWidget* m_leftBox = nullptr;
    AddPhotosVC* m_addPhotosScreen = nullptr;
    QWidget* m_vwResizeOptions = nullptr;
    ResizeView* m_vwResize = nullptr;
    RotateView* m_vwRotate = nullptr;
    FlipView* m_vwFlip = nullptr;
    SettingView* m_vwSetting = nullptr;
    ProcessingView* m_vwProcessing = nullptr;
    QWidget* m_bottomBar = nullptr;
    QList<QPushButton*> m_bottomButtons;
    QPushButton* m_btnShowLogs = nullptr;
    QLabel* m_lblBatchInfoBottom = nullptr;
    AlertSheetView* m_winAlert = nullptr;
    QWidget* m_winOverwriteAlert = nullptr;
    LogWindow* m_winLogs = nullptr;
    LoadingOverlay* m_vwLoading = nullptr;
    QWidget* m_vwPopupWithTableOptions = nullptr;
    QListWidget* m_tblPopupOptions = nullptr;
    QPointer<TorAttachedWindow> m_attachedPopup;
    std::unique_ptr<LocalMouseMonitor> m_mouseEventMonitor;
    QPointer<Sheet> m_alertSheet;
    QPointer<Sheet> m_overwriteSheet;
    bool m_subWindowCheckQueued = false;
    float m_rotationAngle = 0;
};

} // namespace vantrel
