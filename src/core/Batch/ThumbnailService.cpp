#include "core/Batch/ThumbnailService.h"

#include <mutex>

#ifdef __GLIBC__
#include <malloc.h>
#endif

#include <QPointer>

#include "platform/MainThread.h"
#include "platform/imaging/Image.h"

namespace vantrel {

namespace {

// Grid thumbnails are half-megabyte buffers made on the workers and freed, out of order, when the
// cache evicts them. With glibc's sliding mmap threshold such buffers soon come from the heap,
// which then cannot shrink: scrolling through 100,000 photos left 1.3 GB resident for 130 MB of
// cache. A fixed threshold below their size gives each one back to the system when it is freed
// (the imaging set-up fixes it at 4 MB for the run's buffers; the thumbnails need it lower).
void useFixedMmapThreshold()
{
#ifdef __GLIBC__
    static std::once_flag once;
    std::call_once(once, [] { mallopt(M_MMAP_THRESHOLD, 256 * 1024); });
#endif
}

} // namespace

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
    useFixedMmapThreshold();
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
