// Return and Enter at the focused control, in a window and in a sheet over it: a focused push
// button is pressed; a focused check box or radio button keeps its state, and in a sheet the
// default answer is given instead.
#include "components/FocusedButtonKeys.h"

#include <QApplication>
#include <QCheckBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include "components/Sheet.h"
#include "support/NamedWidget.h"

using namespace vantrel;

namespace {

using vantrel::test::named;

template <class T> T* make(QWidget* parent, const QString& name, const QRect& geometry)
{
    auto* widget = new T(name, parent);
    widget->setAccessibleName(name);
    widget->setGeometry(geometry);
    return widget;
}

} // namespace

TEST(FocusedButtonKeys, ReturnPressesAFocusedPushButtonOnlyAndElseTheSheetsDefault)
{
    QWidget window;
    window.resize(600, 400);
    window.setProperty(Sheet::kSheetTopProperty, 30);
    new FocusedButtonKeys(&window);
    make<QCheckBox>(&window, "Window check", { 10, 40, 150, 24 });
    make<QPushButton>(&window, "Window button", { 10, 80, 150, 30 });

    auto* content = new QWidget;
    content->resize(300, 160);
    make<QCheckBox>(content, "Sheet check", { 10, 10, 150, 24 });
    auto* radio = make<QRadioButton>(content, "Sheet radio", { 10, 40, 150, 24 });
    radio->setAutoExclusive(false);
    make<QPushButton>(content, "Sheet other", { 10, 110, 80, 30 });
    auto* ok = make<QPushButton>(content, "OK", { 200, 110, 80, 30 });
    Sheet::setDefaultButton(ok);

    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));

    const struct {
        const char* focus;
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        bool inSheet;
        bool toggled; // the focused check box or radio button changed
        const char* pressed; // the one button clicked, or nullptr
    } cases[] = {
        { "Window check", Qt::Key_Return, {}, false, false, nullptr },
        { "Window check", Qt::Key_Enter, Qt::KeypadModifier, false, false, nullptr },
        { "Window check", Qt::Key_Space, {}, false, true, nullptr },
        { "Window button", Qt::Key_Return, {}, false, false, "Window button" },
        { "Window button", Qt::Key_Enter, Qt::KeypadModifier, false, false, "Window button" },
        { "Window button", Qt::Key_Return, Qt::ShiftModifier, false, false, nullptr },
        { "Sheet check", Qt::Key_Return, {}, true, false, "OK" },
        { "Sheet radio", Qt::Key_Enter, Qt::KeypadModifier, true, false, "OK" },
        { "Sheet other", Qt::Key_Return, {}, true, false, "Sheet other" },
    };
    Sheet* sheet = nullptr;
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.focus) + " key " + std::to_string(c.key));
        if (c.inSheet && !sheet) {
            sheet = Sheet::beginSheet(&window, content);
            ASSERT_TRUE(sheet);
        }
        auto* target = named<QAbstractButton>(&window, c.focus);
        ASSERT_TRUE(target);
        target->setFocus(Qt::TabFocusReason);
        ASSERT_EQ(QApplication::focusWidget(), target);
        const bool checkedBefore = target->isChecked();
        QList<std::pair<QString, std::shared_ptr<QSignalSpy>>> spies;
        for (QAbstractButton* button : window.findChildren<QPushButton*>())
            spies.append({ button->accessibleName(), std::make_shared<QSignalSpy>(button, &QAbstractButton::clicked) });

        QTest::keyClick(target, c.key, c.modifiers);

        EXPECT_EQ(target->isChecked() != checkedBefore, c.toggled);
        for (const auto& [name, spy] : spies)
            EXPECT_EQ(spy->count(), c.pressed && name == c.pressed ? 1 : 0) << name.toStdString();
    }
    if (sheet)
        sheet->endSheet();
}
