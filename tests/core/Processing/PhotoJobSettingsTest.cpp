#include <gtest/gtest.h>

#include "core/DataBeans/OutputOptionSettings.h"
#include "core/DataBeans/ResizingOptionsSettingObject.h"
#include "core/Processing/PhotoJobSettings.h"

namespace vantrel {
namespace {

TEST(PhotoJobSettingsTest, CopiesTheRecordsAndReadsANilSizeAsNoFlags)
{
    ResizingOptionsSettingObject resize;
    resize.rotationType = 3;
    resize.isVerticalFlip = true;
    resize.sizeObject->isPercentSize = true;
    resize.sizeObject->perWidth = 25;
    OutputOptionSettings output;
    output.compressionRatio = 40;
    output.prefixString = QStringLiteral("p_");
    const PhotoJobSettings settings = PhotoJobSettings::from(resize, output, QStringLiteral("jpeg"));
    EXPECT_EQ(settings.rotationType, 3);
    EXPECT_TRUE(settings.isVerticalFlip);
    EXPECT_TRUE(settings.isPercentSize);
    EXPECT_EQ(settings.perWidth, 25);
    EXPECT_EQ(settings.compressionRatio, 40);
    EXPECT_EQ(settings.prefixString, QStringLiteral("p_"));
    EXPECT_EQ(settings.ouptputFolder, output.ouptputFolder);
    EXPECT_EQ(settings.rawConvertFormat, QStringLiteral("jpeg"));

    resize.sizeObject.reset();
    const PhotoJobSettings nil = PhotoJobSettings::from(resize, output, QStringLiteral("png"));
    EXPECT_FALSE(nil.isKeepOriginalSize);
    EXPECT_FALSE(nil.isPercentSize);
}

} // namespace
} // namespace vantrel
