#include "components/CollectionView/KeltCollectionViewData.h"

#include <algorithm>

#include "components/CollectionView/KeltCollectionViewDataSource.h"
#include "components/CollectionView/KeltCollectionViewLayout.h"
#include "components/CollectionView/KeltCollectionViewModel.h"
#include "components/Geometry.h"

namespace vantrel {

KeltCollectionViewData::KeltCollectionViewData(KeltCollectionViewModel* collectionView)
    : m_collectionView(collectionView)
{
}

qint64 KeltCollectionViewData::numberOfItemsInSection(qint64 section) const
{
    if (section < 0 || section >= numberOfSections())
        return 0;
    return m_sections[size_t(section)].numberOfItems;
}

void KeltCollectionViewData::recalculateAndPrepareLayout(bool recalculate)
{
    KeltCollectionViewLayout* layout = m_collectionView->collectionViewLayout();
    if (!layout)
        return;
    if (recalculate) {
        KeltCollectionViewDataSource* source = m_collectionView->dataSource();
        KeltCollectionView* view = m_collectionView->collectionViewWidget();
        const qint64 count = source ? std::max<qint64>(source->numberOfSectionsInCollectionView(view), 0) : 1;
        m_sections.assign(size_t(count), {});
        for (qint64 s = 0; s < count; ++s) {
            auto& section = m_sections[size_t(s)];
            section.index = s;
            section.numberOfItems = source ? std::max<qint64>(source->numberOfItemsInSection(view, s), 0) : 0;
        }
        layout->prepareLayout();
    }
    for (auto& section : m_sections) {
        const auto frame = layout->rectForSectionAtIndex(section.index);
        section.frame = frame ? *frame : unitedFrameOfSection(*layout, section.index);
    }
    m_encompassingSize = encompassingSizeWithLayout(*layout);
}

QRectF KeltCollectionViewData::unitedFrameOfSection(const KeltCollectionViewLayout& layout, qint64 section) const
{
    QRectF united = Geometry::nullRect();
    const qint64 items = numberOfItemsInSection(section);
    for (qint64 item = 0; item < items; ++item) {
        const auto attributes
            = layout.layoutAttributesForItemAtIndexPath(KeltIndexPath::kelt_indexPathForItem(item, section));
        united = Geometry::unionRect(united, attributes ? attributes->frame : QRectF());
    }
    for (const QString& kind : m_collectionView->supplementaryViewKinds()) {
        const auto attributes = layout.layoutAttributesForSupplementaryItemInSection(section, kind);
        united = Geometry::unionRect(united, attributes ? attributes->frame : QRectF());
    }
    return united;
}

QSizeF KeltCollectionViewData::encompassingSizeWithLayout(const KeltCollectionViewLayout& layout) const
{
    QSizeF size = layout.contentSize();
    if (size.width() == 0 && size.height() == 0) {
        QRectF united = Geometry::nullRect();
        for (const auto& section : m_sections)
            united = Geometry::unionRect(united, section.frame);
        // Measured from the document's origin: sections that start below 0 (after a header or an
        // inset) must not make the document shorter than their far edge.
        size = Geometry::isEmptyRect(united) ? QSizeF(0, 0) : QSizeF(Geometry::maxX(united), Geometry::maxY(united));
    }
    const QSizeF visible = m_collectionView->documentVisibleRect().size();
    return { std::max(size.width(), visible.width()), std::max(size.height(), visible.height()) };
}

} // namespace vantrel
