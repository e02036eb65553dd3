#include "app/MainWindowController.h"

#include <QAction>
#include <QEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

#include "app/MainScreenInterface.h"
#include "app/MainTitleBarView.h"
#include "app/MessageSheetPanel.h"
#include "app/TabBarLayout.h"
#include "components/FocusedButtonKeys.h"
#include "components/HighlightedButton.h"
#include "components/IMGButton.h"
#include "components/MouseDownView.h"
#include "components/Sheet.h"
#include "components/TitleBar/OvAppStoreWindow.h"
#include "components/TitleBar/OvWindowButton.h"
#include "components/TitleBar/TitleBarLayout.h"
#include "core/AppDelegate.h"
#include "core/Catalogue.h"
#include "platform/Defaults.h"
#include "platform/NotificationCenter.h"

namespace vantrel {

namespace {

constexpr int kEndResizingPauseMs = 200;
constexpr int kMoveSettlePauseMs = 150;

/// Watches the window for the moments the screens relayout on.
class WindowEventRelay : public QObject {
public:
    WindowEventRelay(
        QObject* parent, std::function<void()> resized, std::function<void()> stateChanged, std::function<void()> moved)
        : QObject(parent)
        , m_resized(std::move(resized))
        , m_stateChanged(std::move(stateChanged))
        , m_moved(std::move(moved))
    {
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Resize)
            m_resized();
        else if (event->type() == QEvent::WindowStateChange)
            m_stateChanged();
        else if (event->type() == QEvent::Move)
            m_moved();
        return false;
    }

private:
    std::function<void()> m_resized;
    std::function<void()> m_stateChanged;
    std::function<void()> m_moved;
};

} // namespace

MainWindowController::MainWindowController(
    AppController* app, MainScreenFactory makeMainScreen, Delay delay, QObject* parent)
    : QObject(parent)
    , m_app(app)
    , m_delay(std::move(delay))
{
    if (!m_delay)
        m_delay = [this](int ms, std::function<void()> fn) { QTimer::singleShot(ms, this, std::move(fn)); };
    m_window = new OvAppStoreWindow;
    m_window->setWindowTitle(QStringLiteral("Vantrel"));
    m_window->setAccessibleName(QStringLiteral("Vantrel"));
    new FocusedButtonKeys(m_window);
    m_mainScreen = makeMainScreen();
    m_window->setContentView(m_mainScreen->mainScreenWidget());

    m_endResizeTimer = new QTimer(this);
    m_endResizeTimer->setSingleShot(true);
    m_endResizeTimer->setInterval(kEndResizingPauseMs);
    connect(m_endResizeTimer, &QTimer::timeout, this,
        [] { NotificationCenter::defaultCenter().post(kNotificationWindowEndResizing); });
    m_window->installEventFilter(new WindowEventRelay(
        this,
        [this] {
            // Hiding the window's own buttons again and telling the screens; a pause in the
            // resizing counts as its end.
            for (QWidget* b : { static_cast<QWidget*>(m_window->closeButton()),
                     static_cast<QWidget*>(m_window->minimizeButton()), static_cast<QWidget*>(m_window->zoomButton()) })
                b->hide();
            NotificationCenter::defaultCenter().post(kNotificationWindowResized);
            m_endResizeTimer->start();
        },
        [this] {
            // The "+" says what a press does now, whoever changed the state (the button, the
            // window manager).
            const bool fullScreen = m_window->windowState() & Qt::WindowFullScreen;
            m_titleBar->btnZoomWindow->setToolTip(
                fullScreen ? QStringLiteral("Exit full screen") : QStringLiteral("Full screen"));
            NotificationCenter::defaultCenter().post(kNotificationWindowEndResizing);
        },
        [this] { windowDidMove(); }));
    connect(m_window, &OvAppStoreWindow::closeRequested, this, &MainWindowController::btnCloseWindowTapped);

    awakeFromNib();
}

MainWindowController::~MainWindowController()
{
    NotificationCenter::defaultCenter().removeObserver(this);
    m_mainScreen.reset();
    delete m_window;
}

void MainWindowController::setFeedbackOpener(FeedbackOpener opener)
{
    m_feedbackOpener = std::move(opener);
    updateFeedbackItem();
}

QAction* MainWindowController::action(const QString& name) const
{
    for (QAction* a : m_actions) {
        if (a->objectName() == name)
            return a;
    }
    return nullptr;
}

// --- MainWindowSide --------------------------------------------------------------------------

void MainWindowController::showMainWindow()
{
    m_window->show();
    makeMainWindowFront();
}

bool MainWindowController::ischangesMadeInSettings()
{
    return m_mainScreen->ischangesMadeInSettings();
}

bool MainWindowController::isRunActive()
{
    return m_mainScreen->isRunActive();
}

void MainWindowController::stopRun()
{
    m_mainScreen->stopRun();
}

void MainWindowController::whenRunThreadsDone(std::function<void()> done)
{
    m_mainScreen->whenRunThreadsDone(std::move(done));
}

// --- Start-up --------------------------------------------------------------------------------

void MainWindowController::awakeFromNib()
{
    initSetup();
    m_titleBar->viewContactSupport->hide();
    Defaults& defaults = Defaults::standard();
    if (defaults.stringForKey(kDefaultsIsFirstTime) == QLatin1String("yes")) {
        m_delay(300, [this] { showTipsScreen(); });
        defaults.setObject(kDefaultsIsFirstTime, QStringLiteral("no"));
    } else {
        elementClicked();
    }
}

void MainWindowController::initSetup()
{
    auto& center = NotificationCenter::defaultCenter();
    center.addObserver(this, kNotificationShowTips, [this](const Notification&) { showTipsNotification(); });
    center.addObserver(this, kShowRatePopup, [this](const Notification&) { showAlertForRateApp(); });
    center.addObserver(this, kUpdatePhoneNumber, [this](const Notification& n) { updatePhoneNumber(n); });
    center.addObserver(this, kNotificationShowFeedback, [this](const Notification&) { showFeedBackWindow(); });
    center.addObserver(this, kNotificationChangeTabUI, [this](const Notification& n) { changeTabNotification(n); });
    center.addObserver(this, kNotificationsEnable, [this](const Notification&) { enableView(); });
    center.addObserver(this, kNotificationsDisbleView, [this](const Notification&) { disableView(); });
    center.addObserver(this, kNotificationsDisbleCross, [this](const Notification&) { disableCross(); });
    center.addObserver(this, kNotificationsEnableCross, [this](const Notification&) { enableCross(); });
    center.addObserver(this, kNotificationsMakeKeyWindw, [this](const Notification&) { makeMainWindowFront(); });

    setupTitleBarViewForWindow();
    buildMenu();
    buildSheets();
    buildTipsWindow();

    // The controller's own loading overlay over the main screen; no operation shows it.
    QWidget* screen = m_mainScreen->mainScreenWidget();
    m_vwLoading = new QWidget(screen);
    m_vwLoading->setObjectName(QStringLiteral("vwLoading"));
    m_vwLoading->setAccessibleName(QStringLiteral("Loading"));
    m_vwLoading->setStyleSheet(QStringLiteral("#vwLoading { background: rgba(0, 0, 0, 250); border-radius: 20px; }"));
    m_vwLoading->setGeometry(screen->rect());
    m_vwLoading->hide();
}

QRect MainWindowController::initialFrame(const QRect& available)
{
    QRect frame(QPoint(0, 0), QSize(kWindowWidth, kWindowHeight).boundedTo(available.size()));
    frame.moveCenter(available.center());
    return frame;
}

void MainWindowController::setupViewInitialSize()
{
    QRect available(0, 0, kWindowWidth, kWindowHeight);
    if (QScreen* screen = QGuiApplication::primaryScreen())
        available = screen->availableGeometry();
    // Below 900 x 640 the size step's panes cut their captions; a smaller screen gets what it has.
    m_window->setMinimumSize(QSize(900, 640).boundedTo(available.size()));
    m_window->setGeometry(initialFrame(available));
}

void MainWindowController::setupTitleBarViewForWindow()
{
    setupViewInitialSize();
    m_titleBar = new MainTitleBarView;
    m_window->setTitleBarView(m_titleBar);
    m_window->setTitleBarHeight(kTitleBarHeight);
    m_window->setCenterTrafficLightButtons(false);
    m_window->setTrafficLightButtonsTopMargin(3);
    m_window->setTrafficLightButtonsLeftMargin(7);
    m_window->setShowsTitle(false);
    for (QWidget* b : { static_cast<QWidget*>(m_window->closeButton()),
             static_cast<QWidget*>(m_window->minimizeButton()), static_cast<QWidget*>(m_window->zoomButton()) })
        b->hide();

    connect(m_titleBar->btnCloseWindow, &QAbstractButton::clicked, this, &MainWindowController::btnCloseWindowTapped);
    connect(
        m_titleBar->btnMinimizeWindow, &QAbstractButton::clicked, this, &MainWindowController::btnMinimizeWindowTapped);
    connect(m_titleBar->btnZoomWindow, &QAbstractButton::clicked, this, &MainWindowController::btnZoomWindowTapped);
    connect(m_titleBar->tabs[0], &QAbstractButton::clicked, this, &MainWindowController::tabSelectPhotosTapped);
    connect(m_titleBar->tabs[1], &QAbstractButton::clicked, this, &MainWindowController::tabResizeOptionsTapped);
    connect(m_titleBar->tabs[2], &QAbstractButton::clicked, this, &MainWindowController::tabSettingOptionsTapped);
    m_titleBar->vwMouseDownLintener->setDelegate(this);

    tabSelectPhotosTapped();
}

// --- Tabs ------------------------------------------------------------------------------------

void MainWindowController::btnSelectBackground(int tab)
{
    // A sheet is modal to the window: the tabs above it do not change the step under it.
    if (AppDelegate::shareDelegate()->isDisableview || Sheet::activeSheet(m_window))
        return;
    if ((tab == 1 || tab == 3) && m_mainScreen->isInvalidSizeSelected())
        return;
    if (tab >= 1 && tab <= 3)
        m_titleBar->selectTab(tab);
    m_mainScreen->setUiOnTabChange(tab);
}

void MainWindowController::tabSelectPhotosTapped()
{
    btnSelectBackground(1);
}

QList<PhotoFilePtr> MainWindowController::getSelectedPhotoFiles()
{
    QList<PhotoFilePtr> selected;
    for (const PhotoFilePtr& photo : AppDelegate::shareDelegate()->arraySelectedImagesToProcess) {
        if (photo && photo->isSelected())
            selected.append(photo);
    }
    return selected;
}

namespace {

bool batchReadyForOptions()
{
    if (AppDelegate::shareDelegate()->arraySelectedImagesToProcess.isEmpty()) {
        NotificationCenter::defaultCenter().post(kNotificationShowAlertWithType, { { kUserInfoType, 117 } });
        return false;
    }
    if (MainWindowController::getSelectedPhotoFiles().isEmpty()) {
        NotificationCenter::defaultCenter().post(kNotificationShowAlertWithType, { { kUserInfoType, 118 } });
        return false;
    }
    return true;
}

} // namespace

void MainWindowController::tabResizeOptionsTapped()
{
    if (batchReadyForOptions())
        btnSelectBackground(2);
}

void MainWindowController::tabSettingOptionsTapped()
{
    if (batchReadyForOptions())
        btnSelectBackground(3);
}

void MainWindowController::changeTabNotification(const Notification& notification)
{
    // The wizard has already shown the step: only the highlight moves.
    const int tab = TabBarLayout::tabForIndex(notification.userInfo.value(kUserInfoTabIndex).toInt());
    m_titleBar->selectTab(tab);
}

// --- Window buttons and moving ---------------------------------------------------------------

void MainWindowController::btnCloseWindowTapped()
{
    m_app->terminate();
}

void MainWindowController::btnMinimizeWindowTapped()
{
    if (AppDelegate::shareDelegate()->isSubWindowOpened)
        return;
    m_window->showMinimized();
}

void MainWindowController::btnZoomWindowTapped()
{
    if (AppDelegate::shareDelegate()->isSubWindowOpened)
        return;
    m_isFullscreenEnable = !m_isFullscreenEnable;
    if (m_isFullscreenEnable)
        m_window->showFullScreen();
    else
        m_window->showNormal();
    m_titleBar->btnMinimizeWindow->setEnabled(!m_isFullscreenEnable);
}

void MainWindowController::mouseDown(QPointF inWindow)
{
    m_systemMove = m_window->startSystemMove();
    m_initialLocation = inWindow;
}

void MainWindowController::mouseDown(QMouseEvent* event, MouseDownView* view)
{
    mouseDown(view->mapTo(view->window(), event->position()));
}

void MainWindowController::mouseDragged(QMouseEvent* event, MouseDownView* view)
{
    Q_UNUSED(view);
    mouseDragged(event->globalPosition());
}

void MainWindowController::mouseDragged(QPointF onScreen)
{
    if (m_systemMove || m_isFullscreenEnable)
        return;
    QRectF screenFrame(m_window->geometry());
    if (QScreen* screen = m_window->screen())
        screenFrame = screen->geometry();
    const QPointF origin = TitleBarLayout::draggedWindowOrigin(m_initialLocation, onScreen, screenFrame);
    m_window->move(origin.toPoint());
}

void MainWindowController::windowDidMove()
{
    clampWindowTop(true);
}

void MainWindowController::clampWindowTop(bool againOnceSettled)
{
    if (m_isFullscreenEnable || (m_window->windowState() & (Qt::WindowFullScreen | Qt::WindowMaximized)))
        return;
    QList<QRectF> screens;
    for (const QScreen* screen : QGuiApplication::screens())
        screens.append(QRectF(screen->geometry()));
    const QRect frame = m_window->frameGeometry();
    const std::optional<double> top = TitleBarLayout::clampedWindowTop(QRectF(frame), screens);
    if (!top)
        return;
    m_window->move(frame.x(), int(*top));
    // A window manager moving the window may pass over a request made while its move lasts:
    // once the move has settled, the window is put back again if it still stands too high.
    if (againOnceSettled)
        QTimer::singleShot(kMoveSettlePauseMs, this, [this] { clampWindowTop(false); });
}

void MainWindowController::disableView()
{
    m_titleBar->btnTodisableTop->show();
    m_titleBar->btnTodisableTop->raise();
    AppDelegate::shareDelegate()->isDisableview = true;
}

void MainWindowController::enableView()
{
    m_titleBar->btnTodisableTop->hide();
    AppDelegate::shareDelegate()->isDisableview = false;
}

void MainWindowController::disableCross()
{
    m_titleBar->btnCloseWindow->setEnabled(false);
}

void MainWindowController::enableCross()
{
    m_titleBar->btnCloseWindow->setEnabled(true);
}

void MainWindowController::makeMainWindowFront()
{
    if (!m_window->isVisible())
        return;
    m_window->raise();
    m_window->activateWindow();
}

} // namespace vantrel
