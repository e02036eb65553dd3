#include "components/BackgroundTextField.h"
#include "components/BlackView.h"
#include "components/ColoredTableCell.h"
#include "components/CustomCheckboxCell.h"
#include "components/CustomOpenPanel.h"
#include "components/CustomScroll.h"
#include "components/DashedLineView.h"
#include "components/DisableScrollView.h"
#include "components/MouseDownView.h"
#include "components/MouseDownViewDelegate.h"
#include "components/TextViewWithPlaceHolder.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include "core/ResourceImages.h"

using namespace vantrel;

namespace {

/// Records what reached it, by name.
class RecordingDelegate : public QObject, public MouseDownViewDelegate {
public:
    QStringList calls;
    void mouseDown(QMouseEvent*, MouseDownView*) override { calls << "mouseDown"; }
    void mouseDoubbleClicked(QMouseEvent*, MouseDownView*) override { calls << "mouseDoubbleClicked"; }
    void mouseDragged(QMouseEvent*, MouseDownView*) override { calls << "mouseDragged"; }
    void mouseUp(QMouseEvent*, MouseDownView*) override { calls << "mouseUp"; }
    void mouseExited(QEvent*, MouseDownView*) override { calls << "mouseExited"; }
    void scrollWheel(QWheelEvent*, MouseDownView*) override { calls << "scrollWheel"; }
    void rightMouseDown(QMouseEvent*) override { calls << "rightMouseDown"; }
};

/// A parent that counts what its child let through.
class Parent : public QWidget {
public:
    int received = 0;

protected:
    void mousePressEvent(QMouseEvent*) override { ++received; }
    void mouseReleaseEvent(QMouseEvent*) override { ++received; }
    void wheelEvent(QWheelEvent*) override { ++received; }
    void keyPressEvent(QKeyEvent*) override { ++received; }
};

void sendMouse(QWidget* w, QEvent::Type type, Qt::MouseButton button, Qt::MouseButtons buttons)
{
    QMouseEvent event(type, QPointF(5, 5), w->mapToGlobal(QPointF(5, 5)), button, buttons, Qt::NoModifier);
    QCoreApplication::sendEvent(w, &event);
}

void sendWheel(QWidget* w)
{
    QWheelEvent event(QPointF(5, 5), w->mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, -120), Qt::NoButton,
        Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(w, &event);
}

void sendEverything(QWidget* w)
{
    sendMouse(w, QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton);
    sendMouse(w, QEvent::MouseMove, Qt::NoButton, Qt::LeftButton);
    sendMouse(w, QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton);
    sendMouse(w, QEvent::MouseButtonDblClick, Qt::LeftButton, Qt::LeftButton);
    sendMouse(w, QEvent::MouseButtonPress, Qt::RightButton, Qt::RightButton);
    sendWheel(w);
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(w, &leave);
    QKeyEvent key(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, "a");
    QCoreApplication::sendEvent(w, &key);
}

} // namespace

TEST(MouseDownView, HandsEveryEventToItsDelegateAndSwallowsThem)
{
    Parent parent;
    auto* view = new MouseDownView(&parent);
    view->resize(20, 20);
    sendEverything(view); // no delegate: swallowed
    EXPECT_EQ(parent.received, 0);

    {
        RecordingDelegate delegate;
        view->setDelegate(&delegate);
        sendEverything(view);
        EXPECT_EQ(delegate.calls,
            QStringList({ "mouseDown", "mouseDragged", "mouseUp", "mouseDoubbleClicked", "rightMouseDown",
                "scrollWheel", "mouseExited" }));
        EXPECT_EQ(parent.received, 0);
    }
    // The delegate is gone: the view notices and goes on swallowing.
    EXPECT_EQ(view->delegate(), nullptr);
    sendEverything(view);
    EXPECT_EQ(parent.received, 0);
}

TEST(DisableScrollView, WheelOnlyWhileScrollingIsEnabled)
{
    DisableScrollView scroll;
    scroll.resize(100, 100);
    auto* content = new QWidget;
    content->resize(100, 1000);
    scroll.setWidget(content);
    scroll.show();
    EXPECT_TRUE(scroll.scrollingEnabled());
    scroll.setScrollingEnabled(false);
    sendWheel(scroll.viewport());
    EXPECT_EQ(scroll.verticalScrollBar()->value(), 0);
    scroll.setScrollingEnabled(true);
    sendWheel(scroll.viewport());
    EXPECT_GT(scroll.verticalScrollBar()->value(), 0);
}

TEST(CustomOpenPanel, TopRightTwoFifthsHighOrKeptWithoutAScreen)
{
    struct Row {
        QRect frame, visible, expected;
    };
    const Row rows[] = {
        { { 10, 10, 500, 300 }, { 0, 0, 1440, 900 }, { 940, 0, 500, 360 } },
        { { 10, 10, 500, 300 }, { 0, 25, 1280, 776 }, { 780, 25, 500, 310 } }, // 310.4
        { { 10, 10, 500, 300 }, { 100, 0, 800, 602 }, { 400, 0, 500, 241 } }, // 240.8
        { { 10, 10, 500, 300 }, { 0, 0, 800, 1001 }, { 300, 0, 500, 400 } }, // 400.4
        { { 10, 10, 500, 300 }, { 0, 0, 800, 1002 }, { 300, 0, 500, 401 } }, // 400.8
        { { 10, 10, 500, 300 }, { 0, 0, 800, 1005 }, { 300, 0, 500, 402 } }, // 402 exactly
        { { 10, 10, 500, 300 }, {}, { 10, 10, 500, 300 } }, // no screen
    };
    for (const auto& r : rows)
        EXPECT_EQ(CustomOpenPanel::frameFor(r.frame, r.visible), r.expected) << r.visible.height();
}

TEST(SmallViews, ColoursOfTheDrawingViews)
{
    ResourceImages::initResources();
    QWidget back;
    back.resize(60, 40);
    back.setAutoFillBackground(true);
    QPalette palette;
    palette.setColor(QPalette::Window, Qt::white);
    back.setPalette(palette);

    auto* dashed = new DashedLineView(&back);
    dashed->resize(60, 40);
    EXPECT_EQ(DashedLineView::borderRect(QSizeF(60, 40)), QRectF(2, 1, 57, 37));
    const QImage lines = back.grab().toImage();
    // On white, the line at alpha 0.2 is a light grey on the outline's left edge, nothing inside.
    EXPECT_NE(lines.pixelColor(2, 5), QColor(Qt::white));
    EXPECT_LT(lines.pixelColor(2, 5).blue(), 255);
    EXPECT_EQ(lines.pixelColor(30, 20), QColor(Qt::white));
    delete dashed;

    // Over white: black at 0.8 leaves 51; the field's box is (54, 63, 78) at 0.8 over white.
    auto* black = new BlackView(&back);
    black->setGeometry(0, 0, 10, 10);
    auto* field = new BackgroundTextField(&back);
    field->setText("hidden");
    field->setGeometry(10, 10, 50, 24);
    const QImage drawn = back.grab().toImage();
    const auto near = [](const QColor& a, const QColor& b) {
        return std::abs(a.red() - b.red()) <= 2 && std::abs(a.green() - b.green()) <= 2
            && std::abs(a.blue() - b.blue()) <= 2;
    };
    EXPECT_TRUE(near(drawn.pixelColor(5, 5), QColor(51, 51, 51))) << drawn.pixelColor(5, 5).name().toStdString();
    EXPECT_TRUE(near(drawn.pixelColor(35, 22), QColor(94, 101, 113))) << drawn.pixelColor(35, 22).name().toStdString();

    const std::tuple<int, QColor, QColor> scrollColours[] = {
        { 101, QColor(36, 41, 50), QColor(147, 165, 198) },
        { 102, QColor(Qt::transparent), QColor(Qt::white) },
        { 0, QColor(Qt::white), QColor(200, 200, 200) },
    };
    for (const auto& [tag, track, knob] : scrollColours) {
        EXPECT_EQ(CustomScroll::trackColor(tag), track) << tag;
        EXPECT_EQ(CustomScroll::knobColor(tag), knob) << tag;
    }
    EXPECT_EQ(CustomScroll::knobRect(QRectF(0, 30, 12, 50)), QRectF(2, 32, 8, 46));
    EXPECT_EQ(ColoredTableCell::selectionRect(QRect(0, 20, 300, 24)), QRect(0, 22, 300, 20));

    CustomCheckboxCell box1("Keep folder hierarchy");
    box1.resize(19, 15);
    const QImage off = box1.grab().toImage();
    box1.setChecked(true);
    EXPECT_NE(off, box1.grab().toImage());
    EXPECT_EQ(box1.accessibleName().isEmpty() ? box1.text() : box1.accessibleName(), "Keep folder hierarchy");
}

TEST(TextViewWithPlaceHolder, PlaceholderOnlyWhileEmptyAndNotEdited)
{
    TextViewWithPlaceHolder view;
    view.resize(200, 60);
    view.setPlaceholderString("Describe the problem");
    EXPECT_EQ(view.accessibleName(), "Describe the problem");
    EXPECT_TRUE(view.showsPlaceholder());
    view.setPlainText("x");
    EXPECT_FALSE(view.showsPlaceholder());
    view.clear();
    EXPECT_TRUE(view.showsPlaceholder());
}
