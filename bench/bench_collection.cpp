// The collection view over a batch of 1,000,000 items: grid 180x220 with spacing 10 in a 1200x800
// view. Measures reloadData, a live resize, a scroll step, an animated scroll to the end,
// select-all and a Shift-click across all items, and the heap the view holds.
//
//   QT_QPA_PLATFORM=offscreen bench_collection [items]
//   bench_collection --show [big]   opens the grid (and a segmented control) on screen to look at
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <functional>
#include <malloc.h>
#include <vector>

#include <QApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QScrollBar>

#include "components/AppLook.h"
#include "components/CollectionView/KeltClipView.h"
#include "components/CollectionView/KeltCollectionView.h"
#include "components/CollectionView/KeltCollectionViewCell.h"
#include "components/CollectionView/KeltCollectionViewDataSource.h"
#include "components/CollectionView/KeltCollectionViewGridLayout.h"
#include "components/SegmentedControl/UxSegmentedControl.h"
#include "components/TickSource.h"
#include "core/ResourceImages.h"

using namespace vantrel;
namespace {

/// The main thread's CPU time, so that other work on a shared machine does not count. It leaves
/// out whatever the view hands to other threads (Qt spreads some image scaling over its pool), so
/// frames are timed by the wall clock as well (WallClock).
struct Clock {
    using duration = std::chrono::nanoseconds;
    static std::chrono::nanoseconds now()
    {
        timespec t {};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
        return std::chrono::seconds(t.tv_sec) + std::chrono::nanoseconds(t.tv_nsec);
    }
};

/// Wall time: what the user waits for a frame, work on other threads included.
struct WallClock {
    static std::chrono::nanoseconds now()
    {
        return std::chrono::duration_cast<std::chrono::nanoseconds>(
            std::chrono::steady_clock::now().time_since_epoch());
    }
};

/// One frame timed by both clocks.
struct FrameTimer {
    std::chrono::nanoseconds cpu = Clock::now();
    std::chrono::nanoseconds wall = WallClock::now();
};

double ms(Clock::duration d)
{
    return std::chrono::duration<double, std::milli>(d).count();
}

/// Times the view's own handling of each viewport resize (its layout pass).
class TimedView : public KeltCollectionView {
public:
    std::vector<double> resizePasses;

protected:
    bool viewportEvent(QEvent* event) override
    {
        if (event->type() != QEvent::Resize)
            return KeltCollectionView::viewportEvent(event);
        const auto start = Clock::now();
        const bool handled = KeltCollectionView::viewportEvent(event);
        resizePasses.push_back(ms(Clock::now() - start));
        return handled;
    }
};

double timeOnce(const std::function<void()>& fn)
{
    const auto start = Clock::now();
    fn();
    return ms(Clock::now() - start);
}

struct Stats {
    std::vector<double> samples;
    void add(double v) { samples.push_back(v); }
    double median()
    {
        std::sort(samples.begin(), samples.end());
        return samples.empty() ? 0 : samples[samples.size() / 2];
    }
    double worst() { return samples.empty() ? 0 : *std::max_element(samples.begin(), samples.end()); }
    double percentile95()
    {
        std::sort(samples.begin(), samples.end());
        return samples.empty() ? 0 : samples[std::min(samples.size() - 1, samples.size() * 95 / 100)];
    }
};

/// Frame times by the main thread's CPU clock and by the wall clock.
struct FrameStats {
    Stats cpu;
    Stats wall;
    void add(const FrameTimer& start)
    {
        cpu.add(ms(Clock::now() - start.cpu));
        wall.add(ms(WallClock::now() - start.wall));
    }
    QByteArray text()
    {
        return QStringLiteral("cpu median %1 ms (p95 %2, worst %3), wall median %4 ms (p95 %5, worst %6)")
            .arg(cpu.median(), 0, 'f', 3)
            .arg(cpu.percentile95(), 0, 'f', 3)
            .arg(cpu.worst(), 0, 'f', 3)
            .arg(wall.median(), 0, 'f', 3)
            .arg(wall.percentile95(), 0, 'f', 3)
            .arg(wall.worst(), 0, 'f', 3)
            .toUtf8();
    }
};

double heapMB()
{
    const struct mallinfo2 info = mallinfo2();
    return double(info.uordblks + info.hblkhd) / (1024.0 * 1024.0);
}

class Batch : public KeltCollectionViewDataSource, public KeltCollectionViewGridLayoutDelegate {
public:
    explicit Batch(qint64 count)
        : m_count(count)
        , m_thumbnail(160, 120, QImage::Format_RGB32)
    {
        QPainter painter(&m_thumbnail);
        QLinearGradient gradient(0, 0, 160, 120);
        gradient.setColorAt(0, QColor(90, 140, 200));
        gradient.setColorAt(1, QColor(240, 200, 120));
        painter.fillRect(m_thumbnail.rect(), gradient);
    }
    qint64 numberOfItemsInSection(KeltCollectionView*, qint64) override { return m_count; }
    KeltCollectionViewCell* cellForItemAtIndexPath(KeltCollectionView* view, KeltIndexPath path) override
    {
        auto* cell = view->dequeueReusableCellWithIdentifier(QStringLiteral("CELL"), int(path.kelt_item()));
        cell->setNameValue(QStringLiteral("IMG_%1.jpg").arg(path.kelt_item()));
        cell->setDimensionValue(QStringLiteral("Dimensions 4000 X 3000"));
        cell->setSizeValue(QStringLiteral("Size 3.21 MB"));
        cell->setBackgroundImage(m_thumbnail);
        return cell;
    }
    std::optional<QSizeF> sizeForItemInCollectionView(KeltCollectionView*) override { return QSizeF(180, 220); }

private:
    qint64 m_count;
    QImage m_thumbnail;
};

/// Thumbnails of different shapes and colours, drawn the way the batch grid's cells show photos.
class ShowBatch : public KeltCollectionViewDataSource, public KeltCollectionViewGridLayoutDelegate {
public:
    explicit ShowBatch(bool big)
        : m_big(big)
    {
        for (int i = 0; i < 7; ++i) {
            const bool portrait = i % 3 == 1;
            QImage image(portrait ? 270 : 404, portrait ? 404 : 270, QImage::Format_RGB32);
            QPainter painter(&image);
            painter.setRenderHint(QPainter::Antialiasing);
            QLinearGradient sky(0, 0, 0, image.height());
            sky.setColorAt(0, QColor::fromHsv((i * 47) % 360, 120, 230));
            sky.setColorAt(1, QColor::fromHsv((i * 47 + 40) % 360, 160, 120));
            painter.fillRect(image.rect(), sky);
            painter.setBrush(QColor::fromHsv((i * 47 + 180) % 360, 140, 90));
            painter.setPen(Qt::NoPen);
            painter.drawEllipse(
                QPointF(image.width() * 0.3, image.height() * 0.85), image.width() * 0.6, image.height() * 0.3);
            painter.setBrush(QColor(255, 240, 200));
            painter.drawEllipse(QPointF(image.width() * 0.75, image.height() * 0.25), 24, 24);
            m_thumbnails.push_back(image);
        }
    }
    qint64 numberOfItemsInSection(KeltCollectionView*, qint64) override { return 1000000; }
    KeltCollectionViewCell* cellForItemAtIndexPath(KeltCollectionView* view, KeltIndexPath path) override
    {
        const qint64 item = path.kelt_item();
        auto* cell = view->dequeueReusableCellWithIdentifier(QStringLiteral("CELL"), int(item));
        const QImage& image = m_thumbnails[size_t(item % qint64(m_thumbnails.size()))];
        cell->setNameValue(QStringLiteral("DSC_%1_holiday_by_the_lake.jpg").arg(item + 1, 5, 10, QLatin1Char('0')));
        cell->setDimensionValue(QStringLiteral("Dimensions %1 X %2").arg(image.width() * 15).arg(image.height() * 15));
        cell->setSizeValue(QStringLiteral("Size %1 MB").arg(2.0 + double(item % 5) * 0.37, 0, 'f', 2));
        cell->setBackgroundImage(image);
        const bool checked = item % 4 != 2;
        cell->setCheckImage(
            ResourceImages::named(checked ? QStringLiteral("checked_image.png") : QStringLiteral("uncheck_image.png")));
        cell->setBgselectedColor(checked ? QColor(68, 78, 94) : QColor(Qt::transparent));
        if (m_big)
            cell->setIsForBigThumbnail(true);
        return cell;
    }
    std::optional<QSizeF> sizeForItemInCollectionView(KeltCollectionView*) override
    {
        return m_big ? QSizeF(220, 300) : QSizeF(180, 220);
    }

private:
    bool m_big;
    std::vector<QImage> m_thumbnails;
};

int show(QApplication& app, bool big, int width)
{
    QWidget window;
    window.setWindowTitle(QStringLiteral("Collection view"));
    const int height = width * 2 / 3;
    window.resize(width, height);
    QPalette palette = window.palette();
    palette.setColor(QPalette::Window, QColor(36, 41, 50));
    window.setPalette(palette);
    window.setAutoFillBackground(true);
    auto* segmented = new UxSegmentedControl(&window);
    segmented->setGeometry(20, 14, 240, 40);
    segmented->setSegmentCount(3);
    segmented->setSelectedSegment(big ? 2 : 1, false);
    segmented->awakeFromNib();
    ShowBatch batch(big);
    auto* view = new KeltCollectionView(&window);
    view->setGeometry(0, 56, width, height - 56);
    view->registerClass<KeltCollectionViewCell>(QStringLiteral("CELL"));
    auto layout = std::make_unique<KeltCollectionViewGridLayout>();
    layout->setDelegate(&batch);
    layout->setVerticalSpacing(10);
    view->setCollectionViewLayout(std::move(layout));
    view->setDataSource(&batch);
    view->setBackgroundColor(QColor(36, 41, 50));
    window.show();
    view->reloadData();
    view->selectItemAtIndexPath(KeltIndexPath::kelt_indexPathForItem(7, 0), KeltScrollPosition::None, false);
    view->setFocus();
    return app.exec();
}

} // namespace

int main(int argc, char** argv)
{
    if (argc > 1 && QByteArray(argv[1]) == "--show") {
        QApplication app(argc, argv);
        AppLook::apply(app);
        return show(app, argc > 2 && QByteArray(argv[2]) == "big", argc > 3 ? QByteArray(argv[3]).toInt() : 1200);
    }
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    const qint64 items = argc > 1 ? QByteArray(argv[1]).toLongLong() : 1000000;
    Batch batch(items);

    const double heapBefore = heapMB();
    TimedView view;
    TickSource ticks(TickSource::Driver::Manual);
    view.clipView()->setTickSource(&ticks);
    view.resize(1200, 800);
    view.registerClass<KeltCollectionViewCell>(QStringLiteral("CELL"));
    auto layout = std::make_unique<KeltCollectionViewGridLayout>();
    layout->setDelegate(&batch);
    layout->setVerticalSpacing(10);
    view.setCollectionViewLayout(std::move(layout));
    view.setDataSource(&batch);
    view.setBackgroundColor(QColor(36, 41, 50));
    view.show();
    app.processEvents();

    QImage frame(view.viewport()->size(), QImage::Format_ARGB32_Premultiplied);
    auto paint = [&] { view.viewport()->render(&frame); };

    Stats reload;
    for (int i = 0; i < 5; ++i)
        reload.add(timeOnce([&] { view.reloadData(); }));
    app.processEvents();
    const double heapView = heapMB() - heapBefore;
    const auto* grid = static_cast<KeltCollectionViewGridLayout*>(view.collectionViewLayout());
    std::printf("items %lld, columns %lld, document %.0f px high, %zu cells visible\n", items, grid->numberOfColumns(),
        view.documentSize().height(), view.visibleCells().size());
    std::printf("reloadData: median %.2f ms, worst %.2f ms\n", reload.median(), reload.worst());

    // Live resize: the window's width shrinks and grows in 7 px steps (each step re-prepares).
    Stats resizeLayout;
    FrameStats resizeFrame;
    for (int step = 0; step < 60; ++step) {
        const int width = 1200 - 7 * (step < 30 ? step : 60 - step);
        const FrameTimer start;
        view.resizePasses.clear();
        view.resize(width, 800);
        app.sendPostedEvents();
        double pass = 0;
        for (double p : view.resizePasses)
            pass += p;
        resizeLayout.add(pass);
        if (frame.size() != view.viewport()->size())
            frame = QImage(view.viewport()->size(), QImage::Format_ARGB32_Premultiplied);
        paint();
        resizeFrame.add(start);
    }
    std::printf("resize steps: %zu layout passes seen in the last step, %lld columns at the end\n",
        view.resizePasses.size(), grid->numberOfColumns());
    std::printf("resize step: layout median %.3f ms (worst %.3f); frame %s\n", resizeLayout.median(),
        resizeLayout.worst(), resizeFrame.text().constData());

    // Scroll steps of a wheel notch (40 px) somewhere in the middle of the batch.
    view.clipView()->scrollToPoint({ 0, view.documentSize().height() / 2 });
    Stats scrollLayout;
    FrameStats scrollFrame;
    for (int step = 0; step < 200; ++step) {
        const QPointF next = view.clipView()->origin() + QPointF(0, 40);
        const FrameTimer start;
        view.clipView()->scrollToPoint(next);
        scrollLayout.add(ms(Clock::now() - start.cpu));
        paint();
        scrollFrame.add(start);
    }
    std::printf("scroll step: layout median %.3f ms (worst %.3f); frame %s\n", scrollLayout.median(),
        scrollLayout.worst(), scrollFrame.text().constData());

    // Animated scroll from the top to the end of the document, one tick per display frame.
    view.clipView()->scrollToPoint({ 0, 0 });
    FrameStats animationStep;
    view.clipView()->scrollRectToVisible(QRectF(0, view.documentSize().height(), 0, 0), true);
    int frames = 0;
    while (ticks.isActive() && frames < 10000) {
        const FrameTimer start;
        ticks.fire();
        paint();
        animationStep.add(start);
        ++frames;
    }
    std::printf("animated scroll to the end: %d frames (%.2f s at 60 Hz), frame %s, reached end %s\n", frames,
        frames / 60.0, animationStep.text().constData(),
        view.clipView()->origin() == view.clipView()->maximumOrigin() ? "yes" : "NO");

    const double heapBeforeSelection = heapMB();
    const double selectAll = timeOnce([&] { view.selectAllItems(); });
    const double heapSelection = heapMB() - heapBeforeSelection;
    std::printf("select all: %.1f ms, selection heap %.1f MB (%lld selected)\n", selectAll, heapSelection,
        view.selectedItemCount());
    const double single = timeOnce([&] {
        view.selectItemAtIndexPath(
            KeltIndexPath::kelt_indexPathForItem(0, 0), KeltSelectionType::Single, KeltScrollPosition::None, false);
    });
    const double shiftClick = timeOnce([&] {
        view.selectItemAtIndexPath(KeltIndexPath::kelt_indexPathForItem(items - 1, 0), KeltSelectionType::Extend,
            KeltScrollPosition::None, false);
    });
    std::printf(
        "click after select-all (deselects the rest): %.1f ms; shift-click across all: %.1f ms (%lld selected)\n",
        single, shiftClick, view.selectedItemCount());
    std::printf("view heap beyond its cells, selection excluded: %.1f MB (after reload, %zu cells + %lld pooled)\n",
        heapView, view.visibleCells().size(), view.reusableCellCount());
    return 0;
}
