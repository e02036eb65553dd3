#include "platform/imaging/LoaderSniff.h"

namespace vantrel {

namespace {

bool startsWith(const QByteArray& head, const char* magic, int length, int at = 0)
{
    return head.size() >= at + length && head.mid(at, length) == QByteArray::fromRawData(magic, length);
}

} // namespace

const char* loaderForHeader(const QByteArray& head)
{
    if (startsWith(head, "\xFF\xD8\xFF", 3))
        return "jpegload";
    if (startsWith(head, "\x89PNG\r\n\x1A\n", 8))
        return "pngload";
    // Classic and big TIFF, both byte orders.
    if (startsWith(head, "II*\0", 4) || startsWith(head, "MM\0*", 4) || startsWith(head, "II+\0", 4)
        || startsWith(head, "MM\0+", 4))
        return "tiffload";
    if (startsWith(head, "GIF87a", 6) || startsWith(head, "GIF89a", 6))
        return "gifload";
    if (startsWith(head, "RIFF", 4) && startsWith(head, "WEBP", 4, 8))
        return "webpload";
    // JPEG 2000: the signature box of a JP2 file, or a bare codestream.
    if (startsWith(head, "\0\0\0\x0CjP  \r\n\x87\n", 12) || startsWith(head, "\xFF\x4F\xFF\x51", 4))
        return "jp2kload";
    // ISO media files whose first box is "ftyp" with an image brand.
    if (startsWith(head, "ftyp", 4, 4) && head.size() >= 12) {
        static const char* const brands[]
            = { "heic", "heix", "heim", "heis", "hevc", "hevx", "mif1", "msf1", "avif", "avis" };
        const QByteArray brand = head.mid(8, 4);
        for (const char* b : brands)
            if (brand == b)
                return "heifload";
    }
    // Netpbm: "P1" to "P6" and the float maps "PF"/"Pf", followed by white space.
    if (head.size() >= 3 && head[0] == 'P' && ((head[1] >= '1' && head[1] <= '6') || head[1] == 'F' || head[1] == 'f')
        && (head[2] == '\n' || head[2] == '\r' || head[2] == ' ' || head[2] == '\t'))
        return "ppmload";
    return nullptr;
}

} // namespace vantrel
