#include "core/Batch/BatchPopupRules.h"

namespace vantrel {

QSize BatchPopupRules::optionPopupSize(OptionPopupType type, int rows)
{
    const bool addOptions = type == OptionPopupType::AddOptions;
    const int width = addOptions ? 140 : 130;
    if (rows >= 5)
        return { width, 210 };
    return { width, rows * 36 + 30 + (addOptions ? 20 : 0) };
}

PhotoMenuAction BatchPopupRules::menuAction(int option)
{
    switch (option) {
    case 0:
        return PhotoMenuAction::Reveal;
    case 1:
        return PhotoMenuAction::Open;
    case 2:
        return PhotoMenuAction::GetInfo;
    case 4:
        return PhotoMenuAction::Remove;
    default:
        return PhotoMenuAction::None;
    }
}

QPoint BatchPopupRules::infoPointForGrid(int gridX, QPoint location)
{
    return { gridX + location.x() + 18, location.y() + 68 + 16 };
}

QPoint BatchPopupRules::infoPointForList(int listX, QPoint location, int windowHeight)
{
    return { listX + location.x() + 16, windowHeight - location.y() - 155 };
}

QPoint BatchPopupRules::menuPointForGrid(QPoint location, int menuWidth)
{
    return { location.x() + menuWidth / 2, location.y() + 10 + 68 };
}

QPoint BatchPopupRules::menuPointForList(QPoint location, int menuWidth)
{
    return { location.x() + menuWidth / 2 + 5, location.y() + 25 + 68 };
}

} // namespace vantrel
