#pragma once

#include <vector>

#include <QMarginsF>

#include "components/CollectionView/KeltCollectionViewLayout.h"

namespace vantrel {

class KeltCollectionView;

/// Item sizes (required) and header and footer widths (optional) of a horizontal strip layout.
class QzCollectionViewHorizontalLayoutDelegate {
public:
    virtual ~QzCollectionViewHorizontalLayoutDelegate() = default;
    virtual QSizeF sizeForItemAtIndexPath(KeltCollectionView* collectionView, KeltIndexPath indexPath) = 0;
    /// Used as whole numbers (truncated).
    virtual double widthForHeaderInSection(KeltCollectionView* collectionView, qint64 section);
    virtual double widthForFooterInSection(KeltCollectionView* collectionView, qint64 section);
};

/// Each section is one horizontal strip of items placed left to right with a fixed gap; strips
/// are stacked downwards and the view scrolls horizontally. An item starts at the sum of the
/// widths and gaps before it, so items of mixed widths never overlap.
class QzCollectionViewHorizontalLayout : public KeltCollectionViewLayout {
public:
    struct Section {
        double offset = 0; // y of the strip
        double height = 0;
        double headerWidth = 0;
        double footerWidth = 0;
        qint64 index = 0;
        std::vector<QRectF> itemInfo; // relative to the strip
        QMarginsF insets;
        qint64 numberOfItems() const { return qint64(itemInfo.size()); }
    };

    QzCollectionViewHorizontalLayoutDelegate* delegate() const { return m_delegate; }
    void setDelegate(QzCollectionViewHorizontalLayoutDelegate* delegate) { m_delegate = delegate; }
    double itemHorizontalMargin() const { return m_itemHorizontalMargin; }
    void setItemHorizontalMargin(double margin) { m_itemHorizontalMargin = margin; }
    const std::vector<Section>& sections() const { return m_sections; }

    void prepareLayout() override;
    OptionalLayoutAttributes layoutAttributesForItemAtIndexPath(KeltIndexPath indexPath) const override;
    std::optional<QRectF> rectForSectionAtIndex(qint64 section) const override;
    std::optional<std::vector<KeltIndexPath>> indexPathsForItemsInRect(const QRectF& rect) const override;
    OptionalIndexPath indexPathForNextItemInDirection(int direction, OptionalIndexPath currentIndexPath) const override;
    int scrollDirection() const override { return 1; }

    double headerWidthForSection(qint64 section) const;
    double footerWidthForSection(qint64 section) const;
    /// The item at a rectangle's left edge (edge 0) or right edge (edge 1), by binary search.
    qint64 nearestIntersectingItemInSection(const Section& section, const QRectF& inRect, int edge) const;

private:
    const Section* sectionAt(qint64 section) const;

    QzCollectionViewHorizontalLayoutDelegate* m_delegate = nullptr;
    double m_itemHorizontalMargin = 0;
    std::vector<Section> m_sections;
};

} // namespace vantrel
