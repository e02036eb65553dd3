#include "core/AddPhotos/TrashLocation.h"

#include <unistd.h>

#include <QDir>
#include <QtGlobal>

#include "platform/Paths.h"

namespace vantrel {

QString TrashLocation::homeTrash()
{
    QString data = qEnvironmentVariable("XDG_DATA_HOME");
    if (data.isEmpty() || !QDir::isAbsolutePath(data))
        data = Paths::homeFolder() + QStringLiteral("/.local/share");
    return QDir::cleanPath(data + QStringLiteral("/Trash"));
}

bool TrashLocation::isInTrash(const QString& path)
{
    const QString clean = QDir::cleanPath(path);
    const QString home = homeTrash();
    if (clean == home || clean.startsWith(home + QLatin1Char('/')))
        return true;
    const QString uid = QString::number(::getuid());
    const QString volumeTrash = QStringLiteral("/.Trash-") + uid;
    const QString sharedTrash = QStringLiteral("/.Trash/") + uid;
    for (const QString& marker : { volumeTrash, sharedTrash }) {
        const qsizetype at = clean.indexOf(marker);
        if (at < 0)
            continue;
        const qsizetype end = at + marker.size();
        if (end == clean.size() || clean[end] == QLatin1Char('/'))
            return true;
    }
    return false;
}

} // namespace vantrel
