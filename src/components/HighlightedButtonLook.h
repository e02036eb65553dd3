#pragma once

#include <optional>

#include <QColor>

namespace vantrel {

/// The three looks of the tag-styled buttons, as plain data: what each look changes for a tag
/// (101 to 112). A field left empty keeps what the button showed before.
struct HighlightedButtonLook {
    enum class Kind { Default, Highlighted, Disabled };
    enum class Image { Unchanged, Normal, Selected, None };
    enum class Font { Regular, Bold, Semibold };

    Image image = Image::Unchanged;
    std::optional<QColor> background; // Qt::transparent is "clear"
    std::optional<QColor> borderColor;
    std::optional<int> borderWidth;
    std::optional<int> cornerRadius;
    /// When false the title keeps its colour and font (tags 102 and unknown tags).
    bool setsTitle = false;
    QColor titleColor;
    Font font = Font::Regular;

    /// The look of `kind` for the tag. The title starts white in the system font (bold in the
    /// disabled look) and the tag's rule overrides colour and font.
    static HighlightedButtonLook forTag(int tag, Kind kind);

    /// Whether a look changes anything now. The disabled look always applies. The default and
    /// highlighted looks apply for tag 104 always, for other tags only while no sub-window is
    /// open and the button's own enabled flag is set; tags 108 and 110 keep their look under the
    /// pointer while the wizard is disabled.
    static bool applies(int tag, Kind kind, bool subWindowOpened, bool buttonEnabled, bool wizardDisabled);
};

} // namespace vantrel
