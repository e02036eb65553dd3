#include "LaunchedApp.h"

#include <QApplication>
#include <QUrl>

#include "app/ApplicationSetup.h"
#include "app/MainScreen/MainScreenView.h"
#include "app/MainWindowController.h"
#include "components/TitleBar/OvAppStoreWindow.h"

namespace vantrel::test {

LaunchedApp::LaunchedApp()
    : m_hooks(ApplicationSetup::realHooks(*qApp))
{
    m_hooks.exitApplication = [this] { ++m_exits; };
    m_hooks.openUrl = [](const QUrl&) { return false; };
    m_controller = std::make_unique<AppController>(m_hooks);
    m_controller->applicationDidFinishLaunching();
    m_windows = dynamic_cast<MainWindowController*>(m_controller->mainWindow());
    if (m_windows)
        m_screen = dynamic_cast<MainScreenView*>(m_windows->mainScreen());
}

LaunchedApp::~LaunchedApp() = default;

::testing::AssertionResult LaunchedApp::ok() const
{
    if (!m_windows)
        return ::testing::AssertionFailure() << "the controller has no main window controller";
    if (!m_screen)
        return ::testing::AssertionFailure() << "the main window has no main screen";
    return ::testing::AssertionSuccess();
}

OvAppStoreWindow* LaunchedApp::window() const
{
    return m_windows ? m_windows->windowMain() : nullptr;
}

} // namespace vantrel::test
