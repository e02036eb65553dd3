#pragma once

#include <vector>

#include <QRectF>
#include <QSizeF>

namespace vantrel {

class KeltCollectionViewModel;
class KeltCollectionViewLayout;

/// One section as the view caches it.
struct KeltCollectionViewSection {
    qint64 index = 0;
    QRectF frame;
    qint64 numberOfItems = 0;
};

/// The view's cache of per-section item counts and section frames and of the size of the whole
/// content. Counts change only in a recalculation with recalculate = true (reload, layout
/// invalidation, or a visible-size change the layout accepts); frames and the encompassing size
/// are recomputed on every recalculation.
class KeltCollectionViewData {
public:
    explicit KeltCollectionViewData(KeltCollectionViewModel* collectionView);

    const std::vector<KeltCollectionViewSection>& sections() const { return m_sections; }
    qint64 numberOfSections() const { return qint64(m_sections.size()); }
    /// 0 for a section outside the cache.
    qint64 numberOfItemsInSection(qint64 section) const;

    void recalculateAndPrepareLayout(bool recalculate);
    QSizeF encompassingSizeWithLayout(const KeltCollectionViewLayout& layout) const;
    QSizeF encompassingSize() const { return m_encompassingSize; }

private:
    QRectF unitedFrameOfSection(const KeltCollectionViewLayout& layout, qint64 section) const;

    KeltCollectionViewModel* m_collectionView;
    std::vector<KeltCollectionViewSection> m_sections;
    QSizeF m_encompassingSize { 0, 0 };
};

} // namespace vantrel
