#include "core/Processing/PhotoPipeline.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <utility>

#include <sys/stat.h>

#include <QFile>
#include <QFileInfo>

#include "core/Processing/OutputFileSystem.h"
#include "core/Processing/OutputPathBuilder.h"
#include "core/Processing/RunText.h"
#include "core/Processing/SourceIdentity.h"
#include "core/Processing/TargetSize.h"
#include "platform/imaging/GuardedLoad.h"
#include "platform/imaging/ImageProperties.h"
#include "platform/imaging/SourceMetadata.h"
#include "platform/imaging/VipsErrorText.h"

namespace vantrel {

namespace {

// Sources of these types are always encoded, never copied (matched against the lower-cased
// extension).
bool isCopyBlockingExtension(const QString& lowerExtension)
{
    static const QStringList kBlocking = { QStringLiteral("eps"), QStringLiteral("jpc"), QStringLiteral("p7"),
        QStringLiteral("pc"), QStringLiteral("pgm"), QStringLiteral("pnm"), QStringLiteral("ppm"),
        QStringLiteral("ptif"), QStringLiteral("ui"), QStringLiteral("pct") };
    return kBlocking.contains(lowerExtension);
}

QString extensionOf(const QString& path)
{
    const QString name = QFileInfo(path).fileName();
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return dot > 0 ? name.mid(dot + 1) : QString();
}

// Formats whose orientation tag viewers honour: their pixels may stay in the source's stored
// layout under the source's tag. The others are always written upright, tagged 1; PNG among them,
// since the desktop's thumbnailers, Qt's reader and the common tools ignore a PNG's eXIf tag.
bool formatKeepsOrientationTag(ImageFileFormat format)
{
    return format == ImageFileFormat::Tiff || format == ImageFileFormat::Jpeg;
}

// The source may be copied rather than encoded: same extension ignoring case, not a copy-blocking
// source type, no change to the pixels, and no forced re-encode to a lossy format.
bool mayCopy(const PhotoJobSettings& settings, const QString& source, const QString& output, bool changed)
{
    const bool forcedLossy
        = settings.formatOption != 0 && settings.selectedFileFormat >= 3 && settings.selectedFileFormat <= 5;
    return !PhotoPipeline::isFomatchangesOldPath(source, output)
        && !isCopyBlockingExtension(extensionOf(source).toLower()) && !changed && !forcedLossy;
}

bool statPath(const QString& path, struct stat* info)
{
    const QByteArray native = QFile::encodeName(path);
    return !native.isEmpty() && ::stat(native.constData(), info) == 0;
}

// Status of a failed file operation on the destination.
ProcessStatus statusForErrno(int errorNumber)
{
    switch (errorNumber) {
    case EACCES:
    case EPERM:
    case EROFS:
        return ProcessStatus::DestinationAccessDenied;
    case ENAMETOOLONG:
        return ProcessStatus::InvalidFileName;
    default:
        return ProcessStatus::NotProcessed;
    }
}

// The most pixels a source may claim to be decoded (the loader's own limit).
constexpr qint64 kMaxDecodedPixels = 400'000'000;

Image decodeAtSize(const QString& path, QSize upright, QSize target)
{
    Image image;
    if (target == upright)
        image = Image::load(path);
    else if (target.width() >= upright.width() && target.height() >= upright.height())
        image = Image::load(path).resized(target);
    else
        image = Image::loadAtSize(path, target);
    if (!image.isNull() && image.size() != target)
        image = image.resized(target); // a loader that could not land exactly on the size
    return image;
}

} // namespace

PhotoPipeline::PhotoPipeline(PhotoJobSettings settings, std::shared_ptr<OutputFileSystem> fileSystem)
    : m_settings(std::move(settings))
    , m_fileSystem(fileSystem ? std::move(fileSystem) : OutputFileSystem::standard())
{
}

PhotoPipeline::~PhotoPipeline() = default;

PhotoPlan PhotoPipeline::planFor(const PhotoFile& photo) const
{
    PhotoPlan plan;
    plan.source = SourceIdentity::of(photo.fileURL());
    const ImageProperties properties = readImageProperties(photo.fileURL(), PropertyDepth::SizeAndOrientation);
    if (!properties.valid || properties.pixelWidth <= 0 || properties.pixelHeight <= 0)
        return plan;
    plan.decodable = true;
    plan.camera = properties.loader == QLatin1String("raw");
    plan.footprint = DecodeFootprint::read(photo.fileURL(), properties);
    plan.metadataCopyBytes = SourceMetadata::copyBytes(photo.fileURL());
    plan.orientation = properties.orientation;
    plan.hasOrientationTag = properties.hasOrientationTag;
    plan.uprightSize = properties.uprightSize();
    if (const auto target = TargetSize::forPixels(plan.uprightSize, m_settings)) {
        plan.sizeAccepted = true;
        plan.targetSize = *target;
    }
    return plan;
}

ImageFileFormat PhotoPipeline::formatForIndex(int index)
{
    ImageFileFormat format = ImageFileFormat::Tiff;
    imageFileFormatForExtension(OutputPathBuilder::outputFormatList().value(index), &format);
    return format;
}

bool PhotoPipeline::streams(const PhotoPlan& plan, ImageFileFormat format) const
{
    const bool keepsLayout = m_settings.rotationType != 4 && formatKeepsOrientationTag(format);
    const PixelTransform layout
        = keepsLayout ? PixelTransform::layoutForOrientation(plan.orientation) : PixelTransform();
    return plan.targetSize == plan.uprightSize && !plan.camera
        && qint64(plan.uprightSize.width()) * plan.uprightSize.height() <= kMaxDecodedPixels
        && PixelTransform::viewerCorrection(plan.orientation).then(userTransform()).then(layout).isIdentity();
}

bool PhotoPipeline::isAnyChangesMadeInImageFilterObject() const
{
    return !(m_settings.isKeepOriginalSize && !m_settings.isHorizontalFlip && !m_settings.isVerticalFlip
        && m_settings.rotationType == 0);
}

bool PhotoPipeline::isFomatchangesOldPath(const QString& oldPath, const QString& newPath)
{
    return extensionOf(oldPath).toLower() != extensionOf(newPath).toLower();
}

bool PhotoPipeline::shouldCopy(const PhotoFile& photo, const QString& outputPath) const
{
    return mayCopy(m_settings, photo.fileURL(), outputPath, isAnyChangesMadeInImageFilterObject());
}

bool PhotoPipeline::isFileNameTooLong(const QString& fileName)
{
    return fileName.size() >= 256 || fileName.toUtf8().size() > 255;
}

int PhotoPipeline::formatIndexForPath(const QString& path)
{
    const qsizetype index = OutputPathBuilder::outputFormatList().indexOf(extensionOf(path).toLower());
    return index < 0 ? 0 : static_cast<int>(index);
}

float PhotoPipeline::qualityFactor() const
{
    if (m_settings.formatOption == 0)
        return 0.75f;
    const float quality = static_cast<float>(m_settings.compressionRatio) / 100.0f;
    return std::fmin(1.0f, std::fmax(0.01f, quality));
}

PixelTransform PhotoPipeline::userTransform() const
{
    PixelTransform transform;
    switch (m_settings.rotationType) {
    case 1:
        transform = PixelTransform::quarterTurnsClockwise(1);
        break;
    case 2:
        transform = PixelTransform::quarterTurnsClockwise(3);
        break;
    case 3:
        transform = PixelTransform::quarterTurnsClockwise(2);
        break;
    default:
        break;
    }
    if (m_settings.isHorizontalFlip)
        transform = transform.then(PixelTransform::horizontalFlip());
    if (m_settings.isVerticalFlip)
        transform = transform.then(PixelTransform::verticalFlip());
    return transform;
}

FilteredImage PhotoPipeline::applyResizeFilter(const Image& image) const
{
    if (image.isNull())
        return {};
    if (m_settings.isKeepOriginalSize)
        return { image, 1 };
    const auto target = TargetSize::forPixels(image.size(), m_settings);
    if (!target)
        return { image, 0 };
    return { *target == image.size() ? image : image.resized(*target), 1 };
}

FilteredImage PhotoPipeline::getFilteredImage(const Image& image) const
{
    FilteredImage result = applyResizeFilter(image);
    if (result.image.isNull())
        return {};
    result.image = userTransform().applyTo(result.image);
    return result;
}

Image PhotoPipeline::RotateWithEXIF(const Image& image, int orientation)
{
    return PixelTransform::layoutForOrientation(orientation).applyTo(image);
}

Image PhotoPipeline::RotateImageWithFlip(const Image& image, bool flipHorizontally, bool flipVertically, float degrees)
{
    const int whole = static_cast<int>(std::trunc(std::isfinite(degrees) ? std::fmod(degrees, 360.0f) : 0.0f));
    PixelTransform mirror;
    if (flipHorizontally)
        mirror = mirror.then(PixelTransform::horizontalFlip());
    if (flipVertically)
        mirror = mirror.then(PixelTransform::verticalFlip());
    if (whole % 90 == 0)
        return PixelTransform::quarterTurnsClockwise(-whole / 90).then(mirror).applyTo(image);
    return mirror.applyTo(image.rotatedByDegrees(-whole));
}

EncodeResult PhotoPipeline::saveImageInSelectedFormat(
    int formatIndex, const QString& path, const Image& image, const QString& metadataSource, int imageOrientation) const
{
    return encodeAndCommit(formatIndex, path, image, metadataSource, imageOrientation, nullptr, nullptr);
}

EncodeResult PhotoPipeline::encodeAndCommit(int formatIndex, const QString& path, const Image& image,
    const QString& metadataSource, int imageOrientation, const SourceIdentity* source, bool* changed) const
{
    EncodeOptions options;
    options.quality = qualityFactor();
    options.orientationTag = imageOrientation;
    options.metadataSource = metadataSource;
    const ImageFileFormat format = formatForIndex(formatIndex);

    QString temporary;
    EncodeResult result;
    if (const int error = m_fileSystem->createTemporary(OutputPathBuilder::parentFolder(path), &temporary)) {
        result.errorNumber = error;
        result.error
            = QStringLiteral("cannot create a temporary file (%1)").arg(QString::fromLocal8Bit(std::strerror(error)));
        return result;
    }
    result = encodeImageInto(image, temporary, format, options);
    if (result.ok) {
        if (const int error = commitUnlessChanged(temporary, path, metadataSource, source, changed)) {
            result.ok = false;
            result.errorNumber = error;
            result.error = QString::fromLocal8Bit(std::strerror(error));
        }
    }
    if (!result.ok)
        m_fileSystem->discard(temporary);
    return result;
}

PhotoWriteResult PhotoPipeline::failure(
    int errorNumber, const QString& what, const QString& path, const QString& detail) const
{
    PhotoWriteResult result;
    result.status = statusForErrno(errorNumber);
    result.errorNumber = errorNumber;
    // One line of the log, whatever a library's text held.
    QString reason = VipsErrorText::oneLine(detail);
    if (reason.isEmpty())
        reason = errorNumber ? QString::fromLocal8Bit(std::strerror(errorNumber)) : QStringLiteral("failed");
    result.error = QStringLiteral("%1 %2: %3").arg(what, path, reason);
    std::fprintf(stderr, "%s\n", result.error.toLocal8Bit().constData());
    return result;
}

int PhotoPipeline::commitUnlessChanged(const QString& temporary, const QString& outputPath, const QString& sourcePath,
    const SourceIdentity* source, bool* changed) const
{
    if (source && source->changedAt(sourcePath)) {
        *changed = true;
        return ESTALE;
    }
    return m_fileSystem->commit(temporary, outputPath);
}

PhotoWriteResult PhotoPipeline::sourceChangedFailure(const QString& sourcePath) const
{
    PhotoWriteResult result = failure(0, QStringLiteral("not written"), sourcePath, RunText::sourceChanged());
    result.sourceChanged = true;
    return result;
}

PhotoWriteResult PhotoPipeline::success(const QString& outputPath, bool copied) const
{
    PhotoWriteResult result;
    result.status = ProcessStatus::Processed;
    result.copied = copied;
    struct stat info { };
    if (statPath(outputPath, &info))
        result.outputSize = static_cast<qint64>(info.st_size);
    return result;
}

std::optional<PhotoWriteResult> PhotoPipeline::checkDestination(const QString& outputPath) const
{
    if (outputPath.isEmpty())
        return failure(0, QStringLiteral("no output path for"), outputPath);
    if (isFileNameTooLong(QFileInfo(outputPath).fileName())) {
        PhotoWriteResult result = failure(ENAMETOOLONG, QStringLiteral("output name too long"), outputPath);
        result.status = ProcessStatus::InvalidFileName;
        return result;
    }
    const QString folder = OutputPathBuilder::parentFolder(outputPath);
    struct stat info { };
    if (!statPath(folder, &info)) {
        if (const int error = m_fileSystem->makeFolder(folder)) {
            PhotoWriteResult result = failure(error, QStringLiteral("cannot create folder"), folder);
            if (result.status == ProcessStatus::DestinationAccessDenied)
                result.status = ProcessStatus::DestinationMissing;
            return result;
        }
        std::fprintf(stderr, "directory created successfully %s\n", qUtf8Printable(folder));
    } else if (!S_ISDIR(info.st_mode)) {
        return failure(ENOTDIR, QStringLiteral("not a folder"), folder);
    }
    // A directory (or device, socket, ...) at the output path is never replaced.
    if (statPath(outputPath, &info) && !S_ISREG(info.st_mode)) {
        PhotoWriteResult result = failure(EISDIR, QStringLiteral("not a regular file at"), outputPath);
        result.status = ProcessStatus::NotProcessed;
        return result;
    }
    return std::nullopt;
}

PhotoWriteResult PhotoPipeline::copySource(
    const PhotoFile& photo, const SourceIdentity& planned, const QString& outputPath) const
{
    struct stat source { };
    struct stat target { };
    if (statPath(photo.fileURL(), &source) && statPath(outputPath, &target) && source.st_dev == target.st_dev
        && source.st_ino == target.st_ino) {
        return success(outputPath, true); // the output is the source and nothing changes
    }
    // The version the plan saw: a writer that rewrites the photo and pauses between the plan and
    // the copy (a sync client, a camera import) leaves it another size or time, and a copy taken
    // in that pause would be a prefix of the photo.
    const SourceIdentity before = planned.exists ? planned : SourceIdentity::of(photo.fileURL());
    if (before.changedAt(photo.fileURL()))
        return sourceChangedFailure(photo.fileURL());
    // The plan, the copy and the checks may all fall in one pause of that writer: a version
    // written a moment ago is copied only once it has stood unchanged for a moment (a truncated
    // photo that nothing changes then is copied as it stands). A photo edited before its run has
    // settled long since and is copied at once.
    const qint64 now = m_fileSystem->wallClock();
    if (const qint64 wait = before.settledAt(now) - now; wait > 0) {
        m_fileSystem->sleepFor(wait);
        if (before.changedAt(photo.fileURL()))
            return sourceChangedFailure(photo.fileURL());
    }
    QString temporary;
    if (const int error = m_fileSystem->createTemporary(OutputPathBuilder::parentFolder(outputPath), &temporary))
        return failure(error, QStringLiteral("cannot create a temporary file for"), outputPath);
    bool changed = false;
    QString detail;
    int error = m_fileSystem->copyContents(photo.fileURL(), temporary);
    if (error == 0) {
        // Every byte of that version, no fewer: a copy that stopped short is never put in place.
        struct stat copied { };
        if (!statPath(temporary, &copied)) {
            error = errno;
        } else if (qint64(copied.st_size) != before.size) {
            changed = before.changedAt(photo.fileURL());
            error = changed ? ESTALE : EIO;
            detail = QStringLiteral("%1 of %2 bytes copied").arg(qint64(copied.st_size)).arg(before.size);
        }
    }
    if (error == 0)
        error = commitUnlessChanged(temporary, outputPath, photo.fileURL(), &before, &changed);
    if (error != 0) {
        m_fileSystem->discard(temporary);
        return changed ? sourceChangedFailure(photo.fileURL())
                       : failure(error, QStringLiteral("cannot copy to"), outputPath, detail);
    }
    return success(outputPath, true);
}

PhotoWriteResult PhotoPipeline::writeEncoded(
    const PhotoFile& photo, const PhotoPlan& plan, const QString& outputPath, const Image* transformed) const
{
    const int formatIndex = formatIndexForPath(outputPath);
    const ImageFileFormat format = formatForIndex(formatIndex);
    // Pixels stay in the source's stored layout under its own tag, unless the rotation type asks
    // for an upright photo or the format has no tag that viewers honour.
    const bool keepsLayout = m_settings.rotationType != 4 && formatKeepsOrientationTag(format);
    const int tag = keepsLayout ? plan.orientation : 1;
    const PixelTransform layout
        = keepsLayout ? PixelTransform::layoutForOrientation(plan.orientation) : PixelTransform();
    // The source as its header was read (the plan's sizes come from it), else as its read begins:
    // the output is renamed into place only if it is still that version.
    const SourceIdentity before = plan.source.exists ? plan.source : SourceIdentity::of(photo.fileURL());

    // A keep-size conversion that leaves the stored pixels as they are streams from the loader
    // into the output file: no decoded photo or encoded file is held whole in memory.
    if (!transformed && streams(plan, format))
        if (auto streamed = writeStreamed(photo, outputPath, formatIndex, tag, before))
            return *streamed;

    Image image;
    if (transformed) {
        image = layout.applyTo(*transformed);
    } else {
        image = decodeAtSize(photo.fileURL(), plan.uprightSize, plan.targetSize);
        image = userTransform().then(layout).applyTo(image);
    }
    if (image.isNull())
        return before.changedAt(photo.fileURL()) ? sourceChangedFailure(photo.fileURL())
                                                 : failure(0, QStringLiteral("cannot decode"), photo.fileURL());

    bool changed = false;
    const EncodeResult encoded
        = encodeAndCommit(formatIndex, outputPath, image, photo.fileURL(), tag, &before, &changed);
    if (changed || (!encoded.ok && before.changedAt(photo.fileURL())))
        return sourceChangedFailure(photo.fileURL());
    if (!encoded.ok)
        return failure(encoded.errorNumber, QStringLiteral("cannot write"), outputPath, encoded.error);
    return success(outputPath, false);
}

std::optional<PhotoWriteResult> PhotoPipeline::writeStreamed(
    const PhotoFile& photo, const QString& outputPath, int formatIndex, int tag, const SourceIdentity& before) const
{
    // Camera RAW files are developed, not loaded; other sources over the decode limit are refused
    // by the general route.
    const ImageProperties properties = readImageProperties(photo.fileURL(), PropertyDepth::SizeAndOrientation);
    if (!properties.valid || properties.loader == QLatin1String("raw")
        || qint64(properties.pixelWidth) * properties.pixelHeight > kMaxDecodedPixels)
        return std::nullopt;
    std::optional<GuardedLoad> load;
    try {
        load = GuardedLoad::open(photo.fileURL(), DecodeFootprint::read(photo.fileURL(), properties).streamed());
    } catch (const vips::VError& e) {
        if (before.changedAt(photo.fileURL()))
            return sourceChangedFailure(photo.fileURL());
        return failure(0, QStringLiteral("cannot decode"), photo.fileURL(), VipsErrorText::take(e, photo.fileURL()));
    }
    Image pixels(load->image());
    QString temporary;
    if (const int error = m_fileSystem->createTemporary(OutputPathBuilder::parentFolder(outputPath), &temporary))
        return failure(error, QStringLiteral("cannot create a temporary file for"), outputPath);
    EncodeOptions options;
    options.quality = qualityFactor();
    options.orientationTag = tag;
    options.metadataSource = photo.fileURL();
    EncodeResult encoded = encodeImageInto(pixels, temporary, formatForIndex(formatIndex), options, &*load);
    bool changed = false;
    if (encoded.ok) {
        if (const int error = commitUnlessChanged(temporary, outputPath, photo.fileURL(), &before, &changed)) {
            encoded.ok = false;
            encoded.errorNumber = error;
            encoded.error = QString::fromLocal8Bit(std::strerror(error));
        }
    }
    if (!encoded.ok) {
        m_fileSystem->discard(temporary);
        if (changed || before.changedAt(photo.fileURL()))
            return sourceChangedFailure(photo.fileURL());
        return failure(encoded.errorNumber, QStringLiteral("cannot write"), outputPath, encoded.error);
    }
    return success(outputPath, false);
}

PhotoWriteResult PhotoPipeline::processPhoto(const PhotoFile& photo, const QString& outputPath) const
{
    return processPhoto(photo, planFor(photo), outputPath);
}

PhotoWriteResult PhotoPipeline::processPhoto(
    const PhotoFile& photo, const PhotoPlan& plan, const QString& outputPath) const
{
    if (!plan.decodable)
        return failure(0, QStringLiteral("not a readable image"), photo.fileURL());
    if (!plan.sizeAccepted) {
        PhotoWriteResult result;
        result.status = ProcessStatus::DimensionTooLong;
        result.error = QStringLiteral("output size refused for %1").arg(photo.fileURL());
        std::fprintf(stderr, "%s\n", result.error.toLocal8Bit().constData());
        return result;
    }
    if (auto refused = checkDestination(outputPath))
        return *refused;
    if (plan.hasOrientationTag && m_settings.rotationType != 4)
        std::fputs("setup rotating image beacuse autocorrection is off\n", stderr);
    if (shouldCopy(photo, outputPath))
        return copySource(photo, plan.source, outputPath);
    return writeEncoded(photo, plan, outputPath, nullptr);
}

PhotoWriteResult PhotoPipeline::saveImageUsingDefaultMethodInDirectoryFilteredImg(
    const Image& image, const QString& outputPath, const PhotoFile& photo, bool isChangeMade) const
{
    if (auto refused = checkDestination(outputPath))
        return *refused;
    const ImageProperties properties = readImageProperties(photo.fileURL(), PropertyDepth::SizeAndOrientation);
    PhotoPlan plan;
    plan.orientation = properties.orientation;
    plan.hasOrientationTag = properties.hasOrientationTag;
    if (plan.hasOrientationTag && m_settings.rotationType != 4)
        std::fputs("setup rotating image beacuse autocorrection is off\n", stderr);
    if (mayCopy(m_settings, photo.fileURL(), outputPath, isChangeMade))
        return copySource(photo, SourceIdentity(), outputPath);
    return writeEncoded(photo, plan, outputPath, &image);
}

} // namespace vantrel
