// The title-bar window's rules as pure functions, and the window that applies them.
#include <QApplication>
#include <QPixmap>
#include <QPointer>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include "components/TitleBar/OvAppStoreWindow.h"
#include "components/TitleBar/OvWindowButton.h"
#include "components/TitleBar/OvWindowButtonGroup.h"
#include "components/TitleBar/TitleBarLayout.h"

namespace vantrel {
namespace {

using namespace TitleBarLayout;

TEST(TitleBarLayoutTest, ContainerContentAndSheetFollowTheBarHeight)
{
    const QRectF frame(0, 0, 1200, 800);
    EXPECT_EQ(containerFrame(frame, 160), QRectF(0, 640, 1200, 160));
    EXPECT_EQ(containerFrame(QRectF(0, 10, 500, 300), 22), QRectF(0, 288, 500, 22));
    EXPECT_EQ(repositionedContent(QRectF(0, 0, 1200, 800), 800, 160), QRectF(0, 0, 1200, 640));
    EXPECT_FALSE(repositionedContent(QRectF(0, 0, 1200, 640), 800, 160));
    EXPECT_EQ(sheetRect(QRectF(300, 0, 460, 180), 800, 160), QRectF(300, 640, 460, 180));
    EXPECT_EQ(flipped(QRectF(0, 640, 1200, 160), 800), QRectF(0, 0, 1200, 160));
}

TEST(TitleBarLayoutTest, TrafficLightsSideBySideOrStacked)
{
    const QRectF bar(0, 640, 1200, 160);
    const QSizeF button(14, 14);
    const struct {
        TrafficLightOptions options;
        QRectF close, minimize, zoom;
    } cases[] = {
        // Centred: one y, the nearest integer to the middle (717.0 for 640 + 80 - 7).
        { { 3, 6, 0, true, false }, { 3, 713, 14, 14 }, { 23, 713, 14, 14 }, { 43, 713, 14, 14 } },
        // The main window's setting: top margin 3, left margin 7: the top edge 3 below the bar's top.
        { { 7, 6, 3, false, false }, { 7, 783, 14, 14 }, { 27, 783, 14, 14 }, { 47, 783, 14, 14 } },
        // Stacked: zoom lowest, each next one height + separation - 2 higher; centred on the bar.
        { { 3, 6, 0, true, true }, { 3, 731, 14, 14 }, { 3, 713, 14, 14 }, { 3, 695, 14, 14 } },
        { { 3, 6, 3, false, true }, { 3, 783, 14, 14 }, { 3, 765, 14, 14 }, { 3, 747, 14, 14 } },
    };
    for (const auto& c : cases) {
        const TrafficLightFrames f = trafficLights(bar, button, button, button, c.options);
        EXPECT_EQ(f.close, c.close);
        EXPECT_EQ(f.minimize, c.minimize);
        EXPECT_EQ(f.zoom, c.zoom);
    }
    // Halves round away from zero: a 15-high button in a 22-high bar at 0 is at 3.5 -> 4.
    EXPECT_EQ(trafficLights(QRectF(0, 0, 100, 22), { 15, 15 }, { 15, 15 }, { 15, 15 }, {}).close.y(), 4);
}

TEST(TitleBarLayoutTest, FullScreenButtonKeepsItsXUntilAMarginIsSet)
{
    const QRectF bar(0, 640, 1200, 160);
    FullScreenButtonOptions implicit;
    EXPECT_EQ(fullScreenButton(bar, QRectF(1170, 0, 16, 16), implicit), QRectF(1170, 784, 16, 16));
    EXPECT_EQ(implicit.rightMargin, 14);
    FullScreenButtonOptions explicitMargin { 3, true, 0, true };
    EXPECT_EQ(fullScreenButton(bar, QRectF(1170, 0, 16, 16), explicitMargin), QRectF(1181, 712, 16, 16));
}

TEST(TitleBarLayoutTest, TitleDragAndResizeRules)
{
    EXPECT_EQ(titleFrame(QRectF(0, 0, 400, 22), { 100, 16 }, false), QRectF(150, 4, 100, 16));
    EXPECT_EQ(titleFrame(QRectF(0, 0, 400, 23), { 100, 16 }, true), QRectF(150, 3, 100, 16));

    const QRectF screen(0, 0, 1920, 1080);
    EXPECT_EQ(draggedWindowOrigin({ 50, 20 }, { 650, 420 }, screen), QPointF(600, 400));
    EXPECT_EQ(draggedWindowOrigin({ 50, 20 }, { 650, 5 }, screen), QPointF(600, 0)); // top clamped
    EXPECT_EQ(draggedWindowOrigin({ 50, 20 }, { 650, 40 }, QRectF(0, 30, 1920, 1050)), QPointF(600, 30));

    const QSizeF window(1200, 800);
    const struct {
        QPointF point;
        int edges;
    } hits[] = { { { 2, 2 }, kTopEdge | kLeftEdge }, { { 600, 1 }, kTopEdge }, { { 1198, 400 }, kRightEdge },
        { { 1199, 799 }, kBottomEdge | kRightEdge }, { { 0, 799 }, kBottomEdge | kLeftEdge }, { { 600, 400 }, 0 },
        { { 5, 5 }, 0 }, { { 1200, 400 }, 0 } };
    for (const auto& h : hits)
        EXPECT_EQ(resizeEdgesAt(h.point, window, 5), h.edges) << h.point.x() << "," << h.point.y();

    const QRectF start(100, 100, 1200, 800);
    EXPECT_EQ(resizedGeometry(start, kRightEdge | kBottomEdge, { 50, -30 }, { 900, 600 }), QRectF(100, 100, 1250, 770));
    EXPECT_EQ(resizedGeometry(start, kLeftEdge | kTopEdge, { 500, 500 }, { 900, 600 }), QRectF(400, 300, 900, 600));
    EXPECT_EQ(resizedGeometry(start, kTopEdge, { 0, -50 }, { 900, 600 }), QRectF(100, 50, 1200, 850));
}

// A moved window's top comes down to the top of the highest screen under it; beside a taller
// screen, or on a lower screen below another, it may stand higher.
TEST(TitleBarLayoutTest, AWindowTopAboveTheScreensUnderItComesDown)
{
    const QRectF left(0, 0, 1920, 1080);
    const QRectF rightLower(1920, 200, 1280, 1024);
    const QRectF below(0, 1080, 1920, 1080);
    const struct {
        QRectF frame;
        QList<QRectF> screens;
        std::optional<double> top;
    } rows[] = {
        { { 100, -300, 1200, 800 }, { left }, 0.0 }, { { 100, 0, 1200, 800 }, { left }, std::nullopt },
        { { 100, 50, 1200, 800 }, { left }, std::nullopt },
        { { 2000, 100, 1000, 800 }, { left, rightLower }, 200.0 }, // only the lower screen under it
        { { 1500, 100, 1000, 800 }, { left, rightLower }, std::nullopt }, // partly over the taller one
        { { 100, 1000, 1200, 800 }, { left, below }, std::nullopt }, // crossing onto the upper screen
        { { -5000, -50, 1200, 800 }, { left }, std::nullopt }, // over no screen
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.frame.x());
        EXPECT_EQ(clampedWindowTop(row.frame, row.screens), row.top);
    }
}

TEST(TitleBarLayoutTest, WindowButtonImageRuleAndSharedGroups)
{
    using Image = OvWindowButton::Image;
    const struct {
        bool enabled, key, rollover, pressed;
        Image image;
    } cases[] = { { true, true, false, false, Image::Active }, { true, false, false, false, Image::ActiveNotKeyWindow },
        { false, true, false, false, Image::Inactive }, { false, true, true, true, Image::Inactive },
        { true, false, true, false, Image::Rollover }, { true, true, true, true, Image::Pressed } };
    for (const auto& c : cases)
        EXPECT_EQ(OvWindowButton::imageFor(c.enabled, c.key, c.rollover, c.pressed), c.image);

    OvWindowButtonGroup* a = OvWindowButtonGroup::groupWithIdentifier("test.group");
    EXPECT_EQ(a, OvWindowButtonGroup::groupWithIdentifier("test.group"));
    EXPECT_EQ(OvWindowButtonGroup::groupWithIdentifier(""),
        OvWindowButtonGroup::groupWithIdentifier(OvWindowButtonGroup::kDefaultIdentifier));
}

// The group's capture count never moves: the pointer entering and leaving its buttons shows no
// rollover image, and the group never tells its buttons to look again.
TEST(TitleBarLayoutTest, PointerOverWindowButtonsNeverShowsTheirRollover)
{
    QWidget window;
    window.resize(200, 60);
    const auto filled = [](Qt::GlobalColor colour) {
        QPixmap pixmap(14, 14);
        pixmap.fill(colour);
        return pixmap;
    };
    OvWindowButton* buttons[2];
    for (int i = 0; i < 2; ++i) {
        buttons[i] = OvWindowButton::windowButtonWithSize(QSize(14, 14), "test.rollover", &window);
        buttons[i]->move(20 + 40 * i, 20);
        buttons[i]->setActiveImage(filled(Qt::red));
        buttons[i]->setActiveNotKeyWindowImage(filled(Qt::red));
        buttons[i]->setRolloverImage(filled(Qt::green));
    }
    OvWindowButtonGroup* group = buttons[0]->group();
    QSignalSpy told(group, &OvWindowButtonGroup::rolloverStateChanged);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));

    // Over the first, across to the second, back over the first, then away from both.
    const struct {
        QPoint at;
        int under; // the button the pointer is over, -1 none
    } path[] = { { { 27, 27 }, 0 }, { { 67, 27 }, 1 }, { { 27, 27 }, 0 }, { { 150, 50 }, -1 } };
    for (const auto& step : path) {
        SCOPED_TRACE(step.at.x());
        QTest::mouseMove(window.windowHandle(), step.at);
        QApplication::processEvents();
        for (int i = 0; i < 2; ++i)
            ASSERT_EQ(buttons[i]->underMouse(), i == step.under) << "the pointer did not enter or leave button " << i;
        EXPECT_EQ(group->numberOfCaptures(), 0);
        EXPECT_FALSE(group->shouldDisplayRollOver());
        for (OvWindowButton* button : buttons) {
            EXPECT_NE(button->shownImage(), OvWindowButton::Image::Rollover);
            EXPECT_EQ(button->grab().toImage().pixelColor(7, 7), QColor(Qt::red));
        }
    }
    EXPECT_EQ(told.count(), 0);
}

TEST(TitleBarLayoutTest, TheWindowPlacesBarContentAndSheetsBelowAHighBar)
{
    OvAppStoreWindow window;
    auto* content = new QWidget;
    window.setContentView(content);
    window.resize(1200, 800);
    window.setTitleBarHeight(160);
    window.setCenterTrafficLightButtons(false);
    window.setTrafficLightButtonsTopMargin(3);
    window.setTrafficLightButtonsLeftMargin(7);
    EXPECT_EQ(window.titleBarContainer()->geometry(), QRect(0, 0, 1200, 160));
    EXPECT_EQ(content->geometry(), QRect(0, 160, 1200, 640));
    EXPECT_EQ(window.property(OvAppStoreWindow::kSheetTopProperty).toInt(), 160);
    EXPECT_EQ(window.closeButton()->geometry(), QRect(7, 3, 14, 14));
    EXPECT_EQ(window.minimizeButton()->geometry(), QRect(27, 3, 14, 14));

    window.show(); // a hidden window gets its resize events only when shown
    window.resize(900, 600);
    QApplication::processEvents();
    EXPECT_EQ(content->geometry(), QRect(0, 160, 900, 440));
    EXPECT_EQ(window.titleBarView()->geometry(), QRect(0, 0, 900, 160));

    QWidget* view = window.titleBarView();
    window.setTitleBarView(nullptr);
    window.setTitleBarView(view);
    EXPECT_EQ(window.titleBarView(), view);
    EXPECT_EQ(view->parentWidget(), window.titleBarContainer());

    // The window's own view goes when replaced; a view the caller gave is removed, never deleted.
    QPointer<QWidget> own = view;
    QWidget given;
    window.setTitleBarView(&given);
    EXPECT_TRUE(own.isNull());
    QWidget next;
    window.setTitleBarView(&next);
    EXPECT_EQ(given.parentWidget(), nullptr);
    EXPECT_EQ(window.titleBarView(), &next);

    struct Lower : OvAppStoreWindowDelegate {
        std::optional<QRectF> willPositionSheet(OvAppStoreWindow*, const QRectF& r) override
        {
            return QRectF(r.x(), 100, r.width(), r.height());
        }
    } lower;
    window.setDelegate(&lower);
    EXPECT_EQ(window.sheetTop(), 500);
}

} // namespace
} // namespace vantrel
