#include "screens/Batch/BatchGridView.h"

#include <algorithm>

#include <QContextMenuEvent>
#include <QDragEnterEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QUrl>

#include "core/Batch/ThumbnailService.h"
#include "core/ResourceImages.h"
#include "screens/Batch/DroppedPaths.h"
#include "screens/Cells/GridCell.h"

namespace vantrel {

BatchGridView::BatchGridView(const QList<PhotoFilePtr>* batch, QWidget* parent)
    : KeltCollectionView(parent)
    , m_batch(batch)
{
    setObjectName(QStringLiteral("collectionView"));
    setAccessibleName(tr("Photos of the batch"));
    auto layout = std::make_unique<KeltCollectionViewGridLayout>();
    layout->setDelegate(this);
    layout->setVerticalSpacing(BatchViewRules::kGridVerticalSpacing);
    layout->setItemSize(BatchViewRules::itemSize(m_mode));
    setCollectionViewLayout(std::move(layout));
    setDataSource(this);
    setDelegate(this);
    setAnimatesSelection(false);
    registerClass<GridCell>(QString::fromLatin1(kCellIdentifier));
    registerClass<GridCell>(QString::fromLatin1(kBigCellIdentifier));
    setBackgroundColor(QColor(36, 41, 50));
    setFrameShape(QFrame::NoFrame);
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setAcceptDrops(true);
    viewport()->installEventFilter(this);
    setStyleSheet(QStringLiteral("QScrollBar:vertical { width: 10px; background: rgb(36,41,50); }"
                                 "QScrollBar::handle:vertical { background: rgb(120,130,150); border-radius: 4px;"
                                 " min-height: 30px; }"
                                 "QScrollBar::add-line:vertical, QScrollBar::sub-line:vertical { height: 0; }"));

    setThumbnailService(new ThumbnailService(
        { BatchViewRules::kGridThumbnailWidth, BatchViewRules::kGridThumbnailHeight }, kCacheBytes));
    m_scrollingTimer.setSingleShot(true);
    m_scrollingTimer.setInterval(20);
    connect(&m_scrollingTimer, &QTimer::timeout, this, &BatchGridView::scrollingEndAfterDelay);
    connect(this, &KeltScrollView::boundsDidChange, this, &BatchGridView::collectionViewBoundsDidChange);
}

BatchGridView::~BatchGridView()
{
    // Cells go with the base; stop the service first so no answer arrives half-way.
    delete m_thumbnails;
    m_thumbnails = nullptr;
}

void BatchGridView::setThumbnailService(ThumbnailService* service)
{
    delete m_thumbnails;
    m_thumbnails = service;
    m_thumbnails->setParent(this);
    connect(m_thumbnails, &ThumbnailService::thumbnailReady, this, &BatchGridView::onThumbnail);
}

void BatchGridView::reloadData()
{
    // A reload (mark all, a removal, a mode switch) empties the view's selection; the keyboard
    // keeps its place: the current item keeps its number, or becomes the last item of a batch
    // that got shorter.
    const OptionalIndexPath current = indexPathForSelectedItem();
    KeltCollectionView::reloadData();
    if (!current || m_batch->isEmpty())
        return;
    const qint64 item = std::min<qint64>(current->kelt_item(), m_batch->size() - 1);
    selectItemAtIndexPath(KeltIndexPath::kelt_indexPathForItem(item, 0), KeltScrollPosition::None, false);
}

void BatchGridView::setMode(BatchViewMode mode)
{
    m_mode = mode;
}

// Data source and delegate ---------------------------------------------------------------------

qint64 BatchGridView::numberOfSectionsInCollectionView(KeltCollectionView*)
{
    return 1;
}

qint64 BatchGridView::numberOfItemsInSection(KeltCollectionView*, qint64)
{
    return m_batch->size();
}

KeltCollectionViewCell* BatchGridView::cellForItemAtIndexPath(KeltCollectionView*, KeltIndexPath indexPath)
{
    const qint64 item = indexPath.kelt_item();
    const bool big = m_mode == BatchViewMode::BigGrid;
    auto* cell = static_cast<GridCell*>(
        dequeueReusableCellWithIdentifier(QString::fromLatin1(big ? kBigCellIdentifier : kCellIdentifier), int(item)));
    if (!cell || item < 0 || item >= m_batch->size())
        return cell;
    const PhotoFile& photo = *m_batch->at(item);
    cell->setFileName(photo.originalFileName());
    cell->setFileDimension(QStringLiteral("Dimensions %1 X %2").arg(qint64(photo.width())).arg(qint64(photo.height())));
    cell->setFileSize(QStringLiteral("Size %1").arg(photo.fileSizeAsString()));
    const QImage cached = m_thumbnails->cached(photo.filePath());
    cell->setPhotoPath(photo.filePath());
    cell->setImage(cached.isNull() ? ResourceImages::named(QStringLiteral("place_holder.png")) : cached);
    cell->setRowIndex(qint32(item));
    if (big)
        cell->setIsForBigThubnails(true);
    cell->selectCellWithFlag(photo.isSelected());
    cell->btnInfo()->setCurrent(isCurrentItem(item));
    return cell;
}

std::optional<QSizeF> BatchGridView::sizeForItemInCollectionView(KeltCollectionView*)
{
    return QSizeF(BatchViewRules::itemSize(m_mode));
}

bool BatchGridView::shouldDeselectItemAtIndexPath(KeltCollectionView*, KeltIndexPath)
{
    return true;
}

void BatchGridView::selectionDidChange()
{
    // Once per selection call: selecting every photo of a large batch moves the ring (the base
    // places it) and the info control in the keyboard's reach once.
    KeltCollectionView::selectionDidChange();
    for (KeltCollectionViewCell* cell : visibleCells()) {
        if (auto* gridCell = qobject_cast<GridCell*>(cell))
            gridCell->btnInfo()->setCurrent(isCurrentItem(gridCell->cellIndex()));
    }
}

bool BatchGridView::isCurrentItem(qint64 item) const
{
    const OptionalIndexPath current = indexPathForSelectedItem();
    return current && current->kelt_item() == item;
}

void BatchGridView::didRightClickItemAtIndexPath(KeltCollectionView*, KeltIndexPath path, QMouseEvent* event)
{
    const QPoint at = event ? mapFromGlobal(event->globalPosition().toPoint()) : cellOrigin(path.kelt_item());
    emit rightClicked(at, path.kelt_item());
}

void BatchGridView::btnInfoTappedAtLocationInCollectionView(QPointF location, KeltIndexPath andIndex)
{
    // The cell gives its info control's origin in locationsView(); the popup is placed from it,
    // in this view's coordinates.
    emit infoTapped(mapFrom(locationsView(), location.toPoint()), andIndex.kelt_item());
}

void BatchGridView::btnCheckboxTappedAtLocationInCollectionView(QPointF, KeltIndexPath andIndex)
{
    emit checkboxTapped(cellOrigin(andIndex.kelt_item()), andIndex.kelt_item());
}

QPoint BatchGridView::cellOrigin(qsizetype index) const
{
    const GridCell* cell = gridCellAt(index);
    return cell ? cell->mapTo(this, QPoint(0, 0)) : QPoint();
}

// Thumbnails -----------------------------------------------------------------------------------

void BatchGridView::collectionViewBoundsDidChange()
{
    emit scrolled();
    m_isScrollingDone = false;
    m_thumbnails->invalidatePending(); // decodes queued for cells scrolled away lapse
    m_scrollingTimer.start();
}

void BatchGridView::scrollingEndAfterDelay()
{
    m_isScrollingDone = true;
    const QList<PhotoFilePtr> snapshot = *m_batch;
    for (const KeltIndexPath& path : indexPathsForVisibleItems()) {
        const qint64 item = path.kelt_item();
        GridCell* cell = gridCellAt(item);
        if (!cell || item >= snapshot.size())
            continue;
        const QString& photoPath = snapshot[item]->filePath();
        const QImage cached = m_thumbnails->cached(photoPath);
        cell->setPhotoPath(photoPath);
        if (!cached.isNull()) {
            cell->setImage(cached);
            continue;
        }
        cell->setImage(ResourceImages::named(QStringLiteral("place_holder.png")));
        m_thumbnails->request(item, photoPath);
    }
}

void BatchGridView::onThumbnail(qsizetype, const QString& path, const QImage& image)
{
    // Cached in any case; shown on every visible cell that still shows this photo. Matched by
    // path, not by the requested item: the photo's index may have moved since (a removal, a
    // reload), and a reused cell that shows another photo keeps its own image.
    const QImage shown = image.isNull() ? ResourceImages::named(QStringLiteral("not_av_big.png")) : image;
    for (const KeltIndexPath& visible : indexPathsForVisibleItems()) {
        const qint64 item = visible.kelt_item();
        GridCell* cell = gridCellAt(item);
        if (!cell || cell->cellIndex() != item || cell->photoPath() != path)
            continue;
        if (item < m_batch->size() && m_batch->at(item)->filePath() == path)
            cell->setImage(shown);
    }
}

GridCell* BatchGridView::gridCellAt(qsizetype index) const
{
    if (index < 0)
        return nullptr;
    return qobject_cast<GridCell*>(
        KeltCollectionView::cellForItemAtIndexPath(KeltIndexPath::kelt_indexPathForItem(index, 0)));
}

void BatchGridView::reloadCheckMark(qsizetype index)
{
    if (GridCell* cell = gridCellAt(index); cell && index < m_batch->size())
        cell->selectCellWithFlag(m_batch->at(index)->isSelected());
}

void BatchGridView::showNotAvailable(qsizetype index)
{
    if (GridCell* cell = gridCellAt(index))
        cell->setImage(ResourceImages::named(QStringLiteral("not_av_big.png")));
}

void BatchGridView::closeThumbnailWork()
{
    m_scrollingTimer.stop();
    m_thumbnails->invalidatePending();
    m_thumbnails->clearCache();
}

// Keys and drops -------------------------------------------------------------------------------

void BatchGridView::focusInEvent(QFocusEvent* event)
{
    KeltCollectionView::focusInEvent(event);
    const bool fromTab = event->reason() == Qt::TabFocusReason || event->reason() == Qt::BacktabFocusReason;
    if (fromTab && !indexPathForSelectedItem() && !m_batch->isEmpty())
        selectItemAtIndexPath(firstIndexPath(), KeltScrollPosition::Nearest, true);
}

OptionalIndexPath BatchGridView::validCurrentItem() const
{
    const OptionalIndexPath current = indexPathForSelectedItem();
    return validateIndexPath(current) ? current : std::nullopt;
}

bool BatchGridView::openMenuOfCurrentItem()
{
    const OptionalIndexPath current = validCurrentItem();
    if (!current)
        return false;
    const qsizetype item = current->kelt_item();
    scrollToItemAtIndexPath(current, KeltScrollPosition::Nearest, false);
    const GridCell* cell = gridCellAt(item);
    if (!cell)
        return false;
    emit photoMenuKeyPressed(cell->mapTo(this, cell->rect().center()), item);
    return true;
}

void BatchGridView::contextMenuEvent(QContextMenuEvent* event)
{
    // The window system's own menu key event: the menu of the current item, as the key does.
    if (event->reason() == QContextMenuEvent::Keyboard && openMenuOfCurrentItem())
        event->accept();
    else
        event->ignore();
}

void BatchGridView::keyPressEvent(QKeyEvent* event)
{
    if (BatchViewRules::isPhotoMenuKey(event->key(), event->modifiers())) {
        openMenuOfCurrentItem();
        event->accept();
        return;
    }
    if (BatchViewRules::isRemoveKey(event->key(), event->modifiers())) {
        if (const OptionalIndexPath current = validCurrentItem())
            emit removeKeyPressed(current->kelt_item());
        event->accept();
        return;
    }
    // Space on the current item is a click on its check box.
    if (event->key() == Qt::Key_Space && event->modifiers() == Qt::NoModifier) {
        if (const OptionalIndexPath current = validCurrentItem())
            emit checkboxTapped(cellOrigin(current->kelt_item()), current->kelt_item());
        event->accept();
        return;
    }
    // Other keys held with Control belong to the screen (mark all); the view keeps its own
    // navigation keys.
    if ((event->modifiers() & Qt::ControlModifier) && !BatchViewRules::isNavigationKey(event->key())) {
        event->ignore();
        return;
    }
    KeltCollectionView::keyPressEvent(event);
}

bool BatchGridView::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != viewport())
        return KeltCollectionView::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto* drag = static_cast<QDropEvent*>(event);
        if (BatchViewRules::isValidDrop(droppedLocalPaths(drag->mimeData()))) {
            drag->setDropAction(Qt::CopyAction);
            drag->accept();
        } else {
            drag->ignore();
        }
        return true;
    }
    case QEvent::Drop: {
        auto* drop = static_cast<QDropEvent*>(event);
        const QStringList paths = droppedLocalPaths(drop->mimeData());
        if (!BatchViewRules::isValidDrop(paths)) {
            drop->ignore();
            return true;
        }
        drop->setDropAction(Qt::CopyAction);
        drop->accept();
        emit pathsDropped(paths);
        return true;
    }
    default:
        return KeltCollectionView::eventFilter(watched, event);
    }
}

} // namespace vantrel
