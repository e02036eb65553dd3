#pragma once

#include <functional>

#include <QList>
#include <QPointer>
#include <QWidget>

class QAbstractButton;
class QKeyEvent;

namespace vantrel {

/// A sheet: content shown over a window, inside it, dropping from the bottom of its title bar.
/// The overlay covers the top-level window below the height in its "vantrelSheetTop" property
/// (int px, 0 when unset), dims what lies under it and keeps mouse, wheel, drop and key input
/// away from it while the sheet is up (the title bar above it stays usable for the mouse). The
/// content is centred horizontally at the overlay's top.
///
/// The sheet is modal for the keyboard: focus enters it when it opens (its first text field in
/// reading order, else its default button, else its first focusable control) and goes back to
/// where it was when it ends; while it is the topmost sheet, focus never leaves it, Tab and
/// Shift+Tab cycle through its own controls in reading order, and no key (a lone modifier
/// included) or shortcut reaches the window under it, except the application-wide shortcuts of
/// the menu (actions with Qt::ApplicationShortcut). Return and Enter click the focused push
/// button; from a text field, or where no button has focus, they click the default button
/// (setDefaultButton, else a QPushButton marked default). Escape clicks the button marked for it
/// (setCancelButton: the sheet's Cancel, else its No, else an only button that just
/// acknowledges; never an answer that removes or discards something) and does nothing without
/// one. Only visible, enabled buttons answer, so one content can show different buttons each time.
///
/// The content is sized by its own hints: its width as it is (or its size hint when it has
/// none), its height by heightForWidth or its size hint, never more than the overlay; a control
/// that appears later (an error line) grows it again.
///
/// Nothing waits: beginSheet returns at once and the answer arrives in the completion. Ending
/// hides the content and gives it back to the window (not deleted), so callers can show it
/// again. The sheet does not change the application's sub-window flag; callers keep that as
/// their screen requires. A second sheet begun on the same window stacks above the first, but the
/// same content is never begun twice: while it is up, beginSheet returns the sheet showing it.
///
/// A window of its own that the window owns and that covers it (a log window over the whole main
/// window) would hide the sheet and leave its question unseen: such a window, marked with the
/// kClosesForSheetProperty, is closed when a sheet begins, after the sheet holds the window, so
/// that its close handler can tell that a sheet is up.
class Sheet : public QWidget {
    Q_OBJECT

public:
    using Completion = std::function<void(int returnCode)>;

    static constexpr const char* kSheetTopProperty = "vantrelSheetTop";
    static constexpr const char* kDefaultButtonProperty = "vantrelSheetDefault";
    static constexpr const char* kCancelButtonProperty = "vantrelSheetCancel";
    /// Marks a child of the content as an alert inside the sheet (a message laid over the form):
    /// while it shows, focus, Tab, Return and Escape belong to it alone, and focus goes back to
    /// where it was in the sheet when it hides.
    static constexpr const char* kInnerAlertProperty = "vantrelSheetInnerAlert";
    /// Marks a child window of the top-level window (bool) to be closed when a sheet begins.
    static constexpr const char* kClosesForSheetProperty = "vantrelClosesForSheet";

    /// Shows the content as a sheet of window->window(). Returns the sheet, owned by that window
    /// and deleted after it ends; nullptr without a window or content.
    static Sheet* beginSheet(QWidget* window, QWidget* content, Completion done = {});
    /// The topmost sheet still up on window->window(), nullptr when none.
    static Sheet* activeSheet(QWidget* window);
    /// Runs `then` now when no sheet is up on window->window(), else once every sheet up there
    /// has been answered (one question at a time); never after `context` is gone.
    static void whenNoSheet(QWidget* window, QObject* context, std::function<void()> then);

    /// Marks the button that Return clicks (or unmarks it), wherever it is shown as a sheet.
    static void setDefaultButton(QAbstractButton* button, bool isDefault = true);
    /// Marks the button that Escape clicks (or unmarks it): see the class comment for which.
    static void setCancelButton(QAbstractButton* button, bool isCancel = true);

    /// Hides the sheet, returns the content to the window and calls the completion once.
    /// Later calls do nothing.
    void endSheet(int returnCode = 0);

    /// Puts focus where an opening sheet puts it; for content that changes its controls in place.
    void focusFirstControl();
    /// The sheet's focusable controls (visible, enabled, taking Tab) in reading order: rows from
    /// top to bottom, each from left to right.
    QList<QWidget*> focusOrder() const;
    /// The visible, enabled button Return and Escape answer with; nullptr when none.
    QAbstractButton* defaultButton() const;
    QAbstractButton* cancelButton() const;

    QWidget* content() const { return m_content; }
    bool isActive() const { return m_active; }

signals:
    /// The sheet has ended and its completion has run; the window may hold another sheet by now.
    void ended();

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    bool focusNextPrevChild(bool next) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    Sheet(QWidget* topLevel, QWidget* content, Completion done);
    void layoutInWindow();
    void fitContent();
    bool blocksInput(QObject* receiver, QEvent* event) const;
    bool isApplicationShortcut(const QKeyEvent* event) const;
    void keepFocusInside(QWidget* now);
    QAbstractButton* markedButton(const char* property) const;
    /// The part of the content that has the keyboard: a showing inner alert, else the content.
    QWidget* keyboardRoot() const;
    void innerAlertShown(bool shown);

    QPointer<QWidget> m_topLevel;
    QPointer<QWidget> m_content;
    QPointer<QWidget> m_previousFocus;
    bool m_previousRinged = false;
    QPointer<QWidget> m_lastFocusInside;
    QPointer<QWidget> m_focusBeforeInnerAlert;
    Completion m_done;
    bool m_active = true;
};

} // namespace vantrel
