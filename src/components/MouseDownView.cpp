#include "components/MouseDownView.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>

#include "components/MouseDownViewDelegate.h"

namespace vantrel {

MouseDownView::MouseDownView(QWidget* parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_Hover);
}

MouseDownViewDelegate* MouseDownView::delegate() const
{
    // A QObject delegate that was destroyed reads as none.
    if (m_delegateIsObject && !m_delegateObject)
        return nullptr;
    return m_delegate;
}

void MouseDownView::setDelegate(MouseDownViewDelegate* delegate)
{
    m_delegate = delegate;
    m_delegateObject = dynamic_cast<QObject*>(delegate);
    m_delegateIsObject = m_delegateObject != nullptr;
}

void MouseDownView::mousePressEvent(QMouseEvent* event)
{
    event->accept();
    MouseDownViewDelegate* d = delegate();
    if (!d)
        return;
    if (event->button() == Qt::RightButton)
        d->rightMouseDown(event);
    else if (event->button() == Qt::LeftButton)
        d->mouseDown(event, this);
}

void MouseDownView::mouseDoubleClickEvent(QMouseEvent* event)
{
    event->accept();
    if (MouseDownViewDelegate* d = delegate(); d && event->button() == Qt::LeftButton)
        d->mouseDoubbleClicked(event, this);
}

void MouseDownView::mouseMoveEvent(QMouseEvent* event)
{
    event->accept();
    if (MouseDownViewDelegate* d = delegate(); d && (event->buttons() & Qt::LeftButton))
        d->mouseDragged(event, this);
}

void MouseDownView::mouseReleaseEvent(QMouseEvent* event)
{
    event->accept();
    if (MouseDownViewDelegate* d = delegate(); d && event->button() == Qt::LeftButton)
        d->mouseUp(event, this);
}

void MouseDownView::leaveEvent(QEvent* event)
{
    if (MouseDownViewDelegate* d = delegate())
        d->mouseExited(event, this);
}

void MouseDownView::wheelEvent(QWheelEvent* event)
{
    event->accept();
    if (MouseDownViewDelegate* d = delegate())
        d->scrollWheel(event, this);
}

void MouseDownView::keyPressEvent(QKeyEvent* event)
{
    event->accept();
}

} // namespace vantrel
