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

} // namespace
} // namespace vantrel::test
