#include "components/TorAttachedWindowGeometry.h"

#include <algorithm>
#include <cmath>

namespace vantrel {

namespace {

enum class Corner { TopLeft, TopRight, BottomRight, BottomLeft };

// Next to an arrow that starts at a body end, that corner may be left square.
bool isCornerBesideArrow(Corner corner, int side)
{
    switch (corner) {
    case Corner::TopLeft:
        return side == TorSideRightHanging || side == TorSideBelowRightward;
    case Corner::TopRight:
        return side == TorSideLeftHanging || side == TorSideBelowLeftward;
    case Corner::BottomRight:
        return side == TorSideLeftRising || side == TorSideAboveLeftward;
    case Corner::BottomLeft:
        return side == TorSideRightRising || side == TorSideAboveRightward;
    }
    return false;
}

class OutlineBuilder {
public:
    std::vector<TorOutlineStep> steps;

    void moveTo(QPointF p)
    {
        steps.push_back({ TorOutlineStep::Kind::Move, p, {} });
        m_current = p;
    }
    void lineTo(QPointF p)
    {
        if (p == m_current)
            return;
        steps.push_back({ TorOutlineStep::Kind::Line, p, {} });
        m_current = p;
    }
    void arcTo(QPointF corner, QPointF p)
    {
        steps.push_back({ TorOutlineStep::Kind::Arc, p, corner });
        m_current = p;
    }

private:
    QPointF m_current;
};

} // namespace

bool TorAttachedWindowGeometry::arrowRoomIsHorizontal(int side)
{
    switch (side) {
    case TorSideLeft:
    case TorSideRight:
    case TorSideLeftRising:
    case TorSideLeftHanging:
    case TorSideRightRising:
    case TorSideRightHanging:
        return true;
    default:
        return false;
    }
}

qreal TorAttachedWindowGeometry::arrowInset(const TorAttachedMetrics& metrics)
{
    return metrics.arrowBaseWidth / 2.0 + (metrics.drawsRoundCornerBesideArrow ? metrics.cornerRadius : 0.0);
}

QSizeF TorAttachedWindowGeometry::windowSize(const QSizeF& viewSize, int side, const TorAttachedMetrics& metrics)
{
    const qreal m = metrics.viewMargin;
    const qreal a = metrics.arrowHeight;
    QSizeF size(viewSize.width() + 2 * m, viewSize.height() + 2 * m);
    if (arrowRoomIsHorizontal(side))
        size.rwidth() += a;
    else if (isPlaceableSide(side))
        size.rheight() += a;
    return size;
}

QRectF TorAttachedWindowGeometry::viewFrame(const QSizeF& viewSize, int side, const TorAttachedMetrics& metrics)
{
    const qreal m = metrics.viewMargin;
    const qreal a = metrics.arrowHeight;
    QRectF frame(m, m, viewSize.width(), viewSize.height());
    if (side == TorSideRight || side == TorSideRightRising || side == TorSideRightHanging)
        frame.moveLeft(frame.x() + a);
    if (side == TorSideAbove || side == TorSideAboveLeftward || side == TorSideAboveRightward)
        frame.moveTop(frame.y() + a);
    return frame;
}

QPointF TorAttachedWindowGeometry::windowOrigin(
    const QPointF& point, const QSizeF& windowSize, int side, qreal d, qreal i)
{
    const qreal px = point.x();
    const qreal py = point.y();
    const qreal w = windowSize.width();
    const qreal h = windowSize.height();
    switch (side) {
    case TorSideLeft:
        return { px - w - d, py - h / 2 };
    case TorSideBelow:
        return { px - w / 2, py - h - d };
    case TorSideRight:
        return { px + d, py - h / 2 };
    case TorSideAbove:
        return { px - w / 2, py + d };
    case TorSideLeftRising:
        return { px - w - d, py - i };
    case TorSideLeftHanging:
        return { px - w - d, py - h + i };
    case TorSideRightRising:
        return { px + d, py - i };
    case TorSideRightHanging:
        return { px + d, py - h + i };
    case TorSideAboveLeftward:
        return { px - w + i, py + d };
    case TorSideAboveRightward:
        return { px - i, py + d };
    case TorSideBelowLeftward:
        return { px - w + i, py - h - d };
    case TorSideBelowRightward:
        return { px - i, py - h - d };
    default:
        return { px - w / 2, py - h - d };
    }
}

QRectF TorAttachedWindowGeometry::windowFrame(
    const QPointF& point, const QSizeF& viewSize, int side, float distance, const TorAttachedMetrics& metrics)
{
    const QSizeF size = windowSize(viewSize, side, metrics);
    return { windowOrigin(point, size, side, distance, arrowInset(metrics)), size };
}

int TorAttachedWindowGeometry::bestSide(const QPointF& point, const QSizeF& viewSize, float distance,
    const TorAttachedMetrics& metrics, const QRectF& visible, const QRectF& frame)
{
    const qreal px = point.x();
    const qreal py = point.y();
    const qreal m = metrics.viewMargin;
    const qreal w = viewSize.width() + 2 * m;
    const qreal h = viewSize.height() + 2 * m;
    const qreal d = static_cast<float>(distance + metrics.arrowHeight);
    const qreal sMinX = visible.x();
    const qreal sMinY = visible.y();
    const qreal sMaxX = visible.x() + visible.width();
    const qreal sMaxY = visible.y() + visible.height();

    int side = TorSideBelow;
    if (py - h - d >= sMinY)
        side = TorSideBelow;
    else if (px + w + d < sMaxX)
        side = TorSideRight;
    else if (px - w - d >= sMinX)
        side = TorSideLeft;
    else if (py + h + d < sMaxY)
        side = TorSideAbove;

    const qreal i = arrowInset(metrics);
    const qreal rMinX = frame.x();
    const qreal rMinY = frame.y();
    const qreal rMaxX = frame.x() + frame.width();
    const qreal rMaxY = frame.y() + frame.height();
    if (side == TorSideLeft || side == TorSideRight) {
        const bool left = side == TorSideLeft;
        if (py - h / 2 < rMinY) {
            if (py + h - i < sMaxY)
                side = left ? TorSideLeftRising : TorSideRightRising;
        } else if (py + h / 2 >= rMaxY) {
            if (py - h + i >= sMinY)
                side = left ? TorSideLeftHanging : TorSideRightHanging;
        }
    } else {
        const bool below = side == TorSideBelow;
        if (px - w / 2 < rMinX) {
            if (px + w - i < sMaxX)
                side = below ? TorSideBelowRightward : TorSideAboveRightward;
        } else if (px + w / 2 >= rMaxX) {
            if (px - w + i >= sMinX)
                side = below ? TorSideBelowLeftward : TorSideAboveLeftward;
        }
    }
    return side;
}

std::vector<TorOutlineStep> TorAttachedWindowGeometry::outline(
    const QRectF& viewFrame, int side, const TorAttachedMetrics& metrics)
{
    const qreal m = metrics.viewMargin;
    const QRectF body = viewFrame.adjusted(-m, -m, m, m);
    // Edges move half a point inwards onto whole points, so a 1-point stroke stays crisp.
    const qreal minX = std::ceil(body.x() + 0.5);
    const qreal maxX = std::floor(body.x() + body.width() - 0.5);
    const qreal minY = std::ceil(body.y() + 0.5);
    const qreal maxY = std::floor(body.y() + body.height() - 0.5);
    const qreal midX = body.x() + body.width() / 2;
    const qreal midY = body.y() + body.height() / 2;
    const qreal r = metrics.cornerRadius;
    const qreal b = metrics.arrowBaseWidth;
    const qreal t = metrics.arrowHeight;
    const bool arrow = metrics.hasArrow;
    const auto rounded = [&](Corner corner) {
        return r > 0 && (metrics.drawsRoundCornerBesideArrow || !isCornerBesideArrow(corner, side));
    };
    const qreal tl = rounded(Corner::TopLeft) ? r : 0;
    const qreal tr = rounded(Corner::TopRight) ? r : 0;
    const qreal br = rounded(Corner::BottomRight) ? r : 0;
    const qreal bl = rounded(Corner::BottomLeft) ? r : 0;

    OutlineBuilder path;
    path.moveTo({ minX + tl, maxY });

    // Top edge, left to right.
    if (arrow && (side == TorSideBelow || side == TorSideBelowLeftward || side == TorSideBelowRightward)) {
        const qreal x = side == TorSideBelowRightward ? minX + tl
            : side == TorSideBelowLeftward            ? maxX - tr - b
                                                      : midX - b / 2;
        path.lineTo({ x, maxY });
        path.lineTo({ x + b / 2, maxY + t });
        path.lineTo({ x + b, maxY });
    }
    path.lineTo({ maxX - tr, maxY });
    if (tr > 0)
        path.arcTo({ maxX, maxY }, { maxX, maxY - tr });

    // Right edge, downwards.
    if (arrow && (side == TorSideLeft || side == TorSideLeftRising || side == TorSideLeftHanging)) {
        const qreal y = side == TorSideLeftHanging ? maxY - tr
            : side == TorSideLeftRising            ? minY + br + b
                                                   : midY + b / 2;
        path.lineTo({ maxX, y });
        path.lineTo({ maxX + t, y - b / 2 });
        path.lineTo({ maxX, y - b });
    }
    path.lineTo({ maxX, minY + br });
    if (br > 0)
        path.arcTo({ maxX, minY }, { maxX - br, minY });

    // Bottom edge, right to left.
    if (arrow && (side == TorSideAbove || side == TorSideAboveLeftward || side == TorSideAboveRightward)) {
        const qreal x = side == TorSideAboveLeftward ? maxX - br
            : side == TorSideAboveRightward          ? minX + bl + b
                                                     : midX + b / 2;
        path.lineTo({ x, minY });
        path.lineTo({ x - b / 2, minY - t });
        path.lineTo({ x - b, minY });
    }
    path.lineTo({ minX + bl, minY });
    if (bl > 0)
        path.arcTo({ minX, minY }, { minX, minY + bl });

    // Left edge, upwards.
    if (arrow && (side == TorSideRight || side == TorSideRightRising || side == TorSideRightHanging)) {
        const qreal y = side == TorSideRightRising ? minY + bl
            : side == TorSideRightHanging          ? maxY - tl - b
                                                   : midY - b / 2;
        path.lineTo({ minX, y });
        path.lineTo({ minX - t, y + b / 2 });
        path.lineTo({ minX, y + b });
    }
    path.lineTo({ minX, maxY - tl });
    if (tl > 0)
        path.arcTo({ minX, maxY }, { minX + tl, maxY });
    return path.steps;
}

QPainterPath TorAttachedWindowGeometry::outlinePath(
    const QRectF& viewFrame, int side, const TorAttachedMetrics& metrics)
{
    // A quarter circle as one cubic: control points at this fraction of the way to the corner.
    constexpr qreal kQuarter = 0.5522847498;
    QPainterPath path;
    for (const auto& step : outline(viewFrame, side, metrics)) {
        switch (step.kind) {
        case TorOutlineStep::Kind::Move:
            path.moveTo(step.to);
            break;
        case TorOutlineStep::Kind::Line:
            path.lineTo(step.to);
            break;
        case TorOutlineStep::Kind::Arc: {
            const QPointF from = path.currentPosition();
            path.cubicTo(from + (step.corner - from) * kQuarter, step.to + (step.corner - step.to) * kQuarter, step.to);
            break;
        }
        }
    }
    path.closeSubpath();
    return path;
}

float TorAttachedWindowGeometry::clampedBorderWidth(float value, const TorAttachedMetrics& metrics)
{
    return value <= metrics.viewMargin ? value : metrics.viewMargin;
}

float TorAttachedWindowGeometry::clampedViewMargin(float value)
{
    return std::max(0.0f, value);
}

float TorAttachedWindowGeometry::clampedArrowBaseWidth(
    float value, const QSizeF& viewSize, const TorAttachedMetrics& metrics)
{
    float limit = 2 * metrics.viewMargin + float(std::min(viewSize.width(), viewSize.height())) - metrics.cornerRadius;
    if (metrics.drawsRoundCornerBesideArrow)
        limit -= metrics.cornerRadius;
    // On a view too small for its corners the limit goes negative: no arrow base at all.
    return std::max(0.0f, value <= limit ? value : limit);
}

float TorAttachedWindowGeometry::clampedCornerRadius(
    float value, const QSizeF& viewSize, const TorAttachedMetrics& metrics)
{
    const float limit
        = (2 * metrics.viewMargin + float(std::min(viewSize.width(), viewSize.height())) - metrics.arrowBaseWidth) / 2;
    return std::max(0.0f, std::min(value, limit));
}

QRectF TorAttachedWindowGeometry::keptInside(const QRectF& frame, const QRectF& container)
{
    if (container.isEmpty())
        return frame;
    QRectF kept = frame;
    // Right and bottom first, so that a frame too large for the container ends on its left and
    // top edges (y-up: the top is maxY).
    if (kept.right() > container.right())
        kept.moveRight(container.right());
    if (kept.left() < container.left())
        kept.moveLeft(container.left());
    if (kept.top() < container.top())
        kept.moveTop(container.top());
    if (kept.bottom() > container.bottom())
        kept.moveBottom(container.bottom());
    return kept;
}

} // namespace vantrel
