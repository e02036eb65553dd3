#include "platform/imaging/ImageEncoder.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <mutex>

#include <fcntl.h>
#include <unistd.h>

#include <QFile>
#include <QFileInfo>
#include <QList>

#include <exiv2/exiv2.hpp>

#include "platform/imaging/AtomicFileWriter.h"
#include "platform/imaging/BmpWriter.h"
#include "platform/imaging/GuardedLoad.h"
#include "platform/imaging/ImageProperties.h"
#include "platform/imaging/PngChunk.h"

namespace vantrel {

namespace {

std::mutex g_hookMutex;
std::function<int(const QString&)> g_failureHook;

std::function<int(const QString&)> failureHook()
{
    std::lock_guard lock(g_hookMutex);
    return g_failureHook;
}

EncodeResult failure(const QString& path, int errorNumber, const QString& why)
{
    EncodeResult r;
    r.errorNumber = errorNumber;
    r.error = why;
    std::fprintf(stderr, "encode %s: %s\n", path.toUtf8().constData(), why.toUtf8().constData());
    return r;
}

// TIFF layout tags of a source that describe its own strips and samples, never the output's.
const char* const kLayoutTags[] = {
    "Exif.Image.NewSubfileType",
    "Exif.Image.ImageWidth",
    "Exif.Image.ImageLength",
    "Exif.Image.BitsPerSample",
    "Exif.Image.Compression",
    "Exif.Image.PhotometricInterpretation",
    "Exif.Image.StripOffsets",
    "Exif.Image.SamplesPerPixel",
    "Exif.Image.RowsPerStrip",
    "Exif.Image.StripByteCounts",
    "Exif.Image.PlanarConfiguration",
    "Exif.Image.TileWidth",
    "Exif.Image.TileLength",
    "Exif.Image.TileOffsets",
    "Exif.Image.TileByteCounts",
    "Exif.Image.SubIFDs",
    "Exif.Image.ExtraSamples",
    "Exif.Image.SampleFormat",
    "Exif.Image.Predictor",
    "Exif.Image.InterColorProfile",
    "Exif.Image.XMLPacket",
    "Exif.Image.IPTCNAA",
    "Exif.Image.ImageResources",
    "Exif.Image.JPEGInterchangeFormat",
    "Exif.Image.JPEGInterchangeFormatLength",
    "Exif.Image.YCbCrSubSampling",
    "Exif.Image.FillOrder",
    "Exif.Image.DNGVersion",
};

struct Metadata {
    Exiv2::ExifData exif;
    Exiv2::IptcData iptc;
    Exiv2::XmpData xmp;
    bool any() const { return !exif.empty() || !iptc.empty() || !xmp.empty(); }
};

// The source's metadata adjusted to the output: orientation tag, pixel dimensions, no thumbnail.
Metadata carriedMetadata(
    const QString& source, const Image& image, const EncodeOptions& options, ImageFileFormat format)
{
    Metadata m;
    if (source.isEmpty())
        return m;
    try {
        auto in = Exiv2::ImageFactory::open(source.toStdString());
        in->readMetadata();
        m.exif = in->exifData();
        m.iptc = in->iptcData();
        m.xmp = in->xmpData();
    } catch (const Exiv2::AnyError& e) {
        std::fprintf(stderr, "encode: metadata of %s not carried: %s\n", source.toUtf8().constData(), e.what());
        return {};
    }
    try {
        Exiv2::ExifThumb(m.exif).erase();
        // A maker note holds offsets into the file it came from. Exiv2 rewrites them for JPEG
        // (whose EXIF block it lays out itself), but in a TIFF written around the pixels the
        // offsets point at other bytes and the values read back as garbage: TIFF carries none.
        if (format == ImageFileFormat::Tiff) {
            for (auto it = m.exif.begin(); it != m.exif.end();) {
                if (it->key() == "Exif.Photo.MakerNote" || it->key().rfind("Exif.MakerNote.", 0) == 0
                    || Exiv2::ExifTags::isMakerGroup(it->groupName()))
                    it = m.exif.erase(it);
                else
                    ++it;
            }
        }
        for (const char* key : kLayoutTags) {
            const auto it = m.exif.findKey(Exiv2::ExifKey(key));
            if (it != m.exif.end())
                m.exif.erase(it);
        }
        if (!m.exif.empty()) {
            m.exif["Exif.Image.Orientation"]
                = uint16_t(options.orientationTag >= 1 && options.orientationTag <= 8 ? options.orientationTag : 1);
            m.exif["Exif.Photo.PixelXDimension"] = uint32_t(image.width());
            m.exif["Exif.Photo.PixelYDimension"] = uint32_t(image.height());
        }
        // XMP copies of the same facts must not contradict the EXIF.
        for (const char* key : { "Xmp.tiff.Orientation", "Xmp.exif.PixelXDimension", "Xmp.exif.PixelYDimension",
                 "Xmp.tiff.ImageWidth", "Xmp.tiff.ImageLength" }) {
            const auto it = m.xmp.findKey(Exiv2::XmpKey(key));
            if (it != m.xmp.end())
                m.xmp.erase(it);
        }
    } catch (const Exiv2::AnyError& e) {
        std::fprintf(stderr, "encode: metadata of %s not carried: %s\n", source.toUtf8().constData(), e.what());
        return {};
    }
    return m;
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

QByteArray encodePixels(const vips::VImage& pixels, ImageFileFormat format, float quality)
{
    const int q = std::clamp(int(std::lround(double(quality) * 100.0)), 1, 100);
    switch (format) {
    case ImageFileFormat::Tiff:
        return takeBlob(pixels.tiffsave_buffer());
    case ImageFileFormat::Png:
        return takeBlob(pixels.pngsave_buffer());
    case ImageFileFormat::Jpeg:
        return takeBlob(pixels.jpegsave_buffer(vips::VImage::option()->set("Q", q)));
    case ImageFileFormat::Jpeg2000:
        // Full quality means lossless for JPEG 2000, as users of the format expect; libvips'
        // Q=100 alone is still lossy.
        return takeBlob(pixels.jp2ksave_buffer(vips::VImage::option()->set("Q", q)->set("lossless", q == 100)));
    case ImageFileFormat::Gif:
        return takeBlob(pixels.gifsave_buffer());
    case ImageFileFormat::Bmp:
        return BmpWriter::encode(pixels);
    }
    return {};
}

// PNG keeps its EXIF in an eXIf chunk, which viewers and libvips read (exiv2 would write a text
// chunk that most of them ignore, orientation included). It goes right after IHDR.
QByteArray withPngExif(const QByteArray& png, const Exiv2::ExifData& exif)
{
    constexpr qsizetype kAfterHeader = 8 + 4 + 4 + 13 + 4;
    if (exif.empty() || png.size() < kAfterHeader || png.mid(12, 4) != "IHDR")
        return png;
    Exiv2::Blob tiff;
    Exiv2::ExifParser::encode(tiff, nullptr, 0, Exiv2::littleEndian, exif);
    if (tiff.empty())
        return png;
    QByteArray out = png.left(kAfterHeader);
    PngChunk::append(out, "eXIf", QByteArray(reinterpret_cast<const char*>(tiff.data()), qsizetype(tiff.size())));
    out.append(png.mid(kAfterHeader));
    return out;
}

// Writes the metadata into the encoded bytes (in memory); formats exiv2 cannot write keep none.
QByteArray withMetadata(const QByteArray& encoded, ImageFileFormat format, const Metadata& m)
{
    if (!m.any() || format == ImageFileFormat::Gif || format == ImageFileFormat::Bmp)
        return encoded;
    const bool png = format == ImageFileFormat::Png;
    QByteArray out = encoded;
    if (!m.iptc.empty() || !m.xmp.empty() || (!png && !m.exif.empty())) {
        auto image = Exiv2::ImageFactory::open(
            reinterpret_cast<const Exiv2::byte*>(encoded.constData()), long(encoded.size()));
        image->readMetadata();
        if (!png && !m.exif.empty())
            image->setExifData(m.exif);
        if (!m.iptc.empty())
            image->setIptcData(m.iptc);
        if (!m.xmp.empty())
            image->setXmpData(m.xmp);
        image->writeMetadata();
        Exiv2::BasicIo& io = image->io();
        io.open();
        const long size = io.size();
        io.seek(0, Exiv2::BasicIo::beg);
        out = QByteArray(qsizetype(size), Qt::Uninitialized);
        const long read = io.read(reinterpret_cast<Exiv2::byte*>(out.data()), size);
        io.close();
        if (read != size)
            throw Exiv2::Error(Exiv2::kerFailedToReadImageData);
    }
    return png ? withPngExif(out, m.exif) : out;
}

// The metadata to write: the source's, adjusted; the orientation tag is written even without a
// metadata source where the format holds it.
Metadata metadataFor(const Image& image, ImageFileFormat format, const EncodeOptions& options)
{
    Metadata metadata = carriedMetadata(options.metadataSource, image, options, format);
    const bool holdsOrientation
        = format == ImageFileFormat::Jpeg || format == ImageFileFormat::Png || format == ImageFileFormat::Tiff;
    if (holdsOrientation && metadata.exif.empty() && options.orientationTag >= 2 && options.orientationTag <= 8) {
        metadata.exif["Exif.Image.Orientation"] = uint16_t(options.orientationTag);
        metadata.exif["Exif.Photo.PixelXDimension"] = uint32_t(image.width());
        metadata.exif["Exif.Photo.PixelYDimension"] = uint32_t(image.height());
    }
    return metadata;
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

// The metadata chunks a PNG gets for `m`: those that writing it adds to a one-pixel PNG.
QByteArray pngMetadataChunks(const Metadata& m)
{
    const QByteArray plain = takeBlob(vips::VImage::black(1, 1).pngsave_buffer());
    const QList<QByteArray> before = pngChunks(plain);
    QByteArray added;
    for (const QByteArray& chunk : pngChunks(withMetadata(plain, ImageFileFormat::Png, m)))
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
        pixels.jp2ksave(file, vips::VImage::option()->set("Q", q)->set("lossless", q == 100));
        return;
    case ImageFileFormat::Gif:
        // The encoder gathers the frame itself before quantising it.
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
    const QByteArray path = QFile::encodeName(temporaryPath);
    const Metadata metadata = metadataFor(image, format, options);
    const bool pngWithMetadata = format == ImageFileFormat::Png && metadata.any();
    // A PNG's metadata goes before its pixels: libvips writes them to a temporary of its own.
    QByteArray pixelsPath = path;
    std::unique_ptr<AtomicFileWriter::TemporaryLock> pixelsLock;
    if (pngWithMetadata) {
        pixelsPath = QFile::encodeName(QFileInfo(temporaryPath).absolutePath()) + "/" + AtomicFileWriter::kTempPrefix
            + "XXXXXX" + AtomicFileWriter::kTempSuffix;
        const int fd = ::mkostemps(pixelsPath.data(), int(std::strlen(AtomicFileWriter::kTempSuffix)), O_CLOEXEC);
        if (fd < 0)
            return failure(temporaryPath, errno, QString::fromLocal8Bit(std::strerror(errno)));
        pixelsLock = std::make_unique<AtomicFileWriter::TemporaryLock>(pixelsPath);
        ::close(fd);
    }
    const auto removePixels = [&] {
        if (pngWithMetadata)
            ::unlink(pixelsPath.constData());
    };
    try {
        savePixels(preparedPixels(image, format, options.orientationTag), pixelsPath, format, options.quality);
    } catch (const vips::VError& e) {
        removePixels();
        return failure(temporaryPath, 0, QString("encoder failed: %1").arg(QString::fromUtf8(e.what()).trimmed()));
    }
    if (source && source->failed()) {
        removePixels();
        return failure(temporaryPath, 0, "the source could not be decoded to its end");
    }
    if (pngWithMetadata) {
        QByteArray chunks;
        try {
            chunks = pngMetadataChunks(metadata);
        } catch (const Exiv2::AnyError& e) {
            std::fprintf(stderr, "encode %s: metadata not written: %s\n", path.constData(), e.what());
        }
        const int error = writePngWithChunks(pixelsPath, path, chunks);
        removePixels();
        if (error)
            return failure(temporaryPath, error, QString::fromLocal8Bit(std::strerror(error)));
    } else if (metadata.any() && format != ImageFileFormat::Gif && format != ImageFileFormat::Bmp) {
        try {
            auto file = Exiv2::ImageFactory::open(path.toStdString());
            file->readMetadata();
            if (!metadata.exif.empty())
                file->setExifData(metadata.exif);
            if (!metadata.iptc.empty())
                file->setIptcData(metadata.iptc);
            if (!metadata.xmp.empty())
                file->setXmpData(metadata.xmp);
            file->writeMetadata();
        } catch (const Exiv2::AnyError& e) {
            // The picture matters more than its tags, as long as it is still whole.
            std::fprintf(stderr, "encode %s: metadata not written: %s\n", path.constData(), e.what());
            if (!readImageProperties(temporaryPath, PropertyDepth::SizeAndOrientation).valid)
                return failure(temporaryPath, 0, "the metadata write damaged the file");
        }
    }
    EncodeResult ok;
    ok.ok = true;
    return ok;
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

EncodeResult encodeImage(const Image& image, const QString& path, ImageFileFormat format, const EncodeOptions& options)
{
    if (image.isNull() || image.width() <= 0 || image.height() <= 0)
        return failure(path, 0, "no image to encode");
    if (path.isEmpty())
        return failure(path, ENOENT, "empty output path");
    QByteArray bytes;
    try {
        bytes = encodePixels(preparedPixels(image, format, options.orientationTag), format, options.quality);
    } catch (const vips::VError& e) {
        return failure(path, 0, QString("encoder failed: %1").arg(QString::fromUtf8(e.what()).trimmed()));
    }
    if (bytes.isEmpty())
        return failure(path, 0, "encoder produced nothing");
    const Metadata metadata = metadataFor(image, format, options);
    try {
        bytes = withMetadata(bytes, format, metadata);
    } catch (const Exiv2::AnyError& e) {
        // The picture matters more than its tags: write it without them.
        std::fprintf(stderr, "encode %s: metadata not written: %s\n", path.toUtf8().constData(), e.what());
    }
    if (const int error = AtomicFileWriter::write(path, bytes, failureHook()))
        return failure(path, error, QString::fromLocal8Bit(std::strerror(error)));
    EncodeResult ok;
    ok.ok = true;
    return ok;
}

} // namespace vantrel
