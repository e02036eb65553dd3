#include "components/SegmentedControl/FePathAdditions.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include <QImage>
#include <QPainter>

#include "components/Geometry.h"

namespace vantrel::FePathAdditions {

namespace {

/// Three box blurs approximate a Gaussian of the radius; alpha-premultiplied, in place.
void blurImage(QImage& image, double radius)
{
    const int r = std::max(1, int(std::lround(radius / 2)));
    const int w = image.width();
    const int h = image.height();
    std::vector<quint32> line(size_t(std::max(w, h)));
    for (int pass = 0; pass < 3; ++pass) {
        for (int horizontal = 0; horizontal < 2; ++horizontal) {
            const int length = horizontal ? w : h;
            const int lines = horizontal ? h : w;
            for (int l = 0; l < lines; ++l) {
                auto pixel = [&](int i) -> QRgb& {
                    return horizontal ? reinterpret_cast<QRgb*>(image.scanLine(l))[i]
                                      : reinterpret_cast<QRgb*>(image.scanLine(i))[l];
                };
                int sums[4] = { 0, 0, 0, 0 };
                auto add = [&](QRgb c, int sign) {
                    sums[0] += sign * qAlpha(c);
                    sums[1] += sign * qRed(c);
                    sums[2] += sign * qGreen(c);
                    sums[3] += sign * qBlue(c);
                };
                for (int i = -r; i <= r; ++i)
                    add(i >= 0 && i < length ? pixel(i) : 0, 1);
                const int n = 2 * r + 1;
                for (int i = 0; i < length; ++i) {
                    line[size_t(i)] = qRgba(sums[1] / n, sums[2] / n, sums[3] / n, sums[0] / n);
                    const int out = i - r;
                    const int in = i + r + 1;
                    add(out >= 0 ? pixel(out) : 0, -1);
                    add(in < length ? pixel(in) : 0, 1);
                }
                for (int i = 0; i < length; ++i)
                    pixel(i) = line[size_t(i)];
            }
        }
    }
}

/// Paints `shape` filled with `color` into a transparent image covering `area`, blurs it and
/// draws it shifted by `offset`.
void drawBlurredShape(QPainter& painter, const QPainterPath& shape, const QRectF& area, const QColor& color,
    double radius, const QPointF& offset)
{
    const QRect pixels = area.toAlignedRect();
    if (pixels.isEmpty())
        return;
    QImage image(pixels.size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter shapePainter(&image);
        shapePainter.setRenderHint(QPainter::Antialiasing);
        shapePainter.translate(-pixels.topLeft());
        shapePainter.fillPath(shape, color);
    }
    if (radius > 0)
        blurImage(image, radius);
    painter.drawImage(QPointF(pixels.topLeft()) + offset, image);
}

} // namespace

void strokeInside(QPainter& painter, const QPainterPath& path)
{
    strokeInsideWithinRect(painter, path, QRectF());
}

void strokeInsideWithinRect(QPainter& painter, const QPainterPath& path, const QRectF& rect)
{
    painter.save();
    QPen pen = painter.pen();
    pen.setWidthF(pen.widthF() * 2);
    painter.setPen(pen);
    painter.setClipPath(path, Qt::IntersectClip);
    if (rect.width() > 0 && rect.height() > 0)
        painter.setClipRect(rect, Qt::IntersectClip);
    painter.drawPath(path);
    painter.restore();
}

std::vector<FePathElement> cgPath(const QPainterPath& path)
{
    // A QPainterPath closes a subpath by returning to its start; that return is given as a close.
    std::vector<FePathElement> elements;
    QPointF subpathStart;
    size_t subpathFirst = 0;
    auto endSubpath = [&] {
        if (elements.size() > subpathFirst + 1 && elements.back().points.back() == subpathStart)
            elements.push_back({ FePathElement::Kind::CloseSubpath, {} });
    };
    for (int i = 0; i < path.elementCount(); ++i) {
        const QPainterPath::Element e = path.elementAt(i);
        switch (e.type) {
        case QPainterPath::MoveToElement:
            endSubpath();
            subpathStart = e;
            subpathFirst = elements.size();
            elements.push_back({ FePathElement::Kind::MoveTo, { e } });
            break;
        case QPainterPath::LineToElement:
            elements.push_back({ FePathElement::Kind::LineTo, { e } });
            break;
        case QPainterPath::CurveToElement:
            if (i + 2 < path.elementCount()) {
                elements.push_back(
                    { FePathElement::Kind::CurveTo, { e, path.elementAt(i + 1), path.elementAt(i + 2) } });
                i += 2;
            }
            break;
        default:
            std::fprintf(stderr, "cgPath: a path element of unknown kind is skipped\n");
            break;
        }
    }
    endSubpath();
    return elements;
}

QPainterPath bezierPathWithCGPath(const std::vector<FePathElement>& elements)
{
    QPainterPath path;
    for (const FePathElement& element : elements) {
        const auto& p = element.points;
        switch (element.kind) {
        case FePathElement::Kind::MoveTo:
            if (!p.empty())
                path.moveTo(p[0]);
            break;
        case FePathElement::Kind::LineTo:
            if (!p.empty())
                path.lineTo(p[0]);
            break;
        case FePathElement::Kind::QuadCurveTo:
            if (p.size() >= 2) {
                const QPointF c = path.currentPosition();
                const QPointF q = p[0];
                const QPointF e = p[1];
                path.cubicTo((c + 2 * q) / 3, (e + 2 * q) / 3, e);
            }
            break;
        case FePathElement::Kind::CurveTo:
            if (p.size() >= 3)
                path.cubicTo(p[0], p[1], p[2]);
            break;
        case FePathElement::Kind::CloseSubpath:
            path.closeSubpath();
            break;
        }
    }
    return path;
}

QRectF innerShadowOuterRect(const QPainterPath& path, const FeShadow& shadow)
{
    const double dx = std::abs(shadow.offset.x()) + shadow.blurRadius;
    const double dy = std::abs(shadow.offset.y()) + shadow.blurRadius;
    return path.boundingRect().adjusted(-dx, -dy, dx, dy);
}

void fillWithInnerShadow(QPainter& painter, const QPainterPath& path, const FeShadow& shadow)
{
    painter.save();
    // Everything around the path, blurred and shifted by the offset, seen through the path.
    const QRectF outer = innerShadowOuterRect(path, shadow);
    QPainterPath around;
    around.addRect(outer);
    around.addPath(path);
    around.setFillRule(Qt::OddEvenFill);
    painter.setClipPath(path, Qt::IntersectClip);
    drawBlurredShape(painter, around,
        outer.adjusted(-shadow.blurRadius, -shadow.blurRadius, shadow.blurRadius, shadow.blurRadius), shadow.color,
        shadow.blurRadius, shadow.offset);
    painter.restore();
}

void drawBlurWithColor(QPainter& painter, const QPainterPath& path, const QColor& color, double radius)
{
    const QRectF grown = path.boundingRect().adjusted(-radius, -radius, radius, radius);
    painter.save();
    painter.setClipRect(grown, Qt::IntersectClip);
    drawBlurredShape(painter, path, grown, color, radius, QPointF());
    painter.restore();
}

std::optional<QPainterPath> pathWithStrokeWidth(const QPainterPath&, double)
{
    return std::nullopt;
}

} // namespace vantrel::FePathAdditions
