#pragma once

#include <QString>

namespace vantrel {

/// Where one photo of a Photos library lives and how the library names it. A plain value.
struct PhotosNode {
    PhotosNode() = default;
    PhotosNode(const QString& originalPath, const QString& thumbPath, const QString& originalFileName, quint64 size,
        const QString& uuidText, const QString& modelIdText, const QString& uuidRkVersion, const QString& libraryPath)
        : oPath(originalPath)
        , tPath(thumbPath)
        , fileName(originalFileName)
        , fileSize(size)
        , uuid(uuidText)
        , modelId(modelIdText)
        , uuIDRkVersion(uuidRkVersion)
        , librarypath(libraryPath)
    {
    }

    QString oPath;
    QString tPath;
    QString fileName; ///< the original file name
    quint64 fileSize = 0;
    QString uuid;
    QString modelId;
    QString uuIDRkVersion;
    QString librarypath;
    bool hasDescriptionForPhotosDup = false;
    QString photoNodeDesc;
    bool isMovedToTrashAlbum = false;
};

} // namespace vantrel
