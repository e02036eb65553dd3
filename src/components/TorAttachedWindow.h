#pragma once

#include <QBrush>
#include <QColor>
#include <QImage>
#include <QPointer>
#include <QWidget>

#include "components/TorAttachedWindowGeometry.h"

namespace vantrel {

/// A popup that shows one view beside a point of a window, with an optional arrow whose tip
/// points at that point, rounded corners and a border. It is an overlay widget inside the
/// window it belongs to (a separate window could not be placed reliably on every display
/// server), raised above the window's content; its outline is drawn once per change into an
/// image. The view becomes the popup's child and keeps its size (a view never resized takes
/// its size hint).
///
/// Points are in the window's base coordinates: y-up, origin at the window's bottom-left
/// (pointInWindow converts a widget's point). Without a window the popup is a frameless
/// top-level and the point is in y-up screen coordinates of the primary screen.
///
/// A popup never crosses the edge of its window or of the screen: a frame that would is moved
/// inside (its users may first choose the other side of the point). The automatic side is
/// chosen against the part of the window the screen shows, so the arrow keeps pointing at its
/// point; a frame that still has to be moved far to stay in sight shows no arrow rather than
/// one pointing beside the point.
///
/// No close shortcut is bound: its users close it (hide and delete) from their own mouse
/// monitor, and when the part of the window it belongs to is left (ownerLeft).
class TorAttachedWindow : public QWidget {
    Q_OBJECT

public:
    /// All return nullptr without a view. Side 12 (automatic) is resolved here, once, against
    /// the part of the window the screen shows, so a popup chosen below or to the right is not
    /// clipped at the window's or the screen's edge.
    static TorAttachedWindow* initWithView(
        QWidget* view, const QPointF& attachedToPoint, QWidget* inWindow, int onSide, float atDistance);
    static TorAttachedWindow* initWithView(
        QWidget* view, const QPointF& attachedToPoint, QWidget* inWindow, float atDistance);
    static TorAttachedWindow* initWithView(QWidget* view, const QPointF& attachedToPoint, int onSide, float atDistance);
    static TorAttachedWindow* initWithView(QWidget* view, const QPointF& attachedToPoint, float atDistance);
    static TorAttachedWindow* initWithView(QWidget* view, const QPointF& attachedToPoint, QWidget* inWindow);
    static TorAttachedWindow* initWithView(QWidget* view, const QPointF& attachedToPoint, int onSide);
    static TorAttachedWindow* initWithView(QWidget* view, const QPointF& attachedToPoint);

    /// A point of `from` (widget coordinates) in the base coordinates of from's window.
    static QPointF pointInWindow(const QWidget* from, const QPointF& local);

    QColor windowBackgroundColor() const { return m_fill.color(); }
    void setBackgroundColor(const QColor& color);
    /// A non-null image becomes the fill as a pattern; a null image does nothing.
    void setBackgroundImage(const QImage& image);
    QColor borderColor() const { return m_borderColor; }
    void setBorderColor(const QColor& color);
    /// Never more than viewMargin.
    float borderWidth() const { return m_metrics.borderWidth; }
    void setBorderWidth(float value);
    /// Never negative; re-applies the corner radius (and so the arrow base).
    float viewMargin() const { return m_metrics.viewMargin; }
    void setViewMargin(float value);
    /// Limited by the view's smaller side, the margin and the corners, and never negative.
    float arrowBaseWidth() const { return m_metrics.arrowBaseWidth; }
    void setArrowBaseWidth(float value);
    float arrowHeight() const { return m_metrics.arrowHeight; }
    void setArrowHeight(float value);
    /// Flags pass as floats; a value is truncated toward zero (0.5 is off).
    float hasArrow() const { return m_metrics.hasArrow ? 1.0f : 0.0f; }
    /// Whether the arrow is drawn now: it has one, and its frame was not moved more than half
    /// the arrow's base away from the point to stay in sight.
    bool showsArrow() const { return m_metrics.hasArrow && !m_movedIntoSight; }
    void setHasArrow(float value);
    float cornerRadius() const { return m_metrics.cornerRadius; }
    void setCornerRadius(float value);
    float drawsRoundCornerBesideArrow() const { return m_metrics.drawsRoundCornerBesideArrow ? 1.0f : 0.0f; }
    void setDrawsRoundCornerBesideArrow(float value);
    bool hasShadow() const { return m_hasShadow; }
    void setHasShadow(bool on);

    /// Moves the popup to a new point and side (0-11; anything else keeps the side).
    void setPoint(const QPointF& point, int side);

    /// The widget the popup belongs to (a step, a pane, the control it drops from): when that
    /// widget is hidden (by itself or with one of its ancestors, whatever hid it) or destroyed
    /// while the popup shows, ownerLeft() is emitted once. A hide by the window system
    /// (minimising) does not count, nor does anything after the popup was hidden.
    void setOwner(QWidget* owner);
    QWidget* owner() const { return m_owner; }

    int side() const { return m_side; }
    QPointF point() const { return m_point; }
    const TorAttachedMetrics& metrics() const { return m_metrics; }
    QWidget* view() const { return m_view; }
    /// The view's frame inside the popup and the popup's frame in the window, both y-up.
    QRectF viewFrameRect() const { return m_viewFrame; }
    QRectF frameInWindow() const { return m_frame; }
    /// The drawn outline, fill and border (y-down, the widget's size).
    QImage backgroundImage() const { return m_background; }

signals:
    void ownerLeft();

protected:
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    TorAttachedWindow(QWidget* view, const QPointF& point, QWidget* window, int side, float distance);
    int bestSideForAutomaticPosition() const;
    QRectF containerRect() const;
    QRectF visibleRect() const;
    qreal containerHeight() const;
    void updateAttachedGeometry();
    void updateBackground();
    void redisplay();
    void leaveOwner();

    QPointer<QWidget> m_view;
    QPointer<QWidget> m_window;
    QPointer<QWidget> m_owner;
    QMetaObject::Connection m_ownerGone;
    bool m_ownerLeft = false;
    QPointF m_point;
    int m_side = TorSideBelow;
    float m_distance = 0;
    TorAttachedMetrics m_metrics;
    QColor m_borderColor = Qt::white;
    QBrush m_fill;
    QRectF m_viewFrame;
    QRectF m_frame;
    QImage m_background;
    bool m_resizing = false;
    bool m_hasShadow = false;
    /// The frame was moved from its place beside the point to stay inside the visible part.
    bool m_movedIntoSight = false;
};

} // namespace vantrel
