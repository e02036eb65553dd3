// A photo's metadata is read without mapping its file wherever the file's size allows: a page of
// a mapping that a truncation cuts off kills the whole process when it is touched, and exiv2
// parses a TIFF-structured file (TIFF, DNG, most camera RAW) from a mapping of the whole file.
#include "platform/imaging/SourceMetadata.h"

#include <atomic>

#include <dlfcn.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "platform/imaging/EncodeMetadata.h"
#include "platform/imaging/ImageProperties.h"
#include "support/TestImages.h"

using namespace vantrel;

namespace {

// The file whose mappings are counted (inode 0: none), and their count.
std::atomic<dev_t> g_watchedDevice { 0 };
std::atomic<ino_t> g_watchedInode { 0 };
std::atomic<int> g_mappings { 0 };

void noteMapping(int fd)
{
    if (fd < 0 || g_watchedInode.load() == 0)
        return;
    struct stat info { };
    if (::fstat(fd, &info) == 0 && info.st_ino == g_watchedInode.load() && info.st_dev == g_watchedDevice.load())
        ++g_mappings;
}

} // namespace

// Every mapping a library of this test program asks for passes here on its way to the C library
// (or a sanitizer's interceptor), so that a mapping of the watched file is seen however briefly
// it lasts (a parse holds one for microseconds, too short to be caught in /proc/self/maps).
extern "C" void* mmap(void* address, size_t length, int protection, int flags, int fd, off_t offset) noexcept
{
    using Mmap = void* (*)(void*, size_t, int, int, int, off_t);
    static const auto next = reinterpret_cast<Mmap>(::dlsym(RTLD_NEXT, "mmap"));
    noteMapping(fd);
    if (next)
        return next(address, length, protection, flags, fd, offset);
    return reinterpret_cast<void*>(::syscall(SYS_mmap, address, length, protection, flags, fd, offset));
}

extern "C" void* mmap64(void* address, size_t length, int protection, int flags, int fd, off_t offset) noexcept
{
    return mmap(address, length, protection, flags, fd, offset);
}

namespace {

// Counts the mappings of the file at `path` while it lives.
class MappingCount {
public:
    explicit MappingCount(const QString& path)
    {
        struct stat info { };
        if (::stat(QFile::encodeName(path).constData(), &info) == 0) {
            g_mappings = 0;
            g_watchedDevice = info.st_dev;
            g_watchedInode = info.st_ino;
        }
    }
    ~MappingCount() { g_watchedInode = 0; }
    MappingCount(const MappingCount&) = delete;
    MappingCount& operator=(const MappingCount&) = delete;

    int count() const { return g_mappings.load(); }
};

QString exifText(const Exiv2::ExifData& exif, const char* key)
{
    const auto it = exif.findKey(Exiv2::ExifKey(key));
    return it == exif.end() ? QString() : QString::fromStdString(it->toString());
}

TEST(SourceMetadataTest, TiffStructuredSourcesAreParsedFromACopyNotAMapping)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const struct {
        const char* name;
        qint64 growTo; ///< the file is made this long (sparse; 0: as written)
        bool copied; ///< its metadata is parsed from a copy in memory
        bool mapped; ///< the file is mapped while its metadata is parsed
    } cases[] = {
        { "photo.tif", 0, true, false },
        { "camera.dng", 0, true, false },
        // exiv2 reads a JPEG through the descriptor: nothing to copy.
        { "photo.jpg", 0, false, false },
        // Too large to be copied, so still mapped; which also shows the count sees exiv2's mappings.
        { "scan.tif", SourceMetadata::kCopyLimit + 1, false, true },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = dir.path() + "/" + c.name;
        const bool dng = QString(c.name).endsWith(".dng");
        ASSERT_TRUE(dng ? testimages::writeLinearDng(path, 600, 400, 1) : testimages::writePattern(path, 600, 400));
        ASSERT_TRUE(testimages::setCameraTags(path));
        if (c.growTo > 0) {
            ASSERT_TRUE(QFile::resize(path, c.growTo));
        }
        const qint64 size = QFileInfo(path).size();
        const ImageProperties header = readImageProperties(path, PropertyDepth::SizeAndOrientation);
        ASSERT_TRUE(header.valid);

        // The copy is counted in what writing the photo holds.
        EXPECT_EQ(SourceMetadata::copyBytes(path), c.copied ? size : 0);

        // Read as the info rows and a run's encode read them.
        const MappingCount mappings(path);
        const ImageProperties full = readImageProperties(path, PropertyDepth::Full);
        EXPECT_EQ(full.dictionary.value("{TIFF}").toMap().value("Model").toString(), "TM-1");
        EncodeOptions options;
        options.metadataSource = path;
        const EncodeMetadata carried
            = EncodeMetadata::forImage(Image(testimages::makePattern(60, 40)), ImageFileFormat::Jpeg, options);
        EXPECT_EQ(exifText(carried.exif, "Exif.Image.Model"), "TM-1");
        EXPECT_EQ(exifText(carried.exif, "Exif.Photo.LensModel"), "Test Lens 24-70");
        EXPECT_EQ(mappings.count() > 0, c.mapped) << mappings.count() << " mappings of the file";
    }
}

} // namespace
