#include "components/UtilsWindows.h"

#include <QRect>
#include <QWidget>

namespace vantrel {

namespace {

/// The frame of a widget in screen coordinates.
QRect screenFrame(const QWidget* widget)
{
    if (widget->isWindow())
        return widget->frameGeometry();
    return { widget->mapToGlobal(QPoint(0, 0)), widget->size() };
}

} // namespace

void UtilsWindows::setWindow(QWidget* window, const QWidget* inCenterOfWindow)
{
    if (!window || !inCenterOfWindow)
        return;
    // A window's frame margins are known once its platform window exists.
    if (window->isWindow())
        (void)window->winId();
    const QRect own = screenFrame(window);
    const QRect other = screenFrame(inCenterOfWindow);
    const QPoint origin(other.x() + (other.width() - own.width()) / 2, other.y() + (other.height() - own.height()) / 2);
    if (window->isWindow() || !window->parentWidget())
        window->move(origin);
    else
        window->move(window->parentWidget()->mapFromGlobal(origin));
    window->update();
    window->show();
}

void UtilsWindows::windowDidResize(QWidget* /*window*/) { }

} // namespace vantrel
