// Quitting while the log window covers the main window, on the real window: the save question is
// seen, asked once, holds the window while it is up, and leaves the window usable when cancelled.
#include "KeyboardFixture.h"

#include "support/NamedWidget.h"

#include "core/DataBeans/PhotoFile.h"
#include "screens/Logs/LogWindow.h"
#include "screens/Panes/FlipView.h"

namespace vantrel::test {
namespace {

QAbstractButton* buttonNamed(QWidget* root, const QString& name)
{
    return shownNamed<QAbstractButton>(root, name);
}

/// The sheets up on the window that show the save question.
int saveQuestionsUp(QWidget* window)
{
    int up = 0;
    for (Sheet* sheet : window->findChildren<Sheet*>()) {
        if (sheet->isActive() && sheet->content() && sheet->content()->accessibleName() == "Save session")
            ++up;
    }
    return up;
}

class QuitWithLogWindowTest : public SheetKeyboardTest {
protected:
    void SetUp() override
    {
        SheetKeyboardTest::SetUp();
        // A batch with changed settings: a quit asks whether to save the session.
        AppDelegate::shareDelegate()->arraySelectedImagesToProcess.append(std::make_shared<PhotoFile>());
        screen->vwFlip()->initSetup();
        screen->vwFlip()->setFlipSettongObject(1);
        ASSERT_TRUE(screen->ischangesMadeInSettings());
        // The run's last step, where Show Logs is offered.
        screen->setUiOnTabChange(4);
        screen->setFinishVisible(true);
    }

    /// Clicks Show Logs; the log window once it is up, else nullptr.
    LogWindow* showLogs()
    {
        QAbstractButton* showLogs = screen->bottomButton("btnShowLogs");
        if (!showLogs || !showLogs->isVisible())
            return nullptr;
        clickOn(showLogs);
        LogWindow* logs = screen->winLogs();
        if (!logs || !QTest::qWaitForWindowExposed(logs))
            return nullptr;
        return logs;
    }
};

TEST_F(QuitWithLogWindowTest, TheSaveQuestionIsSeenOnceAndCancelLeavesTheWindowUsable)
{
    LogWindow* logs = showLogs();
    ASSERT_TRUE(logs);
    ASSERT_TRUE(logs->isVisible());

    controlKey(Qt::Key_Q);
    ASSERT_EQ(saveQuestionsUp(window), 1) << "Ctrl+Q asked nothing";
    EXPECT_FALSE(logs->isVisible()) << "the log window stayed over the question";
    EXPECT_TRUE(QTest::qWaitForWindowActive(window)) << "the keyboard did not come back to the window";
    EXPECT_EQ(exits, 0);

    // The user closes the log window if it is still there: the question keeps the window.
    if (logs->isVisible())
        clickOn(logs->btnCloseWindow());
    EXPECT_TRUE(AppDelegate::shareDelegate()->isSubWindowOpened) << "closing the log window freed the window";
    QAbstractButton* minimise = buttonNamed(window, "Minimise");
    ASSERT_TRUE(minimise);
    clickOn(minimise);
    EXPECT_FALSE(window->windowState() & Qt::WindowMinimized) << "minimised under the question";
    window->showNormal();

    // A quit while a sheet is up quits at once; it never asks a second time.
    controlKey(Qt::Key_Q);
    EXPECT_EQ(saveQuestionsUp(window), 1);
    EXPECT_EQ(exits, 1);

    QAbstractButton* cancel = buttonNamed(Sheet::activeSheet(window), "Cancel");
    ASSERT_TRUE(cancel);
    clickOn(cancel);
    EXPECT_EQ(saveQuestionsUp(window), 0);
    EXPECT_EQ(Sheet::activeSheet(window), nullptr) << "the window stays dimmed";
    EXPECT_FALSE(AppDelegate::shareDelegate()->isSubWindowOpened);

    // The window answers clicks again: Show Logs opens the log window.
    logs->hide();
    EXPECT_TRUE(showLogs()) << "Show Logs did nothing after Cancel";
    EXPECT_TRUE(logs->isVisible());
    logs->close();
}

} // namespace
} // namespace vantrel::test
