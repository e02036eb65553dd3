#include "app/MainScreen/MainScreenView.h"

#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QTimer>

#include "app/MainScreen/AlertSheetView.h"
#include "app/MainScreen/LoadingOverlay.h"
#include "app/MainScreen/WizardLook.h"
#include "components/AppLook.h"
#include "components/FocusRing.h"
#include "components/LocalMouseMonitor.h"
#include "components/Sheet.h"
#include "components/TorAttachedWindow.h"
#include "core/AppDelegate.h"
#include "core/Catalogue.h"
#include "platform/NotificationCenter.h"
#include "screens/AddPhotos/AddPhotosVC.h"
#include "screens/Logs/LogDetailView.h"
#include "screens/Logs/LogWindow.h"
#include "screens/Panes/FlipView.h"
#include "screens/Panes/ResizeView.h"
#include "screens/Panes/SettingView.h"
#include "screens/Processing/OverwriteAlertView.h"
#include "screens/Processing/ProcessingView.h"

namespace vantrel {

namespace {
constexpr int kBottomBarHeight = 64;
constexpr int kButtonWidth = 120;
constexpr int kButtonHeight = 34;

template <class View> View* makeStepView(View* view, const char* name, const QString& accessibleName)
{
    view->setObjectName(QString::fromLatin1(name));
    view->setAccessibleName(accessibleName);
    view->hide();
    return view;
}
} // namespace

MainScreenView::MainScreenView(QWidget* parent, std::shared_ptr<ProcessingEngine> engine)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("mainContaner"));
    setAccessibleName(QStringLiteral("Main screen"));
    m_leftBox = new QWidget(this);
    m_leftBox->setObjectName(QStringLiteral("leftBox"));
    m_leftBox->setAccessibleName(QStringLiteral("Wizard step"));
    buildStepViews(std::move(engine));
    buildBottomBar();
    m_addPhotosPort = std::make_unique<AddPhotosPort>();
    m_panesPort = std::make_unique<PanesPort>(m_vwResize, m_vwRotate, m_vwFlip, m_vwSetting);
    m_processingPort = std::make_unique<ProcessingPort>(m_vwProcessing);
    m_driver = std::make_unique<WizardDriver>(*this, *m_addPhotosPort, *m_panesPort, *m_processingPort);

    m_winAlert = new AlertSheetView(this);
    m_winAlert->hide();
    m_winAlert->setButtonHandler([this](AlertButton button) { m_driver->alerts().tap(button); });

    // The overwrite question's controls belong to the processing view; this screen shows them.
    m_winOverwriteAlert = m_vwProcessing->overwriteAlertContent();
    m_winOverwriteAlert->setObjectName(QStringLiteral("winOverwriteAlert"));
    m_winOverwriteAlert->hide();

    m_vwLoading = new LoadingOverlay(this);

    m_driver->registerObservers();
    qApp->installEventFilter(this);
    // Created like the panes: the set-up runs once the view has been built and placed.
    QTimer::singleShot(20, this, &MainScreenView::initSetup);
}

MainScreenView::~MainScreenView()
{
    qApp->removeEventFilter(this);
    NotificationCenter::defaultCenter().removeObserver(this);
}

void MainScreenView::initSetup()
{
    m_driver->initSetup();
}

void MainScreenView::buildStepViews(std::shared_ptr<ProcessingEngine> engine)
{
    m_vwResizeOptions = makeStepView(new QWidget(m_leftBox), "vwResizeOptions", QStringLiteral("Resizing"));
    m_vwResize = makeStepView(new ResizeView(m_vwResizeOptions), "vwResize", QStringLiteral("Resize"));
    m_vwRotate = makeStepView(new RotateView(m_vwResizeOptions), "vwRotate", QStringLiteral("Rotate"));
    m_vwFlip = makeStepView(new FlipView(m_vwResizeOptions), "vwFlip", QStringLiteral("Flip"));
    m_vwRotate->setDelegate(this);
    m_vwResize->show();
    m_vwRotate->show();
    m_vwFlip->show();
    m_vwSetting = makeStepView(new SettingView(m_leftBox), "vwSetting", QStringLiteral("Settings"));
    m_vwProcessing
        = makeStepView(new ProcessingView(std::move(engine), m_leftBox), "vwProcessing", QStringLiteral("Processing"));
}

AddPhotosVC* MainScreenView::ensureAddPhotosScreen()
{
    if (!m_addPhotosScreen) {
        m_addPhotosScreen = makeStepView(new AddPhotosVC(m_leftBox), "addPhotosView", QStringLiteral("Photos"));
        m_addPhotosPort->setScreen(m_addPhotosScreen);
    }
    return m_addPhotosScreen;
}

QPushButton* MainScreenView::makeBottomButton(
    const char* name, const QString& caption, bool primary, void (MainScreenView::*action)())
{
    auto* button = new QPushButton(caption, m_bottomBar);
    button->setObjectName(QString::fromLatin1(name));
    button->setAccessibleName(caption);
    button->setCursor(Qt::PointingHandCursor);
    button->setStyleSheet(WizardLook::buttonStyle(primary));
    button->hide();
    connect(button, &QPushButton::clicked, this, action);
    m_bottomButtons.append(button);
    return button;
}

void MainScreenView::buildBottomBar()
{
    m_bottomBar = new QWidget(this);
    m_bottomBar->setObjectName(QStringLiteral("bottomBar"));
    m_lblBatchInfoBottom = new QLabel(m_bottomBar);
    m_lblBatchInfoBottom->setObjectName(QStringLiteral("lblBatchInfoBottom"));
    m_lblBatchInfoBottom->setAccessibleName(QStringLiteral("Batch summary"));
    m_lblBatchInfoBottom->setTextFormat(Qt::RichText);
    m_lblBatchInfoBottom->setStyleSheet(QStringLiteral("color: rgb(195, 204, 233); font-size: 13px;"));
    m_lblBatchInfoBottom->hide();
    makeBottomButton("btnNextOnPhotosvw", QStringLiteral("Next"), true, &MainScreenView::btnNextOnPhotosvwTapped);
    makeBottomButton("btnNextOnResizingvw", QStringLiteral("Next"), true, &MainScreenView::btnNextOnResizingvwTapped);
    makeBottomButton("btnBackOnResizingvw", QStringLiteral("Back"), false, &MainScreenView::btnBackOnResizingvwTapped);
    makeBottomButton(
        "btnConvertOnSettingvw", QStringLiteral("Convert"), true, &MainScreenView::btnConvertOnSettingvwTapped);
    makeBottomButton("btnBackOnSettingvw", QStringLiteral("Back"), false, &MainScreenView::btnBackOnSettingvwTapped);
    makeBottomButton(
        "btnFinishOnProccesiingvw", QStringLiteral("Finish"), true, &MainScreenView::btnFinishOnProcessingvwTapped);
    // Shown with Finish, once the run's log rows exist.
    makeBottomButton("btnShowLogs", QStringLiteral("Show Logs"), false, &MainScreenView::btnShowLogsTapped);
}

QPushButton* MainScreenView::bottomButton(const char* name) const
{
    for (QPushButton* button : m_bottomButtons) {
        if (button->objectName() == QLatin1String(name))
            return button;
    }
    return nullptr;
}

QWidget* MainScreenView::stepView(int step) const
{
    switch (step) {
    case 1:
        return m_addPhotosScreen;
    case 2:
        return m_vwResizeOptions;
    case 3:
        return m_vwSetting;
    case 4:
        return m_vwProcessing;
    default:
        return nullptr;
    }
}

// --- WizardScreen -----------------------------------------------------------------------------------

void MainScreenView::keepFocusOnStepChange(const std::function<void()>& change)
{
    QWidget* had = QApplication::focusWidget();
    const bool ringed = had && FocusRing::ringedWidget() == had;
    change();
    if (!had || !isAncestorOf(had) || had->isVisible())
        return;
    // The focused control went with its step: the keyboard goes on at the step's main bottom
    // button (the rightmost), not at whatever Qt's chain finds next; a ring only if there was one.
    QPushButton* primary = nullptr;
    for (QPushButton* button : m_bottomButtons) {
        if (button->isVisible() && button->isEnabled() && (!primary || button->x() > primary->x()))
            primary = button;
    }
    if (primary)
        primary->setFocus(ringed ? Qt::TabFocusReason : Qt::MouseFocusReason);
    else if (m_vwProcessing->isVisible())
        m_vwProcessing->takeFocusForStop(ringed); // a run starts: no bottom button until it ends
}

void MainScreenView::showStepView(int step)
{
    keepFocusOnStepChange([this, step] { showStep(step); });
}

void MainScreenView::showStep(int step)
{
    if (step == 1)
        ensureAddPhotosScreen();
    for (int i = 1; i <= 4; ++i) {
        if (QWidget* view = stepView(i))
            view->hide();
    }
    if (QWidget* view = stepView(step)) {
        view->setGeometry(m_leftBox->rect());
        view->show();
    }
    relayout();
}

void MainScreenView::setBottomButtons(const WizardBottomButtons& buttons)
{
    keepFocusOnStepChange([this, &buttons] { showBottomButtons(buttons); });
}

void MainScreenView::showBottomButtons(const WizardBottomButtons& buttons)
{
    bottomButton("btnNextOnPhotosvw")->setVisible(buttons.nextOnPhotos);
    bottomButton("btnNextOnResizingvw")->setVisible(buttons.nextOnResizing);
    bottomButton("btnBackOnResizingvw")->setVisible(buttons.backOnResizing);
    bottomButton("btnConvertOnSettingvw")->setVisible(buttons.convertOnSetting);
    bottomButton("btnBackOnSettingvw")->setVisible(buttons.backOnSetting);
    showFinish(buttons.finishOnProcessing);
    m_lblBatchInfoBottom->setVisible(buttons.footer);
}

void MainScreenView::setBottomButtonsEnabled(bool enabled)
{
    for (QPushButton* button : m_bottomButtons)
        button->setEnabled(enabled);
}

void MainScreenView::setNextOnPhotosEnabled(bool enabled)
{
    bottomButton("btnNextOnPhotosvw")->setEnabled(enabled);
}

void MainScreenView::showFinish(bool visible)
{
    bottomButton("btnFinishOnProccesiingvw")->setVisible(visible);
    bottomButton("btnShowLogs")->setVisible(visible);
    relayout();
}

void MainScreenView::setFinishVisible(bool visible)
{
    // Finish hides as a run starts, with the focus that Convert handed it.
    keepFocusOnStepChange([this, visible] { showFinish(visible); });
    // The keyboard that stopped the run goes on at Finish, ringed as Stop was.
    if (const std::optional<bool> ringed
        = visible && m_vwProcessing ? m_vwProcessing->takeFocusLeftByStop() : std::nullopt)
        bottomButton("btnFinishOnProccesiingvw")->setFocus(*ringed ? Qt::TabFocusReason : Qt::MouseFocusReason);
}

void MainScreenView::setFooter(const QString& text, bool visible)
{
    if (visible)
        m_lblBatchInfoBottom->setText(text);
    m_lblBatchInfoBottom->setVisible(visible);
}

void MainScreenView::showAlertSheet(const AlertContent& alert)
{
    m_winAlert->setAlert(alert);
    // A raise while the sheet is up replaces its texts and buttons in place; focus goes to the new
    // buttons as when the sheet opens.
    if (m_alertSheet && m_alertSheet->isActive()) {
        m_alertSheet->focusFirstControl();
        return;
    }
    m_alertSheet = Sheet::beginSheet(window(), m_winAlert);
}

void MainScreenView::hideAlertSheet()
{
    if (m_alertSheet)
        m_alertSheet->endSheet();
    m_alertSheet = nullptr;
}

void MainScreenView::showOverwriteSheet()
{
    if (m_overwriteSheet && m_overwriteSheet->isActive())
        return;
    m_overwriteSheet = Sheet::beginSheet(window(), m_winOverwriteAlert);
}

void MainScreenView::hideOverwriteSheet()
{
    if (m_overwriteSheet)
        m_overwriteSheet->endSheet();
    m_overwriteSheet = nullptr;
}

void MainScreenView::relayout()
{
    const int w = width();
    const int h = height();
    m_leftBox->setGeometry(0, 0, w, qMax(0, h - kBottomBarHeight));
    m_bottomBar->setGeometry(0, h - kBottomBarHeight, w, kBottomBarHeight);
    for (int i = 1; i <= 4; ++i) {
        if (QWidget* view = stepView(i); view && view->isVisible())
            view->setGeometry(m_leftBox->rect());
    }

    // The panes share the width in two halves, in single precision as the panes compute it.
    const float half = float(m_leftBox->width()) / 2.0f;
    const int H = int(half);
    const int boxH = m_leftBox->height();
    m_vwResize->setGeometry(0, 0, H, boxH);
    m_vwRotate->setGeometry(H, 0, H, boxH / 2);
    m_vwFlip->setGeometry(H, boxH / 2, H, boxH - boxH / 2);
    for (const char* name : { "vwOutputFormat", "vwOutputFilename", "vwOutputFolder" }) {
        if (auto* section = m_vwSetting->findChild<QWidget*>(QString::fromLatin1(name))) {
            const int x = qstrcmp(name, "vwOutputFolder") == 0 ? H : 0;
            section->setGeometry(x, section->y(), H, section->height());
        }
    }

    // Bottom bar: footer at the left, the visible buttons from the right.
    m_lblBatchInfoBottom->setGeometry(24, 0, qMax(0, w - 2 * kButtonWidth - 80), kBottomBarHeight);
    int right = w - 24;
    const int top = (kBottomBarHeight - kButtonHeight) / 2;
    for (QPushButton* button : m_bottomButtons) {
        if (button->isHidden())
            continue;
        right -= kButtonWidth;
        button->setGeometry(right, top, kButtonWidth, kButtonHeight);
        right -= 12;
    }
    if (m_winLogs && m_winLogs->isVisible())
        m_winLogs->setGeometry(window()->geometry());
    if (m_vwLoading->isVisible())
        m_vwLoading->setGeometry(rect());
}

// --- Notifications and actions ----------------------------------------------------------------------

void MainScreenView::showAlertNotification(const Notification& notification)
{
    showAlertWithTag(notification.userInfo.value(kUserInfoType).toInt());
}

void MainScreenView::showLoading(bool show, const QString& text)
{
    m_vwLoading->showLoading(show, text);
    if (!show)
        scheduleSubWindowCheck();
}

void MainScreenView::enableView(bool enable)
{
    m_vwLoading->enableView(enable);
}

void MainScreenView::showLoadingNotification(const Notification& notification)
{
    showLoading(true, notification.userInfo.value(kUserInfoTextStr).toString());
}

void MainScreenView::hideLoadingNotification()
{
    showLoading(false, QString());
}

void MainScreenView::setBatchInfoAtFooterNotification(const Notification& notification)
{
    m_driver->setBatchInfoAtFooterNotification(notification.userInfo.value(kUserInfoTextStr).toString());
}

void MainScreenView::windowWillClose()
{
    // A sheet that holds the window set the flag for itself (the log window never sets it): the
    // flag stays until that sheet is answered.
    if (!Sheet::activeSheet(window()))
        AppDelegate::shareDelegate()->isSubWindowOpened = false;
    enableView(true);
    scheduleSubWindowCheck();
}

void MainScreenView::btnShowLogsTapped()
{
    // The run is found by the identity its log was written under: another copy of the application
    // may have started a run in the same second, under the same stamp.
    const QVariantMap run = m_processingPort->getLogDetails();
    const QString runId = run.value(QStringLiteral("runId")).toString();
    const QString stamp = run.value(QStringLiteral("timeStamp")).toString();
    // A child window of the main window, over all of it.
    if (!m_winLogs) {
        m_winLogs = new LogWindow(window());
        m_winLogs->setObjectName(QStringLiteral("winLogs"));
        connect(m_winLogs, &LogWindow::windowWillClose, this, &MainScreenView::windowWillClose);
    }
    m_winLogs->logDetailView()->initWithLogRun(runId, stamp);
    // A window its own button minimised comes back (zoomed if it was), in front, with the keyboard.
    m_winLogs->setWindowState(m_winLogs->windowState() & ~Qt::WindowMinimized);
    if (!m_winLogs->isMaximized())
        m_winLogs->setGeometry(window()->geometry());
    m_winLogs->show();
    m_winLogs->raise();
    m_winLogs->activateWindow();
}

void MainScreenView::addAttachedPopupTableAtPoint(const QPointF& point)
{
    removeAttachedPopupWindow();
    if (!m_vwPopupWithTableOptions) {
        m_vwPopupWithTableOptions = new QWidget(this);
        m_vwPopupWithTableOptions->setObjectName(QStringLiteral("vwPopupWithTableOptions"));
        m_tblPopupOptions = new QListWidget(m_vwPopupWithTableOptions);
        m_tblPopupOptions->setObjectName(QStringLiteral("tblPopupOptions"));
        m_tblPopupOptions->setAccessibleName(QStringLiteral("Options"));
        m_vwPopupWithTableOptions->resize(180, 120);
        m_tblPopupOptions->setGeometry(m_vwPopupWithTableOptions->rect());
    }
    m_attachedPopup = TorAttachedWindow::initWithView(
        m_vwPopupWithTableOptions, TorAttachedWindow::pointInWindow(this, point), window(), TorSideBelow, 0.0f);
    if (!m_attachedPopup)
        return;
    m_attachedPopup->setBorderColor(Qt::transparent);
    m_attachedPopup->setBackgroundColor(QColor::fromRgbF(0.212f, 0.247f, 0.306f));
    m_attachedPopup->setArrowHeight(10);
    m_attachedPopup->setCornerRadius(5);
    m_attachedPopup->setHasShadow(true);
    m_attachedPopup->setOwner(this);
    connect(m_attachedPopup, &TorAttachedWindow::ownerLeft, this, &MainScreenView::dismissPanel);
    m_attachedPopup->show();
    if (m_tblPopupOptions->count() > 0)
        m_tblPopupOptions->scrollToItem(m_tblPopupOptions->item(0));
    addMouseEventMonitoring();
}

void MainScreenView::addMouseEventMonitoring()
{
    m_mouseEventMonitor = std::make_unique<LocalMouseMonitor>(
        this, LocalMouseMonitor::allButtons(), [this](QWidget* receiver, Qt::MouseButton, const QPointF&) {
            // A click inside the popup keeps it; any other click closes it.
            if (m_attachedPopup && receiver && (receiver == m_attachedPopup || m_attachedPopup->isAncestorOf(receiver)))
                return;
            QTimer::singleShot(0, this, &MainScreenView::dismissPanel);
        });
}

void MainScreenView::dismissPanel()
{
    removeAttachedPopupWindow();
}

void MainScreenView::removeAttachedPopupWindow()
{
    m_mouseEventMonitor.reset();
    if (m_attachedPopup) {
        // The table view is kept for the next popup.
        if (m_vwPopupWithTableOptions) {
            m_vwPopupWithTableOptions->hide();
            m_vwPopupWithTableOptions->setParent(this);
        }
        m_attachedPopup->hide();
        m_attachedPopup->deleteLater();
    }
    m_attachedPopup = nullptr;
}

void MainScreenView::setTranslucentFeedbackWindow(QWidget* window, QWidget* box, QWidget* onWindow)
{
    if (!window || !onWindow)
        return;
    window->resize(onWindow->width(), qMax(0, onWindow->height() - 160));
    if (box)
        box->move((window->width() - box->width()) / 2, (window->height() - box->height()) / 2);
    window->setWindowOpacity(1.0);
    window->setAttribute(Qt::WA_TranslucentBackground, true);
}

void MainScreenView::becomeFirstResponder()
{
    QTimer::singleShot(0, this, [this] {
        if (QWidget* focus = focusWidget())
            QMetaObject::invokeMethod(focus, "selectAll");
    });
}

// --- Events -----------------------------------------------------------------------------------------

void MainScreenView::resizeEvent(QResizeEvent*)
{
    relayout();
}

void MainScreenView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), AppLook::panelColor());
    painter.setPen(QColor(54, 63, 78));
    const int y = height() - kBottomBarHeight;
    painter.drawLine(0, y, width(), y);
}

void MainScreenView::scheduleSubWindowCheck()
{
    if (m_subWindowCheckQueued)
        return;
    m_subWindowCheckQueued = true;
    QTimer::singleShot(0, this, [this] {
        m_subWindowCheckQueued = false;
        m_driver->alerts().subWindowMayHaveClosed();
    });
}

bool MainScreenView::eventFilter(QObject* watched, QEvent* event)
{
    // Whoever clears the sub-window flag (a panel, a popup, another screen's sheet), one of these
    // events follows; the check then runs outside that event's handling.
    switch (event->type()) {
    case QEvent::Hide:
    case QEvent::MouseButtonRelease:
    case QEvent::KeyRelease:
        if (!AppDelegate::shareDelegate()->isSubWindowOpened)
            scheduleSubWindowCheck();
        break;
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace vantrel
