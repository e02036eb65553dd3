// The main screen's widgets offscreen: steps in the box with their buttons, the alert and
// overwrite sheets as in-window overlays, and the loading overlay. With VANTREL_SCREENSHOT_DIR set,
// each case also saves what it shows.
#include <QAbstractButton>
#include <QCheckBox>
#include <QCoreApplication>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include "app/AppController.h"
#include "app/MainScreen/AlertSheetView.h"
#include "app/MainScreen/LoadingOverlay.h"
#include "app/MainScreen/MainScreenView.h"
#include "components/Sheet.h"
#include "components/TorAttachedWindow.h"
#include "core/AppDelegate.h"
#include "core/Catalogue.h"
#include "core/DataBeans/PhotoFile.h"
#include "platform/Defaults.h"
#include "platform/NotificationCenter.h"
#include "platform/Paths.h"
#include "screens/Logs/LogWindow.h"
#include "screens/Panes/SettingView.h"
#include "support/NamedWidget.h"

// Readable failures for text lists.
inline void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toStdString() << '"';
}

namespace vantrel::test {
namespace {

void saveShot(QWidget* window, const QString& name)
{
    const QString dir = qEnvironmentVariable("VANTREL_SCREENSHOT_DIR");
    if (!dir.isEmpty())
        window->grab().save(dir + "/" + name + ".png");
}

class MainScreenViewTest : public ::testing::Test {
public:
    void SetUp() override
    {
        AppDelegate::resetShared();
        window = std::make_unique<QWidget>();
        window->resize(1200, 800);
        screen = new MainScreenView(window.get());
        screen->setGeometry(window->rect());
        window->show();
    }
    QStringList visibleButtons() const
    {
        QStringList names;
        for (const char* name : { "btnNextOnPhotosvw", "btnNextOnResizingvw", "btnBackOnResizingvw",
                 "btnConvertOnSettingvw", "btnBackOnSettingvw", "btnFinishOnProccesiingvw" })
            if (screen->bottomButton(name)->isVisibleTo(screen))
                names.append(name);
        return names;
    }
    std::unique_ptr<QWidget> window;
    MainScreenView* screen = nullptr;
};

TEST_F(MainScreenViewTest, EachStepShowsItsViewAndButtons)
{
    auto photo = std::make_shared<PhotoFile>();
    photo->setIsSelected(true);
    AppDelegate::shareDelegate()->arraySelectedImagesToProcess.append(photo);
    const struct {
        int step;
        QStringList buttons;
        bool footer;
    } rows[] = {
        { 1, { "btnNextOnPhotosvw" }, true }, { 2, { "btnNextOnResizingvw", "btnBackOnResizingvw" }, true },
        { 3, { "btnConvertOnSettingvw", "btnBackOnSettingvw" }, true },
        { 9, { "btnConvertOnSettingvw", "btnBackOnSettingvw" }, true }, // only clears the box
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.step);
        screen->setUiOnTabChange(row.step);
        for (int i = 1; i <= 4; ++i)
            EXPECT_EQ(screen->stepView(i)->isVisibleTo(screen), i == row.step) << i;
        EXPECT_EQ(visibleButtons(), row.buttons);
        EXPECT_EQ(screen->lblBatchInfoBottom()->isVisibleTo(screen), row.footer);
        if (row.step <= 4) {
            EXPECT_EQ(screen->stepView(row.step)->geometry(), screen->leftBox()->rect());
            saveShot(window.get(), QStringLiteral("step%1").arg(row.step));
        }
    }
    screen->addProcessView();
    EXPECT_TRUE(visibleButtons().isEmpty()); // Finish waits for the end of the run
    NotificationCenter::defaultCenter().post(kNotificationsProcessFinished);
    EXPECT_EQ(visibleButtons(), QStringList { "btnFinishOnProccesiingvw" });
    EXPECT_TRUE(screen->bottomButton("btnShowLogs")->isVisibleTo(screen));
    EXPECT_FALSE(screen->lblBatchInfoBottom()->isVisibleTo(screen));
    saveShot(window.get(), "step4");

    // Disabled wizard: the six buttons are disabled and their actions do nothing.
    NotificationCenter::defaultCenter().post(kNotificationsDisbleView);
    EXPECT_FALSE(screen->bottomButton("btnFinishOnProccesiingvw")->isEnabled());
    NotificationCenter::defaultCenter().post(kNotificationsEnable);
    QTest::mouseClick(screen->bottomButton("btnFinishOnProccesiingvw"), Qt::LeftButton);
    EXPECT_TRUE(screen->stepView(1)->isVisibleTo(screen));
}

TEST_F(MainScreenViewTest, AlertSheetShowsTheAlertsButtonsAndEndsOnAButton)
{
    screen->setUiOnTabChange(1);
    NotificationCenter::defaultCenter().post(kNotificationShowAlertWithType, { { kUserInfoType, 121 } });
    Sheet* sheet = Sheet::activeSheet(window.get());
    ASSERT_TRUE(sheet);
    EXPECT_EQ(sheet->content(), screen->winAlert());
    EXPECT_EQ(screen->winAlert()->size(), QSize(700, 270));
    EXPECT_EQ(screen->winAlert()->lblAlertTitle()->text(), "Photos Library exists");
    for (AlertButton which : { AlertButton::UseJpeg, AlertButton::UsePng, AlertButton::SkipRaw, AlertButton::Cancel })
        EXPECT_TRUE(screen->winAlert()->button(which)->isVisibleTo(screen->winAlert()));
    EXPECT_FALSE(screen->winAlert()->button(AlertButton::Ok)->isVisibleTo(screen->winAlert()));
    EXPECT_EQ(screen->winAlert()->button(AlertButton::Cancel)->x(), 139);
    saveShot(window.get(), "alert121");

    // A second raise replaces the texts on the same sheet.
    NotificationCenter::defaultCenter().post(kNotificationShowAlertWithType, { { kUserInfoType, 117 } });
    EXPECT_EQ(Sheet::activeSheet(window.get()), sheet);
    EXPECT_EQ(screen->winAlert()->lblAlertTitle()->text(), "No Photo Added");
    EXPECT_FALSE(screen->winAlert()->button(AlertButton::Cancel)->isVisibleTo(screen->winAlert()));
    saveShot(window.get(), "alert117");
    QTest::mouseClick(screen->winAlert()->button(AlertButton::Ok), Qt::LeftButton);
    EXPECT_FALSE(Sheet::activeSheet(window.get()));
}

TEST_F(MainScreenViewTest, OverwriteSheetAndLoadingOverlayKeepTheSubWindowFlag)
{
    AppDelegate* app = AppDelegate::shareDelegate();
    NotificationCenter::defaultCenter().post(kNotificationShowOverwriteAlert);
    ASSERT_TRUE(Sheet::activeSheet(window.get()));
    EXPECT_EQ(Sheet::activeSheet(window.get())->content(), screen->winOverwriteAlert());
    EXPECT_TRUE(app->isSubWindowOpened);
    NotificationCenter::defaultCenter().post(kNotificationHideOverwriteAlert);
    EXPECT_FALSE(Sheet::activeSheet(window.get()));
    EXPECT_FALSE(app->isSubWindowOpened);

    NotificationCenter::defaultCenter().post(kNotificationsShowLoadingWithText, { { kUserInfoTextStr, "Loading..." } });
    EXPECT_TRUE(screen->vwLoading()->isVisible());
    EXPECT_TRUE(screen->vwLoading()->isAnimating());
    EXPECT_TRUE(app->isSubWindowOpened);
    EXPECT_EQ(screen->vwLoading()->txtLoading()->text(), "Loading...");
    saveShot(window.get(), "loading");
    NotificationCenter::defaultCenter().post(kNotificationsHideLoading);
    EXPECT_FALSE(screen->vwLoading()->isVisible());
    EXPECT_FALSE(screen->vwLoading()->isAnimating());
    EXPECT_FALSE(app->isSubWindowOpened);

    screen->enableView(false);
    EXPECT_TRUE(screen->vwLoading()->isVisible());
    EXPECT_FALSE(screen->vwLoading()->bgForAnimator()->isVisibleTo(screen->vwLoading()));
    screen->enableView(true);
    EXPECT_FALSE(screen->vwLoading()->isVisible());

    // The options popup closes on a click outside it, and the screen takes no file drops.
    screen->addAttachedPopupTableAtPoint(QPointF(100, 100));
    ASSERT_TRUE(screen->attachedPopup());
    EXPECT_TRUE(screen->attachedPopup()->isVisible());
    QTest::mouseClick(screen->leftBox(), Qt::LeftButton, {}, QPoint(600, 500));
    QCoreApplication::processEvents();
    EXPECT_FALSE(screen->attachedPopup());
    EXPECT_FALSE(screen->acceptDrops());
}

} // namespace
} // namespace vantrel::test

namespace vantrel::test {
namespace {

TEST_F(MainScreenViewTest, SessionRestoreBringsTheOutputFolderBackWhileItExists)
{
    QTemporaryDir root;
    const auto launch = [this] { // a new main screen, as at a launch
        window = std::make_unique<QWidget>();
        window->resize(1200, 800);
        screen = new MainScreenView(window.get());
        window->show();
    };
    const struct {
        const char* what;
        bool toFolder;
        bool folderKept; // the chosen folder still exists at restore
        bool restored; // mode and folder as saved, else the defaults
    } cases[] = { { "folder still there", true, true, true }, { "folder gone", true, false, false },
        { "beside the originals", false, true, true } };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Defaults::standard().removeObjectForKey(QString::fromLatin1(kDefaultsSavedProjectSession));
        AppController::addPredifinedSizePresets();
        const QString folder = QDir(root.path()).filePath(QString::fromLatin1(c.what));
        ASSERT_TRUE(QDir().mkpath(folder));
        launch();

        // Choose on the settings step as a user does, then save the session.
        screen->setUiOnTabChange(3);
        SettingView* setting = screen->vwSetting();
        if (c.toFolder) {
            setting->folderPanelEnded(folder); // the folder panel's choice
            auto* hierarchy = named<QCheckBox>(setting, "Keep folder hierarchy");
            QTest::mouseClick(hierarchy, Qt::LeftButton, {}, QPoint(8, hierarchy->height() / 2));
        } else {
            auto* beside = named<QRadioButton>(setting, "Save beside the originals");
            QTest::mouseClick(beside, Qt::LeftButton, {}, QPoint(8, beside->height() / 2));
        }
        ASSERT_EQ(setting->getOutputSettingObject().keepFolderHierarchy, c.toFolder);
        ASSERT_EQ(setting->getOutputSettingObject().folderOption, c.toFolder ? 1 : 0);
        screen->saveProjectSessionToDefault();
        if (!c.folderKept) {
            ASSERT_TRUE(QDir(folder).removeRecursively());
        }

        // A new launch loads it.
        launch();
        screen->loadLastSessionSettings();
        screen->setUiOnTabChange(3);
        setting = screen->vwSetting();
        const bool toFolder = c.restored ? c.toFolder : true;
        EXPECT_EQ(named<QRadioButton>(setting, "Save to folder")->isChecked(), toFolder);
        EXPECT_EQ(named<QRadioButton>(setting, "Save beside the originals")->isChecked(), !toFolder);
        EXPECT_EQ(named<QLabel>(setting, "Output folder")->text(),
            c.restored && c.toFolder ? folder : Paths::defaultOutputFolder());
        // Keep hierarchy is its own setting, restored with any folder output.
        EXPECT_EQ(named<QCheckBox>(setting, "Keep folder hierarchy")->isChecked(), c.toFolder);
        EXPECT_EQ(setting->getOutputSettingObject().folderOption, toFolder ? 1 : 0);
    }
}

// A step changed by the program (as the tab bar and the end of a run change it) takes the option
// list open on it away.
TEST_F(MainScreenViewTest, AnOpenOptionListGoesWithItsStep)
{
    QTest::qWait(50); // the panes' own set-up
    const struct {
        int step;
        const char* mode; // the radio button that enables the list's button, if any
        const char* opener;
        int next;
    } cases[] = {
        { 3, "Convert to", "Choose format", 1 },
        { 3, nullptr, "Choose naming", 2 },
        { 2, "Predefined size", "Choose preset", 3 },
    };
    const auto shownPopups = [this] {
        int shown = 0;
        for (const TorAttachedWindow* popup : window->findChildren<TorAttachedWindow*>())
            shown += popup->isVisibleTo(window.get()) ? 1 : 0;
        return shown;
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.opener);
        screen->setUiOnTabChange(c.step);
        if (c.mode)
            QTest::mouseClick(named<QAbstractButton>(screen, c.mode), Qt::LeftButton, {}, QPoint(6, 6));
        QTest::mouseClick(named<QAbstractButton>(screen, c.opener), Qt::LeftButton);
        ASSERT_EQ(shownPopups(), 1) << "the list did not open";
        screen->setUiOnTabChange(c.next);
        QCoreApplication::processEvents();
        EXPECT_EQ(shownPopups(), 0) << "the list stayed over the next step";
    }
}

} // namespace
} // namespace vantrel::test

namespace vantrel::test {
namespace {

TEST_F(MainScreenViewTest, ClosingTheLogWindowFreesTheWindowUnlessASheetHoldsIt)
{
    // The log window never sets the sub-window flag; a sheet up on the window set it and keeps it.
    const struct {
        const char* name;
        bool sheetUp;
        bool flagAfterClose;
    } rows[] = {
        { "nothing else up", false, false },
        { "a sheet holds the window", true, true },
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        screen->btnShowLogsTapped();
        ASSERT_TRUE(screen->winLogs());
        ASSERT_TRUE(screen->winLogs()->isVisible());
        AppDelegate::shareDelegate()->isSubWindowOpened = true;
        screen->enableView(false);
        ASSERT_TRUE(screen->vwLoading()->isVisible());
        QLabel question(QStringLiteral("A question"));
        Sheet* sheet = nullptr;
        if (row.sheetUp) {
            // Raised behind the log window's back: beginning it does not close the window here,
            // as the user is the one who closes it.
            screen->winLogs()->setProperty(Sheet::kClosesForSheetProperty, false);
            sheet = Sheet::beginSheet(window.get(), &question);
            ASSERT_TRUE(screen->winLogs()->isVisible());
        }

        QAbstractButton* close = screen->winLogs()->btnCloseWindow();
        QTest::mouseClick(close, Qt::LeftButton, {}, close->rect().center());
        QCoreApplication::processEvents();

        EXPECT_FALSE(screen->winLogs()->isVisible());
        EXPECT_EQ(AppDelegate::shareDelegate()->isSubWindowOpened, row.flagAfterClose);
        EXPECT_FALSE(screen->vwLoading()->isVisible());
        if (sheet)
            sheet->endSheet();
        screen->winLogs()->setProperty(Sheet::kClosesForSheetProperty, true);
        question.setParent(nullptr);
    }
}

} // namespace
} // namespace vantrel::test
