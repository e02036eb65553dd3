// The batch by keyboard: Space checks and unchecks the current photo of the grid and of the list,
// Control with a navigation key moves in the view and leaves every mark as it was, and Control
// with any other key still marks or unmarks all.
#include <QAbstractItemView>
#include <QFileInfo>

#include <gtest/gtest.h>

#include "JourneyDriver.h"
#include "JourneyFiles.h"
#include "JourneyStart.h"
#include "JourneySteps.h"
#include "screens/Batch/BatchListModel.h"
#include "screens/Cells/GridCell.h"

namespace vantrel::journeys {
namespace {

/// The names of the grid's photos whose check box shows no mark, sorted.
QStringList uncheckedGridPhotos()
{
    QStringList names;
    for (GridCell* cell : shownGridCells())
        if (!cell->isChecked())
            names << cell->accessibleName();
    names.sort();
    return names;
}

/// What the list's check column says of each row ("Checked" or "Unchecked"), in row order.
QStringList listMarks()
{
    return listColumn(BatchListModel::CheckColumn, Qt::AccessibleTextRole);
}

TEST(Journey, SpaceLeavesOnePhotoOutOfAKeyboardBatch)
{
    JourneyStart start;
    ASSERT_TRUE(start.launchWithPhotos());

    // Tab into the grid (its first photo becomes current), one photo on, Space: that photo only
    // is unchecked. Space again checks it again; a third time leaves it out.
    ASSERT_TRUE(tabTo("Photos of the batch"));
    ASSERT_TRUE(pressKey(Qt::Key_Right));
    ASSERT_TRUE(pressKey(Qt::Key_Space));
    const QStringList leftOut = uncheckedGridPhotos();
    ASSERT_EQ(leftOut.size(), 1) << "Space did not uncheck exactly the current photo";
    ASSERT_TRUE(pressKey(Qt::Key_Space));
    EXPECT_TRUE(uncheckedGridPhotos().isEmpty()) << "Space again did not check the photo again";
    ASSERT_TRUE(pressKey(Qt::Key_Space));
    ASSERT_EQ(uncheckedGridPhotos(), leftOut);
    EXPECT_EQ(controlText("Select All"), "Select All") << "the header does not say that a photo is unchecked";

    ASSERT_TRUE(goToStep("Next", "Resizing"));
    ASSERT_TRUE(goToStep("Next", "Settings"));
    ASSERT_TRUE(convertToPngInto(start.out()));
    ASSERT_TRUE(goToStep("Convert", "Processing"));
    ASSERT_TRUE(waitForSummary()) << "the run did not reach its summary";

    // One output fewer, and none of the photo left out.
    const QStringList files = filesIn(start.out());
    EXPECT_EQ(files.size(), 5) << files.join(", ").toStdString();
    const QString leftOutBase = QFileInfo(leftOut.first()).completeBaseName();
    for (const QString& file : files)
        EXPECT_NE(QFileInfo(file).completeBaseName(), leftOutBase) << "the unchecked photo was converted";
}

TEST(Journey, ControlWithANavigationKeyMovesInTheListAndLeavesTheMarks)
{
    JourneyStart start;
    ASSERT_TRUE(start.launchWithPhotos());
    ASSERT_TRUE(tabTo("List"));
    ASSERT_TRUE(pressKey(Qt::Key_Space));
    ASSERT_TRUE(waitFor([] { return batchList() != nullptr; }, 5000)) << "\"List\" did not show the list";
    ASSERT_TRUE(tabTo("Photos of the batch"));
    QAbstractItemView* list = batchList();
    ASSERT_TRUE(list);
    const int last = list->model()->rowCount() - 1;
    ASSERT_EQ(last, 5);

    const QString c = QStringLiteral("Checked");
    const QString u = QStringLiteral("Unchecked");
    const QStringList all { c, c, c, c, c, c };
    const QStringList none { u, u, u, u, u, u };
    const QStringList firstOut { u, c, c, c, c, c };
    const QStringList firstAndLastOut { u, c, c, c, c, u };
    const struct {
        const char* step;
        int key;
        Qt::KeyboardModifiers modifiers;
        int currentRow;
        QStringList marks;
    } steps[] = {
        { "Ctrl+End", Qt::Key_End, Qt::ControlModifier, last, all },
        { "Ctrl+End on the last row", Qt::Key_End, Qt::ControlModifier, last, all },
        { "Ctrl+Home", Qt::Key_Home, Qt::ControlModifier, 0, all },
        { "Ctrl+Up on the first row", Qt::Key_Up, Qt::ControlModifier, 0, all },
        { "Ctrl+Down", Qt::Key_Down, Qt::ControlModifier, 1, all },
        { "Ctrl+PageDown", Qt::Key_PageDown, Qt::ControlModifier, last, all },
        { "Ctrl+PageUp", Qt::Key_PageUp, Qt::ControlModifier, 0, all },
        { "Space", Qt::Key_Space, Qt::NoModifier, 0, firstOut },
        { "Ctrl+A marks all", Qt::Key_A, Qt::ControlModifier, 0, all },
        { "Ctrl+A unmarks all", Qt::Key_A, Qt::ControlModifier, 0, none },
        { "Ctrl+A marks all again", Qt::Key_A, Qt::ControlModifier, 0, all },
        { "Space again", Qt::Key_Space, Qt::NoModifier, 0, firstOut },
        { "Ctrl+End after the marks", Qt::Key_End, Qt::ControlModifier, last, firstOut },
        { "Space on the last row", Qt::Key_Space, Qt::NoModifier, last, firstAndLastOut },
    };
    for (const auto& step : steps) {
        ASSERT_TRUE(pressKey(step.key, step.modifiers)) << step.step;
        list = batchList();
        ASSERT_TRUE(list) << step.step;
        EXPECT_TRUE(waitFor([&] { return list->currentIndex().row() == step.currentRow; }, 3000))
            << step.step << ": the current row is " << list->currentIndex().row();
        EXPECT_EQ(listMarks(), step.marks) << step.step;
    }
}

} // namespace
} // namespace vantrel::journeys
