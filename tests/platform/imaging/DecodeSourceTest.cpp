// A file that shrinks or changes while it is decoded must fail that decode and nothing else: no
// decode may map a photo's file into memory, where a page cut off by a truncation kills the
// process when it is touched.
#include "platform/imaging/DecodeSource.h"

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include <unistd.h>

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "platform/imaging/GuardedLoad.h"
#include "platform/imaging/Image.h"
#include "platform/imaging/ImageProperties.h"
#include "support/TestImages.h"

using namespace vantrel;

namespace {

// True when the process has a mapping of the file at `path` (by its canonical path).
bool isMapped(const std::string& path)
{
    std::ifstream maps("/proc/self/maps");
    std::string line;
    while (std::getline(maps, line))
        if (line.size() >= path.size() && line.compare(line.size() - path.size(), path.size(), path) == 0)
            return true;
    return false;
}

// Watches the process's mappings on its own thread until it is destroyed.
class MappingWatch {
public:
    explicit MappingWatch(const QString& path)
        : m_path(std::filesystem::canonical(path.toStdString()).string())
        , m_thread([this] {
            while (!m_stop)
                if (isMapped(m_path))
                    m_seen = true;
        })
    {
    }
    ~MappingWatch()
    {
        m_stop = true;
        m_thread.join();
    }
    bool seen() const { return m_seen || isMapped(m_path); }

private:
    std::string m_path;
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

// A BMP of 36 MB, cut to a third of its length at one moment of its decode. Each case
// runs in a child process (gtest re-runs the binary for it) that must end by itself; a decode
// that reads a mapping of the file dies there of SIGBUS instead.
TEST(DecodeSourceDeathTest, ABmpCutShortWhileItIsDecodedFailsThatDecodeOnly)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.path() + "/large.bmp";
    for (const int delayMs : { 0, 20, 40, 60, 80, 120 }) {
        SCOPED_TRACE(delayMs);
        EXPECT_EXIT(
            {
                if (!testimages::writePattern(path, 4000, 3000))
                    std::_Exit(3);
                const qint64 length = QFile(path).size();
                std::thread cut([&] {
                    std::this_thread::sleep_for(std::chrono::milliseconds(delayMs));
                    if (::truncate(QFile::encodeName(path).constData(), length / 3) != 0)
                        std::_Exit(4);
                });
                const Image image = Image::load(path);
                cut.join();
                // Whole (the cut came after the file was read) or nothing: never a partial picture.
                std::_Exit(image.isNull() || image.size() == QSize(4000, 3000) ? 0 : 5);
            },
            ::testing::ExitedWithCode(0), "");
    }
}

} // namespace
