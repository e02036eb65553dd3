#include <vector>

#include <QPoint>
#include <QSize>

#include <gtest/gtest.h>

#include "core/Processing/PixelTransform.h"

namespace vantrel {
namespace {

TEST(PixelTransformTest, ViewerCorrectionShowsEachOrientationUpright)
{
    // Stored pixels of 3 x 2 that hold their own coordinates. For each EXIF orientation, the
    // stored pixels a viewer shows at the top-left and next to it: the tag says where the stored
    // first row and first column lie on screen.
    struct Row {
        int orientation;
        QSize shown;
        QPoint topLeft;
        QPoint nextRight;
    };
    const Row rows[] = {
        { 1, { 3, 2 }, { 0, 0 }, { 1, 0 } }, // first row at the top, first column on the left
        { 2, { 3, 2 }, { 2, 0 }, { 1, 0 } }, // first column on the right
        { 3, { 3, 2 }, { 2, 1 }, { 1, 1 } }, // first row at the bottom, first column on the right
        { 4, { 3, 2 }, { 0, 1 }, { 1, 1 } }, // first row at the bottom
        { 5, { 2, 3 }, { 0, 0 }, { 0, 1 } }, // first row on the left, first column at the top
        { 6, { 2, 3 }, { 0, 1 }, { 0, 0 } }, // first row on the right, first column at the top
        { 7, { 2, 3 }, { 2, 1 }, { 2, 0 } }, // first row on the right, first column at the bottom
        { 8, { 2, 3 }, { 2, 0 }, { 2, 1 } }, // first row on the left, first column at the bottom
        { 0, { 3, 2 }, { 0, 0 }, { 1, 0 } }, // no tag or an unknown one: as stored
        { 9, { 3, 2 }, { 0, 0 }, { 1, 0 } },
    };
    const Image stored(vips::VImage::xyz(3, 2));
    const auto storedAt = [](const Image& image, int x, int y) {
        const std::vector<double> xy = image.vips().getpoint(x, y);
        return QPoint(int(xy.at(0)), int(xy.at(1)));
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.orientation);
        const PixelTransform correction = PixelTransform::viewerCorrection(row.orientation);
        const Image shown = correction.applyTo(stored);
        ASSERT_EQ(shown.size(), row.shown);
        EXPECT_EQ(storedAt(shown, 0, 0), row.topLeft);
        EXPECT_EQ(storedAt(shown, 1, 0), row.nextRight);
        EXPECT_EQ(correction.swapsSides(), row.shown.width() == 2);
        // The layout puts upright pixels back as they were stored.
        const Image back = PixelTransform::layoutForOrientation(row.orientation).applyTo(shown);
        ASSERT_EQ(back.size(), stored.size());
        EXPECT_EQ(storedAt(back, 0, 0), QPoint(0, 0));
        EXPECT_EQ(storedAt(back, 2, 1), QPoint(2, 1));
    }
}

TEST(PixelTransformTest, DecomposesIntoOneMirrorAndOneTurn)
{
    // Every element rebuilt from its decomposition is itself.
    for (int turns = 0; turns < 4; ++turns) {
        for (bool mirror : { false, true }) {
            PixelTransform t = mirror ? PixelTransform::horizontalFlip() : PixelTransform();
            t = t.then(PixelTransform::quarterTurnsClockwise(turns));
            EXPECT_EQ(t.mirrorsFirst(), mirror);
            EXPECT_EQ(t.clockwiseQuarterTurns(), turns);
        }
    }
    // Two flips are a half turn; four quarter turns are nothing.
    EXPECT_EQ(PixelTransform::horizontalFlip().then(PixelTransform::verticalFlip()),
        PixelTransform::quarterTurnsClockwise(2));
    EXPECT_TRUE(PixelTransform::quarterTurnsClockwise(1).then(PixelTransform::quarterTurnsClockwise(3)).isIdentity());
    EXPECT_EQ(PixelTransform::quarterTurnsClockwise(-1), PixelTransform::quarterTurnsClockwise(3));
}

} // namespace
} // namespace vantrel
