// The drop area's animation shows its frames on the button and ticks only while the button shows.
#include <gtest/gtest.h>

#include <QPushButton>
#include <QTest>

#include "core/ResourceImages.h"
#include "screens/Batch/DropAreaAnimator.h"

namespace vantrel {
namespace {

TEST(DropAreaAnimatorTest, FramesWhileVisibleAndNoTimerWhileHidden)
{
    ResourceImages::initResources();
    QWidget window;
    auto* button = new QPushButton(&window);
    auto* ticks = new TickSource(TickSource::Driver::Manual);
    DropAreaAnimator animator(button, ticks);
    window.show();
    EXPECT_TRUE(animator.isRunning());
    EXPECT_EQ(ticks->interval(), 200);

    QStringList frames;
    for (int i = 0; i < 21; ++i) {
        ticks->fire();
        frames << animator.currentImage();
    }
    EXPECT_EQ(frames.first(), "1.png");
    EXPECT_EQ(frames[18], "19.png");
    EXPECT_EQ(frames[19], "19.png"); // the last frame stays for two ticks
    EXPECT_EQ(frames[20], "1.png");
    EXPECT_FALSE(button->icon().isNull());

    button->hide(); // a batch appeared: the drop area goes, and so does its timer
    EXPECT_FALSE(animator.isRunning());
    EXPECT_FALSE(ticks->fire());
    button->show();
    EXPECT_TRUE(animator.isRunning());
    ticks->fire();
    EXPECT_EQ(animator.currentImage(), "1.png");

    // A drop area deleted under the pointer: its filter still sees the leave event the button gets
    // while being destroyed, and must not treat it as a button any more.
    auto* hovered = new QPushButton(&window);
    hovered->setGeometry(0, 0, 50, 50);
    new DropAreaAnimator(hovered, new TickSource(TickSource::Driver::Manual));
    hovered->show();
    QTest::mouseMove(hovered, QPoint(25, 25));
    ASSERT_TRUE(hovered->underMouse());
    delete hovered;
}

} // namespace
} // namespace vantrel
