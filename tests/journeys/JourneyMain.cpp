// Entry point of the user journeys: each process gets its own X server (Xvfb, started here and
// asked for a free display number through -displayfd, so journeys can run side by side without
// a lock), each journey a temporary home of its own with the XDG folders inside it, and Qt on its
// xcb platform. No window manager runs: the journeys need none. A failed journey leaves a picture
// of the whole screen in the build folder (journey-failures/<test>.png).
//
// VANTREL_JOURNEY_DISPLAY, when set, names an X display to use instead of a private Xvfb (to
// watch a journey); VANTREL_JOURNEY_HOME, when set, is used as the home instead of a new
// temporary one per journey (a journey that restarts the application starts its second half in
// its own home that way).
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <string>

#include <fcntl.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QDir>
#include <QScreen>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "core/ResourceImages.h"
#include "platform/imaging/ImagingInit.h"
#include "support/PerTestHome.h"
#include "support/TestHome.h"

namespace {

pid_t g_xvfb = 0;

void stopXvfb()
{
    if (g_xvfb > 0) {
        kill(g_xvfb, SIGTERM);
        waitpid(g_xvfb, nullptr, 0);
        g_xvfb = 0;
    }
}

/// Starts Xvfb on display `number`; returns ":N" once it is ready, or an empty string when it
/// could not start there (the number taken, or no Xvfb).
std::string startXvfbOn(int number)
{
    int fds[2];
    if (pipe(fds) != 0)
        return {};
    const pid_t pid = fork();
    if (pid < 0)
        return {};
    if (pid == 0) {
        close(fds[0]);
        // The server ends with this process, even when a journey crashes it.
        prctl(PR_SET_PDEATHSIG, SIGTERM);
        const int devnull = open("/dev/null", O_RDWR);
        dup2(devnull, STDOUT_FILENO);
        dup2(devnull, STDERR_FILENO);
        const std::string display = ":" + std::to_string(number);
        const std::string fd = std::to_string(fds[1]);
        // Large enough for a 1920 x 1080 window with room around it. -displayfd says when the
        // server is ready.
        execlp("Xvfb", "Xvfb", display.c_str(), "-displayfd", fd.c_str(), "-screen", "0", "2100x1300x24", "-nolisten",
            "tcp", "-noreset", static_cast<char*>(nullptr));
        _exit(127);
    }
    close(fds[1]);
    g_xvfb = pid;
    std::string ready;
    char c = 0;
    while (read(fds[0], &c, 1) == 1 && c != '\n')
        ready += c;
    close(fds[0]);
    if (ready.empty()) {
        stopXvfb();
        return {};
    }
    return ":" + ready;
}

/// Starts Xvfb on a free display. The numbers tried lie far above those people and xvfb-run
/// (99 upwards) pick, so a journey never takes a display someone is about to start; an X lock
/// file makes a taken number fail at once, and the next one is tried.
std::string startXvfb()
{
    const int first = 1000 + int(getpid() % 20'000);
    for (int number = first; number < first + 50; ++number)
        if (std::string display = startXvfbOn(number); !display.empty())
            return display;
    return {};
}

/// Keeps a picture of the screen at a journey's first failure, so the control that was wrong
/// can be seen.
class ShotOnFailure : public ::testing::EmptyTestEventListener {
public:
    void OnTestStart(const ::testing::TestInfo& info) override
    {
        m_shot = false;
        // Read here: the unit test's lock is held while a failure is reported.
        m_name = QString::fromLatin1(info.test_suite_name()) + "." + QString::fromLatin1(info.name());
    }
    void OnTestPartResult(const ::testing::TestPartResult& result) override
    {
        if (!result.failed() || m_shot || !qApp)
            return;
        m_shot = true;
        const QString dir = QStringLiteral(VANTREL_JOURNEY_FAILURE_DIR);
        QDir().mkpath(dir);
        const QString path = dir + "/" + m_name + ".png";
        if (QScreen* screen = QGuiApplication::primaryScreen())
            if (screen->grabWindow(0).save(path))
                std::fprintf(stderr, "journey: screen at the failure kept in %s\n", qPrintable(path));
    }

private:
    bool m_shot = false;
    QString m_name;
};

bool listsTestsOnly(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "--gtest_list_tests") == 0)
            return true;
    return false;
}

} // namespace

int main(int argc, char** argv)
{
    vantrel::boundLibraryThreads(argv);
    if (listsTestsOnly(argc, argv)) {
        ::testing::InitGoogleTest(&argc, argv);
        return RUN_ALL_TESTS();
    }

    std::string display = qEnvironmentVariable("VANTREL_JOURNEY_DISPLAY").toStdString();
    if (display.empty()) {
        display = startXvfb();
        if (display.empty()) {
            std::fprintf(stderr, "journey: Xvfb could not start; skipped\n");
            return 77;
        }
        std::atexit(stopXvfb);
        // A second half started by a journey uses the same server.
        setenv("VANTREL_JOURNEY_DISPLAY", display.c_str(), 1);
    }
    setenv("DISPLAY", display.c_str(), 1);
    unsetenv("WAYLAND_DISPLAY");
    setenv("QT_QPA_PLATFORM", "xcb", 1);

    QTemporaryDir root;
    if (!root.isValid())
        return 2;
    // A home handed down by the process that started this one is kept for its journey; otherwise
    // each journey gets a fresh home (the process's own lies between them).
    const QString handedDown = qEnvironmentVariable("VANTREL_JOURNEY_HOME");
    vantrel::test::pointHomeAt(handedDown.isEmpty() ? root.path() + "/home" : handedDown);

    QApplication::setApplicationName(QStringLiteral("Vantrel"));
    QApplication app(argc, argv);
    app.setQuitOnLastWindowClosed(false);
    if (!vantrel::initImagingLibraries(argv[0]))
        return 2;
    vantrel::ResourceImages::initResources();

    ::testing::InitGoogleTest(&argc, argv);
    ::testing::UnitTest::GetInstance()->listeners().Append(new ShotOnFailure);
    // The server stops at exit (after the application has let go of its connection).
    return vantrel::test::runAllTestsEachInItsOwnHome(handedDown);
}
