#pragma once

#include <QSizeF>
#include <QString>
#include <QStringList>

#include "core/Processing/PhotoJobSettings.h"

namespace vantrel {

class PhotoFile;

/// Output folder, name and extension of each photo of a run. Pure computation over the photo
/// record and a copy of the run's options; safe on any thread.
class OutputPathBuilder {
public:
    explicit OutputPathBuilder(PhotoJobSettings settings);

    /// The output path: folder + "/" + name + "." + extension.
    QString updatedFilePathWithSetting(const PhotoFile& photo) const;

    /// The output size shown in a size-bearing name, unrounded: the shared target size of the
    /// record's (upright) width and height, swapped for a quarter turn. Neither the 10000 limit
    /// nor the minimum of 1 of the size step applies.
    QSizeF computeOutpuFileSize(const PhotoFile& photo) const;

    QString outputFolder(const PhotoFile& photo) const;
    QString outputBaseName(const PhotoFile& photo) const;
    QString outputExtension(const PhotoFile& photo) const;

    /// The output formats by selectedFileFormat: tif, tiff, png, jpg, jpeg, jp2, bmp, gif.
    static const QStringList& outputFormatList();
    /// Removes the characters a file name may not carry here (":;,./\?%*|"<>" and NUL).
    static QString validFileNameString(const QString& text);
    /// The file name without its extension ("a.b.jpg" gives "a.b"; a leading dot is no extension).
    static QString baseName(const QString& fileName);
    /// The path without its last component, as the folder of a file: "/" for a file in the root,
    /// "." for a bare name.
    static QString parentFolder(const QString& path);

    const PhotoJobSettings& settings() const { return m_settings; }

private:
    PhotoJobSettings m_settings;
    QString m_cleanPrefix;
    QString m_outputFolder; // ouptputFolder without trailing slashes ("" for the root)
};

} // namespace vantrel
