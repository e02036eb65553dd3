#pragma once

#include <functional>
#include <memory>

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariantMap>

namespace vantrel {

class LibraryPathResolver;
struct AlbumFile;

/// Reads an iPhoto or Aperture library package into the paths of its images: the album file
/// ("AlbumData.xml" or "ApertureData.xml") plus the versions, masters and folders of the package's
/// database, joined in memory. Nothing in the package is changed: the database is opened read-only
/// where it lies, or read from a private copy when SQLite could not read it in place untouched.
///
/// One instance per library read, used on one thread (the add scan's worker).
class DataFiller {
public:
    using InfoMap = QHash<QString, QVariantMap>;

    /// Flags kept with a read; only iPhotoLibraryChanged is written (NO at each read).
    struct Flags {
        bool iPhotoLibraryChanged = false;
        bool abortedDuplicates = false;
        bool myDebugging = false;
        bool allowScanEditedCopies = false;
        bool countDiffer = false;
        bool isOSX_10_5 = false;
        bool isOSX_Less_Then_10_7 = false;
    };

    DataFiller();
    ~DataFiller();
    DataFiller(const DataFiller&) = delete;
    DataFiller& operator=(const DataFiller&) = delete;

    void setLibPath(const QString& libPath) { m_libPath = libPath; }
    const QString& libPath() const { return m_libPath; }

    /// The alert the caller shows when the album file records no "Archive Path".
    static inline const QString kArchiveMissingMessage
        = QStringLiteral("Please report to the developer should not happen");
    static inline const QString kArchiveMissingInformativeText = QStringLiteral("Send Feedback with logs now.");
    static inline const QString kArchiveMissingButton = QStringLiteral("OK");

    /// Called (on the reading thread) when the album file records no "Archive Path"; the caller
    /// shows the alert above on the main thread, never from the reading thread. Fires at most
    /// once per read.
    void setArchivePathMissingHandler(std::function<void()> handler) { m_archivePathMissing = std::move(handler); }

    /// Reads the package; the result is arrImagePaths(), one path per version taken, in version
    /// order (the same path may come twice). Empty without an album file or without
    /// "Database/apdb/Library.apdb".
    void fetchImagesFromLib(const QString& packagePath);

    /// Takes each version whose master and folder are known: appends its master's original path to
    /// `arrOP`, its image path to `arrIP` and its thumbnail path to `arrTP`, counts it on its master
    /// and folder, and marks it "iPath"/"tPath" when the album file's "Master Image List" gives no
    /// such path. Returns the versions taken. Uses the library folder of the last read.
    QList<QVariantMap> makeMastersListFor(QList<QVariantMap>& versions, QStringList& arrOP, QStringList& arrIP,
        QStringList& arrTP, const AlbumFile& xmlDict);

    bool isVideoFile(const QString& path) const;
    /// Answers YES; changes nothing.
    bool removePhoto(const QVariantMap& photo, int index);
    bool moveNodeToiPhotoTrash(int index);
    void finalizeTrashOperation() { }

    const QStringList& arrImagePaths() const { return m_arrImagePaths; }
    const QStringList& arrOriginalPaths() const { return m_arrOriginalPaths; }
    const QStringList& arrThumbnailPaths() const { return m_arrThumbnailPaths; }
    const QList<QVariantMap>& masterPhotos() const { return m_masterPhotos; }
    const InfoMap& dictMasterInfo() const { return m_dictMasterInfo; }
    const InfoMap& dictFolderInfo() const { return m_dictFolderInfo; }
    const QVariantMap& dictIsVideo() const { return m_dictIsVideo; }
    const QStringList& videoArr() const { return m_videoArr; }
    const QString& dbPath() const { return m_dbPath; }
    const QString& xmlFile() const { return m_xmlFile; }
    qint32 lastScannedPhotosCount() const { return m_lastScannedPhotosCount; }

    /// When YES, a version's "uuid" instead of its "modelId" keys the "Master Image List".
    bool isApertureLibrary() const { return m_isApertureLibrary; }
    void setIsApertureLibrary(bool aperture) { m_isApertureLibrary = aperture; }

    Flags& flags() { return m_flags; }
    const Flags& flags() const { return m_flags; }

private:
    QString mapAlbumPath(const QString& path) const;
    /// The album file's path as found in the package, or an empty text when it is not to be read.
    QString albumPathInPackage(const QString& path) const;

    QString m_libPath;
    QString m_dbPath;
    QString m_xmlFile;
    QString m_archivePath;
    QList<QVariantMap> m_masterPhotos;
    QStringList m_arrImagePaths;
    QStringList m_arrOriginalPaths;
    QStringList m_arrThumbnailPaths;
    InfoMap m_dictMasterInfo;
    InfoMap m_dictFolderInfo;
    QVariantMap m_dictIsVideo;
    qint32 m_lastScannedPhotosCount = 0;
    bool m_isApertureLibrary = false;
    Flags m_flags;
    QStringList m_videoArr;
    std::function<void()> m_archivePathMissing;
    std::unique_ptr<LibraryPathResolver> m_library;
};

} // namespace vantrel
