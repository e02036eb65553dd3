#pragma once

// Pictures of the real window for the eye: taken only when VANTREL_SHOT_DIR names a folder.
#include <QApplication>
#include <QDir>
#include <QString>
#include <QWidget>

namespace vantrel::test {

/// A picture of the window, as <VANTREL_SHOT_DIR>/<name>.png, when the variable is set.
inline void shoot(QWidget* window, const QString& name)
{
    const QString dir = qEnvironmentVariable("VANTREL_SHOT_DIR");
    if (dir.isEmpty())
        return;
    QApplication::processEvents();
    QDir().mkpath(dir);
    window->grab().save(dir + "/" + name + ".png");
}

} // namespace vantrel::test
