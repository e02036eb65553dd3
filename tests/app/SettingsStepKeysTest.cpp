// The settings step driven from the keyboard in the main window: Tab reads it column by column,
// and the output folder's panel gives the keyboard back to Browse with its ring.
#include "KeyboardFixture.h"

namespace vantrel::test {
namespace {

/// The accessible names Tab reaches inside `scope`, from its first control round to it again.
QStringList tabWalk(QWidget* scope)
{
    QStringList names;
    QWidget* first = ReadingOrder::controls(scope).value(0);
    if (!first)
        return names;
    first->setFocus(Qt::TabFocusReason);
    for (int i = 0; i < 60; ++i) {
        QWidget* focus = QApplication::focusWidget();
        if (focus && scope->isAncestorOf(focus))
            names << focus->accessibleName();
        pressKey(Qt::Key_Tab);
        if (QApplication::focusWidget() == first)
            break;
    }
    return names;
}

TEST_F(SheetKeyboardTest, SettingsStepTabsColumnByColumnInReadingOrder)
{
    screen->setUiOnTabChange(3);
    QApplication::processEvents();
    SettingView* settings = screen->vwSetting();
    // Every control of the step enabled: a format chosen to convert to, a folder to save to.
    for (const char* name : { "Convert to", "Save to folder" }) {
        QWidget* radio = byName(settings, name);
        ASSERT_NE(radio, nullptr) << name;
        radio->setFocus(Qt::TabFocusReason);
        pressKey(Qt::Key_Space);
    }
    // The left column (format, then file name) before the output folder beside it; a Reset link
    // with nothing to reset is disabled and left out.
    const QStringList expected { "Keep original format", "Convert to", "Choose format", "Reset format", "Choose naming",
        "Save beside the originals", "Save to folder", "Choose output folder", "Keep folder hierarchy",
        "Ask before overwriting files" };
    EXPECT_EQ(tabWalk(settings).join(", ").toStdString(), expected.join(", ").toStdString());
}

TEST_F(SheetKeyboardTest, BrowseGetsTheKeyboardBackWithItsRingAfterTheFolderPanel)
{
    QTemporaryDir out;
    screen->setUiOnTabChange(3);
    QApplication::processEvents();
    SettingView* settings = screen->vwSetting();
    QWidget* saveTo = byName(settings, "Save to folder");
    ASSERT_NE(saveTo, nullptr);
    saveTo->setFocus(Qt::TabFocusReason);
    pressKey(Qt::Key_Space);
    QWidget* browse = byName(settings, "Choose output folder");
    ASSERT_NE(browse, nullptr);

    const struct {
        const char* what;
        bool byKeys; // opened by Tab and Space; otherwise by a click
        QString typed; // the folder typed into the panel before Return; empty: Escape
        bool ringed; // the ring on Browse once the panel is gone
    } cases[] = {
        { "click, cancelled", false, {}, false }, // from another control, so the click moves the focus
        { "keys, cancelled", true, {}, true },
        { "keys, a folder chosen", true, out.path(), true },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.byKeys) {
            pressKey(Qt::Key_Tab, true); // off Browse, and back to it
            ASSERT_TRUE(tabTo(browse, 30));
            ASSERT_EQ(FocusRing::ringedWidget(), browse);
            pressKey(Qt::Key_Space);
        } else {
            QTest::mouseClick(browse, Qt::LeftButton);
        }
        QPointer<QFileDialog> panel;
        ASSERT_TRUE(
            QTest::qWaitFor([&] { return (panel = settings->folderPanel()) && panel->isActiveWindow(); }, 5000));
        QWidget* field = QApplication::focusWidget();
        ASSERT_TRUE(field && panel->isAncestorOf(field));
        if (!c.typed.isEmpty()) {
            QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
            QTest::keyClicks(field, c.typed);
            QTest::keyClick(field, Qt::Key_Return);
        } else {
            QTest::keyClick(field, Qt::Key_Escape);
        }
        ASSERT_TRUE(QTest::qWaitFor([&] { return !panel || !panel->isVisible(); }, 5000));
        ASSERT_TRUE(QTest::qWaitForWindowActive(window));
        QTest::qWait(50);
        EXPECT_EQ(QApplication::focusWidget(), browse);
        EXPECT_EQ(FocusRing::ringedWidget() == browse, c.ringed);
        if (!c.typed.isEmpty()) {
            QLabel* folder = nullptr;
            for (QLabel* label : settings->findChildren<QLabel*>())
                if (label->accessibleName() == "Output folder")
                    folder = label;
            ASSERT_NE(folder, nullptr);
            EXPECT_EQ(folder->text().toStdString(), c.typed.toStdString());
        }
    }
}

} // namespace
} // namespace vantrel::test
