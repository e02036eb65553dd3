#pragma once

#include <functional>

#include <QObject>
#include <QPointer>
#include <QWidget>

namespace vantrel {

/// Closes something with Escape while it is open: watches the keys of the application and, for
/// an Escape that goes to `window` while no sheet is up on it and no application popup (a menu,
/// an open list) holds the keyboard, calls the handler and takes the key. Every other key goes on
/// as it came. The monitor is a child of its owner; destroying it stops it. Main thread only.
class EscapeKeyMonitor : public QObject {
    Q_OBJECT
public:
    EscapeKeyMonitor(QObject* owner, QWidget* window, std::function<void()> handler);
    ~EscapeKeyMonitor() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool isEscapeForWindow(QObject* watched, QEvent* event) const;

    QPointer<QWidget> m_window;
    std::function<void()> m_handler;
};

} // namespace vantrel
