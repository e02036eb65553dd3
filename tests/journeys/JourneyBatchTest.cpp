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

    // The list keeps its thumbnails when the user comes back to it from the next step.
    ASSERT_TRUE(clickControl("List"));
    ASSERT_TRUE(goToStep("Next", "Resizing"));
    ASSERT_TRUE(goToStep("Back", "Photos"));
    ASSERT_TRUE(waitFor([] { return batchList() != nullptr; }, 5000)) << "the list is not shown after Back";
    EXPECT_EQ(listRowNames(), folder.fileNames()) << "list rows after Back";
    EXPECT_TRUE(everyRowShowsItsThumbnail()) << "after Next and Back";
}

} // namespace
} // namespace vantrel::journeys
