#include "components/Sheet.h"

#include <algorithm>

#include <QApplication>
#include <QContextMenuEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QPainter>

#include "components/FocusRing.h"

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

} // namespace

Sheet::Sheet(QWidget* topLevel, QWidget* content, Completion done)
    : QWidget(topLevel)
    , m_topLevel(topLevel)
    , m_content(content)
    , m_previousFocus(QApplication::focusWidget())
    , m_previousRinged(m_previousFocus && FocusRing::ringedWidget() == m_previousFocus)
    , m_done(std::move(done))
{
    setObjectName(QStringLiteral("sheetOverlay"));
    setAccessibleName(QStringLiteral("Sheet"));
    setAttribute(Qt::WA_NoMousePropagation);
    setFocusPolicy(Qt::NoFocus);
    content->setParent(this);
    layoutInWindow();
    topLevel->installEventFilter(this);
    qApp->installEventFilter(this); // sees the content's events too
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) { keepFocusInside(now); });
}

Sheet* Sheet::beginSheet(QWidget* window, QWidget* content, Completion done)
{
    if (!window || !content)
        return nullptr;
    QWidget* topLevel = window->window();
    for (Sheet* up : topLevel->findChildren<Sheet*>(Qt::FindDirectChildrenOnly)) {
        if (up->m_active && up->m_content == content)
            return up;
    }
    auto* sheet = new Sheet(topLevel, content, std::move(done));
    sheet->fitContent();
    sheet->show();
    sheet->raise();
    content->show();
    sheet->focusFirstControl();
    bool closedAny = false;
    for (QWidget* child : topLevel->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (child->isWindow() && child->isVisible() && child->property(kClosesForSheetProperty).toBool()) {
            child->close();
            closedAny = true;
        }
    }
    // The window under the closed one takes the keyboard back, with focus already in the sheet.
    if (closedAny)
        topLevel->activateWindow();
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

void Sheet::whenNoSheet(QWidget* window, QObject* context, std::function<void()> then)
{
    Sheet* up = activeSheet(window);
    if (!up) {
        if (then)
            then();
        return;
    }
    // The answer may raise another sheet: ask again once this one has ended.
    connect(
        up, &Sheet::ended, context,
        [window = QPointer<QWidget>(window), context, then = std::move(then)] {
            if (window)
                whenNoSheet(window, context, then);
        },
        Qt::SingleShotConnection);
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
    hide();
    if (m_content) {
        m_content->hide();
        m_content->setParent(m_topLevel);
    }
    // Focus goes back as it was: with its ring only if it had one (a clicked button had none).
    if (m_previousFocus && m_previousFocus->isVisible())
        m_previousFocus->setFocus(m_previousRinged ? Qt::OtherFocusReason : Qt::MouseFocusReason);
    Completion done = std::move(m_done);
    m_done = {};
    deleteLater();
    if (done)
        done(returnCode);
    emit ended();
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
    if ((event->type() == QEvent::Show || event->type() == QEvent::Hide) && m_active && watched->isWidgetType()
        && watched->property(kInnerAlertProperty).toBool() && m_content
        && m_content->isAncestorOf(static_cast<QWidget*>(watched)))
        innerAlertShown(event->type() == QEvent::Show);
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
