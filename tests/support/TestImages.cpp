#include "support/TestImages.h"

#include <cmath>
#include <cstdio>

#include <QFile>
#include <QFileInfo>
#include <QList>

#include <exiv2/exiv2.hpp>

#include "platform/imaging/PngChunk.h"

namespace vantrel::testimages {

namespace {

void put16(QByteArray& out, quint16 v)
{
    out.append(char(v & 0xFF)).append(char(v >> 8));
}

void put32(QByteArray& out, quint32 v)
{
    put16(out, quint16(v & 0xFFFF));
    put16(out, quint16(v >> 16));
}

// Little-endian TIFF IFD writer: entries are added in tag order; values that do not fit in four
// bytes go into an area after the directory.
class TiffDirectory {
public:
    void add(quint16 tag, quint16 type, quint32 count, const QByteArray& value)
    {
        m_entries.append({ tag, type, count, value });
    }
    void addShort(quint16 tag, quint16 v)
    {
        QByteArray b;
        put16(b, v);
        add(tag, 3, 1, b);
    }
    void addLong(quint16 tag, quint32 v)
    {
        QByteArray b;
        put32(b, v);
        add(tag, 4, 1, b);
    }
    void addAscii(quint16 tag, const QByteArray& text) { add(tag, 2, quint32(text.size() + 1), text + '\0'); }
    // Serialised at `offset`; the last entry area ends the block.
    QByteArray build(quint32 offset) const
    {
        QByteArray dir, extra;
        const quint32 extraStart = offset + 2 + quint32(m_entries.size()) * 12 + 4;
        put16(dir, quint16(m_entries.size()));
        for (const Entry& e : m_entries) {
            put16(dir, e.tag);
            put16(dir, e.type);
            put32(dir, e.count);
            if (e.value.size() <= 4) {
                dir.append(e.value);
                dir.append(QByteArray(4 - e.value.size(), '\0'));
            } else {
                put32(dir, extraStart + quint32(extra.size()));
                extra.append(e.value);
                if (extra.size() % 2)
                    extra.append('\0');
            }
        }
        put32(dir, 0);
        return dir + extra;
    }

private:
    struct Entry {
        quint16 tag, type;
        quint32 count;
        QByteArray value;
    };
    QList<Entry> m_entries;
};

} // namespace

bool writeLinearDng(const QString& path, int width, int height, int orientation)
{
    QByteArray pixels;
    pixels.reserve(width * height * 6);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const Corner c = y < height / 2 ? (x < width / 2 ? Corner::TopLeft : Corner::TopRight)
                                            : (x < width / 2 ? Corner::BottomLeft : Corner::BottomRight);
            for (double v : cornerColour(c))
                put16(pixels, quint16(v / 255.0 * 60000.0));
        }
    const quint32 pixelOffset = 8;
    TiffDirectory ifd;
    QByteArray bits;
    for (int i = 0; i < 3; ++i)
        put16(bits, 16);
    QByteArray identity;
    for (int i = 0; i < 9; ++i) {
        put32(identity, i % 4 == 0 ? 1 : 0);
        put32(identity, 1);
    }
    QByteArray neutral;
    for (int i = 0; i < 3; ++i) {
        put32(neutral, 1);
        put32(neutral, 1);
    }
    ifd.addLong(254, 0);
    ifd.addLong(256, quint32(width));
    ifd.addLong(257, quint32(height));
    ifd.add(258, 3, 3, bits);
    ifd.addShort(259, 1);
    ifd.addShort(262, 34892); // LinearRaw
    ifd.addAscii(271, "Testmaker");
    ifd.addAscii(272, "TM-1");
    ifd.addLong(273, pixelOffset);
    ifd.addShort(274, quint16(orientation));
    ifd.addShort(277, 3);
    ifd.addLong(278, quint32(height));
    ifd.addLong(279, quint32(pixels.size()));
    ifd.addShort(284, 1);
    ifd.add(50706, 1, 4, QByteArray::fromHex("01040000"));
    ifd.addAscii(50708, "Testmaker TM-1");
    ifd.add(50721, 10, 9, identity);
    ifd.add(50728, 5, 3, neutral);
    ifd.addShort(50778, 21);
    QByteArray file("II*\0", 4);
    put32(file, pixelOffset + quint32(pixels.size()));
    file.append(pixels);
    file.append(ifd.build(quint32(file.size())));
    return writeBytes(path, file);
}

std::vector<double> cornerColour(Corner corner, bool grey)
{
    if (grey) {
        switch (corner) {
        case Corner::TopLeft:
            return { 30 };
        case Corner::TopRight:
            return { 100 };
        case Corner::BottomLeft:
            return { 170 };
        case Corner::BottomRight:
            return { 240 };
        }
    }
    switch (corner) {
    case Corner::TopLeft:
        return { 230, 20, 20 }; // red
    case Corner::TopRight:
        return { 20, 200, 20 }; // green
    case Corner::BottomLeft:
        return { 20, 20, 230 }; // blue
    case Corner::BottomRight:
        return { 240, 230, 20 }; // yellow
    }
    return {};
}

vips::VImage makePattern(int width, int height, const PatternOptions& options)
{
    const vips::VImage xy = vips::VImage::xyz(width, height);
    const vips::VImage left = xy[0] < width / 2.0;
    const vips::VImage top = xy[1] < height / 2.0;
    const bool g = options.grey;
    const vips::VImage upper = left.ifthenelse(cornerColour(Corner::TopLeft, g), cornerColour(Corner::TopRight, g));
    const vips::VImage lower
        = left.ifthenelse(cornerColour(Corner::BottomLeft, g), cornerColour(Corner::BottomRight, g));
    vips::VImage image = top.ifthenelse(upper, lower);
    VipsInterpretation interpretation = g ? VIPS_INTERPRETATION_B_W : VIPS_INTERPRETATION_sRGB;
    double alphaValue = 255;
    if (options.sixteenBit) {
        image = (image * 257).cast(VIPS_FORMAT_USHORT);
        interpretation = g ? VIPS_INTERPRETATION_GREY16 : VIPS_INTERPRETATION_RGB16;
        alphaValue = 65535;
    } else {
        image = image.cast(VIPS_FORMAT_UCHAR);
    }
    if (options.alpha)
        image = image.bandjoin_const({ alphaValue });
    return image.copy(vips::VImage::option()->set("interpretation", interpretation));
}

bool writePattern(const QString& path, int width, int height, const PatternOptions& options)
{
    try {
        vips::VImage image = makePattern(width, height, options);
        const QString ext = QFileInfo(path).suffix().toLower();
        const QByteArray p = path.toUtf8();
        if (ext == "jpg" || ext == "jpeg")
            image.jpegsave(p.constData(), vips::VImage::option()->set("Q", options.quality));
        else
            image.write_to_file(p.constData());
        return true;
    } catch (const vips::VError& e) {
        std::fprintf(stderr, "writePattern %s: %s\n", path.toUtf8().constData(), e.what());
        return false;
    }
}

bool setMetadataList(const QString& path, const std::vector<std::pair<std::string, std::string>>& values)
{
    try {
        auto image = Exiv2::ImageFactory::open(path.toStdString());
        image->readMetadata();
        Exiv2::ExifData& exif = image->exifData();
        Exiv2::IptcData& iptc = image->iptcData();
        Exiv2::XmpData& xmp = image->xmpData();
        for (const auto& [key, value] : values) {
            if (key.rfind("Exif.", 0) == 0) {
                exif[key].setValue(value);
            } else if (key.rfind("Iptc.", 0) == 0) {
                Exiv2::IptcKey k(key);
                Exiv2::Value::AutoPtr v = Exiv2::Value::create(Exiv2::IptcDataSets::dataSetType(k.tag(), k.record()));
                v->read(value);
                iptc.add(k, v.get());
            } else if (key.rfind("Xmp.", 0) == 0) {
                xmp[key] = value;
            }
        }
        image->writeMetadata();
        return true;
    } catch (const Exiv2::AnyError& e) {
        std::fprintf(stderr, "setMetadata %s: %s\n", path.toUtf8().constData(), e.what());
        return false;
    }
}

bool setMetadata(const QString& path, const std::map<std::string, std::string>& values)
{
    return setMetadataList(path, { values.begin(), values.end() });
}

bool setOrientation(const QString& path, int orientation)
{
    return setMetadata(path, { { "Exif.Image.Orientation", std::to_string(orientation) } });
}

bool setCameraTags(const QString& path)
{
    return setMetadataList(path,
        {
            { "Exif.Image.Make", "Testmaker" },
            { "Exif.Image.Model", "TM-1" },
            { "Exif.Image.Software", "builder 1.0" },
            { "Exif.Image.XResolution", "300/1" },
            { "Exif.Image.YResolution", "300/1" },
            { "Exif.Image.ResolutionUnit", "2" },
            { "Exif.Photo.DateTimeOriginal", "2021:06:15 14:30:05" },
            { "Exif.Photo.ExposureTime", "1/250" },
            { "Exif.Photo.FNumber", "28/10" },
            { "Exif.Photo.ISOSpeedRatings", "100 200" },
            { "Exif.Photo.FocalLength", "42/10" },
            { "Exif.Photo.ExposureBiasValue", "-1/3" },
            { "Exif.Photo.ExposureMode", "1" },
            { "Exif.Photo.Flash", "1" },
            { "Exif.Photo.LensModel", "Test Lens 24-70" },
            { "Exif.GPSInfo.GPSLatitudeRef", "N" },
            { "Exif.GPSInfo.GPSLatitude", "51/1 30/1 0/1" },
            { "Exif.GPSInfo.GPSLongitudeRef", "W" },
            { "Exif.GPSInfo.GPSLongitude", "0/1 7/1 30/1" },
            { "Exif.GPSInfo.GPSAltitudeRef", "0" },
            { "Exif.GPSInfo.GPSAltitude", "35/1" },
            { "Iptc.Application2.Keywords", "alpha" },
            { "Iptc.Application2.Keywords", "beta" },
            { "Iptc.Application2.Caption", "A test caption" },
        });
}

bool writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    return f.write(bytes) == bytes.size();
}

QByteArray readBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QByteArray takeBlob(VipsBlob* blob)
{
    size_t length = 0;
    const void* data = vips_blob_get(blob, &length);
    QByteArray bytes(static_cast<const char*>(data), qsizetype(length));
    vips_area_unref(VIPS_AREA(blob));
    return bytes;
}

bool writeEmptyFile(const QString& path)
{
    return writeBytes(path, {});
}

bool writeTruncatedJpeg(const QString& path, int width, int height, int keepBytes)
{
    try {
        return writeBytes(path, takeBlob(makePattern(width, height).jpegsave_buffer()).left(keepBytes));
    } catch (const vips::VError& e) {
        std::fprintf(stderr, "writeTruncatedJpeg: %s\n", e.what());
        return false;
    }
}

bool writeLyingPng(const QString& path, quint32 width, quint32 height)
{
    QByteArray png("\x89PNG\r\n\x1a\n", 8);
    QByteArray ihdr;
    PngChunk::appendBigEndian(ihdr, width);
    PngChunk::appendBigEndian(ihdr, height);
    ihdr.append(char(8)).append(char(2)).append(char(0)).append(char(0)).append(char(0)); // 8-bit RGB
    PngChunk::append(png, "IHDR", ihdr);
    PngChunk::append(png, "IDAT", QByteArray::fromHex("789c030000000001")); // empty zlib stream
    PngChunk::append(png, "IEND", {});
    return writeBytes(path, png);
}

std::vector<double> pixelAt(const vips::VImage& image, int x, int y)
{
    std::vector<double> p = const_cast<vips::VImage&>(image).getpoint(x, y);
    if (image.format() == VIPS_FORMAT_USHORT)
        for (double& v : p)
            v /= 257.0;
    return p;
}

bool looksLike(const std::vector<double>& pixel, Corner corner, bool grey, double tolerance)
{
    const std::vector<double> want = cornerColour(corner, grey);
    if (pixel.size() < want.size())
        return false;
    for (size_t i = 0; i < want.size(); ++i)
        if (std::abs(pixel[i] - want[i]) > tolerance)
            return false;
    return true;
}

Corner nearestCorner(const std::vector<double>& pixel, bool grey)
{
    Corner best = Corner::TopLeft;
    double bestDistance = 1e30;
    for (Corner c : { Corner::TopLeft, Corner::TopRight, Corner::BottomLeft, Corner::BottomRight }) {
        const std::vector<double> want = cornerColour(c, grey);
        double d = 0;
        for (size_t i = 0; i < want.size() && i < pixel.size(); ++i)
            d += (pixel[i] - want[i]) * (pixel[i] - want[i]);
        if (d < bestDistance) {
            bestDistance = d;
            best = c;
        }
    }
    return best;
}

std::vector<Corner> cornersOf(const vips::VImage& lazy, bool grey)
{
    // Decoded once: libvips' JPEG 2000 loader fails on a second region of the same file.
    const vips::VImage image = lazy.copy_memory();
    const int w = image.width();
    const int h = image.height();
    const int ix = std::min(3, w / 4);
    const int iy = std::min(3, h / 4);
    return {
        nearestCorner(pixelAt(image, ix, iy), grey),
        nearestCorner(pixelAt(image, w - 1 - ix, iy), grey),
        nearestCorner(pixelAt(image, ix, h - 1 - iy), grey),
        nearestCorner(pixelAt(image, w - 1 - ix, h - 1 - iy), grey),
    };
}

} // namespace vantrel::testimages
