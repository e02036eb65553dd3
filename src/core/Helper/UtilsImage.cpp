// The toolbox's further image operations: crops, aspect fill, backgrounds, drawing of a part,
// small thumbnails and geometry conversions. Rectangles follow the drawing convention of these
// operations: origin at the bottom left, y counting upward; pixel rows count downward, so every
// rectangle is turned over before it touches pixels.
#include "core/Helper/Utils.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>

#include "platform/imaging/ImageProperties.h"
#include "platform/imaging/VipsErrorText.h"

namespace vantrel {

namespace {

/// 8-bit sRGB with alpha: the form in which images are composited onto canvases.
vips::VImage rgba8(const Image& image)
{
    vips::VImage in = image.vips();
    if (in.interpretation() != VIPS_INTERPRETATION_sRGB || in.format() != VIPS_FORMAT_UCHAR)
        in = in.colourspace(VIPS_INTERPRETATION_sRGB).cast(VIPS_FORMAT_UCHAR);
    if (!in.has_alpha())
        in = in.bandjoin_const({ 255.0 });
    return in;
}

vips::VImage canvas(int width, int height, const QColor& color)
{
    const vips::VImage black = vips::VImage::black(width, height, vips::VImage::option()->set("bands", 4));
    return black
        .new_from_image({ double(color.red()), double(color.green()), double(color.blue()), double(color.alpha()) })
        .copy(vips::VImage::option()->set("interpretation", VIPS_INTERPRETATION_sRGB))
        .cast(VIPS_FORMAT_UCHAR);
}

vips::VImage over(const vips::VImage& base, const vips::VImage& overlay, int left, int top)
{
    return base
        .composite2(overlay, VIPS_BLEND_MODE_OVER,
            vips::VImage::option()->set("x", left)->set("y", top)->set("compositing_space", VIPS_INTERPRETATION_sRGB))
        .cast(VIPS_FORMAT_UCHAR);
}

/// The part of `in` under a bottom-up rectangle, exactly width x height; outside the image
/// transparent.
vips::VImage cutOut(const vips::VImage& in, int left, int bottomUpY, int width, int height)
{
    const int top = in.height() - (bottomUpY + height);
    return in.embed(-left, -top, width, height, vips::VImage::option()->set("extend", VIPS_EXTEND_BACKGROUND));
}

Image guarded(const char* what, const std::function<Image()>& work)
{
    try {
        return work();
    } catch (const vips::VError& error) {
        std::fprintf(stderr, "%s: %s\n", what, VipsErrorText::take(error).toUtf8().constData());
        return Image();
    }
}

int rounded(double v)
{
    return std::isfinite(v) && std::fabs(v) < 1e9 ? static_cast<int>(std::lround(v)) : 0;
}

} // namespace

QRectF Utils::centerRect(QRectF inner, QRectF outer)
{
    return { outer.center().x() - inner.width() * 0.5, outer.center().y() - inner.height() * 0.5, inner.width(),
        inner.height() };
}

Image Utils::imageFromCGImageRef(const Image& image) const
{
    return image;
}

Image Utils::cropImage(const Image& image, QRectF cropRect) const
{
    if (image.isNull() || !(cropRect.width() > 0.0 && cropRect.height() > 0.0))
        return image;
    const int width = std::max(1, rounded(cropRect.width()));
    const int height = std::max(1, rounded(cropRect.height()));
    return guarded("crop",
        [&] { return Image(cutOut(rgba8(image), rounded(cropRect.x()), rounded(cropRect.y()), width, height)); });
}

Image Utils::resizeImage(const Image& image, int width, int height) const
{
    if (image.isNull() || width <= 0 || height <= 0)
        return Image();
    return image.resized(QSize(width, height));
}

Image Utils::getAspectFillImageFormImage(const Image& image, QSizeF size, int cropMode) const
{
    if (image.isNull())
        return image;
    const QSizeF fit = getAspectFitModeSizeWithsize(QSizeF(image.width(), image.height()), size);
    const float fw = static_cast<float>(fit.width());
    const float fh = static_cast<float>(fit.height());
    const float w = static_cast<float>(size.width());
    const float h = static_cast<float>(size.height());
    if (!(fw > 0.0f && fh > 0.0f))
        return image;

    float k = 1.0f;
    if (fw > fh)
        k = w > h ? w / fw : h / fh;
    else if (fh > fw)
        k = w / fw;
    else if (w > h)
        k = w / fw;
    else if (h > w)
        k = h / fh;
    const float fillW = fw * k;
    const float fillH = fh * k;

    Image filled = image;
    if (static_cast<float>(image.width()) < w || static_cast<float>(image.height()) < h)
        filled = resizeImage(image, static_cast<int>(fillW), static_cast<int>(fillH));
    if (!(fillW > w) && !(fillH > h))
        return filled;

    const double x = (fillW - w) * 0.5;
    double y = (fillH - h) * 0.5;
    if (cropMode == 0)
        y = fillH - h; // the top part
    else if (cropMode == 2)
        y = 0.0; // the bottom part
    return cropImage(filled, QRectF(x, y, w, h));
}

Image Utils::addBackgroundToImage(const Image& image, const QColor& color) const
{
    if (image.isNull() || image.width() <= 0 || image.height() <= 0)
        return image;
    return guarded(
        "background", [&] { return Image(over(canvas(image.width(), image.height(), color), rgba8(image), 0, 0)); });
}

Image Utils::addBackgroundToImage(const Image& image, const QColor& color, QSizeF imageSize) const
{
    if (image.isNull())
        return image;
    const int w = image.width();
    const int h = image.height();
    if (!(w <= imageSize.width() && h <= imageSize.height()))
        return addBackgroundToImage(image, color);
    const int canvasW = std::max(1, rounded(imageSize.width()));
    const int canvasH = std::max(1, rounded(imageSize.height()));
    const int left = static_cast<int>((imageSize.width() - w) * 0.5);
    const int bottomUp = static_cast<int>((imageSize.height() - h) * 0.5);
    return guarded("background",
        [&] { return Image(over(canvas(canvasW, canvasH, color), rgba8(image), left, canvasH - bottomUp - h)); });
}

Image Utils::getDrawedImage(const Image& image, QSizeF size, QRectF inRect, QRectF fromRect) const
{
    const int canvasW = rounded(size.width());
    const int canvasH = rounded(size.height());
    const int fromW = rounded(fromRect.width());
    const int fromH = rounded(fromRect.height());
    const int toW = rounded(inRect.width());
    const int toH = rounded(inRect.height());
    if (image.isNull() || canvasW <= 0 || canvasH <= 0 || fromW <= 0 || fromH <= 0 || toW <= 0 || toH <= 0)
        return Image();
    return guarded("draw", [&] {
        vips::VImage part = cutOut(rgba8(image), rounded(fromRect.x()), rounded(fromRect.y()), fromW, fromH);
        if (fromW != toW || fromH != toH)
            part = part.resize(double(toW) / fromW, vips::VImage::option()->set("vscale", double(toH) / fromH));
        const int top = canvasH - (rounded(inRect.y()) + toH);
        return Image(over(canvas(canvasW, canvasH, QColor(0, 0, 0, 0)), part, rounded(inRect.x()), top));
    });
}

Image Utils::getDrawedImage(const Image& image, QSizeF size, QPointF atPoint, QRectF fromRect) const
{
    return getDrawedImage(image, size, QRectF(atPoint, fromRect.size()), fromRect);
}

Image Utils::getTransparentImageFromImage(const Image& image, double factor) const
{
    if (image.isNull() || image.width() <= 0 || image.height() <= 0)
        return image;
    const double opacity = std::isfinite(factor) ? std::clamp(factor, 0.0, 1.0) : 0.0;
    return guarded("opacity", [&] {
        const vips::VImage in = rgba8(image);
        if (opacity == 1.0)
            return Image(in);
        const vips::VImage alpha = in.extract_band(3).linear(opacity, 0.5).cast(VIPS_FORMAT_UCHAR);
        return Image(in.extract_band(0, vips::VImage::option()->set("n", 3)).bandjoin(alpha));
    });
}

Image Utils::getCIImageFromNSImage(const Image& image)
{
    return image;
}

Image Utils::getThumbnailForFile(const QString& path, int width, int height) const
{
    Image thumbnail = Image::thumbnail(path, QSize(128, 128));
    if (thumbnail.isNull() || width <= 0 || height <= 0 || thumbnail.size() == QSize(width, height))
        return thumbnail;
    return thumbnail.resized(QSize(width, height));
}

Image Utils::fixOrientation(const QString& path, QSizeF size) const
{
    const ImageProperties properties = readImageProperties(path, PropertyDepth::SizeAndOrientation);
    Image image = Image::load(path, true);
    if (image.isNull())
        return image;
    const bool oriented = properties.dictionary.value(QStringLiteral("Orientation")).toInt() != 0;
    if (!oriented)
        return image;
    std::fputs("utils fixOrientation\n", stderr);
    return scaleImage(image, size);
}

QRectF Utils::cgRectWithCiVector(const QList<double>& vector)
{
    const auto at = [&vector](int i) { return i < vector.size() ? vector.at(i) : 0.0; };
    return { at(0), at(1), at(2), at(3) };
}

QPointF Utils::cgPointWithCiVector(const QList<double>& vector)
{
    return { vector.value(0, 0.0), vector.value(1, 0.0) };
}

QList<double> Utils::ciVectorWithCGRect(QRectF rect)
{
    return { rect.x(), rect.y(), rect.width(), rect.height() };
}

} // namespace vantrel
