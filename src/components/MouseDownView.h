#pragma once

#include <QPointer>
#include <QWidget>

namespace vantrel {

class MouseDownViewDelegate;

/// A view that hands its mouse events to a delegate and does nothing else with them: a single
/// press goes to mouseDown, a double click to mouseDoubbleClicked, and drags, releases, exits,
/// wheel turns and right presses to the methods of the same stem. Without a delegate every one
/// of these events, and every key press, is swallowed (never passed to the parent).
///
/// The delegate is not owned. When it is a QObject the view notices its destruction; any other
/// delegate must be cleared (setDelegate(nullptr)) before it goes.
class MouseDownView : public QWidget {
    Q_OBJECT

public:
    explicit MouseDownView(QWidget* parent = nullptr);

    MouseDownViewDelegate* delegate() const;
    void setDelegate(MouseDownViewDelegate* delegate);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    MouseDownViewDelegate* m_delegate = nullptr;
    QPointer<QObject> m_delegateObject; // set when the delegate is a QObject
    bool m_delegateIsObject = false;
};

} // namespace vantrel
