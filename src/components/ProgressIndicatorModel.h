#pragma once

#include <QPolygonF>
#include <QRectF>

namespace vantrel {

/// The state and arithmetic of the custom progress bar, without any widget: the value and its
/// range, the drawn value that grows over 300 ms and falls at once, and the two moving
/// decorations. Geometry is in y-up coordinates inside a view W wide and H high (origin at the
/// bottom-left); the widget flips it once when it paints. Times are milliseconds on any
/// monotonic clock the caller chooses.
class ProgressIndicatorModel {
public:
    static constexpr int kValueAnimationMs = 300;
    static constexpr int kDecorationSteps = 34;
    static constexpr int kDecorationIntervalMs = 20;

    double doubleValue() const { return m_doubleValue; }
    double minValue() const { return m_minValue; }
    double maxValue() const { return m_maxValue; }
    double internalDoubleValue() const { return m_internalDoubleValue; }
    bool isIndeterminate() const { return m_indeterminate; }

    void setMinValue(double value) { m_minValue = value; }
    void setMaxValue(double value) { m_maxValue = value; }
    void setIndeterminate(bool flag) { m_indeterminate = flag; }

    /// A value above the last one set (and not indeterminate) starts a 300 ms growth of the drawn
    /// value from where it stands now; anything else is drawn at once and ends a growth in
    /// progress. Returns whether the drawn value changed at once.
    bool setDoubleValue(double value, qint64 nowMs);
    /// Sets the drawn value directly, ending any growth.
    void setInternalDoubleValue(double value);
    bool isValueAnimating() const { return m_valueAnimating; }
    /// Moves a growth in progress to nowMs (linear in time); returns whether the drawn value
    /// changed. The growth ends exactly on the value set.
    bool advance(qint64 nowMs);

    /// The decoration cycle: step 1 to 34 while it runs, 0 before it first ran.
    bool isAnimating() const { return m_animating; }
    int currentAnimationStep() const { return m_currentAnimationStep; }
    /// Returns false (and changes nothing) when already in that state.
    bool startAnimation();
    bool stopAnimation();
    /// One decoration step: 34 wraps to 1.
    void stepAnimation();

    /// True while anything moves, i.e. while a tick source must run; idle means no ticks.
    bool needsTicks() const { return m_animating || m_valueAnimating; }

    /// The bar: (1, 2, rnd(f x W), H - 3) with f = 1 when indeterminate, else the drawn value's
    /// share of the range. Values outside the range are not clamped (the widget's clip cuts the
    /// bar); an empty range (max <= min) or a value that is not a number gives an empty bar.
    static QRectF progressBarRect(
        double internalValue, double minValue, double maxValue, bool indeterminate, double width, double height);
    QRectF progressBarRect(double width, double height) const;
    /// The clip of everything inside the bezel, a rounded rect of radius 3.
    static QRectF clipRect(double width, double height) { return { 1, 2, width - 2, height - 3 }; }
    /// The leading edge: a one-point line just after the bar.
    static QRectF leadingEdgeRect(const QRectF& bar) { return { bar.width() + 1, bar.y(), 1, bar.height() }; }

    /// How many glows or stripes cover a bar of that width: trunc(rnd(width / 34) + 2).
    static int decorationCount(double barWidth);
    /// The oval of glow i at step s: (32 i - s, 3, 34, 15); glows move left one point a step.
    static QRectF glowOval(int index, int step);
    /// The stripe i at step s in a view H high; stripes move right one point a step.
    static QPolygonF stripe(int index, int step, double height);

private:
    double m_doubleValue = 0;
    double m_minValue = 0;
    double m_maxValue = 100;
    double m_internalDoubleValue = 0;
    bool m_indeterminate = false;

    bool m_valueAnimating = false;
    double m_animationFrom = 0;
    qint64 m_animationStartMs = 0;

    bool m_animating = false;
    int m_currentAnimationStep = 0;
};

} // namespace vantrel
