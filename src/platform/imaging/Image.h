#pragma once

#include <QImage>
#include <QSize>
#include <QString>

#include "platform/imaging/VipsInclude.h"

namespace vantrel {

/// An image value over a vips::VImage, measured in pixels. Cheap to copy (libvips images are
/// reference-counted and lazy); a null Image stands for "no image". No operation throws: a
/// libvips failure gives a null Image (and one line on standard error).
///
/// Colour: images made by load() are in sRGB (or sRGB with alpha) when the source was grey, CMYK
/// or Lab, and carry the sRGB profile from then on; an RGB source keeps its pixels and profile.
/// 16-bit sources stay 16-bit; the encoder reduces to 8 bits where the format needs it.
class Image {
public:
    Image() = default;
    explicit Image(vips::VImage image) : m_image(std::move(image)), m_null(false) {}

    /// Loads image 0 of a file, upright (its EXIF orientation applied) unless `upright` is false.
    /// Refuses (null) a file whose header claims more than `maxPixels` pixels.
    static Image load(const QString& path, bool upright = true, qint64 maxPixels = 400'000'000);

    /// A thumbnail that fits into box (upright), decoded with shrink-on-load (JPEG DCT scaling,
    /// RAW embedded previews); never a full decode of a large photo.
    static Image thumbnail(const QString& path, QSize box);

    /// Loads with shrink-on-load straight to exactly `size` (upright), the fast path of the run
    /// when the photo is reduced; falls back to load() + resized() when that is not possible.
    static Image loadAtSize(const QString& path, QSize size);

    bool isNull() const { return m_null; }
    int width() const { return m_null ? 0 : m_image.width(); }
    int height() const { return m_null ? 0 : m_image.height(); }
    QSize size() const { return {width(), height()}; }
    bool hasAlpha() const;

    /// Exact resize to `size` (different scale factors per axis allowed).
    Image resized(QSize size) const;
    /// Exact quarter turns clockwise (1 = 90, 2 = 180, 3 = 270). Other angles: rotatedByDegrees.
    Image rotatedQuarterTurns(int quarterTurnsClockwise) const;
    /// Clockwise as seen on screen, by any angle; multiples of 90 are exact.
    Image rotatedByDegrees(double degrees) const;
    Image flippedHorizontally() const;
    Image flippedVertically() const;
    /// Pixels laid out as an EXIF orientation tag describes (the inverse of the viewer's
    /// correction); 1 or out-of-range values give the same image.
    Image laidOutForOrientation(int orientation) const;
    /// The correction a viewer applies for an EXIF orientation tag (stored layout to upright);
    /// laidOutForOrientation() undoes it. 1 or out-of-range values give the same image.
    Image uprightForOrientation(int orientation) const;
    /// Grey, CMYK and Lab to sRGB (16-bit grey to 16-bit RGB), with the sRGB profile attached;
    /// RGB images are returned unchanged.
    Image toSRGB() const;
    /// 16-bit (or other) samples reduced to 8 bits (no change for 8-bit images).
    Image toEightBit() const;
    /// Alpha flattened onto white (no change without alpha).
    Image flattenedOnWhite() const;
    /// 8-bit sRGB QImage for display (workers hand QImage, never QPixmap, to the window layer).
    QImage toQImage() const;

    const vips::VImage& vips() const { return m_image; }

private:
    vips::VImage m_image;
    bool m_null = true;
};

} // namespace vantrel
