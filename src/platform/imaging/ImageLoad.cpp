// Loading: the upright loader of the run, thumbnails and shrink-on-load straight to a size.
#include "platform/imaging/Image.h"

#include <cstdio>
#include <memory>

#include <QFileInfo>

#include "platform/imaging/DecodeBudget.h"
#include "platform/imaging/DecodeFootprint.h"
#include "platform/imaging/DecodeSource.h"
#include "platform/imaging/GuardedLoad.h"
#include "platform/imaging/ImageFileTypes.h"
#include "platform/imaging/ImageProperties.h"
#include "platform/imaging/RawFile.h"
#include "platform/imaging/VipsErrorText.h"

namespace vantrel {

namespace {

// Decoding stops with an error on a truncated or damaged file instead of inventing grey pixels.
constexpr VipsFailOn kFailOn = VIPS_FAIL_ON_TRUNCATED;
// A thumbnail is never made of a photo whose header claims more than this.
constexpr qint64 kMaxThumbnailPixels = 400'000'000;

void report(const QString& path, const char* what, const char* why)
{
    std::fprintf(stderr, "image %s: %s: %s\n", what, path.toUtf8().constData(), why);
}

// A library failure: only this photo's text, on one line.
void report(const QString& path, const char* what, const vips::VError& e)
{
    report(path, what, VipsErrorText::take(e, path).toUtf8().constData());
}

// The header of a file to decode; invalid (and reported as `what`) when the header claims more
// than `maxPixels` pixels.
ImageProperties decodableHeader(const QString& path, const char* what, qint64 maxPixels)
{
    ImageProperties p = readImageProperties(path, PropertyDepth::SizeAndOrientation);
    if (p.valid && qint64(p.pixelWidth) * qint64(p.pixelHeight) > maxPixels) {
        report(path, what, "refused: the header claims too many pixels");
        p.valid = false;
    }
    return p;
}

// Upright per the header's orientation (which also covers PNG EXIF that libvips does not read),
// then sRGB for grey, CMYK and Lab, in memory so that damage shows here, not later. A sequential
// source (a thumbnail) is decoded before it is turned, which reads it out of order. A `decoded`
// image is already in memory and private to the caller: it is returned as it is when nothing
// needs to change, never copied once more.
Image finish(vips::VImage image, const ImageProperties& p, bool upright, bool sequential = false, bool decoded = false)
{
    const bool turn = upright && p.orientation != 1;
    if (!decoded)
        image = sequential && turn ? image.copy_memory() : image.copy();
    image.remove(VIPS_META_ORIENTATION);
    Image out(image);
    if (turn)
        out = out.uprightForOrientation(p.orientation);
    out = out.toSRGB();
    if (out.isNull())
        return {};
    if (decoded && out.vips().get_image() == image.get_image())
        return out;
    return Image(out.vips().copy_memory());
}

Image developRaw(const QString& path, const ImageProperties& p, bool upright, bool halfSize = false)
{
    vips::VImage developed = RawFile::develop(path, halfSize);
    if (developed.is_null()) {
        report(path, "load", "camera RAW could not be developed");
        return {};
    }
    // LibRaw hands out the picture already upright.
    Image out(developed);
    if (!upright && p.orientation != 1)
        out = out.laidOutForOrientation(p.orientation);
    return out;
}

Image rawPreview(const QString& path, QSize box)
{
    int orientation = 1;
    const QByteArray jpeg = RawFile::embeddedJpegPreview(path, &orientation);
    if (jpeg.isEmpty())
        return {};
    // The blob stays referenced until the preview is decoded into memory by finish().
    const std::unique_ptr<VipsBlob, void (*)(VipsBlob*)> blob(
        vips_blob_copy(jpeg.constData(), size_t(jpeg.size())), [](VipsBlob* b) { vips_area_unref(VIPS_AREA(b)); });
    try {
        const QSize fit = orientation >= 5 ? box.transposed() : box;
        vips::VImage thumb = vips::VImage::thumbnail_buffer(blob.get(), fit.width(),
            vips::VImage::option()->set("height", fit.height())->set("size", VIPS_SIZE_DOWN)->set("no_rotate", true));
        ImageProperties p;
        p.orientation = orientation;
        Image out = finish(thumb, p, true, true);
        if (out.width() > box.width() || out.height() > box.height())
            out = out.resized(out.size().scaled(box, Qt::KeepAspectRatio));
        return out;
    } catch (const vips::VError& e) {
        report(path, "raw preview", e);
        return {};
    }
}

// A thumbnail's share of the process's decode budget (a progressive JPEG's coefficients, a frame
// that its loader decodes whole), held while its loader is open. The other loads take theirs in
// GuardedLoad.
DecodeBudget::Ticket decodeShare(const QString& path, const ImageProperties& p)
{
    return DecodeBudget::process().reserve(DecodeFootprint::read(path, p).streamed());
}

// The whole photo at its full size, its header `p` already read (and its size accepted).
Image decodeWhole(const QString& path, const ImageProperties& p, bool upright)
{
    if (p.loader == "raw")
        return developRaw(path, p, upright);
    try {
        return finish(GuardedLoad::decodeIntoMemory(path, p), p, upright, false, true);
    } catch (const vips::VError& e) {
        report(path, "load", e);
        return {};
    }
}

} // namespace

Image Image::load(const QString& path, bool upright, qint64 maxPixels)
{
    const ImageProperties p = decodableHeader(path, "load", maxPixels);
    if (!p.valid)
        return {};
    return decodeWhole(path, p, upright);
}

Image Image::thumbnail(const QString& path, QSize box)
{
    if (box.width() <= 0 || box.height() <= 0)
        return {};
    const ImageProperties p = decodableHeader(path, "thumbnail", kMaxThumbnailPixels);
    if (!p.valid)
        return {};
    if (p.loader == "raw") {
        // The camera's embedded preview when it fills the box on one side; else a half-size
        // development, reduced.
        const QSize wanted = p.uprightSize().boundedTo(p.uprightSize().scaled(box, Qt::KeepAspectRatio));
        Image preview = rawPreview(path, box);
        if (!preview.isNull() && (preview.width() >= wanted.width() - 1 || preview.height() >= wanted.height() - 1))
            return preview;
        const Image developed = developRaw(path, p, true, true);
        if (developed.isNull())
            return preview;
        return developed.resized(developed.size().boundedTo(developed.size().scaled(box, Qt::KeepAspectRatio)));
    }
    try {
        // Turned upright here by the header's orientation, the one every caller measures by
        // (libvips would miss EXIF in PNG text chunks and turn HEIF photos a second time).
        QSize fit = p.orientation >= 5 ? box.transposed() : box;
        VipsSize sizing = VIPS_SIZE_DOWN;
        if (p.loader.startsWith(QLatin1String("jp2k"))) {
            // Asked to size down only, libvips 8.14 settles on the smallest JPEG 2000 resolution
            // level (a 2500-pixel photo came out 79 pixels wide): ask for the fitted size itself,
            // which is never larger than the photo either.
            const QSize stored(p.pixelWidth, p.pixelHeight);
            if (stored.width() > fit.width() || stored.height() > fit.height())
                fit = stored.scaled(fit, Qt::KeepAspectRatio).expandedTo(QSize(1, 1));
            else
                fit = stored;
            sizing = VIPS_SIZE_BOTH;
        }
        const DecodeBudget::Ticket share = decodeShare(path, p);
        vips::VImage thumb = DecodeSource::open(path).thumbnail(fit.width(),
            vips::VImage::option()
                ->set("height", fit.height())
                ->set("size", sizing)
                ->set("fail_on", kFailOn)
                ->set("no_rotate", true));
        Image out = finish(thumb, p, true, true);
        if (!out.isNull() && (out.width() > box.width() || out.height() > box.height()))
            out = out.resized(out.size().scaled(box, Qt::KeepAspectRatio));
        return out;
    } catch (const vips::VError& e) {
        report(path, "thumbnail", e);
        return {};
    }
}

Image Image::loadAtSize(const QString& path, QSize size)
{
    if (size.width() <= 0 || size.height() <= 0)
        return {};
    const ImageProperties p = decodableHeader(path, "load at size", kMaxThumbnailPixels);
    if (!p.valid)
        return {};
    // The size wanted in the stored layout, and the largest JPEG DCT shrink that stays above it.
    const QSize stored = p.orientation >= 5 ? size.transposed() : size;
    const int shrink = p.loader.startsWith("jpeg") ? DecodeFootprint::jpegShrink(p.storedSize(), stored) : 1;
    if (shrink == 1) {
        // The header is read already; the whole photo is decoded as load() would.
        const Image full = decodeWhole(path, p, true);
        return full.isNull() ? Image() : full.resized(size);
    }
    try {
        // Decoded straight into memory, so that a damaged file fails here.
        const Image out = finish(GuardedLoad::decodeIntoMemory(path, p, shrink), p, true, false, true);
        return out.isNull() ? Image() : out.resized(size);
    } catch (const vips::VError& e) {
        report(path, "load at size", e);
        return {};
    }
}

} // namespace vantrel
