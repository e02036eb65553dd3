// Sheets on a real X server: text typed as a user types it (Shift and Control pressed on their
// own) arrives whole in the overwrite sheet's rename field and the feedback form's e-mail field,
// Tab stays in the sheet, and Return answers with the focused button, else the sheet's default.
#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

#include "LaunchedApp.h"
#include "app/MainScreen/AlertSheetView.h"
#include "app/MainScreen/MainScreenView.h"
#include "app/MainWindowController.h"
#include "components/Sheet.h"
#include "components/TitleBar/OvAppStoreWindow.h"
#include "core/AppDelegate.h"
#include "core/Catalogue.h"
#include "platform/NotificationCenter.h"
#include "screens/AddPhotos/AddPhotosVC.h"
#include "screens/Batch/BatchArea.h"
#include "screens/Batch/BatchBrowser.h"
#include "screens/Processing/OverwriteAlertView.h"
#include "screens/Processing/ProcessingView.h"
#include "support/UserTyping.h"
#include "support/WindowShot.h"

namespace vantrel::test {
namespace {

TEST(SheetKeysXcbTest, TypedTextArrivesWholeAndReturnAnswersInTheSheet)
{
    LaunchedApp app;
    ASSERT_TRUE(app.ok());
    MainWindowController* windows = app.windows();
    OvAppStoreWindow* window = app.window();
    MainScreenView* screen = app.screen();
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
    shoot(window, "sheet-overwrite");
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
    shoot(window, "sheet-feedback");
    pressKey(Qt::Key_Escape); // Cancel
    EXPECT_EQ(Sheet::activeSheet(window), nullptr);

    // The alerts with a Cancel, and a sheet without a field: focus on the default button.
    screen->winAlert()->setButtonHandler([](AlertButton) {});
    for (int tag : { 119, 120, 122 }) {
        screen->showAlertWithTag(tag);
        ASSERT_TRUE(Sheet::activeSheet(window));
        EXPECT_EQ(QApplication::focusWidget(), static_cast<QWidget*>(Sheet::activeSheet(window)->defaultButton()));
        shoot(window, QStringLiteral("sheet-alert-%1").arg(tag));
        pressKey(Qt::Key_Tab);
        shoot(window, QStringLiteral("sheet-alert-%1-tab").arg(tag));
        Sheet::activeSheet(window)->endSheet();
    }
    // "Remove all Photos" opens on No, which keeps the batch; Return presses the button the ring
    // is on, not the default one: Yes once Tab moved there.
    QList<AlertButton> tapped;
    screen->winAlert()->setButtonHandler([&tapped](AlertButton button) { tapped.append(button); });
    screen->showAlertWithTag(114);
    ASSERT_TRUE(Sheet::activeSheet(window));
    ASSERT_EQ(QApplication::focusWidget(), static_cast<QWidget*>(screen->winAlert()->button(AlertButton::No)));
    shoot(window, "sheet-alert-114-no-focused");
    pressKey(Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), static_cast<QWidget*>(screen->winAlert()->button(AlertButton::Yes)));
    pressKey(Qt::Key_Return);
    EXPECT_TRUE(tapped == QList<AlertButton> { AlertButton::Yes }) << "Return pressed another button than Yes";
    Sheet::activeSheet(window)->endSheet();

    // A file the desktop could not show is told on the same alert sheet; Escape acknowledges it.
    tapped.clear();
    NotificationCenter::defaultCenter().post(QString::fromLatin1(kNotificationShowMessageAlert),
        { { QString::fromLatin1(kUserInfoTitle), QStringLiteral("FILE NOT SHOWN") },
            { QString::fromLatin1(kUserInfoMessage),
                QStringLiteral("\"b.png\" could not be opened: no application to open it was found.") } });
    ASSERT_TRUE(Sheet::activeSheet(window));
    EXPECT_EQ(Sheet::activeSheet(window)->content(), static_cast<QWidget*>(screen->winAlert()));
    shoot(window, "sheet-file-not-shown");
    pressKey(Qt::Key_Escape);
    EXPECT_TRUE(tapped == QList<AlertButton> { AlertButton::Ok }) << "Escape did not acknowledge";
    Sheet::activeSheet(window)->endSheet();

    windows->showLoadLastSessionWindow();
    shoot(window, "sheet-last-session");
    Sheet::activeSheet(window)->endSheet();
    BatchBrowser* browser = screen->addPhotosScreen()->batchViewsArea()->browser();
    browser->showNoNewPhotosAlert("No Photos to Add", "There are no new photos to add", AlertSheetButton::Ok);
    shoot(window, "sheet-no-new-photos");
    browser->hideNoNewPhotosAlert();
    screen->addPhotosScreen()->showProgressSheet();
    shoot(window, "sheet-adding-photos");
    screen->addPhotosScreen()->endProgressSheet();
    AppDelegate::shareDelegate()->isSubWindowOpened = false;
}

} // namespace
} // namespace vantrel::test
