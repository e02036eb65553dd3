#include "core/AddPhotos/AddScan.h"

#include <cstdio>

#include <QFileInfo>
#include <QSet>

#include "core/AddPhotos/AddedPaths.h"
#include "core/AddPhotos/FolderWalk.h"
#include "core/PhotoLibrary/DBOperations.h"
#include "core/PhotoLibrary/DataFiller.h"
#include "core/PhotoLibrary/LibraryPathResolver.h"
#include "platform/imaging/ImageFileTypes.h"

namespace vantrel {

namespace {

// The raw bytes of a path with everything outside printable ASCII escaped as \xHH.
QByteArray escapedBytes(const QByteArray& raw)
{
    QByteArray out;
    for (const char c : raw) {
        const auto u = static_cast<unsigned char>(c);
        if (u >= 0x20 && u < 0x7F && u != '\\')
            out.append(c);
        else
            out.append("\\x").append(QByteArray::number(u, 16).rightJustified(2, '0'));
    }
    return out;
}

bool isPhotosLibraryPackage(const QString& path)
{
    const QString ext = fileNameExtension(QFileInfo(path).fileName()).toLower();
    return ext == QLatin1String("migratedphotolibrary") || ext == QLatin1String("photoslibrary");
}

} // namespace

AddScan::AddScan(AddScanOptions options, AddedPaths& added, const std::atomic<bool>& stop)
    : m_options(std::move(options))
    , m_added(added)
    , m_stop(stop)
{
}

void AddScan::setDeliver(Deliver deliver, int maxGroup, std::chrono::milliseconds interval)
{
    m_deliver = std::move(deliver);
    m_maxGroup = std::max(1, maxGroup);
    m_interval = interval;
}

AddScanOutcome AddScan::run(const QStringList& sources)
{
    m_outcome = {};
    m_pending.clear();
    m_lastDelivery = std::chrono::steady_clock::now();
    for (const QString& source : sources)
        if (!scanSource(source))
            break;
    flush();
    return m_outcome;
}

bool AddScan::scanSource(const QString& source)
{
    const QFileInfo info(source);
    if (!info.isDir())
        return consider(source, info.fileName(), false);

    // A package is known by its name however its path was typed ("Trip.photolibrary/",
    // "a//Trip.photolibrary", "a/./Trip.photolibrary"): never walked as a plain folder.
    const QString tidy = LibraryPathResolver::tidyPath(source);
    if (FolderWalk::isPackageName(QFileInfo(tidy).fileName())) {
        AddPathType type = AddPathType::None;
        bool archivePathMissing = false;
        const QList<LibraryItem> items = libraryItems(tidy, &type, &archivePathMissing);
        m_outcome.archivePathMissing = m_outcome.archivePathMissing || archivePathMissing;
        m_outcome.pathType = type;
        bool goOn = true;
        for (const LibraryItem& item : items)
            if (!(goOn = consider(item.path, item.displayName, true)))
                break;
        std::fprintf(stderr, "%s == %d\n",
            type == AddPathType::PhotosLibrary ? "counting photos for photos" : "counting photos for iphoto",
            int(m_outcome.totalPhotoToAdd));
        return goOn;
    }

    FolderWalk::Handlers handlers;
    handlers.file = [this](const QString& path) {
        const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
        return consider(path, path.mid(slash + 1), false);
    };
    handlers.badName = [this](const QByteArray& raw) { return refuseBadName(raw); };
    handlers.canRead = m_options.canReadFolder;
    return m_options.isAddFromSubFolderSelected ? FolderWalk::walkRecursive(source, handlers)
                                                : FolderWalk::listOneLevel(source, handlers);
}

bool AddScan::refuseBadName(const QByteArray& rawPath)
{
    if (m_stop.load(std::memory_order_relaxed)) {
        m_outcome.stopped = true;
        return false;
    }
    std::fprintf(stderr, "add photos: refused a file whose name is not UTF-8: %s\n", escapedBytes(rawPath).constData());
    m_outcome.isPhotoFormatNotSupported = true;
    ++m_outcome.damagedFileCount;
    flushIfDue();
    return true;
}

bool AddScan::consider(const QString& path, const QString& displayName, bool isIphotoNode)
{
    if (m_stop.load(std::memory_order_relaxed)) {
        m_outcome.stopped = true;
        return false;
    }
    flushIfDue();
    if (m_added.contains(path)) {
        m_outcome.isPhotosAlreadyAdded = true;
        ++m_outcome.alreadyExistsPhotosCount;
        return true;
    }
    const QString extension = fileNameExtension(path);
    if (!ImageFileTypes::isImageExtension(extension)) {
        if (!isIphotoNode) {
            m_outcome.isPhotoFormatNotSupported = true;
            ++m_outcome.damagedFileCount;
        }
        return true;
    }
    PhotoFilePtr photo = PhotoFile::initWithFileUrl(path, displayName, isIphotoNode);
    if (!(photo->width() > 0 && photo->height() > 0)) {
        m_outcome.isPhotoFormatNotSupported = true;
        ++m_outcome.damagedFileCount;
        return true;
    }
    if (m_options.fileType != QLatin1String(kAddFileTypeAll) && !path.endsWith(m_options.fileType))
        return true;
    if (m_stop.load(std::memory_order_relaxed)) {
        m_outcome.stopped = true;
        return false;
    }
    if (m_outcome.totalPhotoToAdd >= m_options.limit) {
        m_outcome.isMaxPhotosLimitExceeded = true;
        return false;
    }
    m_added.insert(path);
    ++m_outcome.totalPhotoToAdd;
    if (!isCommonOutputFormat(extension))
        m_outcome.isRawImageExist = true;
    m_pending.append(std::move(photo));
    if (m_pending.size() >= m_maxGroup)
        flush();
    return true;
}

void AddScan::flushIfDue()
{
    if (!m_pending.isEmpty() && std::chrono::steady_clock::now() - m_lastDelivery >= m_interval)
        flush();
}

void AddScan::flush()
{
    m_lastDelivery = std::chrono::steady_clock::now();
    if (m_pending.isEmpty())
        return;
    QList<PhotoFilePtr> group;
    group.swap(m_pending);
    if (m_deliver)
        m_deliver(group);
    m_lastDelivery = std::chrono::steady_clock::now();
}

QStringList AddScan::getAllFilesInFolder(const QString& folder, bool isSubFolderSelected)
{
    QStringList paths;
    FolderWalk::Handlers handlers;
    handlers.file = [&paths](const QString& path) {
        paths.append(path);
        return true;
    };
    if (isSubFolderSelected)
        FolderWalk::walkRecursive(folder, handlers);
    else
        FolderWalk::listOneLevel(folder, handlers);
    return paths;
}

QList<AddScan::LibraryItem> AddScan::libraryItems(const QString& path, AddPathType* type, bool* archivePathMissing)
{
    const QString packagePath = LibraryPathResolver::tidyPath(path);
    QList<LibraryItem> items;
    QSet<QString> seen;
    const auto take = [&](const QString& path, const QString& name) {
        if (path.isEmpty() || seen.contains(path))
            return;
        seen.insert(path);
        if (QFileInfo::exists(path))
            items.append({ path, name.isEmpty() ? QFileInfo(path).fileName() : name });
    };
    if (isPhotosLibraryPackage(packagePath)) {
        if (type)
            *type = AddPathType::PhotosLibrary;
        const auto records = DBOperations::getPhotoslibraryPath(packagePath);
        if (records)
            for (const QVariantMap& record : *records)
                take(record.value(QStringLiteral("imagePath")).toString(),
                    record.value(QStringLiteral("originalFileName")).toString());
        return items;
    }
    if (type)
        *type = AddPathType::IPhotoLibrary;
    // The package path is passed as written: file names are case-sensitive here.
    DataFiller filler;
    if (archivePathMissing)
        filler.setArchivePathMissingHandler([archivePathMissing] { *archivePathMissing = true; });
    filler.setLibPath(packagePath);
    filler.fetchImagesFromLib(packagePath);
    for (const QString& path : filler.arrImagePaths())
        take(path, QFileInfo(path).fileName());
    return items;
}

} // namespace vantrel
