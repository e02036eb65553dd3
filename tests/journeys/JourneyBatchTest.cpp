// Journeys through the first step: gathering the batch, looking at it as a grid and as a list,
// and a photo that disappears from the disk behind the user's back.
#include <QAbstractItemView>
#include <QFile>
#include <QRegularExpression>
#include <QTableWidget>

#include <gtest/gtest.h>

#include "JourneyDriver.h"
#include "JourneyFiles.h"
#include "JourneyGestures.h"
#include "JourneyStart.h"
#include "JourneySteps.h"

namespace vantrel::journeys {
namespace {

::testing::AssertionResult everyCellShowsItsThumbnail(const QStringList& names)
{
    for (const QString& name : names) {
        if (!waitFor([&] { return showsPattern(gridCell(name)); }, 10'000))
            return ::testing::AssertionFailure() << "grid cell \"" << name.toStdString() << "\" shows no thumbnail";
    }
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult everyRowShowsItsThumbnail()
{
    QAbstractItemView* list = batchList();
    if (!list)
        return ::testing::AssertionFailure() << "the list of the batch is not shown";
    for (int row = 0; row < list->model()->rowCount(); ++row) {
        const QModelIndex name = list->model()->index(row, 0);
        if (!waitFor([&] { return showsPattern(list->viewport(), list->visualRect(name)); }, 10'000))
            return ::testing::AssertionFailure()
                << "list row \"" << name.data().toString().toStdString() << "\" shows no thumbnail";
    }
    return ::testing::AssertionSuccess();
}

TEST(Journey, AddFolderWithSubfoldersShowsEveryPhotoInGridAndList)
{
    JourneyStart start;
    ASSERT_TRUE(start.launchWithPhotos());
    const PhotoFolder& folder = start.folder();

    // One cell per photo of every level; the 0-byte file and the text file are left out.
    EXPECT_EQ(gridCellNames(), folder.fileNames()) << "grid cells";
    EXPECT_TRUE(everyCellShowsItsThumbnail(folder.fileNames()));
    EXPECT_EQ(plainText("Batch information", findControl("Batch")).left(15), "Batch Count: 6 ");

    ASSERT_TRUE(clickControl("List"));
    ASSERT_TRUE(waitFor([] { return batchList() != nullptr; }, 5000)) << "\"List\" did not show the list";
    EXPECT_EQ(listRowNames(), folder.fileNames()) << "list rows";
    EXPECT_TRUE(everyRowShowsItsThumbnail());

    ASSERT_TRUE(clickControl("Grid"));
    ASSERT_TRUE(waitFor([] { return !gridCellNames().isEmpty(); }, 5000)) << "\"Grid\" did not show the grid";
    EXPECT_EQ(gridCellNames(), folder.fileNames()) << "grid cells after the list";
    EXPECT_TRUE(everyCellShowsItsThumbnail(folder.fileNames()));
}

/// The add-photos screen appears again, as it does when the user comes back from the next step:
/// that is when it looks for photos gone from the disk.
::testing::AssertionResult leaveAndComeBack()
{
    if (::testing::AssertionResult ok = goToStep("Next", "Resizing"); !ok)
        return ok;
    return goToStep("Back", "Photos");
}

/// The alert's title and message as one text, once an alert is up.
QString alertText()
{
    if (!waitFor([] { return visibleControls("Alert").size() == 1; }, 10'000))
        return {};
    QWidget* alert = findControl("Alert");
    return plainText("Alert title", alert) + " | " + plainText("Alert message", alert);
}

TEST(Journey, PhotoDeletedOnDiskIsReportedAndRemovedWhenTheScreenComesBack)
{
    JourneyStart start;
    ASSERT_TRUE(start.launchWithPhotos());
    const PhotoFolder& folder = start.folder();

    // One photo of several gone.
    ASSERT_TRUE(QFile::remove(folder.path(folder.photos().at(0))));
    ASSERT_TRUE(leaveAndComeBack());
    EXPECT_TRUE(alertText().contains("One of the photos is no longer available")) << alertText().toStdString();
    ASSERT_TRUE(clickIn("Alert", "Remove from Batch"));
    ASSERT_TRUE(waitForBatchCount(5));
    EXPECT_FALSE(gridCellNames().contains("landscape.jpg")) << "the gone photo's cell is still shown";
    EXPECT_TRUE(visibleControls("Alert").isEmpty()) << "the alert stayed up";

    // Several gone: the alert says so, and Remove takes exactly those out.
    ASSERT_TRUE(QFile::remove(folder.path(folder.photos().at(1))));
    ASSERT_TRUE(QFile::remove(folder.path(folder.photos().at(2))));
    ASSERT_TRUE(leaveAndComeBack());
    EXPECT_TRUE(alertText().contains("Some of the photos are no longer available")) << alertText().toStdString();
    ASSERT_TRUE(clickIn("Alert", "Remove from Batch"));
    ASSERT_TRUE(waitForBatchCount(3));
    EXPECT_EQ(gridCellNames(), QStringList({ "left.jpeg", "scan.tif", "upside.jpg" }));

    // Nothing gone: coming back raises no alert.
    ASSERT_TRUE(leaveAndComeBack());
    settle(300);
    EXPECT_TRUE(visibleControls("Alert").isEmpty()) << "an alert came up with every photo in place";
}

/// The information popup that is up (a child window over the main window).
QWidget* infoPopup()
{
    for (QWidget* w : visibleControls("Photo information"))
        if (w->inherits("vantrel::PhotoInfoView"))
            return w;
    return nullptr;
}

/// The value of a row of the information popup's table.
QString infoValue(QWidget* popup, const QString& title)
{
    auto* table = popup->findChild<QTableWidget*>();
    if (!table)
        return {};
    for (int row = 0; row < table->rowCount(); ++row)
        if (table->item(row, 0) && table->item(row, 0)->text() == title)
            // The table shows its values after a colon: ":      turned.jpg".
            return table->item(row, 1) ? table->item(row, 1)->text().remove(QRegularExpression("^:\\s*")) : QString();
    return {};
}

/// Clicks the check mark of a list row, where the list draws it.
::testing::AssertionResult clickRowCheck(const QString& name)
{
    QAbstractItemView* list = batchList();
    if (!list)
        return ::testing::AssertionFailure() << "the list is not shown";
    for (int row = 0; row < list->model()->rowCount(); ++row)
        if (list->model()->index(row, 0).data().toString() == name)
            return clickWidget(
                list->viewport(), "check of " + name, list->visualRect(list->model()->index(row, 5)).center());
    return ::testing::AssertionFailure() << "no list row " << name.toStdString();
}

TEST(Journey, InfoPopupContextMenuRemoveCheckedRemoveAllAndAddAgain)
{
    JourneyStart start;
    ASSERT_TRUE(start.launchWithPhotos());
    const PhotoFolder& folder = start.folder();

    // The information popup from a grid cell's own control: the photo's dimensions as shown
    // (the turned photo stands upright: 120 x 160).
    QWidget* cell = gridCell("turned.jpg");
    ASSERT_TRUE(cell) << "no grid cell for turned.jpg";
    ASSERT_TRUE(clickControl("Photo information", cell));
    ASSERT_TRUE(waitFor([] { return infoPopup() != nullptr; }, 5000)) << "no information popup came up";
    EXPECT_EQ(infoValue(infoPopup(), "File Name"), "turned.jpg");
    const QString dimensions = infoValue(infoPopup(), "Dimensions");
    EXPECT_TRUE(dimensions.contains("120") && dimensions.contains("160")
        && dimensions.indexOf("120") < dimensions.indexOf("160"))
        << "dimensions shown: " << dimensions.toStdString();
    ASSERT_TRUE(clickControl("Close", infoPopup()));
    ASSERT_TRUE(waitFor([] { return infoPopup() == nullptr; }, 3000)) << "the information popup stayed up";

    // The same from a list row's control.
    ASSERT_TRUE(clickControl("List"));
    ASSERT_TRUE(waitFor([] { return batchList() != nullptr; }, 5000));
    settle(200); // the rows' controls are placed once the list has been laid out
    QList<QWidget*> rowInfo;
    for (QWidget* w : visibleControls("Photo information", batchList()))
        if (w->accessibleDescription() == QLatin1String("portrait.png") || rowInfo.isEmpty())
            rowInfo.append(w);
    ASSERT_FALSE(rowInfo.isEmpty()) << "no information control on the list rows";
    ASSERT_TRUE(clickWidget(rowInfo.last(), "Photo information of a list row"));
    ASSERT_TRUE(waitFor([] { return infoPopup() != nullptr; }, 5000)) << "no information popup from the list";
    EXPECT_FALSE(infoValue(infoPopup(), "Dimensions").isEmpty());
    // A click anywhere outside the popup closes it.
    ASSERT_TRUE(clickControl("Batch summary"));
    ASSERT_TRUE(waitFor([] { return infoPopup() == nullptr; }, 3000)) << "a click outside left the popup up";

    // The list keeps its thumbnails when the user comes back to it from the next step.
    ASSERT_TRUE(goToStep("Next", "Resizing"));
    ASSERT_TRUE(goToStep("Back", "Photos"));
    ASSERT_TRUE(waitFor([] { return batchList() != nullptr; }, 5000)) << "the list is not shown after Back";
    EXPECT_TRUE(everyRowShowsItsThumbnail()) << "after Next and Back";

    // The context menu of a grid cell: Remove from Batch.
    ASSERT_TRUE(clickControl("Grid"));
    ASSERT_TRUE(waitFor([] { return gridCell("portrait.png") != nullptr; }, 5000));
    ASSERT_TRUE(clickWidget(gridCell("portrait.png"), "portrait.png", QPoint(-1, -1), Qt::RightButton));
    ASSERT_TRUE(waitFor([] { return visibleControls("Photo menu").size() == 1; }, 5000)) << "no photo menu came up";
    ASSERT_TRUE(clickIn("Photo menu", "Remove from Batch"));
    ASSERT_TRUE(waitForBatchCount(5));
    EXPECT_FALSE(gridCellNames().contains("portrait.png"));

    // Remove checked: everything unchecked, two rows checked in the list, Remove, Yes.
    ASSERT_TRUE(clickControl("List"));
    ASSERT_TRUE(waitFor([] { return batchList() != nullptr; }, 5000));
    ASSERT_TRUE(clickControl("Select all", batchList()->parentWidget()));
    ASSERT_TRUE(clickRowCheck("scan.tif"));
    ASSERT_TRUE(clickRowCheck("left.jpeg"));
    ASSERT_TRUE(clickControl("Remove"));
    ASSERT_TRUE(waitFor([] { return visibleControls("Alert").size() == 1; }, 5000)) << "Remove asked nothing";
    ASSERT_TRUE(clickIn("Alert", "Yes"));
    ASSERT_TRUE(waitForBatchCount(3));
    EXPECT_EQ(listRowNames(), QStringList({ "landscape.jpg", "turned.jpg", "upside.jpg" }));

    // Remove all, Yes: the empty drop area comes back.
    ASSERT_TRUE(clickControl("Remove All"));
    ASSERT_TRUE(waitFor([] { return visibleControls("Alert").size() == 1; }, 5000)) << "Remove All asked nothing";
    ASSERT_TRUE(clickIn("Alert", "Yes"));
    ASSERT_TRUE(waitFor([] { return visibleControls("Drop photos here").size() == 1; }, 5000))
        << "the empty batch does not show the drop area";

    // Added again, all six come back (the removed ones are no duplicates now).
    ASSERT_TRUE(dropPaths(control("Drop photos here"), "Drop photos here", { folder.root() }));
    ASSERT_TRUE(waitForBatchCount(6));
}

} // namespace
} // namespace vantrel::journeys
