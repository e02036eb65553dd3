// Tags appended to a TIFF: what cannot be read as expected is refused before a byte is written.
#include <cerrno>

#include <QFile>
#include <QTemporaryDir>

#include <exiv2/exiv2.hpp>
#include <gtest/gtest.h>

#include "platform/imaging/EncodeMetadata.h"
#include "platform/imaging/TiffMetadataSplice.h"
#include "support/TestImages.h"

using namespace vantrel;
using namespace vantrel::testimages;

namespace {

QByteArray tiffOf(const vips::VImage& image, bool bigTiff = false)
{
    return takeBlob(image.tiffsave_buffer(vips::VImage::option()->set("bigtiff", bigTiff)));
}

// `tiff` with a maker's name written into it by exiv2, and with an embedded thumbnail (a second
// directory) when asked.
QByteArray tagged(const QByteArray& tiff, bool thumbnail)
{
    EncodeMetadata metadata;
    metadata.exif["Exif.Image.Make"] = "Testmaker";
    if (thumbnail) {
        const QByteArray jpeg = takeBlob(makePattern(8, 8).jpegsave_buffer());
        Exiv2::ExifThumb(metadata.exif)
            .setJpegThumbnail(reinterpret_cast<const Exiv2::byte*>(jpeg.constData()), long(jpeg.size()));
    }
    return metadata.writtenInto(tiff, ImageFileFormat::Tiff);
}

} // namespace

TEST(TiffMetadataSplice, RefusesWhatItCannotReadAndLeavesTheFileAsItWas)
{
    QTemporaryDir dir;
    const QByteArray plain = tiffOf(makePattern(1, 1));
    const QByteArray file = tiffOf(makePattern(64, 48));
    QByteArray otherOrder = plain;
    otherOrder.replace(0, 4, QByteArray("MM\0*", 4));
    struct Case {
        const char* what;
        QByteArray file;
        QByteArray plain;
        QByteArray tagged;
    };
    const Case cases[] = {
        { "not an image", "not an image at all", plain, tagged(plain, false) },
        { "a BigTIFF", tiffOf(makePattern(64, 48), true), plain, tagged(plain, false) },
        { "tags with a second directory", file, plain, tagged(plain, true) },
        { "small files in another byte order", file, otherOrder, tagged(plain, false) },
        { "a tagged file that is no TIFF", file, plain, "II*\0 and nothing else" },
    };
    for (const Case& c : cases) {
        const QString path = dir.filePath("out.tif");
        ASSERT_TRUE(writeBytes(path, c.file));
        int error = -1;
        EXPECT_EQ(TiffMetadataSplice::splice(QFile::encodeName(path), c.plain, c.tagged, &error),
            TiffMetadataSplice::Outcome::Unsupported)
            << c.what;
        EXPECT_EQ(error, 0) << c.what;
        EXPECT_EQ(readBytes(path), c.file) << c.what;
    }
    int error = 0;
    EXPECT_EQ(
        TiffMetadataSplice::splice(QFile::encodeName(dir.filePath("missing.tif")), plain, tagged(plain, false), &error),
        TiffMetadataSplice::Outcome::Failed);
    EXPECT_EQ(error, ENOENT);
}
