// Option lists and popups through the real window: the lists worked from the keyboard alone,
// every popup gone once its step is left, and the photo menu kept inside the window.
#include <functional>

#include <QApplication>
#include <QDir>
#include <QGuiApplication>
#include <QPixmap>
#include <QRegularExpression>
#include <QScreen>
#include <QWidget>

#include <gtest/gtest.h>

#include "JourneyDriver.h"
#include "JourneyFiles.h"
#include "JourneyStart.h"
#include "JourneySteps.h"

namespace vantrel::journeys {
namespace {

/// The batch shown as a grid, with its cells placed.
::testing::AssertionResult showGrid()
{
    if (::testing::AssertionResult ok = clickControl("Grid"); !ok)
        return ok;
    if (!waitFor([] { return gridCell("portrait.png") != nullptr; }, 5000))
        return ::testing::AssertionFailure() << "the grid shows no cells";
    return ::testing::AssertionSuccess();
}

/// The popups up over the main window (option lists, photo information, photo menu).
QList<QWidget*> shownPopups()
{
    QList<QWidget*> popups;
    for (QWidget* top : QApplication::topLevelWidgets())
        for (QWidget* w : top->findChildren<QWidget*>())
            if (w->inherits("vantrel::TorAttachedWindow") && w->isVisible())
                popups.append(w);
    return popups;
}

QString focusName()
{
    QWidget* focus = QApplication::focusWidget();
    return focus ? focus->accessibleName() : QString();
}

/// A picture of the whole X screen (window manager's frame included) into VANTREL_SHOT_DIR.
void shootScreen(const QString& name)
{
    const QString dir = qEnvironmentVariable("VANTREL_SHOT_DIR");
    if (dir.isEmpty())
        return;
    settle(300);
    QDir().mkpath(dir);
    QGuiApplication::primaryScreen()->grabWindow(0).save(dir + "/" + name + ".png");
}

TEST(Journey, KeyboardChoosesPngAndTheSizeNamingFromTheOptionLists)
{
    JourneyStart start;
    ASSERT_TRUE(start.launchWithPhotos());
    const QString out = start.out();

    ASSERT_TRUE(keyToStep("Next", "Resizing"));
    ASSERT_TRUE(keyToStep("Next", "Settings"));
    const bool besideBefore = isChecked("Save beside the originals");
    ASSERT_TRUE(pressButton("Convert to"));

    // The format list: Space opens it on the current format (*.TIF), two arrows down reach
    // *.PNG, Return chooses it; the keys reach nothing under the list.
    ASSERT_TRUE(pressButton("Choose format"));
    ASSERT_TRUE(waitFor([] { return visibleControls("Options").size() == 1; }, 5000)) << "Space opened no list";
    ASSERT_TRUE(pressKey(Qt::Key_Down));
    ASSERT_TRUE(pressKey(Qt::Key_Down));
    shootScreen("option-list-keyboard-highlight");
    ASSERT_TRUE(pressKey(Qt::Key_Return));
    ASSERT_TRUE(waitFor([] { return visibleControls("Options").isEmpty(); }, 3000)) << "Return left the list up";
    EXPECT_EQ(controlText("Chosen format"), "*.PNG");
    EXPECT_EQ(focusName(), "Choose format") << "the focus did not come back to the list's button";
    EXPECT_EQ(isChecked("Save beside the originals"), besideBefore) << "the arrows reached the controls beneath";

    // The naming list: one row down is the size naming.
    ASSERT_TRUE(pressButton("Choose naming"));
    ASSERT_TRUE(waitFor([] { return visibleControls("Options").size() == 1; }, 5000)) << "Space opened no list";
    ASSERT_TRUE(pressKey(Qt::Key_Down));
    ASSERT_TRUE(pressKey(Qt::Key_Return));
    ASSERT_TRUE(waitFor([] { return visibleControls("Options").isEmpty(); }, 3000)) << "Return left the list up";
    EXPECT_EQ(controlText("Chosen naming"), "[Original Name]_[Width]X[Height]");
    EXPECT_EQ(focusName(), "Choose naming");

    ASSERT_TRUE(pressButton("Save to folder"));
    ASSERT_TRUE(pressButton("Choose output folder"));
    ASSERT_TRUE(choosePathInPanel(out));
    ASSERT_TRUE(keyToStep("Convert", "Processing"));
    ASSERT_TRUE(waitForSummary()) << "the run did not reach its summary";
    const QStringList files = filesIn(out);
    EXPECT_EQ(files.size(), 6) << files.join(", ").toStdString();
    const QRegularExpression named("_\\d+X\\d+\\.png$");
    for (const QString& file : files) {
        EXPECT_TRUE(named.match(file).hasMatch()) << file.toStdString();
        EXPECT_EQ(factsOf(out + "/" + file).format, "png") << file.toStdString();
    }
}

/// What the popups could change if one were left behind and clicked.
struct Choices {
    QString format;
    QString naming;
    QString preset;
    QString batch;
    bool operator==(const Choices&) const = default;
};

Choices currentChoices()
{
    Choices c;
    for (QWidget* top : QApplication::topLevelWidgets())
        for (QWidget* w : top->findChildren<QWidget*>()) {
            const QString name = w->accessibleName();
            if (name == "Chosen format")
                c.format = textOf(w);
            else if (name == "Chosen naming")
                c.naming = textOf(w);
            else if (name == "Chosen preset")
                c.preset = textOf(w);
        }
    c.batch = plainText("Batch summary");
    return c;
}

/// A click on the main window at a global position, as a user's.
::testing::AssertionResult clickAtGlobal(QWidget* window, const QPoint& global)
{
    return clickWidget(window, "the place where the popup stood", window->mapFromGlobal(global));
}

TEST(Journey, EveryPopupGoesWhenItsStepIsLeftAndItsPlaceThenTakesNoChoice)
{
    JourneyStart start;
    ASSERT_TRUE(start.launchWithPhotos());
    QWidget* window = start.app().window();
    ASSERT_TRUE(showGrid());

    enum class Leave { Keyboard, Mouse };
    const struct Case {
        const char* what;
        const char* step; // where the popup opens
        std::function<::testing::AssertionResult()> open;
        Leave leave;
        const char* button; // what leaves the step
        const char* next; // the step then shown
    } cases[] = {
        { "information popup", "Photos", [] { return clickControl("Photo information", gridCell("portrait.png")); },
            Leave::Keyboard, "Next", "Resizing" },
        { "information popup", "Photos", [] { return clickControl("Photo information", gridCell("portrait.png")); },
            Leave::Mouse, "Next", "Resizing" },
        { "photo menu", "Photos",
            [] { return clickWidget(gridCell("portrait.png"), "portrait.png", QPoint(-1, -1), Qt::RightButton); },
            Leave::Keyboard, "Next", "Resizing" },
        { "photo menu", "Photos",
            [] { return clickWidget(gridCell("portrait.png"), "portrait.png", QPoint(-1, -1), Qt::RightButton); },
            Leave::Mouse, "Next", "Resizing" },
        { "format list", "Settings", [] { return clickControl("Choose format"); }, Leave::Mouse, "Back", "Resizing" },
        { "naming list", "Settings", [] { return clickControl("Choose naming"); }, Leave::Mouse, "Back", "Resizing" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.what) + (c.leave == Leave::Keyboard ? " left by keyboard" : " left by mouse"));
        if (shownStep() != c.step) {
            // Back to where the popup opens, by the wizard's own buttons.
            if (QString(c.step) == "Photos")
                ASSERT_TRUE(goToStep("Back", "Photos"));
            else {
                ASSERT_TRUE(goToStep("Next", "Settings"));
                ASSERT_TRUE(clickControl("Convert to"));
            }
        }
        ASSERT_TRUE(c.open());
        ASSERT_TRUE(waitFor([] { return shownPopups().size() == 1; }, 5000)) << "no popup came up";
        const QPoint stood = shownPopups().first()->mapToGlobal(shownPopups().first()->rect().center());
        const Choices before = currentChoices();
        if (c.leave == Leave::Keyboard)
            ASSERT_TRUE(keyToStep(c.button, c.next));
        else
            ASSERT_TRUE(goToStep(c.button, c.next));
        EXPECT_TRUE(waitFor([] { return shownPopups().isEmpty(); }, 3000)) << "the popup stayed over the next step";
        ASSERT_TRUE(clickAtGlobal(window, stood));
        settle(200);
        EXPECT_TRUE(shownPopups().isEmpty());
        EXPECT_EQ(currentChoices(), before) << "a click where the popup stood changed a choice";
    }
}

TEST(Journey, KeysGivenToAnOpenListStayInItAndTheStepDoesNotChange)
{
    JourneyStart start;
    ASSERT_TRUE(start.launchWithPhotos());
    ASSERT_TRUE(keyToStep("Next", "Resizing"));
    ASSERT_TRUE(pressButton("Predefined size"));

    // The preset list opened by Space: Down highlights the first row, Tab does not leave the
    // list, Space chooses the row; the keyboard goes on from the list's button.
    ASSERT_TRUE(pressButton("Choose preset"));
    ASSERT_TRUE(waitFor([] { return visibleControls("Options").size() == 1; }, 5000)) << "Space opened no list";
    ASSERT_TRUE(pressKey(Qt::Key_Down));
    ASSERT_TRUE(pressKey(Qt::Key_Tab));
    ASSERT_TRUE(pressKey(Qt::Key_Space));
    ASSERT_TRUE(waitFor([] { return visibleControls("Options").isEmpty(); }, 3000)) << "Space left the list up";
    EXPECT_EQ(shownStep(), "Resizing") << "keys given to the list moved the wizard";
    EXPECT_NE(controlText("Chosen preset"), "Select") << "Space chose no preset";
    EXPECT_EQ(focusName(), "Choose preset");

    // Escape closes without a choice.
    const QString chosen = controlText("Chosen preset");
    ASSERT_TRUE(pressKey(Qt::Key_Space));
    ASSERT_TRUE(waitFor([] { return visibleControls("Options").size() == 1; }, 5000));
    ASSERT_TRUE(pressKey(Qt::Key_End));
    ASSERT_TRUE(pressKey(Qt::Key_Escape));
    ASSERT_TRUE(waitFor([] { return visibleControls("Options").isEmpty(); }, 3000)) << "Escape left the list up";
    EXPECT_EQ(controlText("Chosen preset"), chosen);
    EXPECT_EQ(focusName(), "Choose preset");
}

TEST(Journey, PhotoMenuOfTheRightmostCellOpensWholeInsideTheWindow)
{
    JourneyStart start;
    ASSERT_TRUE(start.launchWithPhotos());
    QWidget* window = start.app().window();
    ASSERT_TRUE(showGrid());

    // The cell whose right edge is nearest the window's right edge, clicked near that edge.
    QWidget* rightmost = nullptr;
    for (const QString& name : gridCellNames()) {
        QWidget* cell = gridCell(name);
        if (cell
            && (!rightmost
                || cell->mapTo(window, cell->rect().topRight()).x()
                    > rightmost->mapTo(window, rightmost->rect().topRight()).x()))
            rightmost = cell;
    }
    ASSERT_TRUE(rightmost);
    const QPoint at(rightmost->width() - 6, rightmost->height() / 2);
    ASSERT_TRUE(clickWidget(rightmost, "the rightmost cell", at, Qt::RightButton));
    ASSERT_TRUE(waitFor([] { return visibleControls("Photo menu").size() == 1; }, 5000)) << "no photo menu came up";
    QWidget* menu = visibleControls("Photo menu").first();
    shootScreen("photo-menu-right-edge");
    const QRect inside = window->rect();
    for (const char* item : { "Show in File Manager", "Open", "Get Info", "Remove from Batch" }) {
        QWidget* button = findControl(item, menu);
        ASSERT_TRUE(button) << item;
        const QRect shown(button->mapTo(window, QPoint(0, 0)), button->size());
        EXPECT_TRUE(inside.contains(shown))
            << item << " stands at " << shown.x() << "," << shown.y() << " " << shown.width() << "x" << shown.height()
            << " in a window of " << inside.width() << "x" << inside.height();
    }
    // It opened on the other side of the pointer, not over it.
    const QPoint pointer = rightmost->mapTo(window, at);
    EXPECT_LE(menu->mapTo(window, menu->rect().topRight()).x(), pointer.x());
    // And it still works: Remove from Batch takes the photo out.
    ASSERT_TRUE(clickIn("Photo menu", "Remove from Batch"));
    ASSERT_TRUE(waitForBatchCount(5));
}

} // namespace
} // namespace vantrel::journeys
