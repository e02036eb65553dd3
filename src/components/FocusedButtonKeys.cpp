#include "components/FocusedButtonKeys.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QKeyEvent>
#include <QRadioButton>

namespace vantrel {

FocusedButtonKeys::FocusedButtonKeys(QWidget* window)
    : QObject(window)
    , m_window(window)
{
    qApp->installEventFilter(this);
}

FocusedButtonKeys::~FocusedButtonKeys()
{
    qApp->removeEventFilter(this);
}

bool FocusedButtonKeys::isReturn(const QKeyEvent* event)
{
    const int key = event->key();
    return (key == Qt::Key_Return || key == Qt::Key_Enter)
        && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
}

QAbstractButton* FocusedButtonKeys::pressableButton(QWidget* widget)
{
    auto* button = qobject_cast<QAbstractButton*>(widget);
    if (!button || qobject_cast<QCheckBox*>(button) || qobject_cast<QRadioButton*>(button))
        return nullptr;
    return button->isVisible() && button->isEnabled() ? button : nullptr;
}

bool FocusedButtonKeys::eventFilter(QObject* watched, QEvent* event)
{
    // Taken where the key arrives, before the button (which ignores Return unless it is a default
    // button) or anything it would travel on to.
    if (event->type() != QEvent::KeyPress || !watched->isWidgetType())
        return false;
    auto* widget = static_cast<QWidget*>(watched);
    if (widget->window() != m_window || widget != QApplication::focusWidget())
        return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    QAbstractButton* button = isReturn(key) ? pressableButton(widget) : nullptr;
    if (!button)
        return false;
    if (!key->isAutoRepeat())
        button->click();
    return true;
}

} // namespace vantrel
