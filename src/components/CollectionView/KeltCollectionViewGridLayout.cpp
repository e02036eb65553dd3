#include "components/CollectionView/KeltCollectionViewGridLayout.h"

#include <algorithm>
#include <cmath>

#include "components/CollectionView/KeltCollectionViewModel.h"
#include "components/Geometry.h"

namespace vantrel {

const QString KeltCollectionViewGridLayout::KeltCollectionViewGridLayoutHeaderKind
    = QStringLiteral("KeltCollectionViewGridLayoutHeader");
const QString KeltCollectionViewGridLayout::KeltCollectionViewGridLayoutFooterKind
    = QStringLiteral("KeltCollectionViewGridLayoutFooter");

std::optional<QSizeF> KeltCollectionViewGridLayoutDelegate::sizeForItemInCollectionView(KeltCollectionView*)
{
    return std::nullopt;
}

double KeltCollectionViewGridLayoutDelegate::heightForHeaderInSection(KeltCollectionView*, qint64)
{
    return 0;
}

double KeltCollectionViewGridLayoutDelegate::heightForFooterInSection(KeltCollectionView*, qint64)
{
    return 0;
}

QMarginsF KeltCollectionViewGridLayoutDelegate::insetForSectionAtIndex(
    KeltCollectionView*, KeltCollectionViewGridLayout*, qint64)
{
    return {};
}

void KeltCollectionViewGridLayout::prepareLayout()
{
    m_sections.clear();
    KeltCollectionView* view = collectionView() ? collectionView()->collectionViewWidget() : nullptr;
    if (m_delegate) {
        if (const auto size = m_delegate->sizeForItemInCollectionView(view))
            m_itemSize = *size;
    }
    m_preparedWidth = visibleWidth();

    // The width is clamped at 0 and the column count at 1, so no size divides by zero.
    const double available = std::max(m_preparedWidth - m_itemHorizontalMargin, 0.0);
    const double columnPitch = m_itemHorizontalMargin + m_itemSize.width();
    const qint64 columns = columnPitch > 0 ? qint64(available / columnPitch) : 0;
    m_itemPadding = 0;
    if (columns > 0) {
        if (m_itemHorizontalMargin != 0)
            m_itemPadding = m_itemHorizontalMargin;
        else if (m_itemPaddingEnabled)
            m_itemPadding = std::floor(float((available - double(columns) * m_itemSize.width()) / double(columns + 1)));
    }
    m_numberOfColumns = std::max<qint64>(columns, 1);

    double total = 0;
    const qint64 count = sectionCount();
    m_sections.reserve(size_t(count));
    for (qint64 s = 0; s < count; ++s) {
        Section section;
        const QMarginsF insets = m_delegate ? m_delegate->insetForSectionAtIndex(view, this, s) : QMarginsF();
        section.headerHeight = m_delegate ? std::trunc(m_delegate->heightForHeaderInSection(view, s)) : 0;
        section.footerHeight = m_delegate ? std::trunc(m_delegate->heightForFooterInSection(view, s)) : 0;
        section.offset = total + section.headerHeight + insets.top();
        section.insetLeft = insets.left();
        section.index = s;
        section.numberOfItems = itemCount(s);
        const qint64 rows = (section.numberOfItems + m_numberOfColumns - 1) / m_numberOfColumns;
        section.height = rows > 0 ? double(rows - 1) * m_verticalSpacing + double(rows) * m_itemSize.height() : 0;
        total += section.height + section.footerHeight + section.headerHeight + insets.bottom() + insets.top();
        m_sections.push_back(section);
    }
}

const KeltCollectionViewGridLayout::Section* KeltCollectionViewGridLayout::sectionAt(qint64 section) const
{
    return section >= 0 && section < qint64(m_sections.size()) ? &m_sections[size_t(section)] : nullptr;
}

OptionalLayoutAttributes KeltCollectionViewGridLayout::layoutAttributesForItemAtIndexPath(KeltIndexPath indexPath) const
{
    const Section* section = sectionAt(indexPath.kelt_section());
    const qint64 item = indexPath.kelt_item();
    if (!section || item < 0 || item >= section->numberOfItems)
        return std::nullopt;
    const qint64 row = item / m_numberOfColumns;
    const qint64 column = item % m_numberOfColumns;
    const double x = (m_itemPadding + m_itemSize.width()) * double(column) + section->insetLeft + m_itemPadding;
    const double y = rowPitch() * double(row);
    return KeltCollectionViewLayoutAttributes { QRectF(x, section->offset + y, m_itemSize.width(), m_itemSize.height()),
        1.0, 0 };
}

OptionalLayoutAttributes KeltCollectionViewGridLayout::layoutAttributesForSupplementaryItemInSection(
    qint64 sectionIndex, const QString& kind) const
{
    const Section* section = sectionAt(sectionIndex);
    if (!section)
        return std::nullopt;
    KeltCollectionViewLayoutAttributes attributes { QRectF(), 1.0, 0 };
    if (kind == KeltCollectionViewGridLayoutHeaderKind)
        attributes.frame = QRectF(0, section->offset - section->headerHeight, visibleWidth(), section->headerHeight);
    else if (kind == KeltCollectionViewGridLayoutFooterKind)
        attributes.frame = QRectF(0, section->offset + section->height, visibleWidth(), section->footerHeight);
    return attributes;
}

std::optional<QRectF> KeltCollectionViewGridLayout::rectForSectionAtIndex(qint64 sectionIndex) const
{
    const Section* section = sectionAt(sectionIndex);
    if (!section)
        return QRectF();
    return QRectF(0, section->offset, visibleWidth(), section->height + section->headerHeight + section->footerHeight);
}

KeltCollectionViewGridLayout::Range KeltCollectionViewGridLayout::columnsInRect(const QRectF& rect) const
{
    qint64 first = -1;
    qint64 counted = 0;
    for (qint64 column = 0; column < m_numberOfColumns; ++column) {
        const double x = double(column) * (m_itemPadding + m_itemSize.width()) + m_itemPadding;
        if (Geometry::pointInRect(QPointF(x, rect.y()), rect)) {
            if (first < 0)
                first = column;
            ++counted;
        }
    }
    return first < 0 ? Range(0, 0) : Range(first, counted);
}

KeltCollectionViewGridLayout::Range KeltCollectionViewGridLayout::rowsInRect(
    const QRectF& rect, const Section& fromSection) const
{
    const double pitch = rowPitch();
    if (pitch <= 0 || rect.y() > fromSection.offset + fromSection.height || fromSection.offset > Geometry::maxY(rect))
        return { 0, 0 };
    const double relative = std::max(rect.y() - fromSection.offset, 0.0);
    const auto first = qint64(relative / pitch);
    const auto length = qint64(std::ceil(rect.height() / pitch)) + 1;
    return { first, length };
}

std::optional<std::vector<KeltIndexPath>> KeltCollectionViewGridLayout::indexPathsForItemsInRect(
    const QRectF& rect) const
{
    std::vector<KeltIndexPath> paths;
    const Range columns = columnsInRect(rect);
    for (const Section& section : m_sections) {
        const Range rows = rowsInRect(rect, section);
        bool pastEnd = false;
        for (qint64 row = rows.first; row < rows.first + rows.second && !pastEnd; ++row) {
            for (qint64 column = columns.first; column < columns.first + columns.second; ++column) {
                const qint64 item = m_numberOfColumns * row + column;
                if (item >= section.numberOfItems) {
                    pastEnd = true; // every later row starts further on
                    break;
                }
                paths.push_back(KeltIndexPath::kelt_indexPathForItem(item, section.index));
            }
        }
    }
    return paths;
}

OptionalIndexPath KeltCollectionViewGridLayout::indexPathForItemAtPoint(const QPointF& point) const
{
    if (!collectionView())
        return std::nullopt;
    const double pitch = rowPitch();
    const double columnPitch = m_itemPadding + m_itemSize.width();
    for (const auto& cached : collectionView()->data().sections()) {
        const Section* section = sectionAt(cached.index);
        if (!section || !Geometry::pointInRect(point, cached.frame))
            continue;
        // The first item in item order whose frame holds the point: items do not overlap, so it
        // is the one in the row and column under the point, if the point is not in a gap.
        const double relativeY = point.y() - section->offset;
        const double relativeX = point.x() - section->insetLeft - m_itemPadding;
        if (relativeY < 0 || relativeX < 0 || pitch <= 0 || columnPitch <= 0)
            continue;
        const auto row = qint64(relativeY / pitch);
        const auto column = qint64(relativeX / columnPitch);
        if (column >= m_numberOfColumns)
            continue;
        const qint64 item = row * m_numberOfColumns + column;
        const auto path = KeltIndexPath::kelt_indexPathForItem(item, section->index);
        const auto attributes = layoutAttributesForItemAtIndexPath(path);
        if (attributes && Geometry::pointInRect(point, attributes->frame))
            return path;
    }
    return std::nullopt;
}

OptionalIndexPath KeltCollectionViewGridLayout::indexPathForNextItemInDirection(
    int direction, OptionalIndexPath currentIndexPath) const
{
    KeltCollectionViewModel* view = collectionView();
    if (!view)
        return currentIndexPath;
    switch (direction) {
    case kDirectionLeft:
        return view->indexPathForNextSelectableItemBeforeIndexPath(currentIndexPath);
    case kDirectionRight:
        return view->indexPathForNextSelectableItemAfterIndexPath(currentIndexPath);
    case kDirectionUp:
    case kDirectionDown: {
        if (!view->validateIndexPath(currentIndexPath))
            return std::nullopt;
        const QRectF frame = view->rectForItemAtIndexPath(currentIndexPath);
        const double height = m_itemSize.height();
        const bool up = direction == kDirectionUp;
        const double nearY = up ? frame.y() - 1 : Geometry::maxY(frame) + 1;
        const double farY = up ? frame.y() - height - 1 : Geometry::maxY(frame) + height + 1;
        if (auto path = view->indexPathForItemAtPoint(QPointF(frame.x(), nearY)))
            return path;
        return view->indexPathForItemAtPoint(QPointF(frame.x(), farY));
    }
    default:
        return currentIndexPath;
    }
}

bool KeltCollectionViewGridLayout::shouldInvalidateLayoutForBoundsChange(const QRectF& newBounds)
{
    // Compared with the width the grid was last prepared at, so a reload at one width followed by
    // a resize back to the old accepted width still re-prepares.
    if (newBounds.width() == m_preparedWidth)
        return false;
    m_lastInvalidatedBounds = newBounds;
    return true;
}

} // namespace vantrel
