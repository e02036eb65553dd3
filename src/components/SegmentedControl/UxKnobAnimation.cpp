#include "components/SegmentedControl/UxKnobAnimation.h"

#include <algorithm>

#include "components/SegmentedControl/UxSegmentedControl.h"

namespace vantrel {

UxKnobAnimation::UxKnobAnimation(int start, int end)
    : m_start(start)
    , m_range(end - start)
{
}

void UxKnobAnimation::setCurrentProgress(float progress)
{
    m_progress = progress;
    // The position follows the raw progress; the curve is kept as the animation's setting.
    const float value = float(m_range) * progress + float(m_start);
    if (m_delegate)
        m_delegate->setPosition(int(value));
}

bool UxKnobAnimation::advance(double frameSeconds)
{
    const double next = m_duration > 0 ? std::min(m_progress + frameSeconds / m_duration, 1.0) : 1.0;
    setCurrentProgress(float(next));
    return next >= 1.0;
}

} // namespace vantrel
