#include "components/BlackView.h"

#include <QPaintEvent>
#include <QPainter>

namespace vantrel {

BlackView::BlackView(QWidget* parent)
    : QWidget(parent)
{
}

void BlackView::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    painter.fillRect(event->rect(), QColor(0, 0, 0, qRound(0.8 * 255)));
}

} // namespace vantrel
