#pragma once

#include <optional>
#include <vector>

#include <QColor>
#include <QPainterPath>
#include <QPointF>
#include <QRectF>

class QPainter;

namespace vantrel {

/// A shadow: colour, offset and blur radius (offsets in widget coordinates, y down).
struct FeShadow {
    FeShadow() = default;
    FeShadow(const QColor& shadowColor, const QPointF& shadowOffset, double shadowBlurRadius)
        : color(shadowColor)
        , offset(shadowOffset)
        , blurRadius(shadowBlurRadius)
    {
    }
    QColor color;
    QPointF offset;
    double blurRadius = 0;
};

/// One element of a path as a plain list: what a path is exchanged as with code that speaks in
/// elements (moves, lines, quadratic and cubic curves, closes).
struct FePathElement {
    enum class Kind { MoveTo, LineTo, QuadCurveTo, CurveTo, CloseSubpath };
    Kind kind = Kind::MoveTo;
    std::vector<QPointF> points; // control points first, end point last
};

/// Drawing helpers over QPainterPath.
namespace FePathAdditions {

/// Strokes the path with the painter's pen so that the whole visible stroke of the pen's width
/// lies inside the path: the pen is doubled and clipped to the path (and to the rectangle when
/// it has a positive size).
void strokeInside(QPainter& painter, const QPainterPath& path);
void strokeInsideWithinRect(QPainter& painter, const QPainterPath& path, const QRectF& rect);

/// The path's elements in order: moves, lines, cubic curves and closes.
std::vector<FePathElement> cgPath(const QPainterPath& path);
/// A path from elements. A quadratic curve with control point q and end e, from the current point
/// c, becomes the cubic curve to e with control points (c + 2q) / 3 and (e + 2q) / 3.
QPainterPath bezierPathWithCGPath(const std::vector<FePathElement>& elements);

/// Draws the shadow inside the path, as light falling past its edge.
void fillWithInnerShadow(QPainter& painter, const QPainterPath& path, const FeShadow& shadow);
/// Draws a blurred silhouette of the path in the colour; only the blur shows, within the path's
/// bounds grown by the radius.
void drawBlurWithColor(QPainter& painter, const QPainterPath& path, const QColor& color, double radius);

/// The outline of the path stroked at a width: not offered, so always nothing. No caller in the
/// application today.
std::optional<QPainterPath> pathWithStrokeWidth(const QPainterPath& path, double width);

/// The rectangle an inner shadow is drawn from: the path's bounds grown by the offset's size and
/// the blur radius on every side.
QRectF innerShadowOuterRect(const QPainterPath& path, const FeShadow& shadow);

} // namespace FePathAdditions
} // namespace vantrel
