#include "components/FocusRing.h"

#include <functional>

#include <QAbstractItemView>
#include <QAbstractScrollArea>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QFocusEvent>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextEdit>

#include "components/AppLook.h"

namespace vantrel {

namespace {

// The one ring of the application, and the object that watches focus for it.
QPointer<FocusRing> g_ring;

class FocusWatcher : public QObject {
public:
    explicit FocusWatcher(QObject* parent)
        : QObject(parent)
    {
    }
    std::function<bool(QObject*, QEvent*)> filter;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override { return filter && filter(watched, event); }
};

/// The current row of an item view (a list or table), in the view's coordinates; invalid when
/// it has none.
QRect currentRowRect(const QAbstractItemView* view)
{
    const QModelIndex current = view->currentIndex();
    if (!current.isValid() || !view->model())
        return {};
    const QAbstractItemModel* model = view->model();
    QRect row = view->visualRect(current);
    for (int column = 0; column < model->columnCount(current.parent()); ++column)
        row |= view->visualRect(model->index(current.row(), column, current.parent()));
    return row.translated(view->viewport()->pos());
}

bool isTextEntry(const QWidget* widget)
{
    return qobject_cast<const QLineEdit*>(widget) || qobject_cast<const QPlainTextEdit*>(widget)
        || qobject_cast<const QTextEdit*>(widget) || qobject_cast<const QAbstractSpinBox*>(widget);
}

} // namespace

FocusRing::FocusRing(QWidget* target)
    : QWidget(target)
    , m_target(target)
{
    setObjectName(QStringLiteral("focusRing"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::NoFocus);
    place();
    target->installEventFilter(this);
    // A list or table shows its current row: the ring follows the row and the scrolling.
    if (auto* view = qobject_cast<QAbstractItemView*>(target)) {
        if (view->selectionModel())
            connect(view->selectionModel(), &QItemSelectionModel::currentChanged, this, &FocusRing::place);
        connect(view->verticalScrollBar(), &QScrollBar::valueChanged, this, &FocusRing::place);
        connect(view->horizontalScrollBar(), &QScrollBar::valueChanged, this, &FocusRing::place);
    }
}

void FocusRing::place()
{
    if (!m_target)
        return;
    QRect part = m_target->property(kFocusRectProperty).toRect();
    if (const auto* view = qobject_cast<const QAbstractItemView*>(m_target.data()))
        part = currentRowRect(view);
    const QRect whole = m_target->rect();
    setGeometry(part.isValid() && part.intersects(whole) ? part.adjusted(-2, -2, 2, 2) & whole : whole);
}

void FocusRing::setFocusRect(QWidget* control, const QRect& rect)
{
    if (!control)
        return;
    control->setProperty(kFocusRectProperty, rect);
    if (g_ring && g_ring->m_target == control)
        g_ring->place();
}

void FocusRing::install()
{
    static QPointer<QObject> installed;
    if (!qApp || installed)
        return;
    auto* watcher = new FocusWatcher(qApp);
    installed = watcher;
    watcher->filter = [](QObject* watched, QEvent* event) {
        if (!watched->isWidgetType())
            return false;
        auto* widget = static_cast<QWidget*>(watched);
        if (event->type() == QEvent::FocusIn) {
            const auto reason = static_cast<QFocusEvent*>(event)->reason();
            if (wantsRing(widget, reason))
                showOn(widget);
            else if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
                hideRing();
        } else if (event->type() == QEvent::FocusOut && g_ring && g_ring->m_target == widget) {
            const auto reason = static_cast<QFocusEvent*>(event)->reason();
            if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
                hideRing();
        }
        return false;
    };
    qApp->installEventFilter(watcher);
}

QWidget* FocusRing::ringedWidget()
{
    return g_ring && g_ring->isVisible() ? g_ring->m_target.data() : nullptr;
}

QRect FocusRing::ringRect()
{
    return ringedWidget() ? g_ring->geometry() : QRect();
}

bool FocusRing::wantsRing(const QWidget* widget, Qt::FocusReason reason)
{
    if (widget->isWindow() || !(widget->focusPolicy() & Qt::TabFocus))
        return false;
    // As on the platform, a field and a list (or grid) show focus after a click too; a button
    // clicked keeps no ring.
    return isTextEntry(widget) || qobject_cast<const QAbstractScrollArea*>(widget) || reason != Qt::MouseFocusReason;
}

void FocusRing::showOn(QWidget* target)
{
    if (g_ring && g_ring->m_target == target) {
        g_ring->place();
        g_ring->show();
        g_ring->raise();
        return;
    }
    delete g_ring.data();
    g_ring = new FocusRing(target);
    g_ring->show();
    g_ring->raise();
}

void FocusRing::hideRing()
{
    if (g_ring)
        g_ring->hide();
}

bool FocusRing::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_target) {
        switch (event->type()) {
        case QEvent::Resize:
            place();
            break;
        case QEvent::ChildAdded:
            raise(); // stays above a child the control adds later (a scroll bar, an editor)
            break;
        case QEvent::Hide:
            hide();
            break;
        default:
            break;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void FocusRing::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF outer = QRectF(rect()).adjusted(1, 1, -1, -1);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(AppLook::focusColor(), 2));
    painter.drawRoundedRect(outer, 4, 4);
    painter.setPen(QPen(AppLook::panelColor(), 1));
    painter.drawRoundedRect(outer.adjusted(1.5, 1.5, -1.5, -1.5), 3, 3);
}

} // namespace vantrel
