#pragma once

#include <memory>

#include <gtest/gtest.h>

#include "app/AppController.h"

namespace vantrel {
class MainScreenView;
class MainWindowController;
class OvAppStoreWindow;
} // namespace vantrel

namespace vantrel::test {

/// The application launched in-process with the hooks main() gives it, except that leaving the
/// main loop is only counted and no URL is opened in a browser.
class LaunchedApp {
public:
    LaunchedApp();
    ~LaunchedApp();

    /// Whether the window controller and its main screen came up.
    ::testing::AssertionResult ok() const;

    /// The hooks the controller was given.
    const AppController::Hooks& hooks() const { return m_hooks; }
    AppController& controller() { return *m_controller; }
    MainWindowController* windows() const { return m_windows; }
    OvAppStoreWindow* window() const;
    MainScreenView* screen() const { return m_screen; }
    /// How many times the application asked to leave its main loop.
    int exits() const { return m_exits; }

private:
    int m_exits = 0;
    AppController::Hooks m_hooks;
    std::unique_ptr<AppController> m_controller;
    MainWindowController* m_windows = nullptr;
    MainScreenView* m_screen = nullptr;
};

} // namespace vantrel::test
