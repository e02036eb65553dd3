#pragma once

#include <optional>

#include <QSize>
#include <QString>
#include <QStringList>
#include <Qt>

namespace vantrel {

/// The batch views' three modes. The values are the mode buttons' tags.
enum class BatchViewMode { List = 1, Grid = 2, BigGrid = 3 };

/// What each view mode shows: which view, which underline, and the three mode buttons' images.
struct BatchViewModeLook {
    bool gridHeaderShown = false; ///< the grid header's mark-all check and label
    bool listShown = false;
    bool gridShown = false;
    QString underline; ///< "line_list", "line_thumbnail" or "line_thumbnail_big"
    QString listImage;
    QString gridImage;
    QString bigGridImage;
};

/// The remove and mark-all buttons for the batch's state. With an empty batch the buttons are
/// disabled and images and label stay as they were (empty strings here).
struct BatchButtonsLook {
    bool enabled = false;
    QString markAllImage; ///< "checked_image.png" when all are checked, else "uncheck_image.png"
    QString markAllLabel; ///< "Unselect All" when all are checked, else "Select All"
};

/// The fixed rules of the batch views: the mode table, the buttons, the list header's button
/// positions, the grid's item sizes and the mark-all key.
class BatchViewRules {
public:
    BatchViewRules() = delete;

    static constexpr int kListRowHeight = 35;
    static constexpr int kGridVerticalSpacing = 10;
    static constexpr int kListThumbnailWidth = 70;
    static constexpr int kListThumbnailHeight = 48;
    static constexpr int kGridThumbnailWidth = 404;
    static constexpr int kGridThumbnailHeight = 414;

    /// The mode for a button tag; nothing for a tag that is no mode.
    static std::optional<BatchViewMode> modeForTag(int tag);
    static BatchViewModeLook look(BatchViewMode mode);
    static BatchButtonsLook buttons(qsizetype count, bool allChecked);

    /// The x positions of the list header's remove-all and mark-all buttons for a list of width
    /// `width`: W - 51 and W - 85, or W - 61 and W - 95 when the vertical scroller shows.
    struct HeaderButtonsX {
        int removeAll = 0;
        int markAll = 0;
        bool operator==(const HeaderButtonsX&) const = default;
    };
    static HeaderButtonsX headerButtonsX(int width, bool verticalScrollerShown);

    /// Grid items: 180 x 220, 220 x 300 in the big grid.
    static QSize itemSize(BatchViewMode mode);

    /// A drop on the grid or the list is taken when the first path's extension is an image type
    /// or the last path is a folder.
    static bool isValidDrop(const QStringList& paths);

    /// Mark all answers Control with any key, and nothing else held with it.
    static bool isMarkAllShortcut(bool control, bool shift, bool alt, bool meta);
    /// A press of a modifier key by itself (Control, Shift, Alt, Meta, ...) is no key for mark
    /// all: only the key pressed with Control is.
    static bool isModifierKey(int qtKey);
    /// The grid's and the list's own navigation keys (Home, End, the arrows, Page Up and Page
    /// Down): held with Control they move in the view, so they are no key for mark all.
    static bool isNavigationKey(int qtKey);
    /// The keys that open the current photo's menu: the Menu key alone, or Shift+F10. The keypad
    /// modifier counts as none.
    static bool isPhotoMenuKey(int qtKey, Qt::KeyboardModifiers modifiers);
    /// The keys that take the current photo out of the batch, as its row's remove button does:
    /// Delete or Backspace alone (the keypad modifier counts as none).
    static bool isRemoveKey(int qtKey, Qt::KeyboardModifiers modifiers);
};

} // namespace vantrel
