#include "platform/imaging/DecodeSource.h"

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>

#include "platform/imaging/LoaderSniff.h"
#include "platform/imaging/SourceReads.h"

namespace vantrel {

namespace {

// The loaders that read a file through its descriptor and never map it.
bool readsDescriptor(const char* loader)
{
    static const char* const kReaders[] = { "jpegload", "pngload", "tiffload", "heifload", "jp2kload" };
    for (const char* reader : kReaders)
        if (qstrcmp(loader, reader) == 0)
            return true;
    return false;
}

[[noreturn]] void fail(const QByteArray& path, int errorNumber)
{
    throw vips::VError(std::string("cannot read ") + path.constData() + ": " + std::strerror(errorNumber));
}

// Reads up to `length` bytes from the start of `fd`; fewer when the file ended sooner.
size_t readUpTo(const QByteArray& path, int fd, char* data, size_t length)
{
    const ssize_t got = readFromStart(fd, data, length);
    if (got < 0)
        fail(path, errno);
    return size_t(got);
}

// The whole file, as long as it was when opened. g_try_malloc: a file larger than the memory
// left fails its photo instead of aborting the process.
std::shared_ptr<VipsBlob> readCopy(const QByteArray& path, int fd)
{
    struct stat info { };
    if (::fstat(fd, &info) != 0)
        fail(path, errno);
    const size_t size = size_t(info.st_size);
    void* data = g_try_malloc(size > 0 ? size : 1);
    if (!data)
        fail(path, ENOMEM);
    size_t got = 0;
    try {
        got = readUpTo(path, fd, static_cast<char*>(data), size);
    } catch (...) {
        g_free(data);
        throw;
    }
    VipsBlob* blob = vips_blob_new(
        [](void* bytes, void*) -> int {
            g_free(bytes);
            return 0;
        },
        data, got);
    return { blob, [](VipsBlob* b) { vips_area_unref(VIPS_AREA(b)); } };
}

void releaseCopy(VipsImage* /*image*/, gpointer blob)
{
    vips_area_unref(static_cast<VipsArea*>(blob));
}

// Keeps the copy alive until `image` closes, whatever the loader keeps of it.
vips::VImage keeping(vips::VImage image, const std::shared_ptr<VipsBlob>& copy)
{
    vips_area_copy(VIPS_AREA(copy.get()));
    g_signal_connect(image.get_image(), "close", G_CALLBACK(releaseCopy), copy.get());
    return image;
}

// The loader of a source over the copy, when one reads sources (libvips' own do; ImageMagick
// only takes a buffer).
const char* sourceLoader(const vips::VSource& memory)
{
    const char* loader = vips_foreign_find_load_source(memory.get_source());
    if (!loader)
        vips_error_clear();
    return loader;
}

} // namespace

DecodeSource DecodeSource::open(const QString& path)
{
    DecodeSource source;
    source.m_path = QFile::encodeName(path);
    const SourceDescriptor file { ::open(source.m_path.constData(), O_RDONLY | O_CLOEXEC) };
    if (file.fd < 0)
        fail(source.m_path, errno);
    char head[16];
    const size_t got = readUpTo(source.m_path, file.fd, head, sizeof head);
    const char* loader = loaderForHeader(QByteArray(head, qsizetype(got)));
    if (loader && readsDescriptor(loader))
        source.m_loader = loader;
    else
        source.m_copy = readCopy(source.m_path, file.fd);
    return source;
}

bool DecodeSource::readsCopy(const QString& loader)
{
    return !loader.isEmpty() && loader != QLatin1String("raw") && !readsDescriptor(loader.toLatin1().constData());
}

bool DecodeSource::readsAnyOrder() const
{
    return m_loader && (qstrcmp(m_loader, "tiffload") == 0 || qstrcmp(m_loader, "jp2kload") == 0);
}

vips::VImage DecodeSource::load(vips::VOption* options) const
{
    vips::VImage out;
    if (m_loader) {
        vips::VImage::call(m_loader, options->set("filename", m_path.constData())->set("out", &out));
        return out;
    }
    const VipsArea* area = VIPS_AREA(m_copy.get());
    const vips::VSource memory = vips::VSource::new_from_blob(m_copy.get());
    if (const char* loader = sourceLoader(memory)) {
        vips::VImage::call(loader, options->set("source", memory)->set("out", &out));
    } else if (const char* bufferLoader = vips_foreign_find_load_buffer(area->data, area->length)) {
        vips::VImage::call(bufferLoader, options->set("buffer", m_copy.get())->set("out", &out));
    } else {
        delete options;
        throw vips::VError(std::string(m_path.constData()) + ": not a known image format");
    }
    return keeping(out, m_copy);
}

vips::VImage DecodeSource::thumbnail(int width, vips::VOption* options) const
{
    // vips_thumbnail makes libvips' own loader choice from the same first bytes, which lands on
    // the loader they named; only a file rewritten between the two reads could be sent elsewhere.
    if (m_loader)
        return vips::VImage::thumbnail(m_path.constData(), width, options);
    const vips::VSource memory = vips::VSource::new_from_blob(m_copy.get());
    const vips::VImage out = sourceLoader(memory) ? vips::VImage::thumbnail_source(memory, width, options)
                                                  : vips::VImage::thumbnail_buffer(m_copy.get(), width, options);
    return keeping(out, m_copy);
}

} // namespace vantrel
