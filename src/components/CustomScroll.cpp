#include "components/CustomScroll.h"

#include <QPaintEvent>
#include <QPainter>
#include <QPainterPath>
#include <QStyleOptionSlider>

#include "components/DisableSubviews.h"

namespace vantrel {

CustomScroll::CustomScroll(Qt::Orientation orientation, QWidget* parent)
    : QScrollBar(orientation, parent)
{
    setAccessibleName(orientation == Qt::Vertical ? tr("Vertical scroll bar") : tr("Horizontal scroll bar"));
}

QColor CustomScroll::trackColor(int tag)
{
    switch (tag) {
    case 101:
        return { 36, 41, 50 };
    case 102:
        return Qt::transparent;
    default:
        return Qt::white;
    }
}

QColor CustomScroll::knobColor(int tag)
{
    switch (tag) {
    case 101:
        return { 147, 165, 198 };
    case 102:
        return Qt::white;
    default:
        return { 200, 200, 200 };
    }
}

QRectF CustomScroll::knobRect(const QRectF& sliderArea)
{
    return { sliderArea.x() + 2, sliderArea.y() + 2, sliderArea.width() - 4, sliderArea.height() - 4 };
}

void CustomScroll::paintEvent(QPaintEvent* event)
{
    const int tag = DisableSubviews::tagOf(this);
    QPainter painter(this);
    painter.fillRect(event->rect(), trackColor(tag));
    QStyleOptionSlider option;
    initStyleOption(&option);
    const QRect slider = style()->subControlRect(QStyle::CC_ScrollBar, &option, QStyle::SC_ScrollBarSlider, this);
    const QRectF knob = knobRect(QRectF(slider));
    if (knob.isEmpty())
        return;
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath path;
    path.addRoundedRect(knob, 3, 3);
    painter.fillPath(path, knobColor(tag));
}

} // namespace vantrel
