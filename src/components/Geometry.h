#pragma once

#include <QPointF>
#include <QRectF>
#include <QSizeF>

namespace vantrel {

/// Rectangle and point rules in the y-up convention the window geometry is written in: a rect's
/// origin is its bottom-left corner, y grows upwards. Widgets are y-down; convert once, at the
/// widget boundary, with flipY. All functions are pure and safe from any thread.
///
/// Three kinds of "nothing" are kept apart: the null rect (no rect at all, e.g. the intersection
/// of two disjoint rects in nullRect-returning helpers), the zero rect (0, 0, 0, 0) and empty
/// rects (a width or height <= 0 anywhere).
class Geometry {
public:
    Geometry() = delete;

    static QRectF nullRect();
    static QRectF zeroRect() { return {}; }
    static bool isNullRect(const QRectF& rect);
    /// True for the null rect and for any rect whose width or height is <= 0.
    static bool isEmptyRect(const QRectF& rect);
    static bool isZeroRect(const QRectF& rect);

    static qreal minX(const QRectF& r) { return r.x(); }
    static qreal minY(const QRectF& r) { return r.y(); }
    static qreal maxX(const QRectF& r) { return r.x() + r.width(); }
    static qreal maxY(const QRectF& r) { return r.y() + r.height(); }
    static qreal midX(const QRectF& r) { return r.x() + r.width() / 2.0; }
    static qreal midY(const QRectF& r) { return r.y() + r.height() / 2.0; }

    /// A point is inside when minX <= x < maxX and minY <= y < maxY: the far edges are outside,
    /// so two rects that share an edge never both contain a point of it. Empty rects contain
    /// nothing.
    static bool pointInRect(const QPointF& point, const QRectF& rect);
    /// The mouse variant: in a flipped (y-down) view the top edge is outside and the bottom
    /// edge inside, so hit-testing matches what is drawn.
    static bool mouseInRect(const QPointF& point, const QRectF& rect, bool flipped);
    /// True when `inner` is non-empty and lies entirely within `outer`.
    static bool containsRect(const QRectF& outer, const QRectF& inner);
    /// True when the two rects share area (touching edges do not count).
    static bool intersectsRect(const QRectF& a, const QRectF& b);

    /// The smallest rect holding both; an empty rect is ignored, and two empty rects give the
    /// zero rect.
    static QRectF unionRect(const QRectF& a, const QRectF& b);
    /// The common area; empty operands or no common area give the zero rect.
    static QRectF intersectionRect(const QRectF& a, const QRectF& b);
    /// Shrinks by dx on the left and right and dy at the bottom and top (negative grows). A rect
    /// inset past its size is empty and comes back as the zero rect.
    static QRectF insetRect(const QRectF& rect, qreal dx, qreal dy);
    static QRectF offsetRect(const QRectF& rect, qreal dx, qreal dy);
    /// The smallest rect on whole pixels holding the rect; an empty rect gives the zero rect.
    static QRectF integralRect(const QRectF& rect);

    /// y-up <-> y-down inside a container of the given height (the conversion is its own
    /// inverse). The null rect stays null.
    static QRectF flipY(const QRectF& rect, qreal containerHeight);
    static QPointF flipY(const QPointF& point, qreal containerHeight);

    /// A rect of the size centred on the rect's centre.
    static QRectF centeredRect(const QSizeF& size, const QRectF& in);
};

} // namespace vantrel
