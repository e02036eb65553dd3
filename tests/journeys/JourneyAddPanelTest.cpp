// Journeys through the choice of photos: the Add Photos panel with several files chosen at once
// and its image filter, its refusal of a file in the Trash, and a grid cell's own check box
// leaving its photo out of the run.
#include <QAbstractItemView>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QPointer>

#include <gtest/gtest.h>

#include "JourneyDriver.h"
#include "JourneyFiles.h"
#include "JourneyStart.h"
#include "JourneySteps.h"
#include "screens/Cells/GridCell.h"

namespace vantrel::journeys {
namespace {

/// The names the open panel's file list shows for the folder it is in.
QStringList panelListNames(QWidget* panel)
{
    QStringList names;
    auto* list = panel->findChild<QAbstractItemView*>(QStringLiteral("listView"));
    if (!list || !list->model())
        return names;
    const QModelIndex root = list->rootIndex();
    for (int row = 0; row < list->model()->rowCount(root); ++row)
        names << list->model()->index(row, 0, root).data().toString();
    names.sort();
    return names;
}

/// The alert that refuses a choice, once it is up.
QMessageBox* refusal()
{
    return visibleTopLevel<QMessageBox>();
}

TEST(Journey, AddPhotosPanelTakesSeveralImagesAtOnceAndRefusesTheTrash)
{
    JourneyStart start;
    ASSERT_TRUE(start.launch());
    const QString root = start.folder().root();
    QFile text(root + "/readme.txt");
    ASSERT_TRUE(text.open(QIODevice::WriteOnly) && text.write("not a photo\n") > 0);
    text.close();

    // The panel lists the folder's images and subfolders, not the text file.
    ASSERT_TRUE(clickControl("Add Photos"));
    QPointer<QWidget> panel = waitForFilePanel();
    ASSERT_TRUE(panel) << "no file panel came up";
    ASSERT_TRUE(typeText(root));
    ASSERT_TRUE(pressKey(Qt::Key_Return));
    const QStringList shown { "empty.jpg", "landscape.jpg", "portrait.png", "trip" };
    EXPECT_TRUE(waitFor([&] { return panel && panelListNames(panel) == shown; }, 10'000))
        << "the panel lists: " << (panel ? panelListNames(panel).join(", ").toStdString() : "(gone)");

    // Two files named together in the name field are added together.
    ASSERT_TRUE(replaceText("\"landscape.jpg\" \"portrait.png\""));
    ASSERT_TRUE(pressKey(Qt::Key_Return));
    ASSERT_TRUE(waitFor([&] { return !panel || !panel->isVisible(); }, 5000)) << "the panel stayed open";
    ASSERT_TRUE(waitForBatchCount(2));
    EXPECT_EQ(gridCellNames(), QStringList({ "landscape.jpg", "portrait.png" }));

    // A photo in the Trash is refused with an alert; the batch stays as it was.
    const QString trashed = qEnvironmentVariable("XDG_DATA_HOME") + "/Trash/files/trashed.jpg";
    ASSERT_TRUE(QDir().mkpath(QFileInfo(trashed).path()));
    ASSERT_TRUE(QFile::copy(start.folder().path(start.folder().photos().first()), trashed));
    ASSERT_TRUE(clickControl("Add Photos"));
    ASSERT_TRUE(choosePathInPanel(trashed));
    ASSERT_TRUE(waitFor([] { return refusal() != nullptr; }, 5000)) << "a photo in the Trash raised no alert";
    QMessageBox* alert = refusal();
    ASSERT_EQ(alert->buttons().size(), 1);
    ASSERT_TRUE(clickWidget(alert->buttons().first(), "OK of the Trash alert"));
    ASSERT_TRUE(waitFor([] { return refusal() == nullptr; }, 5000)) << "the Trash alert stayed up";
    settle(1200); // an accepted choice would be added after a short delay
    ASSERT_TRUE(waitForBatchCount(2));
    EXPECT_EQ(gridCellNames(), QStringList({ "landscape.jpg", "portrait.png" }));
}

/// Presses the check box a grid cell draws in its corner.
::testing::AssertionResult pressCellCheckBox(const QString& name)
{
    auto* cell = qobject_cast<GridCell*>(gridCell(name));
    if (!cell)
        return ::testing::AssertionFailure() << "no grid cell for " << name.toStdString();
    if (cell->isPartHidden(KeltCollectionViewCell::Part::CheckBoxBtn))
        return ::testing::AssertionFailure() << "the cell of " << name.toStdString() << " shows no check box";
    // The part's frame is y-up in the cell.
    const QRectF box = cell->partFrame(KeltCollectionViewCell::Part::CheckBoxBtn);
    const QPoint centre(int(box.center().x()), int(cell->height() - box.center().y()));
    return clickWidget(cell, "check box of " + name, centre);
}

TEST(Journey, GridCellCheckBoxLeavesItsPhotoOutOfTheRun)
{
    JourneyStart start;
    ASSERT_TRUE(start.launchWithPhotos());
    auto* cell = qobject_cast<GridCell*>(gridCell("portrait.png"));
    ASSERT_TRUE(cell);
    ASSERT_TRUE(cell->isChecked()) << "an added photo starts checked";
    ASSERT_TRUE(pressCellCheckBox("portrait.png"));
    ASSERT_TRUE(waitFor(
        [] {
            auto* c = qobject_cast<GridCell*>(gridCell("portrait.png"));
            return c && !c->isChecked();
        },
        3000))
        << "the press left the cell checked";
    auto* other = qobject_cast<GridCell*>(gridCell("landscape.jpg"));
    ASSERT_TRUE(other);
    EXPECT_TRUE(other->isChecked()) << "another cell changed with it";

    ASSERT_TRUE(goToStep("Next", "Resizing"));
    ASSERT_TRUE(goToStep("Next", "Settings"));
    ASSERT_TRUE(convertToPngInto(start.out()));
    ASSERT_TRUE(goToStep("Convert", "Processing"));
    ASSERT_TRUE(waitForSummary()) << "the run did not reach its summary";
    EXPECT_EQ(summaryCount("Images selected"), 5);
    const QStringList written = filesIn(start.out());
    EXPECT_EQ(written.size(), 5) << written.join(", ").toStdString();
    EXPECT_FALSE(written.contains("portrait.png")) << "the unchecked photo was converted";
}

} // namespace
} // namespace vantrel::journeys
