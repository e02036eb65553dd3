#include "core/Processing/OutputIdentity.h"

#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace vantrel {

namespace {

// A key for every folder on the way that exists: its device and inode (stat follows every symbolic
// link and ".." as the kernel does when it opens the path, and a bind mount shows the device and inode
// of what it mounts) and the folded rest of the path below it. The nearest folder gives the key that
// two spellings of one existing folder share; the folders above it give the keys that a path taken
// before its folder was made shares with a path taken after (a run makes the folders of a kept
// hierarchy while other photos bound for them are already in flight).
void appendEntryKeys(const QString& path, QStringList& keys)
{
    const QString absolute = QDir::current().absoluteFilePath(path);
    QStringList parts;
    for (const QString& part : absolute.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        if (part != QLatin1String("."))
            parts.append(part);
    }
    if (parts.isEmpty())
        return;
    for (qsizetype depth = parts.size() - 1; depth >= 0; --depth) {
        const QString folder = QLatin1Char('/') + parts.first(depth).join(QLatin1Char('/'));
        struct stat st { };
        if (::stat(QFile::encodeName(folder).constData(), &st) != 0)
            continue;
        const QString key
            = QStringLiteral("%1:%2/").arg(static_cast<quint64>(st.st_dev)).arg(static_cast<quint64>(st.st_ino))
            + OutputIdentity::foldedName(parts.sliced(depth).join(QLatin1Char('/')));
        if (!keys.contains(key))
            keys.append(key);
    }
}

} // namespace

OutputIdentity OutputIdentity::of(const QString& path)
{
    OutputIdentity identity;
    if (path.isEmpty())
        return identity;
    appendEntryKeys(path, identity.m_keys);
    // A write replaces the link itself, but a read goes through it to the file it leads to: a path
    // that is a link is also that file.
    struct stat st { };
    if (::lstat(QFile::encodeName(path).constData(), &st) == 0 && S_ISLNK(st.st_mode)) {
        const QString target = QFileInfo(path).canonicalFilePath();
        if (!target.isEmpty())
            appendEntryKeys(target, identity.m_keys);
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
