#include "core/PhotoLibrary/DataFiller.h"

#include <algorithm>

#include <QVariant>

#include "core/PhotoLibrary/AlbumFile.h"
#include "core/PhotoLibrary/DBOperations.h"
#include "core/PhotoLibrary/LibraryDatabaseCopy.h"
#include "core/PhotoLibrary/LibraryLog.h"
#include "core/PhotoLibrary/LibraryPathResolver.h"

namespace vantrel {

namespace {

const QString kOriginalPath = QStringLiteral("OriginalPath");
const QString kMasterCount = QStringLiteral("MasterCount");
const QString kVersionCount = QStringLiteral("VersionCount");
const QString kMasterUuid = QStringLiteral("masterUuid");
const QString kProjectUuid = QStringLiteral("projectUuid");

QString withoutTrailingSlashes(QString path)
{
    while (path.size() > 1 && path.endsWith(QLatin1Char('/')))
        path.chop(1);
    return path;
}

bool hasParentStep(const QString& path)
{
    return path.split(QLatin1Char('/'), Qt::SkipEmptyParts).contains(QStringLiteral(".."));
}

void logLine(const QString& line)
{
    qCInfo(lcPhotoLibrary).noquote() << line;
}

} // namespace

DataFiller::DataFiller()
    : m_videoArr { QStringLiteral("MPEG"), QStringLiteral("MP4"), QStringLiteral("DIVX"), QStringLiteral("MOV"),
        QStringLiteral("XVID"), QStringLiteral("MPG"), QStringLiteral("AVI"), QStringLiteral("WEBM"),
        QStringLiteral("DV"), QStringLiteral("3GP"), QStringLiteral("M4V"), QStringLiteral("3GPP"),
        QStringLiteral("3PP2"), QStringLiteral("MPEG-2"), QStringLiteral("MPEG-1"), QStringLiteral("MPA"),
        QStringLiteral("FLV"), QStringLiteral("WMX") }
{
}

DataFiller::~DataFiller() = default;

void DataFiller::fetchImagesFromLib(const QString& packagePath)
{
    m_arrImagePaths.clear();
    m_lastScannedPhotosCount = 0;
    m_dbPath.clear();
    m_library = std::make_unique<LibraryPathResolver>(packagePath);
    const LibraryPathResolver& library = *m_library;

    m_xmlFile = library.findOwnFile(QStringLiteral("AlbumData.xml"));
    if (m_xmlFile.isEmpty())
        m_xmlFile = library.findOwnFile(QStringLiteral("ApertureData.xml"));
    if (m_xmlFile.isEmpty())
        return;

    m_dbPath = library.findOwnFile(QStringLiteral("Database/apdb/Library.apdb"));
    if (!m_dbPath.isEmpty())
        logLine(QStringLiteral("is9X"));
    m_flags.iPhotoLibraryChanged = false;
    logLine(QStringLiteral("Into Fill Duplicates"));
    logLine(m_dbPath);
    if (m_dbPath.isEmpty())
        return;

    QString masters = library.find(QStringLiteral("Masters"));
    if (masters.isEmpty()) {
        masters = library.resolve(QStringLiteral("Originals"));
        logLine(QStringLiteral("Masters NOT present. New: %1").arg(masters));
    }

    LibraryDatabaseCopy copy;
    QString readable = m_dbPath;
    if (!LibraryDatabaseCopy::canReadInPlace(m_dbPath)) {
        if (!copy.make(m_dbPath))
            return;
        readable = copy.path();
    }
    QList<QVariantMap> versions = DBOperations::getAllVersionPhotos(readable, QStringLiteral("RKVersion"));
    m_dictMasterInfo.clear();
    m_dictFolderInfo.clear();
    DBOperations::getAllMasterPhotos(readable, masters, QStringLiteral("RKMaster"), m_dictMasterInfo);
    DBOperations::getAllFolders(readable, QStringLiteral("RKFolder"), m_dictFolderInfo);
    for (auto master = m_dictMasterInfo.begin(); master != m_dictMasterInfo.end();) {
        const QString path = library.resolveFullPath(master->value(kOriginalPath).toString());
        // A master reached through a symbolic link that leads out of the package is not read.
        if (!library.admitsPhoto(path)) {
            logLine(QStringLiteral("Master outside the library skipped: %1").arg(path));
            master = m_dictMasterInfo.erase(master);
            continue;
        }
        master->insert(kOriginalPath, path);
        ++master;
    }

    // A damaged album file reads as an empty one: every version then falls back to its master.
    const AlbumFile album = AlbumFile::readFile(m_xmlFile).value_or(AlbumFile());
    const QList<QVariantMap> taken
        = makeMastersListFor(versions, m_arrOriginalPaths, m_arrImagePaths, m_arrThumbnailPaths, album);

    m_masterPhotos.append(taken);
    m_lastScannedPhotosCount = static_cast<qint32>(taken.size());
    logLine(QStringLiteral("Total Photos in iPhoto %1").arg(m_lastScannedPhotosCount));
    logLine(QStringLiteral("Original count=%1").arg(m_arrOriginalPaths.size()));
    logLine(QStringLiteral("Thumbnail count%1").arg(m_arrThumbnailPaths.size()));
    logLine(QStringLiteral("Image count%1").arg(m_arrImagePaths.size()));

    versions.clear();
    m_masterPhotos.clear();
    m_arrThumbnailPaths.clear();
    m_arrOriginalPaths.clear();
}

QString DataFiller::mapAlbumPath(const QString& path) const
{
    if (!m_library)
        return path;
    const QString libraryFolder = m_library->packagePath();
    const QString archive = withoutTrailingSlashes(m_archivePath);
    // The album file spells paths under the folder the library had when it was written. Its part
    // below that folder is looked up in the package as it is now; the comparison ignores case, as
    // the file system the library came from did.
    if (!archive.isEmpty() && path.size() > archive.size() && path.startsWith(archive, Qt::CaseInsensitive)
        && path.at(archive.size()) == QLatin1Char('/')) {
        QString inPackage = libraryFolder + path.mid(archive.size());
        if (inPackage == path)
            inPackage = path; // the library was not moved: share the album's text
        return m_library->resolveFullPath(inPackage);
    }
    return m_library->resolveFullPath(path);
}

QString DataFiller::albumPathInPackage(const QString& path) const
{
    if (path.isEmpty() || hasParentStep(path))
        return {};
    // The album file is as untrusted as the database: a path that names a file elsewhere (given
    // in full, or through a link in the package that leads out) is not taken, and the version
    // keeps its master, as when the album file gives no path.
    const QString mapped = mapAlbumPath(path);
    if (!m_library || !m_library->admitsPhoto(mapped)) {
        logLine(QStringLiteral("Album path outside the library skipped: %1").arg(path));
        return {};
    }
    return mapped;
}

QList<QVariantMap> DataFiller::makeMastersListFor(
    QList<QVariantMap>& versions, QStringList& arrOP, QStringList& arrIP, QStringList& arrTP, const AlbumFile& xmlDict)
{
    const QString libraryFolder = m_library ? m_library->packagePath() : QString();
    m_archivePath = withoutTrailingSlashes(xmlDict.archivePath);
    if (m_archivePath.isEmpty()) {
        logLine(QStringLiteral("Archive is nil"));
        if (m_archivePathMissing)
            m_archivePathMissing();
    } else if (m_archivePath.compare(libraryFolder, Qt::CaseInsensitive) != 0) {
        logLine(QStringLiteral("Library moved from %1 to %2").arg(m_archivePath, libraryFolder));
    }

    const QHash<QString, AlbumFile::Paths>& imageList = xmlDict.masterImageList;
    QList<QVariantMap> taken;
    for (QVariantMap& version : versions) {
        const QString masterUuid = version.value(kMasterUuid).toString();
        if (masterUuid.isEmpty())
            continue;
        const auto master = m_dictMasterInfo.find(masterUuid);
        const auto folder = m_dictFolderInfo.find(version.value(kProjectUuid).toString());
        if (master == m_dictMasterInfo.end() || folder == m_dictFolderInfo.end())
            continue;

        const QString originalPath = master->value(kOriginalPath).toString();
        arrOP.append(originalPath);
        master->insert(kMasterCount, master->value(kMasterCount).toInt() + 1);
        folder->insert(kVersionCount, folder->value(kVersionCount).toInt() + 1);

        QString imagePath = originalPath;
        QString thumbPath = originalPath;
        const QString key
            = version.value(m_isApertureLibrary ? QStringLiteral("uuid") : QStringLiteral("modelId")).toString();
        const auto entry = imageList.constFind(key);
        if (entry != imageList.constEnd()) {
            const QString albumImage = albumPathInPackage(entry->imagePath);
            const QString albumThumb = albumPathInPackage(entry->thumbPath);
            if (!albumImage.isEmpty())
                imagePath = albumImage;
            else
                version.insert(QStringLiteral("iPath"), true);
            if (!albumThumb.isEmpty())
                thumbPath = albumThumb;
            else
                version.insert(QStringLiteral("tPath"), true);
        } else {
            version.insert(QStringLiteral("iPath"), true);
            version.insert(QStringLiteral("tPath"), true);
        }
        arrIP.append(imagePath);
        arrTP.append(thumbPath);
        taken.append(version);
    }
    return taken;
}

bool DataFiller::isVideoFile(const QString& path) const
{
    const QString upper = path.toUpper();
    return std::any_of(m_videoArr.begin(), m_videoArr.end(), [&](const QString& ext) { return upper.endsWith(ext); });
}

bool DataFiller::removePhoto(const QVariantMap& photo, int index)
{
    Q_UNUSED(photo);
    Q_UNUSED(index);
    return true;
}

bool DataFiller::moveNodeToiPhotoTrash(int index)
{
    if (index < 0 || index >= m_masterPhotos.size())
        return false;
    return removePhoto(m_masterPhotos.at(index), index);
}

} // namespace vantrel
