// The photo menu and removals by keyboard: the Menu key and Shift+F10 open the menu of the photo
// the keyboard is on, beside that photo, in the grid and in the list; inside it the keys of any
// menu move, choose and close, and the keyboard comes back to the view; Delete and Backspace take
// the current photo out as its remove button does; the list row's info control is reached by Tab.
#include <functional>

#include <QAbstractItemView>
#include <QApplication>
#include <QPointer>

#include <gtest/gtest.h>

#include "JourneyDriver.h"
#include "JourneyStart.h"
#include "JourneySteps.h"
#include "screens/Batch/BatchGridView.h"
#include "screens/Batch/BatchListModel.h"
#include "screens/Cells/GridCell.h"

namespace vantrel::journeys {
namespace {

/// The photo the keyboard is on in the focused grid or list: its name and where it shows on the
/// screen; an empty name when the focus is on neither.
struct CurrentPhoto {
    QString name;
    QRect onScreen;
};

CurrentPhoto currentPhoto()
{
    QWidget* focus = QApplication::focusWidget();
    if (auto* grid = qobject_cast<BatchGridView*>(focus)) {
        const OptionalIndexPath path = grid->indexPathForSelectedItem();
        const GridCell* cell = path ? grid->gridCellAt(path->kelt_item()) : nullptr;
        if (!cell)
            return {};
        return { cell->accessibleName(), QRect(cell->mapToGlobal(QPoint(0, 0)), cell->size()) };
    }
    if (auto* list = qobject_cast<QAbstractItemView*>(focus)) {
        const int row = list->currentIndex().row();
        if (row < 0)
            return {};
        QRect shown;
        for (int column = 0; column < list->model()->columnCount(); ++column)
            shown |= list->visualRect(list->model()->index(row, column));
        return { list->model()->index(row, BatchListModel::NameColumn).data().toString(),
            QRect(list->viewport()->mapToGlobal(shown.topLeft()), shown.size()) };
    }
    return {};
}

QStringList batchNames(bool list)
{
    return list ? listRowNames() : gridCellNames();
}

QString focusName()
{
    QWidget* focus = QApplication::focusWidget();
    return focus ? focus->accessibleName() : QString();
}

/// The photo menu when it shows, else nullptr.
QWidget* shownMenu()
{
    const QList<QWidget*> menus = visibleControls(QStringLiteral("Photo menu"));
    return menus.size() == 1 ? menus.first() : nullptr;
}

// One walk through the keys of the view that has the keyboard (the grid or the list): each step
// a key, then where the keyboard is, whether the menu shows, and whether the photo the keyboard
// was on left the batch.
void walkTheMenuKeys(bool list, bool withBackspace)
{
    const QString view = QStringLiteral("Photos of the batch");
    const struct {
        const char* step;
        int key;
        Qt::KeyboardModifiers modifiers;
        const char* focus;
        bool menuShown;
        bool photoRemoved;
    } steps[] = {
        { "Menu key opens the menu", Qt::Key_Menu, Qt::NoModifier, "Show in File Manager", true, false },
        { "Down", Qt::Key_Down, Qt::NoModifier, "Open", true, false },
        { "Down again", Qt::Key_Down, Qt::NoModifier, "Get Info", true, false },
        { "Up", Qt::Key_Up, Qt::NoModifier, "Open", true, false },
        { "Shift+Down goes down all the same", Qt::Key_Down, Qt::ShiftModifier, "Get Info", true, false },
        { "End", Qt::Key_End, Qt::NoModifier, "Remove from Batch", true, false },
        { "Down at the end comes round", Qt::Key_Down, Qt::NoModifier, "Show in File Manager", true, false },
        { "a letter", Qt::Key_G, Qt::NoModifier, "Get Info", true, false },
        { "Tab stays in the menu", Qt::Key_Tab, Qt::NoModifier, "Remove from Batch", true, false },
        { "Home", Qt::Key_Home, Qt::NoModifier, "Show in File Manager", true, false },
        { "Escape closes it", Qt::Key_Escape, Qt::NoModifier, "Photos of the batch", false, false },
        { "Shift+F10 opens it", Qt::Key_F10, Qt::ShiftModifier, "Show in File Manager", true, false },
        { "Up at the top comes round", Qt::Key_Up, Qt::NoModifier, "Remove from Batch", true, false },
        { "Return chooses", Qt::Key_Return, Qt::NoModifier, "Photos of the batch", false, true },
        { "Delete", Qt::Key_Delete, Qt::NoModifier, "Photos of the batch", false, true },
        { "Backspace", Qt::Key_Backspace, Qt::NoModifier, "Photos of the batch", false, true },
    };
    CurrentPhoto before; // the photo the keyboard was on in the view, the menu's photo
    for (const auto& step : steps) {
        if (step.key == Qt::Key_Backspace && !withBackspace)
            continue;
        SCOPED_TRACE(std::string(list ? "list: " : "grid: ") + step.step);
        const bool inView = focusName() == view;
        if (inView)
            before = currentPhoto();
        const QStringList namesBefore = batchNames(list);
        const QString text = step.key == Qt::Key_G ? QStringLiteral("g") : QString();
        if (text.isEmpty()) {
            ASSERT_TRUE(pressKey(step.key, step.modifiers));
        } else {
            ASSERT_TRUE(typeText(text));
        }
        settle();
        EXPECT_TRUE(waitFor([&] { return focusName() == QLatin1String(step.focus); }, 3000))
            << "the keyboard is on \"" << focusName().toStdString() << "\"";
        QWidget* menu = shownMenu();
        EXPECT_EQ(menu != nullptr, step.menuShown);
        if (menu && inView) {
            // Beside the photo it belongs to: its corner at the photo, not at another photo's.
            const QRect menuOnScreen(menu->mapToGlobal(QPoint(0, 0)), menu->size());
            ASSERT_FALSE(before.name.isEmpty());
            const QRect near = before.onScreen.adjusted(-12, -12, 12, 12);
            EXPECT_TRUE(near.contains(menuOnScreen.topLeft()) || near.contains(menuOnScreen.topRight())
                || near.contains(menuOnScreen.bottomLeft()) || near.contains(menuOnScreen.bottomRight()))
                << "menu at " << menuOnScreen.x() << "," << menuOnScreen.y() << ", photo at " << before.onScreen.x()
                << "," << before.onScreen.y();
        }
        if (step.photoRemoved) {
            ASSERT_FALSE(before.name.isEmpty());
            EXPECT_TRUE(waitFor([&] { return batchNames(list).size() == namesBefore.size() - 1; }, 3000));
            EXPECT_FALSE(batchNames(list).contains(before.name)) << before.name.toStdString() << " is still there";
        } else {
            EXPECT_EQ(batchNames(list), namesBefore);
        }
    }
}

TEST(Journey, ThePhotoMenuAndRemovalsByKeysInTheGridAndTheList)
{
    JourneyStart start;
    ASSERT_TRUE(start.launchWithPhotos());
    const int photos = gridCellNames().size();
    ASSERT_GE(photos, 6);

    // The grid: its second photo.
    ASSERT_TRUE(tabTo("Photos of the batch"));
    ASSERT_TRUE(pressKey(Qt::Key_Right));
    walkTheMenuKeys(false, false);
    EXPECT_EQ(gridCellNames().size(), photos - 2);

    // The list: its second row. The row's info control is the next stop after the list, and
    // Space on it opens the information popup.
    ASSERT_TRUE(tabTo("List"));
    ASSERT_TRUE(pressKey(Qt::Key_Space));
    ASSERT_TRUE(waitFor([] { return batchList() != nullptr; }, 5000)) << "\"List\" did not show the list";
    ASSERT_TRUE(tabTo("Photos of the batch"));
    ASSERT_TRUE(pressKey(Qt::Key_Down));
    ASSERT_TRUE(pressKey(Qt::Key_Tab));
    EXPECT_EQ(focusName(), "Photo information");
    ASSERT_TRUE(pressKey(Qt::Key_Space));
    EXPECT_TRUE(waitFor([] { return visibleControls(QStringLiteral("Photo information")).size() >= 2; }, 3000))
        << "Space on the info control opened no information popup";
    ASSERT_TRUE(pressKey(Qt::Key_Escape));
    ASSERT_TRUE(tabTo("Photos of the batch", true));
    walkTheMenuKeys(true, true);
    EXPECT_EQ(listRowNames().size(), photos - 5);
}

} // namespace
} // namespace vantrel::journeys
