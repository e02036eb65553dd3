#include "platform/imaging/ImageEncoder.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <optional>

#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

#include <QFile>
#include <QFileInfo>
#include <QList>

#include <exiv2/exiv2.hpp>

#include "platform/imaging/AtomicFileWriter.h"
#include "platform/imaging/BmpWriter.h"
#include "platform/imaging/EncodeMetadata.h"
#include "platform/imaging/GuardedLoad.h"
#include "platform/imaging/ImageProperties.h"
#include "platform/imaging/SourceReads.h"
#include "platform/imaging/TiffMetadataSplice.h"
#include "platform/imaging/VipsErrorText.h"

namespace vantrel {

namespace {

std::mutex g_hookMutex;
std::function<int(const QString&)> g_failureHook;

std::function<bool(const QString&)> g_pngChunkFailure;

std::function<int(const QString&)> failureHook()
{
    std::lock_guard lock(g_hookMutex);
    return g_failureHook;
}

bool pngChunkFails(const QString& metadataSource)
{
    std::lock_guard lock(g_hookMutex);
    return g_pngChunkFailure && g_pngChunkFailure(metadataSource);
}

EncodeResult failure(const QString& path, int errorNumber, const QString& why)
{
    EncodeResult r;
    r.errorNumber = errorNumber;
    r.error = VipsErrorText::oneLine(why);
    std::fprintf(stderr, "encode %s: %s\n", path.toUtf8().constData(), r.error.toUtf8().constData());
    return r;
}

QByteArray takeBlob(VipsBlob* blob)
{
    size_t length = 0;
    const void* data = vips_blob_get(blob, &length);
    QByteArray bytes(static_cast<const char*>(data), qsizetype(length));
    vips_area_unref(VIPS_AREA(blob));
    return bytes;
}

// Pixels prepared for the format: 8 bits for JPEG, GIF and BMP; alpha flattened onto white for
// JPEG and BMP; only the ICC profile (and, for TIFF, the orientation) left for libvips to write,
// the rest goes through exiv2.
vips::VImage preparedPixels(const Image& image, ImageFileFormat format, int orientationTag)
{
    Image prepared = image.toSRGB();
    if (format == ImageFileFormat::Jpeg || format == ImageFileFormat::Bmp)
        prepared = prepared.flattenedOnWhite();
    if (format == ImageFileFormat::Jpeg || format == ImageFileFormat::Gif || format == ImageFileFormat::Bmp)
        prepared = prepared.toEightBit();
    if (prepared.isNull())
        throw vips::VError("the pixels could not be prepared");
    vips::VImage out = prepared.vips().copy();
    gchar** names = vips_image_get_fields(out.get_image());
    for (int i = 0; names && names[i]; ++i) {
        const char* name = names[i];
        if (std::strcmp(name, VIPS_META_ICC_NAME) != 0 && vips_image_get_typeof(out.get_image(), name)
            && (std::strncmp(name, "exif-", 5) == 0 || std::strcmp(name, VIPS_META_XMP_NAME) == 0
                || std::strcmp(name, VIPS_META_IPTC_NAME) == 0 || std::strcmp(name, VIPS_META_PHOTOSHOP_NAME) == 0
                || std::strcmp(name, VIPS_META_ORIENTATION) == 0 || std::strncmp(name, "png-comment-", 12) == 0))
            out.remove(name);
    }
    g_strfreev(names);
    if (format == ImageFileFormat::Tiff)
        out.set(VIPS_META_ORIENTATION, orientationTag >= 1 && orientationTag <= 8 ? orientationTag : 1);
    return out;
}

// The chunks of a PNG in order (each with its length, type and CRC); empty when malformed.
QList<QByteArray> pngChunks(const QByteArray& png)
{
    QList<QByteArray> chunks;
    qsizetype at = 8;
    while (at + 12 <= png.size()) {
        const quint32 length = (quint32(uchar(png[at])) << 24) | (quint32(uchar(png[at + 1])) << 16)
            | (quint32(uchar(png[at + 2])) << 8) | quint32(uchar(png[at + 3]));
        if (qsizetype(length) > png.size() - at - 12)
            return {};
        chunks.append(png.mid(at, 12 + qsizetype(length)));
        at += 12 + qsizetype(length);
    }
    return chunks;
}

// The metadata chunks a PNG gets for `m`: those that writing it adds to a one-pixel PNG. Throws
// vips::VError when that PNG cannot be made, Exiv2::AnyError when the metadata cannot be written.
QByteArray pngMetadataChunks(const EncodeMetadata& m, const QString& metadataSource)
{
    if (pngChunkFails(metadataSource)) {
        vips_error("VipsForeignSavePngBuffer", "%s", "out of memory (a test's injected failure)");
        throw vips::VError();
    }
    const QByteArray plain = takeBlob(vips::VImage::black(1, 1).pngsave_buffer());
    const QList<QByteArray> before = pngChunks(plain);
    QByteArray added;
    for (const QByteArray& chunk : pngChunks(m.writtenInto(plain, ImageFileFormat::Png)))
        if (!before.contains(chunk))
            added.append(chunk);
    return added;
}

// Rewrites the PNG at `path` (written by libvips into `pixels`, a temporary of its own) with
// `chunks` right after its header: one pass over the file, a block at a time.
int writePngWithChunks(const QByteArray& pixels, const QByteArray& path, const QByteArray& chunks)
{
    constexpr qint64 kHeader = 8 + 12 + 13;
    const int in = ::open(pixels.constData(), O_RDONLY | O_CLOEXEC);
    if (in < 0)
        return errno;
    const int out = ::open(path.constData(), O_WRONLY | O_TRUNC | O_CLOEXEC);
    if (out < 0) {
        const int error = errno;
        ::close(in);
        return error;
    }
    QByteArray block(1 << 20, Qt::Uninitialized);
    int error = 0;
    qint64 copied = 0;
    bool chunksWritten = false;
    for (;;) {
        const qint64 want = chunksWritten ? block.size() : kHeader - copied;
        const ssize_t n = ::read(in, block.data(), size_t(want));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            error = errno;
            break;
        }
        if (n == 0)
            break;
        if ((error = AtomicFileWriter::writeAll(out, block.constData(), n)))
            break;
        copied += n;
        if (!chunksWritten && copied == kHeader) {
            if ((error = AtomicFileWriter::writeAll(out, chunks.constData(), chunks.size())))
                break;
            chunksWritten = true;
        }
    }
    ::close(in);
    if (::close(out) != 0 && !error)
        error = errno;
    if (!error && !chunksWritten)
        error = EINVAL;
    return error;
}

// The BMP of `pixels` written into the existing file at `path`.
int writeBmp(const vips::VImage& pixels, const QByteArray& path)
{
    const int fd = ::open(path.constData(), O_WRONLY | O_TRUNC | O_CLOEXEC);
    if (fd < 0)
        return errno;
    int error = 0;
    try {
        error = BmpWriter::write(
            pixels, [fd](const char* data, qint64 size) { return AtomicFileWriter::writeAll(fd, data, size); });
    } catch (const vips::VError&) {
        ::close(fd);
        throw;
    }
    if (::close(fd) != 0 && !error)
        error = errno;
    return error;
}

// A one-pixel image of the kind of `pixels` (bands, sample format, interpretation, resolution
// and every metadata field): libvips writes it with the tags it writes for `pixels`.
vips::VImage oneAlike(const vips::VImage& pixels)
{
    vips::VImage one = vips::VImage::black(1, 1, vips::VImage::option()->set("bands", pixels.bands()))
                           .cast(pixels.format())
                           .copy(vips::VImage::option()
                                     ->set("interpretation", pixels.interpretation())
                                     ->set("xres", pixels.xres())
                                     ->set("yres", pixels.yres()));
    static const char* const kHeaderFields[] = { "width", "height", "bands", "format", "coding", "interpretation",
        "xoffset", "yoffset", "xres", "yres", "filename", "mode", "scale", "offset" };
    gchar** names = vips_image_get_fields(pixels.get_image());
    for (int i = 0; names && names[i]; ++i) {
        const char* name = names[i];
        if (std::any_of(std::begin(kHeaderFields), std::end(kHeaderFields),
                [name](const char* field) { return std::strcmp(name, field) == 0; }))
            continue;
        GValue value = G_VALUE_INIT;
        if (vips_image_get(pixels.get_image(), name, &value) == 0) {
            vips_image_set(one.get_image(), name, &value);
            g_value_unset(&value);
        }
    }
    g_strfreev(names);
    return one;
}

// Adds the metadata to the TIFF that libvips wrote at `path` without rewriting the file: exiv2
// writes it into a one-pixel TIFF of the same kind, and the tags that changed there are added
// to the end of the file (exiv2 on the file itself would hold the whole file in memory twice).
TiffMetadataSplice::Outcome spliceTiffMetadata(
    const vips::VImage& pixels, const QByteArray& path, const EncodeMetadata& metadata, int* errorNumber)
{
    QByteArray plain;
    QByteArray tagged;
    try {
        plain = takeBlob(oneAlike(pixels).tiffsave_buffer());
        tagged = metadata.writtenInto(plain, ImageFileFormat::Tiff);
    } catch (const vips::VError& e) {
        std::fprintf(stderr, "encode %s: TIFF tags not prepared: %s\n", path.constData(),
            VipsErrorText::take(e).toUtf8().constData());
        return TiffMetadataSplice::Outcome::Unsupported;
    } catch (const Exiv2::AnyError& e) {
        std::fprintf(stderr, "encode %s: TIFF tags not prepared: %s\n", path.constData(),
            VipsErrorText::oneLine(QString::fromUtf8(e.what())).toUtf8().constData());
        return TiffMetadataSplice::Outcome::Unsupported;
    }
    return TiffMetadataSplice::splice(path, plain, tagged, errorNumber);
}

// Mapped beside a GIF encoder's own need before it starts: one heap of the allocator, which the
// encode's small blocks may reserve on the way (a heap reserves 64 MB of address space, whatever
// it holds; measured, the address space of a run peaks about that much above the encoder's need).
constexpr qint64 kAllocatorHeap = qint64(64) << 20;

// True when `bytes` of memory can be mapped now: within the process's address-space limit and, where
// the system refuses to commit more than it has, within that. Nothing is touched or kept.
bool canMap(qint64 bytes)
{
    void* probe = mmap(nullptr, size_t(bytes), PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (probe == MAP_FAILED)
        return false;
    munmap(probe, size_t(bytes));
    return true;
}

// libvips writes the pixels to the file at `path` (replacing its contents), strip by strip.
void savePixels(const vips::VImage& pixels, const QByteArray& path, ImageFileFormat format, float quality)
{
    const int q = std::clamp(int(std::lround(double(quality) * 100.0)), 1, 100);
    const char* file = path.constData();
    switch (format) {
    case ImageFileFormat::Tiff:
        pixels.tiffsave(file);
        return;
    case ImageFileFormat::Png:
        pixels.pngsave(file);
        return;
    case ImageFileFormat::Jpeg:
        pixels.jpegsave(file, vips::VImage::option()->set("Q", q));
        return;
    case ImageFileFormat::Jpeg2000:
        // Full quality means lossless for JPEG 2000, as users of the format expect; libvips'
        // Q=100 alone is still lossy.
        pixels.jp2ksave(file, vips::VImage::option()->set("Q", q)->set("lossless", q == 100));
        return;
    case ImageFileFormat::Gif:
        // The encoder gathers the frame itself before quantising it. GLib's allocator ends the
        // process, and libcgif writes through a null pointer, where the memory they ask for
        // cannot be had: the encode starts only once that much can be mapped. (What other photos
        // allocate meanwhile is bounded by their admission.)
        if (!canMap(gifEncoderBytes(qint64(pixels.width()) * pixels.height()) + kAllocatorHeap))
            throw vips::VError("not enough memory for the GIF encoder");
        pixels.gifsave(file);
        return;
    case ImageFileFormat::Bmp:
        // Written bottom-up: the rows are needed in the other order than a load gives them.
        if (const int error = writeBmp(pixels, path))
            throw vips::VError(std::strerror(error));
        return;
    }
}

} // namespace

EncodeResult encodeImageInto(const Image& image, const QString& temporaryPath, ImageFileFormat format,
    const EncodeOptions& options, const GuardedLoad* source)
{
    if (image.isNull() || image.width() <= 0 || image.height() <= 0)
        return failure(temporaryPath, 0, "no image to encode");
    VipsErrorText::clear();
    const QByteArray path = QFile::encodeName(temporaryPath);
    const EncodeMetadata metadata = EncodeMetadata::forImage(image, format, options);
    const bool pngWithMetadata = format == ImageFileFormat::Png && metadata.any();
    // A PNG's metadata goes before its pixels: libvips writes them to a temporary of its own.
    QByteArray pixelsPath = path;
    std::unique_ptr<AtomicFileWriter::TemporaryLock> pixelsLock;
    SourceDescriptor pixelsFolder;
    if (pngWithMetadata) {
        const int fd = AtomicFileWriter::createTemporary(
            QFile::encodeName(QFileInfo(temporaryPath).absolutePath()), &pixelsPath, &pixelsFolder.fd);
        if (fd < 0)
            return failure(temporaryPath, errno, QString::fromLocal8Bit(std::strerror(errno)));
        pixelsLock = std::make_unique<AtomicFileWriter::TemporaryLock>(pixelsPath);
        ::close(fd);
    }
    // Through the folder's descriptor: the output folder may have been renamed meanwhile.
    const auto removePixels = [&] {
        if (pngWithMetadata)
            AtomicFileWriter::removeTemporary(pixelsFolder.fd, pixelsPath);
    };
    vips::VImage pixels;
    try {
        pixels = preparedPixels(image, format, options.orientationTag);
        savePixels(pixels, pixelsPath, format, options.quality);
    } catch (const vips::VError& e) {
        removePixels();
        return failure(temporaryPath, 0, QString("encoder failed: %1").arg(VipsErrorText::take(e, temporaryPath)));
    }
    if (source && source->failed()) {
        removePixels();
        return failure(temporaryPath, 0, "the source could not be decoded to its end");
    }
    if (pngWithMetadata) {
        QByteArray chunks;
        try {
            chunks = pngMetadataChunks(metadata, options.metadataSource);
        } catch (const vips::VError& e) {
            // The one-pixel PNG could not be made (memory short): the photo fails, the run goes on.
            removePixels();
            return failure(temporaryPath, 0, QString("encoder failed: %1").arg(VipsErrorText::take(e, temporaryPath)));
        } catch (const Exiv2::AnyError& e) {
            std::fprintf(stderr, "encode %s: metadata not written: %s\n", path.constData(),
                VipsErrorText::oneLine(QString::fromUtf8(e.what())).toUtf8().constData());
        }
        const int error = writePngWithChunks(pixelsPath, path, chunks);
        removePixels();
        if (error)
            return failure(temporaryPath, error, QString::fromLocal8Bit(std::strerror(error)));
    } else if (metadata.any() && format != ImageFileFormat::Gif && format != ImageFileFormat::Bmp) {
        int error = 0;
        const TiffMetadataSplice::Outcome spliced = format == ImageFileFormat::Tiff
            ? spliceTiffMetadata(pixels, path, metadata, &error)
            : TiffMetadataSplice::Outcome::Unsupported;
        if (spliced == TiffMetadataSplice::Outcome::Failed)
            return failure(temporaryPath, error, QString::fromLocal8Bit(std::strerror(error)));
        if (spliced == TiffMetadataSplice::Outcome::Unsupported) {
            try {
                metadata.writeTo(*Exiv2::ImageFactory::open(path.toStdString()));
            } catch (const Exiv2::AnyError& e) {
                // The picture matters more than its tags, as long as it is still whole.
                std::fprintf(stderr, "encode %s: metadata not written: %s\n", path.constData(),
                    VipsErrorText::oneLine(QString::fromUtf8(e.what())).toUtf8().constData());
                if (!readImageProperties(temporaryPath, PropertyDepth::SizeAndOrientation).valid)
                    return failure(temporaryPath, 0, "the metadata write damaged the file");
            }
        }
    }
    EncodeResult ok;
    ok.ok = true;
    return ok;
}

qint64 gifEncoderBytes(qint64 pixels)
{
    // libimagequant copies the frame in floating point only up to 64 MiB of such pixels.
    constexpr qint64 kFloatCopyPixels = (qint64(64) << 20) / 16;
    constexpr qint64 kFixed = qint64(16) << 20;
    if (pixels <= 0)
        return 0;
    return (pixels <= kFloatCopyPixels ? pixels * 24 : pixels * 25 / 2) + kFixed;
}

bool imageFileFormatForExtension(const QString& extension, ImageFileFormat* format)
{
    static const std::pair<const char*, ImageFileFormat> table[] = {
        { "tif", ImageFileFormat::Tiff },
        { "tiff", ImageFileFormat::Tiff },
        { "png", ImageFileFormat::Png },
        { "jpg", ImageFileFormat::Jpeg },
        { "jpeg", ImageFileFormat::Jpeg },
        { "jp2", ImageFileFormat::Jpeg2000 },
        { "bmp", ImageFileFormat::Bmp },
        { "gif", ImageFileFormat::Gif },
    };
    for (const auto& [ext, f] : table) {
        if (extension == QLatin1String(ext)) {
            if (format)
                *format = f;
            return true;
        }
    }
    return false;
}

void setEncodeFailureHookForTesting(std::function<int(const QString& path)> hook)
{
    std::lock_guard lock(g_hookMutex);
    g_failureHook = std::move(hook);
}

void setPngChunkFailureForTesting(std::function<bool(const QString& metadataSource)> fails)
{
    std::lock_guard lock(g_hookMutex);
    g_pngChunkFailure = std::move(fails);
}

EncodeResult encodeImage(const Image& image, const QString& path, ImageFileFormat format, const EncodeOptions& options)
{
    if (image.isNull() || image.width() <= 0 || image.height() <= 0)
        return failure(path, 0, "no image to encode");
    if (path.isEmpty())
        return failure(path, ENOENT, "empty output path");
    const auto hook = failureHook();
    std::optional<EncodeResult> encoded;
    const int error = AtomicFileWriter::writeThrough(path, [&](int, const QByteArray& temporary) {
        encoded = encodeImageInto(image, QFile::decodeName(temporary), format, options);
        if (!encoded->ok)
            return encoded->errorNumber ? encoded->errorNumber : EIO;
        return hook ? hook(path) : 0;
    });
    if (encoded && !encoded->ok)
        return *encoded;
    if (error)
        return failure(path, error, QString::fromLocal8Bit(std::strerror(error)));
    return *encoded;
}

} // namespace vantrel
