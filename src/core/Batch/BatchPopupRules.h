#pragma once

#include <QPoint>
#include <QSize>

namespace vantrel {

/// What an option of the photo menu does with its photo.
enum class PhotoMenuAction { None, Reveal, Open, GetInfo, Remove };

/// The option popups' contents: 0 the file types, 1 the add options.
enum class OptionPopupType { FileTypes = 0, AddOptions = 1 };

/// Placement and size rules of the batch screen's popups (the photo information popup, the photo
/// menu and the option popups). Points are in the screen's own coordinates, y downward.
class BatchPopupRules {
public:
    BatchPopupRules() = delete;

    static constexpr int kInfoRowHeight = 30;
    static constexpr int kOptionRowHeight = 35;
    static constexpr int kLastAddOptionRowHeight = 50;

    /// The option popup's view: 140 (add options) or 130 (file types) wide; rows x 36 + 30 high,
    /// plus 20 for the add options, for fewer than 5 rows; 210 high otherwise.
    static QSize optionPopupSize(OptionPopupType type, int rows);

    /// The menu option's action (0 reveal, 1 open, 2 get info, 4 remove; 3 and others nothing).
    static PhotoMenuAction menuAction(int option);
    /// Whether a menu or click index names a photo of a batch of `count` photos.
    static bool isInsideBatch(qsizetype index, qsizetype count) { return index >= 0 && index < count; }

    /// The information popup's anchor for a grid cell's info button at `location` (in the grid)
    /// when the grid's left edge is at `gridX`.
    static QPoint infoPointForGrid(int gridX, QPoint location);
    /// ... for a list row's info button at `location` when the list's left edge is at `listX`, in a
    /// window of height `windowHeight` (the list measures y upward from the window's bottom).
    static QPoint infoPointForList(int listX, QPoint location, int windowHeight);
    /// The photo menu's anchor for a click at `location` in the screen, for a menu `menuWidth` wide.
    static QPoint menuPointForGrid(QPoint location, int menuWidth);
    static QPoint menuPointForList(QPoint location, int menuWidth);
};

} // namespace vantrel
