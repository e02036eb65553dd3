#pragma once

#include <array>

#include <QFont>
#include <QImage>
#include <QSize>
#include <QStaticText>
#include <QString>

namespace vantrel {

/// What a cell paints that costs more to prepare than to draw: images scaled to the size they are
/// shown at, and texts elided to their box and laid out. Each entry is kept until what it was made
/// from changes (the image, the text, the font or the size), so that a frame of a scroll or of a
/// live resize only draws. One per cell; main thread.
class CellPaintCache {
public:
    enum class ImageSlot { Thumbnail, CheckBox };
    enum class TextSlot { Title, Dimension, Size };

    /// `image` scaled smoothly to `size` device pixels; `image` itself when it has that size.
    const QImage& scaled(ImageSlot slot, const QImage& image, QSize size);
    /// `value` in `font`, elided at its right end to fit `width`, laid out for drawing.
    const QStaticText& text(TextSlot slot, const QString& value, const QFont& font, qreal width);

    /// How many images were scaled and texts laid out so far (what the cache did not spare).
    int imagesPrepared() const { return m_imagesPrepared; }
    int textsPrepared() const { return m_textsPrepared; }

private:
    struct ScaledImage {
        qint64 sourceKey = 0;
        QSize size;
        QImage image;
    };
    struct LaidOutText {
        QString value;
        QFont font;
        qreal width = -1;
        QStaticText text;
    };
    std::array<ScaledImage, 2> m_images;
    std::array<LaidOutText, 3> m_texts;
    int m_imagesPrepared = 0;
    int m_textsPrepared = 0;
};

} // namespace vantrel
