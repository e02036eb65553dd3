#pragma once

#include <optional>

#include <QHash>
#include <QIODevice>
#include <QString>

namespace vantrel {

/// What the library readers use of an album file ("AlbumData.xml" or "ApertureData.xml", an XML
/// property list that can run to hundreds of megabytes): "Application Version", "Archive Path" and,
/// for each key of "Master Image List", the texts of its "ImagePath" and "ThumbPath". The file is
/// read as a stream; everything else in it (albums, rolls, keywords, the other fields of each
/// image) is skipped without being kept, so memory grows with the paths kept, not with the file.
///
/// A text absent from the file (or not a text) is a null QString. A damaged file, one that is not a
/// property list whose root is a dictionary, or one whose DOCTYPE declares entities gives nothing.
struct AlbumFile {
    struct Paths {
        QString imagePath;
        QString thumbPath;
    };

    enum class Scope {
        Everything,
        /// Stops once "Application Version" is read: the rest of the file is neither read nor checked.
        ApplicationVersion,
    };

    QString applicationVersion;
    QString archivePath;
    /// An entry whose value is not a dictionary is kept with two null paths.
    QHash<QString, Paths> masterImageList;

    static std::optional<AlbumFile> read(QIODevice* device, Scope scope = Scope::Everything);
    /// Only a regular file is opened: a FIFO or device under an album file's name would block the read.
    static std::optional<AlbumFile> readFile(const QString& path, Scope scope = Scope::Everything);
};

} // namespace vantrel
