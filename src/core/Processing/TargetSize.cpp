#include "core/Processing/TargetSize.h"

#include <climits>
#include <cmath>

#include "core/Helper/Utils.h"
#include "core/Processing/PhotoJobSettings.h"

namespace vantrel {

namespace {

float percentOf(float side, double percent)
{
    return static_cast<float>(percent / 100.0 * static_cast<double>(side));
}

/// True when the record's own pixel or percent pair has a side below 1 or not a number: no user
/// can type one (the pane raises a field to 1), so such a size comes from a preset or a saved
/// session, and raising it to 1 would write 1 x 1 outputs as if they had been asked for.
bool hasSideBelowOne(const PhotoJobSettings& settings)
{
    const auto below = [](double width, double height) { return !(width >= 1 && height >= 1); };
    if (settings.isCustomSize)
        return below(settings.customWidth, settings.customHeight);
    return settings.isPercentSize && below(settings.perWidth, settings.perHeight);
}

} // namespace

QSizeF TargetSize::aspectFit(QSizeF size, QSizeF box)
{
    return Utils::sharedUtils().getAspectFitModeSizeWithsize(size, box);
}

QSizeF TargetSize::unrounded(QSizeF upright, const PhotoJobSettings& settings)
{
    float w = static_cast<float>(upright.width());
    float h = static_cast<float>(upright.height());
    if (settings.isKeepOriginalSize)
        return { w, h };
    if (settings.isCustomSize) {
        if (settings.isKeepAspectRatio) {
            const QSizeF fitted = aspectFit(QSizeF(w, h),
                QSizeF(static_cast<float>(settings.customWidth), static_cast<float>(settings.customHeight)));
            w = static_cast<float>(fitted.width());
            h = static_cast<float>(fitted.height());
        } else {
            w = static_cast<float>(settings.customWidth);
            h = static_cast<float>(settings.customHeight);
        }
    } else if (settings.isPercentSize) {
        w = percentOf(w, settings.perWidth);
        h = percentOf(h, settings.perHeight);
    }
    return { w, h };
}

std::optional<QSize> TargetSize::forPixels(QSize upright, const PhotoJobSettings& settings)
{
    if (settings.isKeepOriginalSize)
        return upright;
    if (hasSideBelowOne(settings))
        return std::nullopt;
    const QSizeF size = unrounded(QSizeF(upright), settings);
    const float w = static_cast<float>(size.width());
    const float h = static_cast<float>(size.height());
    if (!(w <= kMaximumSide && h <= kMaximumSide))
        return std::nullopt;
    return QSize(roundHalfAwayFromZero(std::fmax(w, 1.0f)), roundHalfAwayFromZero(std::fmax(h, 1.0f)));
}

int TargetSize::roundHalfAwayFromZero(double value)
{
    if (std::isnan(value))
        return 0;
    const double rounded = std::round(value);
    if (rounded >= static_cast<double>(INT_MAX))
        return INT_MAX;
    if (rounded <= static_cast<double>(INT_MIN))
        return INT_MIN;
    return static_cast<int>(rounded);
}

} // namespace vantrel
