#include "components/Sheet.h"
#include "components/AppLook.h"
#include "components/FocusRing.h"
#include "components/LocalMouseMonitor.h"
#include "components/TickSource.h"

#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

using namespace vantrel;

namespace {

struct Window {
    QWidget top;
    QPushButton* under = new QPushButton("Under", &top);
    QLineEdit* field = new QLineEdit(&top);
    QPushButton* titleBar = new QPushButton("Title", &top);
    Window()
    {
        titleBar->setGeometry(10, 2, 80, 26);
        top.resize(600, 400);
        top.setProperty(Sheet::kSheetTopProperty, 30);
        under->setGeometry(250, 40, 100, 30);
        field->setGeometry(10, 300, 200, 30);
        top.show();
    }
};

} // namespace

TEST(Sheet, BlocksWhatLiesUnderAndReportsItsAnswer)
{
    Window w;
    QSignalSpy underClicks(w.under, &QPushButton::clicked);
    QSignalSpy titleClicks(w.titleBar, &QPushButton::clicked);
    auto* content = new QWidget;
    content->resize(200, 120);
    auto* ok = new QPushButton("OK", content);
    ok->setGeometry(10, 80, 80, 30);

    std::vector<int> answers;
    Sheet* sheet = Sheet::beginSheet(w.field, content, [&](int code) { answers.push_back(code); });
    ASSERT_NE(sheet, nullptr);
    EXPECT_EQ(Sheet::activeSheet(&w.top), sheet);
    EXPECT_EQ(sheet->geometry(), QRect(0, 30, 600, 370)); // below the title bar
    EXPECT_EQ(content->geometry(), QRect(200, 0, 200, 120)); // centred, at the top
    QObject::connect(ok, &QPushButton::clicked, sheet, [sheet] { sheet->endSheet(7); });

    // Under the sheet: clicks and keys do not arrive.
    QTest::mouseClick(w.under, Qt::LeftButton);
    w.field->setFocus();
    QTest::keyClicks(w.field, "abc");
    EXPECT_EQ(underClicks.count(), 0);
    EXPECT_EQ(w.field->text(), "");
    // Above the sheet: the title bar still takes clicks.
    QTest::mouseClick(w.titleBar, Qt::LeftButton);
    EXPECT_EQ(titleClicks.count(), 1);

    // The window follows resizes.
    w.top.resize(800, 500);
    EXPECT_EQ(sheet->geometry(), QRect(0, 30, 800, 470));
    EXPECT_EQ(content->x(), 300);

    QTest::mouseClick(ok, Qt::LeftButton);
    EXPECT_EQ(answers, std::vector<int> { 7 });
    EXPECT_EQ(Sheet::activeSheet(&w.top), nullptr);
    EXPECT_FALSE(content->isVisible());
    EXPECT_EQ(content->parentWidget(), &w.top); // kept for reuse
    sheet->endSheet(9); // already ended: no second answer
    EXPECT_EQ(answers.size(), 1u);

    QTest::mouseClick(w.under, Qt::LeftButton);
    EXPECT_EQ(underClicks.count(), 1);

    // The same content can be shown again; a stacked sheet takes input above the first.
    Sheet* again = Sheet::beginSheet(&w.top, content, {});
    auto* second = new QPushButton("Second");
    second->resize(90, 30);
    QSignalSpy secondClicks(second, &QPushButton::clicked);
    Sheet* top = Sheet::beginSheet(&w.top, second);
    EXPECT_EQ(Sheet::activeSheet(&w.top), top);
    QTest::mouseClick(second, Qt::LeftButton);
    QTest::mouseClick(ok, Qt::LeftButton); // the first sheet lies under the second
    EXPECT_EQ(secondClicks.count(), 1);
    EXPECT_EQ(Sheet::activeSheet(&w.top), top);
    top->endSheet();
    EXPECT_EQ(Sheet::activeSheet(&w.top), again);
    // Begun again while it is up (a repeated request), the content stays in its one sheet, and
    // one answer frees the window.
    EXPECT_EQ(Sheet::beginSheet(&w.top, content, {}), again);
    again->endSheet();
    EXPECT_EQ(Sheet::activeSheet(&w.top), nullptr);
    QTest::mouseClick(w.under, Qt::LeftButton);
    EXPECT_EQ(underClicks.count(), 2);
    EXPECT_EQ(Sheet::beginSheet(nullptr, content), nullptr);
}

TEST(Sheet, WhatWaitsForNoSheetFollowsEveryQuestionTheAnswersRaise)
{
    const struct {
        const char* name;
        int questions; ///< sheets up when the wait begins, each answer raising the next
        bool contextGone; ///< the waiting object is deleted while the first question is up
        std::vector<int> followsAfterAnswer; ///< after each answer: how many times the wait has run
    } cases[] = { { "no sheet up", 0, false, {} }, { "one question", 1, false, { 1 } },
        { "its answer raises a second", 2, false, { 0, 1 } }, { "and that one a third", 3, false, { 0, 0, 1 } },
        { "the waiting screen closed", 2, true, { 0, 0 } } };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Window w;
        QList<QWidget*> contents;
        for (int i = 0; i < c.questions; ++i) {
            auto* content = new QWidget;
            content->resize(200, 80);
            auto* answer = new QPushButton(QStringLiteral("Answer %1").arg(i + 1), content);
            answer->setAccessibleName(answer->text());
            answer->setGeometry(10, 40, 100, 30);
            contents.append(content);
        }
        // Question i's answer ends it, and its completion raises question i + 1.
        std::function<void(int)> raise = [&](int i) {
            if (i >= contents.size())
                return;
            Sheet* sheet = Sheet::beginSheet(&w.top, contents[i], [&raise, i](int) { raise(i + 1); });
            auto* answer = contents[i]->findChild<QPushButton*>();
            QObject::connect(answer, &QPushButton::clicked, sheet, [sheet] { sheet->endSheet(); });
        };
        raise(0);

        int follows = 0;
        auto context = std::make_unique<QObject>();
        Sheet::whenNoSheet(&w.top, context.get(), [&follows, &w] {
            EXPECT_EQ(Sheet::activeSheet(&w.top), nullptr) << "it followed while a question was up";
            ++follows;
        });
        EXPECT_EQ(follows, c.questions == 0 ? 1 : 0);
        if (c.contextGone)
            context.reset();
        for (int i = 0; i < c.questions; ++i) {
            Sheet* up = Sheet::activeSheet(&w.top);
            ASSERT_TRUE(up);
            ASSERT_EQ(up->content(), contents[i]);
            QPushButton* answer = contents[i]->findChild<QPushButton*>();
            ASSERT_EQ(answer->accessibleName(), QStringLiteral("Answer %1").arg(i + 1));
            QTest::mouseClick(answer, Qt::LeftButton, {}, answer->rect().center());
            EXPECT_EQ(follows, c.followsAfterAnswer[size_t(i)]) << "after answer " << i + 1;
        }
        EXPECT_EQ(Sheet::activeSheet(&w.top), nullptr);
        QApplication::processEvents();
        qDeleteAll(contents);
    }
}

TEST(LocalMouseMonitor, ReportsEachPressOnceAndNeverConsumesIt)
{
    QWidget top;
    auto* button = new QPushButton("B", &top);
    button->resize(80, 30);
    auto* plain = new QWidget(&top); // ignores presses: they travel on to its parent
    plain->setGeometry(100, 0, 50, 50);
    top.show();
    QSignalSpy clicks(button, &QPushButton::clicked);
    auto* owner = new QObject;
    std::vector<std::pair<QWidget*, Qt::MouseButton>> seen;
    new LocalMouseMonitor(owner, LocalMouseMonitor::Button::Left | LocalMouseMonitor::Button::Other,
        [&](QWidget* receiver, Qt::MouseButton b, const QPointF&) { seen.emplace_back(receiver, b); });

    QTest::mouseClick(button, Qt::LeftButton);
    QTest::mouseClick(button, Qt::RightButton); // not asked for
    QTest::mouseClick(button, Qt::MiddleButton);
    QTest::mouseClick(plain, Qt::LeftButton);
    const std::vector<std::pair<QWidget*, Qt::MouseButton>> expected {
        { button, Qt::LeftButton },
        { button, Qt::MiddleButton },
        { plain, Qt::LeftButton },
    };
    EXPECT_EQ(seen, expected);
    EXPECT_EQ(clicks.count(), 1); // the button still got its click

    // Two presses made by hand carry the same (zero) time and place: still two presses.
    seen.clear();
    for (int i = 0; i < 2; ++i) {
        QMouseEvent press(QEvent::MouseButtonPress, QPointF(5, 5), plain->mapToGlobal(QPointF(5, 5)), Qt::LeftButton,
            Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(plain, &press);
    }
    EXPECT_EQ(seen.size(), 2u);

    delete owner; // the monitor goes with its owner
    seen.clear();
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_TRUE(seen.empty());
    EXPECT_EQ(clicks.count(), 2);
}

TEST(TickSource, ManualSourceTicksOnlyWhileStarted)
{
    TickSource source(TickSource::Driver::Manual);
    int ticks = 0;
    QObject::connect(&source, &TickSource::tick, [&] { ++ticks; });
    EXPECT_FALSE(source.fire());
    source.start(16);
    EXPECT_TRUE(source.isActive());
    EXPECT_EQ(source.interval(), 16);
    EXPECT_TRUE(source.fire());
    EXPECT_TRUE(source.fire());
    source.stop();
    EXPECT_FALSE(source.fire());
    EXPECT_EQ(ticks, 2);
}

TEST(AppLook, StandardControlsTakeTheDarkColours)
{
    const QPalette palette = AppLook::palette();
    QWidget panel;
    panel.setPalette(palette);
    panel.setAutoFillBackground(true);
    panel.resize(60, 40);
    QLineEdit field;
    field.setPalette(palette);
    field.resize(120, 30);
    struct Probe {
        QWidget* widget;
        QPoint at;
        QColor expected;
    };
    const Probe probes[] = {
        { &panel, { 30, 20 }, QColor(36, 41, 50) },
        { &field, { 60, 15 }, QColor(54, 63, 78) },
    };
    for (const auto& probe : probes) {
        const QImage shot = probe.widget->grab().toImage();
        EXPECT_EQ(QColor(shot.pixel(probe.at)), probe.expected) << probe.widget->metaObject()->className();
    }
    EXPECT_EQ(palette.color(QPalette::Active, QPalette::WindowText), QColor(Qt::white));
    EXPECT_EQ(palette.color(QPalette::Disabled, QPalette::WindowText), QColor(195, 204, 233));
    EXPECT_EQ(palette.color(QPalette::Active, QPalette::Highlight), QColor(66, 180, 211));
}

TEST(AppLook, FocusShowsAsARingOnStyledAndPlainControlsAlike)
{
    FocusRing::install();
    QWidget top;
    top.setPalette(AppLook::palette());
    auto* layout = new QVBoxLayout(&top);
    auto* styled = new QPushButton("Styled");
    styled->setStyleSheet("QPushButton { background: rgb(66, 180, 211); border: none; }");
    auto* field = new QLineEdit;
    field->setStyleSheet("QLineEdit { background: rgb(54, 63, 78); border: none; }");
    auto* plain = new QPushButton("Plain");
    for (QWidget* w : { static_cast<QWidget*>(styled), static_cast<QWidget*>(field), static_cast<QWidget*>(plain) }) {
        w->setMinimumSize(120, 32);
        layout->addWidget(w);
    }
    top.show();
    top.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&top));
    for (QWidget* w : { static_cast<QWidget*>(styled), static_cast<QWidget*>(field), static_cast<QWidget*>(plain) }) {
        w->setFocus(Qt::TabFocusReason);
        ASSERT_EQ(FocusRing::ringedWidget(), w);
        const QImage shot = w->grab().toImage();
        EXPECT_EQ(QColor(shot.pixel(1, w->height() / 2)), AppLook::focusColor()) << w->metaObject()->className();
    }
    // A click focuses a button without a ring; a field shows it however it gained focus.
    styled->setFocus(Qt::MouseFocusReason);
    EXPECT_EQ(FocusRing::ringedWidget(), nullptr);
    field->setFocus(Qt::MouseFocusReason);
    EXPECT_EQ(FocusRing::ringedWidget(), field);
    delete field; // the ring goes with its control
    EXPECT_EQ(FocusRing::ringedWidget(), nullptr);

    // On a list the ring goes round the current row, and follows it.
    auto* list = new QListWidget;
    list->addItems({ "one", "two", "three" });
    layout->addWidget(list);
    list->show();
    list->setFocus(Qt::TabFocusReason);
    for (int row : { 0, 2 }) {
        list->setCurrentRow(row);
        const QRect shown = list->visualItemRect(list->item(row)).translated(list->viewport()->pos());
        EXPECT_TRUE(FocusRing::ringRect().contains(shown)) << row;
        EXPECT_LT(FocusRing::ringRect().height(), shown.height() + 8) << row;
    }
}

// Focus that comes back with its window (another window was in front) and focus that moves on
// from a control that went away keep the ring as it was: shown after Tab, not after a click.
TEST(AppLook, TheRingComesBackOrMovesOnOnlyIfItWasThere)
{
    FocusRing::install();
    QWidget top;
    QWidget other;
    auto* layout = new QVBoxLayout(&top);
    auto* first = new QPushButton("First");
    auto* second = new QPushButton("Second");
    layout->addWidget(first);
    layout->addWidget(second);
    other.show();
    top.show();
    for (const bool hidden : { false, true }) {
        for (const Qt::FocusReason reason : { Qt::MouseFocusReason, Qt::TabFocusReason }) {
            SCOPED_TRACE(QStringLiteral("hidden %1 reason %2").arg(hidden).arg(int(reason)).toStdString());
            first->show();
            top.activateWindow();
            ASSERT_TRUE(QTest::qWaitForWindowActive(&top));
            second->setFocus(Qt::MouseFocusReason);
            first->setFocus(reason);
            QWidget* focus = first;
            if (hidden) {
                first->hide();
                focus = second;
            } else {
                other.activateWindow();
                ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
                top.activateWindow();
                ASSERT_TRUE(QTest::qWaitForWindowActive(&top));
            }
            ASSERT_EQ(QApplication::focusWidget(), focus);
            EXPECT_EQ(FocusRing::ringedWidget(), reason == Qt::TabFocusReason ? focus : nullptr);
        }
    }
}
