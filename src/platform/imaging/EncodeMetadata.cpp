#include "platform/imaging/EncodeMetadata.h"

#include <cstdio>
#include <utility>

#include "platform/imaging/PngChunk.h"
#include "platform/imaging/SourceMetadata.h"

namespace vantrel {

namespace {
// TIFF layout tags of a source that describe its own strips and samples, never the output's.
const char* const kLayoutTags[] = {
    "Exif.Image.NewSubfileType",
    "Exif.Image.ImageWidth",
    "Exif.Image.ImageLength",
    "Exif.Image.BitsPerSample",
    "Exif.Image.Compression",
    "Exif.Image.PhotometricInterpretation",
    "Exif.Image.StripOffsets",
    "Exif.Image.SamplesPerPixel",
    "Exif.Image.RowsPerStrip",
    "Exif.Image.StripByteCounts",
    "Exif.Image.PlanarConfiguration",
    "Exif.Image.TileWidth",
    "Exif.Image.TileLength",
    "Exif.Image.TileOffsets",
    "Exif.Image.TileByteCounts",
    "Exif.Image.SubIFDs",
    "Exif.Image.ExtraSamples",
    "Exif.Image.SampleFormat",
    "Exif.Image.Predictor",
    "Exif.Image.InterColorProfile",
    "Exif.Image.XMLPacket",
    "Exif.Image.IPTCNAA",
    "Exif.Image.ImageResources",
    "Exif.Image.JPEGInterchangeFormat",
    "Exif.Image.JPEGInterchangeFormatLength",
    "Exif.Image.YCbCrSubSampling",
    "Exif.Image.FillOrder",
    "Exif.Image.DNGVersion",
};

// The source's metadata adjusted to the output: orientation tag, pixel dimensions, no thumbnail.
EncodeMetadata carriedMetadata(
    const QString& source, const Image& image, const EncodeOptions& options, ImageFileFormat format)
{
    EncodeMetadata m;
    if (source.isEmpty())
        return m;
    try {
        SourceMetadata read = SourceMetadata::read(source);
        m.exif = std::move(read.exif);
        m.iptc = std::move(read.iptc);
        m.xmp = std::move(read.xmp);
        Exiv2::ExifThumb(m.exif).erase();
        // A maker note holds offsets into the file it came from. Exiv2 rewrites them for JPEG
        // (whose EXIF block it lays out itself), but in a TIFF written around the pixels the
        // offsets point at other bytes and the values read back as garbage: TIFF carries none.
        if (format == ImageFileFormat::Tiff) {
            for (auto it = m.exif.begin(); it != m.exif.end();) {
                if (it->key() == "Exif.Photo.MakerNote" || it->key().rfind("Exif.MakerNote.", 0) == 0
                    || Exiv2::ExifTags::isMakerGroup(it->groupName()))
                    it = m.exif.erase(it);
                else
                    ++it;
            }
        }
        for (const char* key : kLayoutTags) {
            const auto it = m.exif.findKey(Exiv2::ExifKey(key));
            if (it != m.exif.end())
                m.exif.erase(it);
        }
        if (!m.exif.empty()) {
            m.exif["Exif.Image.Orientation"]
                = uint16_t(options.orientationTag >= 1 && options.orientationTag <= 8 ? options.orientationTag : 1);
            m.exif["Exif.Photo.PixelXDimension"] = uint32_t(image.width());
            m.exif["Exif.Photo.PixelYDimension"] = uint32_t(image.height());
        }
        // XMP copies of the same facts must not contradict the EXIF.
        for (const char* key : { "Xmp.tiff.Orientation", "Xmp.exif.PixelXDimension", "Xmp.exif.PixelYDimension",
                 "Xmp.tiff.ImageWidth", "Xmp.tiff.ImageLength" }) {
            const auto it = m.xmp.findKey(Exiv2::XmpKey(key));
            if (it != m.xmp.end())
                m.xmp.erase(it);
        }
    } catch (const Exiv2::AnyError& e) {
        std::fprintf(stderr, "encode: metadata of %s not carried: %s\n", source.toUtf8().constData(), e.what());
        return {};
    }
    return m;
}

// PNG keeps its EXIF in an eXIf chunk, which viewers and libvips read (exiv2 would write a text
// chunk that most of them ignore, orientation included). It goes right after IHDR.
QByteArray withPngExif(const QByteArray& png, const Exiv2::ExifData& exif)
{
    constexpr qsizetype kAfterHeader = 8 + 4 + 4 + 13 + 4;
    if (exif.empty() || png.size() < kAfterHeader || png.mid(12, 4) != "IHDR")
        return png;
    Exiv2::Blob tiff;
    Exiv2::ExifParser::encode(tiff, nullptr, 0, Exiv2::littleEndian, exif);
    if (tiff.empty())
        return png;
    QByteArray out = png.left(kAfterHeader);
    PngChunk::append(out, "eXIf", QByteArray(reinterpret_cast<const char*>(tiff.data()), qsizetype(tiff.size())));
    out.append(png.mid(kAfterHeader));
    return out;
}

} // namespace

void EncodeMetadata::writeTo(Exiv2::Image& image, bool withExif) const
{
    image.readMetadata();
    if (withExif && !exif.empty())
        image.setExifData(exif);
    if (!iptc.empty())
        image.setIptcData(iptc);
    if (!xmp.empty())
        image.setXmpData(xmp);
    image.writeMetadata();
}

QByteArray EncodeMetadata::writtenInto(const QByteArray& encoded, ImageFileFormat format) const
{
    if (!any() || format == ImageFileFormat::Gif || format == ImageFileFormat::Bmp)
        return encoded;
    const bool png = format == ImageFileFormat::Png;
    QByteArray out = encoded;
    if (!iptc.empty() || !xmp.empty() || (!png && !exif.empty())) {
        auto image = Exiv2::ImageFactory::open(
            reinterpret_cast<const Exiv2::byte*>(encoded.constData()), long(encoded.size()));
        writeTo(*image, !png);
        Exiv2::BasicIo& io = image->io();
        io.open();
        const long size = io.size();
        io.seek(0, Exiv2::BasicIo::beg);
        out = QByteArray(qsizetype(size), Qt::Uninitialized);
        const long read = io.read(reinterpret_cast<Exiv2::byte*>(out.data()), size);
        io.close();
        if (read != size)
            throw Exiv2::Error(Exiv2::kerFailedToReadImageData);
    }
    return png ? withPngExif(out, exif) : out;
}

EncodeMetadata EncodeMetadata::forImage(const Image& image, ImageFileFormat format, const EncodeOptions& options)
{
    EncodeMetadata metadata = carriedMetadata(options.metadataSource, image, options, format);
    const bool holdsOrientation
        = format == ImageFileFormat::Jpeg || format == ImageFileFormat::Png || format == ImageFileFormat::Tiff;
    if (holdsOrientation && metadata.exif.empty() && options.orientationTag >= 2 && options.orientationTag <= 8) {
        metadata.exif["Exif.Image.Orientation"] = uint16_t(options.orientationTag);
        metadata.exif["Exif.Photo.PixelXDimension"] = uint32_t(image.width());
        metadata.exif["Exif.Photo.PixelYDimension"] = uint32_t(image.height());
    }
    return metadata;
}

} // namespace vantrel
