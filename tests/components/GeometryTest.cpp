#include "components/Geometry.h"
#include "components/NamedImagePainter.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

using vantrel::Geometry;
using vantrel::NamedImagePainter;

TEST(Geometry, PointInsideIncludesMinEdgesOnly)
{
    const QRectF r(10, 20, 30, 40); // x in [10, 40), y in [20, 60)
    struct Case {
        QPointF point;
        bool inside;
        bool insideFlipped;
    };
    const Case cases[] = {
        { { 10, 20 }, true, false }, // min corner
        { { 39.99, 59.99 }, true, true },
        { { 40, 30 }, false, false }, // max x edge
        { { 20, 60 }, false, true }, // max y edge: inside only when flipped
        { { 9.99, 30 }, false, false },
        { { 25, 40 }, true, true },
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Geometry::pointInRect(c.point, r), c.inside) << c.point.x() << "," << c.point.y();
        EXPECT_EQ(Geometry::mouseInRect(c.point, r, true), c.insideFlipped) << c.point.x() << "," << c.point.y();
    }
    for (const QRectF& empty : { QRectF(0, 0, 0, 10), QRectF(0, 0, 10, -1), Geometry::nullRect() })
        EXPECT_FALSE(Geometry::pointInRect({ 0, 0 }, empty));
}

TEST(Geometry, UnionAndIntersectionIgnoreEmptyRects)
{
    const QRectF a(0, 0, 10, 10);
    const QRectF b(5, 5, 10, 10);
    const QRectF flat(100, 100, 0, 50);
    const QRectF null = Geometry::nullRect();
    struct Case {
        QRectF x, y, unionRect, intersection;
    };
    const Case cases[] = {
        { a, b, { 0, 0, 15, 15 }, { 5, 5, 5, 5 } },
        { a, flat, a, {} }, // a flat rect adds nothing to a union
        { flat, b, b, {} },
        { null, a, a, {} },
        { flat, null, {}, {} }, // two empty rects: the zero rect
        { a, { 10, 0, 5, 5 }, { 0, 0, 15, 10 }, {} }, // touching edges share no area
        { a, { -5, -5, 30, 30 }, { -5, -5, 30, 30 }, a },
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Geometry::unionRect(c.x, c.y), c.unionRect);
        EXPECT_EQ(Geometry::unionRect(c.y, c.x), c.unionRect);
        EXPECT_EQ(Geometry::intersectionRect(c.x, c.y), c.intersection);
        EXPECT_EQ(Geometry::intersectsRect(c.x, c.y), !Geometry::isEmptyRect(c.intersection));
    }
}

TEST(Geometry, NullZeroAndEmptyAreDistinct)
{
    EXPECT_TRUE(Geometry::isNullRect(Geometry::nullRect()));
    EXPECT_FALSE(Geometry::isNullRect(Geometry::zeroRect()));
    EXPECT_TRUE(Geometry::isZeroRect(Geometry::zeroRect()));
    EXPECT_FALSE(Geometry::isZeroRect(Geometry::nullRect()));
    EXPECT_TRUE(Geometry::isEmptyRect(Geometry::nullRect()));
    EXPECT_TRUE(Geometry::isEmptyRect(Geometry::zeroRect()));
    EXPECT_TRUE(Geometry::isEmptyRect({ 3, 3, 5, 0 }));
    EXPECT_FALSE(Geometry::isEmptyRect({ 3, 3, 5, 1 }));
    // Moving or flipping "no rect" still gives no rect.
    EXPECT_TRUE(Geometry::isNullRect(Geometry::offsetRect(Geometry::nullRect(), 5, 5)));
    EXPECT_TRUE(Geometry::isNullRect(Geometry::flipY(Geometry::nullRect(), 100)));
}

TEST(Geometry, InsetIntegralContainAndFlip)
{
    EXPECT_EQ(Geometry::insetRect({ 0, 0, 20, 10 }, 2, 3), QRectF(2, 3, 16, 4));
    EXPECT_EQ(Geometry::insetRect({ 0, 0, 20, 10 }, -1, -1), QRectF(-1, -1, 22, 12));
    EXPECT_EQ(Geometry::insetRect({ 0, 0, 20, 10 }, 11, 0), Geometry::zeroRect());
    EXPECT_EQ(Geometry::integralRect({ 0.5, 1.2, 2.0, 2.9 }), QRectF(0, 1, 3, 4));
    EXPECT_EQ(Geometry::integralRect({ 0.5, 1.2, 0, 2.9 }), Geometry::zeroRect());
    EXPECT_TRUE(Geometry::containsRect({ 0, 0, 10, 10 }, { 0, 0, 10, 10 }));
    EXPECT_FALSE(Geometry::containsRect({ 0, 0, 10, 10 }, { 1, 1, 10, 1 }));
    EXPECT_FALSE(Geometry::containsRect({ 0, 0, 10, 10 }, { 1, 1, 0, 1 }));

    // A y-up rect at the bottom of a 100-high container is at the bottom of the y-down one.
    const QRectF upBottom(5, 0, 10, 20);
    EXPECT_EQ(Geometry::flipY(upBottom, 100), QRectF(5, 80, 10, 20));
    EXPECT_EQ(Geometry::flipY(Geometry::flipY(upBottom, 100), 100), upBottom);
    EXPECT_EQ(Geometry::flipY(QPointF(3, 10), 100), QPointF(3, 90));
    EXPECT_EQ(Geometry::centeredRect({ 4, 2 }, { 0, 0, 10, 10 }), QRectF(3, 4, 4, 2));
}

TEST(NamedImagePainter, ThreePartRectsKeepCapsAndShareWhenShort)
{
    using O = NamedImagePainter::Orientation;
    struct Case {
        QRectF rect;
        qreal start, end;
        O orientation;
        std::array<QRectF, 3> expected;
    };
    const Case cases[] = {
        { { 0, 0, 100, 10 }, 5, 15, O::Horizontal,
            { QRectF(0, 0, 5, 10), QRectF(5, 0, 80, 10), QRectF(85, 0, 15, 10) } },
        { { 0, 0, 10, 100 }, 5, 15, O::Vertical, { QRectF(0, 0, 10, 5), QRectF(0, 5, 10, 80), QRectF(0, 85, 10, 15) } },
        // Caps longer than the strip share it in proportion; the fill vanishes.
        { { 10, 0, 10, 4 }, 10, 30, O::Horizontal,
            { QRectF(10, 0, 2.5, 4), QRectF(12.5, 0, 0, 4), QRectF(12.5, 0, 7.5, 4) } },
        { { 0, 0, 0, 4 }, 3, 3, O::Horizontal, { QRectF(0, 0, 0, 4), QRectF(0, 0, 0, 4), QRectF(0, 0, 0, 4) } },
    };
    for (const auto& c : cases)
        EXPECT_EQ(NamedImagePainter::threePartRects(c.rect, c.start, c.end, c.orientation), c.expected);
}

TEST(NamedImagePainter, MissingNamesDrawNothing)
{
    QImage canvas(40, 40, QImage::Format_ARGB32_Premultiplied);
    canvas.fill(Qt::transparent);
    QPainter painter(&canvas);
    EXPECT_FALSE(NamedImagePainter::drawWhole(painter, "no_such_image", canvas.rect()));
    NamedImagePainter::drawThreePart(painter, canvas.rect(), "none1", "none2", "none3");
    NamedImagePainter::drawNinePart(painter, canvas.rect(), { "a", "b", "c", "d", "e", "f", "g", "h", "i" });
    const QImage untouched = canvas.copy();
    EXPECT_TRUE(NamedImagePainter::drawWhole(painter, "close-normal", canvas.rect()));
    painter.end();
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 40; ++x)
            ASSERT_EQ(qAlpha(untouched.pixel(x, y)), 0);
    EXPECT_NE(canvas, untouched);
}
