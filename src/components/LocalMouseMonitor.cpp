#include "components/LocalMouseMonitor.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QWidget>

namespace vantrel {

LocalMouseMonitor::LocalMouseMonitor(QObject* owner, Buttons buttons, Handler handler)
    : QObject(owner)
    , m_buttons(buttons)
    , m_handler(std::move(handler))
{
    if (QCoreApplication::instance())
        QCoreApplication::instance()->installEventFilter(this);
}

LocalMouseMonitor::~LocalMouseMonitor()
{
    if (QCoreApplication::instance())
        QCoreApplication::instance()->removeEventFilter(this);
}

bool LocalMouseMonitor::eventFilter(QObject* watched, QEvent* event)
{
    const auto type = event->type();
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonDblClick)
        return false;
    // The window object sees a press before its widget does; report the widget's.
    if (!watched->isWidgetType() || !m_handler)
        return false;
    const auto* mouse = static_cast<QMouseEvent*>(event);
    const Qt::MouseButton button = mouse->button();
    const Button kind = button == Qt::LeftButton ? Button::Left
        : button == Qt::RightButton              ? Button::Right
                                                 : Button::Other;
    if (!m_buttons.testFlag(kind))
        return false;
    const QPointF position = mouse->globalPosition();
    auto* receiver = static_cast<QWidget*>(watched);
    if (m_lastReceiver && receiver != m_lastReceiver && receiver->isAncestorOf(m_lastReceiver)
        && mouse->timestamp() == m_lastTimestamp && position == m_lastPosition && int(button) == m_lastButton
        && int(type) == m_lastType)
        return false;
    m_lastReceiver = receiver;
    m_lastTimestamp = mouse->timestamp();
    m_lastPosition = position;
    m_lastButton = int(button);
    m_lastType = int(type);
    m_handler(receiver, button, position);
    return false;
}

} // namespace vantrel
