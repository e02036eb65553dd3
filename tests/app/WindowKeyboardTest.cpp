// The main window without a sheet, driven from the keyboard: each step tabs in reading order,
// the batch header's buttons and the current photo's info control take the keyboard, Return
// presses the focused button, focus shows once as the ring, and an open option list keeps the
// menus' shortcuts to itself.
#include "KeyboardFixture.h"

#include <QAction>

#include "components/TorAttachedWindow.h"

namespace vantrel::test {
namespace {

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
        // The list's header buttons before the list, as the grid's header before the grid: the
        // current row's info control comes right after the list.
        { BatchViewMode::List,
            "List,Grid,Big grid,Remove,Remove All,Select all,Remove all photos,Photos of the batch,"
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

    // Space on the focused Remove All asks. The focus is on No, so Return keeps the batch; Yes
    // must be chosen (Shift+Tab) before Return removes it.
    screen->winAlert()->setButtonHandler([this](AlertButton button) { screen->driver().alerts().tap(button); });
    browser->presenter()->changePhotosViewImageMode(BatchViewMode::Grid);
    QApplication::processEvents();
    ASSERT_TRUE(tabTo(browser->btnRemoveAllPhoto(), 40));
    pressKey(Qt::Key_Space);
    ASSERT_TRUE(Sheet::activeSheet(window));
    pressKey(Qt::Key_Return);
    EXPECT_FALSE(Sheet::activeSheet(window));
    EXPECT_EQ(batch.size(), 2);
    ASSERT_EQ(QApplication::focusWidget(), browser->btnRemoveAllPhoto());
    pressKey(Qt::Key_Space);
    ASSERT_TRUE(Sheet::activeSheet(window));
    pressKey(Qt::Key_Tab, true);
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

// While an option list is open every key is the list's, the menus' application shortcuts too:
// F1 and Ctrl+Q act on nothing, and the list stays open until Escape closes it.
TEST_F(SheetKeyboardTest, AnOpenOptionListKeepsTheMenusShortcutsFromActing)
{
    QMap<QString, int> fired;
    for (const char* name : { "help", "quit" }) {
        QAction* action = windows->action(QString::fromLatin1(name));
        ASSERT_TRUE(action) << name;
        action->setEnabled(true); // help is offered only with a support page; the key is what counts
        QObject::connect(action, &QAction::triggered, window, [&fired, name] { ++fired[QString::fromLatin1(name)]; });
    }
    const auto openList = [this] {
        for (auto* popup : window->findChildren<TorAttachedWindow*>())
            if (popup->isVisible())
                return true;
        return false;
    };
    const struct {
        const char* list;
        int step;
        const char* enabler; ///< pressed first to enable the opener; nullptr when none is needed
        const char* opener;
    } lists[] = {
        { "the add options", 1, nullptr, "More ways to add photos" },
        { "the formats", 3, "Convert to", "Choose format" },
    };
    const struct {
        const char* what;
        std::function<void()> press;
    } keys[] = {
        { "F1", [] { pressKey(Qt::Key_F1); } },
        { "Ctrl+Q", [] { controlKey(Qt::Key_Q); } },
    };
    for (const auto& l : lists) {
        SCOPED_TRACE(l.list);
        screen->setUiOnTabChange(l.step);
        QApplication::processEvents();
        if (l.enabler) {
            QWidget* enabler = byName(screen, QString::fromLatin1(l.enabler));
            ASSERT_TRUE(enabler);
            enabler->setFocus(Qt::TabFocusReason);
            pressKey(Qt::Key_Space);
        }
        QWidget* opener = byName(screen, QString::fromLatin1(l.opener));
        ASSERT_TRUE(opener && opener->isEnabled());
        for (const auto& k : keys) {
            SCOPED_TRACE(k.what);
            opener->setFocus(Qt::TabFocusReason);
            pressKey(Qt::Key_Space);
            ASSERT_TRUE(openList()) << "Space on the opener opened no list";
            k.press();
            QApplication::processEvents();
            EXPECT_EQ(fired.value("help"), 0) << "F1 reached the menus";
            EXPECT_EQ(fired.value("quit"), 0) << "Ctrl+Q reached the menus";
            EXPECT_TRUE(openList()) << k.what << " closed the list";
            EXPECT_FALSE(Sheet::activeSheet(window)) << k.what << " brought up a sheet";
            pressKey(Qt::Key_Escape);
            EXPECT_FALSE(openList());
            fired.clear();
        }
    }
}
} // namespace
} // namespace vantrel::test
