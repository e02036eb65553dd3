#pragma once

#include <utility>

#include <QString>

namespace vantrel {

/// The flip pane's choice without widgets: keep (0), horizontal (1) or vertical (2), at most one
/// flag on. Main thread only.
class FlipModel {
public:
    static constexpr int kOptionCount = 3;

    /// Chooses option o; any other value only enables reset.
    void changeSettingWithSelectedOption(int option);
    /// Both flags off, option 0.
    void resetSetting();
    /// [horizontal, vertical].
    std::pair<bool, bool> getFlipSettongObject() const { return { m_isFlipHorizontal, m_isFlipVertical }; }
    /// A stored choice: 1 horizontal, 2 vertical, anything else keep.
    void setFlipSettongObject(int option);

    bool isFlipHorizontal() const { return m_isFlipHorizontal; }
    void setIsFlipHorizontal(bool on) { m_isFlipHorizontal = on; }
    bool isFlipVertical() const { return m_isFlipVertical; }
    void setIsFlipVertical(bool on) { m_isFlipVertical = on; }
    int chosenOption() const { return m_isFlipHorizontal ? 1 : (m_isFlipVertical ? 2 : 0); }
    bool isResetEnabled() const { return m_resetEnabled; }

    static QString imageName(int option, bool chosen);

private:
    bool m_isFlipHorizontal = false;
    bool m_isFlipVertical = false;
    bool m_resetEnabled = false;
};

} // namespace vantrel
