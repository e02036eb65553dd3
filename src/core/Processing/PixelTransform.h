#pragma once

#include "platform/imaging/Image.h"

namespace vantrel {

/// An exact rearrangement of pixels: one of the eight combinations of quarter turns and mirrors.
/// Any sequence of turns, flips and orientation layouts composes into one value, applied as at
/// most one mirror and one turn, so a photo is never resampled or turned twice.
class PixelTransform {
public:
    PixelTransform() = default;

    static PixelTransform quarterTurnsClockwise(int turns);
    static PixelTransform horizontalFlip();
    static PixelTransform verticalFlip();
    /// The correction a viewer applies to stored pixels for an EXIF orientation tag (1..8;
    /// other values give the identity).
    static PixelTransform viewerCorrection(int orientation);
    /// The inverse of viewerCorrection: lays upright pixels out as the tag describes.
    static PixelTransform layoutForOrientation(int orientation);

    /// This transform followed by `next`.
    PixelTransform then(const PixelTransform& next) const;
    PixelTransform inverse() const;

    bool isIdentity() const { return m_a == 1 && m_b == 0 && m_c == 0 && m_d == 1; }
    /// True when width and height exchange.
    bool swapsSides() const { return m_a == 0; }
    /// The decomposition applied: mirror left-right first when set, then turn clockwise.
    bool mirrorsFirst() const;
    int clockwiseQuarterTurns() const;

    Image applyTo(const Image& image) const;

    bool operator==(const PixelTransform& other) const = default;

private:
    PixelTransform(int a, int b, int c, int d)
        : m_a(a)
        , m_b(b)
        , m_c(c)
        , m_d(d)
    {
    }

    // Maps centred pixel coordinates (x right, y down): (x, y) -> (a x + b y, c x + d y).
    int m_a = 1;
    int m_b = 0;
    int m_c = 0;
    int m_d = 1;
};

} // namespace vantrel
