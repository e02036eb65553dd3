#include "components/NamedImagePainter.h"

#include <algorithm>

#include <QImage>
#include <QPainter>

#include "core/ResourceImages.h"

namespace vantrel {

namespace {

void drawImage(QPainter& painter, const QImage& image, const QRectF& rect, qreal opacity)
{
    if (image.isNull() || !(rect.width() > 0) || !(rect.height() > 0))
        return;
    const qreal saved = painter.opacity();
    painter.setOpacity(saved * opacity);
    painter.drawImage(rect, image, QRectF(image.rect()));
    painter.setOpacity(saved);
}

} // namespace

bool NamedImagePainter::drawWhole(QPainter& painter, const QString& name, const QRectF& rect, qreal opacity)
{
    const QImage image = ResourceImages::named(name);
    if (image.isNull())
        return false;
    drawImage(painter, image, rect, opacity);
    return true;
}

std::array<QRectF, 3> NamedImagePainter::threePartRects(
    const QRectF& rect, qreal startLength, qreal endLength, Orientation orientation)
{
    const bool horizontal = orientation == Orientation::Horizontal;
    const qreal length = horizontal ? rect.width() : rect.height();
    qreal a = std::max<qreal>(0, startLength);
    qreal b = std::max<qreal>(0, endLength);
    if (a + b > length && a + b > 0) {
        const qreal scale = std::max<qreal>(0, length) / (a + b);
        a *= scale;
        b *= scale;
    }
    const qreal mid = std::max<qreal>(0, length - a - b);
    if (horizontal) {
        return { QRectF(rect.x(), rect.y(), a, rect.height()), QRectF(rect.x() + a, rect.y(), mid, rect.height()),
            QRectF(rect.x() + a + mid, rect.y(), b, rect.height()) };
    }
    return { QRectF(rect.x(), rect.y(), rect.width(), a), QRectF(rect.x(), rect.y() + a, rect.width(), mid),
        QRectF(rect.x(), rect.y() + a + mid, rect.width(), b) };
}

void NamedImagePainter::drawThreePart(QPainter& painter, const QRectF& rect, const QString& start, const QString& fill,
    const QString& end, Orientation orientation, qreal opacity)
{
    const QImage startImage = ResourceImages::named(start);
    const QImage fillImage = ResourceImages::named(fill);
    const QImage endImage = ResourceImages::named(end);
    const bool horizontal = orientation == Orientation::Horizontal;
    const auto lengthOf = [horizontal](const QImage& image) -> qreal {
        return image.isNull() ? 0 : (horizontal ? image.width() : image.height());
    };
    const auto rects = threePartRects(rect, lengthOf(startImage), lengthOf(endImage), orientation);
    drawImage(painter, fillImage, rects[1], opacity);
    drawImage(painter, startImage, rects[0], opacity);
    drawImage(painter, endImage, rects[2], opacity);
}

void NamedImagePainter::drawNinePart(
    QPainter& painter, const QRectF& rect, const std::array<QString, 9>& names, qreal opacity)
{
    std::array<QImage, 9> images;
    for (size_t i = 0; i < names.size(); ++i)
        images[i] = ResourceImages::named(names[i]);
    const QSize topLeft = images[0].size().expandedTo(QSize(0, 0));
    const QSize bottomRight = images[8].size().expandedTo(QSize(0, 0));
    const auto columns = threePartRects(rect, topLeft.width(), bottomRight.width(), Orientation::Horizontal);
    const auto rows = threePartRects(rect, topLeft.height(), bottomRight.height(), Orientation::Vertical);
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 3; ++column) {
            const QRectF cell(columns[column].x(), rows[row].y(), columns[column].width(), rows[row].height());
            drawImage(painter, images[row * 3 + column], cell, opacity);
        }
    }
}

} // namespace vantrel
