#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

namespace vantrel {

/// Finds names inside one photo-library package without regard to letter case. Libraries come
/// from case-insensitive file systems, so the names a database or album file stores ("Masters",
/// "database/apdb/Library.apdb") may differ in case from what is on disk. Each path component is
/// matched exactly first, then case-insensitively (in name order, trying the next spelling when a
/// deeper component is not found); the package path itself is taken as given. Folder listings are cached, so make one
/// resolver per library read. Not thread-safe: a resolver belongs to the read that made it.
class LibraryPathResolver {
public:
    /// `packagePath` is taken as tidyPath() spells it.
    explicit LibraryPathResolver(const QString& packagePath);

    /// `path` without repeated slashes, "." components and trailing slashes, so that a package is
    /// recognised by its name however its path was typed. ".." components stay: where they lead
    /// depends on the links before them.
    static QString tidyPath(const QString& path);

    const QString& packagePath() const { return m_packagePath; }

    /// The existing path for `relative` ("database/apdb/Library.apdb") as spelled on disk, or an
    /// empty text when no spelling of it exists.
    QString find(const QString& relative) const;
    bool exists(const QString& relative) const { return !find(relative).isEmpty(); }
    /// find(), or the package path + "/" + `relative` as written when nothing matches.
    QString resolve(const QString& relative) const;
    /// For a full path inside the package, resolve() of its part below the package; other paths
    /// come back unchanged.
    QString resolveFullPath(const QString& path) const;
    /// Whether `path` lies inside the package: no ".." component below it and, when it exists, no
    /// symbolic link on the way that leads out of it.
    bool staysInPackage(const QString& path) const;
    /// Whether a photo path from the library's database or album file may be read: it stays in the
    /// package and, when something exists there, that is a regular file (after following links),
    /// never a FIFO, device or folder that would block or mislead the reader.
    bool admitsPhoto(const QString& path) const;
    /// find() for a file the reader opens itself (a database, an album file): empty unless what
    /// is found stays in the package and is a regular file, so that a link out of the package
    /// never makes a file elsewhere pass for the library's own.
    QString findOwnFile(const QString& relative) const;

private:
    const QStringList& listing(const QString& folder) const;
    QString findBelow(const QString& folder, const QStringList& parts, qsizetype next) const;

    QString m_packagePath;
    mutable QHash<QString, QStringList> m_listings;
    mutable QHash<QString, QString> m_found;
    mutable QString m_canonicalPackage;
};

} // namespace vantrel
