#include "platform/Paths.h"

#include <QDir>
#include <QStandardPaths>

namespace vantrel::Paths {

namespace {

QString ensureFolder(const QString& base)
{
    if (base.isEmpty() || !QDir::isAbsolutePath(base))
        return {};
    const QString folder = QDir::cleanPath(base + "/Vantrel");
    if (!QDir().mkpath(folder))
        return {};
    return folder;
}

} // namespace

QString homeFolder()
{
    return QDir::homePath();
}

QString applicationSupportFolder()
{
    return ensureFolder(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation));
}

QString cachesFolder()
{
    return ensureFolder(QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation));
}

QString logFilePath()
{
    QString state = qEnvironmentVariable("XDG_STATE_HOME");
    if (state.isEmpty() || !QDir::isAbsolutePath(state))
        state = homeFolder() + "/.local/state";
    return QDir::cleanPath(state + "/Vantrel/Vantrel.log");
}

QString picturesFolder()
{
    QString pictures = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    if (pictures.isEmpty())
        pictures = homeFolder() + "/Pictures";
    return QDir::cleanPath(pictures);
}

QString defaultOutputFolder()
{
    return picturesFolder() + "/Vantrel";
}

QString libraryOutputFolder()
{
    return picturesFolder() + "/PhotosLibrary_VantrelOutput";
}

} // namespace vantrel::Paths
