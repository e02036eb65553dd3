// How wide an option list opens: as wide as the field it drops from, wider when a row would be
// cut, and never past the window it opens in.
#include <QApplication>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include "components/TorAttachedWindow.h"
#include "screens/Panes/OptionsPopup.h"

namespace vantrel {
namespace {

TEST(OptionsPopupWidthTest, AListIsAsWideAsItsWidestRowWithinTheWindow)
{
    QWidget window;
    window.resize(600, 420);
    auto* field = new QPushButton(&window);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    const QString endless = QStringLiteral("Custom size saved from a very long list of names - ").repeated(4);

    const struct {
        const char* what;
        QRect field; // where the field the list drops from stands
        QStringList rows;
        bool wholeRows; // every row's text shows whole
    } cases[] = {
        { "short rows: the field's width", { 20, 20, 220, 24 }, { "*.TIF", "*.PNG", "*.JPG" }, true },
        { "a row wider than the field", { 20, 20, 220, 24 },
            { "iPad Pro - 2048 X 2732", "Apple Watch 38mm - 272 X 340", "Apple Watch 42mm - 312 X 390" }, true },
        { "the same near the right edge", { 420, 20, 160, 24 },
            { "iPad Pro - 2048 X 2732", "Apple Watch 38mm - 272 X 340", "Apple Watch 42mm - 312 X 390" }, true },
        { "a row wider than the window", { 20, 20, 220, 24 }, { "*.TIF", endless }, false },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        field->setGeometry(c.field);
        OptionsPopup popup;
        popup.show(field, field, c.rows, 4 * OptionsPopup::kRowHeight, 0, [](int) {});
        ASSERT_TRUE(popup.isOpen());
        QListWidget* list = popup.list();
        QTest::qWait(20);
        EXPECT_GE(list->width(), field->width() - 2);
        for (int row = 0; row < list->count(); ++row) {
            const QString text = list->item(row)->text();
            const int room = list->visualItemRect(list->item(row)).width() - 2 * OptionsPopup::kRowPadding;
            // What the row draws: its text cut to the room it has, as the list's rows are drawn.
            const QString drawn = list->fontMetrics().elidedText(text, Qt::ElideRight, room);
            if (c.wholeRows) {
                EXPECT_EQ(drawn.toStdString(), text.toStdString());
            }
        }
        const QRect shown(popup.popupWindow()->mapTo(&window, QPoint(0, 0)), popup.popupWindow()->size());
        EXPECT_TRUE(window.rect().contains(shown))
            << shown.x() << "," << shown.y() << " " << shown.width() << "x" << shown.height();
        popup.dismissPanel();
    }
}

} // namespace
} // namespace vantrel
