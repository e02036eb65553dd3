// Entry point of the suite that runs on a real X server (under xvfb-run): like the other suites'
// it keeps the whole run in a temporary home and each test in a fresh one, but it leaves Qt on
// its xcb platform.
#include <cstdlib>

#include <QApplication>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "platform/imaging/ImagingInit.h"
#include "support/PerTestHome.h"
#include "support/TestHome.h"

int main(int argc, char** argv)
{
    vantrel::boundLibraryThreads(argv);
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        return 77; // skipped: no X server
    QTemporaryDir root;
    if (!root.isValid())
        return 2;
    vantrel::test::pointHomeAt(root.path() + "/home");
    setenv("QT_QPA_PLATFORM", "xcb", 1);

    QApplication app(argc, argv);
    if (!vantrel::initImagingLibraries(argv[0]))
        return 2;
    ::testing::InitGoogleTest(&argc, argv);
    return vantrel::test::runAllTestsEachInItsOwnHome();
}
