#include "platform/imaging/SourceMetadata.h"

#include <cerrno>
#include <cstring>
#include <memory>
#include <new>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>

#include "platform/imaging/SourceReads.h"

namespace vantrel {

namespace {

// Enough of a file's start for exiv2 to tell every format it knows.
constexpr size_t kHeadBytes = 4096;

// The image types exiv2 parses from a mapping of the whole file.
bool parsedFromMapping(int type)
{
    return type == Exiv2::ImageType::tiff || type == Exiv2::ImageType::cr2 || type == Exiv2::ImageType::orf
        || type == Exiv2::ImageType::rw2 || type == Exiv2::ImageType::crw;
}

// An open file, its size and whether its metadata is parsed from a copy.
struct Opened {
    SourceDescriptor file;
    qint64 size = 0;
    bool copy = false;
};

void inspect(const QByteArray& name, Opened& opened)
{
    opened.file.fd = ::open(name.constData(), O_RDONLY | O_CLOEXEC);
    struct stat info { };
    if (opened.file.fd < 0 || ::fstat(opened.file.fd, &info) != 0)
        return;
    opened.size = qint64(info.st_size);
    if (opened.size <= 0 || opened.size > SourceMetadata::kCopyLimit)
        return;
    Exiv2::byte head[kHeadBytes];
    const ssize_t got = readFromStart(opened.file.fd, head, sizeof head);
    opened.copy = got > 0 && parsedFromMapping(Exiv2::ImageFactory::getType(head, long(got)));
}

} // namespace

SourceMetadata SourceMetadata::read(const QString& path)
{
    const QByteArray name = QFile::encodeName(path);
    Opened opened;
    inspect(name, opened);
    // Declared before the image that reads it, so that it outlives the image.
    std::unique_ptr<Exiv2::byte[]> copy;
    Exiv2::Image::AutoPtr image;
    if (opened.copy) {
        copy.reset(new (std::nothrow) Exiv2::byte[size_t(opened.size)]);
        if (!copy)
            throw Exiv2::Error(Exiv2::kerMallocFailed);
        const ssize_t got = readFromStart(opened.file.fd, copy.get(), size_t(opened.size));
        if (got < 0)
            throw Exiv2::Error(Exiv2::kerDataSourceOpenFailed, path.toStdString(), std::strerror(errno));
        // Exiv2 reads the bytes where they are: the copy is not copied again.
        image = Exiv2::ImageFactory::open(copy.get(), long(got));
    } else {
        image = Exiv2::ImageFactory::open(path.toStdString());
    }
    image->readMetadata();
    SourceMetadata metadata;
    metadata.exif = image->exifData();
    metadata.iptc = image->iptcData();
    metadata.xmp = image->xmpData();
    return metadata;
}

qint64 SourceMetadata::copyBytes(const QString& path)
{
    Opened opened;
    inspect(QFile::encodeName(path), opened);
    return opened.copy ? opened.size : 0;
}

} // namespace vantrel
