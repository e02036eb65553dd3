// The summary while the run's log waits for another copy of the application that holds the log
// database: it says the log is being saved until the write answers, and only then does the run
// end (Finish and Show Logs come with its end).
#include <QLabel>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <sqlite3.h>

#include "core/AppDelegate.h"
#include "core/Catalogue.h"
#include "core/DbManager/DBManager.h"
#include "platform/NotificationCenter.h"
#include "platform/Sqlite.h"
#include "screens/Processing/ProcessingView.h"
#include "screens/support/RunFixture.h"

namespace vantrel {
namespace {

using namespace screentest;

TEST(SummaryLogWaitTest, TheSummarySaysTheLogIsBeingSavedWhileItsWriteWaits)
{
    freshApplication();
    QTemporaryDir dir;
    ASSERT_EQ(makeBatch(dir.path() + "/in", 2).size(), 2);
    const std::shared_ptr<DBManager> db = AppDelegate::shareDelegate()->dbManager;
    ProcessingView view(makeEngine());
    view.resize(900, 600);
    view.show();
    QObject observer;
    int finished = 0;
    NotificationCenter::defaultCenter().addObserver(
        &observer, kNotificationsProcessFinished, [&](const Notification&) { ++finished; });

    SqliteDatabase holder;
    ASSERT_TRUE(holder.open(db->excludedatabasePath(), SQLITE_OPEN_READWRITE));
    ASSERT_TRUE(holder.exec("BEGIN EXCLUSIVE TRANSACTION"));
    ASSERT_TRUE(view.engine().startProcess(halfSizeInto(dir.path() + "/out")));
    ASSERT_TRUE(turnEventLoopUntil([&] { return view.vwProcessedInfo()->isVisible(); }));
    EXPECT_EQ(view.summaryLabel("imagesConverted")->text(), "2");
    EXPECT_TRUE(view.engine().isRunActive()) << "the write cannot have answered while the log is held";
    EXPECT_EQ(finished, 0);
    EXPECT_TRUE(view.lblLogNotice()->isVisible());
    EXPECT_EQ(view.lblLogNotice()->text().toStdString(), "Saving this run's log…");

    ASSERT_TRUE(holder.exec("COMMIT"));
    ASSERT_TRUE(waitForRunEnd(view.engine()));
    EXPECT_EQ(finished, 1);
    EXPECT_FALSE(view.lblLogNotice()->isVisible()) << view.lblLogNotice()->text().toStdString();
    EXPECT_EQ(db->getAllLogSummaries().size(), 1);
}

} // namespace
} // namespace vantrel
