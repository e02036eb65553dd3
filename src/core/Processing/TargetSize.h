#pragma once

#include <optional>

#include <QSize>
#include <QSizeF>

namespace vantrel {

struct PhotoJobSettings;

/// The size a photo is resized to, computed in one place so that the size in an output's name
/// and the size of its pixels come from the same numbers.
///
/// Arithmetic follows the option records: a percent product is computed in double and stored as
/// a single-precision value; the aspect fit works in single precision throughout. The values of
/// the returned QSizeF are single-precision numbers.
class TargetSize {
public:
    /// The size asked for, before any rounding, limit or minimum, from an upright size. The size
    /// is kept with isKeepOriginalSize; rotation is not applied here.
    static QSizeF unrounded(QSizeF upright, const PhotoJobSettings& settings);

    /// The pixel size of the size step: both sides at most 10000 (else no value: the size is
    /// refused), each raised to at least 1 and rounded half away from zero. A size whose own
    /// pixels or percentages have a side below 1 (a preset or a saved size; typing never gives
    /// one) is refused as well, never raised: only a side that the arithmetic takes below 1, as
    /// 1 % of a 40-pixel side, is raised to 1.
    static std::optional<QSize> forPixels(QSize upright, const PhotoJobSettings& settings);

    /// Rounds a single-precision value half away from zero to an int; not-a-number gives 0 and
    /// values beyond the int range are clamped (a cast of those would be undefined).
    static int roundHalfAwayFromZero(double value);

    /// The toolbox's aspect fit: `size` into `box` keeping its ratio, enlarging as well as
    /// reducing, in single precision. A size or box without area gives 0 x 0.
    static QSizeF aspectFit(QSizeF size, QSizeF box);

    static constexpr float kMaximumSide = 10000.0f;
};

} // namespace vantrel
