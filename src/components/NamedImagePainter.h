#pragma once

#include <array>

#include <QRectF>
#include <QString>

class QPainter;

namespace vantrel {

/// Draws the application's named images (ResourceImages::named) into a painter, in widget
/// (y-down) coordinates. A name that has no image draws nothing, so a missing piece of a
/// three- or nine-part frame leaves its area untouched instead of failing the whole frame.
class NamedImagePainter {
public:
    NamedImagePainter() = delete;

    enum class Orientation { Horizontal, Vertical };

    /// The image scaled into the rect. Returns false when there is no such image.
    static bool drawWhole(QPainter& painter, const QString& name, const QRectF& rect, qreal opacity = 1.0);

    /// A horizontal strip: the start cap at the left at its own width, the end cap at the right,
    /// the fill stretched between them, all at the rect's height (vertical: start at the top,
    /// at the rect's width). Caps wider than the rect share it in proportion.
    static void drawThreePart(QPainter& painter, const QRectF& rect, const QString& start, const QString& fill,
        const QString& end, Orientation orientation = Orientation::Horizontal, qreal opacity = 1.0);

    /// Names in reading order: top-left, top, top-right, left, centre, right, bottom-left,
    /// bottom, bottom-right. Corners keep their size (the top-left and bottom-right fix the
    /// border widths), edges stretch along their side and the centre fills the rest.
    static void drawNinePart(
        QPainter& painter, const QRectF& rect, const std::array<QString, 9>& names, qreal opacity = 1.0);

    /// The rects the three parts occupy (start, fill, end); exposed for layout checks.
    static std::array<QRectF, 3> threePartRects(
        const QRectF& rect, qreal startLength, qreal endLength, Orientation orientation);
};

} // namespace vantrel
