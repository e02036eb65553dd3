// The option popups: their sizes, what a row click does, and closing by a click outside.
#include <gtest/gtest.h>

#include <QPushButton>
#include <QTest>

#include "components/TorAttachedWindow.h"
#include "screens/Batch/OptionPopups.h"

namespace vantrel {
namespace {

TEST(OptionPopupsTest, SizesRowsAndDismissal)
{
    QWidget window;
    window.resize(600, 500);
    auto* addMore = new QPushButton("Add", &window);
    addMore->setGeometry(20, 20, 80, 30);
    auto* outside = new QPushButton("Elsewhere", &window);
    outside->setGeometry(400, 400, 80, 30);
    window.show();
    OptionPopups popups(&window);
    QList<int> chosen;
    QObject::connect(&popups, &OptionPopups::addOptionChosen, [&](int row) { chosen << row; });

    popups.btnSelectFileTypeTapped(addMore);
    ASSERT_TRUE(popups.attachedPopUpWindow());
    EXPECT_EQ(popups.vwPopupWithTableOptions()->size(), QSize(130, 210));
    EXPECT_EQ(popups.tblPopupOptions()->rowCount(), 6);
    QTableWidget* table = popups.tblPopupOptions();
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, table->visualItemRect(table->item(1, 0)).center());
    EXPECT_TRUE(popups.attachedPopUpWindow()); // a file type does nothing
    EXPECT_TRUE(chosen.isEmpty());

    const QStringList options { "Add Photos", "Add Folder", "Add with Filters", "Add iPhoto/Photos library" };
    popups.btnAddMorePhotosTapped(addMore, options);
    EXPECT_EQ(popups.vwPopupWithTableOptions()->size(), QSize(140, 194));
    EXPECT_EQ(table->rowHeight(0), 35);
    EXPECT_EQ(table->rowHeight(3), 50);
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, table->visualItemRect(table->item(3, 0)).center());
    EXPECT_EQ(chosen, QList<int> { 3 });
    EXPECT_FALSE(popups.attachedPopUpWindow());

    popups.btnAddMorePhotosTapped(addMore, options);
    QTest::mouseClick(outside, Qt::LeftButton);
    EXPECT_FALSE(popups.attachedPopUpWindow());
    popups.btnAddMorePhotosTapped(addMore, {});
    EXPECT_FALSE(popups.attachedPopUpWindow());
}

} // namespace
} // namespace vantrel
