// The real main window for keyboard tests: the application started with its real hooks (quit and
// links recorded), the sheets' answers recorded rather than acted on, and helpers that find
// controls by accessible name and count keys that leak past a sheet.
#pragma once

#include <functional>

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include "app/AppController.h"
#include "app/ApplicationSetup.h"
#include "app/MainScreen/AlertSheetView.h"
#include "app/MainScreen/MainScreenView.h"
#include "app/MainTitleBarView.h"
#include "app/MainWindowController.h"
#include "components/AppLook.h"
#include "components/FocusRing.h"
#include "components/ReadingOrder.h"
#include "components/Sheet.h"
#include "components/TitleBar/OvAppStoreWindow.h"
#include "core/AppDelegate.h"
#include "core/Catalogue.h"
#include "core/Wizard/AlertCatalogue.h"
#include "platform/Defaults.h"
#include "platform/NotificationCenter.h"
#include "screens/AddPhotos/AddPhotosVC.h"
#include "screens/Batch/BatchArea.h"
#include "screens/Batch/BatchBrowser.h"
#include "screens/Batch/BatchGridView.h"
#include "screens/Batch/BatchListView.h"
#include "screens/Batch/PhotoInfoView.h"
#include "screens/Panes/ResizeView.h"
#include "screens/Panes/RotateView.h"
#include "screens/Panes/SettingView.h"
#include "screens/Processing/OverwriteAlertView.h"
#include "screens/Processing/ProcessingView.h"
#include "support/TestImages.h"
#include "support/UserTyping.h"

namespace vantrel::test {

inline constexpr char kTyped[] = "aB_@&Cd";

/// Counts the key events that reach the window's widgets outside its topmost sheet.
class LeakedKeys : public QObject {
public:
    explicit LeakedKeys(QWidget* window)
        : m_window(window)
    {
        qApp->installEventFilter(this);
    }
    ~LeakedKeys() override { qApp->removeEventFilter(this); }
    QStringList leaks;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        const auto type = event->type();
        if ((type == QEvent::KeyPress || type == QEvent::KeyRelease || type == QEvent::ShortcutOverride)
            && watched->isWidgetType()) {
            auto* widget = static_cast<QWidget*>(watched);
            Sheet* sheet = Sheet::activeSheet(m_window);
            if (sheet && widget->window() == m_window && widget != sheet && !sheet->isAncestorOf(widget))
                leaks.append(QStringLiteral("%1 key %2 to %3")
                                 .arg(int(type))
                                 .arg(static_cast<QKeyEvent*>(event)->key())
                                 .arg(widget->metaObject()->className()));
        }
        return false;
    }

private:
    QWidget* m_window;
};

inline QString textOf(QWidget* field)
{
    if (auto* line = qobject_cast<QLineEdit*>(field))
        return line->text();
    if (auto* plain = qobject_cast<QPlainTextEdit*>(field))
        return plain->toPlainText();
    return {};
}

inline QWidget* byName(QWidget* root, const QString& accessibleName)
{
    for (QWidget* widget : root->findChildren<QWidget*>()) {
        if (widget->accessibleName() == accessibleName && widget->isVisibleTo(root)
            && (widget->focusPolicy() & Qt::TabFocus))
            return widget;
    }
    return nullptr;
}

/// Presses Tab (or Shift+Tab) until `target` has focus; false when it never does.
inline bool tabTo(QWidget* target, int limit, bool backwards = false)
{
    for (int i = 0; i < limit && QApplication::focusWidget() != target; ++i)
        pressKey(Qt::Key_Tab, backwards);
    return QApplication::focusWidget() == target;
}

/// Drops `paths` on the add screen and waits until they are the batch, then on the settings step
/// lets `chooseOptions` (when given) set the step, sends the copies into `outputFolder` and presses
/// Return on Convert, reached by Tab. False, with the failure recorded, when a stage fails.
inline bool convertByKeyboard(MainScreenView* screen, const QStringList& paths, const QString& outputFolder,
    const std::function<void(SettingView*)>& chooseOptions = {})
{
    NotificationCenter::defaultCenter().post(kFileDragDropNotification, { { kUserInfoPaths, paths } });
    AddPhotosVC* add = screen->addPhotosScreen();
    const bool added = QTest::qWaitFor(
        [&] {
            return !add->isAddRunInProgress()
                && AppDelegate::shareDelegate()->arraySelectedImagesToProcess.size() == paths.size();
        },
        20000);
    EXPECT_TRUE(added) << "the photos never became the batch";
    if (!added)
        return false;
    screen->setUiOnTabChange(3);
    QApplication::processEvents();
    SettingView* settings = screen->vwSetting();
    if (chooseOptions)
        chooseOptions(settings);
    settings->btnOutputToFolderTapped();
    settings->folderPanelEnded(outputFolder);
    const bool reached = tabTo(screen->bottomButton("btnConvertOnSettingvw"), 40);
    EXPECT_TRUE(reached) << "Tab never reaches Convert";
    if (!reached)
        return false;
    pressKey(Qt::Key_Return);
    return true;
}

class SheetKeyboardTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        AppDelegate::resetShared();
        hooks = ApplicationSetup::realHooks(*qApp);
        hooks.exitApplication = [this] { ++exits; };
        hooks.openUrl = [](const QUrl&) { return false; };
        controller = std::make_unique<AppController>(hooks);
        controller->applicationDidFinishLaunching();
        windows = dynamic_cast<MainWindowController*>(controller->mainWindow());
        ASSERT_TRUE(windows);
        window = windows->windowMain();
        screen = dynamic_cast<MainScreenView*>(windows->mainScreen());
        ASSERT_TRUE(screen);
        ASSERT_TRUE(QTest::qWaitForWindowActive(window));
        // The answers are recorded, not acted on: the table is about the keyboard.
        screen->winAlert()->setButtonHandler([](AlertButton) {});
        QObject::disconnect(screen->vwProcessing()->overwriteAlertContent(), &OverwriteAlertView::answered,
            screen->vwProcessing(), nullptr);
    }

    AppController::Hooks hooks;
    std::unique_ptr<AppController> controller;
    MainWindowController* windows = nullptr;
    OvAppStoreWindow* window = nullptr;
    MainScreenView* screen = nullptr;
    int exits = 0;
};

} // namespace vantrel::test
