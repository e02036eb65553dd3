#include "components/CollectionView/KeltCollectionViewModel.h"

#include <gtest/gtest.h>

#include "CollectionFixtures.h"
#include "components/CollectionView/KeltCollectionViewGridLayout.h"
#include "components/CollectionView/KeltSelectionList.h"

using namespace vantrel;
using namespace vantrel::testing;

namespace {

using Log = std::vector<std::string>;

struct Collection {
    explicit Collection(std::vector<qint64> counts = { 12 })
        : source(std::move(counts))
    {
        view.setDataSource(&source);
        view.setDelegate(&delegate);
        auto layout = std::make_unique<KeltCollectionViewGridLayout>();
        layout->setItemSize({ 180, 220 });
        view.setCollectionViewLayout(std::move(layout));
        view.reloadData();
    }
    void click(qint64 item, KeltSelectionType type, qint64 section = 0)
    {
        view.selectItemAtIndexPath(ip(section, item), type, KeltScrollPosition::Nearest, true);
    }
    Log selection() const { return names(view.indexPathsForSelectedItems()); }

    CountsDataSource source;
    RecordingDelegate delegate;
    HeadlessCollection view;
};

} // namespace

TEST(CollectionSelection, SingleExtendAndToggleClicks)
{
    using T = KeltSelectionType;
    struct Step {
        qint64 item;
        T type;
    };
    struct Case {
        const char* name;
        std::vector<Step> steps;
        Log selection; // in selection order
    };
    const Case cases[] = {
        { "shift-click past the anchor selects the run", { { 2, T::Single }, { 5, T::Toggle }, { 8, T::Extend } },
            { "0.2", "0.5", "0.3", "0.4", "0.6", "0.7", "0.8" } },
        { "shift-click inside the run trims it", { { 2, T::Single }, { 5, T::Toggle }, { 3, T::Extend } },
            { "0.2", "0.3" } },
        { "shift-click before the anchor walks back", { { 6, T::Single }, { 3, T::Extend } },
            { "0.6", "0.5", "0.4", "0.3" } },
        { "shift-click with nothing selected selects the target", { { 4, T::Extend } }, { "0.4" } },
        { "command-click adds", { { 1, T::Single }, { 7, T::Toggle } }, { "0.1", "0.7" } },
        { "command-click removes", { { 1, T::Single }, { 7, T::Toggle }, { 1, T::Toggle } }, { "0.7" } },
        { "command-click on the only item empties", { { 1, T::Single }, { 1, T::Toggle } }, {} },
        { "a plain click replaces", { { 1, T::Single }, { 7, T::Toggle }, { 4, T::Single } }, { "0.4" } },
        { "an item outside the data is ignored", { { 1, T::Single }, { 40, T::Single }, { 12, T::Extend } },
            { "0.1" } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Collection collection;
        for (const Step& step : c.steps)
            collection.click(step.item, step.type);
        EXPECT_EQ(collection.selection(), c.selection);
    }
}

TEST(CollectionSelection, DelegateHearsEveryChangeInOrderAndMayVeto)
{
    Collection collection;
    collection.click(2, KeltSelectionType::Single);
    collection.click(4, KeltSelectionType::Toggle);
    collection.delegate.log.clear();
    collection.click(3, KeltSelectionType::Extend); // anchor 2: wants 2, 3; 4 goes
    EXPECT_EQ(collection.delegate.log, (Log { "s:0.2", "s:0.3", "d:0.4" }));
    EXPECT_EQ(collection.view.scrolls.back().first, ip(0, 3));

    collection.delegate.log.clear();
    collection.delegate.vetoSelect = ip(0, 6);
    collection.delegate.vetoDeselect = ip(0, 2);
    collection.click(7, KeltSelectionType::Extend); // 6 refused; 2 stays
    EXPECT_EQ(collection.delegate.log, (Log { "s:0.2", "s:0.3", "s:0.4", "s:0.5", "s:0.7" }));
    collection.click(9, KeltSelectionType::Single);
    EXPECT_EQ(collection.selection(), (Log { "0.2", "0.9" }));

    // A reload reports the whole old selection as deselected and leaves it empty.
    collection.delegate.log.clear();
    collection.view.reloadData();
    EXPECT_EQ(collection.delegate.log, (Log { "d:0.2", "d:0.9" }));
    EXPECT_TRUE(collection.selection().empty());
}

TEST(CollectionSelection, EmptySelectionNotAllowed)
{
    Collection collection;
    collection.view.setAllowsEmptySelection(false);
    collection.view.reloadData();
    EXPECT_EQ(collection.selection(), (Log { "0.0" })); // selected by the reload
    collection.click(0, KeltSelectionType::Toggle);
    EXPECT_EQ(collection.selection(), (Log { "0.0" }));
    collection.click(5, KeltSelectionType::Toggle);
    collection.click(0, KeltSelectionType::Toggle);
    EXPECT_EQ(collection.selection(), (Log { "0.5" }));

    collection.view.setAllowsSelection(false);
    collection.click(8, KeltSelectionType::Single);
    EXPECT_EQ(collection.selection(), (Log { "0.5" }));
}

TEST(CollectionSelection, ArrowKeysAndDocumentEnds)
{
    Collection collection({ 10, 3 }); // 4 columns at 800
    using L = KeltCollectionViewLayout;
    struct Case {
        std::vector<std::pair<int, bool>> keys; // direction, extend
        Log selection;
    };
    const Case cases[] = {
        { { { L::kDirectionLeft, false } }, {} }, // nothing selected: back does nothing
        { { { L::kDirectionUp, false } }, {} },
        { { { L::kDirectionRight, false } }, { "0.0" } }, // forward starts at the first item
        { { { L::kDirectionDown, false } }, { "0.0" } },
        { { { L::kDirectionDown, false }, { L::kDirectionDown, false } }, { "0.4" } },
        { { { L::kDirectionDown, false }, { L::kDirectionRight, true }, { L::kDirectionRight, true } },
            { "0.0", "0.1", "0.2" } },
        { { { L::kDirectionDown, false }, { L::kDirectionUp, false } }, { "0.0" } }, // first row: stays
    };
    for (const Case& c : cases) {
        Collection fresh({ 10, 3 });
        for (auto [direction, extend] : c.keys)
            fresh.view.moveInDirection(direction, extend);
        EXPECT_EQ(fresh.selection(), c.selection);
    }
    collection.view.moveToEndOfDocument();
    EXPECT_EQ(collection.selection(), (Log { "1.2" }));
    collection.view.moveInDirection(L::kDirectionRight, false);
    EXPECT_EQ(collection.selection(), (Log { "1.2" }));
    collection.view.moveToBeginningOfDocument();
    EXPECT_EQ(collection.selection(), (Log { "0.0" }));
}

TEST(CollectionSelection, SelectAllAndShiftClickAcrossAMillionKeepOrder)
{
    Collection collection({ 600000, 0, 400000 });
    collection.view.selectAllItems();
    ASSERT_EQ(collection.view.selectedItemCount(), 1000000);
    const auto& all = collection.view.indexPathsForSelectedItems();
    EXPECT_EQ(all.front(), ip(0, 0));
    EXPECT_EQ(all[600000], ip(2, 0));
    EXPECT_TRUE(std::is_sorted(all.begin(), all.end()));

    collection.click(10, KeltSelectionType::Single, 2);
    EXPECT_EQ(collection.selection(), (Log { "2.10" }));
    // Walking back from the anchor stops at the empty section: the run ends there, then the target.
    collection.click(5, KeltSelectionType::Extend, 0);
    EXPECT_EQ(collection.view.selectedItemCount(), 11 + 1);
    collection.click(0, KeltSelectionType::Single, 0);
    collection.click(599999, KeltSelectionType::Extend, 0);
    EXPECT_EQ(collection.view.selectedItemCount(), 600000);
    EXPECT_EQ(collection.view.indexPathsForSelectedItems().back(), ip(0, 599999));
}

TEST(CollectionData, CountsFramesAndEncompassingSize)
{
    struct Case {
        std::vector<qint64> counts;
        bool answersSections;
        qint64 bias;
        qint64 sections;
        qint64 firstSectionItems;
    };
    const Case cases[] = {
        { { 5, 7 }, false, 0, 1, 5 }, // not answered: one section
        { { 5, 7 }, true, 0, 2, 5 }, { { 5 }, true, -9, 0, 0 }, // a negative count is none
        { { -3 }, true, 0, 1, 0 }, // a negative item count is none
    };
    for (const Case& c : cases) {
        CountsDataSource source(c.counts, c.answersSections);
        source.sectionBias = c.bias;
        HeadlessCollection view(QRectF(0, 0, 800, 600));
        view.setDataSource(&source);
        view.setCollectionViewLayout(std::make_unique<KeltCollectionViewGridLayout>());
        view.reloadData();
        EXPECT_EQ(view.numberOfSections(), c.sections);
        EXPECT_EQ(view.numberOfItemsInSection(c.sections), 0);
        EXPECT_EQ(view.numberOfItemsInSection(0), c.firstSectionItems);
        // Never smaller than the visible area.
        EXPECT_GE(view.data().encompassingSize().height(), 600);
        EXPECT_EQ(view.data().encompassingSize().width(), 800);
    }

    // A recalculation without recount keeps the old counts; only a reload takes new ones.
    CountsDataSource source({ 5 });
    HeadlessCollection view;
    view.setDataSource(&source);
    view.setCollectionViewLayout(std::make_unique<KeltCollectionViewGridLayout>());
    view.reloadData();
    source.counts = { 50 };
    view.data().recalculateAndPrepareLayout(false);
    EXPECT_EQ(view.numberOfItemsInSection(0), 5);
    view.reloadData();
    EXPECT_EQ(view.numberOfItemsInSection(0), 50);
}

TEST(CollectionSelection, LastSelectedAfterRemovalsInAnyOrder)
{
    // The last selected item is what the focus ring follows; it is asked after every removal.
    struct Row {
        const char* name;
        std::vector<qint64> inserted;
        std::vector<qint64> removed; // asking for the last one after each
        std::optional<qint64> last;
    };
    const Row rows[] = {
        { "the last ones, from the end", { 0, 1, 2, 3 }, { 3, 2 }, 1 },
        { "the first ones", { 0, 1, 2, 3 }, { 0, 1 }, 3 },
        { "all but one in the middle", { 5, 9, 2, 7 }, { 7, 5, 2 }, 9 },
        { "every one", { 4, 8 }, { 8, 4 }, std::nullopt },
        { "the last, then the first", { 1, 2, 3 }, { 3, 1 }, 2 },
    };
    for (const Row& row : rows) {
        KeltSelectionList list;
        for (const qint64 item : row.inserted)
            list.insert(ip(0, item));
        for (const qint64 item : row.removed) {
            list.remove(ip(0, item));
            (void)list.last();
        }
        const OptionalIndexPath last = list.last();
        EXPECT_EQ(last ? std::optional<qint64>(last->kelt_item()) : std::nullopt, row.last) << row.name;
        EXPECT_EQ(qint64(list.paths().size()), qint64(row.inserted.size() - row.removed.size())) << row.name;
    }
    // Removed and inserted again: it becomes the last.
    KeltSelectionList list;
    for (const qint64 item : { 1, 2, 3 })
        list.insert(ip(0, item));
    list.remove(ip(0, 1));
    EXPECT_EQ(list.last()->kelt_item(), 3);
    list.insert(ip(0, 1));
    EXPECT_EQ(list.last()->kelt_item(), 1);
    EXPECT_EQ(list.paths(), (std::vector<KeltIndexPath> { ip(0, 2), ip(0, 3), ip(0, 1) }));
}
