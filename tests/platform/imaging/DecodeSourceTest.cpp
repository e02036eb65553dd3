// A file that shrinks or changes while it is decoded must fail that decode and nothing else: no
// decode may map a photo's file into memory, where a page cut off by a truncation kills the
// process when it is touched (a whole run over such a file: ProcessingEndToEndDeathTest).
#include "platform/imaging/DecodeSource.h"

#include <atomic>
#include <memory>
#include <thread>

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "platform/imaging/GuardedLoad.h"
#include "platform/imaging/Image.h"
#include "platform/imaging/ImageProperties.h"
#include "support/FileCut.h"
#include "support/TestImages.h"

using namespace vantrel;

namespace {

// Watches the process's mappings on its own thread until it is destroyed.
class MappingWatch {
public:
    explicit MappingWatch(const QString& path)
        : m_path(path)
        , m_thread([this] {
            while (!m_stop)
                if (test::isMapped(m_path))
                    m_seen = true;
        })
    {
    }
    ~MappingWatch()
    {
        m_stop = true;
        m_thread.join();
    }
    bool seen() const { return m_seen || test::isMapped(m_path); }

private:
    QString m_path;
    std::atomic<bool> m_stop { false };
    std::atomic<bool> m_seen { false };
    std::thread m_thread;
};

TEST(DecodeSourceTest, NoDecodeMapsThePhotosFileAndPixelsStayTheSame)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    // Large enough that a loader working on a mapping holds it for a while.
    const struct {
        const char* name;
        bool copy; ///< decoded from a copy in memory rather than read from the file
    } cases[] = {
        { "photo.jpg", false },
        { "photo.png", false },
        { "photo.tif", false },
        { "photo.gif", true },
        { "photo.webp", true },
        { "photo.ppm", true },
        { "photo.bmp", true },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = dir.path() + "/" + c.name;
        ASSERT_TRUE(testimages::writePattern(path, 1200, 900));
        const ImageProperties header = readImageProperties(path, PropertyDepth::SizeAndOrientation);
        ASSERT_TRUE(header.valid);
        EXPECT_EQ(DecodeSource::readsCopy(header.loader), c.copy) << header.loader.toStdString();
        EXPECT_EQ(DecodeSource::open(path).isCopy(), c.copy);

        vips::VImage decoded;
        Image thumbnail;
        {
            const MappingWatch watch(path);
            decoded = GuardedLoad::decodeIntoMemory(path, header);
            thumbnail = Image::thumbnail(path, QSize(300, 300));
            EXPECT_FALSE(watch.seen()) << "the file was mapped while it was decoded";
        }
        // The pixels are the file's, as libvips' own choice of loader reads them.
        const vips::VImage reference = vips::VImage::new_from_file(path.toUtf8().constData());
        ASSERT_EQ(decoded.width(), reference.width());
        ASSERT_EQ(decoded.height(), reference.height());
        ASSERT_EQ(decoded.bands(), reference.bands());
        EXPECT_EQ((decoded - reference).abs().max(), 0.0);
        EXPECT_EQ(thumbnail.size(), QSize(300, 225));
    }
}

// A decode's consumer may ask for its strips in any order: libvips' thread pools hand strips to
// threads, and a thread that the machine leaves waiting asks for its strip late. A loader that
// reads any strip on request must serve it, never fail a sound photo because a later strip was
// read first. Asked here on one thread: the last strip, then the first.
TEST(DecodeSourceTest, AStripAskedForAfterALaterOneIsServed)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.path() + "/camera.tif";
    // Strips of 128 rows: the first is long gone from a sequential loader's cache at the end.
    ASSERT_TRUE(testimages::writePattern(path, 300, 4000));
    vips_error_clear();
    const GuardedLoad load = GuardedLoad::open(path, 0);
    const vips::VImage& image = load.image();
    const std::unique_ptr<VipsRegion, void (*)(VipsRegion*)> region(
        vips_region_new(image.get_image()), [](VipsRegion* r) { g_object_unref(r); });
    VipsRect last { 0, image.height() - 100, image.width(), 100 };
    VipsRect first { 0, 0, image.width(), 100 };
    EXPECT_EQ(vips_region_prepare(region.get(), &last), 0) << vips_error_buffer();
    EXPECT_EQ(vips_region_prepare(region.get(), &first), 0) << vips_error_buffer();
    const VipsPel* pixel = VIPS_REGION_ADDR(region.get(), 10, 10);
    EXPECT_TRUE(
        testimages::looksLike({ double(pixel[0]), double(pixel[1]), double(pixel[2]) }, testimages::Corner::TopLeft));
    EXPECT_FALSE(load.failed());
    vips_error_clear();
}

} // namespace
