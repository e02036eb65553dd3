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

} // namespace vantrel
