#include "core/Wizard/WizardDriver.h"

#include <QCoreApplication>
#include <QTimer>

#include "core/AppDelegate.h"
#include "core/Catalogue.h"
#include "core/Wizard/ConvertDecision.h"
#include "platform/Defaults.h"
#include "platform/NotificationCenter.h"

namespace vantrel {

WizardDriver::WizardDriver(
    WizardScreen& screen, WizardAddPhotos& addPhotos, WizardPanes& panes, WizardProcessing& processing, QObject* parent)
    : QObject(parent)
    , m_screen(screen)
    , m_addPhotos(addPhotos)
    , m_panes(panes)
    , m_processing(processing)
    , m_session(panes)
    , m_alerts(screen, addPhotos, processing, [this] { addProcessView(); })
{
}

WizardDriver::~WizardDriver()
{
    NotificationCenter::defaultCenter().removeObserver(this);
}

void WizardDriver::registerObservers()
{
    NotificationCenter& center = NotificationCenter::defaultCenter();
    center.addObserver(this, kNotificationSetupExifEditorView, [this](const Notification&) { initSetup(); });
    center.addObserver(this, kNotificationDisappearExifEditorView, [](const Notification&) {});
    center.addObserver(
        this, kNotificationSubmitFeedback, [this](const Notification&) { feedbackSubmittedSuccessfully(); });
    center.addObserver(this, kNotificationShowAlertWithType,
        [this](const Notification& n) { m_alerts.showAlertWithTag(n.userInfo.value(kUserInfoType).toInt()); });
    center.addObserver(this, kNotificationShowMessageAlert, [this](const Notification& n) {
        m_alerts.showMessage(
            n.userInfo.value(kUserInfoTitle).toString(), n.userInfo.value(kUserInfoMessage).toString());
    });
    center.addObserver(this, kNotificationsShowLoadingWithText,
        [this](const Notification& n) { m_screen.showLoading(n.userInfo.value(kUserInfoTextStr).toString()); });
    center.addObserver(this, kNotificationsHideLoading, [this](const Notification&) {
        m_screen.hideLoading();
        m_alerts.subWindowMayHaveClosed();
    });
    center.addObserver(this, kNotificationWindowResized, [this](const Notification&) { windowResizing(); });
    center.addObserver(this, kNotificationWindowEndResizing, [this](const Notification&) { windowResizing(); });
    center.addObserver(
        this, kNotificationShowOverwriteAlert, [this](const Notification&) { m_alerts.showOverwriteFileAlert(); });
    center.addObserver(
        this, kNotificationHideOverwriteAlert, [this](const Notification&) { m_alerts.hideOverwriteFileAlert(); });
    center.addObserver(this, kNotificationsEnable, [this](const Notification&) { enableView(); });
    center.addObserver(this, kNotificationsDisbleView, [this](const Notification&) { disableView(); });
    center.addObserver(this, kNotificationsProcessFinished, [this](const Notification&) { processFinished(); });
    center.addObserver(this, kNotificationUpdateFooterInfo, [this](const Notification& n) {
        setBatchInfoAtFooterNotification(n.userInfo.value(kUserInfoTextStr).toString());
    });
    center.addObserver(this, kNotificationsPhotosModified, [this](const Notification&) { photosModified(); });
}

void WizardDriver::initSetup()
{
    m_isPhotoSizeSettingFirstTime = true;
}

// --- Steps ------------------------------------------------------------------------------------------

void WizardDriver::setUiOnTabChange(int step)
{
    switch (step) {
    case 1:
        addPhotosView();
        break;
    case 2:
        addResizingOptionsView();
        break;
    case 3:
        addSettingOptionsView();
        break;
    default:
        clearView();
        break;
    }
}

void WizardDriver::clearView()
{
    m_step = 0;
    m_screen.showStepView(0);
    m_addPhotos.closeBackgroundOperations();
}

void WizardDriver::showStep(int step)
{
    clearView();
    m_step = step;
    m_screen.showStepView(step);
    configureBottomButtons(step);
    m_screen.relayout();
}

void WizardDriver::addPhotosView()
{
    showStep(1);
}

void WizardDriver::addResizingOptionsView()
{
    // The default size is recomputed the first time the step is shown after the batch changed.
    if (m_isPhotoSizeSettingFirstTime) {
        m_isPhotoSizeSettingFirstTime = false;
        m_panes.setDefaultCustomSize();
    }
    showStep(2);
}

void WizardDriver::addSettingOptionsView()
{
    m_resizeingOptionsObject = getResizeOtpionSettingObject();
    showStep(3);
}

void WizardDriver::addProcessView()
{
    m_outputOptionsObject = m_panes.getOutputSettingObject();
    // The step is shown with Finish hidden before the run starts, so a run that ends at once still
    // leaves Finish shown.
    showStep(4);
    m_screen.setFinishVisible(false);
    m_processing.startProcess(m_outputOptionsObject, m_resizeingOptionsObject);
}

void WizardDriver::configureBottomButtons(int step)
{
    WizardBottomButtons buttons;
    if (step >= 1 && step <= 4) {
        buttons.footer = !AppDelegate::shareDelegate()->arraySelectedImagesToProcess.isEmpty();
        buttons.nextOnPhotos = step == 1;
        buttons.nextOnResizing = buttons.backOnResizing = step == 2;
        buttons.convertOnSetting = buttons.backOnSetting = step == 3;
        if (step == 4) {
            buttons.finishOnProcessing = true;
            buttons.footer = false;
        }
    }
    m_screen.setBottomButtons(buttons);
}

void WizardDriver::postTab(int step)
{
    NotificationCenter::defaultCenter().post(kNotificationChangeTabUI, { { kUserInfoTabIndex, step } });
}

void WizardDriver::raise(int tag)
{
    NotificationCenter::defaultCenter().post(kNotificationShowAlertWithType, { { kUserInfoType, tag } });
}

// --- Bottom buttons ---------------------------------------------------------------------------------

void WizardDriver::btnNextOnPhotosvwTapped()
{
    if (AppDelegate::shareDelegate()->isDisableview)
        return;
    if (AppDelegate::shareDelegate()->arraySelectedImagesToProcess.isEmpty()) {
        raise(117);
        return;
    }
    if (m_addPhotos.getSelectedPhotoFiles().isEmpty()) {
        raise(118);
        return;
    }
    addResizingOptionsView();
    postTab(2);
}

void WizardDriver::btnNextOnResizingvwTapped()
{
    if (AppDelegate::shareDelegate()->isDisableview || isInvalidSizeSelected())
        return;
    addSettingOptionsView();
    postTab(3);
}

void WizardDriver::btnBackOnResizingvwTapped()
{
    if (AppDelegate::shareDelegate()->isDisableview || isInvalidSizeSelected())
        return;
    addPhotosView();
    postTab(1);
}

void WizardDriver::btnConvertOnSettingvwTapped()
{
    AppDelegate* app = AppDelegate::shareDelegate();
    app->setRawConvertFormat(QStringLiteral("png"));
    if (app->isDisableview)
        return;
    m_outputOptionsObject = m_panes.getOutputSettingObject();
    const ConvertStep step = ConvertDecision::decide(
        app->arraySelectedImagesToProcess, m_outputOptionsObject, m_addPhotos.isRawImageExist());
    if (step == ConvertStep::Start)
        addProcessView();
    else
        raise(ConvertDecision::alertFor(step));
}

void WizardDriver::btnBackOnSettingvwTapped()
{
    if (AppDelegate::shareDelegate()->isDisableview)
        return;
    addResizingOptionsView();
    postTab(2);
}

void WizardDriver::btnFinishOnProcessingvwTapped()
{
    if (AppDelegate::shareDelegate()->isDisableview)
        return;
    addPhotosView();
    postTab(1);
}

bool WizardDriver::isInvalidSizeSelected()
{
    if (!m_panes.isPredefinedSizeNotSlectedAnyValue())
        return false;
    raise(123);
    return true;
}

void WizardDriver::loadLastSessionSettings()
{
    const std::optional<bool> customSize = m_session.loadLastSessionSettings();
    // A restored custom size is not to be replaced by the default size when step 2 is shown.
    if (customSize && *customSize)
        m_isPhotoSizeSettingFirstTime = false;
}

// --- Notifications ----------------------------------------------------------------------------------

QString WizardDriver::bundleVersion()
{
    return QCoreApplication::applicationVersion();
}

void WizardDriver::processFinished()
{
    m_alerts.runEnded();
    m_screen.setFinishVisible(true);
    const QString stored = Defaults::standard().stringForKey(kDefaultsAppVersion);
    if (!Defaults::standard().contains(kDefaultsAppVersion) || stored != bundleVersion()) {
        QTimer::singleShot(50, this, [this] { sendRateMeNotification(); });
    }
}

void WizardDriver::sendRateMeNotification()
{
    NotificationCenter::defaultCenter().post(kShowRatePopup);
}

void WizardDriver::photosModified()
{
    m_isPhotoSizeSettingFirstTime = true;
    m_screen.setNextOnPhotosEnabled(!AppDelegate::shareDelegate()->arraySelectedImagesToProcess.isEmpty());
}

void WizardDriver::enableView()
{
    m_screen.setBottomButtonsEnabled(true);
}

void WizardDriver::disableView()
{
    m_screen.setBottomButtonsEnabled(false);
}

void WizardDriver::setBatchInfoAtFooterNotification(const QString& text)
{
    if (AppDelegate::shareDelegate()->arraySelectedImagesToProcess.isEmpty())
        m_screen.setFooter(QString(), false);
    else
        m_screen.setFooter(text, true);
}

void WizardDriver::windowResizing()
{
    m_screen.relayout();
}

void WizardDriver::feedbackSubmittedSuccessfully()
{
    m_alerts.showAlertWithTag(107);
}

} // namespace vantrel
