#pragma once

#include <optional>
#include <utility>
#include <vector>

#include <QMarginsF>
#include <QSizeF>

#include "components/CollectionView/KeltCollectionViewLayout.h"

namespace vantrel {

class KeltCollectionView;
class KeltCollectionViewGridLayout;

/// Item size, header and footer heights and section insets of a grid. All optional: the defaults
/// behave as a delegate that does not answer.
class KeltCollectionViewGridLayoutDelegate {
public:
    virtual ~KeltCollectionViewGridLayoutDelegate() = default;
    /// The size of every item; std::nullopt keeps the layout's itemSize.
    virtual std::optional<QSizeF> sizeForItemInCollectionView(KeltCollectionView* collectionView);
    /// Used as whole numbers (truncated).
    virtual double heightForHeaderInSection(KeltCollectionView* collectionView, qint64 section);
    virtual double heightForFooterInSection(KeltCollectionView* collectionView, qint64 section);
    /// Only the top, left and bottom insets are used; the left one shifts every column.
    virtual QMarginsF insetForSectionAtIndex(
        KeltCollectionView* collectionView, KeltCollectionViewGridLayout* layout, qint64 section);
};

/// A vertically scrolling grid of equally sized items, filled row by row, as many columns as the
/// visible width allows, the spare width shared out as equal padding; sections follow one another
/// downwards with optional headers and footers. Every position is computed from the item's index,
/// so preparing costs O(sections) whatever the item count, and the rectangle and point queries
/// are arithmetic.
class KeltCollectionViewGridLayout : public KeltCollectionViewLayout {
public:
    static const QString KeltCollectionViewGridLayoutHeaderKind;
    static const QString KeltCollectionViewGridLayoutFooterKind;

    /// A range of rows or columns: (location, length).
    using Range = std::pair<qint64, qint64>;

    /// Geometry of one section as prepared.
    struct Section {
        double offset = 0; // y of the first row
        double height = 0; // height of the rows
        double headerHeight = 0;
        double footerHeight = 0;
        double insetLeft = 0;
        qint64 index = 0;
        qint64 numberOfItems = 0;
    };

    KeltCollectionViewGridLayoutDelegate* delegate() const { return m_delegate; }
    void setDelegate(KeltCollectionViewGridLayoutDelegate* delegate) { m_delegate = delegate; }
    QSizeF itemSize() const { return m_itemSize; }
    void setItemSize(QSizeF size) { m_itemSize = size; }
    bool itemPaddingEnabled() const { return m_itemPaddingEnabled; }
    void setItemPaddingEnabled(bool enabled) { m_itemPaddingEnabled = enabled; }
    double verticalSpacing() const { return m_verticalSpacing; }
    void setVerticalSpacing(double spacing) { m_verticalSpacing = spacing; }
    double itemHorizontalMargin() const { return m_itemHorizontalMargin; }
    void setItemHorizontalMargin(double margin) { m_itemHorizontalMargin = margin; }
    qint64 numberOfColumns() const { return m_numberOfColumns; }
    double itemPadding() const { return m_itemPadding; }
    const std::vector<Section>& sections() const { return m_sections; }

    void prepareLayout() override;
    OptionalLayoutAttributes layoutAttributesForItemAtIndexPath(KeltIndexPath indexPath) const override;
    OptionalLayoutAttributes layoutAttributesForSupplementaryItemInSection(
        qint64 section, const QString& kind) const override;
    std::optional<QRectF> rectForSectionAtIndex(qint64 section) const override;
    std::optional<std::vector<KeltIndexPath>> indexPathsForItemsInRect(const QRectF& rect) const override;
    OptionalIndexPath indexPathForItemAtPoint(const QPointF& point) const override;
    OptionalIndexPath indexPathForNextItemInDirection(int direction, OptionalIndexPath currentIndexPath) const override;
    bool shouldInvalidateLayoutForBoundsChange(const QRectF& newBounds) override;

    Range columnsInRect(const QRectF& rect) const;
    Range rowsInRect(const QRectF& rect, const Section& fromSection) const;

private:
    const Section* sectionAt(qint64 section) const;
    double rowPitch() const { return m_itemSize.height() + m_verticalSpacing; }

    KeltCollectionViewGridLayoutDelegate* m_delegate = nullptr;
    QSizeF m_itemSize { 44, 44 };
    bool m_itemPaddingEnabled = true;
    double m_verticalSpacing = 0;
    double m_itemHorizontalMargin = 0;
    qint64 m_numberOfColumns = 0;
    double m_itemPadding = 0;
    double m_preparedWidth = 0;
    QRectF m_lastInvalidatedBounds;
    std::vector<Section> m_sections;
};

} // namespace vantrel
