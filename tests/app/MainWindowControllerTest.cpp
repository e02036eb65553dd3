// The main window's rules: tabs, wizard disable, the rating counter, the last-session offer,
// activation of the title bar and sheets that wait for the rating sheet.
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QTest>

#include <gtest/gtest.h>

#include "app/MainTitleBarView.h"
#include "app/MainWindowController.h"
#include "app/MessageSheetPanel.h"
#include "app/ShellFakes.h"
#include "app/TabBarLayout.h"
#include "components/HighlightedButton.h"
#include "components/IMGButton.h"
#include "components/MouseDownView.h"
#include "components/Sheet.h"
#include "components/TitleBar/OvAppStoreWindow.h"
#include "components/TitleBar/OvWindowButton.h"
#include "core/AppDelegate.h"
#include "core/DataBeans/PhotoFile.h"
#include "platform/NotificationCenter.h"

namespace vantrel {
namespace {

using shelltest::FakeMainScreen;

class MainWindowControllerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        AppDelegate::resetShared();
        shelltest::clearShellDefaults();
        qunsetenv("VANTREL_CONTENT_URL");
        qunsetenv("VANTREL_FEEDBACK_URL");
        app = std::make_unique<AppController>(AppController::Hooks {});
    }
    void TearDown() override
    {
        controller.reset();
        qunsetenv("VANTREL_CONTENT_URL");
        qunsetenv("VANTREL_FEEDBACK_URL");
    }

    /// Opens a menu of the title bar's menu bar with a click on its title; the open popup.
    QMenu* openMenu(const QString& title)
    {
        QMenuBar* bar = controller->titleBar()->menuBar;
        controller->windowMain()->show();
        if (!QTest::qWaitForWindowExposed(controller->windowMain()))
            return nullptr;
        for (QAction* top : bar->actions()) {
            if (top->text() == title) {
                QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(top).center());
                return qobject_cast<QMenu*>(QApplication::activePopupWidget());
            }
        }
        return nullptr;
    }

    /// Clicks a row of an open menu.
    static void clickRow(QMenu* menu, QAction* row)
    {
        QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(row).center());
    }

    static void closePopups()
    {
        while (QWidget* popup = QApplication::activePopupWidget())
            popup->close();
    }

    void makeController()
    {
        controller = std::make_unique<MainWindowController>(
            app.get(),
            [this] {
                auto s = std::make_unique<FakeMainScreen>();
                screen = s.get();
                return s;
            },
            [](int, std::function<void()> fn) { fn(); });
    }

    QList<int> collectAlerts(QObject* context)
    {
        QList<int> none;
        NotificationCenter::defaultCenter().addObserver(context, kNotificationShowAlertWithType,
            [this](const Notification& n) { alerts.append(n.userInfo.value(kUserInfoType).toInt()); });
        return none;
    }

    std::unique_ptr<AppController> app;
    std::unique_ptr<MainWindowController> controller;
    FakeMainScreen* screen = nullptr;
    QList<int> alerts;
};

TEST_F(MainWindowControllerTest, WindowIsFramelessTwelveHundredByEightHundredWithItsBarAndMenu)
{
    makeController();
    OvAppStoreWindow* window = controller->windowMain();
    EXPECT_TRUE(window->windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(
        window->geometry(), MainWindowController::initialFrame(QApplication::primaryScreen()->availableGeometry()));
    EXPECT_EQ(MainWindowController::initialFrame({ 0, 0, 1920, 1080 }), QRect(360, 140, 1200, 800));
    EXPECT_EQ(MainWindowController::initialFrame({ 0, 30, 1280, 770 }), QRect(40, 30, 1200, 770));
    EXPECT_EQ(window->titleBarHeight(), 160);
    EXPECT_EQ(window->property("vantrelSheetTop").toInt(), 160);
    EXPECT_EQ(screen->widget.geometry(), QRect(0, 160, window->width(), window->height() - 160));
    EXPECT_FALSE(window->closeButton()->isVisibleTo(window));
    EXPECT_EQ(controller->action("quit")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Q));
    EXPECT_EQ(controller->action("help")->shortcut(), QKeySequence(Qt::Key_F1));
    for (const char* name : { "help", "rate", "feedback", "crossPromotion1", "crossPromotion2" })
        EXPECT_FALSE(controller->action(name)->isEnabled()) << name;
    EXPECT_TRUE(controller->action("quit")->isEnabled());
    EXPECT_TRUE(controller->action("tips")->isEnabled());
}

TEST_F(MainWindowControllerTest, SendFeedbackIsOfferedOnlyWithAFeedbackService)
{
    const struct {
        const char* url; // nullptr: not configured
        bool form;
        bool enabled;
    } cases[] = { { nullptr, true, false }, { "http://127.0.0.1:9", true, true },
        { "http://127.0.0.1:9", false, false }, { "not a url", true, false } };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << (c.url ? c.url : "unset") << c.form);
        if (c.url)
            qputenv("VANTREL_FEEDBACK_URL", c.url);
        else
            qunsetenv("VANTREL_FEEDBACK_URL");
        controller.reset();
        AppDelegate::resetShared();
        makeController();
        int opened = 0;
        if (c.form)
            controller->setFeedbackOpener([&](QWidget*) { ++opened; });
        QMenu* help = openMenu("Help");
        ASSERT_TRUE(help);
        QAction* feedback = controller->action("feedback");
        ASSERT_TRUE(help->actions().contains(feedback));
        EXPECT_EQ(feedback->isEnabled(), c.enabled);
        clickRow(help, feedback);
        EXPECT_EQ(opened, c.enabled ? 1 : 0);
        closePopups();
    }
}

TEST_F(MainWindowControllerTest, MoreApplicationsListsOnlyTheRecommendedApplicationsThereAre)
{
    QList<int> promoted;
    const struct {
        QStringList titles;
        bool wired;
        QStringList rows; // the rows the submenu shows
    } cases[] = { { {}, false, {} }, { { "", "" }, true, {} }, { { "Photo Tidy", "" }, true, { "Photo Tidy" } },
        { { "Photo Tidy", "Frame Maker" }, true, { "Photo Tidy", "Frame Maker" } } };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.titles.join(",").toStdString());
        if (c.wired) {
            app->hooks().crossPromotion = [&](int tag) { promoted.append(tag); };
            app->hooks().crossPromotionTitles = [titles = c.titles] { return titles; };
        }
        controller.reset();
        makeController();
        QMenu* menu = openMenu("Vantrel");
        ASSERT_TRUE(menu);
        QMenu* more = menu->findChild<QMenu*>("moreApplications");
        ASSERT_TRUE(more);
        QStringList rows;
        for (QAction* row : more->actions()) {
            if (row->isVisible())
                rows << row->text();
            EXPECT_FALSE(row->text().startsWith("Recommended application"));
        }
        EXPECT_EQ(rows, c.rows);
        EXPECT_EQ(more->menuAction()->isEnabled(), !c.rows.isEmpty());
        if (!c.rows.isEmpty()) {
            promoted.clear();
            clickRow(menu, more->menuAction()); // opens the submenu
            ASSERT_TRUE(QTest::qWaitFor([&] { return more->isVisible(); }, 2000));
            clickRow(more, controller->action("crossPromotion1"));
            EXPECT_EQ(promoted, QList<int>({ 1 }));
        }
        closePopups();
    }
}

TEST_F(MainWindowControllerTest, TabGeometryPutsHighlightAndUnderlineOnTheChosenTab)
{
    const QSize bar(1200, 160);
    const struct {
        int tab;
        QRect frame;
    } cases[] = { { 1, { 313, 114, 190, 46 } }, { 2, { 505, 114, 190, 46 } }, { 3, { 697, 114, 190, 46 } }, { 0, {} },
        { 4, {} } };
    for (const auto& c : cases) {
        EXPECT_EQ(TabBarLayout::tabFrame(c.tab, bar), c.frame) << c.tab;
        EXPECT_EQ(TabBarLayout::highlightFrame(c.tab, bar), c.frame);
        if (c.frame.isValid())
            EXPECT_EQ(TabBarLayout::underlineFrame(c.tab, bar), QRect(c.frame.x(), 157, 190, 3));
    }
    EXPECT_EQ(TabBarLayout::tabForIndex(4), 3);
    EXPECT_EQ(TabBarLayout::tabForIndex(2), 2);
    EXPECT_TRUE(TabBarLayout::menuFrame(bar, { 120, 24 }).left() > TabBarLayout::windowButtonFrame(2).right());

    makeController();
    controller->titleBar()->selectTab(3);
    const QSize shown = controller->titleBar()->size();
    EXPECT_EQ(controller->titleBar()->lblOnTabButtons->geometry(), TabBarLayout::tabFrame(3, shown));
    EXPECT_EQ(controller->titleBar()->lblLineSelectedOption->geometry(), TabBarLayout::underlineFrame(3, shown));
    EXPECT_FALSE(controller->titleBar()->tabs[2]->isButtonEnabled());
    EXPECT_TRUE(controller->titleBar()->tabs[0]->isButtonEnabled());
}

TEST_F(MainWindowControllerTest, TabClicksFollowTheBatchTheSizeCheckAndTheDisabledWizard)
{
    makeController();
    QObject context;
    collectAlerts(&context);
    auto* delegate = AppDelegate::shareDelegate();
    screen->shownSteps.clear();

    controller->tabResizeOptionsTapped(); // empty batch
    auto photo = std::make_shared<PhotoFile>();
    delegate->arraySelectedImagesToProcess.append(photo);
    controller->tabSettingOptionsTapped(); // nothing checked
    EXPECT_EQ(alerts, QList<int>({ 117, 118 }));
    EXPECT_TRUE(screen->shownSteps.isEmpty());

    photo->setIsSelected(true);
    screen->invalidSize = true;
    controller->tabSettingOptionsTapped(); // refused by the size check
    controller->tabResizeOptionsTapped(); // tab 2 is not checked
    EXPECT_EQ(screen->shownSteps, QList<int>({ 2 }));
    EXPECT_EQ(controller->titleBar()->selectedTab(), 2);
    controller->tabSelectPhotosTapped();
    EXPECT_EQ(controller->titleBar()->selectedTab(), 2);

    screen->invalidSize = false;
    NotificationCenter::defaultCenter().post(kNotificationsDisbleView);
    EXPECT_TRUE(delegate->isDisableview);
    EXPECT_TRUE(controller->titleBar()->btnTodisableTop->isVisibleTo(controller->titleBar()));
    controller->tabSelectPhotosTapped();
    EXPECT_EQ(screen->shownSteps, QList<int>({ 2 }));
    NotificationCenter::defaultCenter().post(kNotificationsEnable);
    EXPECT_FALSE(delegate->isDisableview);
    controller->tabSelectPhotosTapped();
    EXPECT_EQ(screen->shownSteps, QList<int>({ 2, 1 }));

    // Under an open sheet the tabs do nothing.
    controller->showSaveSessionWindow();
    controller->tabResizeOptionsTapped();
    EXPECT_EQ(screen->shownSteps, QList<int>({ 2, 1 }));
    controller->saveSessionSheet()->button(2)->click(); // Cancel

    // The wizard's own step change only moves the highlight; 4 counts as 3.
    NotificationCenter::defaultCenter().post(kNotificationChangeTabUI, { { kUserInfoTabIndex, 4 } });
    EXPECT_EQ(controller->titleBar()->selectedTab(), 3);
    EXPECT_EQ(screen->shownSteps, QList<int>({ 2, 1 }));
}

TEST_F(MainWindowControllerTest, ActivationNeverEnablesWhatTheScreensDisabled)
{
    makeController();
    MainTitleBarView* bar = controller->titleBar();
    OvAppStoreWindow* window = controller->windowMain();
    window->show();
    NotificationCenter::defaultCenter().post(kNotificationsDisbleCross);
    const bool tabStateBefore = bar->tabs[1]->isButtonEnabled();

    QWidget other;
    other.show();
    for (int round = 0; round < 2; ++round) {
        QApplication::setActiveWindow(&other);
        QApplication::processEvents();
        EXPECT_FALSE(window->drawsAsActive());
        EXPECT_FALSE(bar->tabs[0]->isEnabled());
        QApplication::setActiveWindow(window);
        QApplication::processEvents();
        EXPECT_TRUE(window->drawsAsActive());
        EXPECT_TRUE(bar->tabs[0]->isEnabled());
        EXPECT_FALSE(bar->btnCloseWindow->isEnabled());
        EXPECT_EQ(bar->tabs[1]->isButtonEnabled(), tabStateBefore);
    }
    NotificationCenter::defaultCenter().post(kNotificationsEnableCross);
    EXPECT_TRUE(bar->btnCloseWindow->isEnabled());
}

TEST_F(MainWindowControllerTest, RatingCounterPromptsAfterTheFirstAndEverySeventhRun)
{
    QList<int> prompts;
    for (int run = 1; run <= 16; ++run) {
        if (MainWindowController::advanceRateMeCounter())
            prompts.append(run);
    }
    EXPECT_EQ(prompts, QList<int>({ 1, 8, 15 }));

    // Unconfigured, the prompt never shows and the counter stays put.
    shelltest::clearShellDefaults();
    makeController();
    NotificationCenter::defaultCenter().post(kShowRatePopup);
    EXPECT_FALSE(Sheet::activeSheet(controller->windowMain()));
    EXPECT_FALSE(Defaults::standard().contains(kDefaultsRateMeCount));

    qputenv("VANTREL_CONTENT_URL", "http://127.0.0.1:9/");
    NotificationCenter::defaultCenter().post(kShowRatePopup);
    Sheet* sheet = Sheet::activeSheet(controller->windowMain());
    ASSERT_TRUE(sheet);
    EXPECT_EQ(sheet->content(), controller->rateSheet());
    EXPECT_FALSE(AppDelegate::shareDelegate()->isSubWindowOpened);

    // A sheet asked for meanwhile waits for the rating sheet to close; asked twice, it waits once.
    controller->showSaveSessionWindow();
    controller->showSaveSessionWindow();
    EXPECT_EQ(controller->waitingSheetCount(), 1);
    EXPECT_EQ(Sheet::activeSheet(controller->windowMain()), sheet);
    controller->rateSheet()->button(1)->click(); // No, thanks
    Sheet* next = Sheet::activeSheet(controller->windowMain());
    ASSERT_TRUE(next);
    EXPECT_EQ(next->content(), controller->saveSessionSheet());
    EXPECT_EQ(controller->waitingSheetCount(), 0);
    EXPECT_FALSE(Defaults::standard().contains(kDefaultsAppVersion));
}

TEST_F(MainWindowControllerTest, LastSessionIsOfferedOnlyOnALaterLaunchWithASavedSession)
{
    const struct {
        const char* firstTime; // nullptr: absent
        bool saved;
        bool offered;
        const char* firstTimeAfter;
    } cases[] = { { "yes", true, false, "no" }, { "no", true, true, "no" }, { "no", false, false, "no" },
        { nullptr, true, true, nullptr }, { "maybe", true, true, "maybe" } };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << (c.firstTime ? c.firstTime : "absent") << c.saved);
        shelltest::clearShellDefaults();
        if (c.firstTime)
            Defaults::standard().setObject(kDefaultsIsFirstTime, c.firstTime);
        if (c.saved)
            Defaults::standard().setObject(kDefaultsSavedProjectSession, "yes");
        controller.reset();
        AppDelegate::resetShared();
        makeController(); // the start-up's waits run at once here
        Sheet* sheet = Sheet::activeSheet(controller->windowMain());
        EXPECT_EQ(sheet != nullptr, c.offered);
        if (c.firstTimeAfter)
            EXPECT_EQ(Defaults::standard().stringForKey(kDefaultsIsFirstTime), c.firstTimeAfter);
        else
            EXPECT_FALSE(Defaults::standard().contains(kDefaultsIsFirstTime));
    }

    // Load hands over to the main screen; start new forgets the saved session.
    controller->loadLastSessionSheet()->button(0)->click();
    EXPECT_EQ(screen->loads, 1);
    EXPECT_FALSE(AppDelegate::shareDelegate()->isSubWindowOpened);
    EXPECT_TRUE(Defaults::standard().contains(kDefaultsSavedProjectSession));
    controller->showLoadLastSessionWindow();
    EXPECT_TRUE(AppDelegate::shareDelegate()->isSubWindowOpened);
    controller->loadLastSessionSheet()->button(1)->click();
    EXPECT_FALSE(Defaults::standard().contains(kDefaultsSavedProjectSession));
    EXPECT_EQ(screen->loads, 1);
    EXPECT_FALSE(Sheet::activeSheet(controller->windowMain()));
}

QAbstractButton* windowButtonNamed(QWidget* window, const QString& name)
{
    for (QAbstractButton* button : window->findChildren<QAbstractButton*>())
        if (button->accessibleName() == name && button->isVisibleTo(window))
            return button;
    return nullptr;
}

void clickAt(QAbstractButton* button)
{
    QTest::mouseClick(button, Qt::LeftButton, {}, button->rect().center());
}

TEST_F(MainWindowControllerTest, MinimiseAndZoomRefuseWhileASheetIsOpen)
{
    makeController();
    OvAppStoreWindow* window = controller->windowMain();
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    QAbstractButton* minimise = windowButtonNamed(window, "Minimise");
    QAbstractButton* zoom = windowButtonNamed(window, "Full screen");
    ASSERT_TRUE(minimise && zoom);

    AppDelegate::shareDelegate()->isSubWindowOpened = true;
    clickAt(minimise);
    clickAt(zoom);
    EXPECT_FALSE(window->windowState() & Qt::WindowMinimized);
    EXPECT_FALSE(controller->isFullscreenEnable());
    EXPECT_FALSE(window->windowState() & Qt::WindowFullScreen);

    EXPECT_EQ(zoom->toolTip().toStdString(), "Full screen");

    // The tool tip says what the next press does.
    AppDelegate::shareDelegate()->isSubWindowOpened = false;
    clickAt(zoom);
    EXPECT_TRUE(controller->isFullscreenEnable());
    EXPECT_TRUE(window->windowState() & Qt::WindowFullScreen);
    EXPECT_FALSE(minimise->isEnabledTo(window));
    EXPECT_EQ(zoom->toolTip().toStdString(), "Exit full screen");
    clickAt(zoom);
    EXPECT_FALSE(window->windowState() & Qt::WindowFullScreen);
    EXPECT_TRUE(minimise->isEnabledTo(window));
    EXPECT_EQ(zoom->toolTip().toStdString(), "Full screen");
    clickAt(minimise);
    EXPECT_TRUE(window->windowState() & Qt::WindowMinimized);
}

TEST_F(MainWindowControllerTest, WindowButtonsShowTheirHoverImageUnderThePointer)
{
    makeController();
    OvAppStoreWindow* window = controller->windowMain();
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    const QPoint away(window->width() / 2, window->height() / 2);
    for (const char* name : { "Close", "Minimise", "Full screen" }) {
        SCOPED_TRACE(name);
        QAbstractButton* button = windowButtonNamed(window, name);
        ASSERT_TRUE(button);
        QTest::mouseMove(window, away);
        const QImage atRest = button->grab().toImage();
        QTest::mouseMove(window, button->mapTo(window, button->rect().center()));
        EXPECT_TRUE(button->underMouse());
        EXPECT_NE(button->grab().toImage(), atRest);
        QTest::mouseMove(window, away);
        EXPECT_EQ(button->grab().toImage(), atRest);
        // A bar disabled with its inactive window keeps the plain image.
        controller->titleBar()->setEnabled(false);
        EXPECT_EQ(button->grab().toImage(), atRest);
        controller->titleBar()->setEnabled(true);
    }

    // The hover shows after a click too: the zoom button does not stay in a pressed state.
    QAbstractButton* zoom = windowButtonNamed(window, "Full screen");
    QTest::mouseMove(window, away);
    const QImage atRest = zoom->grab().toImage();
    clickAt(zoom);
    ASSERT_TRUE(controller->isFullscreenEnable());
    QTest::mouseMove(window, away);
    EXPECT_EQ(zoom->grab().toImage(), atRest);
    QTest::mouseMove(window, zoom->mapTo(window, zoom->rect().center()));
    EXPECT_NE(zoom->grab().toImage(), atRest);
    clickAt(zoom);
    EXPECT_FALSE(controller->isFullscreenEnable());
}

TEST_F(MainWindowControllerTest, StepTabsAndTheBarBackgroundAnswerThePointer)
{
    makeController();
    OvAppStoreWindow* window = controller->windowMain();
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    auto photo = std::make_shared<PhotoFile>();
    photo->setIsSelected(true);
    AppDelegate::shareDelegate()->arraySelectedImagesToProcess.append(photo);
    screen->shownSteps.clear();

    // The tabs are the highlighted buttons of the bar; the chosen one shows its dark face.
    auto* photos = qobject_cast<HighlightedButton*>(windowButtonNamed(window, "1. Photos"));
    auto* resizing = qobject_cast<HighlightedButton*>(windowButtonNamed(window, "2. Resizing"));
    ASSERT_TRUE(photos && resizing);
    clickAt(resizing);
    EXPECT_EQ(controller->titleBar()->selectedTab(), 2);
    EXPECT_EQ(screen->shownSteps, QList<int>({ 2 }));
    const auto face
        = [window](QWidget* tab) { return window->grab().toImage().pixelColor(tab->mapTo(window, QPoint(6, 6))); };
    EXPECT_EQ(face(resizing), QColor(36, 41, 50));
    EXPECT_NE(face(photos), QColor(36, 41, 50));
    clickAt(photos);
    EXPECT_EQ(controller->titleBar()->selectedTab(), 1);
    EXPECT_EQ(face(photos), QColor(36, 41, 50));
    EXPECT_NE(face(resizing), QColor(36, 41, 50));

    // A drag on the bar's background moves the window with the pointer.
    const QPoint start = window->pos();
    const QPoint grip(window->width() - 200, 70);
    ASSERT_EQ(window->childAt(grip), controller->titleBar()->vwMouseDownLintener);
    QWidget* background = controller->titleBar()->vwMouseDownLintener;
    const QPoint inBackground = background->mapFrom(window, grip);
    QTest::mousePress(background, Qt::LeftButton, {}, inBackground);
    QTest::mouseMove(background, inBackground + QPoint(40, 25));
    QTest::mouseRelease(background, Qt::LeftButton, {}, inBackground + QPoint(40, 25));
    EXPECT_EQ(window->pos(), start + QPoint(40, 25));
}

// A tab lights up under the pointer only where a click on it would count: not beside a sheet
// that holds the window, and not in a bar disabled with its inactive window.
TEST_F(MainWindowControllerTest, StepTabsLightUpUnderThePointerOnlyWhileTheWindowTakesClicks)
{
    makeController();
    OvAppStoreWindow* window = controller->windowMain();
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    auto* resizing = qobject_cast<HighlightedButton*>(windowButtonNamed(window, "2. Resizing"));
    ASSERT_TRUE(resizing);
    const QPoint away(window->width() / 2, window->height() / 2);
    const QPoint over = resizing->mapTo(window, resizing->rect().center());
    QTest::mouseMove(window->windowHandle(), away);
    const QImage atRest = resizing->grab().toImage();
    QTest::mouseMove(window->windowHandle(), over);
    ASSERT_NE(resizing->grab().toImage(), atRest) << "the tab lights up in a window that takes clicks";
    QTest::mouseMove(window->windowHandle(), away);
    ASSERT_EQ(resizing->grab().toImage(), atRest);

    auto* content = new QPushButton(QStringLiteral("OK"));
    const struct {
        const char* name;
        std::function<void()> hold;
        std::function<void()> release;
    } rows[] = {
        { "a sheet is up", [&] { Sheet::beginSheet(window, content); },
            [&] { Sheet::activeSheet(window)->endSheet(); } },
        { "the bar is disabled", [&] { controller->titleBar()->setEnabled(false); },
            [&] { controller->titleBar()->setEnabled(true); } },
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        row.hold();
        QTest::mouseMove(window->windowHandle(), over);
        EXPECT_TRUE(resizing->grab().toImage() == atRest) << "lit under the pointer";
        QTest::mousePress(window->windowHandle(), Qt::LeftButton, {}, over);
        EXPECT_TRUE(resizing->grab().toImage() == atRest) << "lit by a press";
        QTest::mouseRelease(window->windowHandle(), Qt::LeftButton, {}, over);
        QTest::mouseMove(window->windowHandle(), away);
        row.release();
    }
}

// Whoever moves the window, its top comes back to the top of the screen it spans; elsewhere it
// stays where it was put.
TEST_F(MainWindowControllerTest, AMoveThatTakesTheTopAboveTheScreenIsUndone)
{
    makeController();
    OvAppStoreWindow* window = controller->windowMain();
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    const QRect screen = window->screen()->geometry();
    const struct {
        QPoint to;
        QPoint expected;
    } rows[] = {
        { { screen.x() + 40, screen.y() - 300 }, { screen.x() + 40, screen.y() } },
        { { screen.x() + 10, screen.y() - 1 }, { screen.x() + 10, screen.y() } },
        { { screen.x() + 30, screen.y() + 20 }, { screen.x() + 30, screen.y() + 20 } },
        { { screen.x() - 5000, screen.y() - 50 }, { screen.x() - 5000, screen.y() - 50 } }, // over no screen
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.to.y());
        window->move(row.to);
        QTest::qWait(1);
        EXPECT_EQ(window->pos().x(), row.expected.x());
        EXPECT_EQ(window->pos().y(), row.expected.y());
    }
}

/// A window manager's move of the window, begun on creation and ended on destruction: the
/// manager reports the place its move puts the window, passes over the application's request to
/// move the window elsewhere while its move lasts (the window stays, and nothing new is
/// reported), and reports nothing more when its move ends.
class ManagerMove : public QObject {
public:
    ManagerMove(QWidget* window, QPoint to)
        : m_window(window)
        , m_held(to)
    {
        window->installEventFilter(this); // before the controller's relay: it sees the moves first
        window->move(to);
    }
    ~ManagerMove() override { m_window->removeEventFilter(this); }
    bool passedOver() const { return m_passedOver; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched != m_window || event->type() != QEvent::Move)
            return false;
        if (m_passedOver || m_window->pos() == m_held)
            return m_passedOver; // the manager's own report goes through; nothing after the request
        m_passedOver = true;
        m_window->move(m_held);
        return true;
    }

private:
    QWidget* m_window;
    QPoint m_held;
    bool m_passedOver = false;
};

// A window manager may pass over the request that puts the window back while its own move lasts,
// and report nothing more once its move ends: the window is put back once the move has settled.
TEST_F(MainWindowControllerTest, ARequestPassedOverWhileTheManagersMoveLastsIsMadeAgainOnceItSettles)
{
    makeController();
    OvAppStoreWindow* window = controller->windowMain();
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    const QRect screen = window->screen()->geometry();
    const QPoint above(screen.x() + 40, screen.y() - 300);
    {
        const ManagerMove move(window, above);
        ASSERT_TRUE(move.passedOver()) << "the window was never asked back onto the screen";
        ASSERT_EQ(window->pos(), above);
    }
    EXPECT_TRUE(QTest::qWaitFor([&] { return window->pos().y() == screen.y(); }, 3000))
        << "the window's top stays at " << window->pos().y() << ", above the screen's top at " << screen.y();
    EXPECT_EQ(window->pos().x(), above.x());
}

TEST_F(MainWindowControllerTest, WindowsThatNoOperationOpensStillWork)
{
    int exits = 0;
    app->hooks().exitApplication = [&] { ++exits; };
    makeController();
    OvAppStoreWindow* window = controller->windowMain();

    controller->feedbackSubmittedSuccessfully();
    Sheet* sheet = Sheet::activeSheet(window);
    ASSERT_TRUE(sheet);
    auto* message = qobject_cast<MessageSheetPanel*>(sheet->content());
    ASSERT_TRUE(message);
    EXPECT_EQ(message->titleLabel()->text(), "FEEDBACK");
    EXPECT_EQ(message->messageLabel()->text(), "Feedback submitted successfully!");
    message->button(0)->click();
    EXPECT_FALSE(Sheet::activeSheet(window));

    controller->showCloseConfirmation();
    auto* confirm = qobject_cast<MessageSheetPanel*>(Sheet::activeSheet(window)->content());
    confirm->button(1)->click(); // No
    EXPECT_FALSE(Sheet::activeSheet(window));
    EXPECT_EQ(exits, 0);
    controller->showCloseConfirmation();
    confirm->button(0)->click(); // Yes: a quit request
    EXPECT_EQ(exits, 1);

    controller->showAddPhotosWindow();
    sheet = Sheet::activeSheet(window);
    ASSERT_TRUE(sheet);
    EXPECT_EQ(sheet->content()->accessibleName(), "Add photos");
    EXPECT_EQ(sheet->content()->size(), QSize(window->width(), window->height() - 160));
    controller->showExifEditorWindow();
    EXPECT_FALSE(Sheet::activeSheet(window));
}

TEST_F(MainWindowControllerTest, TipsWindowClosesOnItsCallbackAndOffersTheSessionOnlyAtStartUp)
{
    Defaults::standard().setObject(kDefaultsIsFirstTime, "yes"); // the first launch: no session offer
    Defaults::standard().setObject(kDefaultsSavedProjectSession, "yes");
    makeController();
    OvAppStoreWindow* window = controller->windowMain();
    QWidget* tips = controller->winTips();
    ASSERT_TRUE(tips);
    EXPECT_FALSE(tips->isVisible()); // the tips screen shows nothing
    ASSERT_FALSE(Sheet::activeSheet(window));

    window->setGeometry(100, 80, 1200, 800);
    controller->setTipsWinFrame();
    EXPECT_EQ(tips->geometry().center(), window->geometry().center());

    // Opened from the notification: closing only brings the main window to the front.
    NotificationCenter::defaultCenter().post(kNotificationShowTips);
    EXPECT_TRUE(controller->isTipsFromNotfication());
    EXPECT_FALSE(tips->isVisible()); // asked for, it still shows nothing
    tips->show();
    controller->elementClicked();
    EXPECT_FALSE(tips->isVisible());
    EXPECT_FALSE(Sheet::activeSheet(window));

    // At start-up the same callback goes on to offer the saved session.
    controller.reset();
    Defaults::standard().setObject(kDefaultsIsFirstTime, "yes");
    makeController();
    ASSERT_FALSE(Sheet::activeSheet(controller->windowMain()));
    controller->winTips()->show();
    controller->elementClicked();
    EXPECT_FALSE(controller->winTips()->isVisible());
    EXPECT_TRUE(Sheet::activeSheet(controller->windowMain()));
}

} // namespace
} // namespace vantrel
