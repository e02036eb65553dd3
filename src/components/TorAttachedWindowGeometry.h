#pragma once

#include <vector>

#include <QPainterPath>
#include <QPointF>
#include <QRectF>
#include <QSizeF>

namespace vantrel {

/// Where an attached popup sits relative to its anchor point. "Rising": the body extends up
/// from the point's height; "Hanging": down. "Leftward"/"Rightward": the body extends to that
/// side of the point's x.
enum TorAttachedWindowSide : int {
    TorSideLeft = 0,
    TorSideBelow = 1,
    TorSideRight = 2,
    TorSideAbove = 3,
    TorSideLeftRising = 4,
    TorSideLeftHanging = 5,
    TorSideRightRising = 6,
    TorSideRightHanging = 7,
    TorSideAboveLeftward = 8,
    TorSideAboveRightward = 9,
    TorSideBelowLeftward = 10,
    TorSideBelowRightward = 11,
    TorSideAutomatic = 12,
};

/// The lengths that shape an attached popup (unscaled points).
struct TorAttachedMetrics {
    float borderWidth = 2.0f;
    float viewMargin = 2.0f;
    float arrowBaseWidth = 20.0f;
    float arrowHeight = 16.0f;
    bool hasArrow = true;
    float cornerRadius = 8.0f;
    bool drawsRoundCornerBesideArrow = true;
};

/// One step of a popup's outline, in the popup's own y-up coordinates.
struct TorOutlineStep {
    enum class Kind { Move, Line, Arc };
    Kind kind = Kind::Line;
    QPointF to; // for Arc: where the arc ends (on the next edge)
    QPointF corner; // for Arc: the corner the arc rounds
    bool operator==(const TorOutlineStep&) const = default;
};

/// The placement and outline rules of an attached popup, as pure functions in y-up coordinates
/// (origin bottom-left, y growing upwards), at scale 1. The widget flips the results once.
class TorAttachedWindowGeometry {
public:
    TorAttachedWindowGeometry() = delete;

    /// Sides 0-11 are placeable; anything else (the automatic value included) is not.
    static bool isPlaceableSide(int side) { return side >= TorSideLeft && side <= TorSideBelowRightward; }
    static bool arrowRoomIsHorizontal(int side);

    /// Distance along the edge from a body end to the arrow's centre line (sides 4-11).
    static qreal arrowInset(const TorAttachedMetrics& metrics);
    /// View size plus the margin on every side plus the arrow room (kept even without an arrow).
    static QSizeF windowSize(const QSizeF& viewSize, int side, const TorAttachedMetrics& metrics);
    /// Where the view sits inside the popup.
    static QRectF viewFrame(const QSizeF& viewSize, int side, const TorAttachedMetrics& metrics);
    /// Bottom-left corner of the popup for an anchor point, its size, side and distance.
    static QPointF windowOrigin(const QPointF& point, const QSizeF& windowSize, int side, qreal distance, qreal inset);
    /// The popup's whole frame: windowOrigin at windowSize.
    static QRectF windowFrame(
        const QPointF& point, const QSizeF& viewSize, int side, float distance, const TorAttachedMetrics& metrics);

    /// The side that fits: below, right, left, above in that order against `visible` (else
    /// below), then the rising/hanging or leftward/rightward form when the centred body would
    /// cross `frame`'s edge and that form still fits in `visible`.
    static int bestSide(const QPointF& point, const QSizeF& viewSize, float distance, const TorAttachedMetrics& metrics,
        const QRectF& visible, const QRectF& frame);

    /// `frame` moved the least distance that puts it inside `container` (both y-up); a frame
    /// larger than the container keeps its left and top edges on the container's.
    static QRectF keptInside(const QRectF& frame, const QRectF& container);

    /// The clockwise outline around the view frame (body, rounded corners, arrow), starting at
    /// the top edge's left end.
    static std::vector<TorOutlineStep> outline(const QRectF& viewFrame, int side, const TorAttachedMetrics& metrics);
    static QPainterPath outlinePath(const QRectF& viewFrame, int side, const TorAttachedMetrics& metrics);

    /// The clamping rules of the size setters, given the view frame's size.
    static float clampedBorderWidth(float value, const TorAttachedMetrics& metrics);
    static float clampedViewMargin(float value);
    static float clampedArrowBaseWidth(float value, const QSizeF& viewSize, const TorAttachedMetrics& metrics);
    static float clampedCornerRadius(float value, const QSizeF& viewSize, const TorAttachedMetrics& metrics);
};

} // namespace vantrel
