#include "JourneyDriver.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QDeadlineTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTest>
#include <QTextEdit>
#include <QWindow>

#include "components/TitleBar/OvAppStoreWindow.h"
#include "core/AppDelegate.h"
#include "xcb/LaunchedApp.h"

namespace vantrel::journeys {

namespace {

QString describe(QWidget* w)
{
    if (!w)
        return QStringLiteral("nothing");
    QString text = QString::fromLatin1(w->metaObject()->className());
    if (!w->accessibleName().isEmpty())
        text += QStringLiteral(" \"%1\"").arg(w->accessibleName());
    else if (!w->objectName().isEmpty())
        text += QStringLiteral(" (%1)").arg(w->objectName());
    return text;
}

void collect(QWidget* root, const QString& name, QList<QWidget*>& found)
{
    if (!root->isVisible())
        return;
    if (root->accessibleName() == name)
        found.append(root);
    for (QObject* child : root->children())
        if (auto* w = qobject_cast<QWidget*>(child); w && !w->isWindow())
            collect(w, name, found);
}

/// The shifted characters of a US keyboard, with the key that carries them.
int shiftedKey(QChar c)
{
    static const QString shifted = QStringLiteral("~!@#$%^&*()_+{}|:\"<>?");
    static const QString plain = QStringLiteral("`1234567890-=[]\\;',./");
    const int i = shifted.indexOf(c);
    return i < 0 ? 0 : plain.at(i).unicode();
}

QWindow* focusWindow()
{
    return QGuiApplication::focusWindow();
}

/// A key event to the window that has the keyboard focus now (a press may have closed the
/// window that had it: the release then goes where the focus went, as on a real keyboard).
void sendKey(bool press, int key, Qt::KeyboardModifiers modifiers, const QString& text = {})
{
    if (QWindow* window = focusWindow())
        qt_handleKeyEvent(window, press ? QEvent::KeyPress : QEvent::KeyRelease, key, modifiers, text);
    QApplication::processEvents();
}

} // namespace

bool waitFor(const std::function<bool()>& done, int ms)
{
    QDeadlineTimer limit(ms);
    while (!done() && !limit.hasExpired())
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    return done();
}

void settle(int ms)
{
    QDeadlineTimer limit(ms);
    while (!limit.hasExpired())
        QApplication::processEvents(QEventLoop::AllEvents, 10);
}

QList<QWidget*> visibleControls(const QString& name, QWidget* scope)
{
    QList<QWidget*> found;
    if (scope) {
        collect(scope, name, found);
        return found;
    }
    for (QWidget* top : QApplication::topLevelWidgets())
        if (top->isVisible())
            collect(top, name, found);
    return found;
}

QWidget* findControl(const QString& name, QWidget* scope, QString* why)
{
    const QList<QWidget*> found = visibleControls(name, scope);
    if (found.size() == 1)
        return found.first();
    if (why) {
        if (found.isEmpty()) {
            *why = QStringLiteral("no visible control named \"%1\"").arg(name);
        } else {
            QStringList where;
            for (QWidget* w : found)
                where << describe(w) + QStringLiteral(" in ") + describe(w->parentWidget());
            *why = QStringLiteral("%1 visible controls named \"%2\": %3")
                       .arg(found.size())
                       .arg(name, where.join(QStringLiteral("; ")));
        }
    }
    return nullptr;
}

::testing::AssertionResult isReachable(QWidget* control, const QString& name)
{
    if (!control)
        return ::testing::AssertionFailure() << "control \"" << name.toStdString() << "\" is missing";
    if (!control->isVisible())
        return ::testing::AssertionFailure() << "control \"" << name.toStdString() << "\" is hidden";
    if (!control->isEnabled())
        return ::testing::AssertionFailure() << "control \"" << name.toStdString() << "\" is disabled";
    QWidget* top = control->window();
    if (QWidget* modal = QApplication::activeModalWidget(); modal && modal != top && !modal->isAncestorOf(top))
        return ::testing::AssertionFailure()
            << "control \"" << name.toStdString() << "\" is blocked by the modal " << describe(modal).toStdString();
    const QPoint centre = control->rect().center();
    const QPoint inTop = control->mapTo(top, centre);
    QWidget* hit = top->childAt(inTop);
    if (!hit)
        hit = top;
    if (hit != control && !control->isAncestorOf(hit))
        return ::testing::AssertionFailure()
            << "control \"" << name.toStdString() << "\" is covered by " << describe(hit).toStdString();
    // The X server's stacking: another window may lie over this one.
    QWidget* onScreen = QApplication::widgetAt(control->mapToGlobal(centre));
    if (onScreen && onScreen != control && !control->isAncestorOf(onScreen))
        return ::testing::AssertionFailure()
            << "control \"" << name.toStdString() << "\" is covered on screen by " << describe(onScreen).toStdString()
            << " of window " << describe(onScreen->window()).toStdString();
    return ::testing::AssertionSuccess();
}

namespace {

/// Where a user clicks a control: on the box of a check box or radio button (a click on the
/// empty stretch of a wide one does nothing), else its centre.
QPoint defaultClickPoint(QWidget* control)
{
    QStyle::SubElement indicator = QStyle::SE_CustomBase;
    QStyleOptionButton option;
    option.initFrom(control);
    if (qobject_cast<QCheckBox*>(control))
        indicator = QStyle::SE_CheckBoxIndicator;
    else if (qobject_cast<QRadioButton*>(control))
        indicator = QStyle::SE_RadioButtonIndicator;
    if (indicator == QStyle::SE_CustomBase)
        return control->rect().center();
    const QRect box = control->style()->subElementRect(indicator, &option, control);
    return box.isValid() ? box.center() : control->rect().center();
}

} // namespace

::testing::AssertionResult clickWidget(QWidget* control, const QString& name, QPoint at, Qt::MouseButton button)
{
    if (::testing::AssertionResult ok = isReachable(control, name); !ok)
        return ok;
    QWidget* top = control->window();
    QWindow* window = top->windowHandle();
    if (!window)
        return ::testing::AssertionFailure() << "control \"" << name.toStdString() << "\" has no window";
    const QPoint local = at.x() < 0 ? defaultClickPoint(control) : at;
    const QPoint pos = control->mapTo(top, local);
    QTest::mouseMove(window, pos);
    QApplication::processEvents();
    QTest::mousePress(window, button, Qt::NoModifier, pos);
    QApplication::processEvents();
    QTest::mouseRelease(window, button, Qt::NoModifier, pos);
    QApplication::processEvents();
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult clickControl(const QString& name, QWidget* scope)
{
    QString why;
    QWidget* control = findControl(name, scope, &why);
    if (!control)
        return ::testing::AssertionFailure() << "cannot click: " << why.toStdString();
    return clickWidget(control, name);
}

::testing::AssertionResult clickIn(const QString& scopeName, const QString& name)
{
    QString why;
    QWidget* scope = findControl(scopeName, nullptr, &why);
    if (!scope)
        return ::testing::AssertionFailure() << "cannot click \"" << name.toStdString() << "\": " << why.toStdString();
    return clickControl(name, scope);
}

::testing::AssertionResult pressKey(int key, Qt::KeyboardModifiers modifiers)
{
    if (!focusWindow())
        return ::testing::AssertionFailure() << "no window has the keyboard focus for key " << key;
    struct Mod {
        Qt::KeyboardModifier flag;
        int key;
    };
    const Mod mods[] = { { Qt::ControlModifier, Qt::Key_Control }, { Qt::AltModifier, Qt::Key_Alt },
        { Qt::ShiftModifier, Qt::Key_Shift }, { Qt::MetaModifier, Qt::Key_Meta } };
    Qt::KeyboardModifiers held;
    for (const Mod& m : mods)
        if (modifiers & m.flag) {
            sendKey(true, m.key, held);
            held |= m.flag;
        }
    QString text;
    if (key == Qt::Key_Return || key == Qt::Key_Enter)
        text = QStringLiteral("\r");
    else if (key == Qt::Key_Escape)
        text = QString(QChar(0x1b));
    else if (key == Qt::Key_Tab && !(modifiers & Qt::ShiftModifier))
        text = QStringLiteral("\t");
    else if (key == Qt::Key_Space)
        text = QStringLiteral(" ");
    if (modifiers & (Qt::ControlModifier | Qt::AltModifier))
        text.clear();
    sendKey(true, key, held, text);
    sendKey(false, key, held, text);
    for (int i = 3; i >= 0; --i)
        if (modifiers & mods[i].flag) {
            held &= ~Qt::KeyboardModifiers(mods[i].flag);
            sendKey(false, mods[i].key, held);
        }
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult typeText(const QString& text)
{
    for (const QChar c : text) {
        if (!focusWindow())
            return ::testing::AssertionFailure()
                << "no window has the keyboard focus to type \"" << text.toStdString() << "\"";
        const int symbolKey = shiftedKey(c);
        const bool shift = c.isUpper() && c.unicode() < 128 ? true : symbolKey != 0;
        int key = 0;
        if (c.unicode() < 128) {
            key = c.isLetter() ? c.toUpper().unicode() : (symbolKey ? symbolKey : c.unicode());
            if (c == ' ')
                key = Qt::Key_Space;
        }
        if (shift)
            sendKey(true, Qt::Key_Shift, Qt::NoModifier);
        const Qt::KeyboardModifiers mods = shift ? Qt::ShiftModifier : Qt::NoModifier;
        sendKey(true, key, mods, QString(c));
        sendKey(false, key, mods, QString(c));
        if (shift)
            sendKey(false, Qt::Key_Shift, Qt::ShiftModifier);
    }
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult tabTo(const QString& name, bool backwards, int maxPresses)
{
    const auto focusName = [] {
        QWidget* focus = QApplication::focusWidget();
        return focus ? focus->accessibleName() : QString();
    };
    QStringList visited;
    for (int i = 0; i <= maxPresses; ++i) {
        QWidget* focus = QApplication::focusWidget();
        if (focus && focus->isVisible() && focusName() == name)
            return ::testing::AssertionSuccess();
        visited << (focus ? describe(focus) : QStringLiteral("nothing"));
        if (::testing::AssertionResult ok = pressKey(Qt::Key_Tab, backwards ? Qt::ShiftModifier : Qt::NoModifier); !ok)
            return ok;
    }
    visited.removeDuplicates();
    return ::testing::AssertionFailure() << "Tab never reached \"" << name.toStdString() << "\"; focus went through: "
                                         << visited.join(QStringLiteral(", ")).toStdString();
}

::testing::AssertionResult replaceText(const QString& text)
{
    if (::testing::AssertionResult ok = pressKey(Qt::Key_A, Qt::ControlModifier); !ok)
        return ok;
    if (text.isEmpty())
        return pressKey(Qt::Key_Backspace);
    return typeText(text);
}

QString textOf(QWidget* control)
{
    if (auto* label = qobject_cast<QLabel*>(control))
        return label->text();
    if (auto* button = qobject_cast<QAbstractButton*>(control))
        return button->text();
    if (auto* edit = qobject_cast<QLineEdit*>(control))
        return edit->text();
    if (auto* edit = qobject_cast<QTextEdit*>(control))
        return edit->toPlainText();
    if (auto* edit = qobject_cast<QPlainTextEdit*>(control))
        return edit->toPlainText();
    return {};
}

QString controlText(const QString& name, QWidget* scope)
{
    QString why;
    QWidget* control = findControl(name, scope, &why);
    if (!control) {
        ADD_FAILURE() << "cannot read: " << why.toStdString();
        return {};
    }
    return textOf(control);
}

RunningApp::RunningApp()
{
    // A fresh start, as a new process has: nothing of an earlier journey's shared state.
    AppDelegate::resetShared();
    m_app = std::make_unique<test::LaunchedApp>();
    if (m_app->window())
        (void)QTest::qWaitForWindowActive(m_app->window());
    settle(100);
}

RunningApp::~RunningApp()
{
    m_app.reset();
    settle(20);
}

bool RunningApp::isUp() const
{
    return m_app->window() && m_app->window()->isActiveWindow();
}

QWidget* RunningApp::window() const
{
    return m_app->window();
}

int RunningApp::exits() const
{
    return m_app->exits();
}

} // namespace vantrel::journeys
