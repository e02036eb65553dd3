#pragma once

#include <QString>
#include <QStringList>

namespace vantrel::ImageFileTypes {

/// True when the extension (any letter case, without the dot) names an image type that the
/// application accepts: the compiled-in stand-in for "conforms to public.image" plus the
/// extra extensions the add scan accepts. One registry shared by the add scan and the toolbox.
/// The extra extensions that are not image types themselves ("jpc", "p7", "pc", "pgm", "pnm",
/// "ppm", "ptif", "ui") count only in all-lower or all-upper case: "Pgm" is refused.
bool isImageExtension(const QString& extension);

/// The stand-in for "the extension's type conforms to public.image" (any letter case).
bool conformsToPublicImage(const QString& extension);

/// One of the twenty extra extensions ("eps", "jpc", "p7", "pc", "pgm", "pnm", "ppm", "ptif",
/// "ui", "pct" and the same in upper case), matched exactly as written.
bool isExtraImageExtension(const QString& extension);
QStringList extraImageExtensions();

/// True for camera RAW extensions (read through LibRaw).
bool isRawExtension(const QString& extension);

/// Every accepted extension: the image types in lower case, then the extra extensions as listed.
QStringList allImageExtensions();

} // namespace vantrel::ImageFileTypes
