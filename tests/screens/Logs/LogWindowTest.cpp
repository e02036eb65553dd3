// The log window from the keyboard: Escape closes it as its close button does, wherever the
// focus is inside it; Return and Enter press the focused log button.
#include <QAbstractButton>
#include <QApplication>
#include <QTest>

#include <gtest/gtest.h>

#include "components/ReadingOrder.h"
#include "core/DbManager/DBManager.h"
#include "screens/Logs/LogDetailView.h"
#include "screens/Logs/LogWindow.h"
#include "screens/support/RunFixture.h"
#include "support/UserTyping.h"

namespace vantrel {
namespace {

TEST(LogWindowTest, EscapeClosesTheWindowFromEachOfItsControls)
{
    LogWindow logs;
    logs.show();
    logs.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&logs));
    const QList<QWidget*> controls = ReadingOrder::controls(&logs);
    ASSERT_FALSE(controls.isEmpty());
    for (QWidget* control : controls) {
        SCOPED_TRACE(control->accessibleName().toStdString());
        if (!logs.isVisible()) {
            logs.show();
            logs.activateWindow();
            ASSERT_TRUE(QTest::qWaitForWindowActive(&logs));
        }
        control->setFocus(Qt::TabFocusReason);
        ASSERT_EQ(QApplication::focusWidget(), control);
        test::pressKey(Qt::Key_Escape);
        EXPECT_FALSE(logs.isVisible());
    }
}

// Each key on each log button, from the middle one of three runs: the button the ring is on is
// pressed, as Space presses it.
TEST(LogWindowTest, ReturnAndEnterPressTheFocusedLogButton)
{
    DBManager& db = screentest::emptyLogDatabase();
    for (const char* stamp : { "first", "middle", "last" })
        db.InsertDetailInLogSummaryTable({ { "timeStamp", stamp }, { "imagesSelected", "1" } });

    LogWindow logs;
    logs.show();
    logs.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&logs));
    LogDetailView* view = logs.logDetailView();
    const struct {
        const char* button;
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        const char* shown;
    } cases[] = {
        { "Previous log", Qt::Key_Return, Qt::NoModifier, "first" },
        { "Previous log", Qt::Key_Enter, Qt::KeypadModifier, "first" },
        { "Previous log", Qt::Key_Space, Qt::NoModifier, "first" },
        { "Next log", Qt::Key_Return, Qt::NoModifier, "last" },
        { "Next log", Qt::Key_Enter, Qt::KeypadModifier, "last" },
        { "Next log", Qt::Key_Space, Qt::NoModifier, "last" },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.button) + " " + QKeySequence(c.key).toString().toStdString());
        view->initWithLogTimeStamp("middle");
        QAbstractButton* button = nullptr;
        for (QAbstractButton* candidate : logs.findChildren<QAbstractButton*>())
            if (candidate->accessibleName() == QLatin1String(c.button))
                button = candidate;
        ASSERT_TRUE(button);
        button->setFocus(Qt::TabFocusReason);
        ASSERT_EQ(QApplication::focusWidget(), button);
        test::keyDown(c.key, c.modifiers);
        test::keyUp(c.key, c.modifiers);
        const DbRows& runs = view->model().arrLogSummaries();
        const int shown = view->model().selectedLogIndex();
        ASSERT_TRUE(shown >= 0 && shown < runs.size());
        EXPECT_EQ(runs[shown].value("timeStamp").toStdString(), c.shown);
        EXPECT_TRUE(logs.isVisible());
    }
}

} // namespace
} // namespace vantrel
