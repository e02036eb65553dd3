// Every sheet of the application on the real main window, driven from the keyboard as a user
// drives it: focus enters the sheet, typed text arrives whole in each field (a lone Shift or
// Control press included), Tab and Shift+Tab stay inside, Return and Escape give the sheet's
// answers, no key reaches the window under the sheet, and focus goes back where it was.
#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include "app/AppController.h"
#include "app/ApplicationSetup.h"
#include "app/MainScreen/AlertSheetView.h"
#include "app/MainScreen/MainScreenView.h"
#include "app/MainTitleBarView.h"
#include "app/MainWindowController.h"
#include "components/AppLook.h"
#include "components/FocusRing.h"
#include "components/ReadingOrder.h"
#include "components/Sheet.h"
#include "components/TitleBar/OvAppStoreWindow.h"
#include "core/AppDelegate.h"
#include "core/Catalogue.h"
#include "core/Wizard/AlertCatalogue.h"
#include "platform/Defaults.h"
#include "platform/NotificationCenter.h"
#include "screens/AddPhotos/AddPhotosVC.h"
#include "screens/Batch/BatchArea.h"
#include "screens/Batch/BatchBrowser.h"
#include "screens/Batch/BatchGridView.h"
#include "screens/Batch/BatchListView.h"
#include "screens/Batch/PhotoInfoView.h"
#include "screens/Panes/ResizeView.h"
#include "screens/Panes/RotateView.h"
#include "screens/Panes/SettingView.h"
#include "screens/Processing/OverwriteAlertView.h"
#include "screens/Processing/ProcessingView.h"
#include "support/TestImages.h"
#include "support/UserTyping.h"

namespace vantrel::test {
namespace {

constexpr char kTyped[] = "aB_@&Cd";

/// Counts the key events that reach the window's widgets outside its topmost sheet.
class LeakedKeys : public QObject {
public:
    explicit LeakedKeys(QWidget* window)
        : m_window(window)
    {
        qApp->installEventFilter(this);
    }
    ~LeakedKeys() override { qApp->removeEventFilter(this); }
    QStringList leaks;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        const auto type = event->type();
        if ((type == QEvent::KeyPress || type == QEvent::KeyRelease || type == QEvent::ShortcutOverride)
            && watched->isWidgetType()) {
            auto* widget = static_cast<QWidget*>(watched);
            Sheet* sheet = Sheet::activeSheet(m_window);
            if (sheet && widget->window() == m_window && widget != sheet && !sheet->isAncestorOf(widget))
                leaks.append(QStringLiteral("%1 key %2 to %3")
                                 .arg(int(type))
                                 .arg(static_cast<QKeyEvent*>(event)->key())
                                 .arg(widget->metaObject()->className()));
        }
        return false;
    }

private:
    QWidget* m_window;
};

QString textOf(QWidget* field)
{
    if (auto* line = qobject_cast<QLineEdit*>(field))
        return line->text();
    if (auto* plain = qobject_cast<QPlainTextEdit*>(field))
        return plain->toPlainText();
    return {};
}

QWidget* byName(QWidget* root, const QString& accessibleName)
{
    for (QWidget* widget : root->findChildren<QWidget*>()) {
        if (widget->accessibleName() == accessibleName && widget->isVisibleTo(root)
            && (widget->focusPolicy() & Qt::TabFocus))
            return widget;
    }
    return nullptr;
}

/// Presses Tab (or Shift+Tab) until `target` has focus; false when it never does.
bool tabTo(QWidget* target, int limit, bool backwards = false)
{
    for (int i = 0; i < limit && QApplication::focusWidget() != target; ++i)
        pressKey(Qt::Key_Tab, backwards);
    return QApplication::focusWidget() == target;
}

class SheetKeyboardTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        AppDelegate::resetShared();
        hooks = ApplicationSetup::realHooks(*qApp);
        hooks.exitApplication = [this] { ++exits; };
        hooks.openUrl = [](const QUrl&) { return false; };
        controller = std::make_unique<AppController>(hooks);
        controller->applicationDidFinishLaunching();
        windows = dynamic_cast<MainWindowController*>(controller->mainWindow());
        ASSERT_TRUE(windows);
        window = windows->windowMain();
        screen = dynamic_cast<MainScreenView*>(windows->mainScreen());
        ASSERT_TRUE(screen);
        ASSERT_TRUE(QTest::qWaitForWindowActive(window));
        // The answers are recorded, not acted on: the table is about the keyboard.
        screen->winAlert()->setButtonHandler([](AlertButton) {});
        QObject::disconnect(screen->vwProcessing()->overwriteAlertContent(), &OverwriteAlertView::answered,
            screen->vwProcessing(), nullptr);
    }

    AppController::Hooks hooks;
    std::unique_ptr<AppController> controller;
    MainWindowController* windows = nullptr;
    OvAppStoreWindow* window = nullptr;
    MainScreenView* screen = nullptr;
    int exits = 0;
};

struct SheetCase {
    QString name;
    std::function<void()> open;
    QString firstFocus; ///< accessible name of the control focus enters
    QStringList fields; ///< accessible names of the sheet's text fields
    QString onReturn; ///< the button Return clicks; empty for none
    QString onEscape; ///< the button Escape clicks; empty for none
    std::function<void()> close = {}; ///< ends a sheet still up, as its owner does; else endSheet
};

TEST_F(SheetKeyboardTest, EverySheetTakesTheKeyboardWholeAndAnswersReturnAndEscape)
{
    // Escape gives Cancel, else No, else an only button that just acknowledges; never an answer
    // that removes photos or ends a run (102's OK ends the run that ran out of space).
    const QMap<int, QString> escapeOfAlert {
        { 100, "No" },
        { 101, "No" },
        { 102, "" },
        { 103, "" },
        { 104, "" },
        { 105, "" },
        { 106, "" },
        { 107, "OK" },
        { 109, "OK" },
        { 110, "OK" },
        { 111, "OK" },
        { 112, "OK" },
        { 113, "No" },
        { 114, "No" },
        { 115, "OK" },
        { 116, "OK" },
        { 117, "OK" },
        { 118, "OK" },
        { 119, "Cancel" },
        { 120, "Cancel" },
        { 121, "Cancel" },
        { 122, "No" },
        { 123, "OK" },
    };
    QList<SheetCase> cases;
    for (int tag = 100; tag <= 123; ++tag) {
        const auto alert = AlertCatalogue::alertForTag(tag, {});
        ASSERT_EQ(alert.has_value(), escapeOfAlert.contains(tag)) << tag;
        if (!alert)
            continue;
        const QString first = screen->winAlert()->button(alert->buttons.first())->accessibleName();
        cases.append({ QStringLiteral("alert %1").arg(tag), [this, tag] { screen->showAlertWithTag(tag); }, first, {},
            first, escapeOfAlert.value(tag) });
    }
    cases.append({ "file not shown",
        [] {
            NotificationCenter::defaultCenter().post(QString::fromLatin1(kNotificationShowMessageAlert),
                { { QString::fromLatin1(kUserInfoTitle), "FILE NOT SHOWN" },
                    { QString::fromLatin1(kUserInfoMessage), "\"b.png\" could not be opened." } });
        },
        "OK", {}, "OK", "OK" });
    cases.append({ "overwrite",
        [] { NotificationCenter::defaultCenter().post(QString::fromLatin1(kNotificationShowOverwriteAlert)); },
        "New file name", { "New file name" }, "Rename", {},
        [] { NotificationCenter::defaultCenter().post(QString::fromLatin1(kNotificationHideOverwriteAlert)); } });
    ASSERT_TRUE(screen->addPhotosScreen());
    cases.append({ "adding photos", [this] { screen->addPhotosScreen()->showProgressSheet(); }, "Stop", {}, "Stop",
        "Stop", [this] { screen->addPhotosScreen()->endProgressSheet(); } });
    cases.append({ "feedback",
        [this] {
            AppDelegate::shareDelegate()->isInternetAvailable = true; // Submit checks the fields
            windows->showFeedBackWindow();
        },
        "Email Address", { "Email Address", "Share your experience" }, "Submit", "Cancel" });
    BatchBrowser* browser = screen->addPhotosScreen()->batchViewsArea()->browser();
    cases.append({ "no new photos, remove",
        [browser] { browser->showNoNewPhotosAlert("Title", "Message", AlertSheetButton::RemoveFromBatch); },
        "Remove from Batch", {}, "Remove from Batch", {} });
    cases.append({ "no new photos, ok",
        [browser] { browser->showNoNewPhotosAlert("Title", "Message", AlertSheetButton::Ok); }, "OK", {}, "OK", "OK" });
    cases.append({ "rating",
        [this] {
            // The prompt shows only where a review page exists; no request is made.
            qputenv("VANTREL_CONTENT_URL", "http://127.0.0.1:9/");
            Defaults::standard().removeObjectForKey(QString::fromLatin1(kDefaultsRateMeCount));
            windows->showAlertForRateApp();
            qunsetenv("VANTREL_CONTENT_URL");
        },
        "Rate Vantrel", {}, "Rate Vantrel", "No, Thanks", [this] { windows->btnNoOnRateUsTapped(); } });
    cases.append({ "last session", [this] { windows->showLoadLastSessionWindow(); }, "Load Last Session", {},
        "Load Last Session", {} });
    cases.append({ "save session", [this] { windows->showSaveSessionWindow(); }, "Save", {}, "Save", "Cancel" });

    LeakedKeys leaked(window);
    for (const SheetCase& c : cases) {
        SCOPED_TRACE(c.name.toStdString());
        // Focus starts on a control of the main screen, which it returns to.
        const QList<QWidget*> under = ReadingOrder::controls(screen->mainScreenWidget());
        ASSERT_FALSE(under.isEmpty());
        QWidget* before = under.last();
        before->setFocus(Qt::TabFocusReason);
        ASSERT_EQ(QApplication::focusWidget(), before);

        c.open();
        Sheet* sheet = Sheet::activeSheet(window);
        ASSERT_TRUE(sheet);
        QWidget* content = sheet->content();
        QWidget* focus = QApplication::focusWidget();
        ASSERT_TRUE(focus && content->isAncestorOf(focus));
        EXPECT_EQ(focus->accessibleName().toStdString(), c.firstFocus.toStdString());
        EXPECT_EQ(FocusRing::ringedWidget(), focus);

        QString answers;
        auto recorder = std::make_unique<QObject>();
        const auto record = [&answers, &recorder](QWidget* from) {
            for (QAbstractButton* button : from->findChildren<QAbstractButton*>())
                QObject::connect(button, &QAbstractButton::clicked, recorder.get(),
                    [&answers, button] { answers += button->accessibleName() + ";"; });
        };
        record(content);

        const QList<QWidget*> order = sheet->focusOrder();
        const int limit = int(order.size()) + 1;
        for (const QString& name : c.fields) {
            QWidget* field = byName(content, name);
            ASSERT_TRUE(field) << name.toStdString();
            ASSERT_TRUE(tabTo(field, limit)) << name.toStdString();
            EXPECT_EQ(FocusRing::ringedWidget(), field);
            controlKey(Qt::Key_A);
            pressKey(Qt::Key_Backspace);
            typeAsUser(QString::fromLatin1(kTyped));
            EXPECT_EQ(textOf(field).toStdString(), kTyped) << name.toStdString();
            controlKey(Qt::Key_A);
            typeAsUser("New");
            EXPECT_EQ(textOf(field).toStdString(), "New") << name.toStdString();
            // The editing keys: copy and paste, Home and End, undo.
            controlKey(Qt::Key_A);
            controlKey(Qt::Key_C);
            pressKey(Qt::Key_End);
            controlKey(Qt::Key_V);
            pressKey(Qt::Key_Home);
            typeAsUser("x");
            EXPECT_EQ(textOf(field).toStdString(), "xNewNew") << name.toStdString();
            controlKey(Qt::Key_Z);
            EXPECT_EQ(textOf(field).toStdString(), "NewNew") << name.toStdString();
            EXPECT_EQ(QApplication::focusWidget(), field);
        }

        // Tab from the last control comes round to the first, Shift+Tab from the first to the last.
        ASSERT_TRUE(tabTo(order.last(), limit));
        pressKey(Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), order.first());
        pressKey(Qt::Key_Tab, true);
        EXPECT_EQ(QApplication::focusWidget(), order.last());
        for (int i = 0; i < limit; ++i) {
            pressKey(Qt::Key_Tab);
            ASSERT_TRUE(content->isAncestorOf(QApplication::focusWidget()));
        }

        // Closes the sheet if it is still up and opens it again, as it was at first.
        const auto reopen = [&] {
            if (Sheet* still = Sheet::activeSheet(window))
                c.close ? c.close() : still->endSheet();
            EXPECT_EQ(QApplication::focusWidget(), before) << "focus goes back when the sheet ends";
            AppDelegate::shareDelegate()->isSubWindowOpened = false;
            c.open();
            sheet = Sheet::activeSheet(window);
            if (sheet && sheet->content() != content) { // a form made anew each time it opens
                content = sheet->content();
                record(content);
            }
            return sheet != nullptr;
        };

        // Return from the first control (a field, else the default button) gives the default.
        sheet->focusFirstControl();
        pressKey(Qt::Key_Return);
        EXPECT_EQ(answers.toStdString(), c.onReturn.isEmpty() ? "" : (c.onReturn + ";").toStdString());

        // Return on each focused button presses that button, whichever one is the default.
        QStringList buttons;
        for (QWidget* control : order) {
            if (qobject_cast<QPushButton*>(control))
                buttons.append(control->accessibleName());
        }
        for (const QString& name : std::as_const(buttons)) {
            SCOPED_TRACE(name.toStdString());
            ASSERT_TRUE(reopen());
            QWidget* button = byName(content, name);
            ASSERT_TRUE(button);
            ASSERT_TRUE(tabTo(button, limit));
            EXPECT_EQ(FocusRing::ringedWidget(), button);
            answers.clear();
            pressKey(Qt::Key_Return);
            EXPECT_EQ(answers.toStdString(), (name + ";").toStdString());
        }
        ASSERT_TRUE(reopen());
        answers.clear();
        sheet->focusFirstControl();
        pressKey(Qt::Key_Escape);
        EXPECT_EQ(answers.toStdString(), c.onEscape.isEmpty() ? "" : (c.onEscape + ";").toStdString());

        if (Sheet* still = Sheet::activeSheet(window))
            c.close ? c.close() : still->endSheet();
        AppDelegate::shareDelegate()->isSubWindowOpened = false;
        EXPECT_EQ(QApplication::focusWidget(), before) << "focus goes back when the sheet ends";
        EXPECT_EQ(FocusRing::ringedWidget(), before) << "with its ring, as it had one";
        EXPECT_EQ(leaked.leaks.join(", ").toStdString(), "");
        leaked.leaks.clear();
    }
}

TEST_F(SheetKeyboardTest, AnAlertInsideASheetHoldsTheKeyboardUntilItIsDismissed)
{
    AppDelegate::shareDelegate()->isInternetAvailable = false;
    windows->showFeedBackWindow();
    Sheet* sheet = Sheet::activeSheet(window);
    ASSERT_TRUE(sheet);
    QWidget* email = QApplication::focusWidget();
    ASSERT_EQ(email->accessibleName().toStdString(), "Email Address");
    pressKey(Qt::Key_Return); // Submit, offline: the form's alert
    QWidget* alert = sheet->content()->findChild<QWidget*>("formAlert");
    ASSERT_TRUE(alert && alert->isVisible());
    QWidget* ok = QApplication::focusWidget();
    ASSERT_TRUE(ok && alert->isAncestorOf(ok));
    EXPECT_EQ(ok->accessibleName().toStdString(), "OK");
    pressKey(Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), ok); // its only control
    typeAsUser("ab");
    EXPECT_EQ(textOf(email).toStdString(), ""); // the field under the alert takes nothing
    pressKey(Qt::Key_Escape); // the alert has no Cancel
    EXPECT_TRUE(alert->isVisible());
    pressKey(Qt::Key_Return);
    EXPECT_FALSE(alert->isVisible());
    EXPECT_EQ(QApplication::focusWidget(), email);
    pressKey(Qt::Key_Escape); // now the form's Cancel
    EXPECT_EQ(Sheet::activeSheet(window), nullptr);
}

TEST_F(SheetKeyboardTest, ALoneModifierMovesTheKeyboardNowhere)
{
    const QList<QWidget*> controls = ReadingOrder::controls(screen->mainScreenWidget());
    ASSERT_FALSE(controls.isEmpty());
    for (const Qt::Key modifier : { Qt::Key_Shift, Qt::Key_Control, Qt::Key_Alt, Qt::Key_Meta }) {
        controls.last()->setFocus(Qt::TabFocusReason);
        keyDown(modifier, Qt::NoModifier);
        keyUp(modifier, Qt::NoModifier);
        EXPECT_EQ(QApplication::focusWidget(), controls.last()) << modifier;
        EXPECT_EQ(FocusRing::ringedWidget(), controls.last()) << modifier;
    }
}

TEST_F(SheetKeyboardTest, OnlyTheMenusApplicationShortcutsPassASheet)
{
    int quits = 0;
    QObject::connect(windows->action("quit"), &QAction::triggered, window, [&quits] { ++quits; });
    screen->showAlertWithTag(117);
    ASSERT_TRUE(Sheet::activeSheet(window));
    controlKey(Qt::Key_Q);
    EXPECT_EQ(quits, 1);
    Sheet::activeSheet(window)->endSheet();
}

TEST_F(SheetKeyboardTest, TheRenameFieldKeepsItsHeightUnderEachErrorMessage)
{
    NotificationCenter::defaultCenter().post(QString::fromLatin1(kNotificationShowOverwriteAlert));
    Sheet* sheet = Sheet::activeSheet(window);
    ASSERT_TRUE(sheet);
    auto* overwrite = screen->vwProcessing()->overwriteAlertContent();
    QLineEdit* field = overwrite->txtRenamefileName();
    const int height = field->sizeHint().height();
    QApplication::processEvents();
    EXPECT_GE(field->height(), height);
    const int sheetHeight = overwrite->height();
    for (const char* message :
        { "* File name can't be empty.", "* File already exist with same name at destination folder." }) {
        SCOPED_TRACE(message);
        screen->vwProcessing()->setRenameError(QString::fromLatin1(message));
        QApplication::processEvents();
        EXPECT_TRUE(overwrite->lblErrorFileNewname()->isVisible());
        EXPECT_GE(field->height(), height);
        EXPECT_GT(overwrite->height(), sheetHeight); // the sheet grew for the line
        EXPECT_LE(overwrite->height(), sheet->height());
        EXPECT_TRUE(overwrite->rect().contains(overwrite->lblErrorFileNewname()->geometry()));
    }
    sheet->endSheet();
}

TEST_F(SheetKeyboardTest, EachStepTabsInReadingOrderEndingOnTheBottomButtons)
{
    const struct {
        int step;
        QStringList lastControls; ///< the bottom buttons, by object name, left to right
    } steps[] = {
        { 1, { "btnNextOnPhotosvw" } },
        { 2, { "btnBackOnResizingvw", "btnNextOnResizingvw" } },
        { 3, { "btnBackOnSettingvw", "btnConvertOnSettingvw" } },
    };
    for (const auto& s : steps) {
        SCOPED_TRACE(s.step);
        screen->setUiOnTabChange(s.step);
        QApplication::processEvents();
        const QList<QWidget*> order = ReadingOrder::controls(window);
        ASSERT_GT(order.size(), s.lastControls.size());
        QStringList tail;
        for (qsizetype i = order.size() - s.lastControls.size(); i < order.size(); ++i)
            tail.append(order.at(i)->objectName());
        EXPECT_EQ(tail.join(",").toStdString(), s.lastControls.join(",").toStdString());
        // Tab walks the order and comes round; Shift+Tab walks it back.
        order.first()->setFocus(Qt::TabFocusReason);
        for (qsizetype i = 1; i <= order.size(); ++i) {
            pressKey(Qt::Key_Tab);
            ASSERT_EQ(QApplication::focusWidget(), order.at(i % order.size())) << i;
        }
        pressKey(Qt::Key_Tab, true);
        EXPECT_EQ(QApplication::focusWidget(), order.last());
    }
    // A step change that takes the focused control away leaves the keyboard on the new step's
    // main button, with a ring only when the focus had one.
    for (const bool fromKeyboard : { true, false }) {
        screen->setUiOnTabChange(1);
        QApplication::processEvents();
        QWidget* next = screen->bottomButton("btnNextOnPhotosvw");
        next->clearFocus();
        next->setFocus(fromKeyboard ? Qt::TabFocusReason : Qt::MouseFocusReason);
        screen->setUiOnTabChange(2);
        QApplication::processEvents();
        EXPECT_EQ(QApplication::focusWidget(), screen->bottomButton("btnNextOnResizingvw")) << fromKeyboard;
        EXPECT_EQ(FocusRing::ringedWidget(), fromKeyboard ? QApplication::focusWidget() : nullptr) << fromKeyboard;
    }

    // A step of two panels is read panel by panel: every resize control before any rotate one.
    screen->setUiOnTabChange(2);
    QApplication::processEvents();
    const QList<QWidget*> order = ReadingOrder::controls(window);
    qsizetype lastResize = -1;
    qsizetype firstRotate = order.size();
    for (qsizetype i = 0; i < order.size(); ++i) {
        if (screen->vwResize()->isAncestorOf(order.at(i)))
            lastResize = i;
        if (screen->vwRotate()->isAncestorOf(order.at(i)))
            firstRotate = std::min(firstRotate, i);
    }
    EXPECT_GE(lastResize, 0);
    EXPECT_LT(lastResize, firstRotate);
}

/// Step 1 with two photos, "a.png" and "b.png", added as a drop adds them.
BatchBrowser* addTwoPhotos(MainScreenView* screen, const QTemporaryDir& dir)
{
    AddPhotosVC* add = screen->addPhotosScreen();
    if (!add)
        return nullptr;
    for (const char* name : { "a.png", "b.png" }) {
        if (!testimages::writePattern(dir.filePath(name), 60, 40))
            return nullptr;
    }
    if (!add->addPhotosFromDroppedPaths({ dir.filePath("a.png"), dir.filePath("b.png") })
        || !QTest::qWaitFor([add] { return !add->isAddRunInProgress(); }, 10000))
        return nullptr;
    QApplication::processEvents();
    return add->batchViewsArea()->browser();
}

// Tab from the step's first control reaches every button of the batch header in reading order,
// each with its ring, before the view and the bottom button; Space on "Remove All" removes the
// photos once its question is answered.
TEST_F(SheetKeyboardTest, TheBatchHeaderButtonsTakeTheKeyboardInReadingOrder)
{
    QTemporaryDir dir;
    BatchBrowser* browser = addTwoPhotos(screen, dir);
    ASSERT_TRUE(browser);
    QList<PhotoFilePtr>& batch = AppDelegate::shareDelegate()->arraySelectedImagesToProcess;
    ASSERT_EQ(batch.size(), 2);
    QWidget* next = screen->bottomButton("btnNextOnPhotosvw");

    const struct {
        BatchViewMode mode;
        const char* stops; ///< the browser's controls Tab stops on, by accessible name
    } modes[] = {
        { BatchViewMode::Grid,
            "List,Grid,Big grid,Select or unselect all,Remove,Remove All,Photos of the batch,Photo information" },
        { BatchViewMode::BigGrid,
            "List,Grid,Big grid,Select or unselect all,Remove,Remove All,Photos of the batch,Photo information" },
        { BatchViewMode::List,
            "List,Grid,Big grid,Remove,Remove All,Photos of the batch,Select all,Remove all photos,"
            "Photo information" },
    };
    for (const auto& m : modes) {
        SCOPED_TRACE(int(m.mode));
        browser->presenter()->changePhotosViewImageMode(m.mode);
        QApplication::processEvents();
        const QList<QWidget*> stepControls = ReadingOrder::controls(screen->addPhotosScreen());
        ASSERT_FALSE(stepControls.isEmpty());
        stepControls.first()->setFocus(Qt::TabFocusReason);
        QStringList stops;
        for (int i = 0; i < 40 && QApplication::focusWidget() != next; ++i) {
            QWidget* focus = QApplication::focusWidget();
            if (browser->isAncestorOf(focus)) {
                stops.append(focus->accessibleName());
                EXPECT_EQ(FocusRing::ringedWidget(), focus) << focus->accessibleName().toStdString();
            }
            pressKey(Qt::Key_Tab);
        }
        EXPECT_EQ(QApplication::focusWidget(), next);
        EXPECT_EQ(stops.join(",").toStdString(), m.stops);
    }

    // Space on the focused Remove All asks; Return answers its first button, Yes.
    screen->winAlert()->setButtonHandler([this](AlertButton button) { screen->driver().alerts().tap(button); });
    browser->presenter()->changePhotosViewImageMode(BatchViewMode::Grid);
    QApplication::processEvents();
    ASSERT_TRUE(tabTo(browser->btnRemoveAllPhoto(), 40));
    pressKey(Qt::Key_Space);
    ASSERT_TRUE(Sheet::activeSheet(window));
    EXPECT_EQ(batch.size(), 2);
    pressKey(Qt::Key_Return);
    EXPECT_FALSE(Sheet::activeSheet(window));
    EXPECT_TRUE(batch.isEmpty());
}

// Return and Enter press the window's focused push button as Space does: the step buttons move
// between the steps.
TEST_F(SheetKeyboardTest, ReturnAndEnterPressTheFocusedButtonOfTheWindow)
{
    QTemporaryDir dir;
    ASSERT_TRUE(addTwoPhotos(screen, dir));
    const struct {
        const char* button;
        bool keypad;
        int step; ///< the tab selected afterwards
    } rows[] = {
        { "btnNextOnPhotosvw", false, 2 },
        { "btnBackOnResizingvw", true, 1 },
        { "btnNextOnPhotosvw", true, 2 },
        { "btnNextOnResizingvw", false, 3 },
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.button);
        QWidget* button = screen->bottomButton(row.button);
        ASSERT_TRUE(button && button->isVisible());
        ASSERT_TRUE(tabTo(button, 60));
        if (row.keypad) {
            keyDown(Qt::Key_Enter, Qt::KeypadModifier, QStringLiteral("\r"));
            keyUp(Qt::Key_Enter, Qt::KeypadModifier, QStringLiteral("\r"));
        } else {
            pressKey(Qt::Key_Return);
        }
        QApplication::processEvents();
        EXPECT_EQ(windows->titleBar()->selectedTab(), row.step);
    }
}

// The current grid item's or list row's info control is the one the keyboard reaches: Tab into
// the view makes its first photo current, the arrows move on, Tab goes on to the current photo's
// control, Space opens its popup.
TEST_F(SheetKeyboardTest, TheCurrentPhotosInfoControlOpensItsPopupFromTheKeyboard)
{
    QTemporaryDir dir;
    BatchBrowser* browser = addTwoPhotos(screen, dir);
    ASSERT_TRUE(browser);
    const struct {
        BatchViewMode mode;
        QWidget* view;
    } modes[] = {
        { BatchViewMode::Grid, browser->collectionView() },
        { BatchViewMode::List, browser->tblPhotos() },
    };
    for (const auto& m : modes) {
        SCOPED_TRACE(int(m.mode));
        browser->presenter()->changePhotosViewImageMode(m.mode);
        QApplication::processEvents();
        screen->bottomButton("btnNextOnPhotosvw")->setFocus(Qt::TabFocusReason);
        ASSERT_TRUE(tabTo(m.view, 20));
        EXPECT_EQ(FocusRing::ringedWidget(), m.view);
        EXPECT_LT(FocusRing::ringRect().height(), m.view->height()); // round the photo, not the view
        pressKey(Qt::Key_Right); // the grid's second item; the list stays on its first row
        pressKey(Qt::Key_Down); // no item below in the grid; the list's second row
        QApplication::processEvents();
        QList<QWidget*> reachable;
        for (QWidget* control : ReadingOrder::controls(browser)) {
            if (control->accessibleName() == "Photo information")
                reachable.append(control);
        }
        ASSERT_EQ(reachable.size(), 1); // one control in the walk, however many show
        EXPECT_EQ(reachable.first()->accessibleDescription().toStdString(), "b.png");
        ASSERT_TRUE(tabTo(reachable.first(), 6));
        EXPECT_EQ(FocusRing::ringedWidget(), reachable.first());
        pressKey(Qt::Key_Space);
        ASSERT_TRUE(browser->infoWindow());
        EXPECT_TRUE(browser->infoWindow()->isVisible());
        EXPECT_EQ(browser->infoView()->tvMetaData()->item(0, 1)->text().toStdString(), ":      b.png");
        // Its close button is in reach too, and the keyboard comes back to the control.
        ASSERT_TRUE(tabTo(browser->infoView()->btnClosePhotoInfo(), 6));
        pressKey(Qt::Key_Space);
        EXPECT_FALSE(browser->infoWindow());
        EXPECT_EQ(QApplication::focusWidget(), reachable.first());
        // A click on it leaves the keyboard where it was.
        pressKey(Qt::Key_Space);
        QWidget* next = screen->bottomButton("btnNextOnPhotosvw");
        next->setFocus(Qt::TabFocusReason);
        QTest::mouseClick(browser->infoView()->btnClosePhotoInfo(), Qt::LeftButton);
        EXPECT_FALSE(browser->infoWindow());
        EXPECT_EQ(QApplication::focusWidget(), next);
    }
}

// A button reached by Tab shows the ring at its edge and nothing else: inside the ring it looks
// as it does without focus (no second focus frame from the style), outlined and filled alike.
TEST_F(SheetKeyboardTest, FocusShowsOnceAsTheRing)
{
    screen->setUiOnTabChange(2);
    QApplication::processEvents();
    QWidget* back = screen->bottomButton("btnBackOnResizingvw");
    QWidget* next = screen->bottomButton("btnNextOnResizingvw");
    const struct {
        QWidget* button;
        QWidget* from;
        bool backwards;
    } rows[] = { { back, next, true }, { next, back, false } };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.button->accessibleName().toStdString());
        row.from->setFocus(Qt::TabFocusReason);
        const QRect inside = row.button->rect().adjusted(4, 4, -4, -4);
        const QImage plain = row.button->grab(inside).toImage();
        pressKey(Qt::Key_Tab, row.backwards);
        ASSERT_EQ(FocusRing::ringedWidget(), row.button);
        EXPECT_EQ(row.button->grab(inside).toImage(), plain);
        EXPECT_EQ(QColor(row.button->grab().toImage().pixel(1, row.button->height() / 2)), AppLook::focusColor());
    }
}

TEST_F(SheetKeyboardTest, OpenPanelsTakeTheKeyboardAndAnswerReturnAndEscape)
{
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkpath("Out_B"));
    const QString folder = dir.filePath("Out_B");
    AddPhotosVC* add = screen->addPhotosScreen();
    ASSERT_TRUE(add);
    const struct {
        const char* name;
        std::function<void()> open;
        QString typed; ///< what Return accepts
    } cases[] = {
        { "add folder", [add] { add->btnAddFolderTapped(); }, folder },
        { "add library", [add] { add->btnAddIphotosTapped(); }, folder },
        { "output folder", [this] { screen->vwSetting()->btnSelectFolderTapped(); }, folder },
        { "add photos", [add] { add->btnAddPhotosTapped(); }, folder + "/Photo_B.jpg" },
    };
    QFile photo(folder + "/Photo_B.jpg");
    ASSERT_TRUE(photo.open(QIODevice::WriteOnly));
    photo.close();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        for (const bool accept : { false, true }) {
            c.open();
            auto* panel = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            ASSERT_TRUE(panel);
            // The window manager activates a new dialog; offscreen, the test does.
            panel->activateWindow();
            ASSERT_TRUE(QTest::qWaitFor([panel] { return QApplication::activeWindow() == panel; }));
            QSignalSpy finished(panel, &QDialog::finished);
            auto* name = panel->findChild<QLineEdit*>("fileNameEdit");
            ASSERT_TRUE(name);
            EXPECT_EQ(QApplication::focusWidget(), name);
            if (accept) {
                controlKey(Qt::Key_A);
                typeAsUser(c.typed);
                EXPECT_EQ(name->text(), c.typed);
                pressKey(Qt::Key_Return);
            } else {
                for (int i = 0; i < 12; ++i) {
                    pressKey(Qt::Key_Tab);
                    ASSERT_EQ(QApplication::focusWidget()->window(), panel);
                }
                pressKey(Qt::Key_Escape);
            }
            ASSERT_EQ(finished.count(), 1);
            EXPECT_EQ(finished.first().first().toInt(), accept ? QDialog::Accepted : QDialog::Rejected);
            QApplication::processEvents();
            AppDelegate::shareDelegate()->isSubWindowOpened = false;
        }
    }
}

} // namespace
} // namespace vantrel::test
