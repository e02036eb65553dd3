// The batch screen's fixed texts and numbers: the batch line with its white parts, the view-mode
// table, the buttons, the header positions, the popups' sizes, the menu and the drop animation.
#include <gtest/gtest.h>

#include "core/Batch/BatchInfoLine.h"
#include "core/Batch/BatchPopupRules.h"
#include "core/Batch/BatchViewRules.h"
#include "core/Batch/DropAreaAnimation.h"

namespace vantrel {
namespace {

using Range = BatchInfoLine::Range;

TEST(BatchViewRulesTest, BatchLineTextAndHighlights)
{
    const struct {
        qsizetype count;
        double bytes;
        QString text;
        QList<Range> white;
    } rows[] = {
        { 3, 1'500'000, "Batch Count: 3  |  Batch Size: 1.50 MB approx.  ", { { 13, 1 }, { 31, 15 } } },
        // The count and size texts are matched as patterns over the whole line: every "0" and
        // every "10" turns white, as the line has always looked.
        { 0, 0, "Batch Count: 0  |  Batch Size: 0 bytes approx.  ", { { 13, 1 }, { 31, 1 }, { 31, 15 } } },
        { 10, 10'000, "Batch Count: 10  |  Batch Size: 10.00 KB approx.  ", { { 13, 2 }, { 32, 2 }, { 32, 16 } } },
        { 100'000, 993'500'000'000, "Batch Count: 100000  |  Batch Size: 0.97 TB approx.  ",
            { { 13, 6 }, { 36, 15 } } },
    };
    for (const auto& row : rows) {
        const BatchInfoLine::Styled line = BatchInfoLine::make(row.count, row.bytes);
        EXPECT_EQ(line.text, row.text);
        EXPECT_EQ(line.highlights, row.white) << line.text.toStdString();
    }

    // As rich text: grey, with the white parts (overlapping ones joined) and the blanks kept.
    EXPECT_EQ(BatchInfoLine::toHtml(BatchInfoLine::make(0, 0)),
        "<span style=\"white-space:pre; color:rgb(184,184,184)\">Batch Count: "
        "<span style=\"color:rgb(255,255,255)\">0</span>  |  Batch Size: "
        "<span style=\"color:rgb(255,255,255)\">0</span><span style=\"color:rgb(255,255,255)\"> bytes "
        "approx.</span>  </span>");
    EXPECT_EQ(BatchInfoLine::toHtml({}), "");

    QList<PhotoFilePtr> batch;
    for (const double bytes : { 1000.0, 2500.0 }) {
        batch.append(std::make_shared<PhotoFile>());
        batch.back()->setFileSizeInBytes(bytes);
    }
    EXPECT_EQ(BatchInfoLine::make(batch).text, "Batch Count: 2  |  Batch Size: 3.50 KB approx.  ");
}

TEST(BatchViewRulesTest, ViewModeTable)
{
    const struct {
        int tag;
        bool header, list, grid;
        const char* underline;
        const char* images[3];
        QSize item;
    } rows[] = {
        { 1, false, true, false, "line_list",
            { "list_view_enabled.png", "grid_view_disabled.png", "grid_view_big_disabled.png" }, { 180, 220 } },
        { 2, true, false, true, "line_thumbnail",
            { "list_view_disabled.png", "grid_view_enabled.png", "grid_view_big_disabled.png" }, { 180, 220 } },
        { 3, true, false, true, "line_thumbnail_big",
            { "list_view_disabled.png", "grid_view_disabled.png", "grid_view_big_enabled.png" }, { 220, 300 } },
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.tag);
        const auto mode = BatchViewRules::modeForTag(row.tag);
        ASSERT_TRUE(mode);
        const BatchViewModeLook look = BatchViewRules::look(*mode);
        EXPECT_EQ(look.gridHeaderShown, row.header);
        EXPECT_EQ(look.listShown, row.list);
        EXPECT_EQ(look.gridShown, row.grid);
        EXPECT_EQ(look.underline, row.underline);
        EXPECT_EQ(look.listImage, row.images[0]);
        EXPECT_EQ(look.gridImage, row.images[1]);
        EXPECT_EQ(look.bigGridImage, row.images[2]);
        EXPECT_EQ(BatchViewRules::itemSize(*mode), row.item);
    }
    EXPECT_FALSE(BatchViewRules::modeForTag(0));
    EXPECT_FALSE(BatchViewRules::modeForTag(4));
}

TEST(BatchViewRulesTest, ButtonsHeaderAndShortcut)
{
    const struct {
        qsizetype count;
        bool allChecked;
        bool enabled;
        const char* image;
        const char* label;
    } buttons[] = {
        { 0, false, false, "", "" },
        { 4, true, true, "checked_image.png", "Unselect All" },
        { 4, false, true, "uncheck_image.png", "Select All" },
    };
    for (const auto& row : buttons) {
        const BatchButtonsLook look = BatchViewRules::buttons(row.count, row.allChecked);
        EXPECT_EQ(look.enabled, row.enabled);
        EXPECT_EQ(look.markAllImage, row.image);
        EXPECT_EQ(look.markAllLabel, row.label);
    }

    using X = BatchViewRules::HeaderButtonsX;
    EXPECT_EQ(BatchViewRules::headerButtonsX(900, false), (X { 849, 815 }));
    EXPECT_EQ(BatchViewRules::headerButtonsX(900, true), (X { 839, 805 }));

    EXPECT_TRUE(BatchViewRules::isMarkAllShortcut(true, false, false, false));
    EXPECT_FALSE(BatchViewRules::isMarkAllShortcut(true, true, false, false));
    EXPECT_FALSE(BatchViewRules::isMarkAllShortcut(true, false, true, false));
    EXPECT_FALSE(BatchViewRules::isMarkAllShortcut(false, false, false, false));
}

TEST(BatchViewRulesTest, PopupSizesAndMenuActions)
{
    const struct {
        OptionPopupType type;
        int rows;
        QSize size;
    } sizes[] = {
        { OptionPopupType::AddOptions, 4, { 140, 194 } },
        { OptionPopupType::FileTypes, 6, { 130, 210 } },
        { OptionPopupType::FileTypes, 4, { 130, 174 } },
        { OptionPopupType::AddOptions, 5, { 140, 210 } },
        { OptionPopupType::AddOptions, 1, { 140, 86 } },
    };
    for (const auto& row : sizes)
        EXPECT_EQ(BatchPopupRules::optionPopupSize(row.type, row.rows), row.size) << row.rows;

    const PhotoMenuAction actions[] = { PhotoMenuAction::Reveal, PhotoMenuAction::Open, PhotoMenuAction::GetInfo,
        PhotoMenuAction::None, PhotoMenuAction::Remove, PhotoMenuAction::None };
    for (int option = 0; option < 6; ++option)
        EXPECT_EQ(BatchPopupRules::menuAction(option), actions[option]) << option;
    EXPECT_EQ(BatchPopupRules::menuAction(-1), PhotoMenuAction::None);
}

TEST(BatchViewRulesTest, DropAreaAnimationHoldsTheLastImageForTwoTicks)
{
    DropAreaAnimation animation;
    QStringList shown;
    for (int tick = 0; tick < 42; ++tick)
        shown << animation.tick().value_or("=");
    QStringList expected;
    for (int round = 0; round < 2; ++round) {
        for (int frame = 1; frame <= 19; ++frame)
            expected << QStringLiteral("%1.png").arg(frame);
        expected << "=";
    }
    expected << "1.png"
             << "2.png";
    EXPECT_EQ(shown, expected);
}

} // namespace
} // namespace vantrel
