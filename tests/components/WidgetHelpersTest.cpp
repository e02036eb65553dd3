#include "components/ButtonTextColor.h"
#include "components/TableColumnHeader.h"

#include <QPushButton>
#include <QTableWidget>

#include <gtest/gtest.h>

using namespace vantrel;

TEST(ButtonTextColor, TitleTakesTheColourInEveryState)
{
    QPushButton button("Title");
    const QColor blue(66, 180, 211);
    changeButtonTextColor(&button, blue);
    for (const auto group : { QPalette::Active, QPalette::Inactive, QPalette::Disabled })
        EXPECT_EQ(button.palette().color(group, QPalette::ButtonText), blue);
    EXPECT_EQ(button.text(), "Title");
    changeButtonTextColor(nullptr, blue); // no crash
}

TEST(TableColumnHeader, SetsExistingColumnsOnly)
{
    QTableWidget table(0, 3);
    table.setHorizontalHeaderLabels({ "a", "b", "c" });
    setTitleForColumnHeader("Name", 1, &table);
    EXPECT_EQ(table.model()->headerData(1, Qt::Horizontal).toString(), "Name");
    for (int index : { 3, 4, -1 })
        setTitleForColumnHeader("Nope", index, &table);
    EXPECT_EQ(table.columnCount(), 3);
    EXPECT_EQ(table.model()->headerData(0, Qt::Horizontal).toString(), "a");
    EXPECT_EQ(table.model()->headerData(2, Qt::Horizontal).toString(), "c");
    setTitleForColumnHeader("Nope", 0, nullptr);
}
