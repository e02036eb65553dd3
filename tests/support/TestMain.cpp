// Test entry point shared by every suite: the whole run lives in a temporary home so that no
// test touches the real one, each test in a fresh home of its own with the work it started
// finished before the next begins, and Qt runs on the offscreen platform.
#include <cstdlib>
#include <cstring>

#include <QTemporaryDir>

#if VANTREL_TEST_WIDGETS
#include <QApplication>
#else
#include <QGuiApplication>
#endif

#include <gtest/gtest.h>

#include "platform/imaging/ImagingInit.h"
#include "support/PerTestHome.h"
#include "support/TestHome.h"

int main(int argc, char** argv)
{
    vantrel::boundLibraryThreads(argv);
    // A death test's child ends inside the test, where a home of its own would never be removed:
    // it makes its home inside its parent's (inherited through the environment), which the parent
    // removes.
    bool deathTestChild = false;
    for (int i = 1; i < argc; ++i)
        deathTestChild = deathTestChild || std::strncmp(argv[i], "--gtest_internal_run_death_test", 31) == 0;
    const char* parentHome = std::getenv("HOME");
    QTemporaryDir root = deathTestChild && parentHome
        ? QTemporaryDir(QString::fromLocal8Bit(parentHome) + "/death-test-XXXXXX")
        : QTemporaryDir();
    if (!root.isValid())
        return 2;
    vantrel::test::pointHomeAt(root.path() + "/home");
    setenv("QT_QPA_PLATFORM", "offscreen", 1);

#if VANTREL_TEST_WIDGETS
    QApplication app(argc, argv);
#else
    QGuiApplication app(argc, argv);
#endif
    if (!vantrel::initImagingLibraries(argv[0]))
        return 2;

    ::testing::InitGoogleTest(&argc, argv);
    return vantrel::test::runAllTestsEachInItsOwnHome();
}
