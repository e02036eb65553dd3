#pragma once

// Typing the way a user types: each key goes to the application's focused widget as the window
// system delivers it (QTest's key events, with the shortcut override first, through every event
// filter and up the widget's parents), a modifier is pressed on its own before the key that it
// holds and released after it.
#include <QApplication>
#include <QString>
#include <QTest>
#include <QWidget>

namespace vantrel::test {

/// The widget that receives the next key: the focused widget, else the active window.
inline QWidget* keyReceiver()
{
    QWidget* focus = QApplication::focusWidget();
    return focus ? focus : QApplication::activeWindow();
}

/// A key going down; nothing when no window of the application has the keyboard (a release
/// after the key closed the last one).
inline void keyDown(Qt::Key key, Qt::KeyboardModifiers held, const QString& text = {})
{
    if (QWidget* receiver = keyReceiver())
        QTest::sendKeyEvent(QTest::Press, receiver, key, text, held);
}

inline void keyUp(Qt::Key key, Qt::KeyboardModifiers held, const QString& text = {})
{
    if (QWidget* receiver = keyReceiver())
        QTest::sendKeyEvent(QTest::Release, receiver, key, text, held);
}

/// True for the characters a US keyboard types with Shift held.
inline bool needsShift(QChar c)
{
    return c.isUpper() || QStringLiteral("~!@#$%^&*()_+{}|:\"<>?").contains(c);
}

inline void typeAsUser(const QString& text)
{
    for (const QChar c : text) {
        const Qt::Key key = Qt::Key(QTest::asciiToKey(c.toLatin1()));
        if (needsShift(c)) {
            keyDown(Qt::Key_Shift, Qt::NoModifier);
            keyDown(key, Qt::ShiftModifier, QString(c));
            keyUp(key, Qt::ShiftModifier, QString(c));
            keyUp(Qt::Key_Shift, Qt::ShiftModifier);
        } else {
            keyDown(key, Qt::NoModifier, QString(c));
            keyUp(key, Qt::NoModifier, QString(c));
        }
    }
}

/// A key with Control held, Control pressed and released on its own around it.
inline void controlKey(Qt::Key key)
{
    keyDown(Qt::Key_Control, Qt::NoModifier);
    keyDown(key, Qt::ControlModifier);
    keyUp(key, Qt::ControlModifier);
    keyUp(Qt::Key_Control, Qt::ControlModifier);
}

/// A key alone (Return, Escape, Tab) or with Shift held (Shift+Tab comes as Backtab).
inline void pressKey(Qt::Key key, bool shift = false)
{
    if (shift)
        keyDown(Qt::Key_Shift, Qt::NoModifier);
    const Qt::KeyboardModifiers held = shift ? Qt::ShiftModifier : Qt::NoModifier;
    const Qt::Key sent = shift && key == Qt::Key_Tab ? Qt::Key_Backtab : key;
    const QString text = key == Qt::Key_Return ? QStringLiteral("\r")
        : key == Qt::Key_Escape                ? QString(QChar(27))
        : key == Qt::Key_Tab                   ? QStringLiteral("\t")
                                               : QString();
    keyDown(sent, held, text);
    keyUp(sent, held, text);
    if (shift)
        keyUp(Qt::Key_Shift, Qt::ShiftModifier);
}

} // namespace vantrel::test
