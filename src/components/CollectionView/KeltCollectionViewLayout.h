#pragma once

#include <optional>
#include <vector>

#include <QRectF>
#include <QSizeF>
#include <QString>

#include "components/CollectionView/KeltCollectionViewLayoutAttributes.h"
#include "components/CollectionView/KeltIndexPath.h"

namespace vantrel {

class KeltCollectionViewModel;

/// Base of every layout: places items and supplementary views in document coordinates. The base
/// places nothing; a subclass overrides what it needs. Owned by its view, which sets the back
/// reference when the layout is installed.
class KeltCollectionViewLayout {
public:
    /// Directions of indexPathForNextItemInDirection (any other value keeps the current item).
    static constexpr int kDirectionLeft = 0;
    static constexpr int kDirectionRight = 1;
    static constexpr int kDirectionUp = 2;
    static constexpr int kDirectionDown = 3;

    KeltCollectionViewLayout() = default;
    virtual ~KeltCollectionViewLayout() = default;
    KeltCollectionViewLayout(const KeltCollectionViewLayout&) = delete;
    KeltCollectionViewLayout& operator=(const KeltCollectionViewLayout&) = delete;

    /// Tells the view, which recalculates its counts, prepares the layout again and redoes every cell.
    void invalidateLayout();
    virtual void prepareLayout() { }

    virtual OptionalLayoutAttributes layoutAttributesForItemAtIndexPath(KeltIndexPath indexPath) const;
    virtual OptionalLayoutAttributes layoutAttributesForSupplementaryItemInSection(
        qint64 section, const QString& kind) const;
    /// std::nullopt when the layout has no answer; the view then searches item by item.
    virtual std::optional<std::vector<KeltIndexPath>> indexPathsForItemsInRect(const QRectF& rect) const;
    /// The item whose frame holds the point. The base walks the sections and items in order; a
    /// layout that can answer arithmetically overrides it.
    virtual OptionalIndexPath indexPathForItemAtPoint(const QPointF& point) const;
    /// std::nullopt ("null rectangle") lets the data object unite the section's frames.
    virtual std::optional<QRectF> rectForSectionAtIndex(qint64 section) const;
    /// A zero size lets the data object unite the section frames.
    virtual QSizeF contentSize() const { return QSizeF(0, 0); }
    /// 0 vertical (vertical scroller only), 1 horizontal (horizontal scroller only), else both.
    virtual int scrollDirection() const { return 0; }
    virtual OptionalIndexPath indexPathForNextItemInDirection(int direction, OptionalIndexPath currentIndexPath) const;
    virtual bool shouldInvalidateLayoutForBoundsChange(const QRectF& newBounds);
    virtual bool shouldApplyExistingLayoutAttributesOnLayout() const { return true; }

    KeltCollectionViewModel* collectionView() const { return m_collectionView; }
    void setCollectionView(KeltCollectionViewModel* collectionView) { m_collectionView = collectionView; }

protected:
    /// Width of the view's visible area (0 without a view).
    double visibleWidth() const;
    /// Item count of a section as the view's data object caches it.
    qint64 itemCount(qint64 section) const;
    qint64 sectionCount() const;

private:
    KeltCollectionViewModel* m_collectionView = nullptr;
};

} // namespace vantrel
