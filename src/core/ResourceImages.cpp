#include "core/ResourceImages.h"

#include <mutex>

#include <QFile>
#include <QHash>

static void registerVantrelResources()
{
    Q_INIT_RESOURCE(vantrel);
}

namespace vantrel {

namespace {

std::mutex& cacheMutex()
{
    static std::mutex mutex;
    return mutex;
}

QHash<QString, QImage>& cache()
{
    static QHash<QString, QImage> images;
    return images;
}

} // namespace

void ResourceImages::initResources()
{
    static std::once_flag once;
    std::call_once(once, registerVantrelResources);
}

QString ResourceImages::pathOf(const QString& name)
{
    initResources();
    if (name.isEmpty() || name.contains(QLatin1String("..")))
        return {};
    const QString base = QStringLiteral(":/images/") + name;
    if (QFile::exists(base))
        return base;
    if (!name.endsWith(QLatin1String(".png"), Qt::CaseInsensitive) && QFile::exists(base + ".png"))
        return base + ".png";
    return {};
}

QImage ResourceImages::named(const QString& name)
{
    {
        std::lock_guard lock(cacheMutex());
        const auto found = cache().constFind(name);
        if (found != cache().constEnd())
            return *found;
    }
    const QString path = pathOf(name);
    if (path.isEmpty())
        return {};
    QImage image(path);
    std::lock_guard lock(cacheMutex());
    cache().insert(name, image);
    return image;
}

} // namespace vantrel
