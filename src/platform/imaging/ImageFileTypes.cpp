#include "platform/imaging/ImageFileTypes.h"

#include <QSet>

namespace vantrel::ImageFileTypes {

namespace {

// Lower-case extensions of the types that count as images ("conforms to public.image"), matched
// in any letter case.
const QStringList& publicImageExtensions()
{
    static const QStringList list {
        // common raster formats
        "jpg",
        "jpeg",
        "jpe",
        "jfif",
        "png",
        "gif",
        "bmp",
        "dib",
        "tif",
        "tiff",
        "jp2",
        "j2k",
        "jpf",
        "jpx",
        "jpm",
        "heic",
        "heif",
        "hif",
        "avif",
        "webp",
        "ico",
        "icns",
        "cur",
        "tga",
        "targa",
        "psd",
        "pict",
        "pic",
        "eps",
        "epsf",
        "epsi",
        "exr",
        "hdr",
        "pbm",
        "pfm",
        "svg",
        "svgz",
        "xbm",
        "sgi",
        "jxl",
        "fits",
        "fit",
        "fts",
        "astc",
        "ktx",
        "pvr",
        "dds",
        "mpo",
        // camera RAW formats
        "dng",
        "cr2",
        "cr3",
        "crw",
        "nef",
        "nrw",
        "arw",
        "srf",
        "sr2",
        "orf",
        "rw2",
        "raf",
        "pef",
        "ptx",
        "srw",
        "raw",
        "rwl",
        "3fr",
        "fff",
        "erf",
        "kdc",
        "dcr",
        "dcs",
        "drf",
        "k25",
        "mrw",
        "mos",
        "mef",
        "iiq",
        "x3f",
        "bay",
        "cap",
        "eip",
        "gpr",
        "ari",
        "cs1",
        "mdc",
        "rwz",
    };
    return list;
}

// Accepted although their type is not an image type: matched exactly as written (lower or upper
// case), so "PGM" and "pgm" pass and "Pgm" does not.
const QStringList& extraExtensions()
{
    static const QStringList list { "eps", "jpc", "p7", "pc", "pgm", "pnm", "ppm", "ptif", "ui", "pct", "EPS", "JPC",
        "P7", "PC", "PGM", "PNM", "PPM", "PTIF", "UI", "PCT" };
    return list;
}

const QStringList& rawExtensions()
{
    static const QStringList list { "dng", "cr2", "cr3", "crw", "nef", "nrw", "arw", "srf", "sr2", "orf", "rw2", "raf",
        "pef", "ptx", "srw", "raw", "rwl", "3fr", "fff", "erf", "kdc", "dcr", "dcs", "drf", "k25", "mrw", "mos", "mef",
        "iiq", "x3f", "bay", "cap", "eip", "gpr", "ari", "cs1", "mdc", "rwz" };
    return list;
}

const QSet<QString>& publicImageSet()
{
    static const QSet<QString> set(publicImageExtensions().begin(), publicImageExtensions().end());
    return set;
}

} // namespace

bool conformsToPublicImage(const QString& extension)
{
    return publicImageSet().contains(extension.toLower());
}

bool isExtraImageExtension(const QString& extension)
{
    return extraExtensions().contains(extension);
}

bool isImageExtension(const QString& extension)
{
    return !extension.isEmpty() && (conformsToPublicImage(extension) || isExtraImageExtension(extension));
}

bool isRawExtension(const QString& extension)
{
    static const QSet<QString> set(rawExtensions().begin(), rawExtensions().end());
    return set.contains(extension.toLower());
}

QStringList allImageExtensions()
{
    QStringList all = publicImageSet().values();
    all.sort();
    for (const QString& e : extraExtensions())
        if (!all.contains(e))
            all.append(e);
    return all;
}

QStringList extraImageExtensions()
{
    return extraExtensions();
}

} // namespace vantrel::ImageFileTypes
