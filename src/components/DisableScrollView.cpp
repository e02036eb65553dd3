#include "components/DisableScrollView.h"

#include <QWheelEvent>

namespace vantrel {

DisableScrollView::DisableScrollView(QWidget* parent)
    : QScrollArea(parent)
{
}

void DisableScrollView::wheelEvent(QWheelEvent* event)
{
    if (m_scrollingEnabled) {
        QScrollArea::wheelEvent(event);
        return;
    }
    event->accept();
}

} // namespace vantrel
