#pragma once

#include <functional>
#include <memory>
#include <ostream>

#include <QApplication>
#include <QList>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

/// Readable QString values in failure messages.
inline void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toStdString() << '"';
}

namespace vantrel::test {
class LaunchedApp;
} // namespace vantrel::test

namespace vantrel::journeys {

/// The visible top-level window of type T (a menu, a message box, a panel); nullptr when none.
template <typename T> T* visibleTopLevel()
{
    for (QWidget* top : QApplication::topLevelWidgets())
        if (auto* window = qobject_cast<T*>(top); window && window->isVisible())
            return window;
    return nullptr;
}

/// Runs the event loop until `done` holds or `ms` pass; returns `done()`.
bool waitFor(const std::function<bool()>& done, int ms = 30'000);
/// Runs the event loop for `ms` milliseconds.
void settle(int ms = 50);

/// Every visible widget whose accessible name is `name`, inside `scope` (itself included) or,
/// without a scope, inside every visible top-level window.
QList<QWidget*> visibleControls(const QString& name, QWidget* scope = nullptr);
/// The one visible control named `name` (a caption of the same name left aside); nullptr (and
/// `why` says so) when there is none or several.
QWidget* findControl(const QString& name, QWidget* scope = nullptr, QString* why = nullptr);

/// Whether a user can click the control: it is visible and enabled, no modal window blocks
/// its window, and the widget under its centre (inside its window and on the X server's
/// stacking) is the control or one of its children.
::testing::AssertionResult isReachable(QWidget* control, const QString& name);

/// Clicks "the control named `name`" as a user does: pointer moved over its centre (the box of
/// a check box or radio button), then a press and a release on its top-level window, through
/// the window system's event path. Fails naming the control when it is missing, hidden,
/// disabled or covered.
::testing::AssertionResult clickControl(const QString& name, QWidget* scope = nullptr);
/// The same for a control in hand, at `at` (in its coordinates) when given, with `button`.
::testing::AssertionResult clickWidget(
    QWidget* control, const QString& name, QPoint at = QPoint(-1, -1), Qt::MouseButton button = Qt::LeftButton);

/// Clicks the control named `name` inside the one visible control named `scopeName`.
::testing::AssertionResult clickIn(const QString& scopeName, const QString& name);

/// Presses a key on the window that has the keyboard focus: each modifier is pressed first,
/// on its own, and released after the key.
::testing::AssertionResult pressKey(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
/// Types the text on the window that has the keyboard focus, key by key: capitals and the
/// shifted symbols of a US keyboard get a separate Shift press around them; other characters
/// (non-Latin text) arrive as the text of a key event, as an input method delivers them.
::testing::AssertionResult typeText(const QString& text);
/// Presses Tab (or Shift+Tab) until the control named `name` has the keyboard focus; fails
/// naming the controls the focus went through when it never arrives.
::testing::AssertionResult tabTo(const QString& name, bool backwards = false, int maxPresses = 80);

/// Selects all in the focused field (Ctrl+A) and types the text over it.
::testing::AssertionResult replaceText(const QString& text);

/// The text a control shows (label, button, line edit, text edit), empty for other widgets.
QString textOf(QWidget* control);
/// The text of the one visible control named `name` (empty, with a failure, when it is missing).
QString controlText(const QString& name, QWidget* scope = nullptr);

/// The application as it starts (a LaunchedApp, over a fresh shared state), its main window shown
/// and active.
class RunningApp {
public:
    RunningApp();
    ~RunningApp();

    bool isUp() const;
    /// The main window.
    QWidget* window() const;
    /// How many times the application asked to leave its main loop.
    int exits() const;

private:
    std::unique_ptr<test::LaunchedApp> m_app;
};

} // namespace vantrel::journeys
