#pragma once

#include <QPointer>
#include <QWidget>

namespace vantrel {

/// The keyboard focus, drawn the same way on every control of the application whatever its
/// style sheet or own painting: a ring in the look's focus colour just inside the focused
/// control's edge (a light line with a dark one inside it, so it shows on the dark panels and on
/// the accent-filled buttons alike).
///
/// One ring follows focus through the whole application (install() once, from AppLook::apply):
/// it shows on a control that takes Tab focus when the control gains focus from the keyboard or
/// the program (a text field, list or grid shows it however it gained focus), and goes when the
/// control loses focus, is hidden or deleted. A mouse click on a button focuses it without a
/// ring, as on the platform. The ring is a child of the focused control, transparent for the mouse. On a list or
/// table it goes round the current row, on a control that names its focus rectangle
/// (setFocusRect, the batch grid's current item) round that.
class FocusRing : public QWidget {
    Q_OBJECT

public:
    /// Starts following focus in the application; later calls do nothing.
    static void install();
    /// The control the ring is drawn on now, nullptr when it shows nowhere.
    static QWidget* ringedWidget();
    /// Where the ring is drawn, in the ringed control's coordinates; empty when it shows nowhere.
    static QRect ringRect();
    /// Where in the control its focus is (its current item), in the control's coordinates; the
    /// ring goes round that part instead of the whole control. An invalid rectangle gives the
    /// whole control back. Controls with items (the batch grid) keep it up to date.
    static void setFocusRect(QWidget* control, const QRect& rect);
    static constexpr const char* kFocusRectProperty = "vantrelFocusRect";

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    explicit FocusRing(QWidget* target);
    static bool wantsRing(const QWidget* widget, Qt::FocusReason reason);
    static void showOn(QWidget* target);
    static void hideRing();
    void place();
    void placeNowAndLater();

    QPointer<QWidget> m_target;
};

} // namespace vantrel
