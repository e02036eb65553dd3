#include "components/CollectionView/KeltCollectionView.h"

#include <cmath>
#include <cstdio>

#include <QEvent>
#include <QScrollBar>
#include <QSet>

#include "components/CollectionView/KeltClipView.h"
#include "components/CollectionView/KeltCollectionViewCell.h"
#include "components/CollectionView/KeltCollectionViewDataSource.h"
#include "components/CollectionView/KeltCollectionViewDelegate.h"
#include "components/CollectionView/KeltCollectionViewReusableView.h"
#include "components/FocusRing.h"
#include "components/Geometry.h"

namespace vantrel {

namespace {

QString supplementaryIdentifier(const QString& kind, const QString& reuseIdentifier)
{
    return kind + QLatin1Char('/') + reuseIdentifier;
}

QString layoutIdentifier(qint64 section, const QString& supplementaryId)
{
    return QString::number(section) + QLatin1Char('/') + supplementaryId;
}

} // namespace

KeltCollectionView::KeltCollectionView(QWidget* parent)
    : KeltScrollView(parent)
{
    setAccessibleName(QStringLiteral("Collection view"));
    setFocusPolicy(Qt::StrongFocus);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
}

KeltCollectionView::~KeltCollectionView() = default;

// ---- Registration and reuse -----------------------------------------------------------------

void KeltCollectionView::registerClass(CellFactory factory, const QString& forCellWithReuseIdentifier)
{
    m_cellClassMap.insert(forCellWithReuseIdentifier, std::move(factory));
}

void KeltCollectionView::registerClass(
    SupplementaryViewFactory factory, const QString& forSupplementaryViewOfKind, const QString& withReuseIdentifier)
{
    m_supplementaryViewClassMap.insert(
        supplementaryIdentifier(forSupplementaryViewOfKind, withReuseIdentifier), std::move(factory));
}

QStringList KeltCollectionView::supplementaryViewKinds() const
{
    QStringList kinds;
    for (auto it = m_supplementaryViewClassMap.cbegin(); it != m_supplementaryViewClassMap.cend(); ++it) {
        const QString kind = it.key().section(QLatin1Char('/'), 0, 0);
        if (!kinds.contains(kind))
            kinds.append(kind);
    }
    return kinds;
}

KeltCollectionViewCell* KeltCollectionView::dequeueReusableCellWithIdentifier(const QString& identifier)
{
    KeltCollectionViewCell* cell = nullptr;
    if (!identifier.isEmpty()) {
        auto pool = m_reusableCells.find(identifier);
        if (pool != m_reusableCells.end() && !pool->empty()) {
            cell = pool->back();
            pool->pop_back();
        }
    }
    if (!cell) {
        const auto factory = m_cellClassMap.value(identifier);
        cell = factory ? factory() : new KeltCollectionViewCell;
    }
    cell->setReuseIdentifier(identifier);
    cell->prepareForReuse();
    return cell;
}

KeltCollectionViewCell* KeltCollectionView::dequeueReusableCellWithIdentifier(const QString& identifier, int SetIndex)
{
    KeltCollectionViewCell* cell = dequeueReusableCellWithIdentifier(identifier);
    cell->setCellIndex(SetIndex);
    return cell;
}

KeltCollectionViewReusableView* KeltCollectionView::dequeueReusableSupplementaryViewOfKind(
    const QString& kind, const QString& withReuseIdentifer)
{
    const QString identifier = supplementaryIdentifier(kind, withReuseIdentifer);
    KeltCollectionViewReusableView* view = nullptr;
    auto pool = m_reusableSupplementaryViews.find(identifier);
    if (pool != m_reusableSupplementaryViews.end() && !pool->empty()) {
        view = pool->back();
        pool->pop_back();
    }
    if (!view) {
        const auto factory = m_supplementaryViewClassMap.value(identifier);
        view = factory ? factory() : new KeltCollectionViewReusableView;
    }
    view->setReuseIdentifier(withReuseIdentifer);
    view->setKind(kind);
    return view;
}

void KeltCollectionView::enqueueReusableCell(KeltCollectionViewCell* cell, const QString& withIdentifier)
{
    if (!cell || withIdentifier.isEmpty())
        return;
    m_reusableCells[withIdentifier].push_back(cell);
}

void KeltCollectionView::enqueueReusableSupplementaryView(
    KeltCollectionViewReusableView* view, const QString& ofKind, const QString& withReuseIdentifier)
{
    if (!view || withReuseIdentifier.isEmpty())
        return;
    m_reusableSupplementaryViews[supplementaryIdentifier(ofKind, withReuseIdentifier)].push_back(view);
}

qint64 KeltCollectionView::reusableCellCount() const
{
    qint64 count = 0;
    for (const auto& pool : m_reusableCells)
        count += qint64(pool.size());
    return count;
}

// ---- Reload and layout ----------------------------------------------------------------------

void KeltCollectionView::reloadData()
{
    KeltCollectionViewModel::reloadData();
}

void KeltCollectionView::discard(QWidget* view)
{
    // Deleted later: a reload may run inside one of the cell's own event handlers.
    view->hide();
    view->deleteLater();
}

void KeltCollectionView::performFullRelayoutForcingSubviewsReset(bool reset)
{
    if (reset && wantsLayout()) {
        for (auto& pool : m_reusableCells) {
            for (KeltCollectionViewCell* cell : pool)
                discard(cell);
        }
        m_reusableCells.clear();
        for (auto& pool : m_reusableSupplementaryViews) {
            for (KeltCollectionViewReusableView* view : pool)
                discard(view);
        }
        m_reusableSupplementaryViews.clear();
        const auto visible = m_visibleCellsMap;
        m_visibleCellsMap.clear();
        for (auto it = visible.cbegin(); it != visible.cend(); ++it) {
            if (delegate())
                delegate()->didEndDisplayingCell(this, it.value(), it.key());
            discard(it.value());
        }
        for (KeltCollectionViewReusableView* view : std::as_const(m_visibleSupplementaryViewsMap))
            discard(view);
        m_visibleSupplementaryViewsMap.clear();
    }
    if (wantsLayout() && collectionViewLayout()) {
        const int direction = collectionViewLayout()->scrollDirection();
        setVerticalScrollBarPolicy(direction != 1 ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
        setHorizontalScrollBarPolicy(direction != 0 ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
        setDocumentSize(KeltCollectionViewModel::data().encompassingSize());
    }
    // Every cell may move: one repaint of the viewport afterwards is cheaper than one per move.
    // Only an explicit "off" is kept: updates that are off because an ancestor turned them off for
    // a moment (a stacked layout switching pages does) must not be made off for good here.
    const bool forcedOff = viewport()->testAttribute(Qt::WA_ForceUpdatesDisabled);
    viewport()->setUpdatesEnabled(false);
    layoutCellsWithRedraw(true);
    layoutSupplementaryViewsWithRedraw(true);
    if (!forcedOff)
        viewport()->setUpdatesEnabled(true);
    m_lastDrawnSize = visibleSize();
}

void KeltCollectionView::layoutDocument()
{
    if (m_inLayout) {
        // A scroll bar that appeared or went away changed the visible size during the pass.
        m_layoutAgain = true;
        return;
    }
    m_inLayout = true;
    for (int pass = 0; pass < 3; ++pass) {
        m_layoutAgain = false;
        const QSizeF visible = visibleSize();
        if (visible == m_lastDrawnSize) {
            layoutCellsWithRedraw(false);
            layoutSupplementaryViewsWithRedraw(false);
        } else {
            updateScrollBars();
            clipView()->constrainOrigin();
            const bool invalidate = collectionViewLayout()
                && collectionViewLayout()->shouldInvalidateLayoutForBoundsChange(QRectF(QPointF(0, 0), visible));
            KeltCollectionViewModel::data().recalculateAndPrepareLayout(invalidate);
            performFullRelayoutForcingSubviewsReset(false);
        }
        if (!m_layoutAgain)
            break;
    }
    m_inLayout = false;
    updateFocusRect();
}

void KeltCollectionView::updateFocusRect()
{
    const OptionalIndexPath current = indexPathForSelectedItem();
    QRect rect;
    if (current && validateIndexPath(current))
        rect = viewportRect(rectForItemAtIndexPath(current)).translated(viewport()->pos());
    FocusRing::setFocusRect(this, rect);
}

void KeltCollectionView::reflectScrolledClipView()
{
    layoutDocument();
}

bool KeltCollectionView::viewportEvent(QEvent* event)
{
    if (event->type() == QEvent::Resize) {
        const bool handled = KeltScrollView::viewportEvent(event);
        layoutDocument();
        emit boundsDidChange();
        return handled;
    }
    return KeltScrollView::viewportEvent(event);
}

QRect KeltCollectionView::viewportRect(const QRectF& documentFrame) const
{
    const QPoint origin = pixelOrigin();
    return QRect(int(std::lround(documentFrame.x())) - origin.x(), int(std::lround(documentFrame.y())) - origin.y(),
        int(std::lround(documentFrame.width())), int(std::lround(documentFrame.height())));
}

void KeltCollectionView::applyLayoutAttributes(KeltCollectionViewCell* cell, const OptionalLayoutAttributes& attributes)
{
    const QRectF frame = attributes ? attributes->frame : QRectF();
    cell->willLayoutWithFrame(frame);
    cell->setDocumentFrame(frame);
    const QRect target = viewportRect(frame);
    if (cell->geometry() != target)
        cell->setGeometry(target);
    cell->setAlphaValue(attributes ? attributes->alpha : 0.0);
    cell->didLayoutWithFrame(frame);
}

void KeltCollectionView::applyLayoutAttributes(
    KeltCollectionViewReusableView* view, const OptionalLayoutAttributes& attributes)
{
    const QRectF frame = attributes ? attributes->frame : QRectF();
    view->setDocumentFrame(frame);
    const QRect target = viewportRect(frame);
    if (view->geometry() != target)
        view->setGeometry(target);
    view->setAlphaValue(attributes ? attributes->alpha : 0.0);
    if (attributes && attributes->zIndex > 0)
        view->raise();
}

void KeltCollectionView::layoutCellsWithRedraw(bool redraw)
{
    KeltCollectionViewLayout* layout = collectionViewLayout();
    if (!dataSource() || !wantsLayout() || !layout)
        return;
    if (redraw || layout->shouldApplyExistingLayoutAttributesOnLayout()) {
        for (auto it = m_visibleCellsMap.cbegin(); it != m_visibleCellsMap.cend(); ++it)
            applyLayoutAttributes(it.value(), layout->layoutAttributesForItemAtIndexPath(it.key()));
    }
    const std::vector<KeltIndexPath> paths = indexPathsForItemsInRect(documentVisibleRect());
    QSet<KeltIndexPath> wanted;
    wanted.reserve(qsizetype(paths.size()));
    for (const KeltIndexPath& path : paths)
        wanted.insert(path);

    std::vector<KeltIndexPath> gone;
    for (auto it = m_visibleCellsMap.cbegin(); it != m_visibleCellsMap.cend(); ++it) {
        if (!wanted.contains(it.key()))
            gone.push_back(it.key());
    }
    for (const KeltIndexPath& path : gone) {
        KeltCollectionViewCell* cell = m_visibleCellsMap.take(path);
        cell->hide();
        cell->setObjectValue(QVariant());
        if (cell->reuseIdentifier().isEmpty())
            discard(cell);
        else
            enqueueReusableCell(cell, cell->reuseIdentifier());
        if (delegate())
            delegate()->didEndDisplayingCell(this, cell, path);
    }

    for (const KeltIndexPath& path : paths) {
        if (m_visibleCellsMap.contains(path))
            continue;
        KeltCollectionViewCell* cell = dataSource()->cellForItemAtIndexPath(this, path);
        if (!cell)
            continue;
        cell->setIndexPath(path);
        cell->setCollectionView(this);
        applyLayoutAttributes(cell, layout->layoutAttributesForItemAtIndexPath(path));
        if (cell->parentWidget() != viewport())
            cell->setParent(viewport());
        cell->show();
        cell->setSelected(isItemSelected(path), false);
        if (delegate() && delegate()->answersObjectValue())
            cell->setObjectValue(delegate()->objectValueForItemAtIndexPath(this, path));
        m_visibleCellsMap.insert(path, cell);
    }
}

void KeltCollectionView::layoutSupplementaryViewsWithRedraw(bool redraw)
{
    KeltCollectionViewLayout* layout = collectionViewLayout();
    if (!dataSource() || !dataSource()->answersSupplementaryViews() || !wantsLayout() || !layout)
        return;
    if (redraw || layout->shouldApplyExistingLayoutAttributesOnLayout()) {
        for (auto it = m_visibleSupplementaryViewsMap.cbegin(); it != m_visibleSupplementaryViewsMap.cend(); ++it) {
            const qint64 section = it.key().section(QLatin1Char('/'), 0, 0).toLongLong();
            applyLayoutAttributes(
                it.value(), layout->layoutAttributesForSupplementaryItemInSection(section, it.value()->kind()));
        }
    }
    const QRectF visible = documentVisibleRect();
    QSet<QString> wanted;
    std::vector<std::pair<QString, qint64>> wantedOrder;
    for (qint64 section = 0; section < numberOfSections(); ++section) {
        for (auto it = m_supplementaryViewClassMap.cbegin(); it != m_supplementaryViewClassMap.cend(); ++it) {
            const QString kind = it.key().section(QLatin1Char('/'), 0, 0);
            const auto attributes = layout->layoutAttributesForSupplementaryItemInSection(section, kind);
            if (attributes && Geometry::intersectsRect(attributes->frame, visible)) {
                const QString id = layoutIdentifier(section, it.key());
                wanted.insert(id);
                wantedOrder.emplace_back(id, section);
            }
        }
    }
    const auto visibleIds = m_visibleSupplementaryViewsMap.keys();
    for (const QString& id : visibleIds) {
        if (wanted.contains(id))
            continue;
        KeltCollectionViewReusableView* view = m_visibleSupplementaryViewsMap.take(id);
        // Hidden but kept as a child of the viewport, so the view still owns it while it waits.
        view->hide();
        if (view->reuseIdentifier().isEmpty())
            discard(view);
        else
            enqueueReusableSupplementaryView(view, view->kind(), view->reuseIdentifier());
    }
    for (const auto& [id, section] : wantedOrder) {
        if (m_visibleSupplementaryViewsMap.contains(id))
            continue;
        const QString kind = id.section(QLatin1Char('/'), 1, 1);
        KeltCollectionViewReusableView* view = dataSource()->viewForSupplementaryViewOfKind(this, kind, section);
        if (!view)
            continue;
        if (view->parentWidget() != viewport())
            view->setParent(viewport());
        applyLayoutAttributes(view, layout->layoutAttributesForSupplementaryItemInSection(section, kind));
        view->show();
        m_visibleSupplementaryViewsMap.insert(id, view);
    }
}

// ---- Queries --------------------------------------------------------------------------------

std::vector<KeltCollectionViewCell*> KeltCollectionView::visibleCells() const
{
    std::vector<KeltCollectionViewCell*> cells;
    cells.reserve(size_t(m_visibleCellsMap.size()));
    for (KeltCollectionViewCell* cell : m_visibleCellsMap)
        cells.push_back(cell);
    return cells;
}

KeltCollectionViewCell* KeltCollectionView::cellForItemAtIndexPath(KeltIndexPath indexPath) const
{
    return m_visibleCellsMap.value(indexPath, nullptr);
}

KeltCollectionViewReusableView* KeltCollectionView::supplementaryViewForKind(
    const QString& kind, const QString& reuseIdentifier, qint64 inSection) const
{
    return m_visibleSupplementaryViewsMap.value(
        layoutIdentifier(inSection, supplementaryIdentifier(kind, reuseIdentifier)), nullptr);
}

OptionalIndexPath KeltCollectionView::indexPathForCell(const KeltCollectionViewCell* cell) const
{
    return cell ? cell->indexPath() : std::nullopt;
}

void KeltCollectionView::setSelectedOnVisibleCell(KeltIndexPath indexPath, bool selected, bool animated)
{
    if (KeltCollectionViewCell* cell = m_visibleCellsMap.value(indexPath, nullptr))
        cell->setSelected(selected, animated);
}

void KeltCollectionView::selectionDidChange()
{
    // Once per selection call, not per item: selecting a million items places the ring once.
    updateFocusRect();
}

QWidget* KeltCollectionView::locationsView() const
{
    QWidget* view = parentWidget() ? parentWidget() : const_cast<KeltCollectionView*>(this);
    return view->parentWidget() ? view->parentWidget() : view;
}

QString KeltCollectionView::description() const
{
    const QRect g = geometry();
    const QPointF offset = documentVisibleRect().topLeft();
    return QStringLiteral("<%1: %2; frame = {{%3, %4}, {%5, %6}}; content offset: {%7, %8}> collection view layout: %9")
        .arg(QString::fromLatin1(metaObject()->className()))
        .arg(quintptr(this), 0, 16)
        .arg(g.x())
        .arg(g.y())
        .arg(g.width())
        .arg(g.height())
        .arg(offset.x())
        .arg(offset.y())
        .arg(quintptr(collectionViewLayout()), 0, 16);
}

} // namespace vantrel
