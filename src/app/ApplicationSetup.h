#pragma once

#include "app/AppController.h"

class QApplication;

namespace vantrel::ApplicationSetup {

/// The desktop entry's id (also the Wayland application id and the icon's name).
inline constexpr char kDesktopId[] = "org.vantrel.Vantrel";

/// The real outside world of the application controller: the main window with the main screen,
/// the application's look, the default browser and leaving the main loop.
AppController::Hooks realHooks(QApplication& app);

/// Routes the session manager's quit through the quit rules: a quit they cancel is cancelled
/// when the session manager allows it.
void connectSessionManager(QApplication& app, AppController& controller);

/// SIGTERM and SIGINT end the application as a session's end does: at once, except that an
/// active run first stops after its current photo and writes its summary and log rows.
void handleTerminationSignals(AppController& controller);

} // namespace vantrel::ApplicationSetup
