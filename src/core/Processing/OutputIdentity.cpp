#include "core/Processing/OutputIdentity.h"

#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace vantrel {

namespace {

// The folder's device and inode (stat follows every symbolic link and ".." as the kernel does when
// it opens the path, and a bind mount shows the device and inode of what it mounts) and the
// folded name; the cleaned text of a folder that cannot be examined.
QString entryKey(const QString& path)
{
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    const QString folder = slash < 0 ? QStringLiteral(".") : slash == 0 ? QStringLiteral("/") : path.left(slash);
    const QString name = OutputIdentity::foldedName(path.mid(slash + 1));
    struct stat st { };
    if (::stat(QFile::encodeName(folder).constData(), &st) == 0)
        return QStringLiteral("%1:%2/").arg(static_cast<quint64>(st.st_dev)).arg(static_cast<quint64>(st.st_ino))
            + name;
    return QStringLiteral("path:") + QDir::cleanPath(QDir::current().absoluteFilePath(folder)) + QLatin1Char('/')
        + name;
}

} // namespace

OutputIdentity OutputIdentity::of(const QString& path)
{
    OutputIdentity identity;
    if (path.isEmpty())
        return identity;
    identity.m_keys.append(entryKey(path));
    // A write replaces the link itself, but a read goes through it to the file it leads to: a path
    // that is a link is also that file.
    struct stat st { };
    if (::lstat(QFile::encodeName(path).constData(), &st) == 0 && S_ISLNK(st.st_mode)) {
        const QString target = QFileInfo(path).canonicalFilePath();
        if (!target.isEmpty()) {
            const QString key = entryKey(target);
            if (!identity.m_keys.contains(key))
                identity.m_keys.append(key);
        }
    }
    return identity;
}

bool OutputIdentity::overlaps(const OutputIdentity& other) const
{
    for (const QString& key : m_keys) {
        if (other.m_keys.contains(key))
            return true;
    }
    return false;
}

QString OutputIdentity::foldedName(const QString& name)
{
    // Every name is folded, whatever the volume. Telling which folders ignore case (FAT and exFAT
    // cards, SMB shares, NTFS, ext4 folders with the casefold flag, FUSE volumes that cannot be
    // asked) would take a list of file-system types that is never complete, or a probe file
    // written into the user's folder; folding always is free and errs only on the harmless side:
    // on a volume that tells "A.jpg" from "a.jpg" the two writes merely wait for each other. The
    // compatibility form and the fold through upper case merge at least what any of those volumes
    // merges ("ß" and "SS", precomposed and combining accents).
    return name.normalized(QString::NormalizationForm_KC).toUpper().toCaseFolded();
}

} // namespace vantrel
