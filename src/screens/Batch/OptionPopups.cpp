#include "screens/Batch/OptionPopups.h"

#include <algorithm>
#include <utility>

#include <QApplication>
#include <QHeaderView>
#include <QVBoxLayout>

#include "components/AppLook.h"
#include "components/FocusRing.h"
#include "components/LocalMouseMonitor.h"
#include "components/TorAttachedWindow.h"
#include "screens/Panes/OpenListKeyboard.h"

namespace vantrel {

namespace {
// Room kept between a popup and the window edge (its frame and shadow).
constexpr int kPopupMargin = 16;
} // namespace

OptionPopups::OptionPopups(QWidget* screen)
    : QObject(screen)
    , m_screen(screen)
    , m_view(new QWidget(screen))
    , m_table(new QTableWidget(0, 1, m_view))
{
    m_view->setObjectName(QStringLiteral("vwPopupWithTableOptions"));
    m_view->setAccessibleName(tr("Options"));
    m_view->hide();
    m_table->setObjectName(QStringLiteral("tblPopupOptions"));
    m_table->setAccessibleName(tr("Options"));
    m_table->setHorizontalHeaderLabels({ QStringLiteral("TableColumn") });
    m_table->horizontalHeader()->hide();
    m_table->horizontalHeader()->setStretchLastSection(true);
    m_table->verticalHeader()->hide();
    m_table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_table->verticalHeader()->setDefaultSectionSize(BatchPopupRules::kOptionRowHeight);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setFocusPolicy(Qt::NoFocus);
    m_table->setShowGrid(false);
    m_table->setFrameShape(QFrame::NoFrame);
    m_table->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_table->setStyleSheet(
        QStringLiteral("QTableWidget { background: transparent; color: white; border: none; }"
                       "QTableWidget::item { padding-left: 10px; background: transparent; }"
                       "QTableWidget::item:selected { padding-left: 10px; background: rgb(%1, %2, %3); color: white; }"
                       "QTableWidget::item:hover { color: rgb(66,180,211); }"
                       "QTableWidget::item:selected:hover { color: white; }")
            .arg(AppLook::accentColor().red())
            .arg(AppLook::accentColor().green())
            .arg(AppLook::accentColor().blue()));
    auto* layout = new QVBoxLayout(m_view);
    layout->setContentsMargins(0, 15, 0, 15);
    layout->addWidget(m_table);
    connect(m_table, &QTableWidget::cellClicked, this, [this](int row, int) { tableViewSelectionDidChange(row); });
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) { focusMoved(now); });
}

OptionPopups::~OptionPopups()
{
    delete m_monitor;
}

int OptionPopups::highlightedRow() const
{
    const QList<QTableWidgetItem*> selected = m_table->selectedItems();
    return selected.isEmpty() ? -1 : selected.first()->row();
}

QStringList OptionPopups::arrFileTypes()
{
    return { "*.*", "*.JPG", "*.BMP", "*.JPEG", "*.GIF", "*.PNG" };
}

void OptionPopups::fillTable(const QStringList& rows)
{
    m_table->clearContents();
    m_table->setRowCount(int(rows.size()));
    for (int row = 0; row < rows.size(); ++row) {
        auto* item = new QTableWidgetItem(rows[row]);
        item->setTextAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        m_table->setItem(row, 0, item);
        m_table->setRowHeight(row, BatchPopupRules::kOptionRowHeight);
    }
    m_table->setWordWrap(m_type == OptionPopupType::AddOptions);
    if (m_type == OptionPopupType::AddOptions && !rows.isEmpty())
        m_table->setRowHeight(int(rows.size()) - 1, BatchPopupRules::kLastAddOptionRowHeight);
}

void OptionPopups::btnAddMorePhotosTapped(QWidget* button, const QStringList& arrAddPhotosOptions)
{
    if (arrAddPhotosOptions.isEmpty())
        return;
    m_type = OptionPopupType::AddOptions;
    m_view->setFixedSize(BatchPopupRules::optionPopupSize(m_type, int(arrAddPhotosOptions.size())));
    if (m_isFristTimeAddMoreTapped || m_table->rowCount() != arrAddPhotosOptions.size()
        || m_table->item(0, 0)->text() != arrAddPhotosOptions.first()) {
        fillTable(arrAddPhotosOptions);
        m_isFristTimeAddMoreTapped = false;
    }
    addAttachedPopupWindowWithTag(button);
}

void OptionPopups::btnSelectFileTypeTapped(QWidget* button)
{
    const QStringList types = arrFileTypes();
    m_type = OptionPopupType::FileTypes;
    fillTable(types);
    m_view->setFixedSize(BatchPopupRules::optionPopupSize(m_type, int(types.size())));
    addAttachedPopupWindowWithTag(button);
}

void OptionPopups::addAttachedPopupWindowWithTag(QWidget* button)
{
    dismissPanel();
    if (!button || !m_screen)
        return;
    m_table->clearSelection();
    m_table->setCurrentItem(nullptr);
    const QPointF below(button->width() / 2.0, button->height());
    const QPointF point = TorAttachedWindow::pointInWindow(button, below);
    // Centred under its button unless that would cut it at the window's right edge (the add-more
    // button ends the header row): then it hangs to the left of the button's middle.
    const QPoint mid = button->mapTo(button->window(), below.toPoint());
    const bool fitsCentred = mid.x() + m_view->width() / 2 + kPopupMargin <= button->window()->width();
    m_popup = TorAttachedWindow::initWithView(
        m_view, point, button->window(), fitsCentred ? TorSideBelow : TorSideBelowLeftward, 5);
    if (!m_popup)
        return;
    m_popup->setBorderColor(Qt::transparent);
    m_popup->setBackgroundColor(QColor(54, 63, 78));
    m_popup->setOwner(button);
    connect(m_popup, &TorAttachedWindow::ownerLeft, this, &OptionPopups::dismissPanel);
    m_view->show();
    m_popup->show();
    m_popup->raise();
    m_opener = button;
    m_openerRinged = FocusRing::ringedWidget() == button;
    // Installed last, so it sees every key before the window's own filters and shortcuts.
    qApp->installEventFilter(this);
    QPointer<TorAttachedWindow> guard(m_popup);
    m_monitor = new LocalMouseMonitor(
        this, LocalMouseMonitor::allButtons(), [this, guard](QWidget* receiver, Qt::MouseButton, const QPointF&) {
            if (guard && (receiver == guard || guard->isAncestorOf(receiver)))
                return;
            dismissPanel();
        });
}

void OptionPopups::dismissPanel()
{
    delete m_monitor;
    if (QCoreApplication::instance())
        QCoreApplication::instance()->removeEventFilter(this);
    const QPointer<QWidget> opener = std::exchange(m_opener, nullptr);
    if (!m_popup)
        return;
    // The popup owns the table's view while it shows: take it back before the popup goes.
    m_view->hide();
    m_view->setParent(m_screen);
    m_popup->hide();
    m_popup->deleteLater();
    m_popup = nullptr;
    // The keyboard goes on from the button that opened the list (with its ring when it had
    // one), unless that button went with its step.
    if (opener && opener->isVisible() && opener->isEnabled())
        opener->setFocus(m_openerRinged ? Qt::TabFocusReason : Qt::MouseFocusReason);
}

bool OptionPopups::eventFilter(QObject* watched, QEvent* event)
{
    if (!m_popup)
        return QObject::eventFilter(watched, event);
    if (OpenListKeyboard::take(event, [this](int key, const QString& text) { keyPressed(key, text); }))
        return true;
    return QObject::eventFilter(watched, event);
}

void OptionPopups::keyPressed(int key, const QString& text)
{
    OpenListKeyboard::Rows rows;
    for (int row = 0; row < m_table->rowCount(); ++row)
        rows.texts << (m_table->item(row, 0) ? m_table->item(row, 0)->text() : QString());
    rows.highlighted = highlightedRow();
    rows.pageRows = std::max(1, m_table->viewport()->height() / BatchPopupRules::kOptionRowHeight);
    OpenListKeyboard::press(rows, key, text,
        { [this](int row) {
             m_table->setCurrentCell(row, 0);
             m_table->scrollToItem(m_table->item(row, 0));
         },
            [this](int row) { tableViewSelectionDidChange(row); }, [this] { dismissPanel(); } });
}

void OptionPopups::focusMoved(QWidget* now)
{
    // The list has no focus of its own: any move of the focus while it shows was made elsewhere
    // (the window left, a sheet or panel took the keyboard), and the list goes without taking
    // the focus back.
    if (!m_popup || (now && (now == m_popup || m_popup->isAncestorOf(now))))
        return;
    m_opener = nullptr;
    dismissPanel();
}

void OptionPopups::tableViewSelectionDidChange(int row)
{
    if (m_type != OptionPopupType::AddOptions || row < 0)
        return;
    dismissPanel();
    m_table->clearSelection();
    emit addOptionChosen(row);
}

} // namespace vantrel
