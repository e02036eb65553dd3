#pragma once

#include <atomic>
#include <memory>

#include <QDateTime>
#include <QImage>
#include <QString>
#include <QVariantMap>

namespace vantrel {

class PhotoFile;
using PhotoFilePtr = std::shared_ptr<PhotoFile>;

/// Outcome of the last run for one photo. The integer values are stored in the log and compared
/// by the screens, so they never change.
enum class ProcessStatus : qint32 {
    NotProcessed = 0, ///< reset at the start of a run; also every failure without a code of its own
    Processed = 1, ///< the output was written or copied
    SourceMissing = 2, ///< the source file no longer exists
    DimensionTooLong = 7, ///< the size step refused the size (a side above 10000, or one below 1 asked for)
    Skipped = 8, ///< RAW skipped, existing output skipped, or too little free space
    SourceAccessDenied = 10, ///< the output would replace its own source, which is not writable or is locked
    DestinationAccessDenied = 11, ///< the output folder (or file) cannot be written
    DestinationMissing = 12, ///< the output folder does not exist and cannot be created
    InvalidFileName = 13, ///< the output file name is too long
};

/// The record of one photo in the batch.
///
/// Identity, not value: a record is held by PhotoFilePtr and two records are the same only if
/// they are the same object (copying is disabled). Building one (initWithFileUrl) reads only the
/// file's header and attributes and is safe on any thread. Fields have plain access: the batch
/// run writes the run fields inside its hop to the main thread, the screens read them there.
///
/// The property dictionary (exifDict) is read from the file on first use and kept; until then a
/// record holds only its texts and numbers (a few hundred bytes), so large batches stay small.
class PhotoFile {
public:
    PhotoFile();
    ~PhotoFile();
    PhotoFile(const PhotoFile&) = delete;
    PhotoFile& operator=(const PhotoFile&) = delete;

    /// Builds the record of the file at `fileUrl` (a path) with display name `andFileName`.
    /// Width and height are the upright pixel size from the file's header (0 x 0 when the file is
    /// no readable image: the add scan refuses such a record). Never returns null.
    static PhotoFilePtr initWithFileUrl(const QString& fileUrl, const QString& andFileName, bool isIphoto);

    /// The log text of a status code ("-" for codes without one).
    static QString logTextForStatus(qint32 status);

    bool isIphotosNode() const { return m_isIphotosNode; }
    void setIsIphotosNode(bool value) { m_isIphotosNode = value; }
    bool isSelected() const { return m_isSelected; }
    void setIsSelected(bool value) { m_isSelected = value; }
    qint32 processStatus() const { return m_processStatus; }
    void setProcessStatus(qint32 value) { m_processStatus = value; }
    void setProcessStatus(ProcessStatus value) { m_processStatus = static_cast<qint32>(value); }
    ProcessStatus status() const { return static_cast<ProcessStatus>(m_processStatus); }

    const QString& filePath() const { return m_filePath; }
    void setFilePath(const QString& value) { m_filePath = value; }
    const QString& fileContainerFolderName() const { return m_fileContainerFolderName; }
    void setFileContainerFolderName(const QString& value) { m_fileContainerFolderName = value; }
    const QDateTime& fileCreationDate() const { return m_fileCreationDate; }
    void setFileCreationDate(const QDateTime& value) { m_fileCreationDate = value; }
    const QDateTime& fileModifiedDate() const { return m_fileModifiedDate; }
    void setFileModifiedDate(const QDateTime& value) { m_fileModifiedDate = value; }
    const QString& fileExtension() const { return m_fileExtension; }
    void setFileExtension(const QString& value) { m_fileExtension = value; }
    const QString& fileName() const { return m_fileName; }
    void setFileName(const QString& value) { m_fileName = value; }
    const QString& fileSizeAsString() const { return m_fileSizeAsString; }
    void setFileSizeAsString(const QString& value) { m_fileSizeAsString = value; }
    const QString& fileURL() const { return m_fileURL; }
    void setFileURL(const QString& value) { m_fileURL = value; }
    const QImage& thumbnailImg() const { return m_thumbnailImg; }
    void setThumbnailImg(const QImage& value) { m_thumbnailImg = value; }
    double height() const { return m_height; }
    void setHeight(double value) { m_height = value; }
    double width() const { return m_width; }
    void setWidth(double value) { m_width = value; }
    double fileSizeInBytes() const { return m_fileSizeInBytes; }
    void setFileSizeInBytes(double value) { m_fileSizeInBytes = value; }
    const QString& processMsg() const { return m_processMsg; }
    void setProcessMsg(const QString& value) { m_processMsg = value; }
    const QString& processInfoMessage() const { return m_processInfoMessage; }
    void setProcessInfoMessage(const QString& value) { m_processInfoMessage = value; }
    double newfileSizeInBytes() const { return m_newfileSizeInBytes; }
    void setNewfileSizeInBytes(double value) { m_newfileSizeInBytes = value; }
    const QString& filePathNew() const { return m_filePathNew; }
    void setFilePathNew(const QString& value) { m_filePathNew = value; }
    const QString& newfileSizeAsString() const { return m_newfileSizeAsString; }
    void setNewfileSizeAsString(const QString& value) { m_newfileSizeAsString = value; }
    const QString& originalFileName() const { return m_originalFileName; }
    void setOriginalFileName(const QString& value) { m_originalFileName = value; }
    double rep_width() const { return m_repWidth; }
    void setRep_width(double value) { m_repWidth = value; }
    double rep_height() const { return m_repHeight; }
    void setRep_height(double value) { m_repHeight = value; }

    /// The full property dictionary of the source ("Orientation", "PixelWidth", "{Exif}", ...),
    /// read from `fileURL` on the first call and kept; empty when the file has none. Safe to call
    /// from several threads at once; not safe against a concurrent setExifDict.
    QVariantMap exifDict() const;
    void setExifDict(const QVariantMap& value);
    /// True once the dictionary has been read or set (a record built by initWithFileUrl has not).
    bool isExifDictLoaded() const { return m_exifDict.load(std::memory_order_acquire) != nullptr; }

private:
    bool m_isIphotosNode = false;
    bool m_isSelected = false;
    qint32 m_processStatus = 0;
    QString m_filePath;
    QString m_fileContainerFolderName;
    QDateTime m_fileCreationDate;
    QDateTime m_fileModifiedDate;
    QString m_fileExtension;
    QString m_fileName;
    QString m_fileSizeAsString;
    QString m_fileURL;
    QImage m_thumbnailImg;
    double m_height = 0;
    double m_width = 0;
    double m_fileSizeInBytes = 0;
    QString m_processMsg;
    QString m_processInfoMessage;
    double m_newfileSizeInBytes = 0;
    QString m_filePathNew;
    QString m_newfileSizeAsString;
    QString m_originalFileName;
    double m_repWidth = 0;
    double m_repHeight = 0;
    // Owned; null until first read. Set once by compare-and-swap so concurrent first reads agree.
    mutable std::atomic<const QVariantMap*> m_exifDict { nullptr };
};

} // namespace vantrel
