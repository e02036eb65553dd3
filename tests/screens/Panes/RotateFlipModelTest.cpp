// The rotate and flip panes' choices without widgets.
#include <gtest/gtest.h>

#include "screens/Panes/FlipModel.h"
#include "screens/Panes/RotateModel.h"

namespace vantrel {
namespace {

TEST(RotateModelTest, ChoicesPicturesResetAndOldArchives)
{
    RotateModel model;
    model.changeSettingWithSelectedOption(3);
    EXPECT_EQ(model.getRotateSettingObject(), 3);
    EXPECT_TRUE(model.isResetEnabled());
    const char* pictures[]
        = { "rotate_keep_original.png", "rotate_c.png", "rotate_cc.png", "rotate_180_active.png", "auto_rotate.png" };
    for (int v = 0; v < 5; ++v)
        EXPECT_EQ(RotateModel::imageName(v, model.isChosen(v)), pictures[v]);
    model.resetSetting();
    EXPECT_EQ(model.getRotateSettingObject(), 0);
    EXPECT_FALSE(model.isResetEnabled());

    for (int stale : { -1, 5, 90 }) { // a value from an old archive
        model.setRotationType(4);
        model.resetSetting();
        model.setRotationType(stale);
        EXPECT_EQ(model.getRotateSettingObject(), 0) << stale;
        EXPECT_TRUE(model.isResetEnabled()) << stale;
    }
}

TEST(RotateModelTest, AngleField)
{
    const std::pair<QString, QString> cases[] = { { "400", "40" }, { "3600", "360" }, { "99999", "99" },
        { "360", "360" }, { "-20", "0" }, { "1,80", "180" }, { "", "" } };
    for (const auto& [typed, kept] : cases)
        EXPECT_EQ(RotateModel::angleEdited(typed), kept) << typed.toStdString();
}

TEST(FlipModelTest, OptionsExcludeEachOther)
{
    FlipModel model;
    model.resetSetting();
    EXPECT_EQ(model.getFlipSettongObject(), std::make_pair(false, false));
    EXPECT_FALSE(model.isResetEnabled());
    model.changeSettingWithSelectedOption(1);
    model.changeSettingWithSelectedOption(2);
    EXPECT_EQ(model.getFlipSettongObject(), std::make_pair(false, true));
    EXPECT_EQ(FlipModel::imageName(2, model.chosenOption() == 2), "flip_v_active.png");
    EXPECT_EQ(FlipModel::imageName(1, model.chosenOption() == 1), "flip_h.png");
    EXPECT_TRUE(model.isResetEnabled());

    const std::pair<int, std::pair<bool, bool>> stored[]
        = { { 0, { false, false } }, { 1, { true, false } }, { 2, { false, true } }, { 7, { false, false } } };
    for (const auto& [value, flags] : stored) {
        model.setFlipSettongObject(value);
        EXPECT_EQ(model.getFlipSettongObject(), flags) << value;
        EXPECT_EQ(model.isResetEnabled(), value == 1 || value == 2);
    }
}

} // namespace
} // namespace vantrel
