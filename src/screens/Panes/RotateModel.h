#pragma once

#include <QString>

namespace vantrel {

/// The rotate pane's choice without widgets: one rotation value (0 none, 1 a quarter turn
/// clockwise, 2 a quarter turn counter-clockwise, 3 a half turn, 4 by the photo's orientation tag)
/// and the free-angle field's rule. Main thread only.
class RotateModel {
public:
    static constexpr int kOptionCount = 5;
    static constexpr int kMaxAngle = 360;

    /// Chooses value v and enables reset when v is not 0. A value outside 0 to 4 (from an old
    /// archive) keeps the current choice and only enables reset.
    void changeSettingWithSelectedOption(int value);
    void resetSetting() { changeSettingWithSelectedOption(0); }
    int getRotateSettingObject() const { return m_rotationType; }
    void setRotationType(int value) { changeSettingWithSelectedOption(value); }
    bool isResetEnabled() const { return m_resetEnabled; }
    bool isChosen(int value) const { return value == m_rotationType; }

    /// The picture of an option: its active form when chosen, else its plain form.
    static QString imageName(int value, bool chosen);
    /// A user edit of the angle field: separators removed, 361 and above lose their last digit
    /// until at most 360, a negative value becomes 0. Returns the text the field is to show.
    static QString angleEdited(const QString& text);

private:
    int m_rotationType = 0;
    bool m_resetEnabled = false;
};

} // namespace vantrel
