#include "components/FocusRing.h"

#include <functional>
#include <utility>

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
// On a control whose window went to the back: whether it showed the ring then.
constexpr const char* kRingedProperty = "vantrelRingedWhenLeft";
// Whether the focused control that was just hidden showed the ring, for the control Qt hands
// focus to next.
enum class HandOver { None, Ringed, Plain };
HandOver g_handOver = HandOver::None;
// Whether the ring is meant to show on its control (it hides with the control, this stays).
bool g_ringShown = false;

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
    // A list or table shows its current row: the ring follows the row and the scrolling, and
    // rows that come, go or are all replaced, which move the current row (or end it) without a
    // change of the current index.
    if (auto* view = qobject_cast<QAbstractItemView*>(target)) {
        if (view->selectionModel())
            connect(view->selectionModel(), &QItemSelectionModel::currentChanged, this, &FocusRing::place);
        connect(view->verticalScrollBar(), &QScrollBar::valueChanged, this, &FocusRing::place);
        connect(view->horizontalScrollBar(), &QScrollBar::valueChanged, this, &FocusRing::place);
        if (QAbstractItemModel* model = view->model()) {
            const auto follow = [this] { placeNowAndLater(); };
            connect(model, &QAbstractItemModel::modelReset, this, follow);
            connect(model, &QAbstractItemModel::rowsRemoved, this, follow);
            connect(model, &QAbstractItemModel::rowsInserted, this, follow);
            connect(model, &QAbstractItemModel::rowsMoved, this, follow);
            connect(model, &QAbstractItemModel::layoutChanged, this, follow);
        }
    }
}

void FocusRing::placeNowAndLater()
{
    place();
    // The view settles its rows and scroll bars after the model's signal (and may set its current
    // row again then): the ring is placed once more when it has.
    QMetaObject::invokeMethod(this, &FocusRing::place, Qt::QueuedConnection);
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
        if (event->type() == QEvent::Hide) {
            // The focused control goes away: Qt hands focus on as if by Tab, and the next
            // control takes the ring only if the one that went had it.
            QWidget* focus = QApplication::focusWidget();
            if (focus && (focus == widget || widget->isAncestorOf(focus)))
                g_handOver = g_ring && g_ring->m_target == focus && g_ringShown ? HandOver::Ringed : HandOver::Plain;
            return false;
        }
        if (event->type() != QEvent::FocusIn && event->type() != QEvent::FocusOut)
            return false;
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        // Focus that leaves with its window (or for a menu) comes back as it left.
        const bool withWindow = reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason;
        if (event->type() == QEvent::FocusIn) {
            const HandOver handOver = std::exchange(g_handOver, HandOver::None);
            QVariant had = withWindow ? widget->property(kRingedProperty) : QVariant();
            if (handOver != HandOver::None && (reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason))
                had = handOver == HandOver::Ringed;
            if (had.isValid() ? had.toBool() : wantsRing(widget, reason))
                showOn(widget);
            else if (!withWindow || had.isValid())
                hideRing();
        } else if (withWindow) {
            widget->setProperty(kRingedProperty, ringedWidget() == widget);
        } else if (g_ring && g_ring->m_target == widget) {
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
    g_ringShown = true;
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
    g_ringShown = false;
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
