#include "components/Sheet.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPainter>

namespace vantrel {

namespace {

bool isInputEvent(QEvent::Type type)
{
    switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::ContextMenu:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::Drop:
    case QEvent::DragEnter:
    case QEvent::DragMove:
        return true;
    default:
        return false;
    }
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
    setFocusPolicy(Qt::StrongFocus);
    content->setParent(this);
    layoutInWindow();
    topLevel->installEventFilter(this);
    qApp->installEventFilter(this);
}

Sheet* Sheet::beginSheet(QWidget* window, QWidget* content, Completion done)
{
    if (!window || !content)
        return nullptr;
    QWidget* topLevel = window->window();
    if (!content->size().isValid() || content->size().isEmpty())
        content->resize(content->sizeHint());
    auto* sheet = new Sheet(topLevel, content, std::move(done));
    sheet->show();
    sheet->raise();
    content->show();
    QWidget* focus = content->focusProxy() ? content->focusProxy() : content;
    if (focus->focusPolicy() == Qt::NoFocus || !focus->isEnabled()) {
        focus = content->nextInFocusChain();
        while (focus && focus != content && !(content->isAncestorOf(focus) && focus->focusPolicy() != Qt::NoFocus))
            focus = focus->nextInFocusChain();
        if (!focus || focus == content)
            focus = sheet;
    }
    focus->setFocus(Qt::OtherFocusReason);
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

void Sheet::endSheet(int returnCode)
{
    if (!m_active)
        return;
    m_active = false;
    qApp->removeEventFilter(this);
    if (m_topLevel)
        m_topLevel->removeEventFilter(this);
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

void Sheet::layoutInWindow()
{
    if (!m_topLevel)
        return;
    const int top = std::clamp(m_topLevel->property(kSheetTopProperty).toInt(), 0, m_topLevel->height());
    setGeometry(0, top, m_topLevel->width(), m_topLevel->height() - top);
    if (m_content)
        m_content->move((width() - m_content->width()) / 2, 0);
}

bool Sheet::isUnderThisSheet(QObject* receiver) const
{
    if (!receiver->isWidgetType())
        return false;
    auto* widget = static_cast<QWidget*>(receiver);
    if (widget->window() != m_topLevel || widget == this || isAncestorOf(widget))
        return false;
    // Only the topmost sheet guards the window; a sheet stacked above this one is reachable.
    return activeSheet(m_topLevel) == this;
}

bool Sheet::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_topLevel && event->type() == QEvent::Resize)
        layoutInWindow();
    if (m_active && isInputEvent(event->type()) && isUnderThisSheet(watched)) {
        if (event->type() == QEvent::KeyPress && watched != this)
            setFocus(Qt::OtherFocusReason);
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
