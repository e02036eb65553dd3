#include "components/IMGButtonTitleFitter.h"

#include <QGuiApplication>

#include <gtest/gtest.h>

using namespace vantrel;

TEST(IMGButtonTitleFitter, ArrangesTwoLines)
{
    const std::pair<const char*, const char*> rows[] = {
        { "Add Photos", "Add\nPhotos" },
        { "Add more photos now", "Add more\nphotos now" },
        { "a b c", "a\nb c" },
        { "Single", "Single" },
    };
    for (const auto& [title, arranged] : rows)
        EXPECT_EQ(IMGButtonTitleFitter::twoLineTitle(title, " "), arranged);
    EXPECT_EQ(IMGButtonTitleFitter::twoLineTitle("a-b", "-"), "a\nb");
    EXPECT_TRUE(IMGButtonTitleFitter::canSplit("Add Photos", " "));
    EXPECT_TRUE(IMGButtonTitleFitter::canSplit("Add\nPhotos", "_"));
    EXPECT_FALSE(IMGButtonTitleFitter::canSplit("Photos", " "));
}

TEST(IMGButtonTitleFitter, LargestSizeThatFitsTheMargins)
{
    const QString family = QGuiApplication::font().family();
    const QMargins margins(5, 5, 5, 5);
    const QRectF bounds(0, 0, 120, 30);
    const auto fit = IMGButtonTitleFitter::fit("Convert", bounds, margins, false, family);
    ASSERT_TRUE(fit.has_value());
    const QRectF room(5, 5, 110, 20);
    // The chosen size fits; one size more does not.
    EXPECT_LE(fit->size.width(), room.width());
    EXPECT_LE(fit->size.height(), room.height());
    QFont larger = fit->font;
    larger.setPixelSize(fit->font.pixelSize() + 1);
    const QSizeF over = IMGButtonTitleFitter::measure("Convert", larger);
    EXPECT_TRUE(over.width() > room.width() || over.height() > room.height());
    // Centred vertically in the room.
    EXPECT_DOUBLE_EQ(fit->rect.x(), 5);
    EXPECT_DOUBLE_EQ(fit->rect.y(), 5 + (20 - fit->size.height()) / 2);
    EXPECT_DOUBLE_EQ(fit->rect.width(), 110);

    // A title that fits even at size 50 gives nothing to store.
    EXPECT_FALSE(IMGButtonTitleFitter::fit("x", QRectF(0, 0, 2000, 500), margins, false, family).has_value());
    const auto largest = IMGButtonTitleFitter::largest("x", QRectF(0, 0, 2000, 500), margins, family);
    EXPECT_EQ(largest.font.pixelSize(), 50);

    // Nothing fits at all: the size below the smallest.
    const auto tiny = IMGButtonTitleFitter::fit("Convert", QRectF(0, 0, 12, 12), margins, false, family);
    ASSERT_TRUE(tiny.has_value());
    EXPECT_EQ(tiny->font.pixelSize(), 4);
}

TEST(IMGButtonTitleFitter, BoldTwentyForWideTitles)
{
    const QString family = QGuiApplication::font().family();
    const QString title = "Add photos to the batch now";
    // Find a width whose failing measure lies between 200 and 245.
    for (int width = 150; width < 260; ++width) {
        const QRectF bounds(0, 0, width + 10, 200);
        const auto plain = IMGButtonTitleFitter::fit(title, bounds, QMargins(5, 5, 5, 5), false, family);
        const auto bold = IMGButtonTitleFitter::fit(title, bounds, QMargins(5, 5, 5, 5), true, family);
        ASSERT_TRUE(plain && bold);
        QFont failing = plain->font;
        failing.setPixelSize(plain->font.pixelSize() + 1);
        const double failingWidth = IMGButtonTitleFitter::measure(title, failing).width();
        if (failingWidth > 200 && failingWidth < 245) {
            EXPECT_EQ(bold->font.pixelSize(), 20);
            EXPECT_TRUE(bold->font.bold());
            EXPECT_FALSE(plain->font.bold());
            return;
        }
        EXPECT_EQ(bold->font, plain->font);
    }
    FAIL() << "no width put the failing measure between 200 and 245";
}
