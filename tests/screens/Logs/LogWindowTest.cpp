// The log window from the keyboard: Escape closes it as its close button does, wherever the
// focus is inside it.
#include <QApplication>
#include <QTest>

#include <gtest/gtest.h>

#include "components/ReadingOrder.h"
#include "screens/Logs/LogWindow.h"
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

} // namespace
} // namespace vantrel
