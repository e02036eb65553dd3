#include "platform/imaging/Image.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "platform/imaging/VipsErrorText.h"

namespace vantrel {

namespace {

Image failed(const char* what, const vips::VError& e)
{
    std::fprintf(stderr, "image %s: %s\n", what, VipsErrorText::take(e).toUtf8().constData());
    return {};
}

double whiteOf(const vips::VImage& image)
{
    return image.format() == VIPS_FORMAT_USHORT ? 65535.0 : 255.0;
}

bool isSixteenBit(const vips::VImage& image)
{
    return image.format() == VIPS_FORMAT_USHORT || image.interpretation() == VIPS_INTERPRETATION_RGB16
        || image.interpretation() == VIPS_INTERPRETATION_GREY16;
}

// Trims or pads (by repeating the edge) to exactly `size`: libvips' scale arithmetic may land a
// pixel off, and callers rely on exact sizes.
vips::VImage exactly(const vips::VImage& image, int width, int height)
{
    vips::VImage out = image;
    if (out.width() > width || out.height() > height)
        out = out.extract_area(0, 0, std::min(out.width(), width), std::min(out.height(), height));
    if (out.width() < width || out.height() < height)
        out = out.embed(0, 0, width, height, vips::VImage::option()->set("extend", VIPS_EXTEND_COPY));
    return out;
}

} // namespace

bool Image::hasAlpha() const
{
    return !m_null && const_cast<vips::VImage&>(m_image).has_alpha();
}

Image Image::resized(QSize size) const
{
    if (m_null || size.width() <= 0 || size.height() <= 0)
        return {};
    if (size == this->size())
        return *this;
    try {
        const double hscale = double(size.width()) / width();
        const double vscale = double(size.height()) / height();
        vips::VImage in = m_image;
        const VipsBandFormat format = in.format();
        const bool alpha = in.has_alpha();
        if (alpha)
            in = in.premultiply();
        vips::VImage out = in.resize(hscale, vips::VImage::option()->set("vscale", vscale));
        if (alpha)
            out = out.unpremultiply().cast(format);
        else if (out.format() != format)
            out = out.cast(format);
        return Image(exactly(out, size.width(), size.height()));
    } catch (const vips::VError& e) {
        return failed("resize", e);
    }
}

Image Image::rotatedQuarterTurns(int quarterTurnsClockwise) const
{
    if (m_null)
        return {};
    const int turns = ((quarterTurnsClockwise % 4) + 4) % 4;
    if (turns == 0)
        return *this;
    static const VipsAngle angles[] = { VIPS_ANGLE_D0, VIPS_ANGLE_D90, VIPS_ANGLE_D180, VIPS_ANGLE_D270 };
    try {
        return Image(m_image.rot(angles[turns]));
    } catch (const vips::VError& e) {
        return failed("rotate", e);
    }
}

Image Image::rotatedByDegrees(double degrees) const
{
    if (m_null || width() <= 0 || height() <= 0 || degrees == 0 || !std::isfinite(degrees))
        return *this;
    const double turns = degrees / 90.0;
    if (turns == std::floor(turns))
        return rotatedQuarterTurns(int(std::fmod(turns, 4.0)));
    try {
        // The bounding box of the turned rectangle, truncated; uncovered corners stay transparent.
        const double a = degrees * M_PI / 180.0;
        const int boxWidth = int(std::fabs(width() * std::cos(a)) + std::fabs(height() * std::sin(a)));
        const int boxHeight = int(std::fabs(width() * std::sin(a)) + std::fabs(height() * std::cos(a)));
        vips::VImage in = m_image;
        if (!in.has_alpha())
            in = in.bandjoin_const({ whiteOf(in) });
        vips::VImage out
            = in.rotate(degrees, vips::VImage::option()->set("background", std::vector<double>(in.bands(), 0.0)));
        const int left = std::max(0, (out.width() - boxWidth) / 2);
        const int top = std::max(0, (out.height() - boxHeight) / 2);
        out = out.extract_area(
            left, top, std::min(boxWidth, out.width() - left), std::min(boxHeight, out.height() - top));
        return Image(exactly(out, boxWidth, boxHeight));
    } catch (const vips::VError& e) {
        return failed("rotate", e);
    }
}

Image Image::flippedHorizontally() const
{
    if (m_null)
        return {};
    try {
        return Image(m_image.flip(VIPS_DIRECTION_HORIZONTAL));
    } catch (const vips::VError& e) {
        return failed("flip", e);
    }
}

Image Image::flippedVertically() const
{
    if (m_null)
        return {};
    try {
        return Image(m_image.flip(VIPS_DIRECTION_VERTICAL));
    } catch (const vips::VError& e) {
        return failed("flip", e);
    }
}

Image Image::laidOutForOrientation(int orientation) const
{
    // The inverse of what a viewer does for the tag: 2, 3, 4, 5 and 7 are their own inverses;
    // a viewer turns 6 clockwise and 8 counter-clockwise, so those turn the other way here.
    switch (orientation) {
    case 2:
        return flippedHorizontally();
    case 3:
        return rotatedQuarterTurns(2);
    case 4:
        return flippedVertically();
    case 5:
        return rotatedQuarterTurns(1).flippedHorizontally();
    case 6:
        return rotatedQuarterTurns(3);
    case 7:
        return rotatedQuarterTurns(1).flippedVertically();
    case 8:
        return rotatedQuarterTurns(1);
    default:
        return *this;
    }
}

Image Image::uprightForOrientation(int orientation) const
{
    switch (orientation) {
    case 6:
        return rotatedQuarterTurns(1);
    case 8:
        return rotatedQuarterTurns(3);
    default:
        return laidOutForOrientation(orientation);
    }
}

Image Image::toSRGB() const
{
    if (m_null)
        return {};
    try {
        const VipsInterpretation space = m_image.interpretation();
        const int colourBands = m_image.bands() - (m_image.has_alpha() ? 1 : 0);
        const bool grey = space == VIPS_INTERPRETATION_B_W || space == VIPS_INTERPRETATION_GREY16 || colourBands < 3;
        const bool cmyk = space == VIPS_INTERPRETATION_CMYK;
        const bool lab = space == VIPS_INTERPRETATION_LAB || space == VIPS_INTERPRETATION_LABS
            || space == VIPS_INTERPRETATION_LABQ;
        if (!grey && !cmyk && !lab)
            return *this;
        vips::VImage out;
        if (cmyk) {
            // The embedded profile when there is one, else libvips' own CMYK profile.
            out = m_image.icc_transform(
                "srgb", vips::VImage::option()->set("embedded", true)->set("input_profile", "cmyk"));
        } else {
            const bool sixteen = isSixteenBit(m_image);
            out = m_image.colourspace(sixteen ? VIPS_INTERPRETATION_RGB16 : VIPS_INTERPRETATION_sRGB);
        }
        VipsBlob* srgb = vips::VImage::profile_load("srgb");
        size_t length = 0;
        const void* data = vips_blob_get(srgb, &length);
        out = out.copy();
        vips_image_set_blob_copy(out.get_image(), VIPS_META_ICC_NAME, data, length);
        vips_area_unref(VIPS_AREA(srgb));
        return Image(out);
    } catch (const vips::VError& e) {
        return failed("colour conversion", e);
    }
}

Image Image::flattenedOnWhite() const
{
    if (m_null || !hasAlpha())
        return *this;
    try {
        const VipsBandFormat format = m_image.format();
        const double white = whiteOf(m_image);
        vips::VImage out = m_image.flatten(vips::VImage::option()
                                               ->set("background", std::vector<double>(m_image.bands() - 1, white))
                                               ->set("max_alpha", white));
        return Image(out.cast(format));
    } catch (const vips::VError& e) {
        return failed("flatten", e);
    }
}

Image Image::toEightBit() const
{
    if (m_null)
        return {};
    try {
        if (m_image.format() == VIPS_FORMAT_UCHAR)
            return *this;
        vips::VImage out;
        if (m_image.format() == VIPS_FORMAT_USHORT)
            out = (m_image >> 8).cast(VIPS_FORMAT_UCHAR);
        else
            out = m_image.cast(VIPS_FORMAT_UCHAR);
        const VipsInterpretation space = m_image.interpretation();
        if (space == VIPS_INTERPRETATION_RGB16)
            out = out.copy(vips::VImage::option()->set("interpretation", VIPS_INTERPRETATION_sRGB));
        else if (space == VIPS_INTERPRETATION_GREY16)
            out = out.copy(vips::VImage::option()->set("interpretation", VIPS_INTERPRETATION_B_W));
        return Image(out);
    } catch (const vips::VError& e) {
        return failed("8-bit conversion", e);
    }
}

QImage Image::toQImage() const
{
    if (m_null)
        return {};
    try {
        Image rgb = toSRGB().toEightBit();
        if (rgb.isNull())
            return {};
        vips::VImage v = rgb.vips();
        const bool alpha = v.has_alpha();
        const int wanted = alpha ? 4 : 3;
        if (v.bands() > wanted)
            v = v.extract_band(0, vips::VImage::option()->set("n", wanted));
        if (v.bands() != wanted)
            return {};
        size_t size = 0;
        void* pixels = v.write_to_memory(&size);
        const int w = v.width(), h = v.height();
        QImage image(w, h, alpha ? QImage::Format_RGBA8888 : QImage::Format_RGB888);
        const size_t row = size_t(w) * size_t(wanted);
        if (!image.isNull() && size >= row * size_t(h))
            for (int y = 0; y < h; ++y)
                std::memcpy(image.scanLine(y), static_cast<const uchar*>(pixels) + row * size_t(y), row);
        g_free(pixels);
        return image;
    } catch (const vips::VError& e) {
        std::fprintf(stderr, "image to QImage: %s\n", VipsErrorText::take(e).toUtf8().constData());
        return {};
    }
}

} // namespace vantrel
