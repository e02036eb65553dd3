// A cell's paint reuses its scaled images and laid-out texts until one of their inputs changes.
#include "components/CollectionView/CellPaintCache.h"

#include <functional>

#include <QImage>

#include <gtest/gtest.h>

#include "components/CollectionView/KeltCollectionView.h"
#include "components/CollectionView/KeltCollectionViewCell.h"

using namespace vantrel;

namespace {

QImage filled(QSize size, QColor color)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(color);
    return image;
}

} // namespace

TEST(CollectionViewCell, PaintPreparesImagesAndTextsOnlyWhenTheirInputsChange)
{
    using P = KeltCollectionViewCell::Part;
    KeltCollectionViewCell cell;
    cell.resize(180, 220);
    cell.setBackgroundImage(filled({ 404, 270 }, Qt::red));
    cell.setNameValue(QStringLiteral("IMG_0001.jpg"));
    cell.setDimensionValue(QStringLiteral("Dimensions 4000 X 3000"));
    cell.setSizeValue(QStringLiteral("Size 3.21 MB"));

    QImage frame;
    const auto paint = [&] {
        frame = QImage(cell.size(), QImage::Format_ARGB32_Premultiplied);
        frame.fill(Qt::transparent);
        cell.render(&frame);
    };
    const auto colourAtCentreOf = [&](P part) {
        const QRectF box = cell.partFrame(part);
        return QColor(frame.pixel(QPointF(box.center().x(), cell.height() - box.center().y()).toPoint()));
    };
    const auto titleRow = [&] {
        const QRectF box = cell.partFrame(P::LblTitle);
        return frame.copy(QRectF(box.x(), cell.height() - box.bottom(), box.width(), box.height()).toRect());
    };

    paint();
    EXPECT_GE(cell.paintCache().imagesPrepared(), 1); // the thumbnail (and the check box when scaled)
    EXPECT_EQ(cell.paintCache().textsPrepared(), 3);
    EXPECT_EQ(colourAtCentreOf(P::ImgVwThumbnail), QColor(Qt::red));

    struct Step {
        const char* what;
        std::function<void()> change;
        int images; // prepared again by the next paint
        int texts;
    };
    const QImage blue = filled({ 404, 270 }, Qt::blue);
    const Step steps[] = {
        { "nothing changed", [] {}, 0, 0 },
        { "another name", [&] { cell.setNameValue(QStringLiteral("IMG_0002.jpg")); }, 0, 1 },
        { "the same name again", [&] { cell.setNameValue(QStringLiteral("IMG_0002.jpg")); }, 0, 0 },
        { "another size text", [&] { cell.setSizeValue(QStringLiteral("Size 1.02 MB")); }, 0, 1 },
        { "another thumbnail", [&] { cell.setBackgroundImage(blue); }, 1, 0 },
        { "the same thumbnail again", [&] { cell.setBackgroundImage(blue); }, 0, 0 },
        { "a wider cell: every box grows", [&] { cell.resize(240, 220); }, 1, 3 },
        { "a taller cell: the texts keep their width", [&] { cell.resize(240, 300); }, 1, 0 },
    };
    for (const Step& step : steps) {
        const int images = cell.paintCache().imagesPrepared();
        const int texts = cell.paintCache().textsPrepared();
        const QImage titleBefore = titleRow();
        step.change();
        paint();
        EXPECT_EQ(cell.paintCache().imagesPrepared() - images, step.images) << step.what;
        EXPECT_EQ(cell.paintCache().textsPrepared() - texts, step.texts) << step.what;
        if (QString::fromLatin1(step.what) == QLatin1String("another name"))
            EXPECT_NE(titleRow(), titleBefore) << "the new name is shown";
    }
    EXPECT_EQ(colourAtCentreOf(P::ImgVwThumbnail), QColor(Qt::blue));
}

TEST(CollectionViewCell, CachedTextsAreElidedToTheirBoxAndImagesScaledToTheirSize)
{
    CellPaintCache cache;
    QFont font;
    font.setPixelSize(12);
    const QString longName = QStringLiteral("DSC_00001_holiday_by_the_lake_in_the_mountains.jpg");
    struct Case {
        qreal width;
        bool elided;
    };
    for (const Case c : { Case { 60, true }, Case { 2000, false } }) {
        const QString shown = cache.text(CellPaintCache::TextSlot::Title, longName, font, c.width).text();
        EXPECT_EQ(shown != longName, c.elided) << c.width;
        EXPECT_LE(cache.text(CellPaintCache::TextSlot::Title, longName, font, c.width).size().width(), c.width);
    }
    QFont larger = font;
    larger.setPixelSize(20);
    const int before = cache.textsPrepared();
    cache.text(CellPaintCache::TextSlot::Title, longName, larger, 2000);
    EXPECT_EQ(cache.textsPrepared(), before + 1) << "a new font lays the text out again";

    const QImage source = filled({ 400, 300 }, Qt::green);
    EXPECT_EQ(cache.scaled(CellPaintCache::ImageSlot::Thumbnail, source, { 160, 120 }).size(), QSize(160, 120));
    EXPECT_EQ(cache.scaled(CellPaintCache::ImageSlot::Thumbnail, source, { 400, 300 }).cacheKey(), source.cacheKey())
        << "an image already at its size is drawn as it is";
}
