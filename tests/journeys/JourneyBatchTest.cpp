// Journeys through the first step: gathering the batch, looking at it as a grid and as a list,
// and a photo that disappears from the disk behind the user's back.
#include <QAbstractItemView>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "JourneyDriver.h"
#include "JourneyFiles.h"
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
    QTemporaryDir disk;
    PhotoFolder folder(disk.filePath("photos"));
    ASSERT_TRUE(folder.ok());
    RunningApp app;
    ASSERT_TRUE(app.isUp()) << "the main window did not become active";

    ASSERT_TRUE(addFolderThroughPanel(folder.root(), int(folder.photos().size())));

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
    QTemporaryDir disk;
    PhotoFolder folder(disk.filePath("photos"));
    ASSERT_TRUE(folder.ok());
    RunningApp app;
    ASSERT_TRUE(app.isUp()) << "the main window did not become active";
    ASSERT_TRUE(addFolderThroughPanel(folder.root(), 6));

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

} // namespace
} // namespace vantrel::journeys
