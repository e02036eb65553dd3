// What writing a photo holds in memory at its peak, told from its header before any pixel is
// decoded: the unit in which a run admits its writes (DecodeBudget). The encode carries the source's
// metadata, which for a TIFF-structured source means a copy of the file held while it is parsed.
#include "core/Processing/PhotoPipeline.h"

#include <algorithm>

namespace vantrel {

namespace {

// What an encode holds in memory for `pixels` output pixels: every route streams the pixels into
// the output's temporary file, so this is what the format's writer or the metadata write holds
// of the file (see the keep-size figures in bench/README.md).
qint64 encodeBytes(ImageFileFormat format, qint64 pixels, float quality)
{
    const qint64 raw = pixels * 3;
    switch (format) {
    case ImageFileFormat::Jpeg:
        return quality >= 0.95f ? raw / 2 : quality >= 0.85f ? raw / 4 : raw / 8; // exiv2's rewrite
    case ImageFileFormat::Png:
    case ImageFileFormat::Tiff:
        return 0; // the metadata goes in beside the pixels, which are not read again
    case ImageFileFormat::Jpeg2000:
        return raw; // exiv2's rewrite
    case ImageFileFormat::Bmp:
        return raw; // the frame is read bottom-up
    case ImageFileFormat::Gif:
        return gifEncoderBytes(pixels);
    }
    return raw;
}

// A resize from a frame in memory holds strips of rows in floating point on each of its threads.
qint64 resizeBytes(qint64 sourceWidth, int bytesPerPixel)
{
    constexpr qint64 kRows = 64;
    return sourceWidth * bytesPerPixel * 4 * kRows;
}

} // namespace

qint64 PhotoPipeline::memoryNeed(const PhotoFile& photo, const PhotoPlan& plan, const QString& outputPath) const
{
    if (!plan.decodable || !plan.sizeAccepted || outputPath.isEmpty() || shouldCopy(photo, outputPath))
        return 0;
    const ImageFileFormat format = formatForIndex(formatIndexForPath(outputPath));
    const DecodeFootprint& decode = plan.footprint;
    const qint64 outputPixels = qint64(plan.targetSize.width()) * plan.targetSize.height();
    if (streams(plan, format))
        return decode.streamed() + plan.metadataCopyBytes + encodeBytes(format, outputPixels, qualityFactor());
    // The route of decodeAtSize: a reduced JPEG is decoded at the DCT scale just above its size,
    // anything else at its full size.
    int shrink = 1;
    const QSize target = plan.targetSize;
    const QSize upright = plan.uprightSize;
    if (decode.shrinksOnLoad && !plan.camera && target.width() < upright.width()
        && target.height() < upright.height()) {
        const bool turned = plan.orientation >= 5 && plan.orientation <= 8;
        shrink = DecodeFootprint::jpegShrink(decode.stored, turned ? target.transposed() : target);
    }
    const qint64 resize
        = target == upright ? 0 : resizeBytes((decode.stored.width() + shrink - 1) / shrink, decode.bytesPerPixel);
    return decode.intoMemory(shrink) + resize + plan.metadataCopyBytes
        + encodeBytes(format, outputPixels, qualityFactor());
}

qint64 PhotoPipeline::outputBytes(const PhotoFile& photo, const PhotoPlan& plan, const QString& outputPath) const
{
    if (!plan.decodable || !plan.sizeAccepted || outputPath.isEmpty())
        return 0;
    if (shouldCopy(photo, outputPath))
        return plan.source.size;
    constexpr qint64 kMetadata = 256 * 1024; // EXIF with a thumbnail, XMP, an ICC profile
    const qint64 pixels = qint64(plan.targetSize.width()) * plan.targetSize.height();
    const qint64 raw = pixels * std::max(3, plan.footprint.bytesPerPixel);
    const ImageFileFormat format = formatForIndex(formatIndexForPath(outputPath));
    if (format == ImageFileFormat::Jpeg) {
        const float quality = qualityFactor();
        return (quality >= 0.95f ? raw / 2 : quality >= 0.85f ? raw / 4 : raw / 8) + kMetadata;
    }
    if (format == ImageFileFormat::Gif)
        return pixels + kMetadata;
    return raw + kMetadata;
}

} // namespace vantrel
