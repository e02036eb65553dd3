#include "core/Batch/BatchViewRules.h"

#include <QFileInfo>

#include "platform/imaging/ImageFileTypes.h"

namespace vantrel {

std::optional<BatchViewMode> BatchViewRules::modeForTag(int tag)
{
    if (tag < 1 || tag > 3)
        return std::nullopt;
    return static_cast<BatchViewMode>(tag);
}

BatchViewModeLook BatchViewRules::look(BatchViewMode mode)
{
    switch (mode) {
    case BatchViewMode::List:
        return { false, true, false, QStringLiteral("line_list"), QStringLiteral("list_view_enabled.png"),
            QStringLiteral("grid_view_disabled.png"), QStringLiteral("grid_view_big_disabled.png") };
    case BatchViewMode::Grid:
        return { true, false, true, QStringLiteral("line_thumbnail"), QStringLiteral("list_view_disabled.png"),
            QStringLiteral("grid_view_enabled.png"), QStringLiteral("grid_view_big_disabled.png") };
    case BatchViewMode::BigGrid:
        break;
    }
    return { true, false, true, QStringLiteral("line_thumbnail_big"), QStringLiteral("list_view_disabled.png"),
        QStringLiteral("grid_view_disabled.png"), QStringLiteral("grid_view_big_enabled.png") };
}

BatchButtonsLook BatchViewRules::buttons(qsizetype count, bool allChecked)
{
    if (count <= 0)
        return {};
    if (allChecked)
        return { true, QStringLiteral("checked_image.png"), QStringLiteral("Unselect All") };
    return { true, QStringLiteral("uncheck_image.png"), QStringLiteral("Select All") };
}

BatchViewRules::HeaderButtonsX BatchViewRules::headerButtonsX(int width, bool verticalScrollerShown)
{
    return verticalScrollerShown ? HeaderButtonsX { width - 61, width - 95 }
                                 : HeaderButtonsX { width - 51, width - 85 };
}

QSize BatchViewRules::itemSize(BatchViewMode mode)
{
    return mode == BatchViewMode::BigGrid ? QSize(220, 300) : QSize(180, 220);
}

bool BatchViewRules::isValidDrop(const QStringList& paths)
{
    if (paths.isEmpty())
        return false;
    return ImageFileTypes::conformsToPublicImage(QFileInfo(paths.first()).suffix()) || QFileInfo(paths.last()).isDir();
}

bool BatchViewRules::isMarkAllShortcut(bool control, bool shift, bool alt, bool meta)
{
    return control && !shift && !alt && !meta;
}

} // namespace vantrel

namespace vantrel {

bool BatchViewRules::isModifierKey(int qtKey)
{
    switch (qtKey) {
    case Qt::Key_Control:
    case Qt::Key_Shift:
    case Qt::Key_Alt:
    case Qt::Key_AltGr:
    case Qt::Key_Meta:
    case Qt::Key_Super_L:
    case Qt::Key_Super_R:
    case Qt::Key_Hyper_L:
    case Qt::Key_Hyper_R:
    case Qt::Key_CapsLock:
    case Qt::Key_NumLock:
        return true;
    default:
        return false;
    }
}

bool BatchViewRules::isNavigationKey(int qtKey)
{
    switch (qtKey) {
    case Qt::Key_Home:
    case Qt::Key_End:
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
        return true;
    default:
        return false;
    }
}

bool BatchViewRules::isPhotoMenuKey(int qtKey, Qt::KeyboardModifiers modifiers)
{
    const Qt::KeyboardModifiers held = modifiers & ~Qt::KeypadModifier;
    return (qtKey == Qt::Key_Menu && held == Qt::NoModifier) || (qtKey == Qt::Key_F10 && held == Qt::ShiftModifier);
}

bool BatchViewRules::isRemoveKey(int qtKey, Qt::KeyboardModifiers modifiers)
{
    const Qt::KeyboardModifiers held = modifiers & ~Qt::KeypadModifier;
    return (qtKey == Qt::Key_Delete || qtKey == Qt::Key_Backspace) && held == Qt::NoModifier;
}

} // namespace vantrel
