#include "components/HighlightedButtonLook.h"

#include <gtest/gtest.h>

using namespace vantrel;

namespace {

using Look = HighlightedButtonLook;
using Kind = Look::Kind;
using Image = Look::Image;
using Font = Look::Font;

struct LookRow {
    int tag;
    Kind kind;
    Image image;
    std::optional<QColor> background;
    std::optional<QColor> border;
    std::optional<int> borderWidth;
    std::optional<int> radius;
    bool setsTitle;
    QColor title;
    Font font;
};

QColor rgb(int r, int g, int b)
{
    return QColor(r, g, b);
}

} // namespace

TEST(HighlightedButtonLook, LooksByTag)
{
    const QColor white = Qt::white, black = Qt::black, clear = Qt::transparent, dark = rgb(36, 41, 50);
    const std::nullopt_t none = std::nullopt;
    const LookRow rows[] = {
        { 101, Kind::Default, Image::Normal, none, none, none, 1, true, white, Font::Regular },
        { 103, Kind::Highlighted, Image::Selected, none, none, none, 1, true, white, Font::Regular },
        { 101, Kind::Disabled, Image::Selected, none, none, none, 1, true, white, Font::Bold },
        { 102, Kind::Default, Image::Normal, none, none, none, none, false, {}, Font::Regular },
        { 102, Kind::Disabled, Image::Selected, none, none, none, none, false, {}, Font::Regular },
        { 104, Kind::Default, Image::Normal, rgb(16, 16, 16), rgb(24, 27, 27), 2, 1, true, white, Font::Regular },
        { 104, Kind::Highlighted, Image::Selected, rgb(20, 20, 20), rgb(34, 37, 37), 2, 1, true, white, Font::Regular },
        { 104, Kind::Disabled, Image::Unchanged, none, none, none, none, false, {}, Font::Regular },
        { 105, Kind::Highlighted, Image::Selected, none, none, none, 1, true, rgb(30, 30, 30), Font::Regular },
        { 106, Kind::Default, Image::None, rgb(205, 205, 205), none, none, 4, true, rgb(30, 30, 30), Font::Regular },
        { 106, Kind::Highlighted, Image::None, rgb(180, 180, 180), none, none, 4, true, rgb(30, 30, 30),
            Font::Regular },
        { 107, Kind::Default, Image::None, rgb(147, 166, 198), none, none, 4, true, rgb(41, 47, 58), Font::Regular },
        { 107, Kind::Disabled, Image::None, rgb(180, 180, 180), none, none, 4, true, rgb(30, 30, 30), Font::Regular },
        { 108, Kind::Default, Image::Normal, clear, clear, none, none, true, rgb(147, 165, 198), Font::Regular },
        { 108, Kind::Highlighted, Image::Selected, clear, clear, none, none, true, rgb(66, 180, 211), Font::Regular },
        { 108, Kind::Disabled, Image::Selected, dark, rgb(68, 78, 94), 1, none, true, rgb(66, 180, 211), Font::Bold },
        { 109, Kind::Default, Image::Normal, rgb(73, 202, 237), black, 1, none, true, black, Font::Regular },
        { 109, Kind::Highlighted, Image::Normal, rgb(53, 182, 217), black, 1, none, true, black, Font::Regular },
        { 110, Kind::Default, Image::Normal, rgb(56, 125, 224), dark, 1, none, true, white, Font::Regular },
        { 110, Kind::Disabled, Image::Normal, rgb(16, 85, 184), dark, 1, none, true, rgb(204, 204, 204), Font::Bold },
        { 111, Kind::Highlighted, Image::Normal, rgb(175, 185, 211), dark, 1, none, true, black, Font::Regular },
        { 111, Kind::Disabled, Image::Normal, rgb(75, 84, 121), dark, 1, none, true, white, Font::Bold },
        { 112, Kind::Default, Image::Normal, rgb(175, 185, 211), dark, 1, none, true, black, Font::Semibold },
        { 112, Kind::Highlighted, Image::Normal, rgb(195, 205, 231), dark, 1, none, true, black, Font::Semibold },
        { 112, Kind::Disabled, Image::Normal, rgb(75, 84, 121), dark, 1, none, true, white, Font::Regular },
        { 0, Kind::Default, Image::Unchanged, none, none, none, none, false, {}, Font::Regular },
        { 113, Kind::Disabled, Image::Unchanged, none, none, none, none, false, {}, Font::Regular },
    };
    for (const auto& row : rows) {
        const Look look = Look::forTag(row.tag, row.kind);
        SCOPED_TRACE(testing::Message() << "tag " << row.tag << " look " << int(row.kind));
        EXPECT_EQ(look.image, row.image);
        EXPECT_EQ(look.background, row.background);
        EXPECT_EQ(look.borderColor, row.border);
        EXPECT_EQ(look.borderWidth, row.borderWidth);
        EXPECT_EQ(look.cornerRadius, row.radius);
        EXPECT_EQ(look.setsTitle, row.setsTitle);
        if (row.setsTitle) {
            EXPECT_EQ(look.titleColor.rgba(), row.title.rgba());
            EXPECT_EQ(look.font, row.font);
        }
    }
}

TEST(HighlightedButtonLook, WhenALookApplies)
{
    struct Row {
        int tag;
        Kind kind;
        bool subWindow, enabled, wizardDisabled;
        bool applies;
    };
    const Row rows[] = {
        { 101, Kind::Highlighted, false, true, false, true },
        { 101, Kind::Highlighted, true, true, false, false }, // a sub-window is open
        { 104, Kind::Highlighted, true, true, false, true }, // only 104 still changes
        { 104, Kind::Default, true, false, false, true },
        { 101, Kind::Default, false, false, false, false }, // own flag off
        { 101, Kind::Disabled, true, false, true, true }, // the disabled look always applies
        { 108, Kind::Highlighted, false, true, true, false }, // wizard disabled
        { 110, Kind::Highlighted, false, true, true, false },
        { 108, Kind::Default, false, true, true, true },
        { 109, Kind::Highlighted, false, true, true, true },
    };
    for (const auto& r : rows)
        EXPECT_EQ(Look::applies(r.tag, r.kind, r.subWindow, r.enabled, r.wizardDisabled), r.applies)
            << "tag " << r.tag << " look " << int(r.kind);
}
