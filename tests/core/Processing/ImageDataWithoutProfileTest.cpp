#include "core/Processing/PhotoPipeline.h"

#include <cmath>

#include <gtest/gtest.h>

#include "platform/imaging/VipsInclude.h"
#include "support/TestImages.h"

using vantrel::PhotoPipeline;
namespace testimages = vantrel::testimages;

namespace {

constexpr double kPixelsPerMillimetre = 300.0 / 25.4;

/// `frames` patterns of 64 x 48 stacked as pages, at 300 DPI, with the sRGB profile attached.
vips::VImage framesWithProfile(int frames)
{
    std::vector<vips::VImage> pages(frames, testimages::makePattern(64, 48));
    vips::VImage image = vips::VImage::arrayjoin(pages, vips::VImage::option()->set("across", 1))
                             .copy(vips::VImage::option()
                                       ->set("xres", kPixelsPerMillimetre)
                                       ->set("yres", kPixelsPerMillimetre)
                                       ->set("interpretation", VIPS_INTERPRETATION_sRGB));
    image.set(VIPS_META_PAGE_HEIGHT, 48);
    VipsBlob* srgb = vips::VImage::profile_load("srgb");
    size_t length = 0;
    const void* profile = vips_blob_get(srgb, &length);
    vips_image_set_blob_copy(image.get_image(), VIPS_META_ICC_NAME, profile, length);
    vips_area_unref(VIPS_AREA(srgb));
    return image;
}

QByteArray encode(const vips::VImage& image, const char* suffix)
{
    void* buffer = nullptr;
    size_t length = 0;
    image.write_to_buffer(suffix, &buffer, &length);
    QByteArray bytes(static_cast<const char*>(buffer), static_cast<qsizetype>(length));
    g_free(buffer);
    return bytes;
}

vips::VImage decode(const QByteArray& bytes)
{
    return vips::VImage::new_from_buffer(bytes.constData(), static_cast<size_t>(bytes.size()), "",
        vips::VImage::option()->set("access", VIPS_ACCESS_RANDOM));
}

int pagesOf(const vips::VImage& image)
{
    return image.get_typeof(VIPS_META_N_PAGES) ? image.get_int(VIPS_META_N_PAGES) : 1;
}

} // namespace

TEST(ImageDataWithoutColorSyncProfile, SameTypeAndFramesWithoutTheProfileOrNothing)
{
    struct Case {
        const char* suffix;
        int frames;
        bool holdsProfileAndResolution; // the format stores both, so the input has them
    };
    const Case cases[] = {
        { ".jpg", 1, true },
        { ".png", 1, true },
        { ".tif", 1, true },
        { ".tif", 3, true },
        { ".webp", 1, false },
        { ".gif", 2, false },
        { ".bmp", 1, false },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.suffix) + " x" + std::to_string(c.frames));
        const QByteArray input = encode(framesWithProfile(c.frames), c.suffix);
        const vips::VImage before = decode(input);
        ASSERT_EQ(pagesOf(before), c.frames);
        if (c.holdsProfileAndResolution) {
            ASSERT_NE(before.get_typeof(VIPS_META_ICC_NAME), 0u);
        }

        const QByteArray output = PhotoPipeline::imageDataWithoutColorSyncProfile(input);
        ASSERT_FALSE(output.isEmpty());
        const vips::VImage after = decode(output);
        EXPECT_STREQ(after.get_string(VIPS_META_LOADER), before.get_string(VIPS_META_LOADER));
        EXPECT_EQ(pagesOf(after), c.frames);
        EXPECT_EQ(after.get_typeof(VIPS_META_ICC_NAME), 0u);
        EXPECT_EQ(after.width(), 64);
        EXPECT_EQ(after.height(), 48);
        EXPECT_TRUE(testimages::looksLike(testimages::pixelAt(after, 60, 44), testimages::Corner::BottomRight));
        if (c.holdsProfileAndResolution) {
            EXPECT_NEAR(after.xres(), before.xres(), 0.05);
        }
    }

    // Data that is no image gives nothing.
    EXPECT_TRUE(PhotoPipeline::imageDataWithoutColorSyncProfile({}).isEmpty());
    EXPECT_TRUE(PhotoPipeline::imageDataWithoutColorSyncProfile("plain text, not a picture").isEmpty());
    const QByteArray jpeg = encode(framesWithProfile(1), ".jpg");
    EXPECT_TRUE(PhotoPipeline::imageDataWithoutColorSyncProfile(jpeg.left(40)).isEmpty());
}
