// Names of EXIF values, as shown in the photo-information rows.
#include "core/Helper/CommonFunc.h"

#include <cmath>
#include <optional>

namespace vantrel {

namespace {

struct Name {
    int value;
    const char* name;
};

const QString kNone = QStringLiteral("---");

// The integer value of a number (truncated, as an integer read of a number is); nothing for a
// null or non-numeric value.
std::optional<qint64> intValue(const QVariant& value)
{
    if (!value.isValid() || value.isNull())
        return std::nullopt;
    bool ok = false;
    const double d = value.toDouble(&ok);
    if (!ok || !std::isfinite(d) || std::fabs(d) > 1e15)
        return std::nullopt;
    return static_cast<qint64>(std::trunc(d));
}

template <std::size_t N> QString lookup(const QVariant& value, const Name (&table)[N])
{
    const auto v = intValue(value);
    if (!v)
        return kNone;
    for (const Name& entry : table) {
        if (entry.value == *v)
            return QString::fromLatin1(entry.name);
    }
    return kNone;
}

} // namespace

QString CommonFunc::getColorSensingType(const QVariant& value)
{
    static constexpr Name kNames[] = {
        { 1, "Not defined" },
        { 2, "One-chip color area sensor" },
        { 3, "Two-chip color area sensor" },
        { 4, "Three-chip color area sensor" },
        { 5, "Color sequential area sensor" },
        { 6, "Trilinear sensor" },
        { 7, "Color sequential linear sensor" },
    };
    return lookup(value, kNames);
}

QString CommonFunc::getMeteringModeType(const QVariant& value)
{
    static constexpr Name kNames[] = {
        { 0, "Unknown" },
        { 1, "Average" },
        { 2, "CenterWeightedAverage" },
        { 3, "Spot" },
        { 4, "MultiSpot" },
        { 5, "Pattern" },
        { 6, "Partial" },
        { 255, "other" },
    };
    return lookup(value, kNames);
}

QString CommonFunc::getExposureProgramType(const QVariant& value)
{
    static constexpr Name kNames[] = {
        { 0, "Not defined" },
        { 1, "Manual" },
        { 2, "Program AE" },
        { 3, "Aperture priority" },
        { 4, "Shutter priority" },
        { 5, "Creative program (biased toward depth of field)" },
        { 6, "Action program (biased toward fast shutter speed)" },
        { 7, "Portrait mode (for closeup photos with the background out of focus)" },
        { 8, "Landscape mode (for landscape photos with the background in focus)" },
    };
    return lookup(value, kNames);
}

QString CommonFunc::getExposureModeType(const QVariant& value)
{
    static constexpr Name kNames[] = { { 0, "Auto exposure" }, { 1, "Manual exposure" }, { 2, "Auto bracket" } };
    return lookup(value, kNames);
}

QString CommonFunc::getScenceCaptureType(const QVariant& value)
{
    static constexpr Name kNames[] = { { 0, "Standard" }, { 1, "Landscape" }, { 2, "Portrait" }, { 3, "Night scene" } };
    return lookup(value, kNames);
}

QString CommonFunc::getColorSpaceType(const QVariant& value)
{
    // 2 is not in the EXIF tables, but cameras that shoot Adobe RGB write it.
    static constexpr Name kNames[] = { { 1, "sRGB" }, { 2, "Adobe RGB" }, { 0xFFFF, "Uncalibrated" } };
    return lookup(value, kNames);
}

QString CommonFunc::getLightSourceType(const QVariant& value)
{
    static constexpr Name kNames[] = {
        { 0, "Unknown" },
        { 1, "Daylight" },
        { 2, "Fluorescent" },
        { 3, "Tungsten (incandescent light)" },
        { 4, "Flash" },
        { 9, "Fine weather" },
        { 10, "Cloudy weather" },
        { 11, "Shade" },
        { 12, "Daylight fluorescent (D 5700 - 7100K)" },
        { 13, "Day white fluorescent (N 4600 - 5400K)" },
        { 14, "Cool white fluorescent (W 3900 - 4500K)" },
        { 15, "White fluorescent (WW 3200 - 3700K)" },
        { 17, "Standard light A" },
        { 18, "Standard light B" },
        { 19, "Standard light C" },
        { 20, "D55" },
        { 21, "D65" },
        { 22, "D75" },
        { 23, "D50" },
        { 24, "ISO studio tungsten" },
        { 255, "Other light source" },
    };
    return lookup(value, kNames);
}

QString CommonFunc::getOrientationType(int value)
{
    static constexpr Name kNames[] = {
        { 1, "(Normal)" },
        { 2, "(Mirror horizontal)" },
        { 3, "(Rotate 180)" },
        { 4, "(Mirror vertical)" },
        { 5, "(Mirror horizontal and rotate 270 CW)" },
        { 6, "(Rotate 90 CW)" },
        { 7, "(Mirror horizontal and rotate 90 CW)" },
        { 8, "(Rotate 270 CW)" },
    };
    for (const Name& entry : kNames) {
        if (entry.value == value)
            return QString::number(value) + QLatin1Char(' ') + QLatin1String(entry.name);
    }
    return kNone;
}

} // namespace vantrel
