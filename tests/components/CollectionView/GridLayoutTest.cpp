#include "components/CollectionView/KeltCollectionViewGridLayout.h"

#include <algorithm>
#include <cmath>

#include <gtest/gtest.h>

#include "CollectionFixtures.h"
#include "components/Geometry.h"

using namespace vantrel;
using namespace vantrel::testing;

namespace {

struct GridDelegate : KeltCollectionViewGridLayoutDelegate {
    std::optional<QSizeF> size;
    double header = 0, footer = 0;
    QMarginsF insets;
    std::optional<QSizeF> sizeForItemInCollectionView(KeltCollectionView*) override { return size; }
    double heightForHeaderInSection(KeltCollectionView*, qint64) override { return header; }
    double heightForFooterInSection(KeltCollectionView*, qint64) override { return footer; }
    QMarginsF insetForSectionAtIndex(KeltCollectionView*, KeltCollectionViewGridLayout*, qint64) override
    {
        return insets;
    }
};

struct Grid {
    explicit Grid(std::vector<qint64> counts, double width = 800, QSizeF item = { 180, 220 }, double spacing = 10)
        : source(std::move(counts))
        , view(QRectF(0, 0, width, 600))
    {
        auto owned = std::make_unique<KeltCollectionViewGridLayout>();
        layout = owned.get();
        layout->setItemSize(item);
        layout->setVerticalSpacing(spacing);
        view.setDataSource(&source);
        view.setCollectionViewLayout(std::move(owned));
    }
    void reload() { view.reloadData(); }

    CountsDataSource source;
    HeadlessCollection view;
    KeltCollectionViewGridLayout* layout;
};

OptionalIndexPath walkPoint(const HeadlessCollection& view, const QPointF& point)
{
    for (const auto& path : view.allIndexPaths()) {
        if (Geometry::pointInRect(point, view.rectForItemAtIndexPath(path)))
            return path;
    }
    return std::nullopt;
}

} // namespace

TEST(GridLayout, ColumnsAndPaddingFollowTheVisibleWidth)
{
    struct Case {
        double width, itemWidth, margin;
        bool padding;
        qint64 columns;
        double itemPadding, x0, x1;
    };
    const Case cases[] = {
        { 800, 180, 0, true, 4, 16, 16, 212 }, // floor((800 - 720) / 5)
        { 100, 180, 0, true, 1, 0, 0, 180 }, // narrower than one item
        { 800, 180, 10, true, 4, 10, 10, 200 }, // (800 - 10) / (10 + 180) columns, margin as padding
        { 2000, 180, 10, true, 10, 10, 10, 200 }, //
        { 800, 180, 0, false, 4, 0, 0, 180 }, // padding disabled
        { 0, 180, 0, true, 1, 0, 0, 180 }, // no width at all
        { 1200, 180, 0, true, 6, 17, 17, 214 }, // floor(120 / 7) = 17.14 -> 17
        { 800, 0, 0, true, 1, 0, 0, 0 }, // zero-width items never divide by zero
    };
    for (const Case& c : cases) {
        Grid grid({ 10 }, c.width, { c.itemWidth, 220 });
        grid.layout->setItemHorizontalMargin(c.margin);
        grid.layout->setItemPaddingEnabled(c.padding);
        grid.reload();
        SCOPED_TRACE(c.width);
        EXPECT_EQ(grid.layout->numberOfColumns(), c.columns);
        EXPECT_EQ(grid.layout->itemPadding(), c.itemPadding);
        EXPECT_EQ(grid.view.rectForItemAtIndexPath(ip(0, 0)).x(), c.x0);
        if (c.columns > 1) {
            EXPECT_EQ(grid.view.rectForItemAtIndexPath(ip(0, 1)).x(), c.x1);
        }
    }
}

TEST(GridLayout, SectionsStackWithHeadersFootersAndInsets)
{
    GridDelegate delegate;
    Grid grid({ 11, 0, 3 });
    grid.layout->setDelegate(&delegate);
    delegate.size = QSizeF(180, 220);
    delegate.header = 20.7; // used as 20
    delegate.footer = 5;
    delegate.insets = QMarginsF(7, 3, 0, 2); // left, top, right (unused), bottom
    grid.reload();
    const auto& sections = grid.layout->sections();
    ASSERT_EQ(sections.size(), 3u);
    // Eleven items in four columns: three rows, 3 x 220 + 2 x 10.
    EXPECT_EQ(sections[0].height, 680);
    EXPECT_EQ(sections[0].headerHeight, 20);
    EXPECT_EQ(sections[0].offset, 20 + 3);
    EXPECT_EQ(sections[1].height, 0); // an empty section has no rows
    EXPECT_EQ(sections[1].offset, 23 + 680 + 5 + 2 + 20 + 3);
    EXPECT_EQ(grid.view.rectForItemAtIndexPath(ip(0, 5)), QRectF(16 + 196 + 7, 23 + 230, 180, 220));
    EXPECT_EQ(grid.view.rectForSupplementaryViewWithKind(
                  KeltCollectionViewGridLayout::KeltCollectionViewGridLayoutHeaderKind, 0),
        QRectF(0, 3, 800, 20));
    EXPECT_EQ(grid.view.rectForSupplementaryViewWithKind(
                  KeltCollectionViewGridLayout::KeltCollectionViewGridLayoutFooterKind, 0),
        QRectF(0, 23 + 680, 800, 5));
    EXPECT_EQ(grid.view.rectForSection(0), QRectF(0, 23, 800, 680 + 20 + 5));
    // The document is the union of the section frames, never smaller than the visible area.
    EXPECT_EQ(grid.view.data().encompassingSize(), QSizeF(800, sections[2].offset + 220 + 20 + 5));
}

TEST(GridLayout, OutOfRangePathsGiveNothing)
{
    Grid grid({ 5 });
    grid.reload();
    for (const KeltIndexPath path : { ip(0, 5), ip(0, -1), ip(1, 0), ip(-1, 0) }) {
        EXPECT_FALSE(grid.layout->layoutAttributesForItemAtIndexPath(path).has_value());
        EXPECT_EQ(grid.view.rectForItemAtIndexPath(path), QRectF());
    }
    EXPECT_TRUE(grid.view.indexPathsForItemsInRect(QRectF()).empty());

    // Items without height and no spacing: no rows to find, and nothing divides by zero.
    Grid flat({ 5 }, 800, { 180, 0 }, 0);
    flat.reload();
    EXPECT_TRUE(flat.view.indexPathsForItemsInRect(QRectF(0, 0, 800, 600)).empty());
    EXPECT_FALSE(flat.view.indexPathForItemAtPoint({ 20, 0 }).has_value());
}

TEST(GridLayout, ItemsInARectCountColumnsByTheirLeftEdgeAndRowsByPitch)
{
    // 800 wide, items 180 x 220, spacing 10: 4 columns with padding 16 (left edges 16, 212,
    // 408, 604), rows every 230; ten items make rows 0-3, 4-7 and 8-9.
    Grid grid({ 10 });
    grid.reload();
    struct Case {
        QRectF rect;
        std::vector<qint64> items;
    };
    const Case cases[] = {
        { { 0, 0, 800, 600 }, { 0, 1, 2, 3, 4, 5, 6, 7, 8, 9 } }, { { 200, 100, 500, 300 }, { 1, 2, 3, 5, 6, 7, 9 } },
        // Column 0 shows its right part but its left edge (16) lies outside: not counted.
        { { 100, 0, 400, 230 }, { 1, 2, 5, 6 } },
        // One point high just above row 1: rows 0 and 1 (the length is counted, not trimmed).
        { { 0, 229.5, 800, 1 }, { 0, 1, 2, 3, 4, 5, 6, 7 } }, { { 0, 700, 800, 100 }, {} }, // below the section
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.rect.x());
        std::vector<KeltIndexPath> expected;
        for (qint64 item : c.items)
            expected.push_back(ip(0, item));
        EXPECT_EQ(grid.view.indexPathsForItemsInRect(c.rect), expected);
    }
}

TEST(GridLayout, RectAndPointQueriesMatchAWalkOverEveryItem)
{
    Grid grid({ 23, 0, 9 }, 900);
    GridDelegate delegate;
    delegate.size = QSizeF(180, 220);
    delegate.header = 30;
    delegate.footer = 12;
    grid.layout->setDelegate(&delegate);
    grid.reload();
    const QRectF rects[] = { { 0, 0, 900, 600 }, { 0, 250, 900, 400 }, { 0, 1500, 900, 900 }, { 200, 100, 500, 300 },
        { 0, 5000, 900, 600 }, { 0, 229.5, 900, 1 } };
    for (const QRectF& rect : rects) {
        SCOPED_TRACE(rect.y());
        // The arithmetic answer is in order and holds at most the items one row pitch beyond
        // the rectangle (rows are counted by pitch, not trimmed).
        const auto answer = grid.view.indexPathsForItemsInRect(rect);
        EXPECT_TRUE(std::is_sorted(answer.begin(), answer.end()));
        for (const auto& path : answer)
            EXPECT_TRUE(
                Geometry::intersectsRect(grid.view.rectForItemAtIndexPath(path), rect.adjusted(0, -230, 0, 230)));
    }
    const double height = grid.view.data().encompassingSize().height();
    for (double y = -5; y < height + 5; y += 37) {
        for (double x = -3; x < 905; x += 41) {
            const auto expected = walkPoint(grid.view, { x, y });
            const auto actual = grid.view.indexPathForItemAtPoint({ x, y });
            ASSERT_EQ(actual.has_value(), expected.has_value()) << x << "," << y;
            if (expected) {
                EXPECT_EQ(*actual, *expected);
            }
        }
    }
}

TEST(GridLayout, ArrowNeighbours)
{
    Grid grid({ 10, 2 }); // 4 columns: rows 0-3, 4-7, 8-9; then a second section
    grid.reload();
    using L = KeltCollectionViewLayout;
    struct Case {
        int direction;
        KeltIndexPath from;
        OptionalIndexPath to;
    };
    const Case cases[] = {
        { L::kDirectionUp, ip(0, 2), std::nullopt }, // first row
        { L::kDirectionDown, ip(0, 1), ip(0, 5) }, { L::kDirectionDown, ip(0, 5), ip(0, 9) },
        { L::kDirectionDown, ip(0, 6), std::nullopt }, // nothing below at that x in the short last row
        { L::kDirectionUp, ip(0, 9), ip(0, 5) },
        { L::kDirectionRight, ip(0, 9), ip(1, 0) }, // crosses the section end in item order
        { L::kDirectionLeft, ip(1, 0), ip(0, 9) }, { L::kDirectionLeft, ip(0, 0), std::nullopt },
        { L::kDirectionDown, ip(1, 1), std::nullopt }, // last row
        { 7, ip(0, 3), ip(0, 3) }, // unknown direction keeps the item
        { L::kDirectionDown, ip(0, 40), std::nullopt }, // a stale path goes nowhere
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(RecordingDelegate::name(c.from) + " dir " + std::to_string(c.direction));
        const auto next = grid.layout->indexPathForNextItemInDirection(c.direction, c.from);
        ASSERT_EQ(next.has_value(), c.to.has_value());
        if (c.to) {
            EXPECT_EQ(*next, *c.to);
        }
    }
}

TEST(GridLayout, OnlyAWidthChangeReprepares)
{
    Grid grid({ 10 });
    grid.reload();
    EXPECT_FALSE(grid.layout->shouldInvalidateLayoutForBoundsChange(QRectF(0, 0, 800, 300)));
    EXPECT_TRUE(grid.layout->shouldInvalidateLayoutForBoundsChange(QRectF(0, 0, 785, 600)));
    // No prepare happened at 785 (say the answer was not acted on): going back to the width the
    // grid was prepared at is no change, and any other width still is.
    EXPECT_FALSE(grid.layout->shouldInvalidateLayoutForBoundsChange(QRectF(0, 0, 800, 600)));
    grid.view.visible.setWidth(600);
    grid.view.data().recalculateAndPrepareLayout(true);
    EXPECT_EQ(grid.layout->numberOfColumns(), 3);
    EXPECT_TRUE(grid.layout->shouldInvalidateLayoutForBoundsChange(QRectF(0, 0, 800, 600)));
}

TEST(GridLayout, AMillionItemsArePlacedWithoutPerItemTables)
{
    Grid grid({ 1000000 }, 1200);
    grid.reload();
    ASSERT_EQ(grid.layout->numberOfColumns(), 6);
    const qint64 rows = (1000000 + 5) / 6;
    EXPECT_EQ(grid.layout->sections()[0].height, rows * 230.0 - 10);
    const QRectF last = grid.view.rectForItemAtIndexPath(ip(0, 999999));
    EXPECT_EQ(last.y(), (rows - 1) * 230.0);
    const auto visible = grid.view.indexPathsForItemsInRect(QRectF(0, last.y() - 300, 1200, 800));
    ASSERT_FALSE(visible.empty());
    EXPECT_EQ(visible.back(), ip(0, 999999));
    EXPECT_EQ(grid.view.indexPathForItemAtPoint(last.center()), ip(0, 999999));
}
