#include "core/Processing/ProcessingFolderOpener.h"

#include <QDesktopServices>
#include <QUrl>

namespace vantrel {

void ProcessingFolderOpener::openFolder(const QString& path)
{
    QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

} // namespace vantrel
