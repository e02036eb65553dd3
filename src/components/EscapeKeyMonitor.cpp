#include "components/EscapeKeyMonitor.h"

#include <QApplication>
#include <QKeyEvent>

#include "components/Sheet.h"

namespace vantrel {

EscapeKeyMonitor::EscapeKeyMonitor(QObject* owner, QWidget* window, std::function<void()> handler)
    : QObject(owner)
    , m_window(window)
    , m_handler(std::move(handler))
{
    qApp->installEventFilter(this);
}

EscapeKeyMonitor::~EscapeKeyMonitor()
{
    qApp->removeEventFilter(this);
}

bool EscapeKeyMonitor::isEscapeForWindow(QObject* watched, QEvent* event) const
{
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::ShortcutOverride)
        return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() != Qt::Key_Escape || key->modifiers() != Qt::NoModifier)
        return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!m_window || !widget || widget->window() != m_window)
        return false;
    // A sheet or a popup of its own answers Escape first.
    return !Sheet::activeSheet(m_window) && !QApplication::activePopupWidget() && !QApplication::activeModalWidget();
}

bool EscapeKeyMonitor::eventFilter(QObject* watched, QEvent* event)
{
    if (!isEscapeForWindow(watched, event))
        return QObject::eventFilter(watched, event);
    // Claimed before any shortcut of the window sees it, then acted on as the key arrives.
    event->accept();
    if (event->type() == QEvent::KeyPress && m_handler) {
        const auto handler = m_handler; // the handler may destroy this monitor
        handler();
    }
    return true;
}

} // namespace vantrel
