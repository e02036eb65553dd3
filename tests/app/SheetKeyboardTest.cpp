// Every sheet of the application on the real main window, driven from the keyboard as a user
// drives it: focus enters the sheet, typed text arrives whole in each field (a lone Shift or
// Control press included), Tab and Shift+Tab stay inside, Return and Escape give the sheet's
// answers, no key reaches the window under the sheet, and focus goes back where it was.
#include "KeyboardFixture.h"

namespace vantrel::test {
namespace {

struct SheetCase {
    QString name;
    std::function<void()> open;
    QString firstFocus; ///< accessible name of the control focus enters
    QStringList fields; ///< accessible names of the sheet's text fields
    QString onReturn; ///< the button Return clicks; empty for none
    QString onEscape; ///< the button Escape clicks; empty for none
    std::function<void()> close = {}; ///< ends a sheet still up, as its owner does; else endSheet
};

TEST_F(SheetKeyboardTest, EverySheetTakesTheKeyboardWholeAndAnswersReturnAndEscape)
{
    // Escape gives Cancel, else No, else an only button that just acknowledges; never an answer
    // that removes photos or ends a run (102's OK ends the run that ran out of space).
    const QMap<int, QString> escapeOfAlert {
        { 100, "No" },
        { 101, "No" },
        { 102, "" },
        { 103, "" },
        { 104, "" },
        { 105, "" },
        { 106, "" },
        { 107, "OK" },
        { 109, "OK" },
        { 110, "OK" },
        { 111, "OK" },
        { 112, "OK" },
        { 113, "No" },
        { 114, "No" },
        { 115, "OK" },
        { 116, "OK" },
        { 117, "OK" },
        { 118, "OK" },
        { 119, "Cancel" },
        { 120, "Cancel" },
        { 121, "Cancel" },
        { 122, "No" },
        { 123, "OK" },
    };
    // Focus enters on the first button, except where Yes removes photos from the batch: there on
    // the answer that keeps them, so that Return alone removes nothing.
    const QMap<int, QString> focusOfAlert {
        { 113, "No" },
        { 114, "No" },
    };
    QList<SheetCase> cases;
    for (int tag = 100; tag <= 123; ++tag) {
        const auto alert = AlertCatalogue::alertForTag(tag, {});
        ASSERT_EQ(alert.has_value(), escapeOfAlert.contains(tag)) << tag;
        if (!alert)
            continue;
        const QString first = screen->winAlert()->button(alert->buttons.first())->accessibleName();
        const QString focus = focusOfAlert.value(tag, first);
        cases.append({ QStringLiteral("alert %1").arg(tag), [this, tag] { screen->showAlertWithTag(tag); }, focus, {},
            focus, escapeOfAlert.value(tag) });
    }
    cases.append({ "file not shown",
        [] {
            NotificationCenter::defaultCenter().post(QString::fromLatin1(kNotificationShowMessageAlert),
                { { QString::fromLatin1(kUserInfoTitle), "FILE NOT SHOWN" },
                    { QString::fromLatin1(kUserInfoMessage), "\"b.png\" could not be opened." } });
        },
        "OK", {}, "OK", "OK" });
    cases.append({ "overwrite",
        [] { NotificationCenter::defaultCenter().post(QString::fromLatin1(kNotificationShowOverwriteAlert)); },
        "New file name", { "New file name" }, "Rename", {},
        [] { NotificationCenter::defaultCenter().post(QString::fromLatin1(kNotificationHideOverwriteAlert)); } });
    ASSERT_TRUE(screen->addPhotosScreen());
    cases.append({ "adding photos", [this] { screen->addPhotosScreen()->showProgressSheet(); }, "Stop", {}, "Stop",
        "Stop", [this] { screen->addPhotosScreen()->endProgressSheet(); } });
    cases.append({ "feedback",
        [this] {
            AppDelegate::shareDelegate()->isInternetAvailable = true; // Submit checks the fields
            windows->showFeedBackWindow();
        },
        "Email Address", { "Email Address", "Share your experience" }, "Submit", "Cancel" });
    BatchBrowser* browser = screen->addPhotosScreen()->batchViewsArea()->browser();
    cases.append({ "no new photos, remove",
        [browser] { browser->showNoNewPhotosAlert("Title", "Message", AlertSheetButton::RemoveFromBatch); },
        "Remove from Batch", {}, "Remove from Batch", {} });
    cases.append({ "no new photos, ok",
        [browser] { browser->showNoNewPhotosAlert("Title", "Message", AlertSheetButton::Ok); }, "OK", {}, "OK", "OK" });
    cases.append({ "rating",
        [this] {
            // The prompt shows only where a review page exists; no request is made.
            qputenv("VANTREL_CONTENT_URL", "http://127.0.0.1:9/");
            Defaults::standard().removeObjectForKey(QString::fromLatin1(kDefaultsRateMeCount));
            windows->showAlertForRateApp();
            qunsetenv("VANTREL_CONTENT_URL");
        },
        "Rate Vantrel", {}, "Rate Vantrel", "No, Thanks", [this] { windows->btnNoOnRateUsTapped(); } });
    cases.append({ "last session", [this] { windows->showLoadLastSessionWindow(); }, "Load Last Session", {},
        "Load Last Session", {} });
    cases.append({ "save session", [this] { windows->showSaveSessionWindow(); }, "Save", {}, "Save", "Cancel" });

    LeakedKeys leaked(window);
    for (const SheetCase& c : cases) {
        SCOPED_TRACE(c.name.toStdString());
        // Focus starts on a control of the main screen, which it returns to.
        const QList<QWidget*> under = ReadingOrder::controls(screen->mainScreenWidget());
        ASSERT_FALSE(under.isEmpty());
        QWidget* before = under.last();
        before->setFocus(Qt::TabFocusReason);
        ASSERT_EQ(QApplication::focusWidget(), before);

        c.open();
        Sheet* sheet = Sheet::activeSheet(window);
        ASSERT_TRUE(sheet);
        QWidget* content = sheet->content();
        QWidget* focus = QApplication::focusWidget();
        ASSERT_TRUE(focus && content->isAncestorOf(focus));
        EXPECT_EQ(focus->accessibleName().toStdString(), c.firstFocus.toStdString());
        EXPECT_EQ(FocusRing::ringedWidget(), focus);

        QString answers;
        auto recorder = std::make_unique<QObject>();
        const auto record = [&answers, &recorder](QWidget* from) {
            for (QAbstractButton* button : from->findChildren<QAbstractButton*>())
                QObject::connect(button, &QAbstractButton::clicked, recorder.get(),
                    [&answers, button] { answers += button->accessibleName() + ";"; });
        };
        record(content);

        const QList<QWidget*> order = sheet->focusOrder();
        const int limit = int(order.size()) + 1;
        for (const QString& name : c.fields) {
            QWidget* field = byName(content, name);
            ASSERT_TRUE(field) << name.toStdString();
            ASSERT_TRUE(tabTo(field, limit)) << name.toStdString();
            EXPECT_EQ(FocusRing::ringedWidget(), field);
            controlKey(Qt::Key_A);
            pressKey(Qt::Key_Backspace);
            typeAsUser(QString::fromLatin1(kTyped));
            EXPECT_EQ(textOf(field).toStdString(), kTyped) << name.toStdString();
            controlKey(Qt::Key_A);
            typeAsUser("New");
            EXPECT_EQ(textOf(field).toStdString(), "New") << name.toStdString();
            // The editing keys: copy and paste, Home and End, undo.
            controlKey(Qt::Key_A);
            controlKey(Qt::Key_C);
            pressKey(Qt::Key_End);
            controlKey(Qt::Key_V);
            pressKey(Qt::Key_Home);
            typeAsUser("x");
            EXPECT_EQ(textOf(field).toStdString(), "xNewNew") << name.toStdString();
            controlKey(Qt::Key_Z);
            EXPECT_EQ(textOf(field).toStdString(), "NewNew") << name.toStdString();
            EXPECT_EQ(QApplication::focusWidget(), field);
        }

        // Tab from the last control comes round to the first, Shift+Tab from the first to the last.
        ASSERT_TRUE(tabTo(order.last(), limit));
        pressKey(Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), order.first());
        pressKey(Qt::Key_Tab, true);
        EXPECT_EQ(QApplication::focusWidget(), order.last());
        for (int i = 0; i < limit; ++i) {
            pressKey(Qt::Key_Tab);
            ASSERT_TRUE(content->isAncestorOf(QApplication::focusWidget()));
        }

        // Closes the sheet if it is still up and opens it again, as it was at first.
        const auto reopen = [&] {
            if (Sheet* still = Sheet::activeSheet(window))
                c.close ? c.close() : still->endSheet();
            EXPECT_EQ(QApplication::focusWidget(), before) << "focus goes back when the sheet ends";
            AppDelegate::shareDelegate()->isSubWindowOpened = false;
            c.open();
            sheet = Sheet::activeSheet(window);
            if (sheet && sheet->content() != content) { // a form made anew each time it opens
                content = sheet->content();
                record(content);
            }
            return sheet != nullptr;
        };

        // Return from the first control (a field, else the default button) gives the default.
        sheet->focusFirstControl();
        pressKey(Qt::Key_Return);
        EXPECT_EQ(answers.toStdString(), c.onReturn.isEmpty() ? "" : (c.onReturn + ";").toStdString());

        // Return on each focused button presses that button, whichever one is the default.
        QStringList buttons;
        for (QWidget* control : order) {
            if (qobject_cast<QPushButton*>(control))
                buttons.append(control->accessibleName());
        }
        for (const QString& name : std::as_const(buttons)) {
            SCOPED_TRACE(name.toStdString());
            ASSERT_TRUE(reopen());
            QWidget* button = byName(content, name);
            ASSERT_TRUE(button);
            ASSERT_TRUE(tabTo(button, limit));
            EXPECT_EQ(FocusRing::ringedWidget(), button);
            answers.clear();
            pressKey(Qt::Key_Return);
            EXPECT_EQ(answers.toStdString(), (name + ";").toStdString());
        }
        ASSERT_TRUE(reopen());
        answers.clear();
        sheet->focusFirstControl();
        pressKey(Qt::Key_Escape);
        EXPECT_EQ(answers.toStdString(), c.onEscape.isEmpty() ? "" : (c.onEscape + ";").toStdString());

        if (Sheet* still = Sheet::activeSheet(window))
            c.close ? c.close() : still->endSheet();
        AppDelegate::shareDelegate()->isSubWindowOpened = false;
        EXPECT_EQ(QApplication::focusWidget(), before) << "focus goes back when the sheet ends";
        EXPECT_EQ(FocusRing::ringedWidget(), before) << "with its ring, as it had one";
        EXPECT_EQ(leaked.leaks.join(", ").toStdString(), "");
        leaked.leaks.clear();
    }
}

TEST_F(SheetKeyboardTest, AnAlertInsideASheetHoldsTheKeyboardUntilItIsDismissed)
{
    AppDelegate::shareDelegate()->isInternetAvailable = false;
    windows->showFeedBackWindow();
    Sheet* sheet = Sheet::activeSheet(window);
    ASSERT_TRUE(sheet);
    QWidget* email = QApplication::focusWidget();
    ASSERT_EQ(email->accessibleName().toStdString(), "Email Address");
    pressKey(Qt::Key_Return); // Submit, offline: the form's alert
    QWidget* alert = sheet->content()->findChild<QWidget*>("formAlert");
    ASSERT_TRUE(alert && alert->isVisible());
    QWidget* ok = QApplication::focusWidget();
    ASSERT_TRUE(ok && alert->isAncestorOf(ok));
    EXPECT_EQ(ok->accessibleName().toStdString(), "OK");
    pressKey(Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), ok); // its only control
    typeAsUser("ab");
    EXPECT_EQ(textOf(email).toStdString(), ""); // the field under the alert takes nothing
    pressKey(Qt::Key_Escape); // the alert has no Cancel
    EXPECT_TRUE(alert->isVisible());
    pressKey(Qt::Key_Return);
    EXPECT_FALSE(alert->isVisible());
    EXPECT_EQ(QApplication::focusWidget(), email);
    pressKey(Qt::Key_Escape); // now the form's Cancel
    EXPECT_EQ(Sheet::activeSheet(window), nullptr);
}

TEST_F(SheetKeyboardTest, ALoneModifierMovesTheKeyboardNowhere)
{
    const QList<QWidget*> controls = ReadingOrder::controls(screen->mainScreenWidget());
    ASSERT_FALSE(controls.isEmpty());
    for (const Qt::Key modifier : { Qt::Key_Shift, Qt::Key_Control, Qt::Key_Alt, Qt::Key_Meta }) {
        controls.last()->setFocus(Qt::TabFocusReason);
        keyDown(modifier, Qt::NoModifier);
        keyUp(modifier, Qt::NoModifier);
        EXPECT_EQ(QApplication::focusWidget(), controls.last()) << modifier;
        EXPECT_EQ(FocusRing::ringedWidget(), controls.last()) << modifier;
    }
}

TEST_F(SheetKeyboardTest, OnlyTheMenusApplicationShortcutsPassASheet)
{
    int quits = 0;
    QObject::connect(windows->action("quit"), &QAction::triggered, window, [&quits] { ++quits; });
    screen->showAlertWithTag(117);
    ASSERT_TRUE(Sheet::activeSheet(window));
    controlKey(Qt::Key_Q);
    EXPECT_EQ(quits, 1);
    Sheet::activeSheet(window)->endSheet();
}

TEST_F(SheetKeyboardTest, TheRenameFieldKeepsItsHeightUnderEachErrorMessage)
{
    NotificationCenter::defaultCenter().post(QString::fromLatin1(kNotificationShowOverwriteAlert));
    Sheet* sheet = Sheet::activeSheet(window);
    ASSERT_TRUE(sheet);
    auto* overwrite = screen->vwProcessing()->overwriteAlertContent();
    QLineEdit* field = overwrite->txtRenamefileName();
    const int height = field->sizeHint().height();
    QApplication::processEvents();
    EXPECT_GE(field->height(), height);
    const int sheetHeight = overwrite->height();
    for (const char* message :
        { "* File name can't be empty.", "* File already exist with same name at destination folder." }) {
        SCOPED_TRACE(message);
        screen->vwProcessing()->setRenameError(QString::fromLatin1(message));
        QApplication::processEvents();
        EXPECT_TRUE(overwrite->lblErrorFileNewname()->isVisible());
        EXPECT_GE(field->height(), height);
        EXPECT_GT(overwrite->height(), sheetHeight); // the sheet grew for the line
        EXPECT_LE(overwrite->height(), sheet->height());
        EXPECT_TRUE(overwrite->rect().contains(overwrite->lblErrorFileNewname()->geometry()));
    }
    sheet->endSheet();
}

TEST_F(SheetKeyboardTest, OpenPanelsTakeTheKeyboardAndAnswerReturnAndEscape)
{
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkpath("Out_B"));
    const QString folder = dir.filePath("Out_B");
    AddPhotosVC* add = screen->addPhotosScreen();
    ASSERT_TRUE(add);
    const struct {
        const char* name;
        std::function<void()> open;
        QString typed; ///< what Return accepts
    } cases[] = {
        { "add folder", [add] { add->btnAddFolderTapped(); }, folder },
        { "add library", [add] { add->btnAddIphotosTapped(); }, folder },
        { "output folder", [this] { screen->vwSetting()->btnSelectFolderTapped(); }, folder },
        { "add photos", [add] { add->btnAddPhotosTapped(); }, folder + "/Photo_B.jpg" },
    };
    QFile photo(folder + "/Photo_B.jpg");
    ASSERT_TRUE(photo.open(QIODevice::WriteOnly));
    photo.close();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        for (const bool accept : { false, true }) {
            c.open();
            auto* panel = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            ASSERT_TRUE(panel);
            // The window manager activates a new dialog; offscreen, the test does.
            panel->activateWindow();
            ASSERT_TRUE(QTest::qWaitFor([panel] { return QApplication::activeWindow() == panel; }));
            QSignalSpy finished(panel, &QDialog::finished);
            auto* name = panel->findChild<QLineEdit*>("fileNameEdit");
            ASSERT_TRUE(name);
            EXPECT_EQ(QApplication::focusWidget(), name);
            if (accept) {
                controlKey(Qt::Key_A);
                typeAsUser(c.typed);
                EXPECT_EQ(name->text(), c.typed);
                pressKey(Qt::Key_Return);
            } else {
                for (int i = 0; i < 12; ++i) {
                    pressKey(Qt::Key_Tab);
                    ASSERT_EQ(QApplication::focusWidget()->window(), panel);
                }
                pressKey(Qt::Key_Escape);
            }
            ASSERT_EQ(finished.count(), 1);
            EXPECT_EQ(finished.first().first().toInt(), accept ? QDialog::Accepted : QDialog::Rejected);
            QApplication::processEvents();
            AppDelegate::shareDelegate()->isSubWindowOpened = false;
        }
    }
}
} // namespace
} // namespace vantrel::test
