#include "components/CollectionView/CellPaintCache.h"

#include <QFontMetricsF>

namespace vantrel {

const QImage& CellPaintCache::scaled(ImageSlot slot, const QImage& image, QSize size)
{
    ScaledImage& entry = m_images[size_t(slot)];
    if (image.size() == size || image.isNull() || size.isEmpty())
        return image;
    if (entry.sourceKey != image.cacheKey() || entry.size != size || entry.image.isNull()) {
        // Scaled here, once, on this thread: QPainter would scale it again at every paint and
        // hand large scalings to its thread pool, which costs more in hand-offs than the work.
        entry.image = image.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        entry.sourceKey = image.cacheKey();
        entry.size = size;
        ++m_imagesPrepared;
    }
    return entry.image;
}

const QStaticText& CellPaintCache::text(TextSlot slot, const QString& value, const QFont& font, qreal width)
{
    LaidOutText& entry = m_texts[size_t(slot)];
    if (entry.width != width || entry.value != value || entry.font != font) {
        entry.value = value;
        entry.font = font;
        entry.width = width;
        entry.text.setTextFormat(Qt::PlainText);
        entry.text.setPerformanceHint(QStaticText::AggressiveCaching);
        entry.text.setText(QFontMetricsF(font).elidedText(value, Qt::ElideRight, width));
        entry.text.prepare(QTransform(), font);
        ++m_textsPrepared;
    }
    return entry.text;
}

} // namespace vantrel
