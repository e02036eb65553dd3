#include "components/CollectionView/KeltCollectionViewLayout.h"

#include "components/CollectionView/KeltCollectionViewModel.h"
#include "components/Geometry.h"

namespace vantrel {

void KeltCollectionViewLayout::invalidateLayout()
{
    if (m_collectionView)
        m_collectionView->collectionViewLayoutWasInvalidated(this);
}

OptionalLayoutAttributes KeltCollectionViewLayout::layoutAttributesForItemAtIndexPath(KeltIndexPath) const
{
    return std::nullopt;
}

OptionalLayoutAttributes KeltCollectionViewLayout::layoutAttributesForSupplementaryItemInSection(
    qint64, const QString&) const
{
    return std::nullopt;
}

std::optional<std::vector<KeltIndexPath>> KeltCollectionViewLayout::indexPathsForItemsInRect(const QRectF&) const
{
    return std::nullopt;
}

OptionalIndexPath KeltCollectionViewLayout::indexPathForItemAtPoint(const QPointF& point) const
{
    if (!m_collectionView)
        return std::nullopt;
    for (const auto& section : m_collectionView->data().sections()) {
        if (!Geometry::pointInRect(point, section.frame))
            continue;
        for (qint64 item = 0; item < section.numberOfItems; ++item) {
            const auto path = KeltIndexPath::kelt_indexPathForItem(item, section.index);
            const auto attributes = layoutAttributesForItemAtIndexPath(path);
            if (attributes && Geometry::pointInRect(point, attributes->frame))
                return path;
        }
    }
    return std::nullopt;
}

std::optional<QRectF> KeltCollectionViewLayout::rectForSectionAtIndex(qint64) const
{
    return std::nullopt;
}

OptionalIndexPath KeltCollectionViewLayout::indexPathForNextItemInDirection(
    int, OptionalIndexPath currentIndexPath) const
{
    return currentIndexPath;
}

bool KeltCollectionViewLayout::shouldInvalidateLayoutForBoundsChange(const QRectF&)
{
    return true;
}

double KeltCollectionViewLayout::visibleWidth() const
{
    return m_collectionView ? m_collectionView->documentVisibleRect().width() : 0.0;
}

qint64 KeltCollectionViewLayout::itemCount(qint64 section) const
{
    return m_collectionView ? m_collectionView->numberOfItemsInSection(section) : 0;
}

qint64 KeltCollectionViewLayout::sectionCount() const
{
    return m_collectionView ? m_collectionView->numberOfSections() : 0;
}

} // namespace vantrel
