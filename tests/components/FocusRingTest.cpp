// The focus ring on a table follows the current row when rows come, go or are all replaced, not
// only when the current index changes.
#include <functional>

#include <QStandardItemModel>
#include <QTableView>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

#include "components/FocusRing.h"

namespace vantrel {
namespace {

QList<QStandardItem*> rowOf(const QString& text)
{
    return { new QStandardItem(text), new QStandardItem(text + " b"), new QStandardItem(text + " c") };
}

/// A table of ten rows ("r0" ... "r9") that has the keyboard, its current row set.
struct RingedTable {
    RingedTable()
    {
        FocusRing::install();
        for (int row = 0; row < 10; ++row)
            model.appendRow(rowOf(QStringLiteral("r%1").arg(row)));
        auto* layout = new QVBoxLayout(&window);
        view = new QTableView;
        view->setModel(&model);
        layout->addWidget(view);
        window.resize(500, 500);
        window.show();
        window.activateWindow();
        view->setFocus(Qt::TabFocusReason);
    }
    /// Where the row showing `text` is, in the view's coordinates.
    QRect rowRect(const QString& text) const
    {
        const QList<QStandardItem*> found = model.findItems(text);
        if (found.isEmpty())
            return {};
        const int row = found.first()->row();
        QRect shown;
        for (int column = 0; column < model.columnCount(); ++column)
            shown |= view->visualRect(model.index(row, column));
        return shown.translated(view->viewport()->pos());
    }

    QWidget window;
    QStandardItemModel model;
    QTableView* view = nullptr;
};

TEST(FocusRing, FollowsTheCurrentRowThroughRemovalsInsertionsAndResets)
{
    const struct {
        const char* change;
        int currentRow; // before the change
        std::function<void(QStandardItemModel&)> act;
        QString ringedRow; // the row the ring goes round afterwards; empty: the whole table
    } cases[] = {
        { "a row above removed", 5, [](QStandardItemModel& m) { m.removeRows(1, 2); }, "r5" },
        { "the current row removed", 5, [](QStandardItemModel& m) { m.removeRow(5); }, "r4" },
        { "the last rows removed with the current one", 9, [](QStandardItemModel& m) { m.removeRows(7, 3); }, "r6" },
        { "rows inserted above", 4, [](QStandardItemModel& m) { m.insertRow(0, rowOf("new")); }, "r4" },
        { "rows moved", 2, [](QStandardItemModel& m) { m.moveRow({}, 8, {}, 0); }, "r2" },
        { "the model reset with new rows", 5,
            [](QStandardItemModel& m) {
                m.clear();
                for (int row = 0; row < 4; ++row)
                    m.appendRow(rowOf(QStringLiteral("n%1").arg(row)));
            },
            "" },
    };
    for (const auto& c : cases) {
        RingedTable table;
        ASSERT_TRUE(QTest::qWaitForWindowActive(&table.window));
        table.view->setFocus(Qt::TabFocusReason);
        table.view->setCurrentIndex(table.model.index(c.currentRow, 0));
        QCoreApplication::processEvents();
        ASSERT_EQ(FocusRing::ringedWidget(), table.view) << c.change;

        c.act(table.model);
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();

        const QRect ring = FocusRing::ringRect();
        if (c.ringedRow.isEmpty()) {
            EXPECT_FALSE(table.view->currentIndex().isValid()) << c.change;
            EXPECT_EQ(ring, table.view->rect()) << c.change;
            continue;
        }
        ASSERT_EQ(table.view->currentIndex().data().toString(), c.ringedRow) << c.change;
        const QRect shown = table.rowRect(c.ringedRow);
        EXPECT_TRUE(ring.contains(shown)) << c.change << ": ring " << ring.y() << ".." << ring.bottom() << ", row "
                                          << shown.y() << ".." << shown.bottom();
        EXPECT_LT(ring.height(), shown.height() + 8) << c.change;
    }
}

} // namespace
} // namespace vantrel
