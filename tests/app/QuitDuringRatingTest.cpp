// A quit while the rating prompt of a finished run is up, on the real window: the save question
// waits for the rating's answer without holding the window, a second quit meanwhile does not slip
// through unasked, and once the question shows it holds the window (no minimise, no feedback form
// over it) until a quit while it is up goes through.
#include "KeyboardFixture.h"

#include "support/NamedWidget.h"

#include <QMenu>
#include <QMenuBar>

#include "components/TitleBar/OvWindowButton.h"
#include "screens/Panes/FlipView.h"

namespace vantrel::test {
namespace {

QAbstractButton* buttonNamed(QWidget* root, const QString& name)
{
    return shownNamed<QAbstractButton>(root, name);
}

/// The accessible name of what the topmost sheet on the window shows; empty when none is up.
QString sheetUp(QWidget* window)
{
    Sheet* sheet = Sheet::activeSheet(window);
    return sheet && sheet->content() ? sheet->content()->accessibleName() : QString();
}

/// Sets an environment variable for the test's length.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const QByteArray& value)
        : m_name(name)
    {
        qputenv(name, value);
    }
    ~ScopedEnv() { qunsetenv(m_name); }

private:
    const char* m_name;
};

class QuitDuringRatingTest : public SheetKeyboardTest, public ::testing::WithParamInterface<const char*> {
protected:
    /// Clicks a row of a title-bar menu, opened with a click on its title.
    void clickMenuRow(const QString& menuTitle, const QString& row)
    {
        QMenuBar* bar = windows->titleBar()->menuBar;
        for (QAction* top : bar->actions()) {
            if (top->text() != menuTitle)
                continue;
            QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(top).center());
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            ASSERT_TRUE(menu) << "the menu did not open";
            for (QAction* item : menu->actions()) {
                if (item->text() == row) {
                    QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(item).center());
                    return;
                }
            }
            FAIL() << "no row " << row.toStdString();
        }
        FAIL() << "no menu " << menuTitle.toStdString();
    }
};

TEST_P(QuitDuringRatingTest, TheSaveQuestionWaitsForTheRatingAndThenHoldsTheWindow)
{
    const QString answer = QString::fromLatin1(GetParam());
    // A content server gives the prompt a review page to lead to; the feedback service makes the
    // form available from the menu. Neither is asked anything here.
    const ScopedEnv content("VANTREL_CONTENT_URL", "http://127.0.0.1:9/");
    const ScopedEnv feedback("VANTREL_FEEDBACK_URL", "http://127.0.0.1:9/");
    auto* delegate = AppDelegate::shareDelegate();

    // A run with changed settings: its end asks for a rating, a quit asks to save the session.
    screen->vwFlip()->initSetup();
    screen->vwFlip()->setFlipSettongObject(1);
    QTemporaryDir dir;
    QStringList paths;
    for (int i = 0; i < 2; ++i) {
        paths << dir.filePath(QStringLiteral("photo%1.jpg").arg(i));
        ASSERT_TRUE(testimages::writePattern(paths.last(), 64, 48));
    }
    ASSERT_TRUE(convertByKeyboard(screen, paths, dir.filePath("out")));
    ASSERT_TRUE(QTest::qWaitFor([&] { return sheetUp(window) == "Rate Vantrel"; }, 30000))
        << "no rating prompt after the run";
    ASSERT_TRUE(screen->ischangesMadeInSettings());

    // Under the rating prompt the save question waits, and the window is not held for it.
    controlKey(Qt::Key_Q);
    EXPECT_EQ(sheetUp(window).toStdString(), "Rate Vantrel");
    EXPECT_EQ(exits, 0);
    EXPECT_FALSE(delegate->isSubWindowOpened) << "the waiting question holds the window";
    controlKey(Qt::Key_Q);
    EXPECT_EQ(exits, 0) << "the second quit went through; the save question was never seen";
    EXPECT_EQ(sheetUp(window).toStdString(), "Rate Vantrel");

    // The answer brings the question up, and it holds the window.
    QAbstractButton* rating = buttonNamed(Sheet::activeSheet(window), answer);
    ASSERT_TRUE(rating);
    clickOn(rating);
    ASSERT_EQ(sheetUp(window).toStdString(), "Save session");
    EXPECT_TRUE(delegate->isSubWindowOpened) << "the question is up with the window free";
    QAbstractButton* minimise = buttonNamed(window, "Minimise");
    ASSERT_TRUE(minimise);
    clickOn(minimise);
    EXPECT_FALSE(window->windowState() & Qt::WindowMinimized) << "minimised under the question";
    window->showNormal();
    clickMenuRow("Help", "Send Feedback...");
    EXPECT_EQ(sheetUp(window).toStdString(), "Save session") << "the feedback form opened over the question";
    EXPECT_EQ(exits, 0);

    // A quit while the question is up goes through at once.
    controlKey(Qt::Key_Q);
    EXPECT_EQ(exits, 1);
}

INSTANTIATE_TEST_SUITE_P(RatingAnswers, QuitDuringRatingTest, ::testing::Values("No, Thanks", "Rate Vantrel"),
    [](const auto& info) { return std::string(info.index == 0 ? "NoThanks" : "RateVantrel"); });

} // namespace
} // namespace vantrel::test
