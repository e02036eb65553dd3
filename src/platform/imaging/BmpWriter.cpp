#include "platform/imaging/BmpWriter.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>

namespace vantrel::BmpWriter {

namespace {

void put16(QByteArray& out, quint16 v)
{
    out.append(char(v & 0xFF)).append(char(v >> 8));
}

void put32(QByteArray& out, quint32 v)
{
    for (int i = 0; i < 4; ++i)
        out.append(char((v >> (8 * i)) & 0xFF));
}

} // namespace

int write(const vips::VImage& image, const std::function<int(const char*, qint64)>& sink)
{
    vips::VImage rgb = image;
    if (rgb.bands() == 1)
        rgb = rgb.bandjoin({ rgb, rgb });
    if (rgb.bands() != 3 || rgb.format() != VIPS_FORMAT_UCHAR)
        return EINVAL;
    const qint64 width = rgb.width();
    const qint64 height = rgb.height();
    const qint64 rowBytes = (width * 3 + 3) / 4 * 4;
    const qint64 pixelBytes = rowBytes * height;
    const qint64 fileBytes = 14 + 40 + pixelBytes;
    if (fileBytes > 0x7FFFFFFF)
        return EFBIG;

    // Rows are written bottom-up. Pixels that can be read in any order (in memory, or computed
    // from pixels in memory, as a flip or a turn is) are fetched a block of rows at a time from
    // the bottom; a sequential load can be read from the top only, so it is gathered first.
    if (rgb.get_typeof(VIPS_META_SEQUENTIAL) != 0)
        rgb = rgb.copy_memory();
    const vips::VRegion region = vips::VRegion::new_from_image(rgb);

    QByteArray out;
    out.append("BM", 2);
    put32(out, quint32(fileBytes));
    put32(out, 0);
    put32(out, 14 + 40);
    put32(out, 40);
    put32(out, quint32(width));
    put32(out, quint32(height)); // positive: bottom-up
    put16(out, 1);
    put16(out, 24);
    put32(out, 0); // BI_RGB
    put32(out, quint32(pixelBytes));
    const double xres = std::max(0.0, image.xres()), yres = std::max(0.0, image.yres());
    put32(out, quint32(std::lround(xres * 1000.0))); // pixels per metre
    put32(out, quint32(std::lround(yres * 1000.0)));
    put32(out, 0);
    put32(out, 0);

    // Handed to the sink about a megabyte at a time.
    const qint64 rowsPerBlock = std::max<qint64>(1, (1 << 20) / rowBytes);
    out.reserve(int(std::min(fileBytes, 54 + rowsPerBlock * rowBytes)));
    QByteArray row(int(rowBytes), '\0');
    for (qint64 bottom = height; bottom > 0;) {
        const qint64 top = std::max<qint64>(0, bottom - rowsPerBlock);
        region.prepare(0, int(top), int(width), int(bottom - top));
        for (qint64 y = bottom - 1; y >= top; --y) {
            const auto* src = static_cast<const quint8*>(region.addr(0, int(y)));
            char* dst = row.data();
            for (qint64 x = 0; x < width; ++x) {
                dst[3 * x] = char(src[3 * x + 2]);
                dst[3 * x + 1] = char(src[3 * x + 1]);
                dst[3 * x + 2] = char(src[3 * x]);
            }
            out.append(row);
        }
        if (const int error = sink(out.constData(), out.size()))
            return error;
        out.clear();
        bottom = top;
    }
    return 0;
}

} // namespace vantrel::BmpWriter
