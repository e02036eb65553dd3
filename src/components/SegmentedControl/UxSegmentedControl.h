#pragma once

#include <memory>

#include <QPointF>
#include <QWidget>

#include "components/SegmentedControl/UxKnobAnimation.h"

namespace vantrel {

class TickSource;

/// A segmented control of equal-width segments drawn as one rounded grey bar with a lighter
/// rounded knob that slides to the chosen segment (animated on the tick source, never blocking)
/// and can be dragged. Segments show no labels or images.
class UxSegmentedControl : public QWidget {
    Q_OBJECT

public:
    explicit UxSegmentedControl(QWidget* parent = nullptr);
    ~UxSegmentedControl() override;

    int segmentCount() const { return m_segmentCount; }
    void setSegmentCount(int count);
    int selectedSegment() const { return m_selectedSegment; }
    /// Animated.
    void setSelectedSegment(int index);
    void setSelectedSegment(int index, bool animate);

    double fastAnimationDuration() const { return m_fastAnimationDuration; }
    void setFastAnimationDuration(double seconds) { m_fastAnimationDuration = seconds; }
    double slowAnimationDuration() const { return m_slowAnimationDuration; }
    void setSlowAnimationDuration(double seconds) { m_slowAnimationDuration = seconds; }
    void setDefaultDurations();

    /// Once placed: height 25, the knob at the selected segment (outside the bar, at -w, when
    /// none is selected).
    void awakeFromNib();

    /// The knob's left edge.
    QPointF location() const { return m_location; }
    double segmentWidth() const;
    /// The knob's travel ends at 0 and at this value (frame width - segment width).
    double maximumLocation() const;

    void animateTo(int x);
    void setPosition(int x);
    void offsetLocationByX(float dx);
    /// The running knob animation, or nullptr.
    const UxKnobAnimation* knobAnimation() const { return m_animation.get(); }

    void setTickSource(TickSource* source);
    TickSource* tickSource() const { return m_tickSource; }

signals:
    /// The user chose a segment (click or drag).
    void activated(int segment);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void stepAnimation();
    void drawBackgroud(QPainter& painter, const QRectF& rect);
    void drawKnob(QPainter& painter, const QRectF& rect);

    int m_segmentCount = 0;
    int m_selectedSegment = -1;
    QPointF m_location;
    double m_fastAnimationDuration = 0.2;
    double m_slowAnimationDuration = 0.35;
    std::unique_ptr<UxKnobAnimation> m_animation;
    TickSource* m_ownTickSource;
    TickSource* m_tickSource;

    bool m_tracking = false;
    bool m_dragsKnob = false;
    QPointF m_pressPoint;
    QPointF m_previousPoint;
};

} // namespace vantrel
