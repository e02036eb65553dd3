// The panes' option lists worked from the keyboard and the pointer, through the window: keys go
// to the focused control as a user's do, and the list has them to itself while it is open.
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

#include "components/TorAttachedWindow.h"
#include "core/AppDelegate.h"
#include "core/Catalogue.h"
#include "core/DataBeans/ProjectSession.h"
#include "platform/Defaults.h"
#include "platform/KeyedArchiver.h"
#include "screens/Panes/OptionsPopup.h"
#include "screens/Panes/ResizeView.h"
#include "screens/Panes/SettingView.h"
#include "support/NamedWidget.h"

namespace vantrel {
namespace {

using test::named;

/// A key at the control that has the keyboard, as the window delivers it.
void key(int code, const QString& text = {})
{
    QWidget* focus = QApplication::focusWidget();
    ASSERT_TRUE(focus) << "nothing has the keyboard";
    if (text.isEmpty())
        QTest::keyClick(focus, Qt::Key(code));
    else
        QTest::keyClicks(focus, text);
}

class OptionsPopupKeysTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        AppDelegate::resetShared();
        window.resize(800, 560);
        view = new SettingView(&window);
        view->setGeometry(window.rect());
        window.show();
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
        view->initSetup();
        QTest::mouseClick(named<QRadioButton>(view, "Convert to"), Qt::LeftButton, {}, QPoint(6, 6));
        ASSERT_TRUE(named<QWidget>(view, "Choose format")->isEnabled());
    }

    QWidget window;
    SettingView* view = nullptr;
};

TEST_F(OptionsPopupKeysTest, KeysMoveTheHighlightChooseAndCloseAndReachNothingElse)
{
    struct Step {
        int key;
        QString text;
    };
    const struct Case {
        const char* opener;
        const char* shows; // the label that shows the choice
        std::vector<Step> keys; // after Space on the opener
        const char* shown; // the label's text at the end
        bool open; // the list still up at the end
        const char* focus = nullptr; // the control with the keyboard at the end; nullptr: the opener
    } cases[] = {
        { "Choose format", "Chosen format", { { Qt::Key_Down, {} }, { Qt::Key_Down, {} }, { Qt::Key_Return, {} } },
            "*.PNG", false },
        { "Choose format", "Chosen format", { { 0, "p" }, { Qt::Key_Space, {} } }, "*.PNG", false },
        { "Choose format", "Chosen format", { { 0, "j" }, { 0, "j" }, { Qt::Key_Enter, {} } }, "*.JPEG", false },
        { "Choose format", "Chosen format", { { Qt::Key_End, {} }, { Qt::Key_Up, {} }, { Qt::Key_Return, {} } },
            "*.BMP", false },
        { "Choose format", "Chosen format", { { Qt::Key_Down, {} }, { Qt::Key_Escape, {} } }, "*.TIF", false },
        { "Choose format", "Chosen format",
            { { Qt::Key_Tab, {} }, { Qt::Key_Backtab, {} }, { Qt::Key_Left, {} }, { Qt::Key_Right, {} } }, "*.TIF",
            true },
        { "Choose naming", "Chosen naming", { { Qt::Key_Down, {} }, { Qt::Key_Return, {} } },
            "[Original Name]_[Width]X[Height]", false },
        { "Choose naming", "Chosen naming", { { Qt::Key_Up, {} }, { Qt::Key_Up, {} }, { Qt::Key_Space, {} } },
            "Original Name", false },
        // A prefix or suffix is typed next: the keyboard goes on in its field.
        { "Choose naming", "Chosen naming", { { 0, "a" }, { 0, "a" }, { Qt::Key_Return, {} } }, "Add Suffix", false,
            "Prefix or suffix" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.opener) + " ending with \"" + c.shown + "\"");
        // Each case starts from the defaults: the first format and the first naming.
        view->formatSelectionChangedWithIndex(0);
        view->filenameSelectionChangedWithIndex(0);
        QWidget* opener = named<QWidget>(view, c.opener);
        opener->setFocus(Qt::TabFocusReason);
        const bool beside = named<QRadioButton>(view, "Save beside the originals")->isChecked();
        const bool toFolder = named<QRadioButton>(view, "Save to folder")->isChecked();
        key(Qt::Key_Space);
        ASSERT_TRUE(view->popup()->isOpen()) << "Space on the button opened no list";
        for (const Step& step : c.keys)
            key(step.key, step.text);
        EXPECT_EQ(named<QLabel>(view, c.shows)->text(), c.shown);
        EXPECT_EQ(view->popup()->isOpen(), c.open);
        QWidget* focus = c.focus ? named<QWidget>(view, c.focus) : opener;
        EXPECT_EQ(QApplication::focusWidget(), focus) << "the keyboard is not where it goes on";
        EXPECT_EQ(named<QRadioButton>(view, "Save beside the originals")->isChecked(), beside);
        EXPECT_EQ(named<QRadioButton>(view, "Save to folder")->isChecked(), toFolder);
        view->popup()->dismissPanel();
    }
}

/// The resize pane in a window of its own, over four presets whose rows share first letters
/// apart.
class PresetListKeysTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        AppDelegate::resetShared();
        const auto preset = [](const QString& name, bool custom, double width, double height) {
            SizeObject size;
            size.name = name;
            size.isCustomSize = custom;
            size.isPercentSize = !custom;
            (custom ? size.customWidth : size.perWidth) = width;
            (custom ? size.customHeight : size.perHeight) = height;
            return size;
        };
        ProjectSession session;
        session.arrayPredefinedSize = { preset("", true, 800, 600), preset("HD", true, 1280, 720),
            preset("", true, 640, 480), preset("", false, 50, 50) };
        Defaults::standard().setObject(kDefaultsProjectSession, KeyedArchiver::archivedDataWithRootObject(session));
        window.resize(900, 400);
        view = new ResizeView(&window);
        view->setGeometry(window.rect());
        window.show();
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
        view->initSetup();
    }
    void TearDown() override { Defaults::standard().removeObjectForKey(kDefaultsProjectSession); }

    /// The predefined choice on, with no preset chosen yet: the list opens without a highlight.
    void choosePredefinedAfresh()
    {
        QTest::mouseClick(named<QRadioButton>(view, "Custom size"), Qt::LeftButton, {}, QPoint(6, 6));
        QTest::mouseClick(named<QRadioButton>(view, "Predefined size"), Qt::LeftButton, {}, QPoint(6, 6));
    }

    QWidget window;
    ResizeView* view = nullptr;
};

// A typed letter highlights the first row that starts with it, from the top, unless the
// highlighted row starts with it too: then the next such row, so that the same letter again walks
// through them.
TEST_F(PresetListKeysTest, ALetterSearchesFromTheTopUnlessTheHighlightedRowMatches)
{
    QWidget* opener = named<QWidget>(view, "Choose preset");
    ASSERT_TRUE(opener);

    const struct {
        const char* what;
        std::vector<std::pair<int, QString>> keys; // after Space on the opener, before Return
        const char* chosen;
    } cases[] = {
        { "from a row that does not match: the first match from the top",
            { { Qt::Key_Down, {} }, { Qt::Key_Down, {} }, { 0, "c" } }, "Custom Size: 800 X 600" },
        { "from the last row: the first match from the top", { { Qt::Key_End, {} }, { 0, "c" } },
            "Custom Size: 800 X 600" },
        { "the same letter again walks on", { { 0, "c" }, { 0, "c" } }, "Custom Size: 640 X 480" },
        { "and comes round to the top", { { 0, "c" }, { 0, "c" }, { 0, "c" } }, "Custom Size: 800 X 600" },
        { "another letter", { { 0, "c" }, { 0, "h" } }, "HD - 1280 X 720" },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        choosePredefinedAfresh();
        ASSERT_TRUE(opener->isEnabled());
        ASSERT_EQ(named<QLineEdit>(view, "Chosen preset")->text(), "Select");
        opener->setFocus(Qt::TabFocusReason);
        QTest::keyClick(opener, Qt::Key_Space);
        ASSERT_TRUE(view->popup()->isOpen()) << "Space on the button opened no list";
        for (const auto& [code, text] : c.keys)
            ASSERT_NO_FATAL_FAILURE(key(code, text));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        EXPECT_FALSE(view->popup()->isOpen());
        EXPECT_EQ(named<QLineEdit>(view, "Chosen preset")->text().toStdString(), c.chosen);
    }
}

// The preset field is a Tab stop of its own: the keys that drop a list down open the presets from
// it as its button does, and the keyboard comes back to it once a preset is chosen.
TEST_F(PresetListKeysTest, ThePresetFieldOpensItsListFromTheKeyboard)
{
    auto* field = named<QLineEdit>(view, "Chosen preset");
    ASSERT_TRUE(field);
    const struct {
        const char* what;
        Qt::Key key;
        Qt::KeyboardModifiers held;
    } keys[] = {
        { "Down", Qt::Key_Down, Qt::NoModifier },
        { "Alt+Down", Qt::Key_Down, Qt::AltModifier },
        { "Space", Qt::Key_Space, Qt::NoModifier },
        { "Return", Qt::Key_Return, Qt::NoModifier },
        { "Enter", Qt::Key_Enter, Qt::KeypadModifier },
    };
    for (const auto& k : keys) {
        SCOPED_TRACE(k.what);
        choosePredefinedAfresh();
        ASSERT_TRUE(field->isEnabled());
        field->setFocus(Qt::TabFocusReason);
        QTest::keyClick(QApplication::focusWidget(), k.key, k.held);
        ASSERT_TRUE(view->popup()->isOpen()) << k.what << " on the preset field opened no list";
        ASSERT_NO_FATAL_FAILURE(key(Qt::Key_Down));
        ASSERT_NO_FATAL_FAILURE(key(Qt::Key_Return));
        EXPECT_FALSE(view->popup()->isOpen());
        EXPECT_EQ(field->text().toStdString(), "Custom Size: 800 X 600");
        EXPECT_EQ(QApplication::focusWidget(), field) << "the keyboard did not come back to the field";
    }
}

/// A pointer move over the widget at `at`, delivered to it as the window delivers one (the test
/// library's own pointer, shared by every test of the run, is left alone).
void movePointer(QWidget* widget, const QPoint& at)
{
    QMouseEvent move(QEvent::MouseMove, at, widget->mapToGlobal(at), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &move);
}

/// The leftmost column of the row where a light (text) pixel shows.
int textStart(const QImage& image, const QRect& row)
{
    for (int x = row.left(); x <= row.right(); ++x)
        for (int y = row.top(); y <= row.bottom(); ++y) {
            const QColor c = image.pixelColor(x, y);
            if (c.red() > 200 && c.green() > 200 && c.blue() > 200)
                return x;
        }
    return -1;
}

// The row under the pointer is the highlighted row (what Return chooses), drawn in the accent
// colour, and its text starts where a plain row's text starts.
TEST_F(OptionsPopupKeysTest, PointerHighlightsItsRowWithoutMovingTheText)
{
    QTest::mouseClick(named<QWidget>(view, "Choose format"), Qt::LeftButton);
    ASSERT_TRUE(view->popup()->isOpen());
    QListWidget* list = view->popup()->list();
    for (int hovered : { 1, 4 }) {
        SCOPED_TRACE(hovered);
        const QRect row = list->visualItemRect(list->item(hovered));
        // A user's pointer moving onto the row.
        movePointer(list->viewport(), row.center() - QPoint(0, 4));
        movePointer(list->viewport(), row.center());
        QApplication::processEvents();
        EXPECT_EQ(view->popup()->highlightedRow(), hovered);
        const QImage image = list->viewport()->grab().toImage();
        EXPECT_EQ(image.pixelColor(row.left() + 2, row.center().y()), QColor(66, 180, 211));
        const int plain = textStart(image, list->visualItemRect(list->item(6))); // neither hovered nor chosen
        ASSERT_GE(plain, 0);
        EXPECT_EQ(textStart(image, row), plain) << "the hovered row's text moved";
    }
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_EQ(named<QLabel>(view, "Chosen format")->text(), "*.JPEG");
}

} // namespace
} // namespace vantrel
