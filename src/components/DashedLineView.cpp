#include "components/DashedLineView.h"

#include <QPainter>

#include "components/Geometry.h"

namespace vantrel {

DashedLineView::DashedLineView(QWidget* parent)
    : QWidget(parent)
{
}

QRectF DashedLineView::borderRect(const QSizeF& bounds)
{
    const QRectF yUp(2, 2, bounds.width() - 3, bounds.height() - 3);
    return Geometry::flipY(yUp, bounds.height());
}

QColor DashedLineView::lineColor()
{
    QColor c(115, 124, 151);
    c.setAlphaF(0.2f);
    return c;
}

void DashedLineView::paintEvent(QPaintEvent* /*event*/)
{
    const QRectF border = borderRect(size());
    if (border.width() <= 0 || border.height() <= 0)
        return;
    QPainter painter(this);
    QPen pen(lineColor(), 2);
    pen.setDashPattern({ 7.5, 7.5 }); // in pen widths: 15 on, 15 off
    pen.setCapStyle(Qt::FlatCap);
    pen.setJoinStyle(Qt::MiterJoin);
    painter.setPen(pen);
    painter.drawRect(border);
}

} // namespace vantrel
