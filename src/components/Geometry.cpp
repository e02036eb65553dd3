#include "components/Geometry.h"

#include <cmath>
#include <limits>

namespace vantrel {

QRectF Geometry::nullRect()
{
    const qreal inf = std::numeric_limits<qreal>::infinity();
    return { inf, inf, 0, 0 };
}

bool Geometry::isNullRect(const QRectF& rect)
{
    return std::isinf(rect.x()) || std::isinf(rect.y());
}

bool Geometry::isEmptyRect(const QRectF& rect)
{
    return isNullRect(rect) || !(rect.width() > 0) || !(rect.height() > 0);
}

bool Geometry::isZeroRect(const QRectF& rect)
{
    return rect.x() == 0 && rect.y() == 0 && rect.width() == 0 && rect.height() == 0;
}

bool Geometry::pointInRect(const QPointF& point, const QRectF& rect)
{
    return !isEmptyRect(rect) && point.x() >= minX(rect) && point.x() < maxX(rect) && point.y() >= minY(rect)
        && point.y() < maxY(rect);
}

bool Geometry::mouseInRect(const QPointF& point, const QRectF& rect, bool flipped)
{
    if (!flipped)
        return pointInRect(point, rect);
    return !isEmptyRect(rect) && point.x() >= minX(rect) && point.x() < maxX(rect) && point.y() > minY(rect)
        && point.y() <= maxY(rect);
}

bool Geometry::containsRect(const QRectF& outer, const QRectF& inner)
{
    return !isEmptyRect(outer) && !isEmptyRect(inner) && minX(inner) >= minX(outer) && maxX(inner) <= maxX(outer)
        && minY(inner) >= minY(outer) && maxY(inner) <= maxY(outer);
}

bool Geometry::intersectsRect(const QRectF& a, const QRectF& b)
{
    return !isEmptyRect(intersectionRect(a, b));
}

QRectF Geometry::unionRect(const QRectF& a, const QRectF& b)
{
    const bool aEmpty = isEmptyRect(a);
    const bool bEmpty = isEmptyRect(b);
    if (aEmpty && bEmpty)
        return zeroRect();
    if (aEmpty)
        return b;
    if (bEmpty)
        return a;
    const qreal x0 = std::min(minX(a), minX(b));
    const qreal y0 = std::min(minY(a), minY(b));
    return { x0, y0, std::max(maxX(a), maxX(b)) - x0, std::max(maxY(a), maxY(b)) - y0 };
}

QRectF Geometry::intersectionRect(const QRectF& a, const QRectF& b)
{
    if (isEmptyRect(a) || isEmptyRect(b))
        return zeroRect();
    const qreal x0 = std::max(minX(a), minX(b));
    const qreal y0 = std::max(minY(a), minY(b));
    const qreal x1 = std::min(maxX(a), maxX(b));
    const qreal y1 = std::min(maxY(a), maxY(b));
    if (x1 <= x0 || y1 <= y0)
        return zeroRect();
    return { x0, y0, x1 - x0, y1 - y0 };
}

QRectF Geometry::insetRect(const QRectF& rect, qreal dx, qreal dy)
{
    if (isNullRect(rect))
        return rect;
    const QRectF inset(rect.x() + dx, rect.y() + dy, rect.width() - 2 * dx, rect.height() - 2 * dy);
    return (inset.width() < 0 || inset.height() < 0) ? zeroRect() : inset;
}

QRectF Geometry::offsetRect(const QRectF& rect, qreal dx, qreal dy)
{
    if (isNullRect(rect))
        return rect;
    return rect.translated(dx, dy);
}

QRectF Geometry::integralRect(const QRectF& rect)
{
    if (isEmptyRect(rect))
        return zeroRect();
    const qreal x0 = std::floor(minX(rect));
    const qreal y0 = std::floor(minY(rect));
    return { x0, y0, std::ceil(maxX(rect)) - x0, std::ceil(maxY(rect)) - y0 };
}

QRectF Geometry::flipY(const QRectF& rect, qreal containerHeight)
{
    if (isNullRect(rect))
        return rect;
    return { rect.x(), containerHeight - rect.y() - rect.height(), rect.width(), rect.height() };
}

QPointF Geometry::flipY(const QPointF& point, qreal containerHeight)
{
    return { point.x(), containerHeight - point.y() };
}

QRectF Geometry::centeredRect(const QSizeF& size, const QRectF& in)
{
    return { midX(in) - size.width() / 2.0, midY(in) - size.height() / 2.0, size.width(), size.height() };
}

} // namespace vantrel
