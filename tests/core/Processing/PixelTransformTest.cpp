#include <gtest/gtest.h>

#include "core/Processing/PixelTransform.h"

namespace vantrel {
namespace {

TEST(PixelTransformTest, LayoutUndoesTheViewerCorrection)
{
    for (int orientation = 0; orientation <= 9; ++orientation) {
        const PixelTransform layout = PixelTransform::layoutForOrientation(orientation);
        EXPECT_TRUE(layout.then(PixelTransform::viewerCorrection(orientation)).isIdentity()) << orientation;
        EXPECT_EQ(layout.swapsSides(), orientation >= 5 && orientation <= 8) << orientation;
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
