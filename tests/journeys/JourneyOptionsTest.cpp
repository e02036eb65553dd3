// Journeys through the option steps: the size, rotation and flip choices, what Back and Next do
// to them, and what the run makes of them.
#include <QDir>
#include <QWidget>

#include <gtest/gtest.h>

#include "JourneyDriver.h"
#include "JourneyFiles.h"
#include "JourneyGestures.h"
#include "JourneyStart.h"
#include "JourneySteps.h"
#include "support/TestImages.h"

namespace vantrel::journeys {
namespace {

TEST(Journey, SizeRotationAndFlipChoicesSurviveBackAndNext)
{
    JourneyStart start;
    ASSERT_TRUE(start.launchWithPhotos());
    ASSERT_TRUE(goToStep("Next", "Resizing"));
    QWidget* resize = pane("Resize");
    ASSERT_TRUE(resize);

    // Custom pixels with the aspect lock: the reference is the last photo (120 x 160 as shown).
    ASSERT_TRUE(clickControl("Custom size", resize));
    EXPECT_TRUE(isChecked("Custom size", resize));
    if (!isChecked("Keep aspect ratio", resize)) {
        ASSERT_TRUE(clickControl("Keep aspect ratio", resize));
    }
    EXPECT_TRUE(isChecked("Keep aspect ratio", resize)) << "the aspect lock does not show as on";
    ASSERT_TRUE(typeInto("Custom width", "60", resize));
    EXPECT_EQ(controlText("Custom height", resize), "80") << "height after width 60 with the lock";
    ASSERT_TRUE(typeInto("Custom height", "40", resize));
    EXPECT_EQ(controlText("Custom width", resize), "30") << "width after height 40 with the lock";
    ASSERT_TRUE(clickControl("Custom width up", resize));
    EXPECT_EQ(controlText("Custom width", resize), "31") << "the width stepper";

    // A percentage.
    ASSERT_TRUE(clickControl("Percent size", resize));
    EXPECT_TRUE(isChecked("Percent size", resize));
    EXPECT_FALSE(isChecked("Custom size", resize));
    ASSERT_TRUE(typeInto("Percent width", "50", resize));
    EXPECT_EQ(controlText("Percent width", resize), "50");

    // A preset, chosen from its popup list.
    ASSERT_TRUE(clickControl("Predefined size", resize));
    ASSERT_TRUE(clickControl("Choose preset", resize));
    ASSERT_TRUE(waitFor([] { return visibleControls("Options").size() == 1; }, 5000)) << "no preset list came up";
    ASSERT_TRUE(clickItem("Options", "iPad Mini/Air - 1536 X 2048"));
    EXPECT_TRUE(waitFor([] { return visibleControls("Options").isEmpty(); }, 5000)) << "the preset list stayed up";
    EXPECT_TRUE(controlText("Chosen preset", resize).startsWith("iPad Mini/Air"))
        << controlText("Chosen preset", resize).toStdString();

    // Rotation: a quarter turn, then by the EXIF orientation; a horizontal flip.
    QWidget* rotate = pane("Rotate");
    QWidget* flip = pane("Flip");
    ASSERT_TRUE(rotate && flip);
    ASSERT_TRUE(clickControl("90° clockwise", rotate));
    EXPECT_TRUE(isChecked("90° clockwise", rotate));
    EXPECT_TRUE(control("Reset rotation", rotate)->isEnabled());
    ASSERT_TRUE(clickControl("Auto correct", rotate));
    EXPECT_TRUE(isChecked("Auto correct", rotate));
    EXPECT_FALSE(isChecked("90° clockwise", rotate));
    ASSERT_TRUE(clickControl("Flip horizontal", flip));
    EXPECT_TRUE(isChecked("Flip horizontal", flip));
    EXPECT_FALSE(isChecked("Keep original", flip));

    const auto choicesKept = [&](const char* after) {
        QWidget* resizeNow = pane("Resize");
        QWidget* rotateNow = pane("Rotate");
        QWidget* flipNow = pane("Flip");
        ASSERT_TRUE(resizeNow && rotateNow && flipNow);
        EXPECT_TRUE(isChecked("Predefined size", resizeNow)) << after;
        EXPECT_TRUE(controlText("Chosen preset", resizeNow).startsWith("iPad Mini/Air")) << after;
        EXPECT_TRUE(isChecked("Auto correct", rotateNow)) << after;
        EXPECT_TRUE(isChecked("Flip horizontal", flipNow)) << after;
        EXPECT_FALSE(isChecked("Flip vertical", flipNow)) << after;
    };
    ASSERT_TRUE(goToStep("Next", "Settings"));
    ASSERT_TRUE(goToStep("Back", "Resizing"));
    choicesKept("after Next and Back");
    ASSERT_TRUE(goToStep("Back", "Photos"));
    ASSERT_TRUE(goToStep("Next", "Resizing"));
    choicesKept("after Back to the photos and Next");

    // The run applies the choices kept: the preset's size, and the mirror of each upright photo.
    const QString out = start.out();
    ASSERT_TRUE(QDir().mkpath(out));
    ASSERT_TRUE(goToStep("Next", "Settings"));
    ASSERT_TRUE(convertToPngInto(out));
    ASSERT_TRUE(goToStep("Convert", "Processing"));
    ASSERT_TRUE(waitForSummary());
    using testimages::Corner;
    const std::vector<Corner> mirrored { Corner::TopRight, Corner::TopLeft, Corner::BottomRight, Corner::BottomLeft };
    for (const char* name : { "landscape.png", "portrait.png" }) {
        SCOPED_TRACE(name);
        const vips::VImage image = vips::VImage::new_from_file((out + "/" + name).toUtf8().constData());
        EXPECT_TRUE(testimages::cornersOf(image) == mirrored) << "not flipped horizontally";
        EXPECT_TRUE(
            image.width() <= 1536 && image.height() <= 2048 && (image.width() == 1536 || image.height() == 2048))
            << "not fitted to the iPad Mini/Air preset: " << image.width() << "x" << image.height();
    }
}

} // namespace
} // namespace vantrel::journeys
