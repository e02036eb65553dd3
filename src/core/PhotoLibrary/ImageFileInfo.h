#pragma once

#include <memory>
#include <optional>
#include <vector>

#include <QByteArray>
#include <QDateTime>
#include <QImage>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QVariantMap>

#include "core/PhotoLibrary/PhotosNode.h"
#include "core/PhotoLibrary/iPhotoNode.h"

namespace vantrel {

class DataFiller;
class ExifInfo;

/// One image file for comparison work across folders and photo libraries: its size, dates and
/// type, the marks and hashes of a comparison, a metadata record read on demand, and the library
/// node it came from. Built only through the init factories, which give no record for a file
/// smaller than 20 bytes. Not thread-safe; a record belongs to the thread that works on it.
class ImageFileInfo {
public:
    /// A plain file: `fileType` is "Portable Network Graphic" for a "png" extension (any case),
    /// else the extension in upper case.
    static std::shared_ptr<ImageFileInfo> initWithPathForFile(const QString& path);
    /// A file of an iPhoto/Aperture library: the image path, or the original path when the image
    /// path is empty; `fileType` is the file-system type of the file (fileSystemType()).
    static std::shared_ptr<ImageFileInfo> initWithiPhotoOriginalPath(const QString& originalPath,
        const QString& thumbPath, const QString& imagePath, qint32 index, const QString& event);
    /// A file of a Photos library: the original path under the original file name; a given size
    /// below 20 gives no record, otherwise size, dates and type come from the file.
    static std::shared_ptr<ImageFileInfo> initWithPhotosOriginalPath(const QString& originalPath,
        const QString& thumbPath, const QString& originalFileName, quint64 fileSize, const QString& uuid,
        const QString& modelId, const QString& uuIDRKversion, const QString& libraryPath);

    /// The file-system type of the file at `path` (symbolic links followed): "Regular",
    /// "Directory", "SymbolicLink", "CharacterSpecial", "BlockSpecial", "Socket", "Fifo" or
    /// "Unknown" (also for a missing file).
    static QString fileSystemType(const QString& path);

    /// The file's own attributes as a dictionary: "FSName", "FSSize", "FSContentChangeDate",
    /// "FSCreationDate" and each extended attribute as "xattr:<name>" (its bytes). Nothing when
    /// the file does not exist.
    static std::optional<QVariantMap> metaDataDictionaryForFileAt(const QString& path);

    /// Reads the metadata record from `filePath` the first time; later calls do nothing.
    void updateExifInfo();
    std::shared_ptr<const ExifInfo> exifInfo() const { return m_exifInfo; }
    bool isExifInfoUpdated() const { return m_isExifInfoUpdated; }

    QString filePath;
    QString fileName;
    QDateTime modDate;
    QDateTime createDate;
    quint64 fileSize = 0;
    QString fileType;

    bool isMark = false;
    bool blDoNotCompare = false;
    bool isLocked = false;
    bool isVideo = false;
    bool hasDescriptionForPhotosDup = false;

    QByteArray hash; ///< comparison hash, empty at creation
    std::vector<quint64> hashLong; ///< second comparison hash, empty at creation
    float match = 0;
    qint32 meanValue = 0;
    QString fileMd5;
    QImage imgThumbnail;

    bool isiPhotoNode = false;
    bool isPhotosNode = false;
    iPhotoNode iPhotoInfo;
    PhotosNode photosInfo;
    QString libraryPath;

    // Not owned.
    std::weak_ptr<ImageFileInfo> matchesWithNode;
    QPointer<QObject> parent;
    std::weak_ptr<DataFiller> obj_iPhoto;

private:
    ImageFileInfo() = default;
    /// Size and dates from the file at filePath.
    void readFileAttributes();

    std::shared_ptr<const ExifInfo> m_exifInfo;
    bool m_isExifInfoUpdated = false;
};

} // namespace vantrel
