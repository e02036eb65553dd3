#include "platform/imaging/ImageProperties.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <utility>

#include <fcntl.h>
#include <unistd.h>

#include <QFile>
#include <QFileInfo>

#include <exiv2/exiv2.hpp>
#include <lcms2.h>

#include "platform/imaging/DecodeSource.h"
#include "platform/imaging/DocumentHeaderSize.h"
#include "platform/imaging/ImageFileTypes.h"
#include "platform/imaging/JpegHeader.h"
#include "platform/imaging/LoaderSniff.h"
#include "platform/imaging/MetadataDictionary.h"
#include "platform/imaging/RawFile.h"
#include "platform/imaging/SourceMetadata.h"
#include "platform/imaging/VipsErrorText.h"
#include "platform/imaging/VipsInclude.h"

namespace vantrel {

namespace {

ImageProperties invalid(const QString& path, const QString& why)
{
    ImageProperties p;
    p.error = why;
    std::fprintf(stderr, "image properties: %s: %s\n", path.toUtf8().constData(), why.toUtf8().constData());
    return p;
}

void setSizeKeys(ImageProperties& p)
{
    p.dictionary.insert("PixelWidth", p.pixelWidth);
    p.dictionary.insert("PixelHeight", p.pixelHeight);
    if (p.hasOrientationTag)
        p.dictionary.insert("Orientation", p.orientation);
    if (!p.colorModel.isEmpty())
        p.dictionary.insert("ColorModel", p.colorModel);
    p.dictionary.insert("Depth", p.bitsPerSample);
    p.dictionary.insert("HasAlpha", p.hasAlpha);
}

QString colorModelOf(VipsInterpretation interpretation, int bands)
{
    switch (interpretation) {
    case VIPS_INTERPRETATION_B_W:
    case VIPS_INTERPRETATION_GREY16:
        return "Gray";
    case VIPS_INTERPRETATION_CMYK:
        return "CMYK";
    case VIPS_INTERPRETATION_LAB:
    case VIPS_INTERPRETATION_LABQ:
    case VIPS_INTERPRETATION_LABS:
        return "Lab";
    default:
        return bands <= 2 ? "Gray" : "RGB";
    }
}

int bitsOf(VipsBandFormat format)
{
    switch (format) {
    case VIPS_FORMAT_USHORT:
    case VIPS_FORMAT_SHORT:
        return 16;
    case VIPS_FORMAT_UINT:
    case VIPS_FORMAT_INT:
    case VIPS_FORMAT_FLOAT:
        return 32;
    case VIPS_FORMAT_DOUBLE:
        return 64;
    default:
        return 8;
    }
}

QString profileDescription(const void* data, size_t size)
{
    if (size < 128 || size > 64 * 1024 * 1024)
        return {};
    cmsHPROFILE profile = cmsOpenProfileFromMem(data, cmsUInt32Number(size));
    if (!profile)
        return {};
    char text[256] = {};
    const cmsUInt32Number n = cmsGetProfileInfoASCII(profile, cmsInfoDescription, "en", "US", text, sizeof text);
    cmsCloseProfile(profile);
    return n > 0 ? QString::fromLatin1(text).trimmed() : QString();
}

bool blobOf(VipsImage* image, const char* name, const void** data, size_t* size)
{
    return vips_image_get_typeof(image, name) != 0 && vips_image_get_blob(image, name, data, size) == 0;
}

// libpng text chunks that exiv2 and ImageMagick use for metadata: "Raw profile type exif" and
// friends hold hex text after a name line and a length line.
QByteArray rawProfileBytes(const char* text)
{
    const char* p = text;
    int newlines = 0;
    while (*p && newlines < 3)
        if (*p++ == '\n')
            ++newlines;
    QByteArray hex;
    for (; *p; ++p)
        if (std::isxdigit(static_cast<unsigned char>(*p)))
            hex.append(*p);
    return QByteArray::fromHex(hex);
}

struct PngTextMetadata {
    QByteArray exif, iptc, xmp;
};

PngTextMetadata pngTextMetadata(VipsImage* image)
{
    PngTextMetadata found;
    gchar** names = vips_image_get_fields(image);
    for (int i = 0; names && names[i]; ++i) {
        const char* name = names[i];
        if (std::strncmp(name, "png-comment-", 12) != 0)
            continue;
        const char* text = nullptr;
        if (vips_image_get_string(image, name, &text) != 0 || !text)
            continue;
        if (std::strstr(name, "Raw profile type exif") || std::strstr(name, "Raw profile type APP1"))
            found.exif = rawProfileBytes(text);
        else if (std::strstr(name, "Raw profile type iptc"))
            found.iptc = rawProfileBytes(text);
        else if (std::strstr(name, "XML:com.adobe.xmp"))
            found.xmp = QByteArray(text);
    }
    g_strfreev(names);
    return found;
}

// DPI from the EXIF resolution and its unit (2 inch, 3 centimetre); false when not both stated.
bool exifDpi(const Exiv2::ExifData& exif, double* x, double* y)
{
    const auto xr = exif.findKey(Exiv2::ExifKey("Exif.Image.XResolution"));
    const auto yr = exif.findKey(Exiv2::ExifKey("Exif.Image.YResolution"));
    if (xr == exif.end() || yr == exif.end())
        return false;
    const auto unit = exif.findKey(Exiv2::ExifKey("Exif.Image.ResolutionUnit"));
    const long u = unit != exif.end() && unit->count() > 0 ? unit->toLong() : 2;
    const double factor = u == 3 ? 2.54 : 1.0;
    *x = xr->toFloat() * factor;
    *y = yr->toFloat() * factor;
    return u != 1 && std::isfinite(*x) && std::isfinite(*y) && *x > 0 && *y > 0;
}

// Reads the metadata of a file that libvips does not hand over (TIFF tags, JPEG 2000 boxes).
void readWithExiv2(const QString& path, Exiv2::ExifData& exif, Exiv2::IptcData& iptc, Exiv2::XmpData& xmp)
{
    try {
        SourceMetadata read = SourceMetadata::read(path);
        exif = std::move(read.exif);
        iptc = std::move(read.iptc);
        xmp = std::move(read.xmp);
    } catch (const Exiv2::AnyError& e) {
        std::fprintf(stderr, "image properties: %s: %s\n", path.toUtf8().constData(), e.what());
    }
}

// The first bytes of a file (fewer when it is shorter; empty when it cannot be read).
QByteArray fileHead(const QByteArray& file)
{
    char buffer[16];
    const int fd = ::open(file.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return {};
    const ssize_t got = ::read(fd, buffer, sizeof buffer);
    ::close(fd);
    return got > 0 ? QByteArray(buffer, int(got)) : QByteArray();
}

// Opens the header with the loader the first bytes name, reading the file as a decode does
// (DecodeSource): a loader that maps its file (ImageMagick's pings included) gets a copy in
// memory, so that a file cut short meanwhile fails this read and nothing else. Null with the
// reason in libvips' error buffer.
VipsImage* openHeader(const QString& path)
{
    try {
        const vips::VImage image
            = DecodeSource::open(path).load(vips::VImage::option()->set("access", VIPS_ACCESS_SEQUENTIAL));
        VipsImage* header = image.get_image();
        g_object_ref(header);
        return header;
    } catch (const vips::VError& e) {
        vips_error_clear();
        vips_error(
            "image properties", "%s", VipsErrorText::oneLine(QString::fromUtf8(e.what()), path).toUtf8().constData());
        return nullptr;
    }
}

ImageProperties fromVips(const QString& path, PropertyDepth depth)
{
    VipsImage* image = openHeader(path);
    if (!image) {
        const QString why = QString::fromUtf8(vips_error_buffer()).trimmed().section('\n', 0, 0);
        vips_error_clear();
        return invalid(path, why.isEmpty() ? QStringLiteral("not an image") : why);
    }
    ImageProperties p;
    p.valid = true;
    p.pixelWidth = vips_image_get_width(image);
    p.pixelHeight = vips_image_get_height(image);
    p.bitsPerSample = bitsOf(vips_image_get_format(image));
    p.colorModel = colorModelOf(vips_image_get_interpretation(image), vips_image_get_bands(image));
    p.hasAlpha = vips_image_hasalpha(image);
    const char* loader = nullptr;
    if (vips_image_get_typeof(image, VIPS_META_LOADER) && vips_image_get_string(image, VIPS_META_LOADER, &loader) == 0)
        p.loader = QString::fromLatin1(loader);
    // The family's name ("gifload", "magickload"), also for a copy read by "gifload_source" or
    // "magickload_buffer".
    p.loader = p.loader.section(QLatin1Char('_'), 0, 0);
    const bool heif = p.loader.startsWith("heif");
    int orientation = 0;
    if (vips_image_get_typeof(image, VIPS_META_ORIENTATION)
        && vips_image_get_int(image, VIPS_META_ORIENTATION, &orientation) == 0) {
        p.hasOrientationTag = true;
        // libheif has already applied the file's transforms: what it hands over is upright.
        p.orientation = heif || orientation < 1 || orientation > 8 ? 1 : orientation;
    }

    const void* data = nullptr;
    size_t size = 0;
    Exiv2::ExifData exif;
    Exiv2::IptcData iptc;
    Exiv2::XmpData xmp;
    bool haveExif = false;
    const bool png = p.loader.startsWith("png");
    PngTextMetadata pngText;
    if (png)
        pngText = pngTextMetadata(image);
    // The add scan only needs the size and orientation: libvips has them unless the EXIF sits in
    // a PNG text chunk, so the EXIF block is decoded only for a full read or for that case.
    const bool full = depth == PropertyDepth::Full;
    if (full && blobOf(image, VIPS_META_EXIF_NAME, &data, &size))
        haveExif = MetadataDictionary::decodeExif(data, size, exif);
    else if ((full || !p.hasOrientationTag) && !pngText.exif.isEmpty())
        haveExif = MetadataDictionary::decodeExif(pngText.exif.constData(), size_t(pngText.exif.size()), exif);

    // A PNG tagged through a text chunk carries an orientation that libvips does not see.
    if (haveExif && !p.hasOrientationTag) {
        const auto o = exif.findKey(Exiv2::ExifKey("Exif.Image.Orientation"));
        if (o != exif.end() && o->count() > 0) {
            const long v = o->toLong();
            p.hasOrientationTag = true;
            p.orientation = heif || v < 1 || v > 8 ? 1 : int(v);
        }
    }

    if (full) {
        if (blobOf(image, VIPS_META_IPTC_NAME, &data, &size))
            MetadataDictionary::decodeIptc(data, size, iptc);
        else if (!pngText.iptc.isEmpty())
            MetadataDictionary::decodeIptc(pngText.iptc.constData(), size_t(pngText.iptc.size()), iptc);
        if (blobOf(image, VIPS_META_XMP_NAME, &data, &size))
            MetadataDictionary::decodeXmp(data, size, xmp);
        else if (!pngText.xmp.isEmpty())
            MetadataDictionary::decodeXmp(pngText.xmp.constData(), size_t(pngText.xmp.size()), xmp);
        if (!haveExif && (p.loader.startsWith("tiff") || p.loader.startsWith("jp2k")))
            readWithExiv2(path, exif, iptc, xmp);
        if (blobOf(image, VIPS_META_ICC_NAME, &data, &size)) {
            const QString name = profileDescription(data, size);
            if (!name.isEmpty())
                p.dictionary.insert("ProfileName", name);
        }
        double dpiX = 0, dpiY = 0;
        if (exifDpi(exif, &dpiX, &dpiY)) {
            p.dictionary.insert("DPIWidth", dpiX);
            p.dictionary.insert("DPIHeight", dpiY);
        } else if (vips_image_get_typeof(image, "resolution-unit") || vips_image_get_xres(image) != 1.0) {
            // JFIF density or PNG pHYs, which libvips holds in pixels per millimetre.
            dpiX = std::round(vips_image_get_xres(image) * 25.4 * 1000) / 1000;
            dpiY = std::round(vips_image_get_yres(image) * 25.4 * 1000) / 1000;
            if (dpiX > 0 && dpiY > 0) {
                p.dictionary.insert("DPIWidth", dpiX);
                p.dictionary.insert("DPIHeight", dpiY);
            }
        }
        MetadataDictionary::fillGroups(exif, iptc, xmp, p.dictionary);
        if (heif && p.dictionary.contains("{TIFF}")) {
            QVariantMap tiff = p.dictionary.value("{TIFF}").toMap();
            if (tiff.contains("Orientation"))
                tiff.insert("Orientation", 1);
            p.dictionary.insert("{TIFF}", tiff);
        }
        if (p.loader.startsWith("jpeg")) {
            QVariantMap jfif;
            int multiscan = 0;
            if (vips_image_get_typeof(image, "jpeg-multiscan")
                && vips_image_get_int(image, "jpeg-multiscan", &multiscan) == 0)
                jfif.insert("IsProgressive", multiscan != 0);
            if (vips_image_get_typeof(image, "resolution-unit")) {
                jfif.insert("XDensity", std::round(vips_image_get_xres(image) * 25.4));
                jfif.insert("YDensity", std::round(vips_image_get_yres(image) * 25.4));
                jfif.insert("DensityUnit", 1);
            }
            if (!jfif.isEmpty())
                p.dictionary.insert("{JFIF}", jfif);
        }
    }
    g_object_unref(image);
    setSizeKeys(p);
    return p;
}

// The groups exiv2 reads from a RAW file merged over LibRaw's few values, so that a RAW photo's
// record carries its flash, exposure, GPS, keywords and so on like any other photo's. LibRaw's
// orientation stays: it is the one the sizes and the upright loads go by.
void mergeRawMetadata(const QString& path, ImageProperties& p)
{
    Exiv2::ExifData exif;
    Exiv2::IptcData iptc;
    Exiv2::XmpData xmp;
    readWithExiv2(path, exif, iptc, xmp);
    QVariantMap read;
    MetadataDictionary::fillGroups(exif, iptc, xmp, read);
    for (auto it = read.constBegin(); it != read.constEnd(); ++it) {
        QVariantMap merged = p.dictionary.value(it.key()).toMap();
        const QVariantMap group = it.value().toMap();
        for (auto entry = group.constBegin(); entry != group.constEnd(); ++entry)
            merged.insert(entry.key(), entry.value());
        if (it.key() == QLatin1String("{TIFF}"))
            merged.insert("Orientation", p.orientation);
        p.dictionary.insert(it.key(), merged);
    }
}

ImageProperties fromRaw(const QString& path, PropertyDepth depth)
{
    const RawFile::Header header = RawFile::readHeader(path);
    if (!header.ok)
        return {};
    ImageProperties p;
    p.valid = true;
    p.loader = "raw";
    p.pixelWidth = header.width;
    p.pixelHeight = header.height;
    p.orientation = header.orientation;
    p.hasOrientationTag = true;
    p.colorModel = "RGB";
    p.bitsPerSample = 16;
    if (!header.tiff.isEmpty())
        p.dictionary.insert("{TIFF}", header.tiff);
    if (!header.exif.isEmpty())
        p.dictionary.insert("{Exif}", header.exif);
    if (!header.aux.isEmpty())
        p.dictionary.insert("{ExifAux}", header.aux);
    if (depth == PropertyDepth::Full)
        mergeRawMetadata(path, p);
    setSizeKeys(p);
    return p;
}

// A JPEG's size and orientation from its marker segments; not valid when they do not describe
// a complete header (the caller then asks libvips, which says why).
ImageProperties fromJpegMarkers(const QString& path)
{
    const JpegHeader header = JpegHeader::read(QFile::encodeName(path));
    ImageProperties p;
    if (!header.ok)
        return p;
    p.valid = true;
    p.loader = "jpegload";
    p.pixelWidth = header.width;
    p.pixelHeight = header.height;
    p.hasOrientationTag = header.hasOrientationTag;
    p.orientation = header.orientation;
    p.colorModel = header.components == 1 ? "Gray" : header.components == 4 ? "CMYK" : "RGB";
    p.bitsPerSample = header.precision > 8 ? 16 : 8;
    setSizeKeys(p);
    return p;
}

ImageProperties fromDocumentHeader(const QString& loader, QSize size)
{
    ImageProperties p;
    p.valid = true;
    p.loader = loader;
    p.pixelWidth = size.width();
    p.pixelHeight = size.height();
    p.colorModel = "RGB";
    setSizeKeys(p);
    return p;
}

} // namespace

ImageProperties readImageProperties(const QString& path, PropertyDepth depth)
{
    if (path.isEmpty())
        return invalid(path, "empty path");
    const QFileInfo info(path);
    if (!info.exists() || !info.isFile())
        return invalid(path, "no such file");
    if (info.size() == 0)
        return invalid(path, "empty file");
    const QString ext = info.suffix().toLower();
    if (ImageFileTypes::isRawExtension(ext)) {
        ImageProperties raw = fromRaw(path, depth);
        if (raw.valid)
            return raw;
    }
    if (ext == "eps" || ext == "epsf" || ext == "epsi") {
        const QSize size = DocumentHeaderSize::epsSize(path);
        if (!size.isEmpty())
            return fromDocumentHeader("eps", size);
    } else if (ext == "pict" || ext == "pct" || ext == "pic") {
        const QSize size = DocumentHeaderSize::pictSize(path);
        if (!size.isEmpty())
            return fromDocumentHeader("pict", size);
    }
    if (depth == PropertyDepth::Probe) {
        if (qstrcmp(loaderForHeader(fileHead(QFile::encodeName(path))), "jpegload") == 0) {
            ImageProperties jpeg = fromJpegMarkers(path);
            if (jpeg.valid)
                return jpeg;
        }
        depth = PropertyDepth::SizeAndOrientation;
    }
    return fromVips(path, depth);
}

} // namespace vantrel
