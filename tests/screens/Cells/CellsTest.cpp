// The list cells that the Parts build for tables: clicks on their buttons reach the delegate with
// the row the cell stands in and the button's place in the window.
#include <QTableWidget>
#include <QTest>

#include <gtest/gtest.h>

#include "screens/Cells/ButtonTableCellDelegate.h"
#include "screens/Cells/ButtonTableCellView.h"
#include "screens/Cells/ErrorFileTableCall.h"
#include "screens/Cells/PhotoThumbnailCell.h"
#include "support/NamedWidget.h"

namespace vantrel {
namespace {

using test::named;

struct Recorder : ButtonTableCellDelegate, PhotoThumbnailCellDelegate {
    QStringList calls;
    void btnInfoTappedAtLocationInTableView(QPoint at, qsizetype row) override
    {
        calls << QStringLiteral("info %1 %2,%3").arg(row).arg(at.x()).arg(at.y());
    }
    void btnDeleteTappedAtLocationInTableView(QPoint at, qsizetype row) override
    {
        calls << QStringLiteral("delete %1 %2,%3").arg(row).arg(at.x()).arg(at.y());
    }
    void btnCheckTappedAtLocationInTableView(QPoint at, qsizetype row) override
    {
        calls << QStringLiteral("check %1 %2,%3").arg(row).arg(at.x()).arg(at.y());
    }
    void btnCheckBoxSelect(PhotoThumbnailCell* cell) override { calls << QStringLiteral("box %1").arg(cell->rowTag()); }
};

// A table of four rows whose third row holds the cell.
struct Table {
    explicit Table(QWidget* cell)
    {
        table.setColumnCount(1);
        table.setRowCount(4);
        table.resize(420, 260);
        for (int row = 0; row < 4; ++row)
            table.setRowHeight(row, 40);
        table.setColumnWidth(0, 380);
        table.setCellWidget(2, 0, cell);
        table.show();
    }
    QString click(QAbstractButton* button)
    {
        const QPoint origin = button->mapTo(button->window(), QPoint(0, 0));
        QTest::mouseClick(button, Qt::LeftButton, {}, button->rect().center());
        return QStringLiteral("%1,%2").arg(origin.x()).arg(origin.y());
    }
    QTableWidget table;
};

TEST(Cells, ButtonTableCellViewReportsEachButtonWithItsRow)
{
    Recorder recorder;
    auto* cell = new ButtonTableCellView;
    cell->setDelegate(&recorder);
    Table table(cell);
    const struct {
        QAbstractButton* button;
        const char* call;
    } cases[] = { { cell->cellButton(), "info" }, { cell->btnCheck(), "check" }, { cell->btnDelete(), "delete" } };
    for (const auto& c : cases) {
        recorder.calls.clear();
        const QString at = table.click(c.button);
        EXPECT_EQ(recorder.calls, QStringList { QStringLiteral("%1 2 %2").arg(c.call, at) });
    }
    // Outside a table the row is -1; without a delegate nothing is reported.
    ButtonTableCellView loose;
    EXPECT_EQ(loose.row(), -1);
    recorder.calls.clear();
    cell->setDelegate(nullptr);
    table.click(cell->btnDelete());
    EXPECT_TRUE(recorder.calls.isEmpty());
}

TEST(Cells, PhotoThumbnailCellOpensInformationAndChecksOnlyWithARowTag)
{
    Recorder recorder;
    auto* cell = new PhotoThumbnailCell;
    cell->setDelegate(&recorder);
    Table table(cell);
    QAbstractButton* more = named<QAbstractButton>(cell, "More options");
    ASSERT_EQ(more, cell->btnMore());
    const QString at = table.click(more);
    EXPECT_EQ(recorder.calls, QStringList { "info 2 " + at });

    recorder.calls.clear();
    table.click(cell->checkButton()); // no row tag yet: nothing
    cell->setRowTag(2);
    table.click(cell->checkButton());
    EXPECT_EQ(recorder.calls, QStringList { "box 2" });
    EXPECT_TRUE(cell->txtName()->isReadOnly());
    EXPECT_TRUE(cell->txtPath()->isReadOnly());
}

TEST(Cells, ErrorFileTableCallNamesFileErrorAndRemove)
{
    ErrorFileTableCall cell;
    cell.fileName()->setText("a.jpg");
    cell.errorName()->setText("Unsupported file");
    EXPECT_EQ(named<QLabel>(&cell, "File name"), cell.fileName());
    EXPECT_EQ(named<QLabel>(&cell, "Error"), cell.errorName());
    EXPECT_EQ(named<QAbstractButton>(&cell, "Remove"), cell.btnDelete());
    cell.resize(400, 30);
    cell.show();
    // Name, error and remove button stand side by side in that order.
    EXPECT_LT(cell.fileName()->x(), cell.errorName()->x());
    EXPECT_LT(cell.errorName()->x(), cell.btnDelete()->x());
}

} // namespace
} // namespace vantrel
