// The one-photo path's writers that work outside a run: the single-image writer (the toolbox's)
// and the re-encoding of image data without its colour profile.
#include "core/Processing/PhotoPipeline.h"

#include <cstdio>
#include <utility>

#include "core/Helper/Utils.h"
#include "platform/imaging/VipsErrorText.h"
#include "platform/imaging/VipsInclude.h"

namespace vantrel {

namespace {

QByteArray takeBuffer(void* buffer, size_t length)
{
    QByteArray bytes(static_cast<const char*>(buffer), static_cast<qsizetype>(length));
    g_free(buffer);
    return bytes;
}

/// `image` encoded in the type its loader read: metadata fields are written back as they are held.
QByteArray encodeAsLoaded(const vips::VImage& image, const QString& loader)
{
    if (loader.startsWith(QLatin1String("magickload"))) {
        if (image.get_typeof("magick-format") == 0)
            return {};
        VipsBlob* blob
            = image.magicksave_buffer(vips::VImage::option()->set("format", image.get_string("magick-format")));
        size_t length = 0;
        const void* bytes = vips_blob_get(blob, &length);
        QByteArray out(static_cast<const char*>(bytes), static_cast<qsizetype>(length));
        vips_area_unref(VIPS_AREA(blob));
        return out;
    }
    static const std::pair<const char*, const char*> kSuffixes[] = {
        { "jpegload", ".jpg" },
        { "pngload", ".png" },
        { "gifload", ".gif" },
        { "tiffload", ".tif" },
        { "webpload", ".webp" },
        { "jp2kload", ".jp2" },
        { "jxlload", ".jxl" },
        { "heifload", ".heic" },
    };
    const char* suffix = nullptr;
    for (const auto& [prefix, candidate] : kSuffixes) {
        if (loader.startsWith(QLatin1String(prefix)))
            suffix = candidate;
    }
    if (!suffix)
        return {};
    if (loader.startsWith(QLatin1String("heifload")) && image.get_typeof("heif-compression") != 0
        && QString::fromUtf8(image.get_string("heif-compression")) == QLatin1String("av1"))
        suffix = ".avif";
    void* buffer = nullptr;
    size_t length = 0;
    image.write_to_buffer(suffix, &buffer, &length);
    return takeBuffer(buffer, length);
}

} // namespace

bool PhotoPipeline::writeCGImage(
    const Image& image, const QString& toURL, const QString& withType, const QVariantMap& andOptions)
{
    return Utils::sharedUtils().writeCGImage(image, toURL, withType, andOptions);
}

QByteArray PhotoPipeline::imageDataWithoutColorSyncProfile(const QByteArray& data)
{
    if (data.isEmpty())
        return {};
    const char* loaderName = vips_foreign_find_load_buffer(data.constData(), static_cast<size_t>(data.size()));
    if (!loaderName) {
        vips_error_clear();
        std::fputs("profile removal: not an image\n", stderr);
        return {};
    }
    // The loader reads from a copy owned by libvips: an operation cached by libvips may outlive
    // `data`.
    VipsBlob* blob = vips_blob_copy(data.constData(), static_cast<size_t>(data.size()));
    QByteArray out;
    try {
        const auto load = [&](bool allPages) {
            vips::VImage image;
            vips::VOption* options = vips::VImage::option()->set("buffer", blob)->set("out", &image);
            if (allPages)
                options->set("n", -1);
            vips::VImage::call(loaderName, options);
            return image;
        };
        vips::VImage image = load(false);
        const int pages = image.get_typeof(VIPS_META_N_PAGES) ? image.get_int(VIPS_META_N_PAGES) : 1;
        if (pages > 1) {
            image = load(true);
            // Every frame, or nothing: a strip of fewer frames would silently drop some.
            const int pageHeight
                = image.get_typeof(VIPS_META_PAGE_HEIGHT) ? image.get_int(VIPS_META_PAGE_HEIGHT) : image.height();
            if (pageHeight <= 0 || image.height() != pageHeight * pages)
                throw vips::VError("frames of different sizes");
        }
        image = image.copy(); // a private header: the loaded image may be shared through the cache
        image.remove(VIPS_META_ICC_NAME);
        // The loader's nickname ("jpegload_buffer"), which names the type to write back.
        const QString loader = image.get_typeof(VIPS_META_LOADER) != 0
            ? QString::fromUtf8(image.get_string(VIPS_META_LOADER))
            : QString();
        out = encodeAsLoaded(image, loader);
        if (out.isEmpty())
            std::fprintf(stderr, "profile removal: cannot write back %s data\n", qUtf8Printable(loader));
    } catch (const vips::VError& error) {
        std::fprintf(stderr, "profile removal: %s\n", VipsErrorText::take(error).toUtf8().constData());
        out.clear();
    }
    vips_area_unref(VIPS_AREA(blob));
    return out;
}

} // namespace vantrel
