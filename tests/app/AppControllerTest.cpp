// Start-up order, first-launch presets, the quit rules in every state and the menu actions.
#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include "app/AppInfo.h"
#include "app/ShellFakes.h"
#include "core/AppDelegate.h"
#include "core/DataBeans/PhotoFile.h"
#include "core/DataBeans/ProjectSession.h"
#include "platform/KeyedArchiver.h"
#include "platform/NotificationCenter.h"

namespace vantrel {
namespace {

using shelltest::FakeWindowSide;

class AppControllerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        AppDelegate::resetShared();
        shelltest::clearShellDefaults();
        qunsetenv("VANTREL_CONTENT_URL");
    }
    void TearDown() override { qunsetenv("VANTREL_CONTENT_URL"); }

    /// A controller whose hooks record their calls into `calls`; the window side is `side`
    /// (owned by the controller once the main window opens, by the fixture until then).
    std::unique_ptr<AppController> makeController(FakeWindowSide* side)
    {
        pendingSide.reset(side);
        AppController::Hooks hooks;
        hooks.applyLook = [this] { calls.append("look"); };
        hooks.makeMainWindow = [this](AppController*) {
            calls.append("makeMainWindow");
            firstTimeWhenWindowLoads = Defaults::standard().stringForKey(kDefaultsIsFirstTime);
            pendingSide->calls = &calls;
            return std::unique_ptr<MainWindowSide>(std::move(pendingSide));
        };
        hooks.registerReachability = [this] { calls.append("reachability"); };
        hooks.registerFroTracking = [this] { calls.append("tracking"); };
        hooks.exitApplication = [this] { ++exits; };
        hooks.openUrl = [this](const QUrl& url) {
            openedUrls.append(url);
            return openSucceeds;
        };
        hooks.osVersion = [] { return QStringLiteral("10.15"); };
        return std::make_unique<AppController>(hooks);
    }

    std::unique_ptr<FakeWindowSide> pendingSide;
    QStringList calls;
    QString firstTimeWhenWindowLoads;
    int exits = 0;
    QList<QUrl> openedUrls;
    bool openSucceeds = true;
};

TEST_F(AppControllerTest, LaunchRunsItsStepsInOrderAndWritesTheFirstLaunchPresetsBeforeTheWindow)
{
    auto* side = new FakeWindowSide;
    auto controller = makeController(side);
    QStringList names;
    for (const auto& step : controller->launchSteps())
        names.append(step.name);
    EXPECT_EQ(names,
        QStringList({ "look", "runState", "firstLaunch", "database", "languageTable", "batch", "mainWindow",
            "reachability", "supportNumber", "tracking", "osVersion" }));

    AppDelegate::shareDelegate()->setRawConvertFormat("jpeg");
    controller->applicationDidFinishLaunching();
    EXPECT_EQ(calls, QStringList({ "look", "makeMainWindow", "showMainWindow", "reachability", "tracking" }));
    EXPECT_EQ(firstTimeWhenWindowLoads, "yes");

    auto* delegate = AppDelegate::shareDelegate();
    EXPECT_EQ(delegate->rawConvertFormat(), "png");
    EXPECT_TRUE(delegate->dbManager);
    EXPECT_TRUE(delegate->dictLanguage());
    EXPECT_TRUE(delegate->arraySelectedImagesToProcess.isEmpty());
    EXPECT_TRUE(delegate->isOSX_15_AndAbove);
    EXPECT_EQ(Defaults::standard().objectForKey(kDefaultsPhoneNumber).toString(), "(800) 555-0142");

    const auto session = KeyedUnarchiver::unarchiveObjectWithData<ProjectSession>(
        Defaults::standard().dataForKey(kDefaultsProjectSession));
    ASSERT_TRUE(session);
    const struct {
        const char* name;
        int width;
        int height;
    } expected[] = { { "iPhone 4", 640, 960 }, { "iPhone 5/5s", 640, 1136 }, { "iPhone 6/7", 750, 1334 },
        { "iPhone 6/7 Plus", 1242, 2208 }, { "iPad Mini/Air", 1536, 2048 }, { "iPad Pro", 2048, 2732 },
        { "Apple Watch 38mm", 272, 340 }, { "Apple Watch 42mm", 312, 390 } };
    ASSERT_EQ(session->arrayPredefinedSize.size(), 8);
    for (int i = 0; i < 8; ++i) {
        const SizeObject& size = session->arrayPredefinedSize.at(i);
        EXPECT_EQ(size.name, expected[i].name);
        EXPECT_EQ(size.customWidth, expected[i].width);
        EXPECT_EQ(size.customHeight, expected[i].height);
        EXPECT_TRUE(size.isCustomSize);
    }
    EXPECT_FALSE(session->resizeSettingObject);
    EXPECT_FALSE(session->outputSettingObject);
}

TEST_F(AppControllerTest, ALaterLaunchLeavesTheStoredSessionAlone)
{
    Defaults::standard().setObject(kDefaultsIsFirstTime, "no");
    Defaults::standard().setObject(kDefaultsProjectSession, QByteArray("kept"));
    auto controller = makeController(new FakeWindowSide);
    controller->applicationDidFinishLaunching();
    EXPECT_EQ(Defaults::standard().dataForKey(kDefaultsProjectSession), QByteArray("kept"));
    EXPECT_EQ(firstTimeWhenWindowLoads, "no");
}

TEST_F(AppControllerTest, SystemVersionFlagsFollowTheExactText)
{
    const struct {
        const char* version;
        bool is15;
        bool is16;
    } cases[] = { { "10.15", true, false }, { "10.16", false, true }, { "10.14", false, false },
        { "11.0", false, false }, { "12.0", false, false }, { "10.150", false, false } };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.version);
        EXPECT_EQ(AppController::osFlagsFor(c.version), std::make_pair(c.is15, c.is16));
    }
}

TEST_F(AppControllerTest, QuitRulesAnswerEveryState)
{
    const struct {
        bool subWindow, processing, photos, changes, saveShown;
        AppController::TerminateReply reply;
        int saveSheets;
        bool stopQuestion;
    } cases[] = {
        { true, true, true, true, false, AppController::TerminateReply::Now, 0, false },
        { false, true, true, true, false, AppController::TerminateReply::Cancel, 0, true },
        { false, true, false, false, false, AppController::TerminateReply::Cancel, 0, true },
        { false, false, true, true, false, AppController::TerminateReply::Cancel, 1, false },
        { false, false, true, true, true, AppController::TerminateReply::Now, 0, false },
        { false, false, false, true, false, AppController::TerminateReply::Now, 0, false },
        { false, false, true, false, false, AppController::TerminateReply::Now, 0, false },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.subWindow << c.processing << c.photos << c.changes << c.saveShown);
        auto* delegate = AppDelegate::resetShared();
        auto* side = new FakeWindowSide;
        side->changes = c.changes;
        auto controller = makeController(side);
        controller->openMainWindow();
        delegate->isSubWindowOpened = c.subWindow;
        delegate->isProcessingInProgress = c.processing;
        delegate->isSaveSessionShown = c.saveShown;
        if (c.photos)
            delegate->arraySelectedImagesToProcess.append(std::make_shared<PhotoFile>());
        QList<int> alerts;
        QObject context;
        NotificationCenter::defaultCenter().addObserver(&context, kNotificationShowAlertWithType,
            [&](const Notification& n) { alerts.append(n.userInfo.value(kUserInfoType).toInt()); });

        exits = 0;
        controller->terminate();
        EXPECT_EQ(exits, c.reply == AppController::TerminateReply::Now ? 1 : 0);
        EXPECT_EQ(side->saveSheetShown, c.saveSheets);
        EXPECT_EQ(alerts, c.stopQuestion ? QList<int> { 122 } : QList<int> {});
    }
}

TEST_F(AppControllerTest, SaveSessionAnswersEndOrKeepTheApplication)
{
    enum class Answer { Save, DontSave, Cancel };
    for (Answer answer : { Answer::Save, Answer::DontSave, Answer::Cancel }) {
        SCOPED_TRACE(int(answer));
        auto* delegate = AppDelegate::resetShared();
        delegate->arraySelectedImagesToProcess.append(std::make_shared<PhotoFile>());
        Defaults::standard().setObject(kDefaultsSavedProjectSession, "yes");
        auto* side = new FakeWindowSide;
        side->changes = true;
        auto controller = makeController(side);
        controller->openMainWindow();
        exits = 0;

        controller->terminate();
        ASSERT_EQ(side->saveSheetShown, 1);
        delegate->isSubWindowOpened = true; // the sheet is up
        int saves = 0;
        const auto mapped = answer == Answer::Save ? AppController::SaveSessionAnswer::Save
            : answer == Answer::DontSave           ? AppController::SaveSessionAnswer::DontSave
                                                   : AppController::SaveSessionAnswer::Cancel;
        controller->saveSessionAnswered(mapped, [&] { ++saves; });
        EXPECT_FALSE(delegate->isSubWindowOpened);
        EXPECT_EQ(saves, answer == Answer::Save ? 1 : 0);
        EXPECT_EQ(exits, answer == Answer::Cancel ? 0 : 1);
        EXPECT_EQ(side->saveSheetShown, 1);
        EXPECT_EQ(Defaults::standard().contains(kDefaultsSavedProjectSession), answer != Answer::DontSave);
        if (answer == Answer::Cancel) {
            controller->terminate(); // asked again
            EXPECT_EQ(side->saveSheetShown, 2);
            EXPECT_EQ(exits, 0);
        }
    }
}

TEST_F(AppControllerTest, QuitDuringARunExitsOnlyAfterTheRunHasEnded)
{
    auto* delegate = AppDelegate::shareDelegate();
    auto* side = new FakeWindowSide;
    bool running = true;
    int stops = 0;
    side->runActive = [&] { return running; };
    side->stop = [&] { ++stops; };
    auto controller = makeController(side);
    controller->openMainWindow();
    delegate->isSubWindowOpened = true;
    delegate->isProcessingInProgress = true;

    controller->terminate();
    controller->terminate(); // a second request while stopping changes nothing
    EXPECT_EQ(stops, 1);
    EXPECT_EQ(exits, 0);
    running = false;
    NotificationCenter::defaultCenter().post(kNotificationsProcessFinished);
    EXPECT_EQ(exits, 1);
    NotificationCenter::defaultCenter().post(kNotificationsProcessFinished);
    EXPECT_EQ(exits, 1);
}

TEST_F(AppControllerTest, MenuActionsPostOrOpenOnlyWhereTheyLeadSomewhere)
{
    auto controller = makeController(new FakeWindowSide);
    int feedbacks = 0;
    int tips = 0;
    QObject context;
    auto& center = NotificationCenter::defaultCenter();
    center.addObserver(&context, kNotificationShowFeedback, [&](const Notification&) { ++feedbacks; });
    center.addObserver(&context, kNotificationShowTips, [&](const Notification&) { ++tips; });

    controller->btnFeedbackTapped();
    AppDelegate::shareDelegate()->isSubWindowOpened = true;
    controller->btnFeedbackTapped();
    controller->showTips();
    EXPECT_EQ(feedbacks, 1);
    EXPECT_EQ(tips, 1);

    // Unconfigured: help and rating are unavailable and open nothing.
    EXPECT_FALSE(AppController::isHelpAvailable());
    EXPECT_FALSE(AppController::isRateAvailable());
    controller->btnHelpTapped();
    controller->btnRateOnAppstoreTapped();
    EXPECT_TRUE(openedUrls.isEmpty());

    qputenv("VANTREL_CONTENT_URL", "http://127.0.0.1:9/base/");
    EXPECT_TRUE(AppController::isHelpAvailable());
    controller->btnHelpTapped();
    openSucceeds = false;
    controller->btnRateOnAppstoreTapped();
    EXPECT_FALSE(Defaults::standard().contains(kDefaultsAppVersion));
    openSucceeds = true;
    controller->btnRateOnAppstoreTapped();
    EXPECT_EQ(Defaults::standard().stringForKey(kDefaultsAppVersion), AppInfo::bundleVersion());
    EXPECT_EQ(openedUrls,
        QList<QUrl>({ QUrl("http://127.0.0.1:9/base/vantrel/support"), QUrl("http://127.0.0.1:9/base/vantrel/review"),
            QUrl("http://127.0.0.1:9/base/vantrel/review") }));
}

} // namespace
} // namespace vantrel
