// Show Logs on the summary of a run, pressed from the keyboard, opens the log viewer on that run,
// though another copy of the application wrote a run under the same stamp before it; and brings
// back a log window that its own buttons minimised or closed.
#include "KeyboardFixture.h"

#include <QAbstractItemView>

#include "core/DbManager/DBManager.h"
#include "core/Processing/ProcessingEngine.h"
#include "core/Processing/RunLogWriter.h"
#include "core/Processing/RunSummary.h"
#include "screens/Logs/LogWindow.h"
#include "support/NamedWidget.h"

namespace vantrel::test {
namespace {

QLabel* labelNamed(QWidget* root, const QString& accessibleName)
{
    for (QLabel* label : root->findChildren<QLabel*>()) {
        if (label->accessibleName() == accessibleName)
            return label;
    }
    return nullptr;
}

TEST_F(SheetKeyboardTest, ShowLogsOpensOnTheRunJustMadeThoughAnotherRunHasItsStamp)
{
    // The other copy's runs, one for each second in which this run may start: whichever second it
    // is, a run of the same stamp comes first in the log.
    const QString database = AppDelegate::shareDelegate()->dbManager->excludedatabasePath();
    const QDateTime now = QDateTime::currentDateTime();
    for (int second = -1; second <= 20; ++second) {
        const QString stamp = RunSummary::runStamp(now.addSecs(second));
        RunLogWriter::Run other { {}, { { "timeStamp", stamp }, { "imagesSelected", "1" } },
            { { { "timeStamp", stamp }, { "inputFilename", "/another/copy.jpg" } } } };
        ASSERT_TRUE(RunLogWriter(database).write(other).saved);
    }

    QTemporaryDir dir;
    constexpr int kPhotos = 3;
    QStringList paths;
    for (int i = 0; i < kPhotos; ++i) {
        paths << dir.filePath(QStringLiteral("photo%1.jpg").arg(i));
        ASSERT_TRUE(testimages::writePattern(paths.last(), 64, 48));
    }
    ASSERT_TRUE(convertByKeyboard(screen, paths, dir.filePath("out")));
    ProcessingEngine& engine = screen->engine();
    QWidget* showLogs = screen->bottomButton("btnShowLogs");
    ASSERT_TRUE(QTest::qWaitFor([&] { return !engine.isRunActive() && showLogs->isVisible(); }, 30000));
    ASSERT_LE(now.secsTo(QDateTime::currentDateTime()), 20) << "the run started after the other copy's runs";

    ASSERT_TRUE(tabTo(showLogs, 40)) << "Tab never reaches Show Logs";
    pressKey(Qt::Key_Return);
    ASSERT_TRUE(screen->winLogs() && QTest::qWaitFor([&] { return screen->winLogs()->isVisible(); }, 5000));
    QLabel* selected = labelNamed(screen->winLogs(), "Images selected");
    ASSERT_NE(selected, nullptr);
    EXPECT_EQ(selected->text(), QString::number(kPhotos));
    QAbstractItemView* table = nullptr;
    for (auto* view : screen->winLogs()->findChildren<QAbstractItemView*>())
        table = view->accessibleName() == "Photos of the run" ? view : table;
    ASSERT_NE(table, nullptr);
    ASSERT_EQ(table->model()->rowCount(), kPhotos);
    for (int row = 0; row < kPhotos; ++row)
        EXPECT_EQ(table->model()->index(row, 1).data().toString(), paths[row]);
}

TEST_F(SheetKeyboardTest, ShowLogsBringsBackTheLogWindowHowEverItsOwnButtonsLeftIt)
{
    screen->setUiOnTabChange(4);
    screen->setFinishVisible(true);
    auto* showLogs = qobject_cast<QAbstractButton*>(screen->bottomButton("btnShowLogs"));
    ASSERT_TRUE(showLogs && showLogs->isVisible());
    const auto click
        = [](QAbstractButton* button) { QTest::mouseClick(button, Qt::LeftButton, {}, button->rect().center()); };

    const struct {
        const char* name;
        QStringList buttons; ///< the log window's own buttons pressed, by accessible name
        bool zoomed; ///< the window comes back zoomed
    } cases[] = { { "minimised", { "Minimise" }, false }, { "zoomed, then minimised", { "Zoom", "Minimise" }, true },
        { "closed", { "Close" }, false } };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        click(showLogs);
        LogWindow* logs = screen->winLogs();
        ASSERT_TRUE(logs && QTest::qWaitForWindowActive(logs));
        for (const QString& name : c.buttons) {
            auto* button = named<QAbstractButton>(logs, name);
            ASSERT_TRUE(button && button->isVisible()) << name.toStdString();
            click(button);
        }
        QApplication::setActiveWindow(window); // the desktop gives the keyboard back to the main window
        ASSERT_TRUE(QTest::qWaitForWindowActive(window));

        click(showLogs);
        EXPECT_TRUE(logs->isVisible());
        EXPECT_FALSE(logs->windowState() & Qt::WindowMinimized) << "the log window stayed minimised";
        EXPECT_EQ(logs->isMaximized(), c.zoomed);
        EXPECT_TRUE(QTest::qWaitForWindowActive(logs)) << "the log window did not take the keyboard";
        if (logs->isMaximized())
            click(named<QAbstractButton>(logs, "Zoom"));
        click(named<QAbstractButton>(logs, "Close"));
    }
}

} // namespace
} // namespace vantrel::test
