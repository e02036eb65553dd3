#include "core/PhotoLibrary/LibraryPathResolver.h"

#include <QDir>
#include <QFileInfo>

namespace vantrel {

LibraryPathResolver::LibraryPathResolver(const QString& packagePath)
    : m_packagePath(tidyPath(packagePath))
{
}

QString LibraryPathResolver::tidyPath(const QString& path)
{
    if (path.isEmpty())
        return path;
    QStringList parts = path.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    parts.removeAll(QStringLiteral("."));
    const bool absolute = path.startsWith(QLatin1Char('/'));
    if (parts.isEmpty())
        return absolute ? QStringLiteral("/") : QStringLiteral(".");
    return (absolute ? QStringLiteral("/") : QString()) + parts.join(QLatin1Char('/'));
}

const QStringList& LibraryPathResolver::listing(const QString& folder) const
{
    auto it = m_listings.constFind(folder);
    if (it == m_listings.constEnd()) {
        QStringList names
            = QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
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

    const QStringList parts = relative.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    const bool inside = !parts.contains(QStringLiteral(".")) && !parts.contains(QStringLiteral(".."));
    const QString found = inside ? findBelow(m_packagePath, parts, 0) : QString();
    m_found.insert(relative, found);
    return found;
}

QString LibraryPathResolver::findBelow(const QString& folder, const QStringList& parts, qsizetype next) const
{
    if (next == parts.size())
        return QFileInfo::exists(folder) ? folder : QString();
    const QString& part = parts.at(next);
    // The exact spelling first; then every spelling that differs only in case, in name order, so
    // that "Database/apdb" is still found when a "database" folder sits beside it. The folder is
    // listed only when the exact spelling leads nowhere: a library's photos each sit in folders
    // of their own, and listing every one of them would cost a read and a cached list per photo.
    const QString exact = folder + QLatin1Char('/') + part;
    if (QFileInfo::exists(exact)) {
        QString found = findBelow(exact, parts, next + 1);
        if (!found.isEmpty())
            return found;
    }
    for (const QString& name : listing(folder)) {
        if (name != part && name.compare(part, Qt::CaseInsensitive) == 0) {
            QString found = findBelow(folder + QLatin1Char('/') + name, parts, next + 1);
            if (!found.isEmpty())
                return found;
        }
    }
    return {};
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
    // One lookup per photo of a library that can hold a hundred thousand: not cached (each path
    // comes once; the folder listings are), and the caller's text is kept when the file has that
    // very spelling, so that the path is held once, not twice.
    const QStringList parts = path.mid(prefix.size()).split(QLatin1Char('/'), Qt::SkipEmptyParts);
    if (parts.isEmpty() || parts.contains(QStringLiteral(".")) || parts.contains(QStringLiteral("..")))
        return path;
    const QString found = findBelow(m_packagePath, parts, 0);
    return found.isEmpty() || found == path ? path : found;
}

bool LibraryPathResolver::staysInPackage(const QString& path) const
{
    const QString prefix = m_packagePath + QLatin1Char('/');
    if (m_packagePath.isEmpty() || !path.startsWith(prefix))
        return false;
    if (path.mid(prefix.size()).split(QLatin1Char('/'), Qt::SkipEmptyParts).contains(QStringLiteral("..")))
        return false;
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink())
        return true; // a missing file is refused later, when it is read
    if (m_canonicalPackage.isEmpty())
        m_canonicalPackage = QFileInfo(m_packagePath).canonicalFilePath();
    const QString canonical = info.canonicalFilePath();
    return !canonical.isEmpty() && !m_canonicalPackage.isEmpty()
        && canonical.startsWith(m_canonicalPackage + QLatin1Char('/'));
}

bool LibraryPathResolver::admitsPhoto(const QString& path) const
{
    if (!staysInPackage(path))
        return false;
    const QFileInfo info(path);
    return info.isFile() || (!info.exists() && !info.isSymLink());
}

QString LibraryPathResolver::findOwnFile(const QString& relative) const
{
    const QString found = find(relative);
    if (found.isEmpty() || !staysInPackage(found) || !QFileInfo(found).isFile())
        return {};
    return found;
}

} // namespace vantrel
