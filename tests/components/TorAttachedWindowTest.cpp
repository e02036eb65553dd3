#include "components/TorAttachedWindow.h"

#include <cmath>
#include <functional>
#include <memory>

#include <QGuiApplication>
#include <QScreen>

#include <gtest/gtest.h>

using namespace vantrel;
using G = TorAttachedWindowGeometry;

namespace {

const QSizeF kView(100, 50);

// The arrow's three points (base, tip, base) of an outline, found around its tip.
std::vector<QPointF> arrowAround(const std::vector<TorOutlineStep>& steps, const QPointF& tip)
{
    for (size_t k = 1; k + 1 < steps.size(); ++k) {
        if (steps[k].to == tip)
            return { steps[k - 1].to, steps[k].to, steps[k + 1].to };
    }
    return {};
}

} // namespace

TEST(TorAttachedWindowGeometry, OriginSizeAndArrowForEverySide)
{
    const TorAttachedMetrics metrics; // margin 2, base 20, height 16, radius 8: inset 18
    ASSERT_EQ(G::arrowInset(metrics), 18);
    const QPointF point(200, 300);
    struct Case {
        int side;
        QRectF frame; // y-up, in the window
        QPointF viewOrigin;
        std::vector<QPointF> arrow; // inside the popup, y-up
    };
    const std::vector<Case> cases = {
        { TorSideLeft, { 75, 273, 120, 54 }, { 2, 2 }, { { 103, 37 }, { 119, 27 }, { 103, 17 } } },
        { TorSideBelow, { 148, 225, 104, 70 }, { 2, 2 }, { { 42, 53 }, { 52, 69 }, { 62, 53 } } },
        { TorSideRight, { 205, 273, 120, 54 }, { 18, 2 }, { { 17, 17 }, { 1, 27 }, { 17, 37 } } },
        { TorSideAbove, { 148, 305, 104, 70 }, { 2, 18 }, { { 62, 17 }, { 52, 1 }, { 42, 17 } } },
        { TorSideLeftRising, { 75, 282, 120, 54 }, { 2, 2 }, { { 103, 29 }, { 119, 19 }, { 103, 9 } } },
        { TorSideLeftHanging, { 75, 264, 120, 54 }, { 2, 2 }, { { 103, 45 }, { 119, 35 }, { 103, 25 } } },
        { TorSideRightRising, { 205, 282, 120, 54 }, { 18, 2 }, { { 17, 9 }, { 1, 19 }, { 17, 29 } } },
        { TorSideRightHanging, { 205, 264, 120, 54 }, { 18, 2 }, { { 17, 25 }, { 1, 35 }, { 17, 45 } } },
        { TorSideAboveLeftward, { 114, 305, 104, 70 }, { 2, 18 }, { { 95, 17 }, { 85, 1 }, { 75, 17 } } },
        { TorSideAboveRightward, { 182, 305, 104, 70 }, { 2, 18 }, { { 29, 17 }, { 19, 1 }, { 9, 17 } } },
        { TorSideBelowLeftward, { 114, 225, 104, 70 }, { 2, 2 }, { { 75, 53 }, { 85, 69 }, { 95, 53 } } },
        { TorSideBelowRightward, { 182, 225, 104, 70 }, { 2, 2 }, { { 9, 53 }, { 19, 69 }, { 29, 53 } } },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.side);
        EXPECT_EQ(G::windowFrame(point, kView, c.side, 5, metrics), c.frame);
        const QRectF view = G::viewFrame(kView, c.side, metrics);
        EXPECT_EQ(view, QRectF(c.viewOrigin, kView));
        const auto steps = G::outline(view, c.side, metrics);
        EXPECT_EQ(arrowAround(steps, c.arrow[1]), c.arrow);
        // The tip lands at the distance from the point, off by at most the half-point edge
        // rounding on each axis.
        const QPointF tip = c.frame.topLeft() + c.arrow[1];
        const qreal dx = std::abs(tip.x() - point.x());
        const qreal dy = std::abs(tip.y() - point.y());
        EXPECT_LE(std::min(dx, dy), 1);
        EXPECT_NEAR(std::max(dx, dy), 5, 1);
    }
}

TEST(TorAttachedWindowGeometry, OutlineCornersWithoutArrowAndBesideIt)
{
    TorAttachedMetrics metrics;
    const QRectF view(2, 2, 100, 50);
    const auto count = [](const std::vector<TorOutlineStep>& steps, TorOutlineStep::Kind kind) {
        return std::count_if(steps.begin(), steps.end(), [kind](const auto& s) { return s.kind == kind; });
    };
    const auto below = G::outline(view, TorSideBelow, metrics);
    EXPECT_EQ(below.front(), (TorOutlineStep { TorOutlineStep::Kind::Move, { 9, 53 }, {} }));
    EXPECT_EQ(below[4], (TorOutlineStep { TorOutlineStep::Kind::Line, { 95, 53 }, {} }));
    EXPECT_EQ(below[5], (TorOutlineStep { TorOutlineStep::Kind::Arc, { 103, 45 }, { 103, 53 } }));
    EXPECT_EQ(below.back(), (TorOutlineStep { TorOutlineStep::Kind::Arc, { 9, 53 }, { 1, 53 } }));
    EXPECT_EQ(below.size(), 12u);

    // The arrow off: the edge runs straight and the body keeps its four rounded corners.
    metrics.hasArrow = false;
    const auto plain = G::outline(view, TorSideBelow, metrics);
    EXPECT_EQ(count(plain, TorOutlineStep::Kind::Arc), 4);
    for (const auto& step : plain)
        EXPECT_TRUE(step.to.y() >= 1 && step.to.y() <= 53);

    // Not rounding beside the arrow: the corner the arrow starts at is square.
    metrics.hasArrow = true;
    metrics.drawsRoundCornerBesideArrow = false;
    ASSERT_EQ(G::arrowInset(metrics), 10);
    const auto square = G::outline(view, TorSideBelowRightward, metrics);
    EXPECT_EQ(square.front().to, QPointF(1, 53));
    EXPECT_EQ(arrowAround(square, { 11, 69 }), (std::vector<QPointF> { { 1, 53 }, { 11, 69 }, { 21, 53 } }));
    EXPECT_EQ(count(square, TorOutlineStep::Kind::Arc), 3);
    metrics.cornerRadius = 0;
    EXPECT_EQ(count(G::outline(view, TorSideBelow, metrics), TorOutlineStep::Kind::Arc), 0);
}

TEST(TorAttachedWindowGeometry, AutomaticSideAgainstTheWindow)
{
    const TorAttachedMetrics metrics;
    const QRectF big(0, 0, 1200, 800);
    struct Case {
        QRectF window;
        QPointF point;
        int side;
    };
    const Case cases[] = {
        { big, { 600, 400 }, TorSideBelow }, { big, { 600, 50 }, TorSideRight }, // no room below
        { big, { 600, 10 }, TorSideRightRising }, // at the window's lower edge
        { big, { 1150, 10 }, TorSideLeftRising }, { big, { 1150, 795 }, TorSideBelowLeftward }, // at the right edge
        { big, { 20, 400 }, TorSideBelowRightward },
        { { 0, 0, 1200, 90 }, { 600, 70 }, TorSideRightHanging }, // at the upper edge
        { { 0, 0, 150, 100 }, { 75, 10 }, TorSideAbove },
        { { 0, 0, 120, 80 }, { 60, 40 }, TorSideBelow }, // no room anywhere
    };
    for (const auto& c : cases)
        EXPECT_EQ(G::bestSide(c.point, kView, 5, metrics, c.window, c.window), c.side)
            << c.point.x() << "," << c.point.y() << " in " << c.window.width() << "x" << c.window.height();
}

TEST(TorAttachedWindow, SettersClampAgainstTheViewFrame)
{
    struct Case {
        QSize view;
        std::function<void(TorAttachedWindow&)> change;
        float border, margin, base, radius, arrow;
    };
    const Case cases[] = {
        { { 10, 10 }, [](auto&) {}, 2, 2, 20, 8, 1 }, // defaults stored as they are
        { { 10, 10 }, [](auto& w) { w.setArrowBaseWidth(20); }, 2, 2, 0, 8, 1 }, // limit -2: no base
        { { 10, 10 }, [](auto& w) { w.setCornerRadius(8); }, 2, 2, 14, 0, 1 },
        { { 10, 10 }, [](auto& w) { w.setViewMargin(10); }, 2, 10, 20, 5, 1 },
        { { 100, 50 }, [](auto& w) { w.setBorderWidth(5); }, 2, 2, 20, 8, 1 },
        { { 100, 50 }, [](auto& w) { w.setBorderWidth(1); }, 1, 2, 20, 8, 1 },
        { { 100, 50 }, [](auto& w) { w.setCornerRadius(-3); }, 2, 2, 20, 0, 1 },
        { { 100, 50 }, [](auto& w) { w.setViewMargin(-1); }, 2, 0, 20, 8, 1 },
        { { 100, 50 }, [](auto& w) { w.setHasArrow(0.5f); }, 2, 2, 20, 8, 0 },
        { { 100, 50 }, [](auto& w) { w.setArrowBaseWidth(500); }, 2, 2, 38, 8, 1 },
    };
    QWidget window;
    window.resize(400, 300);
    int row = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(row++);
        auto* view = new QWidget;
        view->resize(c.view);
        auto* popup = TorAttachedWindow::initWithView(view, { 200, 150 }, &window, TorSideBelow, 0.0f);
        c.change(*popup);
        EXPECT_EQ(popup->borderWidth(), c.border);
        EXPECT_EQ(popup->viewMargin(), c.margin);
        EXPECT_EQ(popup->arrowBaseWidth(), c.base);
        EXPECT_EQ(popup->cornerRadius(), c.radius);
        EXPECT_EQ(popup->hasArrow(), c.arrow);
        delete popup;
    }
    EXPECT_EQ(TorAttachedWindow::initWithView(nullptr, { 0, 0 }, &window), nullptr);
}

TEST(TorAttachedWindow, SitsInsideItsWindowWithTheDrawnOutline)
{
    QWidget window;
    window.resize(400, 300);
    auto* anchor = new QWidget(&window);
    anchor->setGeometry(150, 100, 100, 50);
    window.show();
    // The anchor's bottom centre, as the photo popups use it.
    const QPointF point = TorAttachedWindow::pointInWindow(anchor, { 50, 50 });
    EXPECT_EQ(point, QPointF(200, 150));

    auto* view = new QWidget;
    view->resize(100, 50);
    auto* popup = TorAttachedWindow::initWithView(view, point, &window, 5.0f);
    popup->setBackgroundColor(QColor(54, 63, 78));
    popup->setBorderColor(Qt::transparent);
    popup->show();
    EXPECT_EQ(popup->side(), TorSideBelow);
    EXPECT_EQ(popup->parentWidget(), &window);
    EXPECT_EQ(popup->geometry(), QRect(148, 155, 104, 70)); // arrow tip just under the anchor
    EXPECT_EQ(view->geometry(), QRect(2, 18, 100, 50));

    const QImage image = popup->backgroundImage();
    ASSERT_EQ(image.size(), QSize(104, 70));
    struct Probe {
        QPoint at;
        QColor colour;
    };
    const Probe probes[] = {
        { { 52, 40 }, QColor(54, 63, 78) }, // body
        { { 52, 6 }, QColor(54, 63, 78) }, // arrow, near its tip
        { { 2, 2 }, Qt::transparent }, // beside the arrow
        { { 103, 69 }, Qt::transparent }, // outside the rounded corner
    };
    for (const auto& probe : probes)
        EXPECT_EQ(image.pixelColor(probe.at).rgba(), probe.colour.rgba()) << probe.at.x() << "," << probe.at.y();

    // Moving keeps the popup in its window's coordinates; the automatic value is not a side.
    popup->setPoint({ 100, 200 }, TorSideRight);
    EXPECT_EQ(popup->geometry(), QRect(105, 73, 120, 54));
    popup->setPoint({ 100, 200 }, TorSideAutomatic);
    EXPECT_EQ(popup->side(), TorSideRight);

    // A view never sized by its owner comes with its size hint, not a default window size.
    auto* label = new QWidget;
    label->setMinimumSize(70, 30);
    auto* sized = TorAttachedWindow::initWithView(label, point, &window, TorSideBelow, 0.0f);
    EXPECT_EQ(sized->viewFrameRect().size(), QSizeF(label->sizeHint().expandedTo(QSize(70, 30))));
    EXPECT_EQ(label->size(), label->sizeHint().expandedTo(QSize(70, 30)));
}

TEST(TorAttachedWindowGeometry, KeptInsideMovesAFrameTheLeastIntoItsContainer)
{
    const QRectF container(0, 0, 400, 300); // y-up
    const struct {
        QRectF frame;
        QRectF kept;
    } cases[] = {
        { { 100, 100, 50, 40 }, { 100, 100, 50, 40 } }, // inside: stays
        { { 380, 100, 50, 40 }, { 350, 100, 50, 40 } }, // over the right edge
        { { -20, 100, 50, 40 }, { 0, 100, 50, 40 } }, // over the left edge
        { { 100, -30, 50, 40 }, { 100, 0, 50, 40 } }, // under the bottom
        { { 100, 290, 50, 40 }, { 100, 260, 50, 40 } }, // over the top
        { { 390, -10, 50, 40 }, { 350, 0, 50, 40 } }, // a corner
        { { 100, 100, 500, 40 }, { 0, 100, 500, 40 } }, // too wide: its left edge shows
        { { 100, 100, 50, 400 }, { 100, -100, 50, 400 } }, // too tall: its top shows
    };
    for (const auto& c : cases)
        EXPECT_EQ(G::keptInside(c.frame, container), c.kept) << c.frame.x() << "," << c.frame.y();
}

// Near the window's edges a popup is moved inside it, whatever side it was given; it is an
// overlay of the window, so anything outside would be cut off.
TEST(TorAttachedWindow, NeverCrossesItsWindowsEdges)
{
    QWidget window;
    window.resize(400, 300);
    window.show();
    const struct {
        QPointF point; // y-up
        int side;
    } cases[] = {
        { { 395, 150 }, TorSideBelow },
        { { 395, 150 }, TorSideRight },
        { { 5, 150 }, TorSideLeft },
        { { 200, 5 }, TorSideBelow },
        { { 200, 295 }, TorSideAbove },
        { { 398, 2 }, TorSideBelowRightward },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.side);
        auto* view = new QWidget;
        view->resize(120, 80);
        std::unique_ptr<TorAttachedWindow> popup(TorAttachedWindow::initWithView(view, c.point, &window, c.side, 5.0f));
        popup->show();
        EXPECT_TRUE(window.rect().contains(popup->geometry()))
            << popup->geometry().x() << "," << popup->geometry().y() << " " << popup->geometry().width() << "x"
            << popup->geometry().height();
        EXPECT_TRUE(QRectF(window.rect()).contains(popup->frameInWindow()));
        popup->setPoint(c.point, c.side);
        EXPECT_TRUE(window.rect().contains(popup->geometry()));
    }
}

// With its window partly off the screen, a popup chosen automatically sits in the part the
// screen shows with its arrow at its point (the tip `distance` from it), at the right, bottom
// and left edges; a point the popup cannot reach from inside that part gets no arrow at all.
TEST(TorAttachedWindow, ItsArrowStaysOnItsPointWhenTheWindowCrossesTheScreensEdge)
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    ASSERT_TRUE(screen);
    const QRect shown = screen->availableGeometry();
    const QSize size(400, 300);
    constexpr float kDistance = 5.0f;
    const struct {
        const char* edge;
        QPoint windowAt; // the window's top-left on the screen
        QPointF point; // y-down, in the window
        bool arrow;
    } cases[] = {
        { "right", { shown.right() + 1 - 250, shown.top() + 100 }, { 230, 150 }, true },
        { "right, near the top", { shown.right() + 1 - 250, shown.top() + 100 }, { 235, 20 }, true },
        { "bottom", { shown.left() + 100, shown.bottom() + 1 - 200 }, { 200, 185 }, true },
        { "bottom corner", { shown.right() + 1 - 250, shown.bottom() + 1 - 200 }, { 235, 185 }, true },
        { "left", { shown.left() - 150, shown.top() + 100 }, { 165, 150 }, true },
        { "right, the point off the screen", { shown.right() + 1 - 250, shown.top() + 100 }, { 330, 150 }, false },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.edge);
        QWidget window;
        window.setGeometry(QRect(c.windowAt, size));
        window.show();
        ASSERT_EQ(window.mapToGlobal(QPoint(0, 0)), c.windowAt);
        auto* view = new QWidget;
        view->resize(120, 80);
        const QPointF point(c.point.x(), size.height() - c.point.y());
        std::unique_ptr<TorAttachedWindow> popup(TorAttachedWindow::initWithView(view, point, &window, kDistance));
        popup->show();

        const QRect visible = QRect(QPoint(0, 0), size) & shown.translated(-c.windowAt);
        EXPECT_TRUE(visible.contains(popup->geometry()))
            << popup->geometry().x() << "," << popup->geometry().y() << " in " << visible.x() << "," << visible.y()
            << " " << visible.width() << "x" << visible.height();
        EXPECT_EQ(popup->showsArrow(), c.arrow) << "side " << popup->side();
        if (!popup->showsArrow())
            continue;
        // The drawn tip: the one outline point outside the body, in the window (y-up).
        const QRectF body = popup->viewFrameRect().adjusted(
            -popup->viewMargin(), -popup->viewMargin(), popup->viewMargin(), popup->viewMargin());
        std::vector<QPointF> tips;
        for (const TorOutlineStep& step : G::outline(popup->viewFrameRect(), popup->side(), popup->metrics()))
            if (!body.adjusted(-0.5, -0.5, 0.5, 0.5).contains(step.to))
                tips.push_back(step.to + popup->frameInWindow().topLeft());
        ASSERT_EQ(tips.size(), 1u) << "side " << popup->side();
        const QPointF off = tips.front() - point;
        // Within half the arrow's base: a popup moved a little into sight still points into its item.
        EXPECT_LE(std::hypot(off.x(), off.y()), kDistance + popup->arrowBaseWidth() / 2 + 1.5)
            << "side " << popup->side() << ": the arrow points at " << tips.front().x() << ","
            << size.height() - tips.front().y() << ", its point is at " << c.point.x() << "," << c.point.y();
    }
}

// A frame moved into sight keeps its arrow while the move is at most half the arrow's base (the
// tip still points into what it belongs to), measured as the straight distance; moved further, it
// has none.
TEST(TorAttachedWindow, KeepsItsArrowWhileMovedIntoSightByAtMostHalfItsBase)
{
    QWidget window;
    window.resize(400, 300);
    window.show();
    auto* view = new QWidget;
    view->resize(120, 80);
    const QPointF centre(200, 150); // y-up
    std::unique_ptr<TorAttachedWindow> popup(
        TorAttachedWindow::initWithView(view, centre, &window, TorSideBelow, 0.0f));
    popup->show();
    ASSERT_TRUE(popup->showsArrow());
    ASSERT_EQ(popup->arrowBaseWidth(), 20.0f);
    // How far the frame reaches right of its point and below it (y-up), placed freely.
    const QRectF free = popup->frameInWindow();
    const qreal right = free.right() - centre.x();
    const qreal below = centre.y() - free.top();
    const struct {
        int dx; // the frame's overshoot of the window's right edge
        int dy; // and of its bottom edge
        bool arrow;
    } rows[] = {
        { 0, 0, true }, // in place
        { 1, 0, true }, // moved left
        { 10, 0, true }, // by half the base
        { 11, 0, false }, // by just over half
        { 20, 0, false }, // by the whole base
        { 0, 10, true }, // moved up
        { 0, 11, false }, // by just over half
        { 6, 8, true }, // moved both ways, 10 away
        { 8, 8, false }, // 11.3 away
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::to_string(row.dx) + "," + std::to_string(row.dy));
        const QPointF point(window.width() - right + row.dx, below - row.dy);
        popup->setPoint(point, TorSideBelow);
        const QRectF frame = popup->frameInWindow();
        ASSERT_EQ(frame.right(), window.width());
        ASSERT_EQ(frame.x() - (point.x() + right - free.width()), -row.dx);
        ASSERT_EQ(frame.top() - (point.y() - below), row.dy);
        EXPECT_EQ(popup->showsArrow(), row.arrow);
    }
}

// A popup hears once that the part of the window it belongs to was left: its owner hidden by
// itself or with an ancestor, or destroyed; not when a neighbour hides.
TEST(TorAttachedWindow, TellsOnceWhenItsOwnerIsLeft)
{
    const struct {
        const char* what;
        std::function<void(QWidget* step, QWidget*& owner, QWidget* neighbour, QWidget* popup)> act;
        int heard;
    } cases[] = {
        { "owner hidden", [](QWidget*, QWidget*& owner, QWidget*, QWidget*) { owner->hide(); }, 1 },
        { "step hidden", [](QWidget* step, QWidget*&, QWidget*, QWidget*) { step->hide(); }, 1 },
        { "hidden twice",
            [](QWidget* step, QWidget*& owner, QWidget*, QWidget*) {
                owner->hide();
                owner->show();
                step->hide();
            },
            1 },
        { "owner destroyed",
            [](QWidget*, QWidget*& owner, QWidget*, QWidget*) {
                delete owner;
                owner = nullptr;
            },
            1 },
        { "neighbour hidden", [](QWidget*, QWidget*&, QWidget* neighbour, QWidget*) { neighbour->hide(); }, 0 },
        { "popup closed first",
            [](QWidget* step, QWidget*&, QWidget*, QWidget* popup) {
                popup->hide();
                step->hide();
            },
            0 },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        QWidget window;
        window.resize(400, 300);
        auto* step = new QWidget(&window);
        QWidget* owner = new QWidget(step);
        auto* neighbour = new QWidget(&window);
        window.show();
        auto* view = new QWidget;
        view->resize(50, 30);
        TorAttachedWindow* popup = TorAttachedWindow::initWithView(view, { 100, 100 }, &window, TorSideBelow, 0.0f);
        popup->setOwner(owner);
        popup->show();
        int heard = 0;
        QObject::connect(popup, &TorAttachedWindow::ownerLeft, [&heard] { ++heard; });
        c.act(step, owner, neighbour, popup);
        EXPECT_EQ(heard, c.heard);
    }
}
