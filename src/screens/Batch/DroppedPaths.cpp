#include "screens/Batch/DroppedPaths.h"

#include <QMimeData>
#include <QUrl>

namespace vantrel {

QStringList droppedLocalPaths(const QMimeData* mime)
{
    QStringList paths;
    if (!mime || !mime->hasUrls())
        return paths;
    for (const QUrl& url : mime->urls()) {
        if (!url.isLocalFile())
            return {};
        paths << url.toLocalFile();
    }
    return paths;
}

} // namespace vantrel
