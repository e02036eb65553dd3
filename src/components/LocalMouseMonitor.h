#pragma once

#include <functional>

#include <QFlags>
#include <QObject>
#include <QPointF>
#include <QPointer>
#include <QWidget>

class QMouseEvent;

namespace vantrel {

/// Watches every mouse press in the application (left, right or other buttons, as asked) and
/// calls a handler with the widget that receives it. It only watches: the event always goes on
/// to its receiver. The monitor is a child of its owner, so it stops when the owner is
/// destroyed; destroying the monitor itself stops it too.
class LocalMouseMonitor : public QObject {
    Q_OBJECT

public:
    enum class Button { Left = 0x1, Right = 0x2, Other = 0x4 };
    Q_DECLARE_FLAGS(Buttons, Button)

    /// receiver: the widget the press went to; position: global (screen) position.
    using Handler = std::function<void(QWidget* receiver, Qt::MouseButton button, const QPointF& globalPosition)>;

    LocalMouseMonitor(QObject* owner, Buttons buttons, Handler handler);
    ~LocalMouseMonitor() override;

    static Buttons allButtons() { return Buttons(Button::Left) | Button::Right | Button::Other; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    Buttons m_buttons;
    Handler m_handler;
    // A press that a child ignores is offered again to its parents: the same press seen again
    // on an ancestor of the widget it was reported for is not reported twice.
    QPointer<QWidget> m_lastReceiver;
    quint64 m_lastTimestamp = 0;
    QPointF m_lastPosition;
    int m_lastButton = 0;
    int m_lastType = 0;
};

Q_DECLARE_OPERATORS_FOR_FLAGS(LocalMouseMonitor::Buttons)

} // namespace vantrel
