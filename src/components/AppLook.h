#pragma once

#include <QColor>
#include <QPalette>

class QApplication;

namespace vantrel {

/// The application's look: the Fusion style with its own dark palette, so the desktop's theme
/// (dark or light) never leaks into standard controls, and one focus ring (FocusRing) that shows
/// the keyboard focus on every control, whatever its style sheet paints.
class AppLook {
public:
    AppLook() = delete;

    static void apply(QApplication& app);
    static QPalette palette();

    static QColor panelColor() { return { 36, 41, 50 }; }
    static QColor popupColor() { return { 54, 63, 78 }; }
    static QColor accentColor() { return { 66, 180, 211 }; }
    static QColor labelColor() { return { 255, 255, 255 }; }
    static QColor disabledLabelColor() { return { 195, 204, 233 }; }
    /// The keyboard focus ring (FocusRing): lighter than the accent, so it shows on accent fills.
    static QColor focusColor() { return { 150, 226, 246 }; }
};

} // namespace vantrel
