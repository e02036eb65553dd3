#pragma once

#include <atomic>
#include <functional>
#include <memory>

#include <QCache>
#include <QImage>
#include <QObject>
#include <QSize>
#include <QString>
#include <QThreadPool>

namespace vantrel {

/// Thumbnails for one batch view (the grid, or the list): decoded on the service's own two
/// worker threads, cached on the main thread.
///
/// A request names the view's item and the photo's path. Requests queued before the last
/// invalidatePending() lapse before decoding (the view scrolled meanwhile). The answer comes back
/// on the main thread as thumbnailReady(item, path, image), a null image when the photo cannot be
/// read; the view shows it only if that item still shows that path, because after a removal or a
/// re-add the same item can mean another photo. Workers make QImage only.
///
/// The cache maps paths to images and is bounded by bytes; it is touched on the main thread
/// only. An evicted photo is decoded again when it is next requested.
class ThumbnailService : public QObject {
    Q_OBJECT
public:
    /// Makes a thumbnail fitting `box`; a null image on failure. Called on worker threads.
    using Decoder = std::function<QImage(const QString& path, QSize box)>;

    /// The imaging core's shrink-on-load thumbnail.
    static QImage decodeThumbnail(const QString& path, QSize box);

    ThumbnailService(QSize box, qint64 cacheBytes, Decoder decoder = decodeThumbnail, QObject* parent = nullptr);
    /// Drops queued requests and waits for the (at most two) decodes under way.
    ~ThumbnailService() override;

    QSize box() const { return m_box; }

    /// The cached thumbnail of a path, or a null image.
    QImage cached(const QString& path) const;
    /// Queues one decode for `item` showing `path`.
    void request(qsizetype item, const QString& path);
    /// Makes every request queued so far lapse before it decodes.
    void invalidatePending();
    /// Empties the cache (queued requests still answer, and fill it again).
    void clearCache();

    qint64 cacheBytes() const { return m_cache.totalCost(); }
    qint64 cacheLimit() const { return m_cache.maxCost(); }
    int cachedCount() const { return int(m_cache.count()); }
    /// Decodes started since creation (for tests and benchmarks).
    quint64 decodeCount() const { return m_state->decodes.load(); }
    /// Waits until no request is queued or decoding. For tests and benchmarks only.
    void waitForWorkers() { m_pool.waitForDone(); }

signals:
    void thumbnailReady(qsizetype item, const QString& path, const QImage& image);

private:
    struct State {
        std::atomic<quint64> generation { 0 };
        std::atomic<quint64> decodes { 0 };
    };

    void deliver(qsizetype item, const QString& path, const QImage& image);

    QSize m_box;
    Decoder m_decoder;
    std::shared_ptr<State> m_state = std::make_shared<State>();
    QCache<QString, QImage> m_cache;
    QThreadPool m_pool;
};

} // namespace vantrel
