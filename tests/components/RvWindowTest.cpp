#include "components/RvWindow/RvWindow.h"
#include "components/RvWindow/CustomWindowNag.h"
#include "components/RvWindow/RvColorView.h"
#include "components/Sheet.h"

#include <QApplication>
#include <QLabel>
#include <QTest>

#include <gtest/gtest.h>

using namespace vantrel;

namespace {

QColor centreOf(QWidget& widget)
{
    const QImage shot = widget.grab().toImage();
    return shot.pixelColor(shot.width() / 2, shot.height() / 2);
}

bool near(const QColor& a, const QColor& b)
{
    return std::abs(a.red() - b.red()) <= 1 && std::abs(a.green() - b.green()) <= 1
        && std::abs(a.blue() - b.blue()) <= 1;
}

} // namespace

TEST(RvColorView, FillsWithItsColourOrRed)
{
    struct Case {
        QColor set;
        QColor drawn;
    };
    const Case cases[] = {
        { QColor(), Qt::red }, // never given a colour
        { QColor(66, 180, 211), QColor(66, 180, 211) },
        { QColor(36, 41, 50), QColor(36, 41, 50) },
    };
    for (const auto& c : cases) {
        RvColorView view;
        view.resize(20, 10);
        if (c.set.isValid())
            view.setBackgroundColor(c.set);
        EXPECT_EQ(centreOf(view), c.drawn) << c.drawn.name().toStdString();
    }
}

TEST(RvWindow, TintsItsOwnTitleBarOnly)
{
    // No title-bar container: no tint, and the effect state is only stored.
    RvWindow bare(QRect(0, 0, 300, 200));
    EXPECT_EQ(bare.titlebarTintColor(), RvWindow::defaultTintColor());
    EXPECT_NEAR(RvWindow::defaultTintColor().alphaF(), 0.96, 1e-4);
    EXPECT_EQ(bare.tintView(), nullptr);
    EXPECT_EQ(bare.applesTitlebarView(), nullptr);
    bare.setTitlebarEffectState(2);
    EXPECT_EQ(bare.titlebarEffectState(), 2);

    RvWindow window(QRect(0, 0, 300, 200));
    window.setPalette(QPalette(QColor(36, 41, 50)));
    window.setAutoFillBackground(true);
    auto* container = new QWidget(&window);
    container->setObjectName(RvWindow::kTitlebarContainerName);
    container->setGeometry(0, 0, 300, 22);
    auto* title = new QLabel("Title", container);
    title->setObjectName(RvWindow::kTitlebarViewName);
    title->setGeometry(120, 3, 60, 16);
    window.setupTitlebarTint();
    window.show();
    window.setupTitlebarTint(); // a second call adds no second tint
    ASSERT_NE(window.tintView(), nullptr);
    EXPECT_EQ(container->findChildren<RvColorView*>().size(), 1);
    EXPECT_EQ(window.tintView()->parentWidget(), container);
    EXPECT_EQ(window.tintView()->geometry(), QRect(0, 0, 300, 22));
    EXPECT_EQ(container->childAt(150, 10), title); // the tint lies under the title
    EXPECT_EQ(window.applesTitlebarView(), title);

    window.setTitlebarEffectState(1);
    EXPECT_EQ(title->property(RvWindow::kEffectStateProperty).toLongLong(), 1);

    container->resize(500, 30);
    EXPECT_EQ(window.tintView()->geometry(), QRect(0, 0, 500, 30));

    // The tint over the dark panel: 96% of (25, 25, 25).
    const QImage shot = window.grab().toImage();
    EXPECT_TRUE(near(shot.pixelColor(10, 10), QColor(25, 26, 26))) << shot.pixelColor(10, 10).name().toStdString();
    EXPECT_EQ(shot.pixelColor(10, 100), QColor(36, 41, 50));

    // The same colour again leaves the tint view as it is.
    window.tintView()->setBackgroundColor(Qt::green);
    window.setTitlebarTintColor(RvWindow::defaultTintColor());
    EXPECT_EQ(window.tintView()->backgroundColor(), QColor(Qt::green));
    window.setTitlebarTintColor(Qt::blue);
    EXPECT_EQ(window.tintView()->backgroundColor(), QColor(Qt::blue));
}

TEST(CustomWindowNag, FramelessTranslucentShadowlessAndFocusable)
{
    CustomWindowNag nag(QRect(10, 20, 320, 240));
    EXPECT_TRUE(nag.isWindow());
    EXPECT_TRUE(nag.windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_TRUE(nag.windowFlags().testFlag(Qt::NoDropShadowWindowHint));
    EXPECT_TRUE(nag.testAttribute(Qt::WA_TranslucentBackground));
    EXPECT_NE(nag.focusPolicy(), Qt::NoFocus);
    EXPECT_EQ(nag.size(), QSize(320, 240));
    // Frameless, it still becomes the key window and takes the keyboard.
    EXPECT_FALSE(nag.windowFlags().testFlag(Qt::WindowDoesNotAcceptFocus));
    nag.show();
    nag.activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&nag));
    EXPECT_EQ(QApplication::activeWindow(), &nag);
    nag.hide();

    // As a sheet's content it becomes part of the window and comes back unharmed.
    QWidget main;
    main.resize(800, 600);
    main.show();
    auto* form = new CustomWindowNag(QRect(0, 0, 320, 240));
    Sheet* sheet = Sheet::beginSheet(&main, form);
    EXPECT_FALSE(form->isWindow());
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(form->geometry(), QRect(240, 0, 320, 240));
    sheet->endSheet(1);
    EXPECT_EQ(form->parentWidget(), &main);
    EXPECT_FALSE(form->isVisible());
}
