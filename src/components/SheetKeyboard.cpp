// The keyboard side of a sheet: its default and cancel buttons, where focus enters and how Tab
// walks, and the keys it keeps from the window under it.
#include "components/Sheet.h"

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextEdit>

#include "components/FocusedButtonKeys.h"
#include "components/ReadingOrder.h"

namespace vantrel {

namespace {

bool isTextField(const QWidget* widget)
{
    if (const auto* line = qobject_cast<const QLineEdit*>(widget))
        return !line->isReadOnly();
    if (const auto* plain = qobject_cast<const QPlainTextEdit*>(widget))
        return !plain->isReadOnly();
    if (const auto* rich = qobject_cast<const QTextEdit*>(widget))
        return !rich->isReadOnly();
    return qobject_cast<const QAbstractSpinBox*>(widget) != nullptr;
}

bool isUsable(const QAbstractButton* button, const QWidget* root)
{
    return button && button->isVisibleTo(root) && button->isEnabled();
}

} // namespace

void Sheet::setDefaultButton(QAbstractButton* button, bool isDefault)
{
    if (!button)
        return;
    button->setProperty(kDefaultButtonProperty, isDefault);
    // The style draws a push button marked default as the one Return answers.
    if (auto* push = qobject_cast<QPushButton*>(button)) {
        push->setAutoDefault(false);
        push->setDefault(isDefault);
    }
}

void Sheet::setCancelButton(QAbstractButton* button, bool isCancel)
{
    if (button)
        button->setProperty(kCancelButtonProperty, isCancel);
}

QWidget* Sheet::keyboardRoot() const
{
    if (!m_content)
        return nullptr;
    QWidget* root = m_content;
    for (QWidget* child : m_content->findChildren<QWidget*>()) {
        if (child->property(kInnerAlertProperty).toBool() && child->isVisibleTo(m_content))
            root = child;
    }
    return root;
}

QList<QWidget*> Sheet::focusOrder() const
{
    QWidget* root = keyboardRoot();
    if (!root)
        return {};
    QList<QWidget*> order = ReadingOrder::controls(root);
    if (root->focusPolicy() & Qt::TabFocus && order.isEmpty())
        order.append(root);
    return order;
}

void Sheet::innerAlertShown(bool shown)
{
    if (shown) {
        if (QWidget* focus = QApplication::focusWidget(); focus && isAncestorOf(focus))
            m_focusBeforeInnerAlert = focus;
        focusFirstControl();
        return;
    }
    if (m_focusBeforeInnerAlert && m_focusBeforeInnerAlert->isVisible())
        m_focusBeforeInnerAlert->setFocus(Qt::OtherFocusReason);
    else
        focusFirstControl();
}

QAbstractButton* Sheet::markedButton(const char* property) const
{
    QWidget* root = keyboardRoot();
    if (!root)
        return nullptr;
    for (QAbstractButton* button : root->findChildren<QAbstractButton*>()) {
        if (button->property(property).toBool() && isUsable(button, root))
            return button;
    }
    return nullptr;
}

QAbstractButton* Sheet::defaultButton() const
{
    if (QAbstractButton* marked = markedButton(kDefaultButtonProperty))
        return marked;
    QWidget* root = keyboardRoot();
    if (!root)
        return nullptr;
    for (QPushButton* button : root->findChildren<QPushButton*>()) {
        if (button->isDefault() && isUsable(button, root))
            return button;
    }
    return nullptr;
}

QAbstractButton* Sheet::cancelButton() const
{
    return markedButton(kCancelButtonProperty);
}

void Sheet::focusFirstControl()
{
    const QList<QWidget*> order = focusOrder();
    QWidget* target = nullptr;
    for (QWidget* widget : order) {
        if (isTextField(widget)) {
            target = widget;
            break;
        }
    }
    if (!target)
        target = defaultButton();
    if (!target && !order.isEmpty())
        target = order.first();
    if (target) {
        m_lastFocusInside = target;
        target->setFocus(Qt::OtherFocusReason);
        return;
    }
    // Nothing to focus: the overlay holds the keyboard so that nothing under it does.
    setFocusPolicy(Qt::StrongFocus);
    setFocus(Qt::OtherFocusReason);
}

bool Sheet::focusNextPrevChild(bool next)
{
    if (!m_active)
        return QWidget::focusNextPrevChild(next);
    ReadingOrder::moveFocus(focusOrder(), next);
    return true;
}

void Sheet::keepFocusInside(QWidget* now)
{
    if (!m_active || !now || !m_topLevel)
        return;
    if (now == this || isAncestorOf(now)) {
        if (now != this)
            m_lastFocusInside = now;
        return;
    }
    if (now->window() != m_topLevel || activeSheet(m_topLevel) != this)
        return;
    if (m_lastFocusInside && m_lastFocusInside->isVisible() && m_lastFocusInside->isEnabled())
        m_lastFocusInside->setFocus(Qt::OtherFocusReason);
    else
        focusFirstControl();
}

bool Sheet::isApplicationShortcut(const QKeyEvent* event) const
{
    if (!m_topLevel)
        return false;
    const QKeySequence pressed(QKeyCombination(event->modifiers() & ~Qt::KeypadModifier, Qt::Key(event->key())));
    QList<QAction*> actions = m_topLevel->actions();
    actions += m_topLevel->findChildren<QAction*>();
    for (const QAction* action : std::as_const(actions)) {
        if (!action->isEnabled() || action->shortcutContext() != Qt::ApplicationShortcut)
            continue;
        for (const QKeySequence& shortcut : action->shortcuts()) {
            if (shortcut.matches(pressed) == QKeySequence::ExactMatch)
                return true;
        }
    }
    return false;
}

bool Sheet::event(QEvent* event)
{
    // Keys the focused control did not take end here instead of travelling on to the window.
    switch (event->type()) {
    case QEvent::ShortcutOverride: {
        auto* key = static_cast<QKeyEvent*>(event);
        if (!m_active || isApplicationShortcut(key)) {
            key->ignore();
            return false;
        }
        key->accept();
        return true;
    }
    case QEvent::LayoutRequest:
        fitContent(); // the content's size hint changed
        break;
    case QEvent::KeyRelease:
        if (m_active) {
            event->accept();
            return true;
        }
        break;
    default:
        break;
    }
    return QWidget::event(event);
}

void Sheet::keyPressEvent(QKeyEvent* event)
{
    if (!m_active)
        return QWidget::keyPressEvent(event);
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    QAbstractButton* answer = nullptr;
    if (FocusedButtonKeys::isReturn(event)) {
        // The focused button answers for itself; from a field, or with no button focused, the
        // default button answers.
        QWidget* focus = QApplication::focusWidget();
        QWidget* root = keyboardRoot();
        if (focus && root && root->isAncestorOf(focus))
            answer = FocusedButtonKeys::pressableButton(focus);
        if (!answer)
            answer = defaultButton();
    } else if (event->key() == Qt::Key_Escape && modifiers == Qt::NoModifier) {
        answer = cancelButton();
    }
    event->accept();
    if (answer)
        answer->click();
}

} // namespace vantrel
