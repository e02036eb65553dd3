#include "components/WyProgressIndicator.h"

#include <QCoreApplication>
#include <QImage>

#include <gtest/gtest.h>

#include "components/TickSource.h"
#include "core/ResourceImages.h"

using namespace vantrel;

namespace {

class PaintCounter : public QObject {
public:
    int paints = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

const QColor kBlue(66, 180, 211);
const QColor kField(54, 63, 78);

QColor pixel(const QImage& image, int x, int y)
{
    return image.pixelColor(x, y);
}

int lightPixels(const QImage& image)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += qGray(image.pixel(x, y)) >= 225 ? 1 : 0;
    return count;
}

} // namespace

TEST(WyProgressIndicator, DrawsTheBarAtZeroHalfAndFull)
{
    ResourceImages::initResources();
    TickSource ticks(TickSource::Driver::Manual);
    qint64 now = 0;
    WyProgressIndicator bar(&ticks, [&] { return now; });
    bar.resize(200, 20);
    EXPECT_EQ(bar.minValue(), 0);
    EXPECT_EQ(bar.maxValue(), 100);
    EXPECT_FALSE(bar.accessibleName().isEmpty());

    struct Probe {
        double value;
        int x;
        QColor colour;
    };
    const Probe probes[] = {
        { 0, 10, kField }, // nothing but the bezel
        { 0, 150, kField }, { 50, 10, kBlue }, { 50, 99, kBlue }, { 50, 101, kBlue }, // the leading edge
        { 50, 103, kField }, { 50, 150, kField }, { 100, 150, kBlue }, { 100, 197, kBlue }, // the clip ends at W - 1
    };
    for (const auto& probe : probes) {
        bar.setInternalDoubleValue(0);
        bar.setDoubleValue(0);
        bar.setDoubleValue(probe.value);
        now += 1000;
        ticks.fire();
        const QImage image = bar.grab().toImage();
        EXPECT_EQ(pixel(image, probe.x, 12), probe.colour) << probe.value << " % at x " << probe.x;
    }
    EXPECT_EQ(bar.progressBarRect(), QRectF(1, 1, 200, 17));
}

TEST(WyProgressIndicator, GrowsWithTicksFallsAtOnceAndIdlesWithoutPaints)
{
    ResourceImages::initResources();
    TickSource ticks(TickSource::Driver::Manual);
    qint64 now = 0;
    QWidget window;
    window.resize(220, 40);
    auto* bar = new WyProgressIndicator(
        &ticks, [&] { return now; }, &window);
    bar->setGeometry(10, 10, 200, 20);
    window.show();
    QCoreApplication::processEvents();
    EXPECT_FALSE(bar->isTicking());

    bar->setDoubleValue(80);
    EXPECT_TRUE(bar->isTicking()); // one driver for the growth
    EXPECT_EQ(bar->internalDoubleValue(), 0);
    now = 150;
    ticks.fire();
    EXPECT_DOUBLE_EQ(bar->internalDoubleValue(), 40);
    EXPECT_EQ(bar->progressBarRect().width(), 80);
    now = 300;
    ticks.fire();
    EXPECT_EQ(bar->internalDoubleValue(), 80);
    EXPECT_FALSE(bar->isTicking());

    bar->setDoubleValue(20); // falls at once, no ticks
    EXPECT_EQ(bar->internalDoubleValue(), 20);
    EXPECT_FALSE(bar->isTicking());
    QCoreApplication::processEvents();

    // Idle: nothing repaints by itself, and a paint asks for no further paint.
    PaintCounter counter;
    bar->installEventFilter(&counter);
    for (int i = 0; i < 5; ++i)
        QCoreApplication::processEvents();
    EXPECT_EQ(counter.paints, 0);
    bar->repaint();
    EXPECT_EQ(counter.paints, 1);
    for (int i = 0; i < 5; ++i)
        QCoreApplication::processEvents();
    EXPECT_EQ(counter.paints, 1);

    // The decorations run on the same single driver, draw over the bar and stop cleanly.
    const QImage plain = bar->grab().toImage();
    bar->startAnimation();
    bar->startAnimation();
    EXPECT_TRUE(bar->isTicking());
    for (int i = 0; i < 35; ++i)
        ticks.fire();
    EXPECT_EQ(bar->currentAnimationStep(), 1);
    EXPECT_NE(bar->grab().toImage(), plain); // the glows lighten the bar
    bar->setIndeterminate(true);
    EXPECT_GT(lightPixels(bar->grab().toImage()), lightPixels(plain) + 20); // the light stripes
    bar->stopAnimation();
    EXPECT_FALSE(bar->isTicking());
    bar->stopAnimation();
    bar->setIndeterminate(false);
    EXPECT_EQ(bar->grab().toImage(), plain);

    // An empty range draws an empty bar.
    bar->setIndeterminate(false);
    bar->setMinValue(50);
    bar->setMaxValue(50);
    bar->setDoubleValue(10);
    EXPECT_EQ(bar->progressBarRect().width(), 0);
    const QImage image = bar->grab().toImage();
    EXPECT_EQ(pixel(image, 10, 12), kField);
}
