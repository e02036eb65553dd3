// Journeys through the title bar as a desktop user expects it: F10 and the arrow keys walk the
// menus, and a window dragged up against the top of the screen under a window manager keeps its
// title bar on the screen.
#include <QApplication>
#include <QGuiApplication>
#include <QMenu>
#include <QProcess>
#include <QScreen>
#include <QStandardPaths>
#include <QWidget>

#include <gtest/gtest.h>

#include "JourneyDriver.h"
#include "JourneyStart.h"

namespace vantrel::journeys {
namespace {

/// The title of the menu that is open, empty when none is.
QString openMenuTitle()
{
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    return menu ? menu->title() : QString();
}

QString activeItem()
{
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    return menu && menu->activeAction() ? menu->activeAction()->text() : QString();
}

/// Presses a key once a window of the application has the keyboard: a menu that just closed
/// hands it back to the main window a moment later.
bool pressWhenFocused(Qt::Key key)
{
    return waitFor([] { return QGuiApplication::focusWindow() != nullptr; }, 3000) && pressKey(key);
}

TEST(Journey, F10OpensTheMenusTheArrowsWalkThemAndEscapeClosesThem)
{
    JourneyStart start;
    ASSERT_TRUE(start.launch());
    ASSERT_TRUE(tabTo("Add Folder"));
    QWidget* before = QApplication::focusWidget();

    const struct {
        Qt::Key key;
        const char* menu; ///< the menu open afterwards, empty for none
        const char* item; ///< its chosen item; nullptr when any
    } steps[] = {
        { Qt::Key_F10, "Vantrel", "Tips" },
        { Qt::Key_Up, "Vantrel", "Quit Vantrel" },
        { Qt::Key_Right, "Help", nullptr },
        { Qt::Key_Left, "Vantrel", nullptr },
        { Qt::Key_Escape, "", nullptr },
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.key);
        ASSERT_TRUE(pressWhenFocused(step.key));
        const QString menu = QString::fromLatin1(step.menu);
        EXPECT_TRUE(waitFor([&menu] { return openMenuTitle() == menu; }, 3000))
            << "open: \"" << openMenuTitle().toStdString() << "\", expected \"" << step.menu << "\"";
        if (step.item) {
            EXPECT_EQ(activeItem(), QString::fromLatin1(step.item));
        }
    }
    // The bar keeps the keyboard until a second Escape gives it back where it was.
    ASSERT_TRUE(pressWhenFocused(Qt::Key_Escape));
    EXPECT_TRUE(waitFor([before] { return QApplication::focusWidget() == before; }, 3000));
    // Alt alone opens nothing and moves nothing.
    ASSERT_TRUE(pressWhenFocused(Qt::Key_Alt));
    settle(100);
    EXPECT_EQ(openMenuTitle(), QString());
    EXPECT_EQ(QApplication::focusWidget(), before);
}

/// A window manager (openbox) on the journey's display for one journey; stopped when this ends.
class WindowManager {
public:
    /// Whether openbox, and xdotool (which drives the pointer through the X server as a hand
    /// does), are installed.
    static bool isInstalled()
    {
        return !QStandardPaths::findExecutable(QStringLiteral("openbox")).isEmpty()
            && !QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty();
    }

    ~WindowManager()
    {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.terminate();
            if (!m_process.waitForFinished(3000))
                m_process.kill();
            m_process.waitForFinished(1000);
        }
    }

    /// Starts it and waits until it manages the display.
    ::testing::AssertionResult start()
    {
        m_process.start(QStringLiteral("openbox"), { QStringLiteral("--sm-disable") });
        if (!m_process.waitForStarted(5000))
            return ::testing::AssertionFailure() << "openbox did not start";
        // The current desktop is known only once a window manager runs.
        const bool up = waitFor([] { return xdotool({ QStringLiteral("get_desktop") }); }, 10'000);
        if (!up)
            return ::testing::AssertionFailure() << "openbox did not take the display";
        return ::testing::AssertionSuccess();
    }

    /// Runs xdotool with the arguments, the application's events going on meanwhile; true when
    /// it succeeded.
    static bool xdotool(const QStringList& arguments)
    {
        QProcess process;
        process.start(QStringLiteral("xdotool"), arguments);
        if (!process.waitForStarted(5000))
            return false;
        waitFor([&process] { return process.state() == QProcess::NotRunning; }, 20'000);
        return process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
    }

private:
    QProcess m_process;
};

TEST(Journey, AWindowDraggedAboveTheScreenUnderAWindowManagerKeepsItsTitleBarOnTheScreen)
{
    if (!WindowManager::isInstalled())
        GTEST_SKIP() << "openbox and xdotool are needed to drag the window under a window manager "
                        "(scripts/install-deps installs them)";
    WindowManager manager;
    ASSERT_TRUE(manager.start());
    JourneyStart start;
    ASSERT_TRUE(start.launch());
    QWidget* window = start.app().window();
    QWidget* background = findControl(QStringLiteral("Title bar background"), window);
    ASSERT_TRUE(background);
    ASSERT_TRUE(isReachable(background, QStringLiteral("Title bar background")));
    const QRect screen = window->screen()->geometry();
    ASSERT_GT(window->frameGeometry().top(), screen.top() + 100) << "the window starts clear of the screen's top";

    // Press on the bar's background, drag well above the screen's top, release: the window
    // manager moves the window with the pointer.
    const QPoint grip = window->mapToGlobal(QPoint(window->width() - 200, 70));
    QStringList drag { QStringLiteral("mousemove"), QStringLiteral("--sync"), QString::number(grip.x()),
        QString::number(grip.y()), QStringLiteral("mousedown"), QStringLiteral("1"), QStringLiteral("sleep"),
        QStringLiteral("0.3") };
    const int rise = window->frameGeometry().top() - screen.top() + 300;
    for (int up = 40; up <= rise; up += 40)
        drag << QStringLiteral("mousemove") << QString::number(grip.x()) << QString::number(grip.y() - up)
             << QStringLiteral("sleep") << QStringLiteral("0.05");
    drag << QStringLiteral("sleep") << QStringLiteral("0.3") << QStringLiteral("mouseup") << QStringLiteral("1");
    ASSERT_TRUE(WindowManager::xdotool(drag));
    settle(500);

    EXPECT_TRUE(waitFor([&] { return window->frameGeometry().top() == screen.top(); }, 3000))
        << "the window's top is at " << window->frameGeometry().top() << ", the screen's at " << screen.top();
    for (const QString& name : { QStringLiteral("Menu"), QStringLiteral("Close"), QStringLiteral("1. Photos") }) {
        QWidget* control = findControl(name, window);
        ASSERT_TRUE(control) << name.toStdString();
        const QRect onScreen(control->mapToGlobal(QPoint(0, 0)), control->size());
        EXPECT_TRUE(screen.contains(onScreen)) << name.toStdString() << " is off the screen";
    }
}

} // namespace
} // namespace vantrel::journeys
