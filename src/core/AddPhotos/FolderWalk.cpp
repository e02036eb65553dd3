#include "core/AddPhotos/FolderWalk.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

#include <dirent.h>
#include <sys/stat.h>

#include <QFile>
#include <QStringList>

#include "core/AddPhotos/AddScanTypes.h"
#include "platform/imaging/ImageFileTypes.h"

namespace vantrel {

namespace {

struct Entry {
    QString name; ///< decoded name (lossy for a bad name)
    QByteArray raw; ///< the bytes on disk
    bool isFolder = false; ///< a real folder, not a link to one
    bool badName = false; ///< not valid UTF-8
};

void logUnreadable(const QByteArray& folder, int error)
{
    std::fprintf(stderr, "[Error] %s (%s)\n", std::strerror(error), folder.constData());
}

// Reads one folder's entries in name order; false (after logging) when it cannot be read.
bool readEntries(const QByteArray& folder, std::vector<Entry>& entries, const FolderWalk::Handlers& h)
{
    if (h.canRead && !h.canRead(folder)) {
        logUnreadable(folder, EACCES);
        return false;
    }
    DIR* dir = ::opendir(folder.constData());
    if (!dir) {
        logUnreadable(folder, errno);
        return false;
    }
    while (const dirent* item = ::readdir(dir)) {
        const char* name = item->d_name;
        if (std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0)
            continue;
        Entry entry;
        entry.raw = QByteArray(name);
        entry.name = QString::fromUtf8(entry.raw);
        entry.badName = entry.name.toUtf8() != entry.raw;
        if (item->d_type == DT_DIR) {
            entry.isFolder = true;
        } else if (item->d_type == DT_UNKNOWN) {
            struct stat st { };
            const QByteArray full = folder + '/' + entry.raw;
            entry.isFolder = ::lstat(full.constData(), &st) == 0 && S_ISDIR(st.st_mode);
        }
        entries.push_back(std::move(entry));
    }
    ::closedir(dir);
    std::sort(entries.begin(), entries.end(),
        [](const Entry& a, const Entry& b) { return FolderWalk::compareNames(a.name, b.name) < 0; });
    return true;
}

QByteArray joined(const QByteArray& folder, const QByteArray& name)
{
    return folder.endsWith('/') ? folder + name : folder + '/' + name;
}

bool handOver(const Entry& entry, const QByteArray& folder, const QString& folderPath, const FolderWalk::Handlers& h)
{
    if (entry.badName)
        return h.badName ? h.badName(joined(folder, entry.raw)) : true;
    return h.file(folderPath.endsWith(QLatin1Char('/')) ? folderPath + entry.name : folderPath + '/' + entry.name);
}

bool walk(const QByteArray& folder, const QString& folderPath, const FolderWalk::Handlers& h)
{
    std::vector<Entry> entries;
    if (!readEntries(folder, entries, h))
        return true; // skipped; the walk goes on
    for (const Entry& entry : entries) {
        if (entry.raw.startsWith('.'))
            continue;
        if (entry.isFolder) {
            if (FolderWalk::isPackageName(entry.name))
                continue;
            if (entry.badName) {
                if (h.badName && !h.badName(joined(folder, entry.raw)))
                    return false;
                continue;
            }
            const QString sub
                = folderPath.endsWith(QLatin1Char('/')) ? folderPath + entry.name : folderPath + '/' + entry.name;
            if (!walk(joined(folder, entry.raw), sub, h))
                return false;
            continue;
        }
        if (!handOver(entry, folder, folderPath, h))
            return false;
    }
    return true;
}

int compareDigitRuns(const QString& a, qsizetype& i, const QString& b, qsizetype& j)
{
    qsizetype ai = i, bj = j;
    while (ai < a.size() && a[ai] == QLatin1Char('0'))
        ++ai;
    while (bj < b.size() && b[bj] == QLatin1Char('0'))
        ++bj;
    qsizetype ae = ai, be = bj;
    while (ae < a.size() && a[ae].isDigit())
        ++ae;
    while (be < b.size() && b[be].isDigit())
        ++be;
    int result = 0;
    if (ae - ai != be - bj)
        result = ae - ai < be - bj ? -1 : 1;
    else
        result = QStringView(a).mid(ai, ae - ai).compare(QStringView(b).mid(bj, be - bj));
    i = ae;
    j = be;
    return result;
}

} // namespace

bool FolderWalk::listOneLevel(const QString& folder, const Handlers& handlers)
{
    const QByteArray native = QFile::encodeName(folder);
    std::vector<Entry> entries;
    if (!readEntries(native, entries, handlers))
        return true;
    for (const Entry& entry : entries) {
        if (!ImageFileTypes::isImageExtension(fileNameExtension(entry.name)))
            continue;
        if (!handOver(entry, native, folder, handlers))
            return false;
    }
    return true;
}

bool FolderWalk::walkRecursive(const QString& folder, const Handlers& handlers)
{
    QString path = folder;
    while (path.size() > 1 && path.endsWith(QLatin1Char('/')))
        path.chop(1);
    return walk(QFile::encodeName(path), path, handlers);
}

bool FolderWalk::isPackageName(const QString& name)
{
    static const QStringList packages { "photoslibrary", "migratedphotolibrary", "photolibrary", "iphotolibrary",
        "aplibrary" };
    return packages.contains(fileNameExtension(name), Qt::CaseInsensitive);
}

int FolderWalk::compareNames(const QString& a, const QString& b)
{
    qsizetype i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        if (a[i].isDigit() && b[j].isDigit()) {
            if (const int r = compareDigitRuns(a, i, b, j))
                return r;
            continue;
        }
        const char16_t ca = a[i].toCaseFolded().unicode();
        const char16_t cb = b[j].toCaseFolded().unicode();
        if (ca != cb)
            return ca < cb ? -1 : 1;
        ++i;
        ++j;
    }
    if (i < a.size() || j < b.size())
        return i < a.size() ? 1 : -1;
    return a.compare(b);
}

} // namespace vantrel
