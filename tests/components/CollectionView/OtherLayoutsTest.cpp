#include "components/CollectionView/KeltCollectionViewListLayout.h"
#include "components/CollectionView/QzCollectionViewHorizontalLayout.h"

#include <gtest/gtest.h>

#include "CollectionFixtures.h"
#include "components/Geometry.h"

using namespace vantrel;
using namespace vantrel::testing;

namespace {

struct ListDelegate : KeltCollectionViewListLayoutDelegate {
    double header = 0, footer = 0;
    std::optional<double> rowHeight;
    std::optional<double> heightForRowAtIndexPath(KeltCollectionView*, KeltIndexPath path) override
    {
        // Every third row twice as high, when asked for mixed heights.
        return rowHeight ? std::optional<double>(*rowHeight * (path.kelt_item() % 3 == 2 ? 2 : 1)) : std::nullopt;
    }
    double heightForHeaderInSection(KeltCollectionView*, qint64) override { return header; }
    double heightForFooterInSection(KeltCollectionView*, qint64) override { return footer; }
};

struct StripDelegate : QzCollectionViewHorizontalLayoutDelegate {
    std::vector<double> widths { 100 };
    double header = 0, footer = 0;
    QSizeF sizeForItemAtIndexPath(KeltCollectionView*, KeltIndexPath path) override
    {
        return { widths[size_t(path.kelt_item()) % widths.size()], 50.0 + double(path.kelt_section()) * 10 };
    }
    double widthForHeaderInSection(KeltCollectionView*, qint64) override { return header; }
    double widthForFooterInSection(KeltCollectionView*, qint64) override { return footer; }
};

template <class Layout> struct Fixture {
    explicit Fixture(std::vector<qint64> counts)
        : source(std::move(counts))
    {
        auto owned = std::make_unique<Layout>();
        layout = owned.get();
        view.setDataSource(&source);
        view.setCollectionViewLayout(std::move(owned));
    }
    CountsDataSource source;
    HeadlessCollection view;
    Layout* layout;
};

// Items whose frames meet the rectangle, found by walking every item.
std::vector<KeltIndexPath> walk(const HeadlessCollection& view, const QRectF& rect)
{
    std::vector<KeltIndexPath> out;
    for (const auto& path : view.allIndexPaths()) {
        if (Geometry::intersectsRect(view.rectForItemAtIndexPath(path), rect))
            out.push_back(path);
    }
    return out;
}

} // namespace

TEST(ListLayout, SectionHeightsWithSpacingHeadersAndFooters)
{
    struct Case {
        qint64 rows;
        double spacing, header, footer;
        double height;
    };
    const Case cases[] = {
        { 3, 0, 0, 0, 132 },
        { 3, 4, 0, 0, 140 }, // 3 x 44 + 2 x 4
        { 3, 4, 20.9, 7, 167 },
        { 0, 4, 20, 7, 27 }, // an empty section is its header and footer
        { 1, 4, 0, 0, 44 },
    };
    for (const Case& c : cases) {
        Fixture<KeltCollectionViewListLayout> list({ c.rows, 2 });
        ListDelegate delegate;
        delegate.header = c.header;
        delegate.footer = c.footer;
        list.layout->setDelegate(&delegate);
        list.layout->setVerticalSpacing(c.spacing);
        list.view.reloadData();
        EXPECT_EQ(list.layout->sections()[0].height, c.height) << c.rows << " rows, spacing " << c.spacing;
        EXPECT_EQ(list.layout->sections()[1].offset, c.height);
        if (c.rows > 1) {
            EXPECT_EQ(
                list.view.rectForItemAtIndexPath(ip(0, 1)), QRectF(0, std::trunc(c.header) + 44 + c.spacing, 800, 44));
        }
    }
    Fixture<KeltCollectionViewListLayout> list({ 3 });
    list.view.reloadData();
    EXPECT_FALSE(list.layout->shouldInvalidateLayoutForBoundsChange(QRectF(0, 0, 800, 100)));
    EXPECT_FALSE(list.layout->shouldInvalidateLayoutForBoundsChange(QRectF(0, 0, 300, 600)));
}

TEST(ListLayout, RectQueryFindsEveryRowItMeets)
{
    Fixture<KeltCollectionViewListLayout> list({ 40, 0, 25 });
    ListDelegate delegate;
    delegate.rowHeight = 30; // 30, 30, 60, 30, 30, 60...
    delegate.header = 15;
    delegate.footer = 9;
    list.layout->setDelegate(&delegate);
    list.layout->setVerticalSpacing(3);
    list.view.reloadData();
    for (double y = -20; y < 3000; y += 23) {
        for (double h : { 1.0, 40.0, 333.0 }) {
            const QRectF rect(0, y, 800, h);
            const auto answer = list.view.indexPathsForItemsInRect(rect);
            const auto walked = walk(list.view, rect);
            ASSERT_TRUE(std::includes(answer.begin(), answer.end(), walked.begin(), walked.end())) << y << " " << h;
            // No more than the row touching each edge beyond what is met.
            EXPECT_LE(answer.size(), walked.size() + 2 * list.view.numberOfSections()) << y << " " << h;
        }
    }
}

TEST(ListLayout, StickyHeadersPinAndArePushedByTheNext)
{
    Fixture<KeltCollectionViewListLayout> list({ 10, 10, 10 });
    ListDelegate delegate;
    delegate.header = 20;
    list.layout->setDelegate(&delegate);
    list.layout->setStickyHeaders(true);
    list.view.reloadData();
    // Sections are 20 + 10 x 44 = 460 high: offsets 0, 460, 920.
    const QString header = KeltCollectionViewListLayout::KeltCollectionViewListLayoutHeaderKind;
    struct Case {
        double top;
        double header0, header1;
    };
    const Case cases[] = {
        { 0, 0, 460 }, { 100, 100, 460 }, // pinned at the top
        { 450, 440, 460 }, // pushed up by the next header
        { 470, 450, 470 }, // the next one is pinned now
        { 1000, 960, 980 }, // pushed up and out of sight
    };
    for (const Case& c : cases) {
        list.view.visible.moveTop(c.top);
        EXPECT_EQ(list.view.rectForSupplementaryViewWithKind(header, 0).y(), c.header0) << c.top;
        EXPECT_EQ(list.view.rectForSupplementaryViewWithKind(header, 1).y(), c.header1) << c.top;
    }
    EXPECT_EQ(list.layout->layoutAttributesForSupplementaryItemInSection(0, header)->zIndex,
        std::numeric_limits<qint64>::max());
    EXPECT_TRUE(list.layout->shouldApplyExistingLayoutAttributesOnLayout());
    EXPECT_EQ(
        list.layout->indexPathForNextItemInDirection(KeltCollectionViewLayout::kDirectionDown, ip(0, 9)), ip(1, 0));
    EXPECT_EQ(
        list.layout->indexPathForNextItemInDirection(KeltCollectionViewLayout::kDirectionLeft, ip(0, 9)), ip(0, 9));
}

TEST(HorizontalLayout, StripsPlaceItemsSideBySide)
{
    Fixture<QzCollectionViewHorizontalLayout> strip({ 3, 0, 4 });
    StripDelegate delegate;
    delegate.header = 12.5;
    delegate.footer = 8;
    strip.layout->setDelegate(&delegate);
    strip.layout->setItemHorizontalMargin(10);
    strip.view.reloadData();
    EXPECT_EQ(strip.layout->scrollDirection(), 1);
    EXPECT_EQ(strip.view.rectForItemAtIndexPath(ip(0, 0)).x(), 0);
    EXPECT_EQ(strip.view.rectForItemAtIndexPath(ip(0, 1)).x(), 110);
    EXPECT_EQ(strip.view.rectForItemAtIndexPath(ip(0, 2)).x(), 220);
    EXPECT_EQ(strip.view.rectForSection(0), QRectF(0, 0, 320 + 12 + 8, 50));
    EXPECT_EQ(strip.view.rectForSection(1), QRectF(0, 50, 20, 0)); // empty: only the widths
    EXPECT_EQ(strip.view.rectForItemAtIndexPath(ip(2, 3)), QRectF(330, 50, 100, 70));

    // Mixed widths: each item starts where the one before it ends, plus the gap.
    delegate.widths = { 100, 300, 50 };
    strip.view.reloadData();
    double expectedX = 0;
    for (qint64 item = 0; item < 4; ++item) {
        const QRectF frame = strip.view.rectForItemAtIndexPath(ip(2, item));
        EXPECT_EQ(frame.x(), expectedX);
        expectedX = frame.right() + 10;
    }
    // A rectangle left of every item still yields item 0 of every strip.
    const auto left = strip.view.indexPathsForItemsInRect(QRectF(-500, 0, 100, 10));
    EXPECT_EQ(names(left), (std::vector<std::string> { "0.0", "2.0" }));
    for (double x = -50; x < 900; x += 17) {
        const QRectF rect(x, 0, 120, 200);
        const auto answer = strip.view.indexPathsForItemsInRect(rect);
        const auto walked = walk(strip.view, rect);
        EXPECT_TRUE(std::includes(answer.begin(), answer.end(), walked.begin(), walked.end())) << x;
    }
    EXPECT_EQ(
        strip.layout->indexPathForNextItemInDirection(KeltCollectionViewLayout::kDirectionRight, ip(0, 1)), ip(0, 2));
    EXPECT_EQ(
        strip.layout->indexPathForNextItemInDirection(KeltCollectionViewLayout::kDirectionUp, ip(0, 2)), ip(0, 2));
}
