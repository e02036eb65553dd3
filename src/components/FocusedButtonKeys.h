#pragma once

#include <QObject>

class QAbstractButton;
class QKeyEvent;
class QWidget;

namespace vantrel {

/// Return and Enter on a focused push button press that button, as Space does: a keyboard user
/// acts on the button the focus ring shows, never on another one the window or sheet marks as
/// its default. Check boxes and radio buttons are left out (Return there means the default
/// answer). Installed on the application by a window for its own widgets; a key held down
/// presses once.
class FocusedButtonKeys : public QObject {
    Q_OBJECT
public:
    /// Watches key presses for `window`'s widgets; owned by the window.
    explicit FocusedButtonKeys(QWidget* window);
    ~FocusedButtonKeys() override;

    /// Return or Enter (keypad included) with no other modifier.
    static bool isReturn(const QKeyEvent* event);
    /// `widget` as a push button that Return presses: visible, enabled, not a check box or radio
    /// button; nullptr otherwise.
    static QAbstractButton* pressableButton(QWidget* widget);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* m_window;
};

} // namespace vantrel
