#pragma once

#include <optional>
#include <vector>

#include "components/CollectionView/KeltCollectionViewLayout.h"

namespace vantrel {

class KeltCollectionView;

/// Row, header and footer heights of a list. All optional.
class KeltCollectionViewListLayoutDelegate {
public:
    virtual ~KeltCollectionViewListLayoutDelegate() = default;
    /// std::nullopt keeps the layout's rowHeight.
    virtual std::optional<double> heightForRowAtIndexPath(KeltCollectionView* collectionView, KeltIndexPath indexPath);
    /// Used as whole numbers (truncated).
    virtual double heightForHeaderInSection(KeltCollectionView* collectionView, qint64 section);
    virtual double heightForFooterInSection(KeltCollectionView* collectionView, qint64 section);
};

/// One full-width row per item, rows stacked downwards with a fixed gap, each section with an
/// optional header at its top and footer at its bottom; headers may stay pinned to the top of the
/// visible area while their section scrolls by (each pushed up by the next one).
class KeltCollectionViewListLayout : public KeltCollectionViewLayout {
public:
    static const QString KeltCollectionViewListLayoutHeaderKind;
    static const QString KeltCollectionViewListLayoutFooterKind;

    struct Row {
        double height = 0;
        double y = 0; // relative to the section's offset
    };
    struct Section {
        qint64 index = 0;
        double offset = 0;
        double height = 0; // header, rows, gaps and footer
        double headerHeight = 0;
        double footerHeight = 0;
        std::vector<Row> rowInfo;
        QRectF frame;
        qint64 numberOfRows() const { return qint64(rowInfo.size()); }
    };

    KeltCollectionViewListLayoutDelegate* delegate() const { return m_delegate; }
    void setDelegate(KeltCollectionViewListLayoutDelegate* delegate) { m_delegate = delegate; }
    double rowHeight() const { return m_rowHeight; }
    void setRowHeight(double height) { m_rowHeight = height; }
    double verticalSpacing() const { return m_verticalSpacing; }
    void setVerticalSpacing(double spacing) { m_verticalSpacing = spacing; }
    bool stickyHeaders() const { return m_stickyHeaders; }
    void setStickyHeaders(bool sticky) { m_stickyHeaders = sticky; }
    const std::vector<Section>& sections() const { return m_sections; }

    void prepareLayout() override;
    OptionalLayoutAttributes layoutAttributesForItemAtIndexPath(KeltIndexPath indexPath) const override;
    OptionalLayoutAttributes layoutAttributesForSupplementaryItemInSection(
        qint64 section, const QString& kind) const override;
    std::optional<QRectF> rectForSectionAtIndex(qint64 section) const override;
    std::optional<std::vector<KeltIndexPath>> indexPathsForItemsInRect(const QRectF& rect) const override;
    OptionalIndexPath indexPathForNextItemInDirection(int direction, OptionalIndexPath currentIndexPath) const override;
    bool shouldInvalidateLayoutForBoundsChange(const QRectF&) override { return false; }
    bool shouldApplyExistingLayoutAttributesOnLayout() const override { return m_stickyHeaders; }

    QRectF rectForItemAtIndex(qint64 index, qint64 section) const;
    /// The row at a rectangle's top edge (edge 0) or bottom edge (edge 1), by binary search.
    qint64 nearestIntersectingRowInSection(const Section& section, const QRectF& inRect, int edge) const;

private:
    const Section* sectionAt(qint64 section) const;
    double headerY(qint64 section) const;

    KeltCollectionViewListLayoutDelegate* m_delegate = nullptr;
    double m_rowHeight = 44;
    double m_verticalSpacing = 0;
    bool m_stickyHeaders = false;
    std::vector<Section> m_sections;
};

} // namespace vantrel
