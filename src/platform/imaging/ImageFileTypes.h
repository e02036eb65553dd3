#pragma once

#include <QString>
#include <QStringList>

namespace vantrel::ImageFileTypes {

/// True when the extension (any letter case, without the dot) names an image type that the
/// application accepts: the compiled-in stand-in for "conforms to public.image" plus the
/// extra extensions the add scan accepts. One registry shared by the add scan and the toolbox.
bool isImageExtension(const QString& extension);

/// True for camera RAW extensions (read through LibRaw).
bool isRawExtension(const QString& extension);

QStringList allImageExtensions();

} // namespace vantrel::ImageFileTypes
