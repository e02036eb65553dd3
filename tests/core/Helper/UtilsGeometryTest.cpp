#include "core/Helper/Utils.h"

#include <cmath>
#include <limits>

#include <gtest/gtest.h>

using vantrel::Utils;

namespace {

const Utils& utils()
{
    return Utils::sharedUtils();
}

/// The single-precision result of (a / b) * c, widened: what the aspect arithmetic must return.
double f32(float a, float b, float c)
{
    const float k = a / b;
    return static_cast<double>(c * k);
}

} // namespace

TEST(UtilsGeometry, AspectFitIntoBox)
{
    struct Case {
        QSizeF size;
        QSizeF box;
        QSizeF expected;
    };
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const Case cases[] = {
        { { 4000, 3000 }, { 800, 800 }, { 800, 600 } },
        { { 3000, 4000 }, { 800, 800 }, { 600, 800 } },
        { { 400, 300 }, { 800, 800 }, { 800, 600 } }, // enlarged
        { { 500, 500 }, { 800, 600 }, { 600, 600 } },
        { { 4000, 1000 }, { 800, 100 }, { 400, 100 } }, // width fit first, then the height fit
        { { 0, 300 }, { 800, 800 }, { 0, 0 } },
        { { 400, 0 }, { 800, 800 }, { 0, 0 } },
        { { -400, 300 }, { 800, 800 }, { 0, 0 } },
        { { 400, 300 }, { 0, 800 }, { 0, 0 } },
        { { nan, 300 }, { 800, 800 }, { 0, 0 } },
        { { 1e300, 300 }, { 800, 800 }, { 0, 0 } },
    };
    for (const Case& c : cases)
        EXPECT_EQ(utils().getAspectFitModeSizeWithsize(c.size, c.box), c.expected)
            << c.size.width() << "x" << c.size.height();
}

TEST(UtilsGeometry, AspectFitToWidthAndHeightInSinglePrecision)
{
    // 7 * (10 / 3) differs between single and double precision.
    EXPECT_EQ(utils().aspectFitSizeWithMaxSize({ 3, 7 }, 10), QSizeF(f32(10, 3, 3), f32(10, 3, 7)));
    EXPECT_NE(utils().aspectFitSizeWithMaxSize({ 3, 7 }, 10).height(), 7.0 * (10.0 / 3.0));
    EXPECT_EQ(utils().aspectFitSizeWithMaxHeight({ 7, 3 }, 10), QSizeF(f32(10, 3, 7), f32(10, 3, 3)));
    EXPECT_EQ(
        utils().aspectFitSizeWithMaxSize({ 4000, 3000 }, 404), QSizeF(f32(404, 4000, 4000), f32(404, 4000, 3000)));
    EXPECT_EQ(
        utils().aspectFitSizeWithMaxHeight({ 3000, 4000 }, 414), QSizeF(f32(414, 4000, 3000), f32(414, 4000, 4000)));

    for (const QSizeF bad : { QSizeF(0, 0), QSizeF(0, 10), QSizeF(10, -1), QSizeF(-3, -3) }) {
        EXPECT_EQ(utils().aspectFitSizeWithMaxSize(bad, 404), QSizeF(0, 0));
        EXPECT_EQ(utils().aspectFitSizeWithMaxHeight(bad, 414), QSizeF(0, 0));
    }
    EXPECT_EQ(utils().aspectFitSizeWithMaxSize({ 400, 300 }, std::nan("")), QSizeF(0, 0));
}

TEST(UtilsGeometry, RectanglesAndVectors)
{
    EXPECT_EQ(Utils::centerRect({ 0, 0, 10, 20 }, { 100, 100, 50, 60 }), QRectF(120, 120, 10, 20));
    const QRectF rect(1, 2, 3, 4);
    EXPECT_EQ(Utils::cgRectWithCiVector(Utils::ciVectorWithCGRect(rect)), rect);
    EXPECT_EQ(Utils::cgPointWithCiVector({ 5, 6, 7, 8 }), QPointF(5, 6));
    EXPECT_EQ(Utils::cgRectWithCiVector({ 5 }), QRectF(5, 0, 0, 0));
}
