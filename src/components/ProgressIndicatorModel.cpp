#include "components/ProgressIndicatorModel.h"

#include <cmath>

namespace vantrel {

bool ProgressIndicatorModel::setDoubleValue(double value, qint64 nowMs)
{
    const bool grows = value > m_doubleValue && !m_indeterminate;
    m_doubleValue = value;
    if (grows) {
        m_animationFrom = m_internalDoubleValue;
        m_animationStartMs = nowMs;
        m_valueAnimating = true;
        return false;
    }
    const bool changed = m_internalDoubleValue != value;
    setInternalDoubleValue(value);
    return changed;
}

void ProgressIndicatorModel::setInternalDoubleValue(double value)
{
    m_valueAnimating = false;
    m_internalDoubleValue = value;
}

bool ProgressIndicatorModel::advance(qint64 nowMs)
{
    if (!m_valueAnimating)
        return false;
    const double before = m_internalDoubleValue;
    const qint64 elapsed = nowMs - m_animationStartMs;
    if (elapsed >= kValueAnimationMs) {
        m_internalDoubleValue = m_doubleValue;
        m_valueAnimating = false;
    } else if (elapsed > 0) {
        const double t = double(elapsed) / kValueAnimationMs;
        m_internalDoubleValue = m_animationFrom + (m_doubleValue - m_animationFrom) * t;
    }
    return m_internalDoubleValue != before;
}

bool ProgressIndicatorModel::startAnimation()
{
    if (m_animating)
        return false;
    m_animating = true;
    return true;
}

bool ProgressIndicatorModel::stopAnimation()
{
    if (!m_animating)
        return false;
    m_animating = false;
    return true;
}

void ProgressIndicatorModel::stepAnimation()
{
    if (m_currentAnimationStep >= kDecorationSteps)
        m_currentAnimationStep = 0;
    ++m_currentAnimationStep;
}

QRectF ProgressIndicatorModel::progressBarRect(
    double internalValue, double minValue, double maxValue, bool indeterminate, double width, double height)
{
    double fraction = 1;
    if (!indeterminate) {
        const double range = maxValue - minValue;
        fraction = range > 0 ? (internalValue - minValue) / range : 0;
    }
    double barWidth = std::round(fraction * width);
    if (!std::isfinite(barWidth))
        barWidth = 0;
    return { 1, 2, barWidth, height - 3 };
}

QRectF ProgressIndicatorModel::progressBarRect(double width, double height) const
{
    return progressBarRect(m_internalDoubleValue, m_minValue, m_maxValue, m_indeterminate, width, height);
}

int ProgressIndicatorModel::decorationCount(double barWidth)
{
    const double n = std::trunc(std::round(barWidth / kDecorationSteps) + 2);
    // A bar far outside its range is cut by the clip anyway; keep the loop bounded.
    if (!(n > 0))
        return 0;
    return n > 10000 ? 10000 : int(n);
}

QRectF ProgressIndicatorModel::glowOval(int index, int step)
{
    return { double(32 * index - step), 3, 34, 15 };
}

QPolygonF ProgressIndicatorModel::stripe(int index, int step, double height)
{
    const double x = step + 33.0 * index;
    return QPolygonF({ { x - 10, height }, { x - 13, height }, { x + 4, 0 }, { x - 13, 0 }, { x - 30, height } });
}

} // namespace vantrel
