#include "screens/Panes/RotateModel.h"

#include <array>

#include "screens/Panes/FieldText.h"

namespace vantrel {

void RotateModel::changeSettingWithSelectedOption(int value)
{
    if (value < 0 || value >= kOptionCount) {
        m_resetEnabled = true;
        return;
    }
    m_rotationType = value;
    m_resetEnabled = value != 0;
}

QString RotateModel::imageName(int value, bool chosen)
{
    static const std::array<const char*, kOptionCount> kStems { "rotate_keep_original", "rotate_c", "rotate_cc",
        "rotate_180", "auto_rotate" };
    if (value < 0 || value >= kOptionCount)
        return {};
    return QString::fromLatin1(kStems[value]) + (chosen ? QStringLiteral("_active.png") : QStringLiteral(".png"));
}

QString RotateModel::angleEdited(const QString& text)
{
    const QString clean = FieldText::withoutGroupingSeparators(text);
    qint32 value = FieldText::intValue(clean);
    if (value < 0)
        return QStringLiteral("0");
    if (value > kMaxAngle) {
        while (value > kMaxAngle)
            value /= 10;
        return QString::number(value);
    }
    return clean;
}

} // namespace vantrel
