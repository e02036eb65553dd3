#pragma once

#include <QPointer>

namespace vantrel {

class UxSegmentedControl;

/// One move of a segmented control's knob from start to end. The control advances it on its tick
/// source; each progress step puts the knob at range x progress + start (single precision,
/// truncated) and redraws the control at once.
class UxKnobAnimation {
public:
    enum class Curve { EaseInOut = 0, Linear = 3 };

    UxKnobAnimation(int start, int end);

    void setDelegate(UxSegmentedControl* control) { m_delegate = control; }
    void setDuration(double seconds) { m_duration = seconds; }
    double duration() const { return m_duration; }
    void setAnimationCurve(Curve curve) { m_curve = curve; }
    Curve animationCurve() const { return m_curve; }
    int start() const { return m_start; }
    int range() const { return m_range; }
    double currentProgress() const { return m_progress; }

    void setCurrentProgress(float progress);
    /// Advances by one frame of the given length; answers whether the animation has ended.
    bool advance(double frameSeconds);

private:
    int m_start;
    int m_range;
    double m_duration = 0;
    Curve m_curve = Curve::EaseInOut;
    double m_progress = 0;
    QPointer<UxSegmentedControl> m_delegate;
};

} // namespace vantrel
