#pragma once

class QWidget;

namespace vantrel {

/// The toolbox's operations on windows.
class UtilsWindows {
public:
    /// Moves `window` so that its frame is centred on the frame of `inCenterOfWindow` (size
    /// kept), repaints it and shows it. Works for top-level windows and for in-window panels
    /// alike (coordinates are compared on screen).
    static void setWindow(QWidget* window, const QWidget* inCenterOfWindow);
    /// A window-resize notification: nothing to do.
    static void windowDidResize(QWidget* window);
};

} // namespace vantrel
