#include "app/ApplicationSetup.h"

#include <csignal>
#include <cstdio>

#include <sys/socket.h>
#include <unistd.h>

#include <QApplication>
#include <QDesktopServices>
#include <QSessionManager>
#include <QSocketNotifier>

#include "app/MainScreen/MainScreenView.h"
#include "app/MainWindowController.h"
#include "app/Online/FeedbackWindowController.h"
#include "app/Online/OnlineServices.h"
#include "app/Online/PromotionalAdsView.h"
#include "app/Online/Reachability.h"
#include "components/AppLook.h"
#include "screens/Processing/ProcessingView.h"

namespace vantrel::ApplicationSetup {

AppController::Hooks realHooks(QApplication& app)
{
    AppController::Hooks hooks;
    hooks.makeMainWindow = [](AppController* controller) -> std::unique_ptr<MainWindowSide> {
        auto window = std::make_unique<MainWindowController>(controller, [] {
            auto screen = std::make_unique<MainScreenView>();
            // The run's summary shows the recommended applications of the content service.
            PromotionalAdsView::installInto(screen->vwProcessing()->vwRecommendedApps(), OnlineServices::shared());
            return screen;
        });
        window->setFeedbackOpener([](QWidget* mainWindow) {
            FeedbackWindowController::showFeedBackWindow(mainWindow, OnlineServices::shared());
        });
        return window;
    };
    // The online services: each sends nothing while its base URL is not configured.
    hooks.registerReachability = [] { OnlineServices::shared()->registerReachability(); };
    hooks.registerFroTracking = [] {
        OnlineServices::shared()->registerFroTracking();
        OnlineServices::shared()->loadRecommendedApps();
    };
    hooks.crossPromotion = [](int tag) { OnlineServices::shared()->btnKorvingAppcenterTapped(tag); };
    hooks.crossPromotionTitles = [] { return OnlineServices::shared()->appcenterMenuTitles(); };
    hooks.applyLook = [&app] { AppLook::apply(app); };
    hooks.openUrl = [](const QUrl& url) { return QDesktopServices::openUrl(url); };
    // exit(), not quit(): quit() first asks every window to close, which is a quit request again.
    hooks.exitApplication = [] { QCoreApplication::exit(0); };
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

namespace {

int g_signalPipe[2] = { -1, -1 };

void onTerminationSignal(int)
{
    const char byte = 1;
    [[maybe_unused]] const auto written = ::write(g_signalPipe[0], &byte, 1); // async-signal-safe
}

} // namespace

void handleTerminationSignals(AppController& controller)
{
    if (g_signalPipe[0] >= 0 || ::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, g_signalPipe) != 0)
        return;
    auto* notifier = new QSocketNotifier(g_signalPipe[1], QSocketNotifier::Read, &controller);
    QObject::connect(notifier, &QSocketNotifier::activated, &controller, [&controller] {
        char byte = 0;
        [[maybe_unused]] const auto got = ::read(g_signalPipe[1], &byte, 1);
        std::fprintf(stderr, "Termination signal: quitting\n");
        controller.terminateNow();
    });
    struct sigaction action { };
    action.sa_handler = onTerminationSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
}

} // namespace vantrel::ApplicationSetup
