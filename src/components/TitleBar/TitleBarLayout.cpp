#include "components/TitleBar/TitleBarLayout.h"

#include <algorithm>
#include <cmath>

namespace vantrel::TitleBarLayout {

double roundHalfAway(double value)
{
    return std::round(value); // std::round rounds halves away from zero
}

QRectF containerFrame(const QRectF& frame, double titleBarHeight)
{
    const double top = frame.y() + frame.height();
    return { 0.0, top - titleBarHeight, frame.width(), titleBarHeight };
}

TrafficLightFrames trafficLights(
    const QRectF& b, QSizeF close, QSizeF minimize, QSizeF zoom, const TrafficLightOptions& o)
{
    TrafficLightFrames f;
    const double top = b.y() + b.height();
    if (!o.vertical) {
        const double y = o.centred ? roundHalfAway(b.y() + b.height() / 2 - close.height() / 2)
                                   : top - close.height() - o.topMargin;
        const double closeX = o.leftMargin;
        const double minimizeX = closeX + close.width() + o.separation;
        const double zoomX = minimizeX + minimize.width() + o.separation;
        f.close = { closeX, y, close.width(), close.height() };
        f.minimize = { minimizeX, y, minimize.width(), minimize.height() };
        f.zoom = { zoomX, y, zoom.width(), zoom.height() };
        return f;
    }
    const double step = o.separation - 2;
    const double total = close.height() + minimize.height() + zoom.height() + 2 * step;
    const double y0 = o.centred ? roundHalfAway(b.y() + b.height() / 2 - total / 2) : top - total - o.topMargin;
    f.zoom = { o.leftMargin, y0, zoom.width(), zoom.height() };
    f.minimize = { o.leftMargin, y0 + zoom.height() + step, minimize.width(), minimize.height() };
    f.close = { o.leftMargin, f.minimize.y() + minimize.height() + step, close.width(), close.height() };
    return f;
}

QRectF fullScreenButton(const QRectF& b, const QRectF& current, FullScreenButtonOptions& o)
{
    if (!o.rightMarginSetExplicitly)
        o.rightMargin = b.width() - (current.x() + current.width());
    const double x = b.width() - current.width() - o.rightMargin;
    const double y = o.centred ? roundHalfAway(b.y() + b.height() / 2 - current.height() / 2)
                               : b.y() + b.height() - current.height() - o.topMargin;
    return { x, y, current.width(), current.height() };
}

std::optional<QRectF> repositionedContent(const QRectF& content, double frameHeight, double titleBarHeight)
{
    const QRectF wanted(content.x(), content.y(), content.width(), frameHeight - titleBarHeight);
    if (wanted == content)
        return std::nullopt;
    return wanted;
}

QRectF sheetRect(const QRectF& sheet, double frameHeight, double titleBarHeight)
{
    return { sheet.x(), frameHeight - titleBarHeight, sheet.width(), sheet.height() };
}

QRectF titleFrame(const QRectF& bounds, QSizeF text, bool verticallyCentred)
{
    const double x = bounds.x() + bounds.width() / 2 - text.width() / 2;
    double y = bounds.y() + bounds.height() - text.height() - 2;
    if (verticallyCentred)
        y = std::floor(bounds.y() + bounds.height() / 2 - text.height() / 2);
    return { x, y, text.width(), text.height() };
}

QRectF flipped(const QRectF& rect, double containerHeight)
{
    return { rect.x(), containerHeight - rect.y() - rect.height(), rect.width(), rect.height() };
}

QPointF draggedWindowOrigin(QPointF pressInWindow, QPointF mouseOnScreen, const QRectF& screen)
{
    QPointF origin = mouseOnScreen - pressInWindow;
    origin.setY(std::max(origin.y(), screen.y()));
    return origin;
}

std::optional<double> clampedWindowTop(const QRectF& frame, const QList<QRectF>& screens)
{
    std::optional<double> highest;
    for (const QRectF& screen : screens) {
        if (screen.left() < frame.right() && frame.left() < screen.right())
            highest = highest ? std::min(*highest, screen.top()) : screen.top();
    }
    if (!highest || frame.top() >= *highest)
        return std::nullopt;
    return highest;
}

int resizeEdgesAt(QPointF p, QSizeF window, double margin)
{
    if (p.x() < 0 || p.y() < 0 || p.x() >= window.width() || p.y() >= window.height())
        return 0;
    int edges = 0;
    if (p.x() < margin)
        edges |= kLeftEdge;
    else if (p.x() >= window.width() - margin)
        edges |= kRightEdge;
    if (p.y() < margin)
        edges |= kTopEdge;
    else if (p.y() >= window.height() - margin)
        edges |= kBottomEdge;
    return edges;
}

QRectF resizedGeometry(const QRectF& start, int edges, QPointF delta, QSizeF minimum)
{
    double left = start.left();
    double right = start.x() + start.width();
    double top = start.top();
    double bottom = start.y() + start.height();
    if (edges & kLeftEdge)
        left = std::min(left + delta.x(), right - minimum.width());
    if (edges & kRightEdge)
        right = std::max(right + delta.x(), left + minimum.width());
    if (edges & kTopEdge)
        top = std::min(top + delta.y(), bottom - minimum.height());
    if (edges & kBottomEdge)
        bottom = std::max(bottom + delta.y(), top + minimum.height());
    return { left, top, right - left, bottom - top };
}

} // namespace vantrel::TitleBarLayout
