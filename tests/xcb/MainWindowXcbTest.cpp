// The application on a real X server, in-process: the main window becomes active, a folder of
// generated photos goes into the batch, a batch runs, and a quit through the menu asks to save the
// session and then ends the application. VANTREL_SHOT_DIR, when set, receives a picture of the
// window at each step.
#include <QAction>
#include <QApplication>
#include <QDeadlineTimer>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include "LaunchedApp.h"
#include "app/MainScreen/MainScreenView.h"
#include "app/MainTitleBarView.h"
#include "app/MainWindowController.h"
#include "app/MessageSheetPanel.h"
#include "app/Online/OnlineServices.h"
#include "app/Online/PromotionalAdsView.h"
#include "app/Online/Reachability.h"
#include "components/HighlightedButton.h"
#include "components/Sheet.h"
#include "components/TitleBar/OvAppStoreWindow.h"
#include "core/AppDelegate.h"
#include "core/Catalogue.h"
#include "platform/Defaults.h"
#include "platform/NotificationCenter.h"
#include "screens/Processing/ProcessingView.h"
#include "support/TestImages.h"
#include "support/WindowShot.h"

namespace vantrel {
namespace {

using test::shoot;

template <typename Done> bool waitFor(Done done, int ms = 60'000)
{
    QDeadlineTimer limit(ms);
    while (!done() && !limit.hasExpired())
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    return done();
}

TEST(MainWindowXcbTest, ActivateAddRunAndQuitThroughTheMenu)
{
    QTemporaryDir photos;
    ASSERT_TRUE(photos.isValid());
    for (int i = 0; i < 3; ++i)
        ASSERT_TRUE(testimages::writePattern(photos.filePath(QString("photo%1.jpg").arg(i)), 900 + 100 * i, 600));

    test::LaunchedApp app;
    ASSERT_TRUE(app.ok());
    MainWindowController* windows = app.windows();
    OvAppStoreWindow* window = app.window();
    MainScreenView* screen = app.screen();

    // Active: the title bar and its tabs are enabled.
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    EXPECT_TRUE(window->drawsAsActive());
    EXPECT_TRUE(windows->titleBar()->tabs[0]->isEnabled());
    EXPECT_EQ(window->size(), QSize(1200, 800));
    shoot(window, "1-photos-empty");

    // The online services are wired in: the feedback form is offered once its service is
    // configured (the Help menu reads it as it opens), the run summary has its
    // recommended-applications panel, and the launch has registered reachability (the shared
    // monitor is the one the delegate reads) and tracking (marked as asked, even unsent).
    EXPECT_EQ(windows->action("feedback")->isEnabled(), qEnvironmentVariableIsSet("VANTREL_FEEDBACK_URL"));
    qputenv("VANTREL_FEEDBACK_URL", "http://127.0.0.1:9");
    QMenu* help = windows->action("feedback")->associatedObjects().isEmpty()
        ? nullptr
        : qobject_cast<QMenu*>(windows->action("feedback")->associatedObjects().first());
    ASSERT_TRUE(help);
    help->popup(window->mapToGlobal(QPoint(200, 30)));
    EXPECT_TRUE(windows->action("feedback")->isEnabled());
    help->close();
    qunsetenv("VANTREL_FEEDBACK_URL");
    EXPECT_NE(screen->vwProcessing()->vwRecommendedApps()->findChild<PromotionalAdsView*>(), nullptr);
    ASSERT_NE(OnlineServices::shared()->internetReachability(), nullptr);
    EXPECT_EQ(
        AppDelegate::shareDelegate()->internetReachability.data(), OnlineServices::shared()->internetReachability());
    EXPECT_TRUE(OnlineServices::shared()->internetReachability()->isNotifying());
    EXPECT_EQ(Defaults::standard().stringForKey(kDefaultsTrackedForAppStore), "TRACKING CALLED");

    // The folder goes in the way a drop does; the add-photos screen scans it.
    auto* delegate = AppDelegate::shareDelegate();
    ASSERT_GT(NotificationCenter::defaultCenter().observerCount(kFileDragDropNotification), 0)
        << "nothing listens for drops";
    NotificationCenter::defaultCenter().post(
        kFileDragDropNotification, { { kUserInfoPaths, QStringList { photos.path() } } });
    ASSERT_TRUE(
        waitFor([&] { return delegate->arraySelectedImagesToProcess.size() == 3 && !delegate->isDisableview; }));
    shoot(window, "1-photos");

    screen->btnNextOnPhotosvwTapped();
    EXPECT_EQ(windows->titleBar()->selectedTab(), 2);
    screen->panes().setRotationType(1); // a setting that differs from the defaults
    shoot(window, "2-resizing");
    screen->btnNextOnResizingvwTapped();
    EXPECT_EQ(windows->titleBar()->selectedTab(), 3);
    shoot(window, "3-settings");

    bool finished = false;
    QObject context;
    NotificationCenter::defaultCenter().addObserver(
        &context, kNotificationsProcessFinished, [&](const Notification&) { finished = true; });
    screen->btnConvertOnSettingvwTapped();
    ASSERT_TRUE(waitFor([&] { return finished; }, 120'000));
    EXPECT_FALSE(app.controller().mainWindow()->isRunActive());
    EXPECT_EQ(screen->processingPort().engine().counterProcessedSuccessfully(), 3);
    shoot(window, "4-processing-done");

    // Quit from the menu: the save-session question comes first.
    windows->action("quit")->trigger();
    EXPECT_EQ(app.exits(), 0);
    Sheet* sheet = Sheet::activeSheet(window);
    ASSERT_TRUE(sheet);
    EXPECT_EQ(sheet->content(), windows->saveSessionSheet());
    shoot(window, "5-save-session");
    QTest::mouseClick(windows->saveSessionSheet()->button(0), Qt::LeftButton);
    EXPECT_EQ(app.exits(), 1);
    EXPECT_EQ(Defaults::standard().stringForKey(kDefaultsSavedProjectSession), "yes");
}

} // namespace
} // namespace vantrel
