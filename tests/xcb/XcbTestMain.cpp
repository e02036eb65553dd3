// Entry point of the suite that runs on a real X server (under xvfb-run): like the other suites'
// it keeps the whole run in a temporary home, but it leaves Qt on its xcb platform.
#include <cstdlib>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "platform/imaging/ImagingInit.h"

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        return 77; // skipped: no X server
    QTemporaryDir root;
    if (!root.isValid())
        return 2;
    const QByteArray home = (root.path() + "/home").toUtf8();
    QDir().mkpath(QString::fromUtf8(home) + "/Pictures");
    QDir().mkpath(QString::fromUtf8(home) + "/.config");
    setenv("HOME", home.constData(), 1);
    setenv("XDG_CONFIG_HOME", (home + "/.config").constData(), 1);
    setenv("XDG_DATA_HOME", (home + "/.local/share").constData(), 1);
    setenv("XDG_CACHE_HOME", (home + "/.cache").constData(), 1);
    setenv("XDG_STATE_HOME", (home + "/.local/state").constData(), 1);
    setenv("QT_QPA_PLATFORM", "xcb", 1);
    QFile dirs(QString::fromUtf8(home) + "/.config/user-dirs.dirs");
    if (dirs.open(QIODevice::WriteOnly))
        dirs.write("XDG_PICTURES_DIR=\"$HOME/Pictures\"\n");
    dirs.close();

    QApplication app(argc, argv);
    if (!vantrel::initImagingLibraries(argv[0]))
        return 2;
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
