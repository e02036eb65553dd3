#include "platform/imaging/RawFile.h"

#include <charconv>
#include <cstdio>
#include <ctime>
#include <memory>

#include <QDateTime>
#include <QString>
#include <QVariantList>

#include <libraw/libraw.h>

#include "platform/imaging/VipsErrorText.h"

namespace vantrel::RawFile {

namespace {

int orientationFromFlip(int flip)
{
    switch (flip) {
    case 3:
        return 3;
    case 5:
        return 8;
    case 6:
        return 6;
    default:
        return 1;
    }
}

// LibRaw holds exposure values as floats: the decimal a camera wrote (4.2, not 4.199999809...),
// as the file's rational would give it.
double decimalOf(float value)
{
    char text[32];
    const auto end = std::to_chars(text, text + sizeof text, value).ptr;
    return QByteArray(text, int(end - text)).toDouble();
}

} // namespace

Header readHeader(const QString& path)
{
    Header header;
    try {
        auto raw = std::make_unique<LibRaw>(LIBRAW_OPTIONS_NONE);
        if (raw->open_file(path.toLocal8Bit().constData()) != LIBRAW_SUCCESS)
            return header;
        const libraw_data_t& d = raw->imgdata;
        header.width = d.sizes.width;
        header.height = d.sizes.height;
        header.orientation = orientationFromFlip(d.sizes.flip);
        header.ok = header.width > 0 && header.height > 0;
        if (d.idata.make[0])
            header.tiff.insert("Make", QString::fromLatin1(d.idata.make));
        if (d.idata.model[0])
            header.tiff.insert("Model", QString::fromLatin1(d.idata.model));
        header.tiff.insert("Orientation", header.orientation);
        if (d.other.iso_speed > 0)
            header.exif.insert("ISOSpeedRatings", QVariantList { qlonglong(d.other.iso_speed + 0.5f) });
        if (d.other.shutter > 0)
            header.exif.insert("ExposureTime", decimalOf(d.other.shutter));
        if (d.other.aperture > 0)
            header.exif.insert("FNumber", decimalOf(d.other.aperture));
        if (d.other.focal_len > 0)
            header.exif.insert("FocalLength", decimalOf(d.other.focal_len));
        if (d.other.timestamp > 0) {
            const QDateTime when = QDateTime::fromSecsSinceEpoch(d.other.timestamp);
            header.exif.insert("DateTimeOriginal", when.toString("yyyy:MM:dd HH:mm:ss"));
        }
        if (d.lens.Lens[0])
            header.aux.insert("LensModel", QString::fromLatin1(d.lens.Lens));
    } catch (...) {
        std::fprintf(stderr, "raw header: LibRaw failed on %s\n", path.toUtf8().constData());
        header = {};
    }
    return header;
}

QByteArray embeddedJpegPreview(const QString& path, int* orientation)
{
    try {
        auto raw = std::make_unique<LibRaw>(LIBRAW_OPTIONS_NONE);
        if (raw->open_file(path.toLocal8Bit().constData()) != LIBRAW_SUCCESS)
            return {};
        if (orientation)
            *orientation = orientationFromFlip(raw->imgdata.sizes.flip);
        if (raw->unpack_thumb() != LIBRAW_SUCCESS)
            return {};
        const libraw_thumbnail_t& thumb = raw->imgdata.thumbnail;
        if (thumb.tformat != LIBRAW_THUMBNAIL_JPEG || !thumb.thumb || thumb.tlength == 0)
            return {};
        return QByteArray(thumb.thumb, int(thumb.tlength));
    } catch (...) {
        std::fprintf(stderr, "raw preview: LibRaw failed on %s\n", path.toUtf8().constData());
        return {};
    }
}

vips::VImage develop(const QString& path, bool halfSize)
{
    try {
        auto raw = std::make_unique<LibRaw>(LIBRAW_OPTIONS_NONE);
        raw->imgdata.params.output_bps = 16;
        raw->imgdata.params.use_camera_wb = 1;
        raw->imgdata.params.half_size = halfSize ? 1 : 0;
        if (raw->open_file(path.toLocal8Bit().constData()) != LIBRAW_SUCCESS || raw->unpack() != LIBRAW_SUCCESS
            || raw->dcraw_process() != LIBRAW_SUCCESS)
            return {};
        int error = 0;
        // Owned here; freed with LibRaw's own function on every path.
        std::unique_ptr<libraw_processed_image_t, void (*)(libraw_processed_image_t*)> owned(
            raw->dcraw_make_mem_image(&error), &LibRaw::dcraw_clear_mem);
        const libraw_processed_image_t* developed = owned.get();
        if (!developed)
            return {};
        vips::VImage image;
        if (developed->type == LIBRAW_IMAGE_BITMAP && (developed->bits == 8 || developed->bits == 16)) {
            const VipsBandFormat format = developed->bits == 16 ? VIPS_FORMAT_USHORT : VIPS_FORMAT_UCHAR;
            // LibRaw's buffer is freed on return: libvips takes its own copy.
            VipsImage* copied = vips_image_new_from_memory_copy(
                developed->data, developed->data_size, developed->width, developed->height, developed->colors, format);
            if (!copied)
                throw vips::VError();
            image = vips::VImage(copied);
            const bool grey = developed->colors < 3;
            image = image.copy(vips::VImage::option()->set("interpretation",
                grey ? (developed->bits == 16 ? VIPS_INTERPRETATION_GREY16 : VIPS_INTERPRETATION_B_W)
                     : (developed->bits == 16 ? VIPS_INTERPRETATION_RGB16 : VIPS_INTERPRETATION_sRGB)));
        }
        return image;
    } catch (const vips::VError& e) {
        std::fprintf(stderr, "raw develop: %s: %s\n", path.toUtf8().constData(),
            VipsErrorText::take(e, path).toUtf8().constData());
    } catch (...) {
        std::fprintf(stderr, "raw develop: LibRaw failed on %s\n", path.toUtf8().constData());
    }
    return {};
}

} // namespace vantrel::RawFile
