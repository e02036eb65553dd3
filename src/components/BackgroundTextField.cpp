#include "components/BackgroundTextField.h"

#include <QPainter>

namespace vantrel {

namespace {

QColor withAlpha(QColor c, float alpha)
{
    c.setAlphaF(alpha);
    return c;
}

} // namespace

BackgroundTextField::BackgroundTextField(QWidget* parent)
    : QLineEdit(parent)
{
    setFrame(false);
}

QColor BackgroundTextField::fillColor()
{
    return withAlpha(QColor(54, 63, 78), 0.8f);
}

QColor BackgroundTextField::strokeColor()
{
    return withAlpha(QColor(128, 142, 165), 0.8f);
}

void BackgroundTextField::paintEvent(QPaintEvent* /*event*/)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(strokeColor(), 1));
    painter.setBrush(fillColor());
    painter.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 1, 1);
}

} // namespace vantrel
