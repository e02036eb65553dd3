#include <gtest/gtest.h>

#include <cerrno>
#include <functional>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QTemporaryDir>

#include <exiv2/exiv2.hpp>

#include "core/DataBeans/PhotoFile.h"
#include "core/Processing/OutputFileSystem.h"
#include "core/Processing/OutputPathBuilder.h"
#include "core/Processing/PhotoPipeline.h"
#include "platform/imaging/ImageProperties.h"
#include "support/TestImages.h"

namespace vantrel {
namespace {

using testimages::Corner;

QByteArray bytesOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

std::vector<Corner> cornersOf(const Image& image)
{
    return image.isNull() ? std::vector<Corner>() : testimages::cornersOf(image.vips());
}

/// The quadrant colours of an image as Qt decoded it, at the same points as for a libvips image.
std::vector<Corner> cornersOf(const QImage& decoded)
{
    const QImage image = decoded.convertToFormat(QImage::Format_RGB888);
    const int ix = std::min(3, image.width() / 4);
    const int iy = std::min(3, image.height() / 4);
    std::vector<Corner> corners;
    for (const QPoint at : { QPoint(ix, iy), QPoint(image.width() - 1 - ix, iy), QPoint(ix, image.height() - 1 - iy),
             QPoint(image.width() - 1 - ix, image.height() - 1 - iy) }) {
        const QColor c = image.pixelColor(at);
        corners.push_back(testimages::nearestCorner({ double(c.red()), double(c.green()), double(c.blue()) }));
    }
    return corners;
}

/// Stored pixels with the file's tag applied, worked out independently of the pipeline.
Image shownPicture(const QString& path)
{
    const int tag = readImageProperties(path, PropertyDepth::SizeAndOrientation).orientation;
    return PixelTransform::viewerCorrection(tag).applyTo(Image::load(path, false));
}

/// A file system whose chosen operation fails with a chosen errno (a full disk, a read-only
/// folder), since permissions do not fail for root.
class FailingFileSystem : public OutputFileSystem {
public:
    enum class Step { CreateTemporary, Copy, Commit, Encode };
    FailingFileSystem(Step step, int error)
        : m_step(step)
        , m_error(error)
    {
    }

    int createTemporary(const QString& folder, QString* path) override
    {
        if (m_step == Step::CreateTemporary)
            return m_error;
        const int error = OutputFileSystem::createTemporary(folder, path);
        if (m_step == Step::Encode && error == 0) {
            // A disk that fills up while the encoder writes: every write fails with ENOSPC.
            QFile::remove(*path);
            QFile::link(QStringLiteral("/dev/full"), *path);
        }
        return error;
    }
    int copyContents(const QString& source, const QString& target) override
    {
        if (m_step == Step::Copy) {
            QFile partial(target);
            if (partial.open(QIODevice::WriteOnly))
                partial.write("partial"); // a disk that fills up half-way
            return m_error;
        }
        return OutputFileSystem::copyContents(source, target);
    }
    int commit(const QString& temporary, const QString& target) override
    {
        return m_step == Step::Commit ? m_error : OutputFileSystem::commit(temporary, target);
    }

private:
    Step m_step;
    int m_error;
};

class PhotoPipelineTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_in = m_dir.filePath(QStringLiteral("in"));
        m_out = m_dir.filePath(QStringLiteral("out"));
        QDir().mkpath(m_in);
    }

    QString source(const QString& name, int width = 64, int height = 48, int orientation = 0)
    {
        const QString path = m_in + QLatin1Char('/') + name;
        EXPECT_TRUE(testimages::writePattern(path, width, height));
        if (orientation) {
            EXPECT_TRUE(testimages::setOrientation(path, orientation));
        }
        return path;
    }

    PhotoJobSettings settings() const
    {
        PhotoJobSettings s;
        s.isKeepOriginalSize = true;
        s.ouptputFolder = m_out;
        return s;
    }

    // Half the size, converted to the format at `formatIndex` of the output format list.
    PhotoJobSettings halfSizeAs(int formatIndex) const
    {
        PhotoJobSettings s = settings();
        s.isKeepOriginalSize = false;
        s.isPercentSize = true;
        s.perWidth = s.perHeight = 50;
        s.formatOption = 1;
        s.selectedFileFormat = formatIndex;
        return s;
    }

    struct Run {
        PhotoWriteResult result;
        QString output;
    };

    Run run(const PhotoJobSettings& s, const QString& sourcePath, std::shared_ptr<OutputFileSystem> fileSystem = {})
    {
        const PhotoFilePtr photo = PhotoFile::initWithFileUrl(sourcePath, QFileInfo(sourcePath).fileName(), false);
        const QString output = OutputPathBuilder(s).updatedFilePathWithSetting(*photo);
        return { PhotoPipeline(s, std::move(fileSystem)).processPhoto(*photo, output), output };
    }

    QStringList outputFolderEntries() const
    {
        return QDir(m_out).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    }

    QTemporaryDir m_dir;
    QString m_in;
    QString m_out;
};

TEST_F(PhotoPipelineTest, EachOrientationShowsTheSamePictureAsAutomaticCorrection)
{
    for (const char* extension : { "jpg", "png", "tif" }) {
        for (int orientation = 1; orientation <= 8; ++orientation) {
            const QString src = source(QStringLiteral("o%1.jpg").arg(orientation), 64, 48, orientation);
            const Image upright(vips::VImage::new_from_file(src.toUtf8().constData()).autorot());
            PhotoJobSettings s = settings();
            s.isKeepOriginalSize = false;
            s.isPercentSize = true;
            s.perWidth = s.perHeight = 50;
            s.formatOption = 1;
            s.selectedFileFormat = OutputPathBuilder::outputFormatList().indexOf(QLatin1String(extension));
            s.ouptputFolder = m_out + QStringLiteral("/kept");
            const Run kept = run(s, src);
            s.rotationType = 4;
            s.ouptputFolder = m_out + QStringLiteral("/upright");
            const Run corrected = run(s, src);
            const QString what = QStringLiteral("%1 orientation %2").arg(QLatin1String(extension)).arg(orientation);
            ASSERT_EQ(kept.result.status, ProcessStatus::Processed) << what.toStdString();
            ASSERT_EQ(corrected.result.status, ProcessStatus::Processed) << what.toStdString();

            EXPECT_EQ(readImageProperties(corrected.output).orientation, 1) << what.toStdString();
            const Image correctedPixels = Image::load(corrected.output, false);
            EXPECT_EQ(correctedPixels.size(), upright.size() / 2) << what.toStdString();
            EXPECT_EQ(cornersOf(correctedPixels), cornersOf(upright)) << what.toStdString();

            const bool keepsTag = QLatin1String(extension) != QLatin1String("png");
            EXPECT_EQ(readImageProperties(kept.output).orientation, keepsTag ? orientation : 1) << what.toStdString();
            const Image shown = shownPicture(kept.output);
            EXPECT_EQ(shown.size(), upright.size() / 2) << what.toStdString();
            EXPECT_EQ(cornersOf(shown), cornersOf(upright)) << what.toStdString();
        }
    }
}

TEST_F(PhotoPipelineTest, FormatsWithoutAnHonouredOrientationTagAreWrittenUpright)
{
    // Kept rotation (automatic correction off) and a flip: the stored pixels are the upright
    // picture, flipped, under orientation 1, read as the desktop reads them (Qt's reader with its
    // own transform off; libvips for JPEG 2000, which Qt does not read).
    for (const char* extension : { "png", "jp2", "bmp", "gif" }) {
        for (int orientation = 2; orientation <= 8; ++orientation) {
            const QString what = QStringLiteral("%1 orientation %2").arg(QLatin1String(extension)).arg(orientation);
            SCOPED_TRACE(what.toStdString());
            const QString src = source(QStringLiteral("o%1.jpg").arg(orientation), 64, 48, orientation);
            const Image upright(vips::VImage::new_from_file(src.toUtf8().constData()).autorot());
            PhotoJobSettings s = settings();
            s.formatOption = 1;
            s.selectedFileFormat = OutputPathBuilder::outputFormatList().indexOf(QLatin1String(extension));
            s.isHorizontalFlip = true;
            s.ouptputFolder = m_out + QLatin1Char('/') + QLatin1String(extension);
            const Run r = run(s, src);
            ASSERT_EQ(r.result.status, ProcessStatus::Processed);
            EXPECT_EQ(readImageProperties(r.output).orientation, 1);
            const std::vector<Corner> expected = cornersOf(upright.flippedHorizontally());
            if (QLatin1String(extension) == QLatin1String("jp2")) {
                EXPECT_EQ(cornersOf(Image::load(r.output, false)), expected);
                continue;
            }
            QImageReader reader(r.output);
            reader.setAutoTransform(false);
            const QImage stored = reader.read();
            ASSERT_FALSE(stored.isNull()) << reader.errorString().toStdString();
            EXPECT_EQ(stored.size(), upright.size());
            EXPECT_EQ(cornersOf(stored), expected);
        }
    }
}

TEST_F(PhotoPipelineTest, RotationAndFlipsAfterTheSize)
{
    // The size first, then the chosen turn, then the flips: a flip applied before a quarter turn
    // gives the other mirror image.
    const Image pattern(testimages::makePattern(80, 40));
    const struct {
        int rotationType; // 1 a quarter turn clockwise, 2 anticlockwise, 3 a half turn
        bool horizontalFlip;
        bool verticalFlip;
        Image expected;
    } rows[] = {
        { 1, false, true, pattern.rotatedQuarterTurns(1).flippedVertically() },
        { 1, true, false, pattern.rotatedQuarterTurns(1).flippedHorizontally() },
        { 2, true, false, pattern.rotatedQuarterTurns(3).flippedHorizontally() },
        { 2, false, true, pattern.rotatedQuarterTurns(3).flippedVertically() },
        { 3, true, false, pattern.rotatedQuarterTurns(2).flippedHorizontally() },
        { 1, true, true, pattern.rotatedQuarterTurns(1).flippedHorizontally().flippedVertically() },
    };
    const QString src = source(QStringLiteral("a.png"), 80, 40);
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << "rotation " << row.rotationType << " flips " << row.horizontalFlip
                                        << row.verticalFlip);
        PhotoJobSettings s = settings();
        s.isKeepOriginalSize = false;
        s.isCustomSize = true;
        s.customWidth = 40;
        s.customHeight = 20;
        s.rotationType = row.rotationType;
        s.isHorizontalFlip = row.horizontalFlip;
        s.isVerticalFlip = row.verticalFlip;
        QDir(m_out).removeRecursively();
        const Run r = run(s, src);
        ASSERT_EQ(r.result.status, ProcessStatus::Processed);
        const Image written = Image::load(r.output);
        EXPECT_EQ(written.size(), row.rotationType == 3 ? QSize(40, 20) : QSize(20, 40));
        EXPECT_EQ(cornersOf(written), cornersOf(row.expected));
    }
}

TEST_F(PhotoPipelineTest, SizeCases)
{
    struct Case {
        const char* what;
        QSize sourceSize;
        double width, height;
        bool percent, aspect;
        ProcessStatus status;
        QSize written;
    };
    const Case cases[] = {
        { "20000 x 100 refused", { 50, 50 }, 20000, 100, false, false, ProcessStatus::DimensionTooLong, {} },
        { "1 percent of 50 x 50", { 50, 50 }, 1, 1, true, false, ProcessStatus::Processed, { 1, 1 } },
        { "aspect fit enlarges", { 400, 300 }, 800, 800, false, true, ProcessStatus::Processed, { 800, 600 } },
        { "exactly 10000 accepted", { 20, 10 }, 10000, 5, false, false, ProcessStatus::Processed, { 10000, 5 } },
        // A size whose own side is below 1 (a preset or a saved size; typing raises a field to
        // 1) is refused, never raised to 1; a side that a percentage takes below 1 is raised.
        { "0 x 0 pixels refused", { 50, 50 }, 0, 0, false, false, ProcessStatus::DimensionTooLong, {} },
        { "0 x 600 fitted refused", { 400, 300 }, 0, 600, false, true, ProcessStatus::DimensionTooLong, {} },
        { "0.5 x 600 pixels refused", { 400, 300 }, 0.5, 600, false, false, ProcessStatus::DimensionTooLong, {} },
        { "0 percent refused", { 50, 50 }, 0, 100, true, false, ProcessStatus::DimensionTooLong, {} },
        { "1 percent of 40 x 40 raised", { 40, 40 }, 1, 1, true, false, ProcessStatus::Processed, { 1, 1 } },
        { "a fit below a pixel raised", { 4000, 10 }, 100, 100, false, true, ProcessStatus::Processed, { 100, 1 } },
    };
    for (const Case& c : cases) {
        const QString src = source(QStringLiteral("s.png"), c.sourceSize.width(), c.sourceSize.height());
        PhotoJobSettings s = settings();
        s.isKeepOriginalSize = false;
        s.isPercentSize = c.percent;
        s.isCustomSize = !c.percent;
        s.isKeepAspectRatio = c.aspect;
        s.customWidth = s.perWidth = c.width;
        s.customHeight = s.perHeight = c.height;
        s.ouptputFolder = m_out + QLatin1Char('/') + QLatin1String(c.what);
        const Run r = run(s, src);
        EXPECT_EQ(r.result.status, c.status) << c.what;
        if (c.status == ProcessStatus::Processed)
            EXPECT_EQ(Image::load(r.output).size(), c.written) << c.what;
        else
            EXPECT_FALSE(QFileInfo::exists(r.output)) << c.what;
    }
}

TEST_F(PhotoPipelineTest, UnchangedPhotoIsCopiedByteForByte)
{
    const QString src = source(QStringLiteral("IMG_1.jpg"), 64, 48, 6);
    testimages::setCameraTags(src);
    const Run copy = run(settings(), src);
    ASSERT_EQ(copy.result.status, ProcessStatus::Processed);
    EXPECT_TRUE(copy.result.copied);
    EXPECT_EQ(bytesOf(copy.output), bytesOf(src));
    EXPECT_EQ(copy.result.outputSize, QFileInfo(src).size());

    // Converting to jpg re-encodes at compressionRatio.
    PhotoJobSettings s = settings();
    s.formatOption = 1;
    s.selectedFileFormat = 3;
    qint64 sizes[2] = {};
    for (int i : { 0, 1 }) {
        s.compressionRatio = i == 0 ? 10 : 95;
        s.ouptputFolder = m_out + QStringLiteral("/q%1").arg(s.compressionRatio);
        const Run encoded = run(s, src);
        ASSERT_EQ(encoded.result.status, ProcessStatus::Processed);
        EXPECT_FALSE(encoded.result.copied);
        EXPECT_NE(bytesOf(encoded.output), bytesOf(src));
        sizes[i] = encoded.result.outputSize;
    }
    EXPECT_LT(sizes[0], sizes[1]);
    EXPECT_FLOAT_EQ(PhotoPipeline(s).qualityFactor(), 0.95f);
    s.formatOption = 0;
    EXPECT_FLOAT_EQ(PhotoPipeline(s).qualityFactor(), 0.75f);
}

TEST_F(PhotoPipelineTest, MetadataIsCarriedWithTheNewSize)
{
    const QString src = source(QStringLiteral("cam.jpg"), 64, 48, 6);
    ASSERT_TRUE(testimages::setCameraTags(src));
    // Stored pixels: TIFF and JPEG keep the source's layout under its orientation 6 (32 x 24);
    // PNG is stored upright (24 x 32).
    const struct {
        int format;
        int storedWidth;
        int storedHeight;
    } rows[] = { { 0, 32, 24 }, { 2, 24, 32 }, { 3, 32, 24 } };
    for (const auto& [format, storedWidth, storedHeight] : rows) {
        const Run r = run(halfSizeAs(format), src);
        ASSERT_EQ(r.result.status, ProcessStatus::Processed) << format;
        const QVariantMap properties = readImageProperties(r.output).dictionary;
        const QVariantMap tiff = properties.value(QStringLiteral("{TIFF}")).toMap();
        const QVariantMap exif = properties.value(QStringLiteral("{Exif}")).toMap();
        const QVariantMap gps = properties.value(QStringLiteral("{GPS}")).toMap();
        EXPECT_EQ(tiff.value(QStringLiteral("Make")).toString(), QStringLiteral("Testmaker")) << format;
        EXPECT_NEAR(gps.value(QStringLiteral("Latitude")).toDouble(), 51.5, 1e-6) << format;
        EXPECT_EQ(exif.value(QStringLiteral("PixelXDimension")).toInt(), storedWidth) << format;
        EXPECT_EQ(exif.value(QStringLiteral("PixelYDimension")).toInt(), storedHeight) << format;
    }
}

TEST_F(PhotoPipelineTest, TransparencyWrittenToJpegIsWhite)
{
    const QString src = m_in + QStringLiteral("/clear.png");
    const vips::VImage clear = vips::VImage::black(16, 16, vips::VImage::option()->set("bands", 4))
                                   .copy(vips::VImage::option()->set("interpretation", VIPS_INTERPRETATION_sRGB));
    clear.write_to_file(src.toUtf8().constData());
    for (int format : { 3, 6 }) {
        PhotoJobSettings s = settings();
        s.formatOption = 1;
        s.selectedFileFormat = format;
        const Run r = run(s, src);
        ASSERT_EQ(r.result.status, ProcessStatus::Processed) << format;
        const std::vector<double> pixel = testimages::pixelAt(Image::load(r.output).vips(), 8, 8);
        ASSERT_GE(pixel.size(), 3u);
        EXPECT_GT(pixel[0], 250) << format;
        EXPECT_GT(pixel[2], 250) << format;
    }
}

TEST_F(PhotoPipelineTest, PgmTakesTheRawAnswersFormat)
{
    const QString src = source(QStringLiteral("grey.pgm"), 32, 32);
    PhotoJobSettings s = settings();
    s.rawConvertFormat = QStringLiteral("jpeg");
    const Run r = run(s, src);
    ASSERT_EQ(r.result.status, ProcessStatus::Processed);
    EXPECT_TRUE(r.output.endsWith(QStringLiteral("/grey.jpeg")));
    EXPECT_FALSE(r.result.copied);
    EXPECT_EQ(readImageProperties(r.output).loader, QStringLiteral("jpegload"));
}

TEST_F(PhotoPipelineTest, OutputThatIsTheSourceKeepsTheSource)
{
    const QString link = m_dir.filePath(QStringLiteral("link"));
    ASSERT_TRUE(QFile::link(m_in, link));
    for (const QString& folder : { m_in, m_in + QStringLiteral("/"), m_in + QStringLiteral("/./"), link }) {
        const QString src = source(QStringLiteral("same.jpg"));
        const QByteArray original = bytesOf(src);
        PhotoJobSettings s = settings();
        s.ouptputFolder = folder;
        const Run unchanged = run(s, src);
        EXPECT_EQ(unchanged.result.status, ProcessStatus::Processed) << folder.toStdString();
        EXPECT_EQ(bytesOf(src), original) << folder.toStdString();

        s.isHorizontalFlip = true;
        const Run flipped = run(s, src);
        EXPECT_EQ(flipped.result.status, ProcessStatus::Processed) << folder.toStdString();
        EXPECT_EQ(Image::load(src).size(), QSize(64, 48)) << folder.toStdString();
        EXPECT_EQ(cornersOf(Image::load(src))[0], Corner::TopRight) << folder.toStdString();
        EXPECT_EQ(QDir(m_in).entryList(QDir::Files | QDir::Hidden), QStringList { QStringLiteral("same.jpg") });
    }
}

TEST_F(PhotoPipelineTest, FilteredImageWriterWritesWhatTheRunWrites)
{
    const QString src = source(QStringLiteral("pic.jpg"), 160, 120, 6);
    PhotoJobSettings s = halfSizeAs(2);
    s.rotationType = 1;
    s.isHorizontalFlip = true;
    const Run main = run(s, src);
    ASSERT_EQ(main.result.status, ProcessStatus::Processed);

    // The same photo loaded upright and transformed by the toolbox, then written through it.
    const PhotoPipeline pipeline(s);
    const FilteredImage filtered = pipeline.getFilteredImage(Image::load(src));
    ASSERT_EQ(filtered.status, 1);
    const QString other = m_dir.filePath(QStringLiteral("other/pic.png"));
    const PhotoFilePtr photo = PhotoFile::initWithFileUrl(src, QStringLiteral("pic.jpg"), false);
    ASSERT_EQ(pipeline
                  .saveImageUsingDefaultMethodInDirectoryFilteredImg(
                      filtered.image, other, *photo, pipeline.isAnyChangesMadeInImageFilterObject())
                  .status,
        ProcessStatus::Processed);

    const ImageProperties mine = readImageProperties(other, PropertyDepth::SizeAndOrientation);
    const ImageProperties runs = readImageProperties(main.output, PropertyDepth::SizeAndOrientation);
    EXPECT_EQ(mine.loader, runs.loader);
    EXPECT_EQ(mine.storedSize(), runs.storedSize());
    EXPECT_EQ(mine.orientation, runs.orientation);
    const vips::VImage a = Image::load(other, false).vips();
    const vips::VImage b = Image::load(main.output, false).vips();
    ASSERT_EQ(a.bands(), b.bands());
    EXPECT_LT((a - b).abs().avg(), 2.0);
    EXPECT_EQ(testimages::cornersOf(a), testimages::cornersOf(b));
}

TEST_F(PhotoPipelineTest, FailedWriteIsNeverProcessed)
{
    struct Case {
        const char* what;
        FailingFileSystem::Step step;
        int error;
        bool encode;
        ProcessStatus status;
    };
    const Case cases[] = {
        { "disk full on commit", FailingFileSystem::Step::Commit, ENOSPC, true, ProcessStatus::NotProcessed },
        { "disk full while copying", FailingFileSystem::Step::Copy, ENOSPC, false, ProcessStatus::NotProcessed },
        { "read-only folder", FailingFileSystem::Step::CreateTemporary, EROFS, true,
            ProcessStatus::DestinationAccessDenied },
        { "access denied", FailingFileSystem::Step::CreateTemporary, EACCES, false,
            ProcessStatus::DestinationAccessDenied },
        { "I/O error", FailingFileSystem::Step::Commit, EIO, false, ProcessStatus::NotProcessed },
    };
    for (const Case& c : cases) {
        const QString src = source(QStringLiteral("f.jpg"));
        PhotoJobSettings s = settings();
        s.isVerticalFlip = c.encode;
        QDir().mkpath(m_out);
        const QString old = m_out + QStringLiteral("/f.jpg");
        ASSERT_TRUE(testimages::writeBytes(old, "older output"));
        const Run r = run(s, src, std::make_shared<FailingFileSystem>(c.step, c.error));
        EXPECT_EQ(r.result.status, c.status) << c.what;
        EXPECT_FALSE(r.result.error.isEmpty()) << c.what;
        EXPECT_EQ(bytesOf(old), QByteArray("older output")) << c.what;
        EXPECT_EQ(outputFolderEntries(), QStringList { QStringLiteral("f.jpg") }) << c.what;
    }
}

TEST_F(PhotoPipelineTest, DirectoryAtTheOutputPathIsUntouched)
{
    const QString src = source(QStringLiteral("d.jpg"));
    const QString directory = m_out + QStringLiteral("/d.jpg");
    QDir().mkpath(directory);
    ASSERT_TRUE(testimages::writeBytes(directory + QStringLiteral("/inside.txt"), "keep"));
    for (bool encode : { false, true }) {
        PhotoJobSettings s = settings();
        s.isHorizontalFlip = encode;
        EXPECT_EQ(run(s, src).result.status, ProcessStatus::NotProcessed);
        EXPECT_EQ(bytesOf(directory + QStringLiteral("/inside.txt")), QByteArray("keep"));
        EXPECT_EQ(outputFolderEntries(), QStringList { QStringLiteral("d.jpg") });
    }
}

TEST_F(PhotoPipelineTest, UndecodableSourceIsNotProcessed)
{
    const QString text = m_in + QStringLiteral("/text.jpg");
    ASSERT_TRUE(testimages::writeBytes(text, "not an image at all"));
    const QString truncated = m_in + QStringLiteral("/truncated.jpg");
    ASSERT_TRUE(testimages::writeTruncatedJpeg(truncated, 400, 300, 600));
    const QString lying = m_in + QStringLiteral("/lying.png");
    ASSERT_TRUE(testimages::writeLyingPng(lying, 3000, 2000));
    for (const QString& src : { text, truncated, lying }) {
        for (bool reduce : { false, true }) {
            PhotoJobSettings s = settings();
            s.isHorizontalFlip = true;
            s.isKeepOriginalSize = !reduce;
            s.isPercentSize = reduce;
            s.perWidth = s.perHeight = 50;
            const Run r = run(s, src);
            EXPECT_EQ(r.result.status, ProcessStatus::NotProcessed) << src.toStdString() << reduce;
            EXPECT_FALSE(QFileInfo::exists(r.output)) << src.toStdString() << reduce;
        }
    }
    EXPECT_TRUE(outputFolderEntries().isEmpty());
}

// A photo-like JPEG (noise compresses like a detailed photo, so the scan fills the file) whose
// bytes are then changed by `damage`.
bool writeDamagedJpeg(const QString& path, int width, int height, const std::function<void(QByteArray&)>& damage)
{
    vips::VImage grey = vips::VImage::gaussnoise(width, height, vips::VImage::option()->set("sigma", 60.0));
    vips::VImage rgb = grey.bandjoin({ grey.flip(VIPS_DIRECTION_HORIZONTAL), grey.flip(VIPS_DIRECTION_VERTICAL) })
                           .cast(VIPS_FORMAT_UCHAR);
    VipsBlob* blob = rgb.jpegsave_buffer(vips::VImage::option()->set("Q", 90));
    size_t length = 0;
    const void* data = vips_blob_get(blob, &length);
    QByteArray bytes(static_cast<const char*>(data), qsizetype(length));
    vips_area_unref(VIPS_AREA(blob));
    damage(bytes);
    return testimages::writeBytes(path, bytes);
}

TEST_F(PhotoPipelineTest, CutOffJpegFailsInEveryRun)
{
    // Cut at 96.8 % of its length: the decode stops a few rows before the bottom. libvips'
    // worker threads used to swallow the loader's error in about half of the runs.
    const QString cut = m_in + QStringLiteral("/cut.jpg");
    ASSERT_TRUE(writeDamagedJpeg(cut, 2000, 1500, [](QByteArray& b) { b.truncate(b.size() * 968 / 1000); }));
    // Bytes changed inside the scan: the decoder recovers and reports corrupt data as a
    // warning. Such files are accepted (real camera files often carry such warnings).
    const QString flipped = m_in + QStringLiteral("/flipped.jpg");
    ASSERT_TRUE(writeDamagedJpeg(flipped, 2000, 1500, [](QByteArray& b) {
        for (qsizetype i = b.size() / 2; i < b.size() / 2 + 64; i += 8)
            b[i] = char(b[i] == '\xff' ? 0x12 : (uchar(b[i]) ^ 0x5a) == 0xff ? 0x34 : b[i] ^ 0x5a);
    }));
    struct Case {
        const char* name;
        bool keepSize;
        int percent;
    };
    for (const Case& c : { Case { "whole decode", true, 100 }, Case { "shrink on load", false, 25 } }) {
        PhotoJobSettings s = settings();
        s.isHorizontalFlip = true;
        s.isKeepOriginalSize = c.keepSize;
        s.isPercentSize = !c.keepSize;
        s.perWidth = s.perHeight = c.percent;
        int processed = 0;
        for (int round = 0; round < 20; ++round) {
            const Run r = run(s, cut);
            processed += r.result.status == ProcessStatus::Processed;
            EXPECT_FALSE(QFileInfo::exists(r.output)) << c.name;
        }
        EXPECT_EQ(processed, 0) << c.name;
        EXPECT_EQ(run(s, flipped).result.status, ProcessStatus::Processed) << c.name;
    }
}

TEST_F(PhotoPipelineTest, FailedTiffOrPngWriteLeavesNothingBehind)
{
    // The decode fails a few rows before the bottom, while the encoder is writing the file.
    const QString cut = m_in + QStringLiteral("/cut.jpg");
    ASSERT_TRUE(writeDamagedJpeg(cut, 2000, 1500, [](QByteArray& b) { b.truncate(b.size() * 968 / 1000); }));
    const QString whole = source(QStringLiteral("whole.jpg"), 300, 200);
    ASSERT_TRUE(testimages::setCameraTags(whole));
    QDir().mkpath(m_out);
    struct Case {
        const char* what;
        bool diskFull; // else the cut-off source
        int format;
        bool flip; // decoded whole and flipped; else streamed from the loader
    };
    const Case cases[] = {
        { "cut-off source streamed to TIFF", false, 0, false },
        { "cut-off source streamed to PNG", false, 2, false },
        { "disk full, streamed to TIFF", true, 0, false },
        { "disk full, flipped to TIFF", true, 0, true },
        { "disk full, flipped to PNG", true, 2, true },
    };
    for (const Case& c : cases) {
        PhotoJobSettings s = settings();
        s.formatOption = 1;
        s.selectedFileFormat = c.format;
        s.isHorizontalFlip = c.flip;
        const QString src = c.diskFull ? whole : cut;
        const QString older = OutputPathBuilder(s).updatedFilePathWithSetting(
            *PhotoFile::initWithFileUrl(src, QFileInfo(src).fileName(), false));
        ASSERT_TRUE(testimages::writeBytes(older, "older output"));
        const Run r = run(s, src,
            c.diskFull ? std::make_shared<FailingFileSystem>(FailingFileSystem::Step::Encode, 0)
                       : std::shared_ptr<OutputFileSystem>());
        EXPECT_EQ(r.result.status, ProcessStatus::NotProcessed) << c.what;
        EXPECT_EQ(bytesOf(older), QByteArray("older output")) << c.what;
        EXPECT_EQ(outputFolderEntries().join(' ').toStdString(), QFileInfo(older).fileName().toStdString()) << c.what;
        QFile::remove(older);
    }
}

// Keys of the EXIF block of a file, read with exiv2 (maker note entries included).
QStringList exifKeysOf(const QString& path)
{
    QStringList keys;
    auto image = Exiv2::ImageFactory::open(path.toStdString());
    image->readMetadata();
    for (const Exiv2::Exifdatum& datum : image->exifData())
        keys.append(QString::fromStdString(datum.key()));
    return keys;
}

TEST_F(PhotoPipelineTest, KeepSizeConversionsCarryPictureAndMetadata)
{
    // Converted at their own size, these stream from the loader into the output file.
    const QString src = source(QStringLiteral("cam.jpg"), 64, 48, 6);
    ASSERT_TRUE(testimages::setCameraTags(src));
    ASSERT_TRUE(testimages::setMetadata(src, { { "Exif.Photo.MakerNote", "84 77 0 1 0 0 0 8 0 0 0 42" } }));
    ASSERT_TRUE(exifKeysOf(src).contains(QStringLiteral("Exif.Photo.MakerNote")));
    const std::vector<Corner> shown = cornersOf(shownPicture(src));
    struct Case {
        int format;
        bool tagged; // holds the source's EXIF
        int orientation; // of the output: the source's, or 1 where the pixels are stored upright
        bool makerNote;
    };
    for (const Case& c : { Case { 0, true, 6, false }, Case { 2, true, 1, true }, Case { 3, true, 6, true },
             Case { 5, false, 1, false }, Case { 6, false, 1, false }, Case { 7, false, 1, false } }) {
        PhotoJobSettings s = settings();
        s.formatOption = 1;
        s.selectedFileFormat = c.format;
        s.compressionRatio = 90;
        const Run r = run(s, src);
        ASSERT_EQ(r.result.status, ProcessStatus::Processed) << c.format;
        EXPECT_EQ(cornersOf(shownPicture(r.output)), shown) << c.format;
        const ImageProperties properties = readImageProperties(r.output);
        EXPECT_EQ(properties.uprightSize(), QSize(48, 64)) << c.format;
        if (!c.tagged)
            continue;
        EXPECT_EQ(properties.orientation, c.orientation) << c.format;
        EXPECT_EQ(properties.dictionary.value(QStringLiteral("{TIFF}")).toMap().value(QStringLiteral("Make")),
            QStringLiteral("Testmaker"))
            << c.format;
        // A maker note's offsets do not survive in a TIFF written around the pixels: none there.
        EXPECT_EQ(exifKeysOf(r.output).contains(QStringLiteral("Exif.Photo.MakerNote")), c.makerNote) << c.format;
    }
    // A cut-off source fails on this route too, and leaves nothing behind.
    const QString cut = m_in + QStringLiteral("/cut.jpg");
    ASSERT_TRUE(writeDamagedJpeg(cut, 1200, 900, [](QByteArray& b) { b.truncate(b.size() * 968 / 1000); }));
    for (int format : { 0, 2, 3 }) {
        PhotoJobSettings s = settings();
        s.formatOption = 1;
        s.selectedFileFormat = format;
        for (int round = 0; round < 5; ++round)
            EXPECT_EQ(run(s, cut).result.status, ProcessStatus::NotProcessed) << format;
    }
    EXPECT_EQ(outputFolderEntries().filter(QStringLiteral(".vantrel-")), QStringList());
}

TEST_F(PhotoPipelineTest, NamesTooLongAreRefused)
{
    EXPECT_FALSE(PhotoPipeline::isFileNameTooLong(QString(255, QLatin1Char('a'))));
    EXPECT_TRUE(PhotoPipeline::isFileNameTooLong(QString(256, QLatin1Char('a'))));
    EXPECT_TRUE(PhotoPipeline::isFileNameTooLong(QString(128, QChar(0x00E9)))); // 256 bytes in UTF-8

    const QString src = source(QStringLiteral("n.jpg"));
    const PhotoFilePtr photo = PhotoFile::initWithFileUrl(src, QStringLiteral("n.jpg"), false);
    PhotoJobSettings s = settings();
    s.isHorizontalFlip = true;
    const PhotoPipeline pipeline(s);
    const QString longest = m_out + QLatin1Char('/') + QString(251, QLatin1Char('b')) + QStringLiteral(".jpg");
    EXPECT_EQ(pipeline.processPhoto(*photo, longest).status, ProcessStatus::Processed);
    const QString tooLong = m_out + QLatin1Char('/') + QString(126, QChar(0x00E9)) + QStringLiteral(".jpg");
    EXPECT_EQ(pipeline.processPhoto(*photo, tooLong).status, ProcessStatus::InvalidFileName);
    EXPECT_EQ(outputFolderEntries().size(), 1);
}

TEST_F(PhotoPipelineTest, ChangeAndFormatDecisions)
{
    PhotoJobSettings s = settings();
    EXPECT_FALSE(PhotoPipeline(s).isAnyChangesMadeInImageFilterObject());
    s.rotationType = 4;
    EXPECT_TRUE(PhotoPipeline(s).isAnyChangesMadeInImageFilterObject());
    EXPECT_FALSE(PhotoPipeline::isFomatchangesOldPath(QStringLiteral("/a/b.JPG"), QStringLiteral("/c/b.jpg")));
    EXPECT_TRUE(PhotoPipeline::isFomatchangesOldPath(QStringLiteral("/a/b.jpg"), QStringLiteral("/c/b.jpeg")));
    EXPECT_EQ(PhotoPipeline::formatIndexForPath(QStringLiteral("/x/a.GIF")), 7);
    EXPECT_EQ(PhotoPipeline::formatIndexForPath(QStringLiteral("/x/a.webp")), 0);
}

TEST(PhotoPipelineOperationsTest, LayoutTableGivesTheOrientationLayouts)
{
    // The flips and counter-clockwise angle of each orientation lay upright pixels out as the tag says.
    struct Row {
        int orientation;
        bool flipHorizontally, flipVertically;
        float degrees;
    };
    const Row table[] = { { 2, true, false, 0 }, { 3, true, true, 0 }, { 4, false, true, 0 }, { 5, false, true, 90 },
        { 6, false, false, 90 }, { 7, true, false, 90 }, { 8, true, true, 90 } };
    const Image upright(testimages::makePattern(40, 20));
    for (const Row& row : table) {
        const Image laidOut
            = PhotoPipeline::RotateImageWithFlip(upright, row.flipHorizontally, row.flipVertically, row.degrees);
        EXPECT_EQ(laidOut.size(), PhotoPipeline::RotateWithEXIF(upright, row.orientation).size()) << row.orientation;
        EXPECT_EQ(cornersOf(laidOut), cornersOf(PhotoPipeline::RotateWithEXIF(upright, row.orientation)))
            << row.orientation;
        EXPECT_EQ(cornersOf(PixelTransform::viewerCorrection(row.orientation).applyTo(laidOut)), cornersOf(upright))
            << row.orientation;
    }
    EXPECT_EQ(cornersOf(PhotoPipeline::RotateWithEXIF(upright, 9)), cornersOf(upright));
}

TEST(PhotoPipelineOperationsTest, FilteredImageStatus)
{
    const Image image(testimages::makePattern(40, 20));
    PhotoJobSettings s;
    s.isCustomSize = true;
    s.customWidth = 10;
    s.customHeight = 10;
    s.rotationType = 2;
    FilteredImage filtered = PhotoPipeline(s).getFilteredImage(image);
    EXPECT_EQ(filtered.status, 1);
    EXPECT_EQ(filtered.image.size(), QSize(10, 10));
    EXPECT_EQ(cornersOf(filtered.image)[0], Corner::TopRight); // a quarter turn counter-clockwise

    s.customWidth = 10001;
    filtered = PhotoPipeline(s).applyResizeFilter(image);
    EXPECT_EQ(filtered.status, 0);
    EXPECT_EQ(filtered.image.size(), image.size());
    EXPECT_EQ(PhotoPipeline(s).getFilteredImage(Image()).status, 0);
    EXPECT_TRUE(PhotoPipeline(s).getFilteredImage(Image()).image.isNull());
}

} // namespace
} // namespace vantrel
