#include "core/Helper/Utils.h"

#include <cmath>
#include <cstdio>
#include <limits>

#include <QFileInfo>
#include <QStringList>

#include "core/DataBeans/ExifInfo.h"
#include "platform/imaging/ImageProperties.h"
#include "platform/imaging/VipsErrorText.h"

namespace vantrel {

namespace {

bool positiveFinite(float v)
{
    return v > 0.0f && std::isfinite(v);
}

/// A single-precision size widened to double; (0, 0) when either side is not a finite number.
QSizeF widened(float width, float height)
{
    if (!std::isfinite(width) || !std::isfinite(height))
        return { 0.0, 0.0 };
    return { static_cast<double>(width), static_cast<double>(height) };
}

/// A pixel size from a size in floating point: rounded, at least 1 on each side; (0, 0) when the
/// size is not positive or too large to count pixels in an int.
QSize pixelSize(QSizeF size)
{
    const double w = size.width();
    const double h = size.height();
    constexpr double kMax = 1'000'000'000.0;
    if (!(w > 0.0 && h > 0.0 && w < kMax && h < kMax))
        return { 0, 0 };
    return { std::max(1, static_cast<int>(std::lround(w))), std::max(1, static_cast<int>(std::lround(h))) };
}

/// A thumbnail at exactly the fitted size it was asked for: the thumbnailer fits into the box
/// and may land a pixel short on one side (or stop at the photo's own size).
Image atSize(const Image& thumbnail, QSize size)
{
    if (thumbnail.size() == size)
        return thumbnail;
    const Image exact = thumbnail.resized(size);
    return exact.isNull() ? thumbnail : exact;
}

/// The orientation a metadata record would state: the EXIF tag, 0 when the file has none.
int recordOrientation(const ImageProperties& properties)
{
    return properties.hasOrientationTag ? properties.orientation : 0;
}

QSizeF uprightSizeOf(const ImageProperties& properties)
{
    if (!properties.valid)
        return { 0.0, 0.0 };
    const QSize size = properties.uprightSize();
    return { static_cast<double>(size.width()), static_cast<double>(size.height()) };
}

} // namespace

Utils& Utils::sharedUtils()
{
    static Utils instance;
    return instance;
}

// Loading and measuring ------------------------------------------------------------------------

QSizeF Utils::getImageOriginalSizeAtFilePathUrl(const QString& path) const
{
    if (path.isEmpty())
        return { 0.0, 0.0 };
    const ImageProperties properties = readImageProperties(path, PropertyDepth::SizeAndOrientation);
    // EPS and PICT sizes come from their own headers (the reader's "eps" and "pict" routes).
    static const QStringList kDocumentExtensions { "eps", "EPS", "pict", "PICT", "pct", "PCT" };
    if (properties.valid && kDocumentExtensions.contains(QFileInfo(path).suffix()))
        std::fprintf(stderr, "epsDict = %s\n", qPrintable(getJSONFromDict(properties.dictionary)));
    return uprightSizeOf(properties);
}

Image Utils::getImageWithFixedOrientionFromUrl(const QString& path) const
{
    ImageProperties properties;
    if (!path.isEmpty())
        properties = readImageProperties(path, PropertyDepth::SizeAndOrientation);
    const QSizeF size = uprightSizeOf(properties);
    Image image = loadFromFile(path, properties, static_cast<float>(size.width()), static_cast<float>(size.height()));
    // The loader hands out sRGB for grey sources already; this keeps the contract when it did not.
    if (!image.isNull() && image.vips().bands() < 3)
        image = convertGraycolorModelToRgb(image);
    return image;
}

Image Utils::getImageFromFile(const QString& path, float minWidth, float minHeight) const
{
    ImageProperties properties;
    if (!path.isEmpty())
        properties = readImageProperties(path, PropertyDepth::SizeAndOrientation);
    return loadFromFile(path, properties, minWidth, minHeight);
}

Image Utils::loadFromFile(const QString& path, const ImageProperties& properties, float minWidth, float minHeight) const
{
    if (properties.valid && recordOrientation(properties) != 1) {
        // A photo with a rotation (or no stated orientation) comes upright at the width asked
        // for: reduced through the thumbnailer (shrink-on-load), else fully decoded, so that the
        // run's full-size loads keep their depth and profile.
        const QSizeF upright = uprightSizeOf(properties);
        const QSize box = pixelSize(aspectFitSizeWithMaxSize(upright, minWidth));
        if (!box.isEmpty() && box.width() < upright.width() && box.height() < upright.height()) {
            Image thumbnail = Image::thumbnail(path, box);
            if (!thumbnail.isNull())
                return atSize(thumbnail, box);
        }
        Image loaded = Image::load(path);
        if (!loaded.isNull()) {
            if (static_cast<float>(loaded.width()) != minWidth)
                return scaleImage(loaded, QSizeF(minWidth, minHeight));
            return loaded;
        }
    }

    Image decoded = path.isEmpty() ? Image() : Image::load(path);
    if (decoded.isNull()) {
        const QFileInfo info(path);
        if (path.isEmpty() || !info.isFile() || !info.isReadable())
            std::fputs("Image source is NULL.\n", stderr);
        else
            std::fputs("Image not created from image source.\n", stderr);
    }
    return decoded;
}

Image Utils::getThumbnailImageAtFilePath(const QString& path, QSizeF box) const
{
    const float boxWidth = static_cast<float>(box.width());
    const float boxHeight = static_cast<float>(box.height());
    if (path.isEmpty())
        return getImageFromFile(path, boxWidth, boxHeight);

    QSizeF size = getImageOriginalSizeAtFilePathUrl(path);
    if (!(box.width() > size.width() && box.height() > size.height()))
        size = aspectFitSizeWithMaxSize(size, box.width());
    // A landscape result may still be taller than the box; only portrait ones are fitted again.
    if (size.height() > size.width() && size.height() > box.height())
        size = aspectFitSizeWithMaxHeight(size, box.height());

    const QSize pixels = pixelSize(size);
    if (!pixels.isEmpty()) {
        Image thumbnail = Image::thumbnail(path, pixels);
        if (!thumbnail.isNull())
            return atSize(thumbnail, pixels);
    }
    return getImageFromFile(path, static_cast<float>(size.width()), static_cast<float>(size.height()));
}

// Aspect arithmetic: every input rounded to single precision, the ratio and each product too. ----

QSizeF Utils::aspectFitSizeWithMaxSize(QSizeF size, double scaledWidth) const
{
    const float w = static_cast<float>(size.width());
    const float h = static_cast<float>(size.height());
    if (!positiveFinite(w) || !positiveFinite(h))
        return { 0.0, 0.0 };
    const float k = static_cast<float>(scaledWidth) / w;
    return widened(w * k, k * h);
}

QSizeF Utils::aspectFitSizeWithMaxHeight(QSizeF size, double scaledHeight) const
{
    const float w = static_cast<float>(size.width());
    const float h = static_cast<float>(size.height());
    if (!positiveFinite(w) || !positiveFinite(h))
        return { 0.0, 0.0 };
    const float k = static_cast<float>(scaledHeight) / h;
    return widened(k * w, h * k);
}

QSizeF Utils::getAspectFitModeSizeWithsize(QSizeF size, QSizeF toSize) const
{
    const float w = static_cast<float>(size.width());
    const float h = static_cast<float>(size.height());
    const float boxW = static_cast<float>(toSize.width());
    const float boxH = static_cast<float>(toSize.height());
    if (!positiveFinite(w) || !positiveFinite(h) || !positiveFinite(boxW) || !positiveFinite(boxH))
        return { 0.0, 0.0 };
    QSizeF result;
    if (w > h) {
        const float k = boxW / w;
        result = widened(w * k, k * h);
    } else {
        const float k = boxH / h;
        result = widened(k * w, h * k);
    }
    if (static_cast<float>(result.width()) > boxW)
        result = aspectFitSizeWithMaxSize(result, boxW);
    if (static_cast<float>(result.height()) > boxH)
        result = aspectFitSizeWithMaxHeight(result, boxH);
    return result;
}

// Transforms -------------------------------------------------------------------------------------

Image Utils::scaleImage(const Image& image, QSizeF newSize) const
{
    if (image.isNull())
        return image;
    const QSize pixels = pixelSize(newSize);
    if (pixels.isEmpty())
        return image;
    return image.resized(pixels);
}

Image Utils::imageRotatedByDegrees(double degrees, const Image& image) const
{
    if (image.isNull() || image.width() <= 0 || image.height() <= 0 || degrees == 0.0 || !std::isfinite(degrees))
        return image;
    double turn = std::fmod(degrees, 360.0);
    if (turn < 0.0)
        turn += 360.0;
    if (turn == 0.0)
        return image;
    if (turn == 90.0 || turn == 180.0 || turn == 270.0)
        return image.rotatedQuarterTurns(static_cast<int>(turn / 90.0));

    const double radians = degrees * M_PI / 180.0;
    const double w = image.width();
    const double h = image.height();
    const int boxW = static_cast<int>(std::fabs(w * std::cos(radians)) + std::fabs(h * std::sin(radians)));
    const int boxH = static_cast<int>(std::fabs(w * std::sin(radians)) + std::fabs(h * std::cos(radians)));
    Image rotated = image.rotatedByDegrees(degrees);
    if (rotated.isNull() || boxW <= 0 || boxH <= 0 || rotated.size() == QSize(boxW, boxH))
        return rotated;
    // Keep the canvas at the truncated bounding box, the turned photo centred on it.
    try {
        const int left = (boxW - rotated.width()) / 2;
        const int top = (boxH - rotated.height()) / 2;
        return Image(rotated.vips().embed(left, top, boxW, boxH));
    } catch (const vips::VError& error) {
        std::fprintf(stderr, "rotate: %s\n", VipsErrorText::take(error).toUtf8().constData());
        return Image();
    }
}

Image Utils::flipImageHorizontally(const Image& image) const
{
    return image.isNull() ? image : image.flippedHorizontally();
}

Image Utils::flipImageVertically(const Image& image) const
{
    return image.isNull() ? image : image.flippedVertically();
}

Image Utils::convertGraycolorModelToRgb(const Image& image) const
{
    if (image.isNull() || image.width() <= 0 || image.height() <= 0)
        return image;
    Image colour = image.toSRGB();
    return colour.isNull() ? image : colour;
}

Image Utils::getCgiImageRef(const Image& image) const
{
    return image;
}

// Properties -------------------------------------------------------------------------------------

QVariantMap Utils::getImageeExifDict(const QString& path) const
{
    return ExifInfo::exifForFile(path);
}

QVariantMap Utils::exifForFile(const QString& path) const
{
    return ExifInfo::exifForFile(path);
}

} // namespace vantrel
