#pragma once

class QEvent;
class QMouseEvent;
class QWheelEvent;

namespace vantrel {

class MouseDownView;

/// What a MouseDownView hands on. Every method is optional: the defaults do nothing.
class MouseDownViewDelegate {
public:
    virtual ~MouseDownViewDelegate() = default;

    virtual void mouseDown(QMouseEvent* /*event*/, MouseDownView* /*view*/) { }
    virtual void mouseDoubbleClicked(QMouseEvent* /*event*/, MouseDownView* /*view*/) { }
    virtual void mouseDragged(QMouseEvent* /*event*/, MouseDownView* /*view*/) { }
    virtual void mouseUp(QMouseEvent* /*event*/, MouseDownView* /*view*/) { }
    virtual void mouseExited(QEvent* /*event*/, MouseDownView* /*view*/) { }
    virtual void scrollWheel(QWheelEvent* /*event*/, MouseDownView* /*view*/) { }
    virtual void rightMouseDown(QMouseEvent* /*event*/) { }
};

} // namespace vantrel
