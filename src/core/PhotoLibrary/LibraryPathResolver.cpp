#include "core/PhotoLibrary/LibraryPathResolver.h"

#include <QDir>
#include <QFileInfo>

namespace vantrel {

namespace {

QString withoutTrailingSlashes(QString path)
{
    while (path.size() > 1 && path.endsWith(QLatin1Char('/')))
        path.chop(1);
    return path;
}

} // namespace

LibraryPathResolver::LibraryPathResolver(const QString& packagePath)
    : m_packagePath(withoutTrailingSlashes(packagePath))
{
}

const QStringList& LibraryPathResolver::listing(const QString& folder) const
{
    auto it = m_listings.constFind(folder);
    if (it == m_listings.constEnd()) {
        QStringList names = QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                                                   QDir::Name);
        it = m_listings.insert(folder, names);
    }
    return *it;
}

QString LibraryPathResolver::find(const QString& relative) const
{
    if (m_packagePath.isEmpty())
        return {};
    const auto cached = m_found.constFind(relative);
    if (cached != m_found.constEnd())
        return *cached;

    QString current = m_packagePath;
    const QStringList parts = relative.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    for (const QString& part : parts) {
        if (part == QLatin1String(".") || part == QLatin1String("..")) {
            current = {}; // stay inside the package
            break;
        }
        const QString exact = current + QLatin1Char('/') + part;
        if (QFileInfo::exists(exact)) {
            current = exact;
            continue;
        }
        QString match;
        for (const QString& name : listing(current)) {
            if (name.compare(part, Qt::CaseInsensitive) == 0) {
                match = name;
                break;
            }
        }
        if (match.isEmpty()) {
            current = {};
            break;
        }
        current += QLatin1Char('/') + match;
    }
    if (!current.isEmpty() && !QFileInfo::exists(current))
        current = {};
    m_found.insert(relative, current);
    return current;
}

QString LibraryPathResolver::resolve(const QString& relative) const
{
    const QString found = find(relative);
    if (!found.isEmpty())
        return found;
    return m_packagePath + QLatin1Char('/') + relative;
}

QString LibraryPathResolver::resolveFullPath(const QString& path) const
{
    const QString prefix = m_packagePath + QLatin1Char('/');
    if (m_packagePath.isEmpty() || !path.startsWith(prefix))
        return path;
    const QString found = find(path.mid(prefix.size()));
    return found.isEmpty() ? path : found;
}

} // namespace vantrel
