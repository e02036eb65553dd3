#include "platform/imaging/DecodeFootprint.h"

#include <algorithm>

#include <QFile>
#include <QFileInfo>

#include "platform/imaging/DecodeSource.h"
#include "platform/imaging/ImageProperties.h"
#include "platform/imaging/JpegHeader.h"

namespace vantrel {

namespace {

// A PNG's IHDR names its interlace method in its last byte (offset 28 of the file).
bool isInterlacedPng(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray head = file.read(29);
    return head.size() == 29 && head.mid(12, 4) == "IHDR" && head.at(28) != 0;
}

} // namespace

DecodeFootprint DecodeFootprint::read(const QString& path, const ImageProperties& header)
{
    DecodeFootprint footprint;
    if (!header.valid || header.pixelWidth <= 0 || header.pixelHeight <= 0)
        return footprint;
    footprint.stored = header.storedSize();
    const QString& loader = header.loader;
    const bool raw = loader == QLatin1String("raw");
    const int colourBands = header.colorModel == QLatin1String("Gray") ? 1
        : header.colorModel == QLatin1String("CMYK")                   ? 4
                                                                       : 3;
    const int bytesPerSample = raw ? 2 : std::max(1, header.bitsPerSample / 8);
    footprint.bytesPerPixel = (colourBands + (header.hasAlpha ? 1 : 0)) * bytesPerSample;
    footprint.secondFrame = raw || header.orientation != 1 || header.colorModel != QLatin1String("RGB");
    if (raw) {
        footprint.workingBytes = qint64(header.pixelWidth) * header.pixelHeight * 8;
    } else if (loader.startsWith(QLatin1String("jpeg"))) {
        footprint.shrinksOnLoad = true;
        const JpegHeader jpeg = JpegHeader::read(QFile::encodeName(path));
        if (jpeg.ok)
            footprint.workingBytes = jpeg.wholeFrameBytes;
    } else if (loader.startsWith(QLatin1String("png"))) {
        footprint.decodesWhole = isInterlacedPng(path);
    } else if (loader.startsWith(QLatin1String("gif")) || loader.startsWith(QLatin1String("jp2k"))) {
        // GIF frames are decoded whole into four bands.
        footprint.decodesWhole = true;
        if (loader.startsWith(QLatin1String("gif")))
            footprint.bytesPerPixel = 4;
    }
    // A loader that would map the file decodes a copy of it read into memory.
    if (DecodeSource::readsCopy(loader))
        footprint.workingBytes += QFileInfo(path).size();
    return footprint;
}

int DecodeFootprint::jpegShrink(QSize stored, QSize wanted)
{
    int shrink = 1;
    while (shrink < 8 && stored.width() / (shrink * 2) >= wanted.width()
        && stored.height() / (shrink * 2) >= wanted.height())
        shrink *= 2;
    return shrink;
}

qint64 DecodeFootprint::frameBytes(int shrink) const
{
    if (stored.isEmpty())
        return 0;
    const int s = shrinksOnLoad ? std::max(1, shrink) : 1;
    const qint64 width = (stored.width() + s - 1) / s;
    const qint64 height = (stored.height() + s - 1) / s;
    return width * height * bytesPerPixel;
}

qint64 DecodeFootprint::intoMemory(int shrink) const
{
    return frameBytes(shrink) * (secondFrame ? 2 : 1) + workingBytes;
}

qint64 DecodeFootprint::streamed() const
{
    return workingBytes + (decodesWhole ? frameBytes() : 0);
}

} // namespace vantrel
