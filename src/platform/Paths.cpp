#include "platform/Paths.h"

#include <QDir>
#include <QStandardPaths>

namespace vantrel::Paths {

namespace {

// Without a home folder (HOME unset or "/") and without an absolute XDG variable, the folder
// would land under "/" (which root could create): refuse instead of creating anything there.
QString ensureFolder(const QString& base, const char* xdgVariable)
{
    const bool homeless = QDir::cleanPath(QDir::homePath()) == QDir::rootPath();
    if (homeless && !QDir::isAbsolutePath(qEnvironmentVariable(xdgVariable)))
        return {};
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
    return ensureFolder(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation), "XDG_DATA_HOME");
}

QString cachesFolder()
{
    return ensureFolder(QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation), "XDG_CACHE_HOME");
}

QString logFilePath()
{
    QString state = qEnvironmentVariable("XDG_STATE_HOME");
    if (state.isEmpty() || !QDir::isAbsolutePath(state))
        state = homeFolder() + "/.local/state";
    return QDir::cleanPath(state + "/Vantrel/" + QLatin1String(kLogFileName));
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
