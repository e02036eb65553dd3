#include "components/CollectionView/QzCollectionViewHorizontalLayout.h"

#include <algorithm>
#include <cmath>

#include "components/CollectionView/KeltCollectionViewModel.h"
#include "components/Geometry.h"

namespace vantrel {

double QzCollectionViewHorizontalLayoutDelegate::widthForHeaderInSection(KeltCollectionView*, qint64)
{
    return 0;
}

double QzCollectionViewHorizontalLayoutDelegate::widthForFooterInSection(KeltCollectionView*, qint64)
{
    return 0;
}

double QzCollectionViewHorizontalLayout::headerWidthForSection(qint64 section) const
{
    KeltCollectionView* view = collectionView() ? collectionView()->collectionViewWidget() : nullptr;
    return m_delegate ? std::trunc(m_delegate->widthForHeaderInSection(view, section)) : 0;
}

double QzCollectionViewHorizontalLayout::footerWidthForSection(qint64 section) const
{
    KeltCollectionView* view = collectionView() ? collectionView()->collectionViewWidget() : nullptr;
    return m_delegate ? std::trunc(m_delegate->widthForFooterInSection(view, section)) : 0;
}

void QzCollectionViewHorizontalLayout::prepareLayout()
{
    m_sections.clear();
    KeltCollectionView* view = collectionView() ? collectionView()->collectionViewWidget() : nullptr;
    double total = 0;
    for (qint64 s = 0; s < sectionCount(); ++s) {
        Section section;
        section.offset = total;
        section.headerWidth = headerWidthForSection(s);
        section.footerWidth = footerWidthForSection(s);
        section.index = s;
        const qint64 items = itemCount(s);
        section.itemInfo.reserve(size_t(items));
        double x = 0;
        for (qint64 item = 0; item < items; ++item) {
            const QSizeF size = m_delegate
                ? m_delegate->sizeForItemAtIndexPath(view, KeltIndexPath::kelt_indexPathForItem(item, s))
                : QSizeF(0, 0);
            section.itemInfo.emplace_back(x, 0, size.width(), size.height());
            x += size.width() + m_itemHorizontalMargin;
            section.height = std::max(section.height, size.height());
        }
        total += section.height;
        m_sections.push_back(std::move(section));
    }
}

const QzCollectionViewHorizontalLayout::Section* QzCollectionViewHorizontalLayout::sectionAt(qint64 section) const
{
    return section >= 0 && section < qint64(m_sections.size()) ? &m_sections[size_t(section)] : nullptr;
}

OptionalLayoutAttributes QzCollectionViewHorizontalLayout::layoutAttributesForItemAtIndexPath(
    KeltIndexPath indexPath) const
{
    const Section* section = sectionAt(indexPath.kelt_section());
    if (!section || indexPath.kelt_item() < 0 || indexPath.kelt_item() >= section->numberOfItems())
        return std::nullopt;
    return KeltCollectionViewLayoutAttributes {
        section->itemInfo[size_t(indexPath.kelt_item())].translated(0, section->offset), 1.0, 0
    };
}

std::optional<QRectF> QzCollectionViewHorizontalLayout::rectForSectionAtIndex(qint64 sectionIndex) const
{
    const Section* section = sectionAt(sectionIndex);
    if (!section)
        return QRectF();
    const double lastEdge = section->itemInfo.empty() ? 0 : Geometry::maxX(section->itemInfo.back());
    const double width = lastEdge + section->insets.right() + section->headerWidth + section->footerWidth;
    return QRectF(0, section->offset, width, section->height);
}

qint64 QzCollectionViewHorizontalLayout::nearestIntersectingItemInSection(
    const Section& section, const QRectF& inRect, int edge) const
{
    const double x = edge == 0 ? inRect.x() : Geometry::maxX(inRect);
    const auto& items = section.itemInfo;
    qint64 low = 0;
    qint64 high = qint64(items.size()) - 1;
    qint64 looked = 0;
    while (low <= high) {
        looked = low + (high - low) / 2;
        const QRectF& item = items[size_t(looked)];
        if (x >= item.x() && x <= Geometry::maxX(item))
            return looked;
        if (item.x() > x)
            high = looked - 1;
        else
            low = looked + 1;
    }
    return looked;
}

std::optional<std::vector<KeltIndexPath>> QzCollectionViewHorizontalLayout::indexPathsForItemsInRect(
    const QRectF& rect) const
{
    std::vector<KeltIndexPath> paths;
    for (const Section& section : m_sections) {
        if (section.itemInfo.empty())
            continue;
        const qint64 first = nearestIntersectingItemInSection(section, rect, 0);
        const qint64 last = nearestIntersectingItemInSection(section, rect, 1);
        for (qint64 item = first; item <= last; ++item)
            paths.push_back(KeltIndexPath::kelt_indexPathForItem(item, section.index));
    }
    return paths;
}

OptionalIndexPath QzCollectionViewHorizontalLayout::indexPathForNextItemInDirection(
    int direction, OptionalIndexPath currentIndexPath) const
{
    KeltCollectionViewModel* view = collectionView();
    if (!view)
        return currentIndexPath;
    if (direction == kDirectionLeft)
        return view->indexPathForNextSelectableItemBeforeIndexPath(currentIndexPath);
    if (direction == kDirectionRight)
        return view->indexPathForNextSelectableItemAfterIndexPath(currentIndexPath);
    return currentIndexPath;
}

} // namespace vantrel
