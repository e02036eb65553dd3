#include "components/SegmentedControl/UxSegmentedControl.h"

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>

#include <gtest/gtest.h>

#include "components/SegmentedControl/FePathAdditions.h"
#include "components/TickSource.h"

using namespace vantrel;

namespace {

struct Control {
    explicit Control(int segments, int selected = 0, int width = 400)
        : ticks(TickSource::Driver::Manual)
    {
        control.resize(width, 40);
        control.setSegmentCount(segments);
        control.setSelectedSegment(selected, false);
        control.awakeFromNib();
        control.setTickSource(&ticks);
    }
    void mouse(QEvent::Type type, double x)
    {
        QMouseEvent event(type, QPointF(x, 10), control.mapToGlobal(QPointF(x, 10)), Qt::LeftButton,
            type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&control, &event);
    }
    void settle()
    {
        for (int i = 0; i < 500 && ticks.isActive(); ++i)
            ticks.fire();
    }
    TickSource ticks;
    UxSegmentedControl control;
    int activated = -2;
};

} // namespace

TEST(SegmentedControl, ClicksAndDragsChooseASegment)
{
    struct Case {
        const char* name;
        std::vector<double> path; // press, moves..., release at the last point
        int selected;
        double knob;
    };
    // Four segments of 100 on a bar of 400; the knob starts on segment 1 (100..200).
    const Case cases[] = {
        { "click on another segment", { 250 }, 2, 200 },
        { "click on the knob itself", { 150 }, 1, 100 },
        { "drag the knob and snap to the nearest", { 150, 200, 240 }, 2, 200 },
        { "drag the knob less than half a segment", { 150, 170, 190 }, 1, 100 },
        { "drag far beyond the right end", { 150, 900 }, 3, 300 },
        { "drag far beyond the left end", { 150, -900 }, 0, 0 },
        { "drag starting off the knob moves nothing", { 30, 390 }, 0, 0 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Control fixture(4, 1);
        QObject::connect(&fixture.control, &UxSegmentedControl::activated, [&](int s) { fixture.activated = s; });
        ASSERT_EQ(fixture.control.location().x(), 100);
        fixture.mouse(QEvent::MouseButtonPress, c.path.front());
        for (size_t i = 1; i < c.path.size(); ++i) {
            fixture.mouse(QEvent::MouseMove, c.path[i]);
            EXPECT_GE(fixture.control.location().x(), 0);
            EXPECT_LE(fixture.control.location().x(), fixture.control.maximumLocation());
        }
        fixture.mouse(QEvent::MouseButtonRelease, c.path.back());
        fixture.settle();
        EXPECT_EQ(fixture.control.selectedSegment(), c.selected);
        EXPECT_EQ(fixture.activated, c.selected);
        EXPECT_EQ(fixture.control.location().x(), c.knob);
    }
}

TEST(SegmentedControl, AnimationTimesAndEdgeCounts)
{
    using Curve = UxKnobAnimation::Curve;
    struct Case {
        int from, to;
        double duration;
        Curve curve;
    };
    const Case cases[] = {
        { 0, 3, 0.2, Curve::EaseInOut }, // from an end: always the fast time
        { 3, 1, 0.2, Curve::EaseInOut },
        { 1, 3, 200.0 / 300 * 0.35, Curve::Linear }, // from between: in proportion to the distance
        { 2, 1, 100.0 / 300 * 0.35, Curve::Linear },
    };
    for (const Case& c : cases) {
        Control fixture(4, c.from);
        fixture.control.setSelectedSegment(c.to);
        ASSERT_NE(fixture.control.knobAnimation(), nullptr);
        EXPECT_DOUBLE_EQ(fixture.control.knobAnimation()->duration(), c.duration);
        EXPECT_EQ(fixture.control.knobAnimation()->animationCurve(), c.curve);
        fixture.settle();
        EXPECT_EQ(fixture.control.location().x(), c.to * 100);
    }

    Control same(4, 2);
    same.control.setSelectedSegment(2);
    EXPECT_EQ(same.control.knobAnimation(), nullptr); // already selected: nothing happens

    Control none(4, -1);
    EXPECT_EQ(none.control.location().x(), -100); // no selection: the knob waits left of the bar

    Control empty(0, -1);
    empty.mouse(QEvent::MouseButtonPress, 50);
    empty.mouse(QEvent::MouseButtonRelease, 50);
    EXPECT_EQ(empty.control.selectedSegment(), -1);
    // Draws the bar only: the same picture as a control whose knob waits out of sight, and not
    // the picture of one whose knob is in sight; the bar itself is drawn (its middle differs
    // from the transparent corner).
    const QImage bar = empty.control.grab().toImage();
    EXPECT_EQ(bar, none.control.grab().toImage());
    Control shown(4, 2);
    EXPECT_NE(bar, shown.control.grab().toImage());
    EXPECT_NE(bar.pixel(200, 20), bar.pixel(0, 0)) << "the bar is not drawn";

    Control one(1, 0);
    one.mouse(QEvent::MouseButtonPress, 399);
    one.mouse(QEvent::MouseButtonRelease, 399);
    one.settle();
    EXPECT_EQ(one.control.selectedSegment(), 0);
    EXPECT_EQ(one.control.location().x(), 0);

    // A progress step puts the knob at range x progress + start, truncated.
    UxKnobAnimation step(0, 101);
    step.setDelegate(&one.control);
    step.setCurrentProgress(0.5f);
    EXPECT_EQ(one.control.location().x(), 50);
}

TEST(PathAdditions, ElementsRoundTripAndQuadraticsBecomeCubics)
{
    QPainterPath rounded;
    rounded.addRoundedRect(QRectF(2, 3, 40, 20), 3.5, 3.5);
    rounded.moveTo(50, 50);
    rounded.lineTo(60, 50);
    const auto elements = FePathAdditions::cgPath(rounded);
    ASSERT_FALSE(elements.empty());
    EXPECT_EQ(elements.front().kind, FePathElement::Kind::MoveTo);
    EXPECT_EQ(std::count_if(elements.begin(), elements.end(),
                  [](const FePathElement& e) { return e.kind == FePathElement::Kind::CloseSubpath; }),
        1); // the rounded rectangle is closed, the open line is not
    const QPainterPath back = FePathAdditions::bezierPathWithCGPath(elements);
    ASSERT_EQ(back.elementCount(), rounded.elementCount());
    for (int i = 0; i < back.elementCount(); ++i)
        EXPECT_EQ(QPointF(back.elementAt(i)), QPointF(rounded.elementAt(i))) << i;

    const QPainterPath quad = FePathAdditions::bezierPathWithCGPath({
        { FePathElement::Kind::MoveTo, { { 0, 0 } } },
        { FePathElement::Kind::QuadCurveTo, { { 30, 60 }, { 90, 0 } } },
        { FePathElement::Kind::CloseSubpath, {} },
    });
    ASSERT_GE(quad.elementCount(), 4);
    EXPECT_EQ(QPointF(quad.elementAt(1)), QPointF(20, 40)); // (c + 2q) / 3
    EXPECT_EQ(QPointF(quad.elementAt(2)), QPointF(50, 40)); // (e + 2q) / 3
    EXPECT_EQ(QPointF(quad.elementAt(3)), QPointF(90, 0));
}

TEST(PathAdditions, StrokesAndShadowsStayWhereTheyBelong)
{
    QImage image(60, 60, QImage::Format_ARGB32_Premultiplied);
    auto draw = [&](auto&& paint) {
        image.fill(Qt::transparent);
        QPainter painter(&image);
        paint(painter);
    };
    QPainterPath box;
    box.addRect(QRectF(10, 10, 40, 40));

    draw([&](QPainter& painter) {
        painter.setPen(QPen(Qt::red, 2));
        FePathAdditions::strokeInside(painter, box);
    });
    EXPECT_EQ(qAlpha(image.pixel(9, 30)), 0); // nothing outside the path
    EXPECT_EQ(image.pixel(10, 30), qRgb(255, 0, 0)); // the stroke's full width inside
    EXPECT_EQ(image.pixel(11, 30), qRgb(255, 0, 0));
    EXPECT_EQ(qAlpha(image.pixel(13, 30)), 0);

    draw([&](QPainter& painter) {
        painter.setPen(QPen(Qt::red, 2));
        FePathAdditions::strokeInsideWithinRect(painter, box, QRectF(0, 0, 30, 60));
    });
    EXPECT_EQ(qAlpha(image.pixel(49, 11)), 0); // clipped to the rectangle as well

    const FeShadow shadow(Qt::black, QPointF(0, 3), 4);
    EXPECT_EQ(
        FePathAdditions::innerShadowOuterRect(box, shadow), QRectF(6, 3, 48, 54)); // grown by |offset| + blur per axis
    draw([&](QPainter& painter) { FePathAdditions::fillWithInnerShadow(painter, box, shadow); });
    EXPECT_EQ(qAlpha(image.pixel(5, 30)), 0); // outside: untouched
    EXPECT_GT(qAlpha(image.pixel(30, 11)), 100); // dark at the top edge, where the light is offset
    EXPECT_LT(qAlpha(image.pixel(30, 30)), 20); // fading out towards the middle

    draw([&](QPainter& painter) { FePathAdditions::drawBlurWithColor(painter, box, Qt::blue, 5); });
    EXPECT_EQ(qAlpha(image.pixel(2, 30)), 0); // beyond the grown bounds
    EXPECT_GT(qAlpha(image.pixel(7, 30)), 0); // the blur reaches past the edge
    EXPECT_GT(qAlpha(image.pixel(30, 30)), 200);
}

TEST(FePathAdditions, PathWithStrokeWidthGivesNothing)
{
    QPainterPath rounded;
    rounded.addRoundedRect(QRectF(0, 0, 40, 20), 5, 5);
    for (const QPainterPath& path : { QPainterPath(), rounded })
        for (double width : { 0.0, 1.0, 3.5 })
            EXPECT_FALSE(FePathAdditions::pathWithStrokeWidth(path, width).has_value());
}
