#include "components/ProgressIndicatorModel.h"

#include <cmath>
#include <limits>

#include <gtest/gtest.h>

using namespace vantrel;

TEST(ProgressIndicatorModel, BarRectForValuesAndRanges)
{
    struct Case {
        double value, min, max;
        bool indeterminate;
        double width;
    };
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    // View 200 x 20: the bar is (1, 2, rnd(f x 200), 17).
    const std::pair<Case, double> cases[] = {
        { { 0, 0, 100, false, 200 }, 0 },
        { { 50, 0, 100, false, 200 }, 100 },
        { { 100, 0, 100, false, 200 }, 200 },
        { { 33.3, 0, 100, false, 200 }, 67 }, // 66.6 rounds to 67
        { { 0.25, 0, 100, false, 200 }, 1 }, // 0.5 rounds away from zero
        { { 150, 0, 100, false, 200 }, 300 }, // not clamped: the clip cuts it
        { { -10, 0, 100, false, 200 }, -20 },
        { { 15, 10, 20, false, 200 }, 100 },
        { { 0, 0, 100, true, 200 }, 200 }, // indeterminate spans the view
        { { 50, 100, 100, false, 200 }, 0 }, // empty range: empty bar
        { { 50, 100, 0, false, 200 }, 0 },
        { { nan, 0, 100, false, 200 }, 0 },
        { { inf, 0, 100, false, 200 }, 0 },
    };
    for (const auto& [c, expectedWidth] : cases) {
        const QRectF bar = ProgressIndicatorModel::progressBarRect(c.value, c.min, c.max, c.indeterminate, c.width, 20);
        EXPECT_EQ(bar, QRectF(1, 2, expectedWidth, 17)) << c.value << " in " << c.min << ".." << c.max;
    }
    // At 100 % the bar is W wide from x = 1; the clip ends at W - 1.
    EXPECT_EQ(ProgressIndicatorModel::clipRect(200, 20), QRectF(1, 2, 198, 17));
    EXPECT_EQ(ProgressIndicatorModel::leadingEdgeRect(QRectF(1, 2, 100, 17)), QRectF(101, 2, 1, 17));
}

TEST(ProgressIndicatorModel, GrowsOver300MsAndFallsAtOnce)
{
    ProgressIndicatorModel model;
    EXPECT_FALSE(model.needsTicks());

    EXPECT_FALSE(model.setDoubleValue(60, 1000)); // grows: nothing changes yet
    EXPECT_TRUE(model.needsTicks());
    EXPECT_EQ(model.doubleValue(), 60);
    EXPECT_EQ(model.internalDoubleValue(), 0);
    EXPECT_TRUE(model.advance(1150));
    EXPECT_DOUBLE_EQ(model.internalDoubleValue(), 30);
    EXPECT_FALSE(model.advance(1150));
    // A further rise grows from where the bar stands now.
    model.setDoubleValue(90, 1150);
    EXPECT_TRUE(model.advance(1300));
    EXPECT_DOUBLE_EQ(model.internalDoubleValue(), 60);
    EXPECT_TRUE(model.advance(1450));
    EXPECT_EQ(model.internalDoubleValue(), 90);
    EXPECT_FALSE(model.needsTicks()); // idle: nothing more to draw
    EXPECT_FALSE(model.advance(5000));

    // A fall is drawn at once and ends a growth in progress.
    model.setDoubleValue(95, 2000);
    model.advance(2100);
    EXPECT_TRUE(model.setDoubleValue(10, 2100));
    EXPECT_EQ(model.internalDoubleValue(), 10);
    EXPECT_FALSE(model.needsTicks());
    EXPECT_FALSE(model.advance(2200));
    EXPECT_EQ(model.internalDoubleValue(), 10);

    // Indeterminate: a rise is drawn at once too; an equal value changes nothing.
    model.setIndeterminate(true);
    EXPECT_TRUE(model.setDoubleValue(70, 3000));
    EXPECT_EQ(model.internalDoubleValue(), 70);
    EXPECT_FALSE(model.setDoubleValue(70, 3000));
    EXPECT_FALSE(model.needsTicks());
}

TEST(ProgressIndicatorModel, DecorationCycleAndShapes)
{
    ProgressIndicatorModel model;
    EXPECT_FALSE(model.stopAnimation()); // idle: nothing to stop
    EXPECT_TRUE(model.startAnimation());
    EXPECT_FALSE(model.startAnimation()); // one driver only
    EXPECT_TRUE(model.needsTicks());
    int seen[3] = {};
    for (int i = 0; i < 35; ++i) {
        model.stepAnimation();
        if (i < 3)
            seen[i] = model.currentAnimationStep();
    }
    EXPECT_EQ(seen[0], 1);
    EXPECT_EQ(seen[2], 3);
    EXPECT_EQ(model.currentAnimationStep(), 1); // 34 wraps to 1
    EXPECT_TRUE(model.stopAnimation());
    EXPECT_FALSE(model.needsTicks());

    const std::pair<double, int> counts[] = { { 0, 2 }, { 16, 2 }, { 17, 3 }, { 100, 5 }, { 198, 8 }, { -1e300, 0 } };
    for (const auto& [width, n] : counts)
        EXPECT_EQ(ProgressIndicatorModel::decorationCount(width), n) << width;

    EXPECT_EQ(ProgressIndicatorModel::glowOval(0, 1), QRectF(-1, 3, 34, 15));
    EXPECT_EQ(ProgressIndicatorModel::glowOval(2, 5), QRectF(59, 3, 34, 15));
    const QPolygonF stripe = ProgressIndicatorModel::stripe(1, 2, 20);
    ASSERT_EQ(stripe.size(), 5);
    EXPECT_EQ(stripe.at(0), QPointF(25, 20));
    EXPECT_EQ(stripe.at(2), QPointF(39, 0)); // foot at x - 13 ... x + 4 with x = 35
    EXPECT_EQ(stripe.at(3), QPointF(22, 0));
    EXPECT_EQ(stripe.at(4), QPointF(5, 20));
}
