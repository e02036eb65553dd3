#pragma once

#include <memory>
#include <string>
#include <vector>

#include <QRectF>

#include "components/CollectionView/KeltCollectionViewDataSource.h"
#include "components/CollectionView/KeltCollectionViewDelegate.h"
#include "components/CollectionView/KeltCollectionViewModel.h"

namespace vantrel::testing {

/// Item counts per section; cells are made by the view when one is given.
class CountsDataSource : public KeltCollectionViewDataSource {
public:
    explicit CountsDataSource(std::vector<qint64> itemCounts = { 0 }, bool answers = true)
        : counts(std::move(itemCounts))
        , answersSections(answers)
    {
    }
    qint64 numberOfItemsInSection(KeltCollectionView*, qint64 section) override
    {
        return section < qint64(counts.size()) ? counts[size_t(section)] : 0;
    }
    KeltCollectionViewCell* cellForItemAtIndexPath(KeltCollectionView* view, KeltIndexPath path) override;
    qint64 numberOfSectionsInCollectionView(KeltCollectionView* view) override
    {
        return answersSections ? qint64(counts.size()) + sectionBias
                               : KeltCollectionViewDataSource::numberOfSectionsInCollectionView(view);
    }

    std::vector<qint64> counts;
    bool answersSections;
    qint64 sectionBias = 0; // added to the section count, to answer nonsense on purpose
    int cellsAsked = 0;
};

/// Writes every selection event as "s:section.item", "d:..." and can veto items.
class RecordingDelegate : public KeltCollectionViewDelegate {
public:
    bool shouldSelectItemAtIndexPath(KeltCollectionView*, KeltIndexPath path) override { return path != vetoSelect; }
    bool shouldDeselectItemAtIndexPath(KeltCollectionView*, KeltIndexPath path) override
    {
        return path != vetoDeselect;
    }
    void didSelectItemAtIndexPath(KeltCollectionView*, KeltIndexPath path) override
    {
        log.push_back("s:" + name(path));
    }
    void didDeselectItemAtIndexPath(KeltCollectionView*, KeltIndexPath path) override
    {
        log.push_back("d:" + name(path));
    }
    void didDoubleClickItemAtIndexPath(KeltCollectionView*, KeltIndexPath path) override
    {
        log.push_back("double:" + name(path));
    }
    void mouseUpInItemAtIndexPath(KeltCollectionView*, KeltIndexPath path) override
    {
        log.push_back("up:" + name(path));
    }
    void didScrollToItemAtIndexPath(KeltCollectionView*, KeltIndexPath path) override
    {
        log.push_back("scroll:" + name(path));
    }
    static std::string name(KeltIndexPath path)
    {
        return std::to_string(path.kelt_section()) + "." + std::to_string(path.kelt_item());
    }

    std::vector<std::string> log;
    KeltIndexPath vetoSelect = KeltIndexPath::kelt_indexPathForItem(-1, -1);
    KeltIndexPath vetoDeselect = KeltIndexPath::kelt_indexPathForItem(-1, -1);
};

/// The view's logic driven headless, with a fixed visible rectangle.
class HeadlessCollection : public KeltCollectionViewModel {
public:
    explicit HeadlessCollection(QRectF visibleRect = QRectF(0, 0, 800, 600))
        : visible(visibleRect)
    {
    }
    QRectF documentVisibleRect() const override { return visible; }
    void scrollToItemAtIndexPath(OptionalIndexPath path, KeltScrollPosition position, bool) override
    {
        if (path)
            scrolls.push_back({ *path, position });
    }

    QRectF visible;
    std::vector<std::pair<KeltIndexPath, KeltScrollPosition>> scrolls;
};

inline KeltIndexPath ip(qint64 section, qint64 item)
{
    return KeltIndexPath::kelt_indexPathForItem(item, section);
}

std::vector<std::string> names(const std::vector<KeltIndexPath>& paths);

} // namespace vantrel::testing
