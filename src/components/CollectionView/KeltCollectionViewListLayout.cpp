#include "components/CollectionView/KeltCollectionViewListLayout.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "components/CollectionView/KeltCollectionViewModel.h"
#include "components/Geometry.h"

namespace vantrel {

const QString KeltCollectionViewListLayout::KeltCollectionViewListLayoutHeaderKind
    = QStringLiteral("KeltCollectionViewListLayoutHeader");
const QString KeltCollectionViewListLayout::KeltCollectionViewListLayoutFooterKind
    = QStringLiteral("KeltCollectionViewListLayoutFooter");

std::optional<double> KeltCollectionViewListLayoutDelegate::heightForRowAtIndexPath(KeltCollectionView*, KeltIndexPath)
{
    return std::nullopt;
}

double KeltCollectionViewListLayoutDelegate::heightForHeaderInSection(KeltCollectionView*, qint64)
{
    return 0;
}

double KeltCollectionViewListLayoutDelegate::heightForFooterInSection(KeltCollectionView*, qint64)
{
    return 0;
}

void KeltCollectionViewListLayout::prepareLayout()
{
    m_sections.clear();
    KeltCollectionView* view = collectionView() ? collectionView()->collectionViewWidget() : nullptr;
    const double width = visibleWidth();
    double total = 0;
    for (qint64 s = 0; s < sectionCount(); ++s) {
        Section section;
        section.index = s;
        section.offset = total;
        section.headerHeight = m_delegate ? std::trunc(m_delegate->heightForHeaderInSection(view, s)) : 0;
        section.footerHeight = m_delegate ? std::trunc(m_delegate->heightForFooterInSection(view, s)) : 0;
        section.height = section.headerHeight;
        const qint64 rows = itemCount(s);
        section.rowInfo.resize(size_t(rows));
        for (qint64 row = 0; row < rows; ++row) {
            std::optional<double> height;
            if (m_delegate)
                height = m_delegate->heightForRowAtIndexPath(view, KeltIndexPath::kelt_indexPathForItem(row, s));
            Row& info = section.rowInfo[size_t(row)];
            info.height = height.value_or(m_rowHeight);
            info.y = section.height;
            section.height += info.height + m_verticalSpacing;
        }
        if (rows > 0)
            section.height -= m_verticalSpacing;
        section.height += section.footerHeight;
        section.frame = QRectF(0, section.offset, width, section.height);
        total += section.height;
        m_sections.push_back(std::move(section));
    }
}

const KeltCollectionViewListLayout::Section* KeltCollectionViewListLayout::sectionAt(qint64 section) const
{
    return section >= 0 && section < qint64(m_sections.size()) ? &m_sections[size_t(section)] : nullptr;
}

QRectF KeltCollectionViewListLayout::rectForItemAtIndex(qint64 index, qint64 sectionIndex) const
{
    const Section* section = sectionAt(sectionIndex);
    if (!section || index < 0 || index >= section->numberOfRows())
        return {};
    const Row& row = section->rowInfo[size_t(index)];
    return QRectF(0, section->offset + row.y, visibleWidth(), row.height);
}

OptionalLayoutAttributes KeltCollectionViewListLayout::layoutAttributesForItemAtIndexPath(KeltIndexPath indexPath) const
{
    const Section* section = sectionAt(indexPath.kelt_section());
    if (!section || indexPath.kelt_item() < 0 || indexPath.kelt_item() >= section->numberOfRows())
        return std::nullopt;
    return KeltCollectionViewLayoutAttributes { rectForItemAtIndex(indexPath.kelt_item(), indexPath.kelt_section()),
        1.0, 0 };
}

double KeltCollectionViewListLayout::headerY(qint64 sectionIndex) const
{
    if (!m_stickyHeaders)
        return m_sections[size_t(sectionIndex)].offset;
    // A pinned header stays at the top of the visible area, pushed up by the next section's
    // header, itself pinned the same way. A header that starts at or below the visible top is
    // never pushed (sections are at least as high as their headers), which ends the chain.
    const double top = collectionView() ? collectionView()->documentVisibleRect().y() : 0;
    const auto count = qint64(m_sections.size());
    qint64 unpushed = sectionIndex + 1;
    while (unpushed < count && m_sections[size_t(unpushed)].offset < top)
        ++unpushed;
    double next = unpushed < count ? m_sections[size_t(unpushed)].offset : double(std::numeric_limits<float>::max());
    for (qint64 i = unpushed - 1; i >= sectionIndex; --i) {
        const Section& section = m_sections[size_t(i)];
        next = std::min(std::max(section.offset, top), next - section.headerHeight);
    }
    return next;
}

OptionalLayoutAttributes KeltCollectionViewListLayout::layoutAttributesForSupplementaryItemInSection(
    qint64 sectionIndex, const QString& kind) const
{
    const Section* section = sectionAt(sectionIndex);
    if (!section)
        return std::nullopt;
    KeltCollectionViewLayoutAttributes attributes { QRectF(), 1.0, std::numeric_limits<qint64>::max() };
    if (kind == KeltCollectionViewListLayoutHeaderKind) {
        attributes.frame = QRectF(0, headerY(sectionIndex), visibleWidth(), section->headerHeight);
    } else if (kind == KeltCollectionViewListLayoutFooterKind) {
        attributes.frame = QRectF(
            0, section->offset + section->height - section->footerHeight, visibleWidth(), section->footerHeight);
    }
    return attributes;
}

std::optional<QRectF> KeltCollectionViewListLayout::rectForSectionAtIndex(qint64 sectionIndex) const
{
    const Section* section = sectionAt(sectionIndex);
    return section ? section->frame : QRectF();
}

qint64 KeltCollectionViewListLayout::nearestIntersectingRowInSection(
    const Section& section, const QRectF& inRect, int edge) const
{
    const double y = (edge == 0 ? inRect.y() : Geometry::maxY(inRect)) - section.offset;
    const auto& rows = section.rowInfo;
    const auto found
        = std::lower_bound(rows.begin(), rows.end(), y, [](const Row& row, double v) { return row.y < v; });
    auto index = qint64(found - rows.begin());
    if (found != rows.end() && found->y == y)
        return index;
    // No row starts exactly at the edge: take the last one starting above it...
    index = std::max<qint64>(index - 1, 0);
    if (edge == 1) {
        // ...and for the bottom edge move on while the edge lies below that row's end.
        while (index + 1 < qint64(rows.size()) && y > rows[size_t(index)].y + rows[size_t(index)].height)
            ++index;
    }
    return index;
}

std::optional<std::vector<KeltIndexPath>> KeltCollectionViewListLayout::indexPathsForItemsInRect(
    const QRectF& rect) const
{
    std::vector<KeltIndexPath> paths;
    for (const Section& section : m_sections) {
        if (section.rowInfo.empty() || !Geometry::intersectsRect(section.frame, rect))
            continue;
        const qint64 first = nearestIntersectingRowInSection(section, rect, 0);
        const qint64 last = nearestIntersectingRowInSection(section, rect, 1);
        for (qint64 row = first; row <= last; ++row)
            paths.push_back(KeltIndexPath::kelt_indexPathForItem(row, section.index));
    }
    return paths;
}

OptionalIndexPath KeltCollectionViewListLayout::indexPathForNextItemInDirection(
    int direction, OptionalIndexPath currentIndexPath) const
{
    KeltCollectionViewModel* view = collectionView();
    if (!view)
        return currentIndexPath;
    if (direction == kDirectionUp)
        return view->indexPathForNextSelectableItemBeforeIndexPath(currentIndexPath);
    if (direction == kDirectionDown)
        return view->indexPathForNextSelectableItemAfterIndexPath(currentIndexPath);
    return currentIndexPath;
}

} // namespace vantrel
