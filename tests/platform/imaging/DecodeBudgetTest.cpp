// The decode budget: what a JPEG's whole-frame buffer costs, who may take a share, and that the
// imaging layer's decodes of progressive JPEGs wait for theirs.
#include <atomic>
#include <functional>
#include <thread>
#include <vector>

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "platform/imaging/DecodeBudget.h"
#include "platform/imaging/GuardedLoad.h"
#include "platform/imaging/Image.h"
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
        EXPECT_EQ(DecodeBudget::wholeFrameBytes(path), row.blocks * 128) << path.toStdString();
    }
    const QString png = dir.filePath("p.png");
    ASSERT_TRUE(testimages::writePattern(png, 100, 75));
    EXPECT_EQ(DecodeBudget::wholeFrameBytes(png), 0);
    EXPECT_EQ(DecodeBudget::wholeFrameBytes(dir.filePath("missing.jpg")), 0);
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

TEST(DecodeBudget, ProgressiveJpegDecodesWaitForTheirShare)
{
    QTemporaryDir dir;
    const QString progressive = dir.filePath("progressive.jpg");
    const QString sequential = dir.filePath("sequential.jpg");
    ASSERT_TRUE(writeJpeg(progressive, 400, 300, false, true, false));
    ASSERT_TRUE(writeJpeg(sequential, 400, 300, false, false, false));
    struct Row {
        const char* name;
        std::function<Image(const QString&)> decode;
    };
    const Row rows[] = {
        { "load", [](const QString& path) { return Image::load(path); } },
        { "loadAtSize", [](const QString& path) { return Image::loadAtSize(path, QSize(100, 75)); } },
        { "thumbnail", [](const QString& path) { return Image::thumbnail(path, QSize(120, 120)); } },
        { "streamed",
            [](const QString& path) {
                const GuardedLoad load = GuardedLoad::open(path);
                return Image(load.image().copy_memory());
            } },
    };
    DecodeBudget& budget = DecodeBudget::process();
    for (const Row& row : rows) {
        for (const QString& path : { progressive, sequential }) {
            const bool isProgressive = path == progressive;
            // Another decode holds the whole budget.
            DecodeBudget::Ticket blocker = budget.reserve(DecodeBudget::kProcessBytes);
            Image image;
            EXPECT_EQ(waitsForBudget([&] { image = row.decode(path); }, budget, blocker), isProgressive)
                << row.name << " " << path.toStdString();
            EXPECT_FALSE(image.isNull()) << row.name;
            EXPECT_EQ(budget.heldBytes(), 0) << row.name << ": the share is given back";
        }
    }
}
