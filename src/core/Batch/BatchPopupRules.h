#pragma once

#include <QSize>

namespace vantrel {

/// What an option of the photo menu does with its photo.
enum class PhotoMenuAction { None, Reveal, Open, GetInfo, Remove };

/// The option popups' contents: 0 the file types, 1 the add options.
enum class OptionPopupType { FileTypes = 0, AddOptions = 1 };

/// Size and choice rules of the batch screen's popups (the photo information popup, the photo
/// menu and the option popups).
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
};

} // namespace vantrel
