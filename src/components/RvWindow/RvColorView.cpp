#include "components/RvWindow/RvColorView.h"

#include <QPaintEvent>
#include <QPainter>

namespace vantrel {

RvColorView::RvColorView(QWidget* parent)
    : QWidget(parent)
{
    setAccessibleName(QStringLiteral("Colour view"));
}

void RvColorView::setBackgroundColor(const QColor& color)
{
    m_backgroundColor = color;
    update();
}

void RvColorView::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    painter.fillRect(event->rect(), m_backgroundColor.isValid() ? m_backgroundColor : QColor(Qt::red));
}

} // namespace vantrel
