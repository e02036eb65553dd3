#pragma once

#include <QByteArray>

#include "platform/imaging/VipsInclude.h"

namespace vantrel::BmpWriter {

/// A Windows BMP (BITMAPINFOHEADER, 24 bits per pixel, bottom-up rows) of an 8-bit image with
/// one band (grey, widened to RGB) or three; alpha must be flattened first. Resolution from the
/// image's xres/yres. Throws vips::VError when the pixels cannot be computed; an empty result
/// when the image does not fit the format (sides above 2^31 / 4).
QByteArray encode(const vips::VImage& image);

} // namespace vantrel::BmpWriter
