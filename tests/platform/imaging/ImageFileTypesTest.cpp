// The image extension registry: image types in any case, the extra list exactly as written.
#include <gtest/gtest.h>

#include "platform/imaging/ImageFileTypes.h"

using namespace vantrel;

TEST(ImageFileTypes, AcceptsImageTypesAndTheExtraListAsWritten)
{
    const struct {
        const char* ext;
        bool image;
        bool raw;
    } cases[] = {
        { "jpg", true, false },
        { "JPG", true, false },
        { "Jpeg", true, false },
        { "heic", true, false },
        { "tiff", true, false },
        { "eps", true, false },
        { "PCT", true, false },
        { "pct", true, false },
        { "pgm", true, false },
        { "PGM", true, false },
        { "Pgm", false, false },
        { "ptif", true, false },
        { "Ptif", false, false },
        { "ui", true, false },
        { "cr2", true, true },
        { "NEF", true, true },
        { "dng", true, true },
        { "txt", false, false },
        { "", false, false },
        { "migratedphotolibrary", false, false },
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ImageFileTypes::isImageExtension(c.ext), c.image) << c.ext;
        EXPECT_EQ(ImageFileTypes::isRawExtension(c.ext), c.raw) << c.ext;
    }
    EXPECT_EQ(ImageFileTypes::extraImageExtensions().size(), 20);
    QStringList all = ImageFileTypes::allImageExtensions();
    EXPECT_TRUE(all.contains("jpg"));
    EXPECT_TRUE(all.contains("PTIF"));
    EXPECT_EQ(all.removeDuplicates(), 0);
}
