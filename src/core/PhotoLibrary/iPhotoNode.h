#pragma once

#include <QString>

namespace vantrel {

/// Where one image of an iPhoto or Aperture library lives: its master (original), thumbnail and
/// image paths, its event and its position in the reader's list. A plain value.
struct iPhotoNode {
    iPhotoNode() = default;
    iPhotoNode(const QString& originalPath, const QString& thumbPath, const QString& imagePath, qint32 position,
        const QString& event)
        : oPath(originalPath)
        , tPath(thumbPath)
        , iPath(imagePath)
        , eventName(event)
        , index(position)
    {
    }

    QString oPath;
    QString tPath;
    QString iPath;
    QString eventName;
    qint32 index = 0;
};

} // namespace vantrel
