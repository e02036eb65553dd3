#pragma once

#include <functional>

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include "core/DataBeans/PhotoFile.h"

namespace vantrel {

/// Kind of photo-library source met by the add scan (the screen's `pathType`).
enum class AddPathType : qint32 {
    None = 0,
    IPhotoLibrary = 2, ///< iPhoto or Aperture library (also set when the library panel opens)
    PhotosLibrary = 3, ///< Photos library
};

/// The most photos one add run accepts.
inline constexpr qint64 kMaxPhotosPerRun = 1000000;

/// The filter every add run passes: no filter.
inline constexpr char kAddFileTypeAll[] = "ALL";

/// Alert numbers of the shared alert sheet that an add run may end with.
enum class AddAlert : int {
    None = 0,
    LimitExceeded = 109,
    FormatNotSupported = 110,
    AlreadyAdded = 111,
    NothingAdded = 112,
};

/// How one add scan reads its sources.
struct AddScanOptions {
    bool isAddFromSubFolderSelected = false; ///< folders walked with their subfolders
    QString fileType = QString::fromLatin1(kAddFileTypeAll); ///< a suffix the path must end with, or "ALL"
    qint64 limit = kMaxPhotosPerRun; ///< photos accepted at most; one more valid photo sets the limit flag
    /// May be empty; false makes a folder unreadable (tests: permissions do not bind root).
    std::function<bool(const QByteArray& folder)> canReadFolder;
};

/// What one add scan found: the counters and flags the screen keeps for the run.
struct AddScanOutcome {
    qint32 totalPhotoToAdd = 0; ///< photos accepted
    bool isMaxPhotosLimitExceeded = false;
    bool isPhotosAlreadyAdded = false;
    bool isPhotoFormatNotSupported = false;
    bool isRawImageExist = false; ///< some accepted photo is outside the common output formats
    bool stopped = false; ///< the scan ended at a stop request
    qint32 damagedFileCount = 0; ///< candidates refused for their type or for having no pixel size
    qint32 alreadyExistsPhotosCount = 0; ///< candidates already in the batch
    AddPathType pathType = AddPathType::None; ///< the last library kind met, None when no library
    bool archivePathMissing = false; ///< a library's album file recorded no "Archive Path"
};

/// The one alert that ends an add run: 109 at the limit; none when something was added; else 110
/// for refused files only, 111 when some candidate was already in the batch, 112 otherwise.
AddAlert completionAlertFor(const AddScanOutcome& outcome);

/// True when the lower-cased extension is one of the formats a run writes ("tif", "tiff", "png",
/// "jpg", "jpeg", "jp2", "bmp", "gif"): a photo outside them needs the RAW question.
bool isCommonOutputFormat(const QString& extension);

/// The text after the last dot of a file name; empty when there is none or the name starts with
/// its only dot (".jpg" has no extension, "._a.jpg" has "jpg").
QString fileNameExtension(const QString& fileName);

} // namespace vantrel
