// The alert catalogue: every number's texts (from the language table), buttons and sheet size,
// the placeholders filled from the counts, and the numbers without an entry.
#include <gtest/gtest.h>

#include "core/Wizard/AlertCatalogue.h"
#include "platform/Paths.h"

namespace vantrel::test {
namespace {

using B = AlertButton;

TEST(AlertCatalogue, EveryNumberHasItsTextsButtonsAndSize)
{
    const QString library = Paths::libraryOutputFolder();
    const QString rawQuestion = "Raw formatted images will be converted to either of the following formats.\n"
                                "Please select the desired format or Skip Raw images.";
    const struct {
        int tag;
        QString title;
        QString message;
        QList<AlertButton> buttons;
        int width = 623;
        int height = 209;
        int cancelX = -1;
    } rows[] = {
        { 100, "Start Process",
            "All the EXIF related changes will be applied to the entire batch of selected photos. Do you wish to "
            "proceed?",
            { B::Yes, B::No } },
        { 101, "Restore Exif data",
            "All the applied EXIF related changes will be reverted back to original. Do you still wish to restore?",
            { B::Yes, B::No } },
        { 102, "Not Enough Space", "Destination directory doesn't have enough space.", { B::Ok } },
        { 103, "Remove from Batch", "This photo is no longer available at the Source location.",
            { B::RemoveFromBatch } },
        { 104, "Remove from Batch", "One of the photos is no longer available at the source location.",
            { B::RemoveFromBatch } },
        { 105, "Remove from Batch", "Some of the photos are no longer available at the source location.",
            { B::RemoveFromBatch } },
        { 106, "Remove from Batch", "All photos are no longer available at the Source location.",
            { B::RemoveFromBatch } },
        { 107, "Feedback", "Feedback submitted successfully!", { B::Ok } },
        { 109, "Photos Limit Exceeded", "Photo limit exceeded! A Batch of 1000000 photos can be processed at a time.",
            { B::Ok } },
        { 110, "File cannot be Added", "File cannot be added. It is either damaged or not supported by application.",
            { B::Ok } },
        { 111, "Photo Exists", "Photo already exists in batch!", { B::Ok } },
        { 112, "No Photos to Add", "There are no new photos to add", { B::Ok } },
        { 113, "Remove Selected Photo", "Do you wish to remove the selected photo from batch?", { B::Yes, B::No } },
        { 114, "Remove Photo", "Do you wish to remove  photo from the batch?", { B::Yes, B::No } },
        { 115, "Photos Deleted", "Photos no longer exists in the Source folder!", { B::Ok } },
        { 116, "No Photo selected", "Please select photo to remove.", { B::Ok } },
        { 117, "No Photo Added", "Please add photos to proceed.", { B::Ok } },
        { 118, "No Photo Selected", "Please select photo to proceed.", { B::Ok } },
        { 119, "Raw format image exist", rawQuestion, { B::UseJpeg, B::UsePng, B::SkipRaw, B::Cancel }, 710, 209, 139 },
        { 120, "Photos Library exists", "All photos from iPhoto/Photos library will be saved here:\n" + library,
            { B::Ok, B::Cancel }, 623, 209, 384 },
        { 121, "Photos Library exists",
            "All photos from iPhoto/Photos library will be saved here:\n" + library + ".\n\nRAW format image exists\n"
                + rawQuestion,
            { B::UseJpeg, B::UsePng, B::SkipRaw, B::Cancel }, 700, 270, 139 },
        { 122, "Stop Process",
            "It will abort the operation and all files which are not prcessed yet will be skipped. Do you want to "
            "stop it?",
            { B::Yes, B::No } },
        { 123, "No size selected", "Please select a value for predefined size.", { B::Ok } },
    };
    EXPECT_TRUE(library.endsWith("/Pictures/PhotosLibrary_VantrelOutput"));
    for (const auto& row : rows) {
        SCOPED_TRACE(row.tag);
        const std::optional<AlertContent> alert = AlertCatalogue::alertForTag(row.tag, AlertCounts { 1, 1, 1, 1, 1 });
        ASSERT_TRUE(alert);
        EXPECT_EQ(alert->tag, row.tag);
        EXPECT_EQ(alert->title, row.title);
        EXPECT_EQ(alert->message, row.message);
        EXPECT_EQ(alert->buttons, row.buttons);
        EXPECT_EQ(alert->width, row.width);
        EXPECT_EQ(alert->height, row.height);
        EXPECT_EQ(alert->cancelX.value_or(-1), row.cancelX);
        EXPECT_EQ(alert->highlightedMessage, row.tag == 121);
    }
}

TEST(AlertCatalogue, NumbersWithoutAnEntryGiveNothing)
{
    for (int tag : { -1, 0, 99, 108, 124, 1000 })
        EXPECT_FALSE(AlertCatalogue::alertForTag(tag, {})) << tag;
}

TEST(AlertCatalogue, PluralsFollowTheCounts)
{
    const struct {
        int tag;
        AlertCounts counts;
        QString title;
        QString message;
    } rows[] = {
        // 110: the title and "It is" follow the photos to add, "File" the damaged files.
        { 110, { 2, 1, 0, 0, 0 }, "Files cannot be Added",
            "File cannot be added. They are either damaged or not supported by application." },
        { 110, { 1, 3, 0, 0, 0 }, "File cannot be Added",
            "Some files cannot be added. It is either damaged or not supported by application." },
        { 111, { 0, 0, 3, 0, 0 }, "Photos Exists", "Photos already exist in batch!" },
        { 111, { 0, 0, 0, 0, 0 }, "Photo Exists", "Photo already exists in batch!" },
        { 113, { 0, 0, 0, 2, 5 }, "Remove Selected Photos", "Do you wish to remove the selected photos from batch?" },
        { 114, { 0, 0, 0, 0, 2 }, "Remove all Photos", "Do you wish to remove all the  photos from the batch?" },
        { 114, { 0, 0, 0, 0, 0 }, "Remove Photo", "Do you wish to remove  photo from the batch?" },
        { 116, { 0, 0, 0, 0, 2 }, "No Photos selected", "Please select photos to remove." },
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.title.toStdString());
        const std::optional<AlertContent> alert = AlertCatalogue::alertForTag(row.tag, row.counts);
        ASSERT_TRUE(alert);
        EXPECT_EQ(alert->title, row.title);
        EXPECT_EQ(alert->message, row.message);
    }
}

} // namespace
} // namespace vantrel::test
