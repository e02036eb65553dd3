#include "TestHome.h"

#include <cstdlib>

#include <QByteArray>
#include <QDir>
#include <QFile>

namespace vantrel::test {

void pointHomeAt(const QString& home)
{
    QDir().mkpath(home + "/Pictures");
    QDir().mkpath(home + "/.config");
    const QByteArray h = home.toUtf8();
    setenv("HOME", h.constData(), 1);
    setenv("XDG_CONFIG_HOME", (h + "/.config").constData(), 1);
    setenv("XDG_DATA_HOME", (h + "/.local/share").constData(), 1);
    setenv("XDG_CACHE_HOME", (h + "/.cache").constData(), 1);
    setenv("XDG_STATE_HOME", (h + "/.local/state").constData(), 1);
    QFile dirs(home + "/.config/user-dirs.dirs");
    if (dirs.open(QIODevice::WriteOnly))
        dirs.write("XDG_PICTURES_DIR=\"$HOME/Pictures\"\n");
}

} // namespace vantrel::test
