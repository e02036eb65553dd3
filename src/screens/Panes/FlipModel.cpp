#include "screens/Panes/FlipModel.h"

#include <array>

namespace vantrel {

void FlipModel::changeSettingWithSelectedOption(int option)
{
    if (option < 0 || option >= kOptionCount) {
        m_resetEnabled = true;
        return;
    }
    m_isFlipHorizontal = option == 1;
    m_isFlipVertical = option == 2;
    m_resetEnabled = option != 0;
}

void FlipModel::resetSetting()
{
    m_isFlipHorizontal = false;
    m_isFlipVertical = false;
    changeSettingWithSelectedOption(0);
}

void FlipModel::setFlipSettongObject(int option)
{
    changeSettingWithSelectedOption(option == 1 || option == 2 ? option : 0);
}

QString FlipModel::imageName(int option, bool chosen)
{
    static const std::array<const char*, kOptionCount> kStems { "rotate_keep_original", "flip_h", "flip_v" };
    if (option < 0 || option >= kOptionCount)
        return {};
    return QString::fromLatin1(kStems[option]) + (chosen ? QStringLiteral("_active.png") : QStringLiteral(".png"));
}

} // namespace vantrel
