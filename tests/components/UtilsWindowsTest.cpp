#include "components/UtilsWindows.h"

#include <QApplication>
#include <QPushButton>
#include <QWidget>

#include <gtest/gtest.h>

#include "components/UtilsButtons.h"
#include "components/UtilsViews.h"

using namespace vantrel;

TEST(UtilsWindows, CentresOneWindowOnAnother)
{
    QWidget main;
    main.setGeometry(100, 80, 600, 400);
    main.show();
    QWidget panel;
    panel.resize(200, 100);
    UtilsWindows::setWindow(&panel, &main);
    EXPECT_TRUE(panel.isVisible());
    EXPECT_EQ(panel.frameGeometry().center(), main.frameGeometry().center());
    EXPECT_EQ(panel.size(), QSize(200, 100));

    // An in-window panel is centred on its window in the same way.
    QWidget* sheet = new QWidget(&main);
    sheet->resize(300, 200);
    UtilsWindows::setWindow(sheet, &main);
    EXPECT_EQ(sheet->geometry(), QRect(150, 100, 300, 200));
}

TEST(UtilsWindows, ButtonTitleAndBackdrop)
{
    QPushButton button;
    UtilsButtons::setButtonTitleFor(&button, "Convert", QColor(66, 180, 211));
    EXPECT_EQ(button.text(), "Convert");
    EXPECT_EQ(button.palette().color(QPalette::ButtonText), QColor(66, 180, 211));

    QWidget view;
    view.resize(320, 240);
    auto* panel = new QWidget(&view);
    auto* other = new QWidget(&view);
    QWidget* backdrop = UtilsViews::addVisualEffectView(&view, panel);
    ASSERT_NE(backdrop, nullptr);
    EXPECT_EQ(backdrop->parentWidget(), &view);
    EXPECT_EQ(backdrop->geometry(), QRect(0, 0, 320, 260));
    // Stacked directly below the panel: after the backdrop in child order comes the panel.
    const QObjectList children = view.children();
    EXPECT_LT(children.indexOf(backdrop), children.indexOf(panel));
    EXPECT_LT(children.indexOf(panel), children.indexOf(other));
    EXPECT_EQ(panel->property("cornerRadius").toDouble(), 5.0);
    EXPECT_EQ(UtilsViews::addVisualEffectView(nullptr, panel), nullptr);
}
