// The log viewer's table gives a tip over a path or message cell that shows text, and none over
// one that shows nothing (the run stores " " for a photo without output).
#include <QHelpEvent>
#include <QTableView>
#include <QTest>
#include <QToolTip>

#include <gtest/gtest.h>

#include "core/AppDelegate.h"
#include "core/DbManager/DBManager.h"
#include "core/Processing/RunSummary.h"
#include "screens/Logs/LogDetailView.h"
#include "screens/Logs/LogDetailsTableModel.h"
#include "screens/support/RunFixture.h"

namespace vantrel {
namespace {

/// The tip shown after the pointer rests over a cell; empty when none shows.
QString tipOver(QTableView* table, int row, int column)
{
    QToolTip::hideText(); // it goes after a moment
    if (!QTest::qWaitFor([] { return !QToolTip::isVisible(); }, 3000))
        return QStringLiteral("(the previous tip stayed)");
    const QPoint at = table->visualRect(table->model()->index(row, column)).center();
    QHelpEvent event(QEvent::ToolTip, at, table->viewport()->mapToGlobal(at));
    QApplication::sendEvent(table->viewport(), &event);
    return QToolTip::isVisible() ? QToolTip::text() : QString();
}

TEST(LogTableTooltip, OnlyACellWithTextHasATip)
{
    screentest::freshApplication();
    DBManager& db = *AppDelegate::shareDelegate()->dbManager;
    for (const auto& [table, names] : { std::pair { "tblLogSummary", RunSummary::summaryColumns() },
             std::pair { "tblLogDetails", RunSummary::detailColumns() } }) {
        DbRows columns;
        for (const QString& name : names)
            columns.append({ { "column", name }, { "dataType", "TEXT" } });
        db.createTableWithColumns(table, columns);
    }
    db.InsertDetailInLogSummaryTable({ { "timeStamp", "run" }, { "imagesSelected", "2" } });
    ASSERT_TRUE(db.InsertDetailInLogDetailsTable({
        { { "timeStamp", "run" }, { "inputFilename", "/in/a.jpg" }, { "outputFilename", "/out/a.png" },
            { "information", "Processed successfully." } },
        { { "timeStamp", "run" }, { "inputFilename", "/in/b.jpg" }, { "outputFilename", " " }, { "information", "" } },
    }));

    LogDetailView view;
    view.resize(1000, 600);
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    view.initWithLogTimeStamp("run");
    QTableView* table = view.tblLogs();
    ASSERT_EQ(table->model()->rowCount(), 2);

    const struct {
        int row;
        int column;
        QString tip;
    } cases[] = {
        { 0, LogDetailsTableModel::InputFile, "/in/a.jpg" },
        { 0, LogDetailsTableModel::OutputFile, "/out/a.png" },
        { 0, LogDetailsTableModel::Information, "Processed successfully." },
        { 1, LogDetailsTableModel::InputFile, "/in/b.jpg" },
        { 1, LogDetailsTableModel::OutputFile, "" }, // " ": nothing shown, no tip
        { 1, LogDetailsTableModel::Information, "" },
    };
    for (const auto& c : cases)
        EXPECT_EQ(tipOver(table, c.row, c.column), c.tip) << "row " << c.row << ", column " << c.column;
    QToolTip::hideText();
}

} // namespace
} // namespace vantrel
