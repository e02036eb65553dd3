#pragma once

#include <optional>

#include <QList>
#include <QPointF>
#include <QRectF>
#include <QSizeF>

namespace vantrel::TitleBarLayout {

// The title-bar window's layout rules. Rectangles are y-up (origin at the bottom-left of the
// window's frame, y growing upwards) unless a name says otherwise; the window flips them once
// when it places its widgets. Every function is pure.

/// The nearest integer, halves away from zero.
double roundHalfAway(double value);

/// The container over the top of the frame: full width, `titleBarHeight` high, at the top.
QRectF containerFrame(const QRectF& frame, double titleBarHeight);

struct TrafficLightOptions {
    double leftMargin = 3.0;
    double separation = 6.0;
    double topMargin = 0.0;
    bool centred = true;
    bool vertical = false;
};

struct TrafficLightFrames {
    QRectF close;
    QRectF minimize;
    QRectF zoom;
};

/// Close, minimise and zoom inside the container B: side by side (one y, x from the left margin
/// by width + separation) or stacked (zoom lowest, each next one height + separation - 2 higher).
TrafficLightFrames trafficLights(
    const QRectF& container, QSizeF close, QSizeF minimize, QSizeF zoom, const TrafficLightOptions& options);

struct FullScreenButtonOptions {
    double rightMargin = 3.0;
    bool rightMarginSetExplicitly = false;
    double topMargin = 0.0;
    bool centred = false;
};

/// The full-screen button at the right of the container. Unless the right margin was set
/// explicitly, it is first taken from the button's current frame (so the button keeps its x);
/// `options.rightMargin` then holds the margin used.
QRectF fullScreenButton(const QRectF& container, const QRectF& current, FullScreenButtonOptions& options);

/// The content below the bar: x, y and width kept, height = frame height - title-bar height.
/// Nothing when that is the frame the content already has.
std::optional<QRectF> repositionedContent(const QRectF& content, double frameHeight, double titleBarHeight);

/// Where a sheet opens: x, width and height kept, its y (top edge) at frame height - title-bar
/// height, so the sheet drops from below the bar.
QRectF sheetRect(const QRectF& sheet, double frameHeight, double titleBarHeight);

/// The title's frame in the bar's bounds for a text of the given size: centred horizontally,
/// 2 below the top, or centred vertically (floored) when asked.
QRectF titleFrame(const QRectF& bounds, QSizeF text, bool verticallyCentred);

/// y-up <-> y-down inside a container of that height (its own inverse).
QRectF flipped(const QRectF& rect, double containerHeight);

/// Screen coordinates (y-down): the window's new top-left when the mouse, which went down at
/// `pressInWindow` inside the window, is now at `mouseOnScreen`; the top never rises above the
/// screen's top.
QPointF draggedWindowOrigin(QPointF pressInWindow, QPointF mouseOnScreen, const QRectF& screen);

/// Screen coordinates (y-down): the top a window at `frame` is moved down to so that its top
/// is not above the highest screen it spans horizontally (its title bar stays reachable);
/// nothing when it is not above, or when no screen lies under it.
std::optional<double> clampedWindowTop(const QRectF& frame, const QList<QRectF>& screens);

/// Widget coordinates (y-down): which edges a point lies on, within `margin` of the window's
/// border. Corners give two edges. Nothing (0) inside.
int resizeEdgesAt(QPointF point, QSizeF window, double margin);

/// Screen coordinates (y-down): the window's geometry after the edges were dragged by `delta`,
/// never smaller than `minimum` (the opposite edges stay put).
QRectF resizedGeometry(const QRectF& start, int edges, QPointF delta, QSizeF minimum);

/// Edge bits used by resizeEdgesAt and resizedGeometry (the values of Qt::Edge).
inline constexpr int kTopEdge = 0x1;
inline constexpr int kLeftEdge = 0x2;
inline constexpr int kRightEdge = 0x4;
inline constexpr int kBottomEdge = 0x8;

} // namespace vantrel::TitleBarLayout
