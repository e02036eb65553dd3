#pragma once

#include <QList>

class QWidget;

namespace vantrel {

/// The keyboard's walk through a screen follows how it is read: rows from top to bottom, each
/// row from left to right, and a panel (a child widget holding controls) read whole before the
/// next, so the columns of a two-pane step are not interleaved. A row gathers the items whose
/// vertical centre lies within the first (topmost) item of the row.
class ReadingOrder {
public:
    ReadingOrder() = delete;

    /// The controls under root that Tab can reach now (shown, enabled, taking Tab focus, not
    /// forwarding focus to a proxy), in reading order; root itself is not one of them.
    static QList<QWidget*> controls(const QWidget* root);
    /// Chains the controls under root in reading order with QWidget::setTabOrder, the last one
    /// leading to `after` when given; returns the last control (or nullptr when there is none).
    static QWidget* applyTabOrder(const QWidget* root, QWidget* after = nullptr);
    /// Tab (next) or Shift+Tab from the focused control to the next or previous control under
    /// root in reading order, coming round at the ends. False, with focus unchanged, when focus
    /// is not on one of root's controls.
    static bool moveFocus(const QWidget* root, bool next);
    /// Tab (next) or Shift+Tab through the given controls, coming round at the ends; from a
    /// control that is not one of them, to the first (next) or the last.
    static void moveFocus(const QList<QWidget*>& order, bool next);
};

} // namespace vantrel
