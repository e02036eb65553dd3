#include "core/Processing/PixelTransform.h"

namespace vantrel {

PixelTransform PixelTransform::quarterTurnsClockwise(int turns)
{
    switch (((turns % 4) + 4) % 4) {
    case 1:
        return { 0, -1, 1, 0 }; // the top edge goes to the right
    case 2:
        return { -1, 0, 0, -1 };
    case 3:
        return { 0, 1, -1, 0 };
    default:
        return {};
    }
}

PixelTransform PixelTransform::horizontalFlip()
{
    return { -1, 0, 0, 1 };
}

PixelTransform PixelTransform::verticalFlip()
{
    return { 1, 0, 0, -1 };
}

PixelTransform PixelTransform::viewerCorrection(int orientation)
{
    switch (orientation) {
    case 2:
        return horizontalFlip();
    case 3:
        return quarterTurnsClockwise(2);
    case 4:
        return verticalFlip();
    case 5:
        return { 0, 1, 1, 0 }; // transpose
    case 6:
        return quarterTurnsClockwise(1);
    case 7:
        return { 0, -1, -1, 0 }; // transverse
    case 8:
        return quarterTurnsClockwise(3);
    default:
        return {};
    }
}

PixelTransform PixelTransform::layoutForOrientation(int orientation)
{
    return viewerCorrection(orientation).inverse();
}

PixelTransform PixelTransform::then(const PixelTransform& next) const
{
    return { next.m_a * m_a + next.m_b * m_c, next.m_a * m_b + next.m_b * m_d, next.m_c * m_a + next.m_d * m_c,
        next.m_c * m_b + next.m_d * m_d };
}

PixelTransform PixelTransform::inverse() const
{
    // Orthogonal with entries 0 and +-1: the inverse is the transpose.
    return { m_a, m_c, m_b, m_d };
}

bool PixelTransform::mirrorsFirst() const
{
    return m_a * m_d - m_b * m_c < 0;
}

int PixelTransform::clockwiseQuarterTurns() const
{
    const PixelTransform turn = mirrorsFirst() ? horizontalFlip().then(*this) : *this; // M * H
    for (int k = 0; k < 4; ++k) {
        if (quarterTurnsClockwise(k) == turn)
            return k;
    }
    return 0;
}

Image PixelTransform::applyTo(const Image& image) const
{
    if (image.isNull() || isIdentity())
        return image;
    Image result = mirrorsFirst() ? image.flippedHorizontally() : image;
    const int turns = clockwiseQuarterTurns();
    return turns == 0 ? result : result.rotatedQuarterTurns(turns);
}

} // namespace vantrel
