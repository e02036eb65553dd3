#include "screens/Batch/BatchListView.h"

#include <algorithm>

#include <QContextMenuEvent>
#include <QDragEnterEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QScrollBar>
#include <QUrl>

#include "core/Batch/BatchViewRules.h"
#include "core/Batch/ThumbnailService.h"
#include "screens/Batch/BatchListDelegate.h"
#include "screens/Batch/BatchListModel.h"
#include "screens/Batch/DroppedPaths.h"
#include "screens/Cells/ButtonTableCellDelegate.h"
#include "screens/Cells/PhotoInfoButton.h"

namespace vantrel {

BatchListView::BatchListView(const QList<PhotoFilePtr>* batch, ButtonTableCellDelegate* receiver, QWidget* parent)
    : QTableView(parent)
    , m_batch(batch)
    , m_model(new BatchListModel(batch, this))
    , m_delegate(new BatchListDelegate(receiver, this))
    , m_receiver(receiver)
{
    setObjectName(QStringLiteral("tblPhotos"));
    setAccessibleName(tr("Photos of the batch"));
    setModel(m_model);
    setItemDelegate(m_delegate);
    connect(selectionModel(), &QItemSelectionModel::currentChanged, this, &BatchListView::layoutInfoButtons);
    // A reload (mark all, a removal) replaces every row; the keyboard keeps its place: the current
    // row keeps its number, or becomes the last row of a batch that got shorter.
    connect(m_model, &QAbstractItemModel::modelAboutToBeReset, this,
        [this] { m_rowBeforeReset = currentIndex().isValid() ? currentIndex().row() : -1; });
    connect(m_model, &QAbstractItemModel::modelReset, this, [this] {
        const int count = m_model->rowCount();
        if (m_rowBeforeReset >= 0 && count > 0)
            selectionModel()->setCurrentIndex(
                m_model->index(std::min(m_rowBeforeReset, count - 1), 0), QItemSelectionModel::NoUpdate);
    });
    setSelectionMode(QAbstractItemView::NoSelection);
    setFocusPolicy(Qt::StrongFocus);
    setTabKeyNavigation(false); // Tab leaves the list for the next control; arrows move in it
    setShowGrid(false);
    setWordWrap(false);
    setMouseTracking(true);
    setAcceptDrops(true);
    viewport()->setAcceptDrops(true);
    setDropIndicatorShown(false);
    setDragDropMode(QAbstractItemView::DropOnly);
    setDefaultDropAction(Qt::CopyAction);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(BatchViewRules::kListRowHeight);
    verticalHeader()->setMinimumSectionSize(BatchViewRules::kListRowHeight);
    QHeaderView* header = horizontalHeader();
    header->setHighlightSections(false);
    header->setSectionsClickable(false);
    header->setFixedHeight(28);
    header->setMinimumSectionSize(30);
    // The check and delete columns sit under the header's mark-all and remove-all buttons; the
    // delete column's last 25 pixels keep the buttons' places the same with and without the
    // scroller.
    const int widths[] = { 230, 60, 100, 90, 300, 34, 59 };
    for (int column = 0; column < BatchListModel::ColumnCount; ++column)
        header->resizeSection(column, widths[column]);
    header->setSectionResizeMode(BatchListModel::FileLocationColumn, QHeaderView::Stretch);
    header->setSectionResizeMode(BatchListModel::CheckColumn, QHeaderView::Fixed);
    header->setSectionResizeMode(BatchListModel::DeleteColumn, QHeaderView::Fixed);
    setStyleSheet(QStringLiteral("QTableView { background: rgb(36,41,50); border: none; }"
                                 "QHeaderView::section { background: rgb(54,63,78); color: rgb(195,204,233);"
                                 " border: none; border-right: 1px solid rgb(36,41,50); padding-left: 6px; }"
                                 "QScrollBar:vertical { width: 10px; }"));

    setThumbnailService(new ThumbnailService(
        { BatchViewRules::kListThumbnailWidth, BatchViewRules::kListThumbnailHeight }, kCacheBytes));

    m_debounce.setSingleShot(true);
    m_debounce.setInterval(20);
    connect(&m_debounce, &QTimer::timeout, this, &BatchListView::loadTableViewThumbnailImages);
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this, &BatchListView::tableviewPhotosBoundDidChange);
}

BatchListView::~BatchListView() = default;

void BatchListView::setThumbnailService(ThumbnailService* service)
{
    delete m_thumbnails;
    m_thumbnails = service;
    m_thumbnails->setParent(this);
    m_model->setThumbnailLookup([service](const QString& path) { return service->cached(path); });
    connect(m_thumbnails, &ThumbnailService::thumbnailReady, this, &BatchListView::onThumbnail);
}

void BatchListView::tableviewPhotosBoundDidChange()
{
    if (!isVisible())
        return; // the grid shows; a hidden list neither loads nor closes the grid's popups
    m_thumbnails->invalidatePending();
    m_debounce.start();
}

QPair<int, int> BatchListView::visibleRows() const
{
    const int count = m_model->rowCount();
    if (count == 0)
        return { -1, -1 };
    const int first = qMax(0, rowAt(0));
    int last = rowAt(viewport()->height() - 1);
    if (last < 0)
        last = count - 1;
    return { first, last };
}

void BatchListView::loadTableViewThumbnailImages()
{
    if (!isVisible())
        return;
    emit thumbnailsLoading();
    const auto [first, last] = visibleRows();
    for (int row = first; row >= 0 && row <= last && row < m_batch->size(); ++row) {
        const QString& path = m_batch->at(row)->filePath();
        if (m_thumbnails->cached(path).isNull())
            m_thumbnails->request(row, path);
    }
}

void BatchListView::closeThumbnailWork()
{
    m_debounce.stop();
    m_thumbnails->invalidatePending();
    m_thumbnails->clearCache();
    m_model->clearThumbnailFailures();
}

void BatchListView::showEvent(QShowEvent* event)
{
    QTableView::showEvent(event);
    // Back from another step, the thumbnail cache has been emptied: the rows ask again for
    // what they show.
    tableviewPhotosBoundDidChange();
    layoutInfoButtons();
}

void BatchListView::updateGeometries()
{
    QTableView::updateGeometries();
    layoutInfoButtons();
}

void BatchListView::scrollContentsBy(int dx, int dy)
{
    QTableView::scrollContentsBy(dx, dy);
    layoutInfoButtons();
}

PhotoInfoButton* BatchListView::makeInfoButton()
{
    auto* button = new PhotoInfoButton(viewport());
    connect(button, &PhotoInfoButton::clicked, this, [this, button] {
        const int row = button->property("row").toInt();
        if (m_receiver && row >= 0 && row < m_model->rowCount())
            m_receiver->btnInfoTappedAtLocationInTableView(button->mapTo(window(), QPoint(0, 0)), row);
    });
    m_infoButtons.append(button);
    return button;
}

void BatchListView::layoutInfoButtons()
{
    // Only the rows a shown list can see get a control: a hidden or not yet laid out list
    // would otherwise count every row of the batch as visible.
    const bool laidOut = isVisible() && viewport()->height() > 0;
    const auto [first, last] = laidOut ? visibleRows() : QPair<int, int> { -1, -1 };
    // The controls are reused for whichever rows are in view. The one holding the keyboard must
    // not hand it, silently, to another photo when the list scrolls: the keyboard follows its
    // photo's control, or goes back to the list once that row has left the view.
    PhotoInfoButton* focused = nullptr;
    int focusedRow = -1;
    for (PhotoInfoButton* button : m_infoButtons) {
        if (button->hasFocus()) {
            focused = button;
            focusedRow = button->property("row").toInt();
        }
    }
    qsizetype used = 0;
    for (int row = first; row >= 0 && row <= last; ++row, ++used) {
        PhotoInfoButton* button = used < m_infoButtons.size() ? m_infoButtons[used] : makeInfoButton();
        const QRect cell = visualRect(m_model->index(row, BatchListModel::NameColumn));
        button->setProperty("row", row);
        button->setAccessibleDescription(m_model->index(row, BatchListModel::NameColumn).data().toString());
        button->setGeometry(BatchListDelegate::infoButtonRect(cell));
        button->setCurrent(row == currentIndex().row());
        button->show();
    }
    for (qsizetype i = used; i < m_infoButtons.size(); ++i)
        m_infoButtons[i]->hide();
    if (focused && (focused->isHidden() || focused->property("row").toInt() != focusedRow)) {
        if (PhotoInfoButton* same = infoButtonOfRow(focusedRow))
            same->setFocus(Qt::TabFocusReason);
        else
            setFocus(Qt::TabFocusReason);
    }
}

PhotoInfoButton* BatchListView::infoButtonOfRow(int row) const
{
    for (PhotoInfoButton* button : m_infoButtons)
        if (!button->isHidden() && button->property("row").toInt() == row)
            return button;
    return nullptr;
}

void BatchListView::onThumbnail(qsizetype item, const QString& path, const QImage& image)
{
    // After a removal or a re-add the row may mean another photo now: only its own path counts.
    const PhotoFilePtr photo = m_model->photoAt(int(item));
    if (!photo || photo->filePath() != path)
        return;
    if (image.isNull())
        m_model->setThumbnailFailed(path);
    m_model->thumbnailChanged(int(item));
}

void BatchListView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::RightButton) {
        const int row = rowAt(event->position().toPoint().y());
        if (row >= 0) // between or below the rows: no menu
            emit rightClickedRow(viewport()->mapTo(window(), event->position().toPoint()), row);
        return;
    }
    QTableView::mousePressEvent(event);
}

bool BatchListView::openMenuOfCurrentRow()
{
    const QModelIndex current = currentIndex();
    if (!current.isValid() || current.row() >= m_model->rowCount())
        return false;
    scrollTo(current);
    const QRect name = visualRect(m_model->index(current.row(), BatchListModel::NameColumn));
    emit photoMenuKeyPressed(viewport()->mapTo(window(), QPoint(name.left() + 24, name.center().y())), current.row());
    return true;
}

void BatchListView::contextMenuEvent(QContextMenuEvent* event)
{
    // The window system's own menu key event: the menu of the current row, as the key does.
    if (event->reason() == QContextMenuEvent::Keyboard && openMenuOfCurrentRow())
        event->accept();
    else
        event->ignore();
}

void BatchListView::pressButtonOfCurrentRow(int column, void (ButtonTableCellDelegate::*press)(QPoint, qsizetype))
{
    const QModelIndex current = currentIndex();
    if (!m_receiver || !current.isValid() || current.row() >= m_model->rowCount())
        return;
    const QRect cell = visualRect(m_model->index(current.row(), column));
    (m_receiver->*press)(viewport()->mapTo(window(), BatchListDelegate::buttonRect(cell).topLeft()), current.row());
}

void BatchListView::keyPressEvent(QKeyEvent* event)
{
    if (BatchViewRules::isPhotoMenuKey(event->key(), event->modifiers())) {
        openMenuOfCurrentRow();
        event->accept();
        return;
    }
    // Delete and Backspace on the current row are its remove button.
    if (BatchViewRules::isRemoveKey(event->key(), event->modifiers())) {
        pressButtonOfCurrentRow(
            BatchListModel::DeleteColumn, &ButtonTableCellDelegate::btnDeleteTappedAtLocationInTableView);
        event->accept();
        return;
    }
    // Space on the current row is a click on its check box.
    if (event->key() == Qt::Key_Space && event->modifiers() == Qt::NoModifier) {
        pressButtonOfCurrentRow(
            BatchListModel::CheckColumn, &ButtonTableCellDelegate::btnCheckTappedAtLocationInTableView);
        event->accept();
        return;
    }
    // Other keys held with Control belong to the screen (mark all), not to the table's own
    // shortcuts; the table keeps its navigation keys (Control+End goes to the last row).
    const bool navigation = BatchViewRules::isNavigationKey(event->key());
    if ((event->modifiers() & Qt::ControlModifier) && !navigation) {
        event->ignore();
        return;
    }
    QTableView::keyPressEvent(event);
    // At the first or last row the table lets a navigation key pass on; it must not reach the
    // screen as a Control chord.
    if (navigation)
        event->accept();
}

void BatchListView::resizeEvent(QResizeEvent* event)
{
    QTableView::resizeEvent(event);
    tableviewPhotosBoundDidChange();
}

void BatchListView::dragEnterEvent(QDragEnterEvent* event)
{
    if (BatchViewRules::isValidDrop(droppedLocalPaths(event->mimeData()))) {
        event->setDropAction(Qt::CopyAction);
        event->accept();
    } else {
        event->ignore();
    }
}

void BatchListView::dragMoveEvent(QDragMoveEvent* event)
{
    if (BatchViewRules::isValidDrop(droppedLocalPaths(event->mimeData()))) {
        event->setDropAction(Qt::CopyAction);
        event->accept();
    } else {
        event->ignore();
    }
}

void BatchListView::dropEvent(QDropEvent* event)
{
    const QStringList paths = droppedLocalPaths(event->mimeData());
    if (!BatchViewRules::isValidDrop(paths)) {
        event->ignore();
        return;
    }
    event->setDropAction(Qt::CopyAction);
    event->accept();
    emit pathsDropped(paths);
}

} // namespace vantrel
