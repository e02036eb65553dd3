// The toolbox's own encoder set. Its format index order is its own (0 TIFF, 1 BMP, 2 GIF, 3 and 4
// JPEG, 5 PNG, 6 JPEG 2000); the batch run writes through its own table instead.
#include "core/Helper/Utils.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include <unistd.h>

#include <QFile>
#include <QFileInfo>

#include "core/Helper/UtilsMetadataWriter.h"
#include "platform/imaging/AtomicFileWriter.h"
#include "platform/imaging/ImageEncoder.h"
#include "platform/imaging/ImageProperties.h"

namespace vantrel {

namespace {

const QString kQualityKey = QStringLiteral("kCGImageDestinationLossyCompressionQuality");

struct TypeEntry {
    const char* type;
    ImageFileFormat format;
};

const TypeEntry kTypes[] = {
    { "public.tiff", ImageFileFormat::Tiff },
    { "public.png", ImageFileFormat::Png },
    { "public.jpeg", ImageFileFormat::Jpeg },
    { "public.jpeg-2000", ImageFileFormat::Jpeg2000 },
    { "com.compuserve.gif", ImageFileFormat::Gif },
    { "com.microsoft.bmp", ImageFileFormat::Bmp },
};

bool formatForType(const QString& type, ImageFileFormat* format)
{
    for (const TypeEntry& entry : kTypes) {
        if (type == QLatin1String(entry.type)) {
            *format = entry.format;
            return true;
        }
    }
    return false;
}

EncodeOptions optionsFrom(const QVariantMap& options)
{
    EncodeOptions encode;
    bool ok = false;
    const double quality = options.value(kQualityKey).toDouble(&ok);
    if (ok && quality >= 0.0 && quality <= 1.0)
        encode.quality = static_cast<float>(quality);
    const int orientation = options.value(QStringLiteral("Orientation")).toInt(&ok);
    if (ok && orientation >= 1 && orientation <= 8)
        encode.orientationTag = orientation;
    return encode;
}

/// The format a file is written back in: that of its decoder (its real type), else its
/// extension's.
bool formatOfFile(const QString& path, ImageFileFormat* format)
{
    const QString loader = readImageProperties(path, PropertyDepth::SizeAndOrientation).loader;
    static const std::pair<const char*, ImageFileFormat> kLoaders[] = {
        { "jpegload", ImageFileFormat::Jpeg },
        { "pngload", ImageFileFormat::Png },
        { "tiffload", ImageFileFormat::Tiff },
        { "gifload", ImageFileFormat::Gif },
        { "jp2kload", ImageFileFormat::Jpeg2000 },
    };
    for (const auto& [name, candidate] : kLoaders) {
        if (loader == QLatin1String(name)) {
            *format = candidate;
            return true;
        }
    }
    return imageFileFormatForExtension(QFileInfo(path).suffix().toLower(), format);
}

bool hasMetadataGroups(ImageFileFormat format, const QVariantMap& properties)
{
    if (format == ImageFileFormat::Bmp || format == ImageFileFormat::Gif)
        return false;
    for (const char* group : { "{TIFF}", "{Exif}", "{ExifAux}", "{GPS}", "{IPTC}" }) {
        if (properties.contains(QLatin1String(group)))
            return true;
    }
    return false;
}

/// Encodes, then writes the dictionary's metadata groups; when there are groups to write, both
/// happen in a temporary file of the run's own pattern in the destination folder, held locked
/// (so that no run removes it as a leftover) and renamed over `path` only when both succeeded.
/// A metadata write that fails fails the whole write and leaves `path` as it was.
bool encodeWithProperties(const Image& image, const QString& path, ImageFileFormat format, const EncodeOptions& options,
    const QVariantMap& properties)
{
    if (!hasMetadataGroups(format, properties)) {
        const EncodeResult result = encodeImage(image, path, format, options);
        if (!result.ok)
            std::fprintf(stderr, "write %s: %s\n", qPrintable(path), qPrintable(result.error));
        return result.ok;
    }
    const QFileInfo info(path);
    QByteArray temporary;
    const int fd = AtomicFileWriter::createTemporary(QFile::encodeName(info.absolutePath()), &temporary);
    if (fd < 0) {
        std::fprintf(stderr, "write %s: %s\n", qPrintable(path), std::strerror(errno));
        return false;
    }
    const AtomicFileWriter::TemporaryLock lock(temporary);
    // A replaced file keeps its permissions; a new one gets those of a new file.
    const QFile::Permissions kept = QFile::permissions(path);
    ::close(fd);
    const QString temporaryPath = QFile::decodeName(temporary);
    const EncodeResult result = encodeImageInto(image, temporaryPath, format, options);
    bool ok = result.ok;
    if (!ok)
        std::fprintf(stderr, "write %s: %s\n", qPrintable(path), qPrintable(result.error));
    else if (!UtilsMetadataWriter::writeProperties(temporaryPath, properties))
        ok = false; // its one line is on stderr already
    if (ok) {
        QFile::setPermissions(temporaryPath,
            kept ? kept
                 : QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther | QFile::ReadUser
                    | QFile::WriteUser);
        if (std::rename(temporary.constData(), QFile::encodeName(path).constData()) != 0) {
            std::fprintf(stderr, "write %s: %s\n", qPrintable(path), std::strerror(errno));
            ok = false;
        }
    }
    if (!ok)
        ::unlink(temporary.constData());
    return ok;
}

} // namespace

bool Utils::writeCGImage(const Image& image, const QString& path, const QString& type, const QVariantMap& options) const
{
    ImageFileFormat format;
    if (image.isNull() || path.isEmpty() || !formatForType(type, &format))
        return false;
    return encodeWithProperties(image, path, format, optionsFrom(options), options);
}

QVariantMap Utils::setImageExifInfo(QVariantMap target, const QVariantMap& exifDict) const
{
    static const char* const kKeys[] = { "{TIFF}", "{GPS}", "{Exif}", "{IPTC}", "{JFIF}", "ColorModel", "DPIHeight",
        "DPIWidth", "Depth", "Orientation", "PixelHeight", "PixelWidth", "ProfileName" };
    for (const char* key : kKeys) {
        const auto it = exifDict.constFind(QLatin1String(key));
        if (it != exifDict.constEnd())
            target.insert(it.key(), it.value());
    }
    return target;
}

bool Utils::saveImageInSelectedFormat(int format, const QString& path, const Image& /*filteredImage*/,
    const Image& imageRef, const QVariantMap& exifDict, float quality, int /*orientation*/) const
{
    std::fprintf(stderr, "image exif dict before saving  = %s\n", qPrintable(getJSONFromDict(exifDict)));
    QVariantMap options = exifDict;
    switch (format) {
    case 0:
        return writeCGImage(imageRef, path, QStringLiteral("public.tiff"), options);
    case 1:
        return writeCGImage(imageRef, path, QStringLiteral("com.microsoft.bmp"), options);
    case 2:
        return writeCGImage(imageRef, path, QStringLiteral("com.compuserve.gif"), options);
    case 3:
    case 4:
        options.insert(kQualityKey, static_cast<double>(quality));
        return writeCGImage(imageRef, path, QStringLiteral("public.jpeg"), options);
    case 5:
        return writeCGImage(imageRef, path, QStringLiteral("public.png"), options);
    case 6:
        return writeCGImage(imageRef, path, QStringLiteral("public.jpeg-2000"), options);
    default:
        return false;
    }
}

bool Utils::updateImageExifDataAtPath(
    const QString& path, const QVariantMap& exifDict, float quality, int /*orientation*/, const Image& imageRef) const
{
    if (imageRef.isNull() || path.isEmpty())
        return false;
    EncodeOptions options = optionsFrom(exifDict);
    options.quality = quality;
    // The file's own metadata (EXIF with GPS, IPTC, XMP) is carried into its new contents.
    options.metadataSource = path;
    ImageFileFormat format;
    QString target = path;
    if (!formatOfFile(path, &format)) {
        const QFileInfo info(path);
        target = info.path() + QLatin1Char('/') + info.completeBaseName() + QStringLiteral(".jpeg");
        format = ImageFileFormat::Jpeg;
    }
    return encodeWithProperties(imageRef, target, format, options, exifDict);
}

} // namespace vantrel
