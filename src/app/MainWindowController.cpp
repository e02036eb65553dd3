#include "app/MainWindowController.h"

#include <cstdio>

#include <QAction>
#include <QEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

#include "app/MainScreenInterface.h"
#include "app/MainTitleBarView.h"
#include "app/MessageSheetPanel.h"
#include "app/TabBarLayout.h"
#include "components/Sheet.h"
#include "components/TitleBar/OvAppStoreWindow.h"
#include "components/TitleBar/OvWindowButton.h"
#include "components/TitleBar/TitleBarLayout.h"
#include "core/AppDelegate.h"
#include "core/Catalogue.h"
#include "platform/Defaults.h"
#include "platform/MainThread.h"
#include "platform/NotificationCenter.h"

namespace vantrel {

namespace {

constexpr int kEndResizingPauseMs = 200;

/// Watches the window for the moments the screens relayout on.
class WindowEventRelay : public QObject {
public:
    WindowEventRelay(QObject* parent, std::function<void()> resized, std::function<void()> stateChanged)
        : QObject(parent)
        , m_resized(std::move(resized))
        , m_stateChanged(std::move(stateChanged))
    {
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Resize)
            m_resized();
        else if (event->type() == QEvent::WindowStateChange)
            m_stateChanged();
        return false;
    }

private:
    std::function<void()> m_resized;
    std::function<void()> m_stateChanged;
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
    m_window->setMinimumSize(760, 520);
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
        [] { NotificationCenter::defaultCenter().post(kNotificationWindowEndResizing); }));
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
    if (QAction* feedback = action(QStringLiteral("feedback")))
        feedback->setEnabled(bool(m_feedbackOpener));
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

void MainWindowController::stopRunAfterCurrentPhoto()
{
    m_mainScreen->stopRunAfterCurrentPhoto();
}

// --- Start-up --------------------------------------------------------------------------------

void MainWindowController::awakeFromNib()
{
    initSetup();
    m_titleBar->viewContactSupport->hide();
    Defaults& defaults = Defaults::standard();
    if (defaults.stringForKey(kDefaultsIsFirstTime) == QLatin1String("yes")) {
        // The tips screen has no content; only its flag is kept.
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
    m_titleBar->mouseDown = [this](QPointF p) { mouseDown(p); };
    m_titleBar->mouseDragged = [this](QPointF p) { mouseDragged(p); };

    tabSelectPhotosTapped();
}

void MainWindowController::buildMenu()
{
    QMenuBar* bar = m_titleBar->menuBar;
    auto add = [this](QMenu* menu, const QString& name, const QString& text, std::function<void()> fn) {
        QAction* a = menu->addAction(text);
        a->setObjectName(name);
        connect(a, &QAction::triggered, this, [fn = std::move(fn)] { fn(); });
        m_actions.append(a);
        return a;
    };
    QMenu* app = bar->addMenu(QStringLiteral("Vantrel"));
    add(app, QStringLiteral("tips"), QStringLiteral("Tips"), [this] { m_app->showTips(); });
    QAction* rate = add(
        app, QStringLiteral("rate"), QStringLiteral("Rate Vantrel..."), [this] { m_app->btnRateOnAppstoreTapped(); });
    rate->setEnabled(AppController::isRateAvailable());
    QMenu* more = app->addMenu(QStringLiteral("More Applications"));
    for (int tag : { 1, 2 }) {
        QAction* a = add(more, QStringLiteral("crossPromotion%1").arg(tag),
            QStringLiteral("Recommended application %1").arg(tag),
            [this, tag] { m_app->btnKorvingAppcenterTapped(tag); });
        a->setEnabled(m_app->isCrossPromotionAvailable());
    }
    app->addSeparator();
    QAction* quit
        = add(app, QStringLiteral("quit"), QStringLiteral("Quit Vantrel"), [this] { m_app->quitFromMenuTapped(); });
    quit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    quit->setShortcutContext(Qt::ApplicationShortcut);
    m_window->addAction(quit);

    QMenu* help = bar->addMenu(QStringLiteral("Help"));
    QAction* helpAction
        = add(help, QStringLiteral("help"), QStringLiteral("Vantrel Help"), [this] { m_app->btnHelpTapped(); });
    helpAction->setShortcut(QKeySequence(Qt::Key_F1));
    helpAction->setShortcutContext(Qt::ApplicationShortcut);
    helpAction->setEnabled(AppController::isHelpAvailable());
    m_window->addAction(helpAction);
    QAction* feedback = add(
        help, QStringLiteral("feedback"), QStringLiteral("Send Feedback..."), [this] { m_app->btnFeedbackTapped(); });
    feedback->setEnabled(bool(m_feedbackOpener));
    for (QMenu* menu : { app, more, help })
        menu->setStyleSheet(
            QStringLiteral("QMenu { background: rgb(54, 63, 78); color: white; border: 1px solid rgb(30, 34, 42); }"
                           "QMenu::item { padding: 5px 24px; }"
                           "QMenu::item:selected { background: rgb(66, 180, 211); }"
                           "QMenu::item:disabled { color: rgb(130, 138, 158); }"));
}

void MainWindowController::buildSheets()
{
    m_winRateus = new MessageSheetPanel(QStringLiteral("Enjoying Vantrel?"),
        QStringLiteral("If Vantrel saves you time, would you rate it? It takes less than a minute and helps a lot."),
        { QStringLiteral("Rate Vantrel"), QStringLiteral("No, Thanks") }, QStringLiteral("Rate Vantrel"), m_window);
    connect(m_winRateus->button(0), &QPushButton::clicked, this, &MainWindowController::btnYesOnRateUsTapped);
    connect(m_winRateus->button(1), &QPushButton::clicked, this, &MainWindowController::btnNoOnRateUsTapped);

    m_windowLoadLastSession = new MessageSheetPanel(QStringLiteral("Load your last session?"),
        QStringLiteral("The resize and output settings of your last session were saved. Load them, or start a new "
                       "session with the default settings?"),
        { QStringLiteral("Load Last Session"), QStringLiteral("Start New Session") }, QStringLiteral("Last session"),
        m_window);
    connect(m_windowLoadLastSession->button(0), &QPushButton::clicked, this,
        &MainWindowController::btnLoadLastSessionTapped);
    connect(m_windowLoadLastSession->button(1), &QPushButton::clicked, this,
        &MainWindowController::btnStartNewSessionTapped);

    m_windowSaveSession = new MessageSheetPanel(QStringLiteral("Save this session?"),
        QStringLiteral("Save the current resize and output settings, so that they can be loaded the next time Vantrel "
                       "starts?"),
        { QStringLiteral("Save"), QStringLiteral("Don't Save"), QStringLiteral("Cancel") },
        QStringLiteral("Save session"), m_window);
    connect(m_windowSaveSession->button(0), &QPushButton::clicked, this, &MainWindowController::btnSaveSessionTapped);
    connect(m_windowSaveSession->button(1), &QPushButton::clicked, this,
        &MainWindowController::btnCloseOnSessionWindowTapped);
    connect(m_windowSaveSession->button(2), &QPushButton::clicked, this,
        &MainWindowController::btnCancelOnSessionWindowTapped);

    for (QWidget* panel : { static_cast<QWidget*>(m_winRateus), static_cast<QWidget*>(m_windowLoadLastSession),
             static_cast<QWidget*>(m_windowSaveSession) })
        panel->hide();
}

void MainWindowController::checkForLastSession()
{
    if (!Defaults::standard().contains(kDefaultsSavedProjectSession))
        return;
    m_delay(400, [this] { showLoadLastSessionWindow(); });
}

void MainWindowController::showLoadLastSessionWindow()
{
    AppDelegate::shareDelegate()->isSubWindowOpened = true;
    beginSheet(m_windowLoadLastSession);
}

void MainWindowController::btnLoadLastSessionTapped()
{
    AppDelegate::shareDelegate()->isSubWindowOpened = false;
    endSheet(m_windowLoadLastSession);
    m_mainScreen->loadLastSessionSettings();
}

void MainWindowController::btnStartNewSessionTapped()
{
    AppDelegate::shareDelegate()->isSubWindowOpened = false;
    endSheet(m_windowLoadLastSession);
    Defaults::standard().removeObjectForKey(kDefaultsSavedProjectSession);
}

void MainWindowController::elementClicked()
{
    // There is no tips window to close; the main window comes to the front.
    makeMainWindowFront();
    if (!m_isTipsFromNotfication)
        checkForLastSession();
}

void MainWindowController::showTipsNotification()
{
    m_isTipsFromNotfication = true; // the tips screen itself has nothing to show
}

// --- Tabs ------------------------------------------------------------------------------------

void MainWindowController::btnSelectBackground(int tab)
{
    if (AppDelegate::shareDelegate()->isDisableview)
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

// --- Rating, saving, feedback, support number ----------------------------------------------------

bool MainWindowController::advanceRateMeCounter()
{
    Defaults& defaults = Defaults::standard();
    if (!defaults.contains(kDefaultsRateMeCount))
        defaults.setObject(kDefaultsRateMeCount, 7);
    const qint64 count = defaults.integerForKey(kDefaultsRateMeCount);
    if (count == 7) {
        defaults.setObject(kDefaultsRateMeCount, 1);
        return true;
    }
    defaults.setObject(kDefaultsRateMeCount, count + 1);
    return false;
}

void MainWindowController::showAlertForRateApp()
{
    // Without a review page every answer would lead nowhere: no prompt, no count.
    if (!AppController::isRateAvailable())
        return;
    if (!advanceRateMeCounter())
        return;
    auto* delegate = AppDelegate::shareDelegate();
    delegate->isSubWindowOpened = true;
    beginSheet(m_winRateus);
    delegate->isSubWindowOpened = false;
}

void MainWindowController::btnYesOnRateUsTapped()
{
    endSheet(m_winRateus);
    AppDelegate::shareDelegate()->isSubWindowOpened = false;
    m_app->openReviewPage();
}

void MainWindowController::btnNoOnRateUsTapped()
{
    endSheet(m_winRateus);
    AppDelegate::shareDelegate()->isSubWindowOpened = false;
}

void MainWindowController::showSaveSessionWindow()
{
    AppDelegate::shareDelegate()->isSubWindowOpened = true;
    beginSheet(m_windowSaveSession);
}

void MainWindowController::btnSaveSessionTapped()
{
    endSheet(m_windowSaveSession);
    m_app->saveSessionAnswered(
        AppController::SaveSessionAnswer::Save, [this] { m_mainScreen->saveProjectSessionToDefault(); });
}

void MainWindowController::btnCloseOnSessionWindowTapped()
{
    endSheet(m_windowSaveSession);
    m_app->saveSessionAnswered(AppController::SaveSessionAnswer::DontSave, {});
}

void MainWindowController::btnCancelOnSessionWindowTapped()
{
    endSheet(m_windowSaveSession);
    m_app->saveSessionAnswered(AppController::SaveSessionAnswer::Cancel, {});
}

void MainWindowController::showFeedBackWindow()
{
    if (!m_feedbackOpener) {
        std::fprintf(stderr, "showFeedBackWindow: no feedback form in this build\n");
        return;
    }
    m_feedbackOpener(m_window);
}

void MainWindowController::updatePhoneNumber(const Notification& notification)
{
    const QString number = notification.object.toString();
    runOnMainThreadAsync([self = QPointer<MainWindowController>(this), number] {
        if (self)
            self->updatePhoneNumber_MainThread(number);
    });
}

void MainWindowController::updatePhoneNumber_MainThread(const QString& number)
{
    m_titleBar->lblContactNumber->setText(number);
    if (number.isEmpty()) {
        m_titleBar->viewContactSupport->hide();
        m_titleBar->lblContactNumber->clear();
        m_titleBar->lblContactNumber->hide();
    }
}

// --- Sheets ----------------------------------------------------------------------------------

void MainWindowController::beginSheet(QWidget* content, std::function<void()> opened)
{
    // Two sheets never stack: while the rating sheet is up, a sheet waits for it to close.
    if (m_rateSheetUp && content != m_winRateus) {
        m_waitingSheets.append({ content, std::move(opened) });
        return;
    }
    if (content == m_winRateus)
        m_rateSheetUp = true;
    Sheet::beginSheet(m_window, content, [this](int) { sheetClosed(); });
    if (opened)
        opened();
}

void MainWindowController::endSheet(QWidget* content)
{
    for (int i = 0; i < m_waitingSheets.size(); ++i) {
        if (m_waitingSheets.at(i).first == content) {
            m_waitingSheets.removeAt(i);
            return;
        }
    }
    for (Sheet* sheet : m_window->findChildren<Sheet*>()) {
        if (sheet->isActive() && sheet->content() == content) {
            if (content == m_winRateus)
                m_rateSheetUp = false;
            sheet->endSheet(0);
            return;
        }
    }
}

void MainWindowController::sheetClosed()
{
    if (m_rateSheetUp || m_waitingSheets.isEmpty())
        return;
    auto next = m_waitingSheets.takeFirst();
    if (next.first)
        beginSheet(next.first, std::move(next.second));
}

} // namespace vantrel
