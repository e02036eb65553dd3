// The process entry: standard error goes to the log file, then the application starts in its
// fixed order and runs its main loop.
#include <cstdio>
#include <cstdlib>

#include <QApplication>
#include <QIcon>
#include <QWidget>

#include "app/AppController.h"
#include "app/AppInfo.h"
#include "app/ApplicationSetup.h"
#include "app/StandardErrorLog.h"
#include "core/Catalogue.h"
#include "core/Processing/ProcessingSerialExecutor.h"
#include "core/ResourceImages.h"
#include "platform/NotificationCenter.h"
#include "platform/Paths.h"
#include "platform/imaging/ImagingInit.h"

int main(int argc, char** argv)
{
    using namespace vantrel;
    boundLibraryThreads(argv);
    // A log file that cannot be opened is silent: standard error then stays where it was.
    StandardErrorLog::redirectTo(Paths::logFilePath());
    StandardErrorLog::installMessageHandler();

    QApplication::setApplicationName(QLatin1String(AppInfo::kBundleName));
    QApplication::setApplicationVersion(AppInfo::bundleVersion());
    QApplication::setDesktopFileName(QLatin1String(ApplicationSetup::kDesktopId));
    QApplication app(argc, argv);
    StandardErrorLog::writeStartLine(QLatin1String(AppInfo::kBundleName), AppInfo::bundleVersion());
    // A library warning is said once per run (an add run or a batch run both start with this
    // notification), not once per photo.
    NotificationCenter::defaultCenter().addObserver(
        &app, kNotificationsDisbleView, [](const Notification&) { StandardErrorLog::beginRun(); });
    if (!initImagingLibraries(argv[0]))
        return 1;
    ResourceImages::initResources();
    app.setWindowIcon(QIcon::fromTheme(QLatin1String(ApplicationSetup::kDesktopId)));
    // Quitting is decided by the quit rules, never by a window closing.
    app.setQuitOnLastWindowClosed(false);

    AppController controller(ApplicationSetup::realHooks(app));
    ApplicationSetup::connectSessionManager(app, controller);
    ApplicationSetup::handleTerminationSignals(controller);
    controller.applicationDidFinishLaunching();
    const int result = app.exec();
    std::fprintf(stderr, "%s quit\n", AppInfo::kBundleName);
    // A quit does not wait for ever for a photo whose source stopped answering: its thread still
    // holds the engine and the imaging libraries, which the teardown below would pull from under
    // it. The session and the log rows are saved by now (and the run's temporaries removed when
    // it ended), so the process ends here instead. The windows go first: the system may keep a
    // process whose read it holds until that read returns.
    if (ProcessingSerialExecutor::unfinishedJobs() > 0) {
        for (QWidget* window : QApplication::topLevelWidgets())
            window->hide();
        QGuiApplication::sync();
        std::fflush(nullptr);
        std::_Exit(result);
    }
    return result;
}
