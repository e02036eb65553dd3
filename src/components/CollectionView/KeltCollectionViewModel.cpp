#include "components/CollectionView/KeltCollectionViewModel.h"

#include <algorithm>

#include "components/CollectionView/KeltCollectionViewDataSource.h"
#include "components/CollectionView/KeltCollectionViewDelegate.h"
#include "components/Geometry.h"

namespace vantrel {

namespace {

KeltCollectionViewDelegate& noDelegate()
{
    static KeltCollectionViewDelegate none;
    return none;
}

} // namespace

KeltCollectionViewModel::KeltCollectionViewModel()
    : m_data(this)
{
}

KeltCollectionViewModel::~KeltCollectionViewModel() = default;

void KeltCollectionViewModel::setCollectionViewLayout(std::unique_ptr<KeltCollectionViewLayout> layout)
{
    if (!layout || layout.get() == m_layout.get())
        return;
    m_layout = std::move(layout);
    m_layout->setCollectionView(this);
    if (m_wantsLayout)
        reloadData();
}

void KeltCollectionViewModel::reloadData()
{
    m_wantsLayout = true;
    if (!m_selection.isEmpty()) {
        const std::vector<KeltIndexPath> previous = m_selection.paths();
        m_selection.clear();
        auto& delegateRef = m_delegate ? *m_delegate : noDelegate();
        for (const KeltIndexPath& path : previous)
            delegateRef.didDeselectItemAtIndexPath(collectionViewWidget(), path);
    }
    m_data.recalculateAndPrepareLayout(true);
    performFullRelayoutForcingSubviewsReset(true);
    if (!m_allowsEmptySelection)
        selectItemAtIndexPath(indexPathForNextSelectableItemAfterIndexPath(std::nullopt), false);
}

void KeltCollectionViewModel::collectionViewLayoutWasInvalidated(KeltCollectionViewLayout*)
{
    m_data.recalculateAndPrepareLayout(true);
    performFullRelayoutForcingSubviewsReset(true);
}

// ---- Item queries ---------------------------------------------------------------------------

bool KeltCollectionViewModel::validateIndexPath(OptionalIndexPath indexPath) const
{
    if (!indexPath)
        return false;
    const qint64 section = indexPath->kelt_section();
    const qint64 item = indexPath->kelt_item();
    return section >= 0 && section < numberOfSections() && item >= 0 && item < numberOfItemsInSection(section);
}

std::vector<KeltIndexPath> KeltCollectionViewModel::indexPathsForItemsInRect(const QRectF& rect) const
{
    if (Geometry::isZeroRect(rect) || !m_layout)
        return {};
    if (auto answer = m_layout->indexPathsForItemsInRect(rect))
        return std::move(*answer);
    std::vector<KeltIndexPath> paths;
    for (const auto& section : m_data.sections()) {
        if (!Geometry::intersectsRect(section.frame, rect))
            continue;
        for (qint64 item = 0; item < section.numberOfItems; ++item) {
            const auto path = KeltIndexPath::kelt_indexPathForItem(item, section.index);
            const auto attributes = m_layout->layoutAttributesForItemAtIndexPath(path);
            if (Geometry::intersectsRect(attributes ? attributes->frame : QRectF(), rect))
                paths.push_back(path);
        }
    }
    return paths;
}

OptionalIndexPath KeltCollectionViewModel::indexPathForItemAtPoint(const QPointF& point) const
{
    return m_layout ? m_layout->indexPathForItemAtPoint(point) : std::nullopt;
}

QRectF KeltCollectionViewModel::rectForItemAtIndexPath(OptionalIndexPath indexPath) const
{
    if (!indexPath || !m_layout || indexPath->kelt_section() < 0 || indexPath->kelt_section() >= numberOfSections())
        return {};
    const auto attributes = m_layout->layoutAttributesForItemAtIndexPath(*indexPath);
    return attributes ? attributes->frame : QRectF();
}

QRectF KeltCollectionViewModel::rectForSupplementaryViewWithKind(const QString& kind, qint64 section) const
{
    if (!m_layout || section < 0 || section >= numberOfSections())
        return {};
    const auto attributes = m_layout->layoutAttributesForSupplementaryItemInSection(section, kind);
    return attributes ? attributes->frame : QRectF();
}

QRectF KeltCollectionViewModel::rectForSection(qint64 section) const
{
    if (section < 0 || section >= numberOfSections())
        return {};
    return m_data.sections()[size_t(section)].frame;
}

std::vector<qint64> KeltCollectionViewModel::indexesForSectionsInRect(const QRectF& rect) const
{
    std::vector<qint64> indexes;
    if (Geometry::isZeroRect(rect))
        return indexes;
    for (const auto& section : m_data.sections()) {
        if (Geometry::intersectsRect(section.frame, rect))
            indexes.push_back(section.index);
    }
    return indexes;
}

std::vector<KeltIndexPath> KeltCollectionViewModel::allIndexPaths() const
{
    std::vector<KeltIndexPath> paths;
    qint64 total = 0;
    for (const auto& section : m_data.sections())
        total += section.numberOfItems;
    paths.reserve(size_t(std::max<qint64>(total, 0)));
    for (const auto& section : m_data.sections()) {
        for (qint64 item = 0; item < section.numberOfItems; ++item)
            paths.push_back(KeltIndexPath::kelt_indexPathForItem(item, section.index));
    }
    return paths;
}

OptionalIndexPath KeltCollectionViewModel::firstIndexPath() const
{
    const auto path = KeltIndexPath::kelt_indexPathForItem(0, 0);
    return validateIndexPath(path) ? OptionalIndexPath(path) : std::nullopt;
}

OptionalIndexPath KeltCollectionViewModel::lastIndexPath() const
{
    const qint64 lastSection = numberOfSections() - 1;
    const auto path = KeltIndexPath::kelt_indexPathForItem(numberOfItemsInSection(lastSection) - 1, lastSection);
    return validateIndexPath(path) ? OptionalIndexPath(path) : std::nullopt;
}

OptionalIndexPath KeltCollectionViewModel::indexPathForNextSelectableItemAfterIndexPath(
    OptionalIndexPath indexPath) const
{
    if (!indexPath)
        return firstIndexPath();
    const auto sameSection
        = KeltIndexPath::kelt_indexPathForItem(indexPath->kelt_item() + 1, indexPath->kelt_section());
    if (validateIndexPath(sameSection))
        return sameSection;
    const auto nextSection = KeltIndexPath::kelt_indexPathForItem(0, indexPath->kelt_section() + 1);
    return validateIndexPath(nextSection) ? OptionalIndexPath(nextSection) : std::nullopt;
}

OptionalIndexPath KeltCollectionViewModel::indexPathForNextSelectableItemBeforeIndexPath(
    OptionalIndexPath indexPath) const
{
    if (!indexPath)
        return std::nullopt;
    if (indexPath->kelt_item() > 0) {
        const auto sameSection
            = KeltIndexPath::kelt_indexPathForItem(indexPath->kelt_item() - 1, indexPath->kelt_section());
        return validateIndexPath(sameSection) ? OptionalIndexPath(sameSection) : std::nullopt;
    }
    const qint64 previous = indexPath->kelt_section() - 1;
    const auto lastOfPrevious = KeltIndexPath::kelt_indexPathForItem(numberOfItemsInSection(previous) - 1, previous);
    return validateIndexPath(lastOfPrevious) ? OptionalIndexPath(lastOfPrevious) : std::nullopt;
}

// ---- Selection ------------------------------------------------------------------------------

class KeltCollectionViewModel::SelectionChange {
public:
    explicit SelectionChange(KeltCollectionViewModel& model)
        : m_model(model)
    {
        ++m_model.m_selectionDepth;
    }
    ~SelectionChange()
    {
        if (--m_model.m_selectionDepth > 0 || !m_model.m_selectionChanged)
            return;
        m_model.m_selectionChanged = false;
        m_model.selectionDidChange();
    }
    SelectionChange(const SelectionChange&) = delete;
    SelectionChange& operator=(const SelectionChange&) = delete;

private:
    KeltCollectionViewModel& m_model;
};

void KeltCollectionViewModel::selectItemAtIndexPath(OptionalIndexPath indexPath, bool)
{
    const SelectionChange change(*this);
    // Paths outside the data (stale or invalid) are never selected.
    if (!indexPath || !m_allowsSelection || !validateIndexPath(indexPath))
        return;
    auto& delegateRef = m_delegate ? *m_delegate : noDelegate();
    if (!delegateRef.shouldSelectItemAtIndexPath(collectionViewWidget(), *indexPath))
        return;
    setSelectedOnVisibleCell(*indexPath, true, m_animatesSelection);
    m_selection.insert(*indexPath);
    m_selectionChanged = true;
    delegateRef.didSelectItemAtIndexPath(collectionViewWidget(), *indexPath);
}

void KeltCollectionViewModel::deselectItemAtIndexPath(OptionalIndexPath indexPath, bool)
{
    const SelectionChange change(*this);
    if (!indexPath || !m_allowsSelection)
        return;
    auto& delegateRef = m_delegate ? *m_delegate : noDelegate();
    if (!delegateRef.shouldDeselectItemAtIndexPath(collectionViewWidget(), *indexPath))
        return;
    if (!m_allowsEmptySelection && m_selection.count() < 2)
        return;
    setSelectedOnVisibleCell(*indexPath, false, m_animatesSelection);
    m_selection.remove(*indexPath);
    m_selectionChanged = true;
    delegateRef.didDeselectItemAtIndexPath(collectionViewWidget(), *indexPath);
}

void KeltCollectionViewModel::selectItemsAtIndexPaths(const std::vector<KeltIndexPath>& indexPaths, bool animated)
{
    const SelectionChange change(*this);
    for (const KeltIndexPath& path : indexPaths)
        selectItemAtIndexPath(path, animated);
}

void KeltCollectionViewModel::deselectItemsAtIndexPaths(const std::vector<KeltIndexPath>& indexPaths, bool animated)
{
    const SelectionChange change(*this);
    for (const KeltIndexPath& path : indexPaths)
        deselectItemAtIndexPath(path, animated);
}

void KeltCollectionViewModel::selectItemAtIndexPath(
    OptionalIndexPath indexPath, KeltScrollPosition scrollPosition, bool animated)
{
    selectItemAtIndexPath(indexPath, KeltSelectionType::Single, scrollPosition, animated);
}

void KeltCollectionViewModel::selectItemAtIndexPath(
    OptionalIndexPath indexPath, KeltSelectionType selectionType, KeltScrollPosition scrollPosition, bool animated)
{
    const SelectionChange change(*this);
    if (!indexPath || !validateIndexPath(indexPath))
        return;
    const KeltIndexPath target = *indexPath;

    // The wanted set, in the order its members are selected.
    KeltSelectionList wanted;
    switch (selectionType) {
    case KeltSelectionType::Single:
        wanted.insert(target);
        break;
    case KeltSelectionType::Toggle: {
        const bool removing = m_selection.contains(target);
        for (const KeltIndexPath& path : m_selection.paths()) {
            if (!(removing && path == target))
                wanted.insert(path);
        }
        if (!removing)
            wanted.insert(target);
        break;
    }
    case KeltSelectionType::Extend: {
        const OptionalIndexPath anchor = m_selection.first();
        if (anchor) {
            const bool forward = *anchor < target;
            OptionalIndexPath step = anchor;
            while (step && *step != target) {
                wanted.insert(*step);
                step = forward ? indexPathForNextSelectableItemAfterIndexPath(step)
                               : indexPathForNextSelectableItemBeforeIndexPath(step);
            }
        }
        wanted.insert(target);
        break;
    }
    }

    for (const KeltIndexPath& path : wanted.paths())
        selectItemAtIndexPath(path, animated);
    // Everything selected now that is not wanted was selected before: the paths just selected
    // are all wanted.
    std::vector<KeltIndexPath> unwanted;
    for (const KeltIndexPath& path : m_selection.paths()) {
        if (!wanted.contains(path))
            unwanted.push_back(path);
    }
    deselectItemsAtIndexPaths(unwanted, animated);
    scrollToItemAtIndexPath(target, scrollPosition, animated);
}

void KeltCollectionViewModel::selectAllItems()
{
    selectItemsAtIndexPaths(allIndexPaths(), true);
}

void KeltCollectionViewModel::deselectAllItems()
{
    const std::vector<KeltIndexPath> selected = m_selection.paths();
    deselectItemsAtIndexPaths(selected, true);
}

void KeltCollectionViewModel::moveInDirection(int direction, bool modifySelection)
{
    if (!m_layout)
        return;
    const OptionalIndexPath current = m_selection.last();
    OptionalIndexPath next;
    if (current) {
        next = m_layout->indexPathForNextItemInDirection(direction, current);
    } else if (direction == KeltCollectionViewLayout::kDirectionRight
        || direction == KeltCollectionViewLayout::kDirectionDown) {
        // With nothing selected, moving forward starts at the first item; moving back does nothing.
        next = firstIndexPath();
    }
    selectItemAtIndexPath(next, modifySelection ? KeltSelectionType::Extend : KeltSelectionType::Single,
        KeltScrollPosition::Nearest, true);
}

void KeltCollectionViewModel::moveToBeginningOfDocument()
{
    selectItemAtIndexPath(firstIndexPath(), KeltSelectionType::Single, KeltScrollPosition::Nearest, true);
}

void KeltCollectionViewModel::moveToEndOfDocument()
{
    selectItemAtIndexPath(lastIndexPath(), KeltSelectionType::Single, KeltScrollPosition::Nearest, true);
}

void KeltCollectionViewModel::scrollToItemAtIndexPath(OptionalIndexPath, KeltScrollPosition, bool) { }

} // namespace vantrel
