#pragma once

#include <memory>
#include <optional>

#include <QByteArray>
#include <QSize>
#include <QString>
#include <QVariantMap>

#include "core/DataBeans/PhotoFile.h"
#include "core/Processing/PhotoJobSettings.h"
#include "core/Processing/PixelTransform.h"
#include "core/Processing/SourceIdentity.h"
#include "platform/imaging/DecodeFootprint.h"
#include "platform/imaging/Image.h"
#include "platform/imaging/ImageEncoder.h"

namespace vantrel {

class OutputFileSystem;

/// What the header of a source says about its photo, decided before any pixel is decoded.
struct PhotoPlan {
    bool decodable = false; ///< false: missing, unreadable or no image (status 0)
    bool sizeAccepted = false; ///< false: the size step refuses the size (status 7)
    QSize uprightSize; ///< the source's pixel size as shown (orientation applied)
    QSize targetSize; ///< the size of the size step, upright, before the rotation
    int orientation = 1; ///< the source's EXIF orientation (1 when it states none)
    bool hasOrientationTag = false; ///< the source states an orientation
    bool camera = false; ///< a camera RAW file, developed rather than loaded
    DecodeFootprint footprint; ///< what decoding the source holds in memory
    /// The copy of the source its metadata is parsed from (SourceMetadata), held for the moment of
    /// that parse when the photo is written: counted in a write's need, not in a decode's.
    qint64 metadataCopyBytes = 0;
    /// The source as its header was read: a write of this plan reads that version or fails.
    SourceIdentity source;
};

/// The outcome of writing one photo.
struct PhotoWriteResult {
    ProcessStatus status = ProcessStatus::NotProcessed;
    qint64 outputSize = 0; ///< bytes of the file now at the output path (status Processed only)
    bool copied = false; ///< the source was copied (or left in place) rather than encoded
    QString error; ///< one line for the log when not processed
    int errorNumber = 0; ///< the errno of a failed file operation, 0 when none
    /// NotProcessed because the source changed while it was read: nothing was written.
    bool sourceChanged = false;
};

/// The transform of a decoded image: the image and the size step's verdict (1 accepted, 0 refused).
struct FilteredImage {
    Image image;
    int status = 0;
};

/// Resizes, rotates, flips and writes one photo of a run.
///
/// Outcome and exact target size come from the header (planFor); an unchanged photo is copied
/// byte for byte without decoding; a reduced one is decoded with shrink-on-load straight to its
/// size, an enlarged one resized after decoding; rotation type, flips and the orientation layout
/// are applied as one exact rotate/flip. Every output goes to a temporary file in its folder
/// that is renamed over the target once complete: a failed write is never status 1, leaves no
/// partial file and keeps an older output intact. A source that changes between the start of
/// its read and the end of it (pixels, metadata, copied bytes) fails its photo the same way
/// (SourceIdentity).
///
/// Holds a copy of the options and no mutable state: safe to use from one worker while the
/// main thread changes the option records.
class PhotoPipeline {
public:
    explicit PhotoPipeline(PhotoJobSettings settings, std::shared_ptr<OutputFileSystem> fileSystem = {});
    ~PhotoPipeline();

    const PhotoJobSettings& settings() const { return m_settings; }

    /// Header-only decision for the source at `photo.fileURL()`.
    PhotoPlan planFor(const PhotoFile& photo) const;

    /// Writes (or copies) the output of `photo` to `outputPath`: the whole one-photo job.
    /// Statuses: Processed, DimensionTooLong, InvalidFileName (name of 256 characters or more
    /// than 255 bytes), DestinationAccessDenied (EACCES, EPERM, EROFS), DestinationMissing (the
    /// folder cannot be created), NotProcessed (anything else: undecodable source, full disk, a
    /// directory at the output path, an encoder error).
    PhotoWriteResult processPhoto(const PhotoFile& photo, const QString& outputPath) const;
    PhotoWriteResult processPhoto(const PhotoFile& photo, const PhotoPlan& plan, const QString& outputPath) const;

    /// The memory writing `photo` to `outputPath` holds at its peak, estimated from its header
    /// (`plan`) before any pixel is decoded: its decode (DecodeFootprint), its resize and its
    /// encode buffers. 0 for a copy, a refused size or an unreadable source.
    qint64 memoryNeed(const PhotoFile& photo, const PhotoPlan& plan, const QString& outputPath) const;

    /// The bytes the output of `photo` will take on its volume, estimated on the high side from
    /// its header (`plan`): the source's size for a copy, the pixels' bytes uncompressed (a JPEG's
    /// at its quality) for an encode. 0 for a refused size or an unreadable source.
    qint64 outputBytes(const PhotoFile& photo, const PhotoPlan& plan, const QString& outputPath) const;

    /// NO only when the size is kept, neither flip is on and the rotation type is 0.
    bool isAnyChangesMadeInImageFilterObject() const;
    /// YES when the lower-cased extensions of the two paths differ.
    static bool isFomatchangesOldPath(const QString& oldPath, const QString& newPath);
    /// True when the source may be copied instead of encoded (same extension ignoring case, no
    /// change, not a copy-blocking source type, no forced re-encode to a lossy format).
    bool shouldCopy(const PhotoFile& photo, const QString& outputPath) const;
    /// A file name too long to create: 256 characters or more, or more than 255 bytes in UTF-8.
    static bool isFileNameTooLong(const QString& fileName);

    /// Size step, rotation and flips on an already decoded upright image (the general route;
    /// processPhoto computes the same result from the header without these intermediate images).
    FilteredImage getFilteredImage(const Image& image) const;
    FilteredImage applyResizeFilter(const Image& image) const;

    /// Writes or copies `image` (the transformed upright image) for `photo`; the decision and
    /// the outcome are those of processPhoto.
    PhotoWriteResult saveImageUsingDefaultMethodInDirectoryFilteredImg(
        const Image& image, const QString& outputPath, const PhotoFile& photo, bool isChangeMade) const;
    /// Encodes `image` into `path` (through a temporary file) in the format of `formatIndex` of
    /// the output format list, with the source's metadata and the given orientation tag.
    EncodeResult saveImageInSelectedFormat(int formatIndex, const QString& path, const Image& image,
        const QString& metadataSource, int imageOrientation) const;

    /// Writes `image` as one image of the type identifier `withType` ("public.tiff", "public.png",
    /// "public.jpeg", "public.jpeg-2000", "com.compuserve.gif", "com.microsoft.bmp") with
    /// `andOptions` as its properties, through the toolbox's writer. False when the type is
    /// unknown or the write fails; a failed write leaves no partial file.
    static bool writeCGImage(
        const Image& image, const QString& toURL, const QString& withType, const QVariantMap& andOptions);
    /// New image data of the same type and frame count as `data`, every frame re-encoded without
    /// its ICC profile and with its other properties (EXIF, XMP, IPTC, resolution, frame delays)
    /// kept; pixel values are not converted, lossy types are re-encoded at the encoder's default
    /// quality. Empty when the data is no image that can be read and
    /// written back in its own type (pages of different sizes included). No step of a run calls it.
    static QByteArray imageDataWithoutColorSyncProfile(const QByteArray& data);

    /// Upright pixels laid out as an EXIF orientation describes (1 or out of range: unchanged).
    static Image RotateWithEXIF(const Image& image, int orientation);
    /// Turns counter-clockwise by `degrees`, then mirrors as asked (the layout table's order).
    static Image RotateImageWithFlip(const Image& image, bool flipHorizontally, bool flipVertically, float degrees);

    /// The position of a path's lower-cased extension in the output format list; 0 when absent.
    static int formatIndexForPath(const QString& path);
    /// The encoder quality: compressionRatio / 100 when converting, 0.75 when keeping formats.
    float qualityFactor() const;
    /// The user's rotation and flips as one transform of the upright image.
    PixelTransform userTransform() const;

private:
    /// The format of the extension at `index` in the output format list (TIFF when out of range).
    static ImageFileFormat formatForIndex(int index);
    /// True when the write of a kept-size photo streams from the loader into its output.
    bool streams(const PhotoPlan& plan, ImageFileFormat format) const;
    PhotoWriteResult writeEncoded(
        const PhotoFile& photo, const PhotoPlan& plan, const QString& outputPath, const Image* decoded) const;
    /// Streams an unchanged-size conversion from the loader into the output; nothing when the
    /// source needs the general route (camera RAW, over the decode limit).
    std::optional<PhotoWriteResult> writeStreamed(const PhotoFile& photo, const QString& outputPath, int formatIndex,
        int tag, const SourceIdentity& before) const;
    std::optional<PhotoWriteResult> checkDestination(const QString& outputPath) const;
    /// saveImageInSelectedFormat, renaming the temporary into place only while the source is
    /// still the version `source` identifies (when given); `changed` tells when it was not.
    EncodeResult encodeAndCommit(int formatIndex, const QString& path, const Image& image,
        const QString& metadataSource, int imageOrientation, const SourceIdentity* source, bool* changed) const;
    /// Renames `temporary` over `outputPath` unless the source at `sourcePath` is no longer the
    /// version `source` identifies; then the temporary is discarded and `changed` set. 0 or errno.
    int commitUnlessChanged(const QString& temporary, const QString& outputPath, const QString& sourcePath,
        const SourceIdentity* source, bool* changed) const;
    PhotoWriteResult sourceChangedFailure(const QString& sourcePath) const;
    /// Copies the source, held to the version `planned` (when it exists): a source that is not
    /// that version before or after the copy, or a copy of another length, writes nothing. A
    /// version younger than SourceIdentity::kSettleNanoseconds is waited for until it is that old.
    PhotoWriteResult copySource(const PhotoFile& photo, const SourceIdentity& planned, const QString& outputPath) const;
    PhotoWriteResult failure(
        int errorNumber, const QString& what, const QString& path, const QString& detail = {}) const;
    PhotoWriteResult success(const QString& outputPath, bool copied) const;

    PhotoJobSettings m_settings;
    std::shared_ptr<OutputFileSystem> m_fileSystem;
};

} // namespace vantrel
