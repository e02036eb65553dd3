#include "core/Batch/ThumbnailService.h"

#include <QPointer>

#include "platform/MainThread.h"
#include "platform/imaging/Image.h"

namespace vantrel {

QImage ThumbnailService::decodeThumbnail(const QString& path, QSize box)
{
    // Straight to the imaging core's shrink-on-load thumbnail, fitted into the box: one header
    // read and one decode per photo.
    const Image image = Image::thumbnail(path, box);
    return image.isNull() ? QImage() : image.toQImage();
}

ThumbnailService::ThumbnailService(QSize box, qint64 cacheBytes, Decoder decoder, QObject* parent)
    : QObject(parent)
    , m_box(box)
    , m_decoder(std::move(decoder))
{
    m_cache.setMaxCost(cacheBytes);
    m_pool.setMaxThreadCount(2);
}

ThumbnailService::~ThumbnailService()
{
    invalidatePending();
    m_pool.clear();
    m_pool.waitForDone();
}

QImage ThumbnailService::cached(const QString& path) const
{
    const QImage* image = m_cache.object(path);
    return image ? *image : QImage();
}

void ThumbnailService::request(qsizetype item, const QString& path)
{
    const quint64 generation = m_state->generation.load();
    QPointer<ThumbnailService> self(this);
    m_pool.start([self, state = m_state, decoder = m_decoder, box = m_box, generation, item, path] {
        if (state->generation.load() != generation)
            return; // the view scrolled on: a later request covers what is visible now
        ++state->decodes;
        QImage image = decoder(path, box);
        runOnMainThreadAsync([self, item, path, image = std::move(image)] {
            if (self)
                self->deliver(item, path, image);
        });
    });
}

void ThumbnailService::deliver(qsizetype item, const QString& path, const QImage& image)
{
    if (!image.isNull())
        m_cache.insert(path, new QImage(image), qMax<qint64>(1, image.sizeInBytes()));
    emit thumbnailReady(item, path, image);
}

void ThumbnailService::invalidatePending()
{
    ++m_state->generation;
}

void ThumbnailService::clearCache()
{
    m_cache.clear();
}

} // namespace vantrel
