#include "screens/Panes/OptionsPopup.h"

#include <algorithm>

#include <QListWidget>
#include <QStyle>

#include "components/AppLook.h"
#include "components/LocalMouseMonitor.h"
#include "components/TorAttachedWindow.h"

namespace vantrel {

OptionsPopup::OptionsPopup(QObject* parent)
    : QObject(parent)
{
}

OptionsPopup::~OptionsPopup()
{
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

void OptionsPopup::show(QWidget* anchor, const QStringList& rows, int height, Chosen chosen, Closed closed)
{
    dismissPanel();
    m_chosen = std::move(chosen);
    m_closed = std::move(closed);

    auto* list = new QListWidget;
    list->setAccessibleName(QStringLiteral("Options"));
    // As wide as the field it drops from, and wider when a row would otherwise be cut: the row
    // padding and a scroll bar's width are added to the widest text.
    int widest = 0;
    for (const QString& text : rows)
        widest = std::max(widest, list->fontMetrics().horizontalAdvance(text));
    const int scrollBar = list->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, list);
    list->setFixedSize(std::max({ anchor->width() - 2, 60, widest + 2 * kRowPadding + scrollBar }), height);
    list->setFrameShape(QFrame::NoFrame);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setUniformItemSizes(true);
    list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    const QColor fill = AppLook::popupColor();
    list->setStyleSheet(QStringLiteral("QListWidget { background: rgb(%1, %2, %3); color: white; outline: none; }"
                                       "QListWidget::item { padding-left: %4px; }"
                                       "QListWidget::item:hover { background: rgb(66, 180, 211); }"
                                       "QListWidget::item:selected { background: transparent; color: white; }")
                            .arg(fill.red())
                            .arg(fill.green())
                            .arg(fill.blue())
                            .arg(kRowPadding));
    for (const QString& text : rows) {
        auto* item = new QListWidgetItem(text, list);
        item->setSizeHint(QSize(0, kRowHeight));
        item->setToolTip(text);
    }
    connect(list, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
        const int row = m_list ? m_list->row(item) : -1;
        Chosen chosenRow = m_chosen;
        dismissPanel();
        if (chosenRow && row >= 0)
            chosenRow(row);
    });

    const QPointF point = TorAttachedWindow::pointInWindow(anchor, QPointF(anchor->width() / 2.0, anchor->height()));
    TorAttachedWindow* window = TorAttachedWindow::initWithView(list, point, anchor->window(), TorSideBelow, 0.0f);
    if (!window) {
        delete list;
        return;
    }
    window->setBorderColor(Qt::transparent);
    window->setBackgroundColor(fill);
    window->setHasArrow(0);
    window->setCornerRadius(0);
    window->setArrowHeight(0);
    window->setHasShadow(true);
    window->show();
    window->raise();
    m_window = window;
    m_list = list;
    list->scrollToTop();

    // A press anywhere outside the popup closes it; the press itself goes on to its receiver.
    m_monitor = new LocalMouseMonitor(
        this, LocalMouseMonitor::allButtons(), [this](QWidget* receiver, Qt::MouseButton, const QPointF&) {
            if (m_window && receiver && (receiver == m_window || m_window->isAncestorOf(receiver)))
                return;
            dismissPanel();
        });
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
    const bool wasOpen = m_window != nullptr;
    if (m_window) {
        m_window->hide();
        m_window->deleteLater();
        m_window = nullptr;
        m_list = nullptr;
    }
    Closed closed = std::move(m_closed);
    m_closed = {};
    if (wasOpen && closed)
        closed();
}

} // namespace vantrel
