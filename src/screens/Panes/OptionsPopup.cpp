#include "screens/Panes/OptionsPopup.h"

#include <algorithm>
#include <cmath>

#include <QApplication>
#include <QFontMetricsF>
#include <QKeyEvent>
#include <QListWidget>
#include <QPainter>
#include <QStyle>
#include <QStyledItemDelegate>

#include "components/AppLook.h"
#include "components/FocusRing.h"
#include "components/LocalMouseMonitor.h"
#include "components/TorAttachedWindow.h"
#include "screens/Panes/OpenListKeyboard.h"

namespace vantrel {

namespace {

// Room kept between a list and the window's sides.
constexpr int kWindowMargin = 8;

// Rows drawn by hand: the highlighted row (the keyboard's or the pointer's) gets the accent
// fill and every row keeps its text at the same padding, highlighted or not.
class OptionRowDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        painter->save();
        if (option.state & QStyle::State_Selected)
            painter->fillRect(option.rect, AppLook::accentColor());
        painter->setPen(Qt::white);
        painter->setFont(option.font);
        const QRect text = option.rect.adjusted(OptionsPopup::kRowPadding, 0, -OptionsPopup::kRowPadding, 0);
        painter->drawText(text, Qt::AlignLeft | Qt::AlignVCenter,
            option.fontMetrics.elidedText(index.data().toString(), Qt::ElideRight, text.width()));
        painter->restore();
    }

    QSize sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const override
    {
        return { 0, OptionsPopup::kRowHeight };
    }
};

} // namespace

OptionsPopup::OptionsPopup(QObject* parent)
    : QObject(parent)
{
}

OptionsPopup::~OptionsPopup()
{
    m_opener = nullptr; // no focus moves while the owner goes
    removeAttachedPopupWindow();
}

bool OptionsPopup::isOpen() const
{
    return m_window != nullptr;
}

QListWidget* OptionsPopup::list() const
{
    return m_list;
}

TorAttachedWindow* OptionsPopup::popupWindow() const
{
    return m_window;
}

int OptionsPopup::highlightedRow() const
{
    if (!m_list)
        return -1;
    const QList<QListWidgetItem*> selected = m_list->selectedItems();
    return selected.isEmpty() ? -1 : m_list->row(selected.first());
}

QListWidget* OptionsPopup::makeList(QWidget* anchor, const QStringList& rows, int height)
{
    // Made in the window it opens in, hidden, so that it is measured in the font and style it will
    // be drawn with there (a widget without a parent takes the application's font for its class).
    auto* list = new QListWidget(anchor->window());
    list->hide();
    list->setAccessibleName(QStringLiteral("Options"));
    // The keys come through this object's filter; the focus stays with the opener.
    list->setFocusPolicy(Qt::NoFocus);
    list->setFrameShape(QFrame::NoFrame);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setUniformItemSizes(true);
    list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list->setItemDelegate(new OptionRowDelegate(list));
    list->setMouseTracking(true);
    const QColor fill = AppLook::popupColor();
    list->setStyleSheet(QStringLiteral("QListWidget { background: rgb(%1, %2, %3); color: white; border: none; }")
                            .arg(fill.red())
                            .arg(fill.green())
                            .arg(fill.blue()));
    for (const QString& text : rows) {
        auto* item = new QListWidgetItem(text, list);
        item->setSizeHint(QSize(0, kRowHeight));
        item->setToolTip(text);
    }
    // As wide as the field it drops from, and wider when a row would otherwise be cut (the row
    // padding and a scroll bar's width added to the widest text), but never wider than the window
    // it is drawn in: a row longer than that is cut with an ellipsis and shows whole in its tip.
    list->ensurePolished();
    // Measured at the fractional advances the text is drawn with, rounded up: a row measured in
    // whole pixels can be a fraction wider on the screen, and is then cut with an ellipsis.
    const QFontMetricsF metrics(list->font());
    int widest = 0;
    for (const QString& text : rows)
        widest = std::max(widest, int(std::ceil(metrics.horizontalAdvance(text))) + 1);
    const int scrollBar = list->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, list);
    const int wanted = std::max({ anchor->width() - 2, 60, widest + 2 * kRowPadding + scrollBar });
    const int room = std::max(60, anchor->window()->width() - 2 * kWindowMargin);
    list->setFixedSize(std::min(wanted, room), height);
    connect(list, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
        if (m_list)
            choose(m_list->row(item));
    });
    return list;
}

void OptionsPopup::show(
    QWidget* anchor, QWidget* opener, const QStringList& rows, int height, int current, Chosen chosen, Closed closed)
{
    dismissPanel();
    m_chosen = std::move(chosen);
    m_closed = std::move(closed);
    m_opener = opener;
    m_pointerSeen = false;
    m_openerRinged = opener && FocusRing::ringedWidget() == opener;

    QListWidget* list = makeList(anchor, rows, height);
    const QPointF point = TorAttachedWindow::pointInWindow(anchor, QPointF(anchor->width() / 2.0, anchor->height()));
    TorAttachedWindow* window = TorAttachedWindow::initWithView(list, point, anchor->window(), TorSideBelow, 0.0f);
    if (!window) {
        delete list;
        return;
    }
    window->setBorderColor(Qt::transparent);
    window->setBackgroundColor(AppLook::popupColor());
    window->setHasArrow(0);
    window->setCornerRadius(0);
    window->setArrowHeight(0);
    window->setHasShadow(true);
    // Gone with the pane or step of the control it drops from, whatever input left it.
    window->setOwner(anchor);
    connect(window, &TorAttachedWindow::ownerLeft, this, &OptionsPopup::dismissPanel);
    window->show();
    window->raise();
    m_window = window;
    m_list = list;
    if (current >= 0 && current < list->count())
        list->setCurrentRow(current);
    else
        list->scrollToTop();

    // A press anywhere outside the popup closes it; the press itself goes on to its receiver.
    m_monitor = new LocalMouseMonitor(
        this, LocalMouseMonitor::allButtons(), [this](QWidget* receiver, Qt::MouseButton, const QPointF&) {
            if (m_window && receiver && (receiver == m_window || m_window->isAncestorOf(receiver)))
                return;
            dismissPanel();
        });
    qApp->installEventFilter(this);
}

bool OptionsPopup::eventFilter(QObject* watched, QEvent* event)
{
    if (!m_window)
        return QObject::eventFilter(watched, event);
    if (m_list && watched == m_list->viewport() && event->type() == QEvent::MouseMove)
        pointerMoved(static_cast<QMouseEvent*>(event));
    // Every key is the list's while it is open.
    if (OpenListKeyboard::take(event, [this](int key, const QString& text) { keyPressed(key, text); }))
        return true;
    return QObject::eventFilter(watched, event);
}

void OptionsPopup::pointerMoved(const QMouseEvent* move)
{
    // The pointer's row is the highlighted row, as in a menu, once the pointer moves over the
    // list: a list that opens under a resting pointer (opened from the keyboard) keeps its
    // highlight, since the window reports the pointer there without a move of the user's.
    const QPointF at = move->globalPosition();
    if (!m_pointerSeen || at == m_pointerAt) {
        m_pointerSeen = true;
        m_pointerAt = at;
        return;
    }
    m_pointerAt = at;
    const QModelIndex index = m_list->indexAt(move->position().toPoint());
    if (index.isValid())
        m_list->setCurrentRow(index.row());
}

void OptionsPopup::keyPressed(int key, const QString& text)
{
    if (!m_list)
        return;
    OpenListKeyboard::Rows rows; // the list's own texts: what it shows is what the keys find
    for (int row = 0; row < m_list->count(); ++row)
        rows.texts << m_list->item(row)->text();
    rows.highlighted = highlightedRow();
    rows.pageRows = std::max(1, m_list->viewport()->height() / kRowHeight);
    OpenListKeyboard::press(rows, key, text,
        { [this](int row) {
             m_list->setCurrentRow(row);
             m_list->scrollToItem(m_list->item(row));
         },
            [this](int row) { choose(row); }, [this] { dismissPanel(); } });
}

void OptionsPopup::choose(int row)
{
    Chosen chosenRow = m_chosen;
    dismissPanel();
    if (chosenRow && row >= 0)
        chosenRow(row);
}

void OptionsPopup::dismissPanel()
{
    if (!m_monitor)
        return;
    m_monitor->deleteLater();
    m_monitor = nullptr;
    removeAttachedPopupWindow();
}

void OptionsPopup::removeAttachedPopupWindow()
{
    if (QCoreApplication::instance())
        QCoreApplication::instance()->removeEventFilter(this);
    const bool wasOpen = m_window != nullptr;
    if (m_window) {
        m_window->hide();
        m_window->deleteLater();
        m_window = nullptr;
        m_list = nullptr;
    }
    // The keyboard goes on from the control that opened the list (with its ring when it had
    // one), unless that control went with its pane.
    if (wasOpen && m_opener && m_opener->isVisible() && m_opener->isEnabled())
        m_opener->setFocus(m_openerRinged ? Qt::TabFocusReason : Qt::MouseFocusReason);
    m_opener = nullptr;
    Closed closed = std::move(m_closed);
    m_closed = {};
    if (wasOpen && closed)
        closed();
}

} // namespace vantrel
