// A photo library whose album file records no archive path, added twice on the real window: the
// second run both finds its photos already in the batch and reports the missing path. The user
// sees one question at a time, the second once the first is answered.
#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include "app/AppController.h"
#include "app/ApplicationSetup.h"
#include "app/MainScreen/MainScreenView.h"
#include "app/MainWindowController.h"
#include "components/Sheet.h"
#include "components/TitleBar/OvAppStoreWindow.h"
#include "core/AppDelegate.h"
#include "screens/AddPhotos/AddPhotosVC.h"
#include "support/LibraryFixtures.h"

namespace vantrel::test {
namespace {

/// The application's message boxes on screen.
QList<QMessageBox*> messagesUp()
{
    QList<QMessageBox*> up;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* box = qobject_cast<QMessageBox*>(widget); box && box->isVisible())
            up.append(box);
    }
    return up;
}

QAbstractButton* buttonNamed(QWidget* root, const QString& name)
{
    for (QAbstractButton* button : root->findChildren<QAbstractButton*>()) {
        if ((button->accessibleName() == name || button->text() == name) && button->isVisibleTo(root))
            return button;
    }
    return nullptr;
}

void clickOn(QAbstractButton* button)
{
    QTest::mouseClick(button, Qt::LeftButton, {}, button->rect().center());
}

TEST(AddLibraryTwice, TheQuestionsOfOneAddComeOneAtATime)
{
    AppDelegate::resetShared();
    AppController::Hooks hooks = ApplicationSetup::realHooks(*qApp);
    hooks.exitApplication = [] {};
    hooks.openUrl = [](const QUrl&) { return false; };
    AppController controller(hooks);
    controller.applicationDidFinishLaunching();
    auto* windows = dynamic_cast<MainWindowController*>(controller.mainWindow());
    ASSERT_TRUE(windows);
    OvAppStoreWindow* window = windows->windowMain();
    auto* screen = dynamic_cast<MainScreenView*>(windows->mainScreen());
    ASSERT_TRUE(screen && screen->addPhotosScreen());
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));

    QTemporaryDir dir;
    const QString package = dir.path() + "/Holiday.photolibrary";
    using namespace libraryfixtures;
    ASSERT_TRUE(buildVersionDatabase(package + "/Database/apdb/Library.apdb", { { 1, "v1", "m1", "p1" } },
        { { "m1", "2012/A.jpg" } }, { { "p1", QStringLiteral("Holiday") } }));
    ASSERT_TRUE(writePhoto(package + "/Masters/2012/A.jpg"));
    ASSERT_TRUE(writeAlbumFile(package + "/AlbumData.xml", std::nullopt, {}));

    const struct {
        const char* run;
        bool photosAlreadyThere; ///< the run raises its sheet before the missing path is told
    } runs[] = { { "first add", false }, { "same library again", true } };
    for (const auto& run : runs) {
        SCOPED_TRACE(run.run);
        ASSERT_TRUE(screen->addPhotosScreen()->addPhotosFromPathUrls({ QUrl::fromLocalFile(package) }, false));
        ASSERT_TRUE(QTest::qWaitFor([&] { return Sheet::activeSheet(window) || !messagesUp().isEmpty(); }, 10'000))
            << "the run asked nothing";
        QTest::qWait(50); // anything else the run's end raises is up by now
        if (run.photosAlreadyThere) {
            Sheet* sheet = Sheet::activeSheet(window);
            ASSERT_TRUE(sheet) << "no sheet about the photos already in the batch";
            EXPECT_TRUE(messagesUp().isEmpty()) << "the missing-path alert came up over the sheet";
            QAbstractButton* ok = buttonNamed(sheet, "OK");
            ASSERT_TRUE(ok);
            clickOn(ok);
            ASSERT_TRUE(QTest::qWaitFor([] { return !messagesUp().isEmpty(); }, 2000))
                << "the missing-path alert never followed the answered sheet";
        }
        EXPECT_EQ(Sheet::activeSheet(window), nullptr);
        const QList<QMessageBox*> up = messagesUp();
        ASSERT_EQ(up.size(), 1);
        QAbstractButton* ok = buttonNamed(up.first(), "OK");
        ASSERT_TRUE(ok);
        clickOn(ok);
        EXPECT_TRUE(QTest::qWaitFor([] { return messagesUp().isEmpty(); }, 2000));
    }
    EXPECT_EQ(AppDelegate::shareDelegate()->arraySelectedImagesToProcess.size(), 1);
}

} // namespace
} // namespace vantrel::test
