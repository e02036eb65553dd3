#pragma once

#include <functional>

#include <QByteArray>

#include "platform/imaging/VipsInclude.h"

namespace vantrel::BmpWriter {

/// Hands a Windows BMP (BITMAPINFOHEADER, 24 bits per pixel, bottom-up rows) of an 8-bit image
/// with one band (grey, widened to RGB) or three to `sink` a block at a time (header first), with
/// no copy of the pixels unless `image` is a sequential load (read from the top only, so gathered
/// in memory first); alpha must be flattened first.
/// Resolution from the image's xres/yres. Returns 0, the first non-zero errno the sink
/// returns, or EINVAL / EFBIG when the image does not fit the format. Throws vips::VError when
/// the pixels cannot be computed.
int write(const vips::VImage& image, const std::function<int(const char* data, qint64 size)>& sink);

} // namespace vantrel::BmpWriter
