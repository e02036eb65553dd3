#include "components/CollectionView/KeltCollectionView.h"

#include <functional>
#include <set>

#include <QApplication>
#include <QDynamicPropertyChangeEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTest>

#include <gtest/gtest.h>

#include "CollectionFixtures.h"
#include "components/CollectionView/KeltClipView.h"
#include "components/CollectionView/KeltCollectionViewCell.h"
#include "components/CollectionView/KeltCollectionViewGridLayout.h"
#include "components/CollectionView/KeltCollectionViewReusableView.h"
#include "components/FocusRing.h"
#include "components/TickSource.h"

using namespace vantrel;
using namespace vantrel::testing;

namespace {

struct ShownGrid {
    explicit ShownGrid(qint64 items, QSize size = { 800, 600 })
        : source({ items })
        , ticks(TickSource::Driver::Manual)
    {
        view.resize(size);
        view.registerClass(
            [this] {
                ++cellsMade;
                return new KeltCollectionViewCell;
            },
            QStringLiteral("CELL"));
        auto layout = std::make_unique<KeltCollectionViewGridLayout>();
        layout->setItemSize({ 180, 220 });
        layout->setVerticalSpacing(10);
        view.setCollectionViewLayout(std::move(layout));
        view.setDataSource(&source);
        view.setDelegate(&delegate);
        view.clipView()->setTickSource(&ticks);
        view.show();
        view.reloadData();
        QApplication::processEvents();
    }

    // Every visible item has a cell at its frame, and no other cell is shown.
    void expectCellsMatchVisibleItems()
    {
        const auto wanted = view.indexPathsForVisibleItems();
        std::set<KeltIndexPath> shown;
        for (KeltCollectionViewCell* cell : view.visibleCells()) {
            ASSERT_TRUE(cell->indexPath().has_value());
            EXPECT_TRUE(cell->isVisible());
            EXPECT_EQ(cell->cellIndex(), cell->indexPath()->kelt_item());
            const QRectF frame = view.rectForItemAtIndexPath(cell->indexPath());
            EXPECT_EQ(cell->geometry().topLeft(), frame.topLeft().toPoint() - view.pixelOrigin());
            shown.insert(*cell->indexPath());
        }
        EXPECT_EQ(shown, std::set<KeltIndexPath>(wanted.begin(), wanted.end()));
    }

    int runTicks(int limit = 2000)
    {
        int n = 0;
        while (ticks.isActive() && n < limit) {
            ticks.fire();
            ++n;
        }
        return n;
    }

    void click(KeltIndexPath path, Qt::KeyboardModifiers modifiers = Qt::NoModifier, bool doubleClick = false)
    {
        KeltCollectionViewCell* cell = view.cellForItemAtIndexPath(path);
        ASSERT_NE(cell, nullptr);
        const QPointF at(20, 20);
        auto send = [&](QEvent::Type type) {
            QMouseEvent event(type, at, cell->mapToGlobal(at), Qt::LeftButton,
                type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, modifiers);
            QApplication::sendEvent(cell, &event);
        };
        send(QEvent::MouseButtonPress);
        send(QEvent::MouseButtonRelease);
        if (doubleClick) {
            send(QEvent::MouseButtonDblClick);
            send(QEvent::MouseButtonRelease);
        }
    }

    void key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QKeyEvent event(QEvent::KeyPress, key, modifiers);
        QApplication::sendEvent(&view, &event);
    }

    CountsDataSource source;
    RecordingDelegate delegate;
    TickSource ticks;
    KeltCollectionView view;
    int cellsMade = 0;
};

} // namespace

TEST(CollectionView, NothingBeforeTheFirstReloadThenOnlyVisibleCells)
{
    CountsDataSource source({ 1000 });
    KeltCollectionView view;
    view.resize(800, 600);
    view.setDataSource(&source);
    view.setCollectionViewLayout(std::make_unique<KeltCollectionViewGridLayout>());
    view.show();
    QApplication::processEvents();
    EXPECT_FALSE(view.wantsLayout());
    EXPECT_TRUE(view.visibleCells().empty());
    EXPECT_EQ(source.cellsAsked, 0);

    ShownGrid grid(1000);
    EXPECT_FALSE(grid.view.visibleCells().empty());
    EXPECT_LT(grid.view.visibleCells().size(), 30u);
    grid.expectCellsMatchVisibleItems();
    EXPECT_EQ(grid.view.documentSize().height(), 250 * 230.0 - 10);
}

TEST(CollectionView, ScrollingReusesPooledCells)
{
    ShownGrid grid(100000);
    const int firstScreen = grid.cellsMade;
    for (double y : { 115.0, 2300.0, 2301.5, 90000.0, 5.0e6, 2.29e6, 0.0 }) {
        grid.view.clipView()->scrollToPoint({ 0, y });
        SCOPED_TRACE(y);
        grid.expectCellsMatchVisibleItems();
    }
    // Scrolling never needs more cells than two screens' worth: the rest come from the pool.
    EXPECT_LE(grid.cellsMade, 2 * firstScreen);
    EXPECT_EQ(grid.cellsMade, qint64(grid.view.visibleCells().size()) + grid.view.reusableCellCount());

    // The pool is last in, first out, and dequeuing prepares the cell for its new item.
    auto* a = new KeltCollectionViewCell;
    auto* b = new KeltCollectionViewCell;
    grid.view.enqueueReusableCell(a, QStringLiteral("X"));
    grid.view.enqueueReusableCell(b, QStringLiteral("X"));
    grid.view.enqueueReusableCell(a, QString()); // no identifier never reaches a pool
    EXPECT_EQ(grid.view.dequeueReusableCellWithIdentifier(QStringLiteral("X"), 77), b);
    EXPECT_EQ(b->cellIndex(), 77);
    EXPECT_EQ(grid.view.dequeueReusableCellWithIdentifier(QStringLiteral("X"), 78), a);
    delete a;
    delete b;
}

TEST(CollectionView, ResizeAndShrinkingData)
{
    ShownGrid grid(500);
    grid.view.resize(1300, 600);
    QApplication::processEvents();
    auto* layout = static_cast<KeltCollectionViewGridLayout*>(grid.view.collectionViewLayout());
    EXPECT_EQ(layout->numberOfColumns(), int(grid.view.visibleSize().width()) / 180);
    grid.expectCellsMatchVisibleItems();

    // The batch shrank: stale cells leave at the next reload, no cell is left for a missing item.
    grid.view.clipView()->scrollToPoint({ 0, 1e9 });
    grid.source.counts = { 3 };
    grid.view.reloadData();
    QApplication::processEvents();
    EXPECT_EQ(grid.view.visibleCells().size(), 3u);
    EXPECT_EQ(grid.view.documentVisibleRect().y(), 0);
    grid.expectCellsMatchVisibleItems();
}

TEST(CollectionView, MouseSelectsAndReportsDoubleClicks)
{
    ShownGrid grid(40);
    grid.click(ip(0, 1));
    grid.click(ip(0, 3), Qt::ControlModifier);
    grid.click(ip(0, 6), Qt::ShiftModifier);
    EXPECT_EQ(names(grid.view.indexPathsForSelectedItems()),
        (std::vector<std::string> { "0.1", "0.3", "0.2", "0.4", "0.5", "0.6" }));
    for (KeltCollectionViewCell* cell : grid.view.visibleCells())
        EXPECT_EQ(cell->isSelected(), grid.view.isItemSelected(*cell->indexPath()));

    grid.delegate.log.clear();
    grid.click(ip(0, 5), Qt::NoModifier, true);
    const auto& log = grid.delegate.log;
    ASSERT_GE(log.size(), 2u);
    EXPECT_EQ(log.back(), "double:0.5"); // after the second release was handled
    EXPECT_EQ(std::count(log.begin(), log.end(), "up:0.5"), 2);
    EXPECT_EQ(std::count(log.begin(), log.end(), "double:0.5"), 1);
}

TEST(CollectionView, KeysMoveTheSelection)
{
    ShownGrid grid(40);
    const qint64 columns
        = static_cast<KeltCollectionViewGridLayout*>(grid.view.collectionViewLayout())->numberOfColumns();
    grid.key(Qt::Key_Left);
    EXPECT_EQ(grid.view.selectedItemCount(), 0);
    grid.key(Qt::Key_Down);
    EXPECT_EQ(grid.view.indexPathForSelectedItem(), ip(0, 0));
    grid.key(Qt::Key_Down);
    EXPECT_EQ(grid.view.indexPathForSelectedItem(), ip(0, columns));
    grid.key(Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_EQ(grid.view.selectedItemCount(), 2);
    grid.key(Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(names(grid.view.indexPathsForSelectedItems()), (std::vector<std::string> { "0.39" }));
    grid.runTicks();
    grid.expectCellsMatchVisibleItems();
    EXPECT_NE(grid.view.cellForItemAtIndexPath(ip(0, 39)), nullptr); // scrolled into view
    grid.key(Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(grid.view.selectedItemCount(), 40);
}

// Page Up and Page Down are the view's own keys with any modifier: they scroll a page and never
// pass on to a shortcut of the window (Control with a key marks all on the batch screen).
TEST(CollectionView, PageKeysScrollAPageWhateverIsHeld)
{
    ShownGrid grid(200);
    const double page = grid.view.documentVisibleRect().height();
    const Qt::KeyboardModifiers held[]
        = { Qt::NoModifier, Qt::ControlModifier, Qt::ControlModifier | Qt::ShiftModifier };
    for (const Qt::KeyboardModifiers modifiers : held) {
        for (const auto& [key, originY] : { std::pair { Qt::Key_PageDown, page }, std::pair { Qt::Key_PageUp, 0.0 } }) {
            QKeyEvent event(QEvent::KeyPress, key, modifiers);
            QApplication::sendEvent(&grid.view, &event);
            grid.runTicks();
            EXPECT_TRUE(event.isAccepted()) << key << " with " << modifiers.toInt();
            EXPECT_NEAR(grid.view.documentVisibleRect().y(), originY, 1) << key << " with " << modifiers.toInt();
        }
    }
    EXPECT_EQ(grid.view.selectedItemCount(), 0); // scrolling selects nothing
}

TEST(CollectionView, TheFocusRingGoesRoundTheCurrentItem)
{
    FocusRing::install();
    ShownGrid grid(40);
    QWidget window; // the ring marks controls inside a window
    window.resize(grid.view.size());
    grid.view.setParent(&window);
    grid.view.show();
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    grid.view.clearFocus(); // Tab brings it in, whatever the window's activation did
    grid.view.setFocus(Qt::TabFocusReason);
    ASSERT_EQ(FocusRing::ringedWidget(), &grid.view);
    EXPECT_EQ(FocusRing::ringRect(), grid.view.rect()); // no current item: the whole view
    const qint64 columns
        = static_cast<KeltCollectionViewGridLayout*>(grid.view.collectionViewLayout())->numberOfColumns();
    for (const qint64 item : { qint64(0), columns }) {
        grid.key(Qt::Key_Down);
        grid.runTicks();
        const KeltCollectionViewCell* cell = grid.view.cellForItemAtIndexPath(ip(0, item));
        ASSERT_NE(cell, nullptr);
        const QRect shown(cell->mapTo(&grid.view, QPoint(0, 0)), cell->size());
        EXPECT_TRUE(FocusRing::ringRect().contains(shown)) << item;
        EXPECT_LT(FocusRing::ringRect().width(), shown.width() + 8) << item;
    }
    grid.view.setParent(nullptr); // the grid outlives the window
}

namespace {

// Counts the times the view tells the focus ring where its current item is.
struct FocusRectCounter : QObject {
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::DynamicPropertyChange
            && static_cast<QDynamicPropertyChangeEvent*>(event)->propertyName() == FocusRing::kFocusRectProperty)
            ++placements;
        return false;
    }
    int placements = 0;
};

} // namespace

TEST(CollectionView, ASelectionOfManyItemsPlacesTheFocusRingOnce)
{
    ShownGrid grid(500);
    FocusRectCounter counter;
    grid.view.installEventFilter(&counter);
    const std::vector<KeltIndexPath> visible = grid.view.indexPathsForVisibleItems();
    ASSERT_GT(visible.size(), 8u);
    const struct {
        const char* action;
        std::function<void()> act;
        qint64 selected;
    } steps[] = {
        { "Ctrl+A", [&] { grid.key(Qt::Key_A, Qt::ControlModifier); }, 500 },
        { "click after select-all", [&] { grid.click(visible.front()); }, 1 },
        { "Shift-click", [&] { grid.click(visible.back(), Qt::ShiftModifier); }, qint64(visible.size()) },
        { "Ctrl+A again", [&] { grid.key(Qt::Key_A, Qt::ControlModifier); }, 500 },
    };
    for (const auto& step : steps) {
        counter.placements = 0;
        step.act();
        EXPECT_EQ(grid.view.selectedItemCount(), step.selected) << step.action;
        // The rectangle is worked out per selection change as a whole, not per item.
        EXPECT_GE(counter.placements, 1) << step.action;
        EXPECT_LE(counter.placements, 2) << step.action;
    }
    grid.view.removeEventFilter(&counter);
}

TEST(CollectionView, SmoothScrollReachesItsDestinationAndCompletesOnce)
{
    ShownGrid grid(100000);
    KeltClipView* clip = grid.view.clipView();
    int completions = 0;
    bool answer = false;
    const QRectF end(0, grid.view.documentSize().height(), 0, 0);
    EXPECT_TRUE(clip->scrollRectToVisible(end, true, [&](bool finished) {
        ++completions;
        answer = finished;
    }));
    EXPECT_EQ(completions, 0);
    const int steps = grid.runTicks();
    EXPECT_LT(steps, 200);
    EXPECT_EQ(completions, 1);
    EXPECT_TRUE(answer);
    EXPECT_EQ(clip->origin(), clip->maximumOrigin());
    grid.expectCellsMatchVisibleItems();
    grid.ticks.fire();
    EXPECT_EQ(completions, 1);

    // Not needed: the completion runs at once with NO.
    EXPECT_FALSE(clip->scrollRectToVisible(end, true, [&](bool finished) {
        ++completions;
        answer = finished;
    }));
    EXPECT_EQ(completions, 2);
    EXPECT_FALSE(answer);

    // An immediate scroll stops a running animation where it is asked to.
    clip->scrollRectToVisible(QRectF(0, 0, 1, 1), true);
    grid.ticks.fire();
    EXPECT_TRUE(clip->isAnimating());
    clip->scrollToPoint({ 0, 4600 });
    EXPECT_FALSE(clip->isAnimating());
    EXPECT_EQ(clip->origin(), QPointF(0, 4600));

    // Rates are clamped: 1 ends at the first step without moving, 0 jumps there at once.
    struct Case {
        double rate, stored;
        double after1;
    };
    for (const Case& c : { Case { 1.5, 1.0, 4600 }, Case { -0.2, 0.0, 0 } }) {
        clip->setDecelerationRate(c.rate);
        EXPECT_EQ(clip->decelerationRate(), c.stored);
        clip->scrollToPoint({ 0, 4600 });
        clip->scrollRectToVisible(QRectF(0, 0, 1, 1), true);
        grid.ticks.fire();
        EXPECT_EQ(clip->origin().y(), c.after1);
        EXPECT_FALSE(clip->isAnimating());
    }

    // A hidden view stops animating at the next step.
    clip->setDecelerationRate(0.78);
    clip->scrollRectToVisible(QRectF(0, 90000, 1, 1), true);
    grid.view.hide();
    grid.ticks.fire();
    EXPECT_FALSE(clip->isAnimating());
}

TEST(CollectionView, ScrollPositions)
{
    ShownGrid grid(1000);
    const double visible = grid.view.visibleSize().height();
    const KeltIndexPath item = ip(0, 400);
    const QRectF frame = grid.view.rectForItemAtIndexPath(item);
    struct Case {
        KeltScrollPosition position;
        double originY;
        bool reported;
    };
    const Case cases[] = {
        { KeltScrollPosition::None, 0, false },
        { KeltScrollPosition::Nearest, frame.bottom() - visible, true },
        { KeltScrollPosition::Top, frame.top(), true },
        { KeltScrollPosition::Middle, frame.center().y() - visible / 2, true },
        { KeltScrollPosition::Bottom, frame.bottom() - visible, true },
    };
    for (const Case& c : cases) {
        grid.view.clipView()->scrollToPoint({ 0, 0 });
        grid.delegate.log.clear();
        grid.view.scrollToItemAtIndexPath(item, c.position, false);
        EXPECT_EQ(grid.view.documentVisibleRect().y(), c.originY) << int(c.position);
        EXPECT_EQ(!grid.delegate.log.empty(), c.reported);
    }
}

TEST(CollectionViewCell, PartsFollowTheCellSize)
{
    using P = KeltCollectionViewCell::Part;
    KeltCollectionViewCell cell;
    cell.resize(200, 260);
    struct Case {
        P part;
        QRectF frame;
    };
    const Case created[] = {
        { P::LblTitle, { 21, 45, 160, 27 } },
        { P::BottomBox, { 10, 9, 180, 70 } },
        { P::BackgroundView, { 10, 80, 180, 170 } },
        { P::VwSelectedState, { 7, 6, 186, 248 } },
        { P::CheckBoxBtn, { 140, 5, 33, 33 } },
    };
    for (const Case& c : created)
        EXPECT_EQ(cell.partFrame(c.part), c.frame) << int(c.part);

    cell.setBackgroundImage(QImage(10, 10, QImage::Format_RGB32));
    EXPECT_EQ(cell.partFrame(P::ImgVwThumbnail), QRectF(10, 79, 181, 260 - 70 + 9 - 26));
    EXPECT_FALSE(cell.isPartHidden(P::BgThumbnail));
    cell.setIsForBigThumbnail(false);
    EXPECT_EQ(cell.partFrame(P::CheckBoxBtn), QRectF(180, 5, 33, 33));
    cell.setIsForSmallThubnails(true);
    EXPECT_EQ(cell.partFrame(P::VwLineSelected), QRectF(6, 0, 188, 3));
    EXPECT_TRUE(cell.isPartHidden(P::BottomBox));
    cell.resize(220, 300); // width and height follow
    EXPECT_EQ(cell.partFrame(P::BackgroundView), QRectF(8, 8, 204, 290));
}

namespace {

// A cell whose background shows its selection, as the grid's subclasses do.
class SelectionColouredCell : public KeltCollectionViewCell {
public:
    using KeltCollectionViewCell::setSelected;
    void setSelected(bool selected) override
    {
        KeltCollectionViewCell::setSelected(selected);
        setBackgroundColor(selected ? QColor(0, 0, 255) : QColor(255, 0, 0));
    }
};

} // namespace

TEST(CollectionViewCell, SelectionCrossFadesAndTheSmallLineTakesTheSelectedColour)
{
    SelectionColouredCell cell;
    cell.resize(200, 260);
    cell.setSelected(false);
    TickSource ticks(TickSource::Driver::Manual);
    cell.setCrossfadeTickSource(&ticks);
    const QPoint inBackground(100, 100);
    const auto pixel = [&cell](QPoint p) { return cell.grab().toImage().pixelColor(p); };
    const auto step = [&ticks](int frames) {
        for (int i = 0; i < frames; ++i)
            ticks.fire();
    };
    // 0.25 s at one frame every 16 ms: 16 frames.
    struct Case {
        bool select;
        bool animated;
        int frames;
        QColor expected;
    };
    const Case cases[] = {
        { true, true, 0, QColor(255, 0, 0) }, // the fade starts from the old look
        { true, true, 8, QColor(124, 0, 131) }, // about half way
        { true, true, 16, QColor(0, 0, 255) }, // done
        { true, true, 40, QColor(0, 0, 255) }, // done stays done
        { true, false, 0, QColor(0, 0, 255) }, // not animated: at once
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.animated << " " << c.frames);
        cell.setSelected(!c.select, false);
        cell.setSelected(c.select, c.animated);
        step(c.frames);
        const QColor seen = pixel(inBackground);
        EXPECT_NEAR(seen.red(), c.expected.red(), 3);
        EXPECT_NEAR(seen.blue(), c.expected.blue(), 3);
    }
    // An unchanged state adds no fade; reuse ends a running one on the new look.
    cell.setSelected(true, true);
    EXPECT_EQ(pixel(inBackground), QColor(0, 0, 255));
    cell.setSelected(false, true);
    step(4);
    cell.prepareForReuse();
    EXPECT_EQ(pixel(inBackground), QColor(255, 0, 0));

    // Small thumbnails: the selection line (3 points at the bottom) shows the selected colour.
    KeltCollectionViewCell small;
    small.resize(200, 260);
    small.setIsForSmallThubnails(true);
    const QPoint onLine(100, 258);
    EXPECT_EQ(small.grab().toImage().pixelColor(onLine), QColor(68, 78, 94));
    small.setBgselectedColor(QColor(200, 30, 30));
    EXPECT_EQ(small.grab().toImage().pixelColor(onLine), QColor(200, 30, 30));
    EXPECT_EQ(small.grab().toImage().pixelColor(QPoint(100, 252)), QColor(200, 30, 30)); // the frame
}

TEST(CollectionView, HeadersAreLaidOutAndReusedLikeCells)
{
    struct Headers : CountsDataSource, KeltCollectionViewGridLayoutDelegate {
        Headers()
            : CountsDataSource({ 8, 8, 8, 8, 8, 8 })
        {
        }
        bool answersSupplementaryViews() const override { return true; }
        KeltCollectionViewReusableView* viewForSupplementaryViewOfKind(
            KeltCollectionView* view, const QString& kind, qint64 section) override
        {
            auto* header = view->dequeueReusableSupplementaryViewOfKind(kind, QStringLiteral("H"));
            header->setObjectName(QString::number(section));
            return header;
        }
        std::optional<QSizeF> sizeForItemInCollectionView(KeltCollectionView*) override { return QSizeF(180, 220); }
        double heightForHeaderInSection(KeltCollectionView*, qint64) override { return 30; }
    } source;
    const QString kind = KeltCollectionViewGridLayout::KeltCollectionViewGridLayoutHeaderKind;
    int made = 0;
    KeltCollectionView view;
    view.resize(800, 600);
    view.registerClass(
        [&] {
            ++made;
            return new KeltCollectionViewReusableView;
        },
        kind, QStringLiteral("H"));
    auto layout = std::make_unique<KeltCollectionViewGridLayout>();
    layout->setDelegate(&source);
    view.setCollectionViewLayout(std::move(layout));
    view.setDataSource(&source);
    view.show();
    view.reloadData();
    QApplication::processEvents();
    // Sections are 30 + 2 x 220 = 470 high.
    for (double top : { 0.0, 500.0, 1400.0, 2350.0, 0.0 }) {
        view.clipView()->scrollToPoint({ 0, top });
        const QRectF visible = view.documentVisibleRect();
        for (qint64 section = 0; section < view.numberOfSections(); ++section) {
            const QRectF frame = view.rectForSupplementaryViewWithKind(kind, section);
            auto* header = view.supplementaryViewForKind(kind, QStringLiteral("H"), section);
            EXPECT_EQ(header != nullptr, frame.intersects(visible)) << top << " section " << section;
            if (header) {
                EXPECT_EQ(header->objectName(), QString::number(section));
                EXPECT_EQ(header->geometry().topLeft(), frame.topLeft().toPoint() - view.pixelOrigin());
                EXPECT_EQ(header->kind(), kind);
            }
        }
    }
    EXPECT_LE(made, 3); // at most two headers show at once; the rest come from the pool
}
