// The log viewer's model over a log database written by real runs of the engine, and its paged
// loading over a database filled directly.
#include <QAbstractButton>
#include <QApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>
#include <sqlite3.h>

#include "core/AppDelegate.h"
#include "core/DbManager/DBManager.h"
#include "core/Processing/RunLogWriter.h"
#include "core/Processing/RunSummary.h"
#include "platform/Sqlite.h"
#include "screens/Logs/LogDetailModel.h"
#include "screens/Logs/LogDetailView.h"
#include "screens/support/RunFixture.h"

namespace vantrel {
namespace {

using namespace screentest;

QByteArray fileDigest(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
}

QLabel* labelNamed(QWidget& root, const QString& accessibleName)
{
    for (QLabel* label : root.findChildren<QLabel*>()) {
        if (label->accessibleName() == accessibleName)
            return label;
    }
    return nullptr;
}

// Three runs of 2, 3 and 1 photos, a minute apart, written by the engine into the log database.
QStringList writeThreeRuns(const QString& root)
{
    auto clock = std::make_shared<SetClock>();
    auto engine = makeEngine(clock);
    QStringList stamps;
    const int counts[] = { 2, 3, 1 };
    for (int run = 0; run < 3; ++run) {
        makeBatch(QStringLiteral("%1/in%2").arg(root).arg(run), counts[run]);
        clock->current = QDateTime(QDate(2026, 3, 4), QTime(10, run, 5));
        RunOptions options = halfSizeInto(QStringLiteral("%1/out%2").arg(root).arg(run));
        if (!engine->startProcess(options) || !waitForRunEnd(*engine))
            return {};
        stamps << engine->getLogDetails().value("timeStamp").toString();
    }
    return stamps;
}

TEST(LogDetailModelTest, RunsWrittenByTheEngineStepAndShowTheirRows)
{
    freshApplication();
    QTemporaryDir dir;
    const QStringList stamps = writeThreeRuns(dir.path());
    ASSERT_EQ(stamps.size(), 3);
    ASSERT_EQ(QSet<QString>(stamps.begin(), stamps.end()).size(), 3);
    const QString dbPath = AppDelegate::shareDelegate()->dbManager->excludedatabasePath();
    const QByteArray before = fileDigest(dbPath);

    LogDetailModel model;
    EXPECT_FALSE(model.initWithLogTimeStamp(""));
    EXPECT_FALSE(model.initWithLogTimeStamp("no such run"));
    EXPECT_EQ(model.selectedLogIndex(), -1);

    ASSERT_TRUE(model.initWithLogTimeStamp(stamps[2]));
    ASSERT_EQ(model.arrLogSummaries().size(), 3);
    for (int i = 0; i < 3; ++i) // the order in which the runs were written
        EXPECT_EQ(model.arrLogSummaries()[i].value("timeStamp"), stamps[i]);

    struct Step {
        std::function<void()> action;
        int index;
        bool prev, next;
        QString selected;
    };
    const Step steps[] = {
        { [] {}, 2, true, false, "1" },
        { [&] { model.btnNextLogTapped(); }, 2, true, false, "1" }, // nothing after the last
        { [&] { model.btnPrevLogTapped(); }, 1, true, true, "3" },
        { [&] { model.btnPrevLogTapped(); }, 0, false, true, "2" },
        { [&] { model.btnPrevLogTapped(); }, 0, false, true, "2" },
        { [&] { model.btnNextLogTapped(); }, 1, true, true, "3" },
    };
    for (const Step& s : steps) {
        s.action();
        EXPECT_EQ(model.selectedLogIndex(), s.index);
        EXPECT_EQ(model.isPrevEnabled(), s.prev);
        EXPECT_EQ(model.isNextEnabled(), s.next);
        EXPECT_EQ(model.summaryText("imagesSelected"), s.selected);
        EXPECT_FALSE(model.isLoading()); // short runs arrive in the first page
    }

    // The run shown (index 1): its three rows in batch order, as stored.
    LogDetailsTableModel* rows = model.tableModel();
    ASSERT_EQ(rows->rowCount(), 3);
    const DbRows stored = AppDelegate::shareDelegate()->dbManager->getAllLogDetailsWhereTimestamp(stamps[1]);
    ASSERT_EQ(stored.size(), 3);
    for (int r = 0; r < 3; ++r) {
        EXPECT_EQ(rows->text(r, LogDetailsTableModel::Number), QString::number(r + 1));
        EXPECT_EQ(rows->text(r, LogDetailsTableModel::InputFile),
            QStringLiteral("%1/in1/photo%2.jpg").arg(dir.path()).arg(r + 1));
        EXPECT_EQ(rows->text(r, LogDetailsTableModel::OutputFile), stored[r].value("outputFilename"));
        EXPECT_EQ(rows->text(r, LogDetailsTableModel::Information), "Processed successfully.");
        EXPECT_EQ(rows->text(r, LogDetailsTableModel::Ratio), stored[r].value("ratio"));
        EXPECT_EQ(rows->data(rows->index(r, LogDetailsTableModel::InputFile), Qt::ToolTipRole).toString(),
            stored[r].value("inputFilename"));
        EXPECT_FALSE(rows->data(rows->index(r, LogDetailsTableModel::OldSize), Qt::ToolTipRole).isValid());
    }
    for (const QString& key : LogDetailModel::summaryKeys())
        EXPECT_EQ(model.summaryText(key), model.arrLogSummaries()[1].value(key)) << key.toStdString();

    // An unknown stamp leaves the run on show.
    EXPECT_FALSE(model.initWithLogTimeStamp("no such run"));
    EXPECT_EQ(model.selectedLogIndex(), 1);
    EXPECT_EQ(fileDigest(dbPath), before); // the viewer only reads
}

TEST(LogDetailModelTest, LongRunsLoadPageByPageWithoutOtherRunsOrStaleText)
{
    DBManager& db = emptyLogDatabase();
    for (const QString stamp : { "A_1", "AB1" }) // "_" is literal: A_1 must not match AB1
        db.InsertDetailInLogSummaryTable({ { "timeStamp", stamp }, { "imagesSelected", "x" }, { "newSize", "1-2" } });
    DbRows rows;
    for (int i = 0; i < 1200; ++i) {
        const QString stamp = i % 3 == 2 ? "AB1" : "A_1"; // the runs' rows interleave
        rows.append(
            { { "timeStamp", stamp }, { "inputFilename", QStringLiteral("/photos/f%1/p%2.jpg").arg(i % 7).arg(i) },
                { "outputFilename", " " }, { "information", "File skipped." }, { "save", i == 0 ? "1-2" : "-" } });
    }
    ASSERT_TRUE(db.InsertDetailInLogDetailsTable(rows));

    LogDetailModel model;
    int signalled = 0;
    QObject::connect(&model, &LogDetailModel::rowsLoaded, [&](int, bool) { ++signalled; });
    ASSERT_TRUE(model.initWithLogTimeStamp("A_1"));
    EXPECT_EQ(model.summaryText("newSize"), "1-2"); // an inner dash is shown as stored
    LogDetailsTableModel* table = model.tableModel();
    EXPECT_EQ(table->rowCount(), LogDetailModel::kFirstPageRows); // the first page at once
    EXPECT_TRUE(model.isLoading());
    while (model.loadNextPage(150)) { }
    EXPECT_FALSE(model.isLoading());
    ASSERT_EQ(table->rowCount(), 800);
    int r = 0;
    for (int i = 0; i < 1200; ++i) {
        if (i % 3 == 2)
            continue;
        ASSERT_EQ(
            table->text(r, LogDetailsTableModel::InputFile), QStringLiteral("/photos/f%1/p%2.jpg").arg(i % 7).arg(i));
        ++r;
    }
    EXPECT_EQ(table->text(0, LogDetailsTableModel::Save), "1-2");
    EXPECT_EQ(table->text(1, LogDetailsTableModel::Save), "-");
    EXPECT_EQ(table->text(799, LogDetailsTableModel::Number), "800");
    EXPECT_GE(signalled, 3);

    // Stepping to the other run starts again from its first row.
    model.btnNextLogTapped();
    EXPECT_TRUE(turnEventLoopUntil([&] { return !model.isLoading(); })); // the rest arrives by itself
    ASSERT_EQ(table->rowCount(), 400);
    EXPECT_EQ(table->text(0, LogDetailsTableModel::InputFile), "/photos/f2/p2.jpg");
}

// Two copies of the application that start their runs in the same second write the same stamp;
// each run still pages to its own rows, and a run written before runs were recorded to the stamp's
// rows that no recorded run holds.
TEST(LogDetailModelTest, RunsOfTheSameStampEachPageToTheirOwnRows)
{
    DBManager& db = emptyLogDatabase();
    const auto inputsOf = [](const QString& folder, int count) {
        QStringList inputs;
        for (int i = 0; i < count; ++i)
            inputs << QStringLiteral("/%1/p%2.jpg").arg(folder).arg(i);
        return inputs;
    };
    const auto detailsOf = [](const QString& stamp, const QStringList& inputs) {
        DbRows rows;
        for (const QString& input : inputs)
            rows.append({ { "timeStamp", stamp }, { "inputFilename", input } });
        return rows;
    };
    // Written the way runs were written before they were recorded: summaries, then details.
    const QStringList unrecorded = inputsOf("unrecorded", 2);
    for (const QString stamp : { "S", "older" })
        ASSERT_TRUE(db.InsertDetailInLogSummaryTable({ { "timeStamp", stamp } }));
    ASSERT_TRUE(db.InsertDetailInLogDetailsTable(detailsOf("S", unrecorded) + detailsOf("older", { "/older/p.jpg" })));

    struct Run {
        QString stamp;
        QStringList inputs;
    };
    const QList<Run> written = { { "S", inputsOf("first", 3) }, { "S", inputsOf("second", 700) },
        { "T", inputsOf("third", 1) }, { "S", inputsOf("fourth", 0) } };
    for (const Run& run : written) {
        RunLogWriter::Run rows { {}, { { "timeStamp", run.stamp } }, detailsOf(run.stamp, run.inputs) };
        ASSERT_TRUE(RunLogWriter(db.excludedatabasePath()).write(rows).saved);
    }

    const QList<Run> pages
        = { { "S", unrecorded }, { "older", { "/older/p.jpg" } }, written[0], written[1], written[2], written[3] };
    LogDetailModel model;
    ASSERT_TRUE(model.initWithLogTimeStamp("S"));
    ASSERT_EQ(model.arrLogSummaries().size(), pages.size());
    for (int index = 0; index < pages.size(); ++index) {
        SCOPED_TRACE(index);
        if (index > 0)
            model.btnNextLogTapped();
        ASSERT_EQ(model.selectedLogIndex(), index);
        while (model.loadNextPage(150)) { } // the second run takes several pages
        QStringList shown;
        for (int r = 0; r < model.tableModel()->rowCount(); ++r)
            shown << model.tableModel()->text(r, LogDetailsTableModel::InputFile);
        EXPECT_EQ(model.summaryText("timeStamp"), pages[index].stamp);
        EXPECT_EQ(shown.size(), pages[index].inputs.size());
        EXPECT_TRUE(shown == pages[index].inputs)
            << "shown from " << shown.value(0).toStdString() << " to " << shown.value(shown.size() - 1).toStdString();
    }
}

// Runs the engine ends in the same second share their stamp: the viewer opened for a run's
// identity shows that run, summary and rows; a run without an identity is found by its stamp; a
// run whose rows still wait (another copy held the log) shows nothing until they are written.
TEST(LogDetailModelTest, TheViewerOpensOnTheRunOfTheIdentityTheEngineGives)
{
    freshApplication();
    QTemporaryDir dir;
    auto clock = std::make_shared<SetClock>();
    clock->current = QDateTime(QDate(2026, 3, 4), QTime(10, 0, 5));
    auto engine = makeEngine(clock);
    const int counts[] = { 2, 3 };
    QStringList ids;
    QString stamp;
    for (int run = 0; run < 2; ++run) {
        makeBatch(QStringLiteral("%1/in%2").arg(dir.path()).arg(run), counts[run]);
        ASSERT_TRUE(engine->startProcess(halfSizeInto(QStringLiteral("%1/out%2").arg(dir.path()).arg(run))));
        ASSERT_TRUE(waitForRunEnd(*engine));
        const QVariantMap details = engine->getLogDetails();
        ASSERT_TRUE(stamp.isEmpty() || details.value("timeStamp").toString() == stamp);
        stamp = details.value("timeStamp").toString();
        ids << details.value("runId").toString();
    }
    ASSERT_FALSE(ids[0].isEmpty());
    ASSERT_NE(ids[0], ids[1]);

    // A third run of the stamp ends while another connection holds the log: its rows wait.
    const QString database = AppDelegate::shareDelegate()->dbManager->excludedatabasePath();
    const QString waitingInput = dir.filePath("in2/waiting.jpg");
    const RunLogWriter::Run waitingRun { {}, { { "timeStamp", stamp }, { "imagesSelected", "1" } },
        { { { "timeStamp", stamp }, { "inputFilename", waitingInput } } } };
    SqliteDatabase holder;
    ASSERT_TRUE(holder.open(database, SQLITE_OPEN_READWRITE));
    ASSERT_TRUE(holder.exec("BEGIN EXCLUSIVE TRANSACTION"));
    const RunLogWriter::Outcome waiting = RunLogWriter(database, std::chrono::milliseconds(50)).write(waitingRun);
    ASSERT_TRUE(holder.exec("COMMIT"));
    ASSERT_FALSE(waiting.saved);
    ASSERT_TRUE(waiting.kept);
    ids << waiting.runId;

    struct Open {
        QString runId;
        bool rowsWritten; ///< a later write has taken the waiting rows into the log
        int run; ///< the run shown; -1: none
    };
    const Open opens[] = { { ids[1], false, 1 }, { ids[0], false, 0 }, { QString(), false, 0 }, { ids[2], false, -1 },
        { "no such identity", false, -1 }, { ids[2], true, 2 } };
    for (const Open& open : opens) {
        SCOPED_TRACE(open.runId.toStdString());
        if (open.rowsWritten) {
            RunLogWriter::Run later { {}, { { "timeStamp", "later" } }, {} };
            ASSERT_TRUE(RunLogWriter(database).write(later).saved);
        }
        LogDetailModel model;
        EXPECT_EQ(model.initWithLogRun(open.runId, stamp), open.run >= 0);
        EXPECT_EQ(model.selectedLogIndex(), open.run);
        if (open.run < 0) {
            EXPECT_EQ(model.tableModel()->rowCount(), 0) << "another run of the stamp was shown";
            continue;
        }
        QStringList inputs { waitingInput };
        if (open.run < 2) {
            inputs.clear();
            for (int r = 0; r < counts[open.run]; ++r)
                inputs << QStringLiteral("%1/in%2/photo%3.jpg").arg(dir.path()).arg(open.run).arg(r + 1);
        }
        EXPECT_EQ(model.summaryText("imagesSelected"), QString::number(inputs.size()));
        QStringList shown;
        for (int r = 0; r < model.tableModel()->rowCount(); ++r)
            shown << model.tableModel()->text(r, LogDetailsTableModel::InputFile);
        EXPECT_EQ(shown, inputs);
    }
}

TEST(LogDetailModelTest, TheViewCountsItsRowsInWordsAndTabLeavesItsTable)
{
    DBManager& db = emptyLogDatabase();
    const struct {
        const char* stamp;
        int rows;
        const char* shown;
    } cases[] = { { "none", 0, "0 photos" }, { "one", 1, "1 photo" }, { "two", 2, "2 photos" } };
    for (const auto& c : cases) {
        db.InsertDetailInLogSummaryTable({ { "timeStamp", c.stamp }, { "imagesSelected", QString::number(c.rows) } });
        DbRows rows;
        for (int i = 0; i < c.rows; ++i)
            rows.append({ { "timeStamp", c.stamp }, { "inputFilename", QStringLiteral("/in/p%1.jpg").arg(i) } });
        if (!rows.isEmpty()) {
            ASSERT_TRUE(db.InsertDetailInLogDetailsTable(rows));
        }
    }

    LogDetailView view;
    view.resize(1000, 600);
    view.show();
    QLabel* count = labelNamed(view, "Rows loaded");
    ASSERT_TRUE(count);
    for (const auto& c : cases) {
        view.initWithLogTimeStamp(c.stamp);
        EXPECT_EQ(view.tblLogs()->model()->rowCount(), c.rows) << c.stamp;
        EXPECT_EQ(count->text(), c.shown) << c.stamp;
    }
    EXPECT_EQ(LogDetailModel::rowCountText(1, false), "Loading… 1 photo");

    // Tab leaves the table for the log buttons instead of walking its cells.
    view.initWithLogTimeStamp("one"); // between the other two: both buttons lead somewhere
    view.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&view));
    view.tblLogs()->setFocus(Qt::TabFocusReason);
    QTest::keyClick(view.tblLogs(), Qt::Key_Tab);
    EXPECT_TRUE(QApplication::focusWidget() == view.btnPrevLog() || QApplication::focusWidget() == view.btnNextLog());
}

// While another copy of the application holds the log, the viewer gives up after a moment and
// says so with nothing else on show; once the log is free, opening or stepping shows the rows.
TEST(LogDetailModelTest, ABusyLogIsSaidPromptlyAndItsRowsShowOnceFree)
{
    DBManager& db = emptyLogDatabase();
    for (const QString stamp : { "run1", "run2" }) {
        db.InsertDetailInLogSummaryTable({ { "timeStamp", stamp }, { "imagesSelected", "2" } });
        ASSERT_TRUE(db.InsertDetailInLogDetailsTable({ { { "timeStamp", stamp }, { "inputFilename", "/in/a.jpg" } },
            { { "timeStamp", stamp }, { "inputFilename", "/in/b.jpg" } } }));
    }
    LogDetailView view;
    view.resize(1000, 600);
    view.show();
    QLabel* busy = labelNamed(view, "Log busy");
    ASSERT_TRUE(busy);
    SqliteDatabase holder;
    ASSERT_TRUE(holder.open(db.excludedatabasePath(), SQLITE_OPEN_READWRITE));

    struct Case {
        const char* what;
        std::function<void()> open; // what the user does to see a run
        const char* shown; // the run shown once the log is free
    };
    const Case cases[] = {
        { "opening", [&] { view.initWithLogTimeStamp("run2"); }, "run2" },
        { "stepping", [&] { QTest::mouseClick(view.btnPrevLog(), Qt::LeftButton); }, "run1" },
    };
    view.initWithLogTimeStamp("run2");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(holder.exec("BEGIN EXCLUSIVE TRANSACTION"));
        QElapsedTimer waited;
        waited.start();
        c.open();
        // A deadline, not a measurement: the write budget of the log is several seconds.
        EXPECT_LT(waited.elapsed(), 2000);
        EXPECT_TRUE(busy->isVisible());
        EXPECT_EQ(busy->text().toStdString(),
            "The log is busy: another copy of Vantrel is writing to it. Try again in a moment.");
        EXPECT_FALSE(view.tblLogs()->isVisible());
        EXPECT_EQ(view.tblLogs()->model()->rowCount(), 0);
        EXPECT_EQ(view.summaryLabel("imagesSelected")->text().toStdString(), "");

        ASSERT_TRUE(holder.exec("COMMIT"));
        c.open();
        EXPECT_FALSE(busy->isVisible());
        EXPECT_TRUE(view.tblLogs()->isVisible());
        ASSERT_EQ(view.tblLogs()->model()->rowCount(), 2);
        EXPECT_EQ(view.tblLogs()->model()->index(1, 1).data().toString(), "/in/b.jpg");
        EXPECT_EQ(view.summaryLabel("imagesSelected")->text(), "2");
        EXPECT_EQ(view.model().arrLogSummaries().value(view.model().selectedLogIndex()).value("timeStamp"), c.shown);
    }
}

// At the smaller window sizes the information column still shows the message most rows carry
// whole; the paths give up the room (they elide in the middle).
TEST(LogDetailModelTest, TheInformationColumnShowsTheSuccessMessageWhole)
{
    freshApplication();
    LogDetailView view;
    const QString message = LogDetailModel::getMessageForstatus(1);
    for (const int width : { 900, 1200 }) {
        view.resize(width, 600);
        view.show();
        QApplication::processEvents();
        const QTableView* table = view.tblLogs();
        EXPECT_GE(table->columnWidth(3), table->fontMetrics().horizontalAdvance(message) + 12) << width;
        EXPECT_GE(table->columnWidth(1), table->columnWidth(3) * 3 / 4) << width;
    }
}

TEST(LogDetailModelTest, StatusTexts)
{
    const std::pair<int, const char*> texts[] = { { 0, "File not Processed." }, { 1, "Processed successfully." },
        { 2, "File not available at source directory." },
        { 7, "Output image dimension is too long, please reset the setiings." }, { 8, "File skipped." }, { 10, "-" },
        { 12, "Destination folder doesn't exist." }, { 13, "Invalid file name." }, { 99, "-" } };
    for (const auto& [status, text] : texts)
        EXPECT_EQ(LogDetailModel::getMessageForstatus(status), text);
}

} // namespace
} // namespace vantrel
