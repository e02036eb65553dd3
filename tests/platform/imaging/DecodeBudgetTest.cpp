// The decode budget: what a decode holds in memory (by format and route), who may take a share,
// and that the imaging layer's decodes wait for theirs.
#include <atomic>
#include <functional>
#include <thread>
#include <vector>

#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "platform/imaging/DecodeBudget.h"
#include "platform/imaging/DecodeFootprint.h"
#include "platform/imaging/GuardedLoad.h"
#include "platform/imaging/Image.h"
#include "platform/imaging/ImageProperties.h"
#include "platform/imaging/JpegHeader.h"
#include "support/TestImages.h"

using namespace vantrel;

namespace {

bool writeJpeg(const QString& path, int width, int height, bool grey, bool progressive, bool fullColour)
{
    testimages::PatternOptions options;
    options.grey = grey;
    try {
        testimages::makePattern(width, height, options)
            .jpegsave(path.toUtf8().constData(),
                vips::VImage::option()
                    ->set("Q", 80)
                    ->set("interlace", progressive)
                    ->set("subsample_mode", fullColour ? VIPS_FOREIGN_SUBSAMPLE_OFF : VIPS_FOREIGN_SUBSAMPLE_ON));
        return true;
    } catch (const vips::VError&) {
        return false;
    }
}

// Runs `work` on a thread; true when it had to wait for the budget before finishing.
bool waitsForBudget(const std::function<void()>& work, DecodeBudget& budget, DecodeBudget::Ticket& blocker)
{
    std::atomic<bool> done { false };
    std::thread thread([&] {
        work();
        done = true;
    });
    while (!done && budget.waiting() == 0)
        std::this_thread::yield();
    const bool waited = !done;
    blocker = DecodeBudget::Ticket(); // let it through
    thread.join();
    return waited;
}

} // namespace

TEST(DecodeBudget, WholeFrameBytesOfProgressiveJpegs)
{
    QTemporaryDir dir;
    struct Row {
        int width, height;
        bool grey, progressive, fullColour;
        qint64 blocks; // 8x8 blocks of coefficients, each 128 bytes
    };
    const Row rows[] = {
        { 100, 75, false, false, false, 0 }, // sequential: a row of blocks at a time
        { 100, 75, false, true, true, 3 * 13 * 10 }, // 4:4:4: 13x10 blocks per component
        { 100, 75, false, true, false, 14 * 10 + 2 * 7 * 5 }, // 4:2:0: luma padded to whole MCUs
        { 64, 48, false, true, false, 8 * 6 + 2 * 4 * 3 }, { 100, 75, true, true, false, 13 * 10 }, // one component
    };
    for (const Row& row : rows) {
        const QString path = dir.filePath(QStringLiteral("%1x%2-%3%4%5.jpg")
                                              .arg(row.width)
                                              .arg(row.height)
                                              .arg(row.grey)
                                              .arg(row.progressive)
                                              .arg(row.fullColour));
        ASSERT_TRUE(writeJpeg(path, row.width, row.height, row.grey, row.progressive, row.fullColour));
        const JpegHeader header = JpegHeader::read(QFile::encodeName(path));
        ASSERT_TRUE(header.ok) << path.toStdString();
        EXPECT_EQ(header.progressive, row.progressive) << path.toStdString();
        EXPECT_EQ(header.wholeFrameBytes, row.blocks * 128) << path.toStdString();
        const DecodeFootprint footprint = DecodeFootprint::read(path, readImageProperties(path));
        EXPECT_EQ(footprint.workingBytes, row.blocks * 128) << path.toStdString();
    }
    const DecodeFootprint missing
        = DecodeFootprint::read(dir.filePath("missing.jpg"), readImageProperties(dir.filePath("missing.jpg")));
    EXPECT_EQ(missing.intoMemory(), 0);
    EXPECT_EQ(missing.streamed(), 0);
}

TEST(DecodeBudget, FootprintsOfEveryFormatCountWhatTheDecodeHolds)
{
    // A 400x300 picture: 120,000 pixels. Only a JPEG shrinks on load; every other format is
    // decoded into memory at its full size, and a pass from top to bottom holds a frame only where
    // the loader decodes it whole. A loader that would map its file decodes a copy read into
    // memory, held as long as the decode: the file's size more in both.
    QTemporaryDir dir;
    constexpr qint64 kPixels = 400 * 300;
    struct Row {
        const char* name;
        std::function<bool(const QString&)> write;
        qint64 intoMemoryAtQuarter; // a decode into memory asked at 1/4
        qint64 streamed;
        bool copy = false; // plus the file's size
    };
    const auto pattern = [](testimages::PatternOptions options) {
        return [options](const QString& path) { return testimages::writePattern(path, 400, 300, options); };
    };
    const auto saved = [](const char* options) {
        return [options](const QString& path) {
            try {
                testimages::makePattern(400, 300).write_to_file((path + options).toUtf8().constData());
                return true;
            } catch (const vips::VError&) {
                return false;
            }
        };
    };
    const qint64 quarterFrame = 100 * 75 * 3;
    const Row rows[] = {
        { "sequential.jpg", pattern({}), quarterFrame, 0 },
        { "grey.jpg", pattern({ .grey = true }), 2 * 100 * 75, 0 }, // and its sRGB copy
        { "plain.png", pattern({}), kPixels * 3, 0 },
        { "alpha.png", pattern({ .alpha = true }), kPixels * 4, 0 },
        { "deep.png", pattern({ .sixteenBit = true }), kPixels * 6, 0 },
        { "interlaced.png", saved("[interlace]"), kPixels * 3, kPixels * 3 },
        { "plain.tif", pattern({}), kPixels * 3, 0 },
        { "plain.bmp", pattern({}), kPixels * 3, 0, true },
        { "plain.gif", pattern({}), kPixels * 4, kPixels * 4, true },
        { "plain.webp", pattern({}), kPixels * 3, 0, true },
        { "plain.jp2", pattern({}), kPixels * 3, kPixels * 3 },
    };
    for (const Row& row : rows) {
        const QString path = dir.filePath(QLatin1String(row.name));
        ASSERT_TRUE(row.write(path)) << row.name;
        const ImageProperties header = readImageProperties(path, PropertyDepth::SizeAndOrientation);
        ASSERT_TRUE(header.valid) << row.name;
        const DecodeFootprint footprint = DecodeFootprint::read(path, header);
        const qint64 copy = row.copy ? QFileInfo(path).size() : 0;
        EXPECT_EQ(footprint.intoMemory(4), row.intoMemoryAtQuarter + copy) << row.name;
        EXPECT_EQ(footprint.streamed(), row.streamed + copy) << row.name;
    }

    // Turned upright, a decode holds its frame twice (the stored one and the upright copy).
    const QString turned = dir.filePath("turned.jpg");
    ASSERT_TRUE(testimages::writePattern(turned, 400, 300));
    ASSERT_TRUE(testimages::setOrientation(turned, 6));
    EXPECT_EQ(DecodeFootprint::read(turned, readImageProperties(turned)).intoMemory(1), 2 * kPixels * 3);
    EXPECT_EQ(DecodeFootprint::jpegShrink({ 6000, 3376 }, { 1280, 720 }), 4);
    EXPECT_EQ(DecodeFootprint::jpegShrink({ 6000, 3376 }, { 4000, 2250 }), 1);
}

TEST(DecodeBudget, SharesTakenWithoutWaiting)
{
    struct Row {
        std::vector<qint64> held;
        qint64 request;
        bool taken;
    };
    const Row rows[] = {
        { {}, 60, true }, { {}, 150, true }, // larger than the budget: runs alone
        { { 150 }, 1, false }, // ...and nothing beside it
        { { 60 }, 40, true }, // fills the budget exactly
        { { 60 }, 41, false }, { { 30, 30 }, 40, true }, { { 100 }, 0, true }, // a sequential decode holds nothing
    };
    for (const Row& row : rows) {
        DecodeBudget budget(100);
        std::vector<DecodeBudget::Ticket> tickets;
        for (qint64 bytes : row.held)
            tickets.push_back(budget.reserve(bytes));
        qint64 held = 0;
        for (qint64 bytes : row.held)
            held += bytes;
        auto ticket = budget.tryReserve(row.request);
        EXPECT_EQ(ticket.has_value(), row.taken) << row.request;
        EXPECT_EQ(budget.heldBytes(), held + (row.taken ? row.request : 0)) << row.request;
        ticket.reset();
        tickets.clear();
        EXPECT_EQ(budget.heldBytes(), 0);
    }
}

TEST(DecodeBudget, WaitersAreServedInArrivalOrder)
{
    DecodeBudget budget(128);
    DecodeBudget::Ticket first = budget.reserve(80);
    DecodeBudget::Ticket second;
    std::thread waiter([&] { second = budget.reserve(80); });
    while (budget.waiting() == 0)
        std::this_thread::yield();
    // 10 bytes would fit, but the caller waiting for 80 came first.
    EXPECT_FALSE(budget.tryReserve(10).has_value());
    first = DecodeBudget::Ticket();
    waiter.join();
    EXPECT_EQ(second.bytes(), 80);
    EXPECT_EQ(budget.heldBytes(), 80);
    EXPECT_TRUE(budget.tryReserve(48).has_value());
}

TEST(DecodeBudget, DecodesWaitForTheirShare)
{
    QTemporaryDir dir;
    const QString progressive = dir.filePath("progressive.jpg");
    const QString sequential = dir.filePath("sequential.jpg");
    const QString png = dir.filePath("plain.png");
    ASSERT_TRUE(writeJpeg(progressive, 400, 300, false, true, false));
    ASSERT_TRUE(writeJpeg(sequential, 400, 300, false, false, false));
    ASSERT_TRUE(testimages::writePattern(png, 400, 300));
    const auto streamedShare
        = [](const QString& path) { return DecodeFootprint::read(path, readImageProperties(path)).streamed(); };
    struct Row {
        const char* name;
        std::function<Image(const QString&)> decode;
        QStringList waiting; // the files whose decode waits for a share on this route
    };
    const Row rows[] = {
        // Into memory: every frame counts, whatever the format.
        { "load", [](const QString& path) { return Image::load(path); }, { progressive, sequential, png } },
        { "loadAtSize", [](const QString& path) { return Image::loadAtSize(path, QSize(100, 75)); },
            { progressive, sequential, png } },
        // One pass from top to bottom: only a buffer of the whole picture counts.
        { "thumbnail", [](const QString& path) { return Image::thumbnail(path, QSize(120, 120)); }, { progressive } },
        { "streamed",
            [&](const QString& path) {
                const GuardedLoad load = GuardedLoad::open(path, streamedShare(path));
                return Image(load.image().copy_memory());
            },
            { progressive } },
    };
    DecodeBudget& budget = DecodeBudget::process();
    for (const Row& row : rows) {
        for (const QString& path : { progressive, sequential, png }) {
            // Another decode holds the whole budget.
            DecodeBudget::Ticket blocker = budget.reserve(budget.bytes());
            Image image;
            EXPECT_EQ(waitsForBudget([&] { image = row.decode(path); }, budget, blocker), row.waiting.contains(path))
                << row.name << " " << path.toStdString();
            EXPECT_FALSE(image.isNull()) << row.name;
            EXPECT_EQ(budget.heldBytes(), 0) << row.name << ": the share is given back";
        }
    }
}

TEST(DecodeBudget, ACoveredThreadTakesNothing)
{
    DecodeBudget budget(100);
    DecodeBudget::Ticket whole = budget.reserve(100);
    {
        const DecodeBudget::Covered covered;
        const DecodeBudget::Ticket free = budget.reserve(80); // would wait if it were not covered
        EXPECT_EQ(free.bytes(), 0);
        EXPECT_EQ(budget.tryReserve(80)->bytes(), 0);
    }
    EXPECT_FALSE(budget.tryReserve(80).has_value());
    EXPECT_EQ(budget.heldBytes(), 100);
}

TEST(DecodeBudget, ACoveredDecodeGivesItsWholePictureBufferBackEarly)
{
    // A photo admitted by the run holds its share until it is written; the decoder's buffer of the
    // whole picture is gone once the picture is in memory, so that part comes back at once.
    QTemporaryDir dir;
    const QString progressive = dir.filePath("progressive.jpg");
    const QString sequential = dir.filePath("sequential.jpg");
    ASSERT_TRUE(writeJpeg(progressive, 400, 300, false, true, false));
    ASSERT_TRUE(writeJpeg(sequential, 400, 300, false, false, false));
    DecodeBudget& budget = DecodeBudget::process();
    for (const QString& path : { progressive, sequential }) {
        const qint64 working = DecodeFootprint::read(path, readImageProperties(path)).workingBytes;
        EXPECT_EQ(working > 0, path == progressive);
        DecodeBudget::Ticket admitted = budget.reserve(budget.bytes());
        {
            const DecodeBudget::Covered covered(&admitted);
            EXPECT_FALSE(Image::loadAtSize(path, QSize(200, 150)).isNull());
        }
        EXPECT_EQ(admitted.bytes(), budget.bytes() - working) << path.toStdString();
        EXPECT_EQ(budget.heldBytes(), budget.bytes() - working) << path.toStdString();
    }
    EXPECT_EQ(budget.heldBytes(), 0);
}
