// Test entry point shared by every suite: the whole run lives in a temporary home so that no
// test touches the real one, and Qt runs on the offscreen platform.
#include <cstdlib>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#if VANTREL_TEST_WIDGETS
#include <QApplication>
#else
#include <QGuiApplication>
#endif

#include <gtest/gtest.h>

#include "platform/imaging/ImagingInit.h"

namespace {

void pointHomeAt(const QString& root)
{
    const QString home = root + "/home";
    QDir().mkpath(home + "/Pictures");
    const QByteArray h = home.toUtf8();
    setenv("HOME", h.constData(), 1);
    setenv("XDG_CONFIG_HOME", (h + "/.config").constData(), 1);
    setenv("XDG_DATA_HOME", (h + "/.local/share").constData(), 1);
    setenv("XDG_CACHE_HOME", (h + "/.cache").constData(), 1);
    setenv("XDG_STATE_HOME", (h + "/.local/state").constData(), 1);
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QDir().mkpath(home + "/.config");
    QFile dirs(home + "/.config/user-dirs.dirs");
    if (dirs.open(QIODevice::WriteOnly))
        dirs.write("XDG_PICTURES_DIR=\"$HOME/Pictures\"\n");
}

} // namespace

int main(int argc, char** argv)
{
    QTemporaryDir root;
    if (!root.isValid())
        return 2;
    pointHomeAt(root.path());

#if VANTREL_TEST_WIDGETS
    QApplication app(argc, argv);
#else
    QGuiApplication app(argc, argv);
#endif
    if (!vantrel::initImagingLibraries(argv[0]))
        return 2;

    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
