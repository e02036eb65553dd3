// The processing view driving real runs of the engine over generated photos: progress, summary,
// the overwrite sheet's contents and answers, the rename field's rules, and the log window on
// the run that just ended.
#include <QAbstractButton>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>
#include <sqlite3.h>

#include "components/WyProgressIndicator.h"
#include "core/AppDelegate.h"
#include "core/Catalogue.h"
#include "core/DbManager/DBManager.h"
#include "core/Processing/ProcessingClock.h"
#include "core/Processing/ProcessingFileProbe.h"
#include "core/Processing/ProcessingLogDatabase.h"
#include "core/Processing/ProcessingPhotoPipeline.h"
#include "core/Processing/ProcessingSerialExecutor.h"
#include "platform/NotificationCenter.h"
#include "platform/Sqlite.h"
#include "platform/imaging/VipsInclude.h"
#include "screens/Logs/LogDetailView.h"
#include "screens/Logs/LogWindow.h"
#include "screens/Processing/ProcessingView.h"
#include "screens/support/RunFixture.h"
#include "support/TestImages.h"

namespace vantrel {
namespace {

using namespace screentest;
using Answer = OverwriteAlertView::Answer;

int widthOf(const QString& path)
{
    if (!QFile::exists(path))
        return 0;
    return vips::VImage::new_from_file(path.toUtf8().constData()).width();
}

TEST(ProcessingViewTest, RunShowsProgressSummaryAndItsLog)
{
    freshApplication();
    QTemporaryDir dir;
    ASSERT_EQ(makeBatch(dir.path() + "/in", 3).size(), 3);
    ProcessingView view(makeEngine());
    view.resize(900, 600);
    view.show();
    EXPECT_FALSE(view.progressIndicator()->isAnimating()); // idle before a run
    ASSERT_TRUE(view.engine().startProcess(halfSizeInto(dir.path() + "/out")));
    EXPECT_TRUE(view.progressIndicator()->isAnimating());
    EXPECT_TRUE(view.vwProcessingInfo()->isVisible());
    EXPECT_FALSE(view.vwProcessedInfo()->isVisible());
    EXPECT_FALSE(view.vwRecommendedApps()->isVisible());
    EXPECT_EQ(view.processTitle()->text(), "Processing...");
    EXPECT_TRUE(view.lblProcessInfoBottom()->accessibleDescription().startsWith("Process Completed: 0 %"));
    ASSERT_TRUE(waitForRunEnd(view.engine()));

    EXPECT_EQ(view.progressIndicator()->doubleValue(), 100);
    EXPECT_FALSE(view.progressIndicator()->isAnimating());
    EXPECT_FALSE(view.vwProcessingInfo()->isVisible());
    EXPECT_TRUE(view.vwProcessedInfo()->isVisible());
    EXPECT_TRUE(view.vwRecommendedApps()->isVisible());
    EXPECT_EQ(view.processTitle()->text(), "Summary");
    EXPECT_EQ(view.summaryLabel("imagesSelected")->text(), "3");
    EXPECT_EQ(view.summaryLabel("imagesConverted")->text(), "3");
    EXPECT_EQ(view.summaryLabel("conversionFailed")->text(), "0");
    for (const char* key : { "oldSize", "newSize", "totalOldSize", "timeElapsed" })
        EXPECT_FALSE(view.summaryLabel(key)->text().isEmpty()) << key;
    EXPECT_EQ(view.summaryLabel("oldSize")->text(), view.summaryLabel("totalOldSize")->text());
    const QString bottom = view.lblProcessInfoBottom()->accessibleDescription();
    EXPECT_TRUE(bottom.startsWith("Process Completed: 100 %  |  Error reported: 0  |  Time elapsed:"))
        << bottom.toStdString();
    EXPECT_TRUE(
        view.lblProcessInfoBottom()->text().contains("<span style=\"color: rgb(255, 255, 255);\">100 %</span>"));
    for (int i = 1; i <= 3; ++i)
        EXPECT_EQ(widthOf(QStringLiteral("%1/out/photo%2.jpg").arg(dir.path()).arg(i)), 48);

    // The log window opened on the run that just ended shows its rows.
    LogWindow logs;
    logs.show();
    logs.logDetailView()->initWithLogTimeStamp(view.getLogDetails().value("timeStamp").toString());
    QTableView* table = logs.logDetailView()->tblLogs();
    ASSERT_EQ(table->model()->rowCount(), 3);
    EXPECT_EQ(table->model()->index(2, 1).data().toString(), dir.path() + "/in/photo3.jpg");
    EXPECT_EQ(logs.logDetailView()->summaryLabel("imagesConverted")->text(), "3");
    EXPECT_FALSE(logs.logDetailView()->btnNextLog()->isEnabled());
    EXPECT_FALSE(logs.logDetailView()->btnPrevLog()->isEnabled());
    logs.btnCloseWindow()->click();
    EXPECT_FALSE(logs.isVisible());
}

QLabel* labelNamed(QWidget& root, const QString& accessibleName)
{
    for (QLabel* label : root.findChildren<QLabel*>())
        if (label->accessibleName() == accessibleName)
            return label;
    return nullptr;
}

TEST(ProcessingViewTest, ALogThatCannotBeSavedIsSaidUnderTheSummaryAndSavedWithTheNextRun)
{
    using namespace std::chrono_literals;
    freshApplication();
    QTemporaryDir dir;
    ASSERT_EQ(makeBatch(dir.path() + "/in", 2).size(), 2);
    const std::shared_ptr<DBManager> db = AppDelegate::shareDelegate()->dbManager;
    // A budget short enough that the held lock below outlasts it.
    ProcessingView view(ProcessingEngine::create({ std::make_shared<ProcessingPhotoPipeline>(),
        std::make_shared<ProcessingFileProbe>(), std::make_shared<ProcessingClock>(), nullptr,
        std::make_shared<ProcessingLogDatabase>(db, 100ms), std::make_shared<ProcessingSerialExecutor>() }));
    view.resize(900, 600);
    view.show();
    QLabel* notice = labelNamed(view, "Log notice");
    ASSERT_TRUE(notice);

    SqliteDatabase holder;
    ASSERT_TRUE(holder.open(db->excludedatabasePath(), SQLITE_OPEN_READWRITE));
    ASSERT_TRUE(holder.exec("BEGIN EXCLUSIVE TRANSACTION"));
    ASSERT_TRUE(view.engine().startProcess(halfSizeInto(dir.path() + "/out")));
    ASSERT_TRUE(waitForRunEnd(view.engine()));
    EXPECT_TRUE(notice->isVisible());
    EXPECT_EQ(
        notice->text(), "This run's log could not be saved (database is locked); it will be saved with the next run.");
    ASSERT_TRUE(holder.exec("COMMIT"));
    EXPECT_TRUE(db->getAllLogSummaries().isEmpty());

    ASSERT_EQ(makeBatch(dir.path() + "/in2", 1).size(), 1);
    ASSERT_TRUE(view.engine().startProcess(halfSizeInto(dir.path() + "/out2")));
    ASSERT_TRUE(waitForRunEnd(view.engine()));
    EXPECT_FALSE(notice->isVisible());
    const DbRows summaries = db->getAllLogSummaries();
    ASSERT_EQ(summaries.size(), 2);
    EXPECT_EQ(summaries[0].value("imagesSelected"), "2");
    EXPECT_EQ(summaries[1].value("imagesSelected"), "1");
    EXPECT_EQ(db->getAllLogDetailsWhereTimestamp(summaries[0].value("timeStamp")).size(),
        summaries[0].value("timeStamp") == summaries[1].value("timeStamp") ? 3 : 2);
}

TEST(ProcessingViewTest, EveryOverwriteAnswerThroughTheSheet)
{
    struct Case {
        Answer answer;
        int questions; // how often the sheet was shown for two existing outputs
        int converted;
        QStringList present; // output file names afterwards
        int photo1Width; // 10 when the existing file was kept, 48 when replaced
    };
    const Case cases[] = {
        { Answer::Replace, 2, 2, { "photo1.jpg", "photo2.jpg" }, 48 },
        { Answer::Skip, 2, 0, { "photo1.jpg", "photo2.jpg" }, 10 },
        { Answer::KeepBoth, 2, 2, { "photo1 (1).jpg", "photo1.jpg", "photo2 (1).jpg", "photo2.jpg" }, 10 },
        { Answer::Rename, 2, 2, { "photo1.jpg", "photo2.jpg", "renamed1.jpg", "renamed2.jpg" }, 10 },
        { Answer::SkipAll, 1, 0, { "photo1.jpg", "photo2.jpg" }, 10 },
        { Answer::ReplaceAll, 1, 2, { "photo1.jpg", "photo2.jpg" }, 48 },
        { Answer::KeepAll, 1, 2, { "photo1 (1).jpg", "photo1.jpg", "photo2 (1).jpg", "photo2.jpg" }, 10 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(int(c.answer));
        freshApplication();
        QTemporaryDir dir;
        ASSERT_EQ(makeBatch(dir.path() + "/in", 2).size(), 2);
        QDir().mkpath(dir.path() + "/out");
        for (int i = 1; i <= 2; ++i) // outputs that already exist, 10 pixels wide
            ASSERT_TRUE(testimages::writePattern(QStringLiteral("%1/out/photo%2.jpg").arg(dir.path()).arg(i), 10, 10));

        ProcessingView view(makeEngine());
        OverwriteAlertView* sheet = view.overwriteAlertContent();
        int questions = 0;
        QObject observer;
        NotificationCenter::defaultCenter().addObserver(
            &observer, kNotificationShowOverwriteAlert, [&](const Notification&) {
                ++questions;
                EXPECT_EQ(sheet->txtRenamefileName()->text(), QStringLiteral("photo%1").arg(questions));
                EXPECT_FALSE(sheet->lblErrorFileNewname()->isVisibleTo(sheet));
                // The sheet is answered after the question has been asked, as a user would.
                QTimer::singleShot(0, sheet, [&, sheet] {
                    if (c.answer == Answer::Rename) {
                        sheet->txtRenamefileName()->selectAll();
                        QTest::keyClicks(sheet->txtRenamefileName(), QStringLiteral("renamed%1").arg(questions));
                    }
                    sheet->button(c.answer)->click();
                });
            });
        ASSERT_TRUE(view.engine().startProcess(halfSizeInto(dir.path() + "/out")));
        ASSERT_TRUE(waitForRunEnd(view.engine()));
        EXPECT_EQ(questions, c.questions);
        EXPECT_EQ(view.summaryLabel("imagesConverted")->text(), QString::number(c.converted));
        EXPECT_EQ(QDir(dir.path() + "/out").entryList(QDir::Files, QDir::Name), c.present);
        EXPECT_EQ(widthOf(dir.path() + "/out/photo1.jpg"), c.photo1Width);
    }
}

TEST(ProcessingViewTest, RenameFieldRulesAndErrors)
{
    freshApplication();
    QTemporaryDir dir;
    ASSERT_EQ(makeBatch(dir.path() + "/in", 1, 400, 300).size(), 1);
    QDir().mkpath(dir.path() + "/out");
    ASSERT_TRUE(testimages::writePattern(dir.path() + "/out/photo1.jpg", 10, 10));
    ASSERT_TRUE(testimages::writePattern(dir.path() + "/out/taken.jpg", 10, 10));
    ProcessingView view(makeEngine());
    OverwriteAlertView* sheet = view.overwriteAlertContent();
    bool asked = false;
    QObject observer;
    NotificationCenter::defaultCenter().addObserver(
        &observer, kNotificationShowOverwriteAlert, [&](const Notification&) { asked = true; });
    ASSERT_TRUE(view.engine().startProcess(halfSizeInto(dir.path() + "/out")));
    ASSERT_TRUE(turnEventLoopUntil([&] { return asked && view.engine().activeWorkers() == 0; }));
    // The photo whose output exists is shown (decoded on a worker).
    EXPECT_TRUE(turnEventLoopUntil([&] { return !sheet->imgCurrentExistFile()->pixmap().isNull(); }));

    QLineEdit* field = sheet->txtRenamefileName();
    struct Typed {
        QString typed, kept;
    };
    const Typed typed[]
        = { { "my:photo/1", "myphoto1" }, { QString(300, u'x'), QString(255, u'x') }, { "a.b.c", "abc" } };
    for (const Typed& t : typed) {
        field->clear();
        QTest::keyClicks(field, t.typed);
        EXPECT_EQ(field->text(), t.kept);
    }
    struct Attempt {
        QString name, error;
    };
    const Attempt attempts[] = { { "", "* File name can't be empty." },
        { "taken", "* File already exist with same name at destination folder." } };
    for (const Attempt& a : attempts) {
        field->setText(a.name);
        sheet->button(Answer::Rename)->click();
        EXPECT_EQ(sheet->lblErrorFileNewname()->text(), a.error);
        EXPECT_TRUE(sheet->lblErrorFileNewname()->isVisibleTo(sheet));
        EXPECT_TRUE(view.engine().isProcessOnHold()); // the question stays
    }
    field->setText("fresh");
    sheet->button(Answer::Rename)->click();
    EXPECT_FALSE(sheet->lblErrorFileNewname()->isVisibleTo(sheet));
    ASSERT_TRUE(waitForRunEnd(view.engine()));
    EXPECT_EQ(widthOf(dir.path() + "/out/fresh.jpg"), 200);
    EXPECT_EQ(widthOf(dir.path() + "/out/photo1.jpg"), 10);
}

TEST(ProcessingViewTest, StopEndsTheRunWithItsSummary)
{
    freshApplication();
    QTemporaryDir dir;
    ASSERT_EQ(makeBatch(dir.path() + "/in", 1).size(), 1);
    QDir().mkpath(dir.path() + "/out");
    ASSERT_TRUE(testimages::writePattern(dir.path() + "/out/photo1.jpg", 10, 10));
    ProcessingView view(makeEngine());
    bool asked = false;
    QObject observer;
    NotificationCenter::defaultCenter().addObserver(
        &observer, kNotificationShowOverwriteAlert, [&](const Notification&) { asked = true; });
    ASSERT_TRUE(view.engine().startProcess(halfSizeInto(dir.path() + "/out")));
    ASSERT_TRUE(turnEventLoopUntil([&] { return asked; }));
    view.stopButton()->click(); // on hold behind the question: Stop does nothing
    EXPECT_TRUE(view.engine().isRunActive());
    view.stopProcessing(); // the stop question's yes
    ASSERT_TRUE(waitForRunEnd(view.engine()));
    EXPECT_TRUE(view.vwProcessedInfo()->isVisibleTo(&view));
    EXPECT_EQ(view.summaryLabel("imagesConverted")->text(), "0");
    EXPECT_EQ(view.summaryLabel("newSize")->text(), "-");
    EXPECT_FALSE(view.summaryLabel("saveSpace")->isVisibleTo(&view));
}

} // namespace
} // namespace vantrel
