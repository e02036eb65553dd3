// Sheets on a real X server: text typed as a user types it (Shift and Control pressed on their
// own) arrives whole in the overwrite sheet's rename field and the feedback form's e-mail field,
// Tab stays in the sheet, and Return answers with the sheet's default button.
#include <QApplication>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

#include "app/AppController.h"
#include "app/ApplicationSetup.h"
#include "app/MainScreen/MainScreenView.h"
#include "app/MainWindowController.h"
#include "components/Sheet.h"
#include "components/TitleBar/OvAppStoreWindow.h"
#include "core/AppDelegate.h"
#include "core/Catalogue.h"
#include "platform/NotificationCenter.h"
#include "screens/Processing/OverwriteAlertView.h"
#include "screens/Processing/ProcessingView.h"
#include "support/UserTyping.h"

namespace vantrel::test {
namespace {

TEST(SheetKeysXcbTest, TypedTextArrivesWholeAndReturnAnswersInTheSheet)
{
    AppController::Hooks hooks = ApplicationSetup::realHooks(*qApp);
    hooks.exitApplication = [] {};
    hooks.openUrl = [](const QUrl&) { return false; };
    AppController controller(hooks);
    controller.applicationDidFinishLaunching();
    auto* windows = dynamic_cast<MainWindowController*>(controller.mainWindow());
    ASSERT_TRUE(windows);
    OvAppStoreWindow* window = windows->windowMain();
    auto* screen = dynamic_cast<MainScreenView*>(windows->mainScreen());
    ASSERT_TRUE(screen);
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));

    OverwriteAlertView* overwrite = screen->vwProcessing()->overwriteAlertContent();
    QObject::disconnect(overwrite, &OverwriteAlertView::answered, screen->vwProcessing(), nullptr);
    QList<OverwriteAlertView::Answer> answers;
    QObject::connect(overwrite, &OverwriteAlertView::answered, window,
        [&answers](OverwriteAlertView::Answer answer) { answers.append(answer); });
    NotificationCenter::defaultCenter().post(QString::fromLatin1(kNotificationShowOverwriteAlert));
    Sheet* sheet = Sheet::activeSheet(window);
    ASSERT_TRUE(sheet);
    QLineEdit* rename = overwrite->txtRenamefileName();
    ASSERT_EQ(QApplication::focusWidget(), rename);
    controlKey(Qt::Key_A);
    typeAsUser("ab_cD");
    EXPECT_EQ(rename->text(), "ab_cD");
    for (qsizetype i = 0; i <= sheet->focusOrder().size(); ++i) {
        pressKey(Qt::Key_Tab);
        ASSERT_TRUE(overwrite->isAncestorOf(QApplication::focusWidget()));
    }
    rename->setFocus(Qt::MouseFocusReason);
    pressKey(Qt::Key_Return);
    EXPECT_EQ(answers, QList<OverwriteAlertView::Answer> { OverwriteAlertView::Answer::Rename });
    sheet->endSheet();
    AppDelegate::shareDelegate()->isSubWindowOpened = false;

    windows->showFeedBackWindow();
    sheet = Sheet::activeSheet(window);
    ASSERT_TRUE(sheet);
    auto* email = sheet->content()->findChild<QLineEdit*>("txtFBEmailID");
    ASSERT_TRUE(email);
    ASSERT_EQ(QApplication::focusWidget(), email);
    typeAsUser("aB<@&_");
    EXPECT_EQ(email->text(), "aB<@&_");
    pressKey(Qt::Key_Escape); // Cancel
    EXPECT_EQ(Sheet::activeSheet(window), nullptr);
}

} // namespace
} // namespace vantrel::test
