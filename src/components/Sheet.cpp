#include "components/Sheet.h"

#include <algorithm>

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextEdit>

#include "components/ReadingOrder.h"

namespace vantrel {

namespace {

enum class InputKind { None, Keyboard, Pointed, Following };

// Keyboard input is kept from everything outside the sheet. A press, wheel, menu request or
// drag is kept from what lies under the overlay by where it happens, so the title bar above it
// stays usable; moves and releases follow the widget that took the press.
InputKind inputKind(QEvent::Type type)
{
    switch (type) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
        return InputKind::Keyboard;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
        return InputKind::Pointed;
    case QEvent::MouseMove:
    case QEvent::MouseButtonRelease:
        return InputKind::Following;
    default:
        return InputKind::None;
    }
}

QPointF globalPositionOf(QWidget* receiver, QEvent* event)
{
    switch (event->type()) {
    case QEvent::ContextMenu:
        return static_cast<QContextMenuEvent*>(event)->globalPos();
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
        return receiver->mapToGlobal(static_cast<QDropEvent*>(event)->position());
    default:
        return static_cast<QSinglePointEvent*>(event)->globalPosition();
    }
}

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

Sheet::Sheet(QWidget* topLevel, QWidget* content, Completion done)
    : QWidget(topLevel)
    , m_topLevel(topLevel)
    , m_content(content)
    , m_previousFocus(QApplication::focusWidget())
    , m_done(std::move(done))
{
    setObjectName(QStringLiteral("sheetOverlay"));
    setAccessibleName(QStringLiteral("Sheet"));
    setAttribute(Qt::WA_NoMousePropagation);
    setFocusPolicy(Qt::NoFocus);
    content->setParent(this);
    layoutInWindow();
    topLevel->installEventFilter(this);
    content->installEventFilter(this);
    qApp->installEventFilter(this);
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) { keepFocusInside(now); });
}

Sheet* Sheet::beginSheet(QWidget* window, QWidget* content, Completion done)
{
    if (!window || !content)
        return nullptr;
    QWidget* topLevel = window->window();
    auto* sheet = new Sheet(topLevel, content, std::move(done));
    sheet->fitContent();
    sheet->show();
    sheet->raise();
    content->show();
    sheet->focusFirstControl();
    return sheet;
}

Sheet* Sheet::activeSheet(QWidget* window)
{
    if (!window)
        return nullptr;
    const auto sheets = window->window()->findChildren<Sheet*>(Qt::FindDirectChildrenOnly);
    for (auto it = sheets.crbegin(); it != sheets.crend(); ++it) {
        if ((*it)->m_active)
            return *it;
    }
    return nullptr;
}

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

void Sheet::endSheet(int returnCode)
{
    if (!m_active)
        return;
    m_active = false;
    disconnect(qApp, &QApplication::focusChanged, this, nullptr);
    qApp->removeEventFilter(this);
    if (m_topLevel)
        m_topLevel->removeEventFilter(this);
    if (m_content)
        m_content->removeEventFilter(this);
    hide();
    if (m_content) {
        m_content->hide();
        m_content->setParent(m_topLevel);
    }
    if (m_previousFocus && m_previousFocus->isVisible())
        m_previousFocus->setFocus(Qt::OtherFocusReason);
    Completion done = std::move(m_done);
    m_done = {};
    deleteLater();
    if (done)
        done(returnCode);
}

QList<QWidget*> Sheet::focusOrder() const
{
    if (!m_content)
        return {};
    QList<QWidget*> order = ReadingOrder::controls(m_content);
    if (m_content->focusPolicy() & Qt::TabFocus && order.isEmpty())
        order.append(m_content);
    return order;
}

QAbstractButton* Sheet::markedButton(const char* property) const
{
    if (!m_content)
        return nullptr;
    for (QAbstractButton* button : m_content->findChildren<QAbstractButton*>()) {
        if (button->property(property).toBool() && isUsable(button, m_content))
            return button;
    }
    return nullptr;
}

QAbstractButton* Sheet::defaultButton() const
{
    if (QAbstractButton* marked = markedButton(kDefaultButtonProperty))
        return marked;
    if (!m_content)
        return nullptr;
    for (QPushButton* button : m_content->findChildren<QPushButton*>()) {
        if (button->isDefault() && isUsable(button, m_content))
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
    const QList<QWidget*> order = focusOrder();
    if (order.isEmpty())
        return true;
    const qsizetype at = order.indexOf(QApplication::focusWidget());
    qsizetype to = 0;
    if (at < 0)
        to = next ? 0 : order.size() - 1;
    else
        to = (at + (next ? 1 : order.size() - 1)) % order.size();
    order.at(to)->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
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

void Sheet::layoutInWindow()
{
    if (!m_topLevel)
        return;
    const int top = std::clamp(m_topLevel->property(kSheetTopProperty).toInt(), 0, m_topLevel->height());
    setGeometry(0, top, m_topLevel->width(), m_topLevel->height() - top);
    fitContent();
}

void Sheet::fitContent()
{
    if (!m_content)
        return;
    QWidget* content = m_content;
    const QSize hint = content->sizeHint();
    const int room = height() > 0 ? height() : QWIDGETSIZE_MAX;
    int w = hint.isValid() ? hint.width() : content->width();
    w = std::clamp(w, content->minimumWidth(), content->maximumWidth());
    if (width() > 0)
        w = std::min(w, width());
    int h = content->hasHeightForWidth() ? content->heightForWidth(w) : (hint.isValid() ? hint.height() : -1);
    if (h < 0)
        h = content->height();
    h = std::min(std::clamp(h, content->minimumHeight(), content->maximumHeight()), room);
    content->resize(w, h);
    content->move((width() - w) / 2, 0);
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

bool Sheet::blocksInput(QObject* receiver, QEvent* event) const
{
    const InputKind kind = inputKind(event->type());
    if (kind == InputKind::None || !receiver->isWidgetType())
        return false;
    auto* widget = static_cast<QWidget*>(receiver);
    if (widget->window() != m_topLevel || widget == this || isAncestorOf(widget))
        return false;
    // Only the topmost sheet guards the window; a sheet stacked above this one is reachable.
    if (activeSheet(m_topLevel) != this)
        return false;
    const QRect overlay(mapToGlobal(QPoint(0, 0)), size());
    switch (kind) {
    case InputKind::Keyboard:
        // The sheet passes on only an application shortcut's override, which travels from the
        // sheet up to the window so that the shortcut can fire.
        return !(widget == m_topLevel && event->type() == QEvent::ShortcutOverride
            && isApplicationShortcut(static_cast<QKeyEvent*>(event)));
    case InputKind::Pointed:
        return overlay.contains(globalPositionOf(widget, event).toPoint());
    case InputKind::Following:
        return widget != m_topLevel && overlay.intersects(QRect(widget->mapToGlobal(QPoint(0, 0)), widget->size()));
    case InputKind::None:
        break;
    }
    return false;
}

bool Sheet::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_topLevel && event->type() == QEvent::Resize)
        layoutInWindow();
    if (watched == m_content && event->type() == QEvent::LayoutRequest)
        fitContent();
    if (m_active && blocksInput(watched, event)) {
        const auto type = event->type();
        // Kept away, never answered by moving focus: a lone modifier must not steal the field.
        if (type == QEvent::DragEnter || type == QEvent::DragMove || type == QEvent::Drop)
            event->ignore(); // a drop under the sheet is refused (the pointer shows it)
        else
            event->accept();
        return true;
    }
    return QWidget::eventFilter(watched, event);
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
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && modifiers == Qt::NoModifier)
        answer = defaultButton();
    else if (event->key() == Qt::Key_Escape && modifiers == Qt::NoModifier)
        answer = cancelButton();
    event->accept();
    if (answer)
        answer->click();
}

void Sheet::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), QColor(0, 0, 0, 90));
    if (m_content && m_content->isVisible()) {
        const QRect around = m_content->geometry().adjusted(-1, 0, 1, 1);
        painter.fillRect(around.adjusted(-3, 0, 3, 4), QColor(0, 0, 0, 60));
        painter.fillRect(around, QColor(0, 0, 0, 110));
    }
}

void Sheet::mousePressEvent(QMouseEvent* event)
{
    event->accept();
}

void Sheet::mouseReleaseEvent(QMouseEvent* event)
{
    event->accept();
}

void Sheet::wheelEvent(QWheelEvent* event)
{
    event->accept();
}

} // namespace vantrel
