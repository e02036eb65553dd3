// Encoders: each format round-trips, metadata is carried and adjusted, failures leave no trace.
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <thread>

#include <dlfcn.h>
#include <sys/resource.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <exiv2/exiv2.hpp>
#include <gtest/gtest.h>

#include "platform/imaging/AtomicFileWriter.h"
#include "platform/imaging/EncodeMetadata.h"
#include "platform/imaging/ImageEncoder.h"
#include "platform/imaging/ImageProperties.h"
#include "platform/imaging/ImagingInit.h"
#include "support/TestImages.h"

using namespace vantrel;
using namespace vantrel::testimages;

namespace {

struct FormatCase {
    const char* ext;
    ImageFileFormat format;
    bool keepsSixteenBits;
    bool keepsAlpha;
    bool holdsOrientation;
    bool holdsMetadata;
};

const FormatCase kFormats[] = {
    { "tif", ImageFileFormat::Tiff, true, true, true, true },
    { "png", ImageFileFormat::Png, true, true, true, true },
    { "jpg", ImageFileFormat::Jpeg, false, false, true, true },
    { "jp2", ImageFileFormat::Jpeg2000, true, true, false, true },
    { "bmp", ImageFileFormat::Bmp, false, false, false, false },
    { "gif", ImageFileFormat::Gif, false, true, false, false },
};

Exiv2::ExifData exifOf(const QString& path)
{
    auto image = Exiv2::ImageFactory::open(path.toStdString());
    image->readMetadata();
    return image->exifData();
}

QByteArray savedToMemory(const vips::VImage& pixels, ImageFileFormat format)
{
    return takeBlob(format == ImageFileFormat::Tiff ? pixels.tiffsave_buffer() : pixels.pngsave_buffer());
}

std::unique_ptr<Exiv2::Image> metadataOf(const QByteArray& file)
{
    auto image = Exiv2::ImageFactory::open(reinterpret_cast<const Exiv2::byte*>(file.constData()), long(file.size()));
    image->readMetadata();
    return std::unique_ptr<Exiv2::Image>(image.release());
}

// Every EXIF, IPTC and XMP entry of a file as "key type value", one a line (long values by their
// length and checksum), but the offsets of the pixels and of the EXIF and GPS directories.
std::string metadataLines(const QByteArray& file)
{
    const auto image = metadataOf(file);
    QStringList lines;
    for (const Exiv2::Exifdatum& d : image->exifData()) {
        if (d.key() == "Exif.Image.StripOffsets" || d.key() == "Exif.Image.ExifTag" || d.key() == "Exif.Image.GPSTag"
            || d.key() == "Exif.Photo.InteroperabilityTag")
            continue;
        std::string value = d.toString();
        if (d.size() > 64) {
            Exiv2::DataBuf bytes(long(d.size()));
            d.copy(bytes.pData_, Exiv2::littleEndian);
            value = std::to_string(d.size()) + " bytes, checksum "
                + std::to_string(qChecksum(QByteArrayView(bytes.pData_, bytes.size_)));
        }
        lines << QString::fromStdString(d.key() + " " + d.typeName() + " " + value);
    }
    for (const Exiv2::Iptcdatum& d : image->iptcData())
        lines << QString::fromStdString(d.key() + " " + d.toString());
    for (const Exiv2::Xmpdatum& d : image->xmpData())
        lines << QString::fromStdString(d.key() + " " + d.toString());
    return lines.join('\n').toStdString();
}

std::string stripOffsetsOf(const QByteArray& file)
{
    const auto image = metadataOf(file);
    const auto it = image->exifData().findKey(Exiv2::ExifKey("Exif.Image.StripOffsets"));
    return it == image->exifData().end() ? std::string() : it->toString();
}

} // namespace

TEST(ImageEncoder, ExtensionTable)
{
    ImageFileFormat f {};
    EXPECT_TRUE(imageFileFormatForExtension("jpeg", &f));
    EXPECT_EQ(f, ImageFileFormat::Jpeg);
    EXPECT_TRUE(imageFileFormatForExtension("tif", &f));
    EXPECT_EQ(f, ImageFileFormat::Tiff);
    EXPECT_FALSE(imageFileFormatForExtension("webp", &f));
    EXPECT_FALSE(imageFileFormatForExtension("JPG", &f));
}

TEST(ImageEncoder, EachFormatRoundTripsWithOrientationAndDepth)
{
    QTemporaryDir dir;
    const QString source = dir.filePath("source.jpg");
    ASSERT_TRUE(writePattern(source, 120, 80));
    ASSERT_TRUE(setCameraTags(source));
    for (const FormatCase& c : kFormats) {
        const Image image(makePattern(120, 80, { .sixteenBit = true, .alpha = true }));
        const QString out = dir.filePath(QString("out.%1").arg(c.ext));
        EncodeOptions options;
        options.orientationTag = 6;
        options.metadataSource = source;
        const EncodeResult r = encodeImage(image, out, c.format, options);
        ASSERT_TRUE(r.ok) << c.ext << " " << r.error.toStdString();

        const ImageProperties p = readImageProperties(out);
        ASSERT_TRUE(p.valid) << c.ext;
        EXPECT_EQ(p.storedSize(), QSize(120, 80)) << c.ext;
        EXPECT_EQ(p.bitsPerSample, c.keepsSixteenBits ? 16 : 8) << c.ext;
        if (c.format != ImageFileFormat::Gif) {
            EXPECT_EQ(p.hasAlpha, c.keepsAlpha) << c.ext;
        }
        if (c.holdsOrientation) {
            EXPECT_EQ(p.orientation, 6) << c.ext;
            EXPECT_EQ(exifOf(out)["Exif.Image.Orientation"].toLong(), 6) << c.ext;
        }
        if (c.holdsMetadata) {
            EXPECT_EQ(p.dictionary.value("{TIFF}").toMap().value("Make").toString(), "Testmaker") << c.ext;
            EXPECT_NEAR(p.dictionary.value("{GPS}").toMap().value("Latitude").toDouble(), 51.5, 1e-9) << c.ext;
            EXPECT_EQ(p.dictionary.value("{IPTC}").toMap().value("Keywords").toList().size(), 2) << c.ext;
            EXPECT_EQ(p.dictionary.value("{Exif}").toMap().value("PixelXDimension").toInt(), 120) << c.ext;
            EXPECT_EQ(p.dictionary.value("{Exif}").toMap().value("PixelYDimension").toInt(), 80) << c.ext;
        }
        // Quadrants survive (alpha flattened where the format has none).
        const vips::VImage back = vips::VImage::new_from_file(out.toUtf8().constData());
        EXPECT_EQ(cornersOf(back),
            (std::vector<Corner> { Corner::TopLeft, Corner::TopRight, Corner::BottomLeft, Corner::BottomRight }))
            << c.ext;
    }
}

TEST(ImageEncoder, TiffAndPngHoldWhatAWholeFileRewriteWroteWithThePixelsWhereTheyWereWritten)
{
    QTemporaryDir dir;
    const QString source = dir.filePath("camera.jpg");
    ASSERT_TRUE(writePattern(source, 40, 30));
    ASSERT_TRUE(setCameraTags(source));
    ASSERT_TRUE(setMetadata(source,
        { { "Xmp.dc.title", "lang=x-default Harbour" }, { "Exif.Photo.UserComment", "charset=Ascii at dusk" },
            { "Exif.Image.Artist", "Someone" } }));
    struct Case {
        const char* what;
        PatternOptions pattern;
        int orientation;
        bool withSource;
    };
    const Case cases[] = {
        { "8-bit RGB, camera tags, turned", {}, 6, true },
        { "16-bit RGBA, camera tags", { .sixteenBit = true, .alpha = true }, 1, true },
        { "grey (written with an sRGB profile), the orientation tag alone", { .grey = true }, 8, false },
    };
    for (const ImageFileFormat format : { ImageFileFormat::Tiff, ImageFileFormat::Png }) {
        const char* ext = format == ImageFileFormat::Tiff ? "tif" : "png";
        for (const Case& c : cases) {
            const std::string what = std::string(ext) + ", " + c.what;
            const Image image(makePattern(96, 64, c.pattern));
            EncodeOptions options;
            options.orientationTag = c.orientation;
            if (c.withSource)
                options.metadataSource = source;
            const QString out = dir.filePath(QString("out.%1").arg(ext));
            ASSERT_TRUE(encodeImage(image, out, format, options).ok) << what;
            const QByteArray written = readBytes(out);

            // What the encoder wrote before it streamed: the whole file encoded in memory, and
            // exiv2 writing the metadata into that copy.
            vips::VImage prepared = image.toSRGB().vips().copy();
            if (format == ImageFileFormat::Tiff)
                prepared.set(VIPS_META_ORIENTATION, c.orientation);
            const QByteArray pixelsOnly = savedToMemory(prepared, format);
            const QByteArray whole = EncodeMetadata::forImage(image, format, options).writtenInto(pixelsOnly, format);

            EXPECT_EQ(metadataLines(written), metadataLines(whole)) << what;
            const vips::VImage now = vips::VImage::new_from_buffer(written.constData(), size_t(written.size()), "");
            const vips::VImage before = vips::VImage::new_from_buffer(whole.constData(), size_t(whole.size()), "");
            ASSERT_EQ(now.bands(), before.bands()) << what;
            ASSERT_EQ(now.format(), before.format()) << what;
            EXPECT_EQ((now - before).abs().max(), 0.0) << what;
            if (format == ImageFileFormat::Png) {
                EXPECT_EQ(written, whole) << what;
            } else {
                // The metadata went in beside the pixels: they were not moved (read and written again).
                EXPECT_EQ(stripOffsetsOf(written), stripOffsetsOf(pixelsOnly)) << what;
                EXPECT_NE(stripOffsetsOf(whole), stripOffsetsOf(pixelsOnly)) << what;
            }
        }
    }
}

TEST(ImageEncoder, AlphaIsFlattenedOntoWhiteForJpegAndBmp)
{
    QTemporaryDir dir;
    vips::VImage clear = makePattern(16, 16).bandjoin_const({ 0.0 }).copy(
        vips::VImage::option()->set("interpretation", VIPS_INTERPRETATION_sRGB));
    for (auto [ext, format] :
        { std::pair { "jpg", ImageFileFormat::Jpeg }, std::pair { "bmp", ImageFileFormat::Bmp } }) {
        const QString out = dir.filePath(QString("clear.%1").arg(ext));
        ASSERT_TRUE(encodeImage(Image(clear), out, format, {}).ok);
        const vips::VImage back = vips::VImage::new_from_file(out.toUtf8().constData());
        const std::vector<double> p = pixelAt(back, 8, 8);
        EXPECT_GT(p[0], 245) << ext;
        EXPECT_GT(p[2], 245) << ext;
    }
}

TEST(ImageEncoder, ThumbnailOfTheSourceIsDropped)
{
    QTemporaryDir dir;
    const QString source = dir.filePath("withthumb.jpg");
    ASSERT_TRUE(writePattern(source, 64, 64));
    {
        auto image = Exiv2::ImageFactory::open(source.toStdString());
        image->readMetadata();
        const QByteArray jpeg = takeBlob(makePattern(16, 16).jpegsave_buffer());
        Exiv2::ExifThumb(image->exifData())
            .setJpegThumbnail(reinterpret_cast<const Exiv2::byte*>(jpeg.constData()), long(jpeg.size()));
        image->exifData()["Exif.Image.Make"] = "Thumbmaker";
        image->writeMetadata();
    }
    ASSERT_FALSE(Exiv2::ExifThumbC(exifOf(source)).copy().size_ == 0);
    const QString out = dir.filePath("out.jpg");
    EncodeOptions options;
    options.metadataSource = source;
    ASSERT_TRUE(encodeImage(Image(makePattern(64, 64)), out, ImageFileFormat::Jpeg, options).ok);
    const Exiv2::ExifData exif = exifOf(out);
    EXPECT_EQ(Exiv2::ExifThumbC(exif).copy().size_, 0);
    EXPECT_EQ(exif.findKey(Exiv2::ExifKey("Exif.Image.Make"))->toString(), "Thumbmaker");
}

TEST(ImageEncoder, FailuresLeaveNoPartialFileAndKeepTheOldOne)
{
    QTemporaryDir sources;
    const QString source = sources.filePath("tagged.jpg");
    ASSERT_TRUE(writePattern(source, 20, 10));
    ASSERT_TRUE(setCameraTags(source));
    for (const FormatCase& c : kFormats) {
        QTemporaryDir folder;
        const QString out = folder.filePath(QString("keep.%1").arg(c.ext));
        ASSERT_TRUE(writeBytes(out, "old contents"));
        EncodeOptions options;
        options.metadataSource = source;
        for (int error : { ENOSPC, EIO, EACCES, EROFS }) {
            setEncodeFailureHookForTesting([error](const QString&) { return error; });
            const EncodeResult r = encodeImage(Image(makePattern(200, 100)), out, c.format, options);
            setEncodeFailureHookForTesting({});
            EXPECT_FALSE(r.ok) << c.ext;
            EXPECT_EQ(r.errorNumber, error) << c.ext;
            EXPECT_FALSE(r.error.isEmpty()) << c.ext;
            EXPECT_EQ(readBytes(out), QByteArray("old contents")) << c.ext;
            EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden).size(), 1)
                << c.ext << ": temporary file left";
        }
    }
    QTemporaryDir dir;
    const QString out = dir.filePath("keep.jpg");
    ASSERT_TRUE(writeBytes(out, "old contents"));
    // Missing folder, over-long name, null image.
    const EncodeResult missing
        = encodeImage(Image(makePattern(8, 8)), dir.filePath("no/such/x.png"), ImageFileFormat::Png, {});
    EXPECT_EQ(missing.errorNumber, ENOENT);
    const EncodeResult longName
        = encodeImage(Image(makePattern(8, 8)), dir.filePath(QString(300, 'n') + ".png"), ImageFileFormat::Png, {});
    EXPECT_EQ(longName.errorNumber, ENAMETOOLONG);
    EXPECT_FALSE(encodeImage(Image(), dir.filePath("null.png"), ImageFileFormat::Png, {}).ok);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
    // A success replaces the old file.
    ASSERT_TRUE(encodeImage(Image(makePattern(8, 8)), out, ImageFileFormat::Jpeg, {}).ok);
    EXPECT_EQ(readImageProperties(out).storedSize(), QSize(8, 8));
}

TEST(ImageEncoder, TemporariesAreRemovedWhereTheirFolderWent)
{
    QTemporaryDir sources;
    const QString source = sources.filePath("tagged.jpg");
    ASSERT_TRUE(writePattern(source, 20, 10));
    ASSERT_TRUE(setCameraTags(source));
    const struct {
        const char* name;
        ImageFileFormat format;
        bool onceThePixelsAreWritten; ///< else once the file is complete, before its rename
    } cases[] = {
        { "JPEG, renamed before the rename of its file", ImageFileFormat::Jpeg, false },
        { "PNG, renamed before the rename of its file", ImageFileFormat::Png, false },
        { "PNG, renamed once its pixels are written apart from its metadata", ImageFileFormat::Png, true },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir dir;
        const QString folder = dir.filePath("out");
        const QString moved = dir.filePath("moved");
        ASSERT_TRUE(QDir().mkpath(folder));
        // Another program renames the output folder as the encode reaches that step.
        const auto rename = [&] { EXPECT_TRUE(QDir().rename(folder, moved)); };
        if (c.onceThePixelsAreWritten) {
            setPngChunkFailureForTesting([&](const QString&) {
                rename();
                return false;
            });
        } else {
            setEncodeFailureHookForTesting([&](const QString&) {
                rename();
                return EIO;
            });
        }
        EncodeOptions options;
        options.metadataSource = source;
        const QString out = folder + (c.format == ImageFileFormat::Png ? "/photo.png" : "/photo.jpg");
        const EncodeResult r = encodeImage(Image(makePattern(200, 100)), out, c.format, options);
        setPngChunkFailureForTesting({});
        setEncodeFailureHookForTesting({});
        EXPECT_FALSE(r.ok);
        const QStringList left = QDir(moved).entryList(QDir::Files | QDir::Hidden);
        EXPECT_TRUE(left.isEmpty()) << "left behind: " << qPrintable(left.join(", "));
    }
}

TEST(ImageEncoder, LeftoverTemporaryFilesAreRecognised)
{
    QTemporaryDir dir;
    ASSERT_TRUE(writeBytes(dir.filePath(".vantrel-abc123.tmp"), "x"));
    ASSERT_TRUE(writeBytes(dir.filePath("photo.jpg"), "x"));
    // A temporary that a writer still holds is not a leftover.
    ASSERT_TRUE(writeBytes(dir.filePath(".vantrel-inwork.tmp"), "x"));
    {
        const AtomicFileWriter::TemporaryLock held(QFile::encodeName(dir.filePath(".vantrel-inwork.tmp")));
        EXPECT_EQ(AtomicFileWriter::removeLeftovers(dir.path()), 1);
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name),
            QStringList({ ".vantrel-inwork.tmp", "photo.jpg" }));
    }
    EXPECT_EQ(AtomicFileWriter::removeLeftovers(dir.path()), 1);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList { "photo.jpg" });
}

TEST(ImageEncoder, ReplacedFileIsReadAfresh)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("again.jpg");
    ASSERT_TRUE(encodeImage(Image(makePattern(8, 8)), path, ImageFileFormat::Jpeg, {}).ok);
    EXPECT_EQ(readImageProperties(path).storedSize(), QSize(8, 8));
    EXPECT_EQ(Image::load(path).size(), QSize(8, 8));
    EXPECT_EQ(Image::thumbnail(path, { 100, 100 }).size(), QSize(8, 8));
    ASSERT_TRUE(encodeImage(Image(makePattern(16, 12)), path, ImageFileFormat::Jpeg, {}).ok);
    EXPECT_EQ(readImageProperties(path).storedSize(), QSize(16, 12));
    EXPECT_EQ(Image::load(path).size(), QSize(16, 12));
    EXPECT_EQ(Image::thumbnail(path, { 100, 100 }).size(), QSize(16, 12));
}

TEST(ImageEncoder, OrientationTagWithoutMetadataSource)
{
    QTemporaryDir dir;
    for (const FormatCase& c : kFormats) {
        if (!c.holdsOrientation)
            continue;
        const QString out = dir.filePath(QString("bare.%1").arg(c.ext));
        EncodeOptions options;
        options.orientationTag = 8;
        ASSERT_TRUE(encodeImage(Image(makePattern(30, 20)), out, c.format, options).ok) << c.ext;
        EXPECT_EQ(readImageProperties(out, PropertyDepth::SizeAndOrientation).orientation, 8) << c.ext;
        EXPECT_EQ(exifOf(out)["Exif.Image.Orientation"].toLong(), 8) << c.ext;
        // Where other programs look for it too (a PNG's eXIf chunk, not a text chunk).
        const vips::VImage seen = vips::VImage::new_from_file(out.toUtf8().constData());
        ASSERT_NE(seen.get_typeof(VIPS_META_ORIENTATION), 0u) << c.ext;
        EXPECT_EQ(seen.get_int(VIPS_META_ORIENTATION), 8) << c.ext;
    }
}

TEST(ImageEncoder, JpegTwoThousandAtFullQualityIsLossless)
{
    QTemporaryDir dir;
    const Image image(makePattern(64, 48, {}));
    const QString out = dir.filePath("full.jp2");
    EncodeOptions options;
    options.quality = 1.0f;
    ASSERT_TRUE(encodeImage(image, out, ImageFileFormat::Jpeg2000, options).ok);
    const Image back = Image::load(out);
    ASSERT_FALSE(back.isNull());
    EXPECT_EQ((back.vips() - image.vips()).abs().max(), 0.0);
}

namespace {

// A number from /proc/self/status ("VmRSS", "VmHWM"), in bytes; -1 when it cannot be read.
qint64 statusBytes(const char* field)
{
    QFile status("/proc/self/status");
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray prefix = QByteArray(field) + ':';
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(prefix))
            return line.mid(prefix.size()).trimmed().split(' ').value(0).toLongLong() * 1024;
    }
    return -1;
}

// A photo's many colours: a gradient in each band under grain, in memory.
vips::VImage photoLikeFrame(int width, int height)
{
    const vips::VImage grain = vips::VImage::gaussnoise(width, height, vips::VImage::option()->set("sigma", 40.0));
    const vips::VImage xy = vips::VImage::xyz(width, height);
    const vips::VImage red = xy[0] * (255.0 / width) + grain - 128;
    const vips::VImage green = xy[1] * (255.0 / height) + grain - 128;
    return red.bandjoin({ green, grain }).cast(VIPS_FORMAT_UCHAR).copy_memory();
}

} // namespace

TEST(ImageEncoder, AGifEncodeHoldsNoMoreThanItsEstimate)
{
    // The run admits a GIF write by gifEncoderBytes. A frame of a photo's many colours is encoded
    // and the peak of the resident size measured, at sizes on both sides of 2^22 pixels (up to
    // there the quantiser also copies the frame in floating point). The estimate is not far above
    // what is held either: a share held for nothing keeps other photos waiting.
    const QSize sizes[] = { { 1000, 1000 }, { 2048, 2048 }, { 2049, 2048 }, { 3000, 2000 } };
    QTemporaryDir dir;
    for (const QSize& size : sizes) {
        SCOPED_TRACE(QStringLiteral("%1x%2").arg(size.width()).arg(size.height()).toStdString());
        const Image frame(photoLikeFrame(size.width(), size.height()));
        releaseFreedMemory();
        QFile reset("/proc/self/clear_refs");
        if (!reset.open(QIODevice::WriteOnly) || reset.write("5") != 1)
            GTEST_SKIP() << "the resident peak cannot be reset here";
        reset.close();
        const qint64 before = statusBytes("VmRSS");
        ASSERT_TRUE(encodeImage(frame, dir.filePath("frame.gif"), ImageFileFormat::Gif, {}).ok);
        const qint64 held = statusBytes("VmHWM") - before;
        const qint64 estimate = gifEncoderBytes(qint64(size.width()) * size.height());
        EXPECT_LE(held, estimate) << "held " << held / 1e6 << " MB";
        EXPECT_GE(held, estimate / 2) << "held " << held / 1e6 << " MB";
    }
}

TEST(ImageEncoder, TheGifQuantiserMakesNoThreadsOfItsOwn)
{
    // libimagequant's loops would run on OpenMP threads made in the middle of an encode, and
    // libgomp ends the process when one cannot be made. The test main starts, as the
    // application's does, with one OpenMP thread per caller: a writer thread's quantiser runs on
    // it alone.
    using MaxThreads = int (*)();
    const auto maxThreads = reinterpret_cast<MaxThreads>(dlsym(RTLD_DEFAULT, "omp_get_max_threads"));
    if (!maxThreads)
        GTEST_SKIP() << "libvips quantises without OpenMP here";
    int onAWriter = 0;
    std::thread([&] { onAWriter = maxThreads(); }).join();
    EXPECT_EQ(onAWriter, 1);
}

namespace {

// Encodes a frame of `width` x `height` to GIF with `headroom` bytes of address space left to the
// process; 0 when the outcome is `written` (a line on standard error tells which it was).
int encodeGifWithin(int width, int height, qint64 headroom, bool written)
{
    QTemporaryDir dir;
    const Image frame(photoLikeFrame(width, height));
    const rlimit limit { rlim_t(statusBytes("VmSize") + headroom), RLIM_INFINITY };
    if (setrlimit(RLIMIT_AS, &limit) != 0)
        return 2;
    const EncodeResult result = encodeImage(frame, dir.filePath("frame.gif"), ImageFileFormat::Gif, {});
    std::fprintf(stderr, "%s\n", result.ok ? "written" : qUtf8Printable(result.error));
    return result.ok == written ? 0 : 1;
}

} // namespace

TEST(ImageEncoderDeathTest, AGifThatMemoryCannotHoldFailsAndTheProcessGoesOn)
{
    // GLib's allocator ends the process where the encoder's frame cannot be had, and libcgif
    // writes through a null pointer: with too little address space left, the encode fails
    // instead. With enough, the same frame is written.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    constexpr int kWidth = 2000;
    constexpr int kHeight = 1500;
    const qint64 need = gifEncoderBytes(qint64(kWidth) * kHeight);
    const struct {
        const char* name;
        qint64 headroom;
        bool written;
        const char* says;
    } cases[] = {
        { "too little", qint64(4) << 20, false, "not enough memory for the GIF encoder" },
        { "enough", need + (qint64(128) << 20), true, "written" },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EXIT(
            std::_Exit(encodeGifWithin(kWidth, kHeight, c.headroom, c.written)), ::testing::ExitedWithCode(0), c.says);
    }
}
