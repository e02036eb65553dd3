#pragma once

#include <QSize>
#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

namespace vantrel::journeys {

/// A photo the journeys make: where it lies under the folder, its stored pixel size and its EXIF
/// orientation (1 when none is written).
struct JourneyPhoto {
    QString relativePath;
    QSize stored;
    int orientation = 1;
    /// The size a viewer shows (sides swapped for orientations 5 to 8).
    QSize shown() const { return orientation >= 5 ? stored.transposed() : stored; }
};

/// The folder most journeys add: JPEG, PNG and TIFF photos over two levels of subfolders, one
/// landscape and one portrait, EXIF orientations 1, 3, 6 and 8 with camera tags on the JPEGs,
/// plus a 0-byte "empty.jpg" and a text file "notes.jpg" that no photo list may show.
class PhotoFolder {
public:
    /// Writes the photos under `root` (created when missing). `ok()` says whether all were written.
    explicit PhotoFolder(const QString& root);

    bool ok() const { return m_ok; }
    const QString& root() const { return m_root; }
    const QList<JourneyPhoto>& photos() const { return m_photos; }
    QString path(const JourneyPhoto& photo) const { return m_root + "/" + photo.relativePath; }
    /// The photos' file names, sorted.
    QStringList fileNames() const;

private:
    QString m_root;
    QList<JourneyPhoto> m_photos;
    bool m_ok = true;
};

/// `count` small JPEGs named photo001.jpg ... in `folder`.
bool writeTinyPhotos(const QString& folder, int count, int width = 64, int height = 48);

/// What a file on disk is, read back from its bytes.
struct FileFacts {
    bool readable = false;
    QString format; ///< "jpeg", "png", "tiff", "bmp", "gif", "jp2" (from the file's magic bytes)
    QSize size; ///< stored pixel size
    int orientation = 1; ///< EXIF orientation, 1 when none
    bool hasCameraMake = false; ///< the camera tags written by the journeys' photos survived
};
FileFacts factsOf(const QString& path);

/// The file names of a folder (files only, sorted), recursively when asked.
QStringList filesIn(const QString& folder, bool recursive = false);

/// Every row of a table of the log database, each as column name -> text.
QList<QMap<QString, QString>> logRows(const QString& table);
/// The path of the log database.
QString logDatabasePath();

} // namespace vantrel::journeys
