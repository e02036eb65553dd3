#include "app/ApplicationSetup.h"

#include <QApplication>
#include <QDesktopServices>
#include <QSessionManager>

#include "app/MainScreen/MainScreenView.h"
#include "app/MainWindowController.h"
#include "components/AppLook.h"

namespace vantrel::ApplicationSetup {

AppController::Hooks realHooks(QApplication& app)
{
    AppController::Hooks hooks;
    hooks.makeMainWindow = [](AppController* controller) -> std::unique_ptr<MainWindowSide> {
        return std::make_unique<MainWindowController>(
            controller, [] { return std::make_unique<MainScreenView>(); });
    };
    hooks.applyLook = [&app] { AppLook::apply(app); };
    hooks.openUrl = [](const QUrl& url) { return QDesktopServices::openUrl(url); };
    hooks.exitApplication = [] { QCoreApplication::quit(); };
    return hooks;
}

void connectSessionManager(QApplication& app, AppController& controller)
{
    QObject::connect(&app, &QGuiApplication::commitDataRequest, &controller, [&controller](QSessionManager& manager) {
        if (controller.isTerminating())
            return;
        if (controller.applicationShouldTerminate() == AppController::TerminateReply::Cancel) {
            if (manager.allowsInteraction())
                manager.cancel();
            return;
        }
        controller.terminateNow();
    });
}

} // namespace vantrel::ApplicationSetup
