#include "components/HighlightedButtonLook.h"

namespace vantrel {

namespace {

using Look = HighlightedButtonLook;

QColor rgb(int r, int g, int b)
{
    return QColor(r, g, b);
}

Look titled(Look::Kind kind)
{
    Look look;
    look.setsTitle = true;
    look.titleColor = Qt::white;
    look.font = kind == Look::Kind::Disabled ? Look::Font::Bold : Look::Font::Regular;
    return look;
}

Look filled(Look look, Look::Image image, std::optional<QColor> background, std::optional<QColor> border,
    std::optional<int> borderWidth, std::optional<int> radius, QColor title)
{
    look.image = image;
    look.background = background;
    look.borderColor = border;
    look.borderWidth = borderWidth;
    look.cornerRadius = radius;
    look.titleColor = title;
    return look;
}

Look defaultLook(int tag)
{
    using I = Look::Image;
    const Look base = titled(Look::Kind::Default);
    const QColor white = Qt::white, black = Qt::black, dark = rgb(36, 41, 50);
    switch (tag) {
    case 101:
    case 103:
        return filled(base, I::Normal, {}, {}, {}, 1, white);
    case 102: {
        Look look;
        look.image = I::Normal;
        return look;
    }
    case 104:
        return filled(base, I::Normal, rgb(16, 16, 16), rgb(24, 27, 27), 2, 1, white);
    case 105:
        return filled(base, I::Normal, {}, {}, {}, 1, rgb(30, 30, 30));
    case 106:
        return filled(base, I::None, rgb(205, 205, 205), {}, {}, 4, rgb(30, 30, 30));
    case 107:
        return filled(base, I::None, rgb(147, 166, 198), {}, {}, 4, rgb(41, 47, 58));
    case 108:
        return filled(base, I::Normal, Qt::transparent, Qt::transparent, {}, {}, rgb(147, 165, 198));
    case 109:
        return filled(base, I::Normal, rgb(73, 202, 237), black, 1, {}, black);
    case 110:
        return filled(base, I::Normal, rgb(56, 125, 224), dark, 1, {}, white);
    case 111:
        return filled(base, I::Normal, rgb(155, 165, 191), dark, 1, {}, black);
    case 112: {
        Look look = filled(base, I::Normal, rgb(175, 185, 211), dark, 1, {}, black);
        look.font = Look::Font::Semibold;
        return look;
    }
    default:
        return {};
    }
}

Look highlightedLook(int tag)
{
    using I = Look::Image;
    const Look base = titled(Look::Kind::Highlighted);
    const QColor white = Qt::white, black = Qt::black, dark = rgb(36, 41, 50);
    switch (tag) {
    case 101:
    case 103:
        return filled(base, I::Selected, {}, {}, {}, 1, white);
    case 102: {
        Look look;
        look.image = I::Selected;
        return look;
    }
    case 104:
        return filled(base, I::Selected, rgb(20, 20, 20), rgb(34, 37, 37), 2, 1, white);
    case 105:
        return filled(base, I::Selected, {}, {}, {}, 1, rgb(30, 30, 30));
    case 106:
        return filled(base, I::None, rgb(180, 180, 180), {}, {}, 4, rgb(30, 30, 30));
    case 107:
        return filled(base, I::None, rgb(127, 146, 178), {}, {}, 4, rgb(41, 47, 58));
    case 108:
        return filled(base, I::Selected, Qt::transparent, Qt::transparent, {}, {}, rgb(66, 180, 211));
    case 109:
        return filled(base, I::Normal, rgb(53, 182, 217), black, 1, {}, black);
    case 110:
        return filled(base, I::Normal, rgb(46, 115, 214), dark, 1, {}, white);
    case 111:
        return filled(base, I::Normal, rgb(175, 185, 211), dark, 1, {}, black);
    case 112: {
        Look look = filled(base, I::Normal, rgb(195, 205, 231), dark, 1, {}, black);
        look.font = Look::Font::Semibold;
        return look;
    }
    default:
        return {};
    }
}

Look disabledLook(int tag)
{
    using I = Look::Image;
    const Look base = titled(Look::Kind::Disabled);
    const QColor white = Qt::white, dark = rgb(36, 41, 50);
    switch (tag) {
    case 101:
    case 103:
        return filled(base, I::Selected, {}, {}, {}, 1, white);
    case 102: {
        Look look;
        look.image = I::Selected;
        return look;
    }
    case 107: {
        Look look = filled(base, I::None, rgb(180, 180, 180), {}, {}, 4, rgb(30, 30, 30));
        look.font = Look::Font::Regular;
        return look;
    }
    case 108:
        return filled(base, I::Selected, dark, rgb(68, 78, 94), 1, {}, rgb(66, 180, 211));
    case 110:
        return filled(base, I::Normal, rgb(16, 85, 184), dark, 1, {}, QColor::fromRgbF(0.8f, 0.8f, 0.8f));
    case 111:
        return filled(base, I::Normal, rgb(75, 84, 121), dark, 1, {}, white);
    case 112: {
        Look look = filled(base, I::Normal, rgb(75, 84, 121), dark, 1, {}, white);
        look.font = Look::Font::Regular;
        return look;
    }
    default:
        return {};
    }
}

} // namespace

HighlightedButtonLook HighlightedButtonLook::forTag(int tag, Kind kind)
{
    switch (kind) {
    case Kind::Default:
        return defaultLook(tag);
    case Kind::Highlighted:
        return highlightedLook(tag);
    case Kind::Disabled:
        return disabledLook(tag);
    }
    return {};
}

bool HighlightedButtonLook::applies(int tag, Kind kind, bool subWindowOpened, bool buttonEnabled, bool wizardDisabled)
{
    if (kind == Kind::Disabled)
        return true;
    if (tag != 104 && (subWindowOpened || !buttonEnabled))
        return false;
    if (kind == Kind::Highlighted && wizardDisabled && (tag == 108 || tag == 110))
        return false;
    return true;
}

} // namespace vantrel
