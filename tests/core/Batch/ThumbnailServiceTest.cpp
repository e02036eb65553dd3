// The thumbnail service decodes on its own two workers, lets queued requests lapse after a scroll,
// and keeps its cache within its byte bound.
#include <gtest/gtest.h>

#include <atomic>

#include <QCoreApplication>
#include <QSemaphore>
#include <QStringList>
#include <QThread>

#include "core/Batch/ThumbnailService.h"

namespace vantrel {
namespace {

struct Answer {
    qsizetype item;
    QString path;
    bool hasImage;
};

QList<Answer> collect(ThumbnailService& service, int expected)
{
    QList<Answer> answers;
    QObject context;
    QObject::connect(&service, &ThumbnailService::thumbnailReady, &context,
        [&](qsizetype item, const QString& path, const QImage& image) {
            answers.append({ item, path, !image.isNull() });
        });
    service.waitForWorkers();
    while (answers.size() < expected)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    QCoreApplication::processEvents();
    return answers;
}

QImage square(int side)
{
    QImage image(side, side, QImage::Format_ARGB32);
    image.fill(Qt::red);
    return image;
}

TEST(ThumbnailServiceTest, CacheStaysWithinItsBytesAndEvictedPhotosDecodeAgain)
{
    std::atomic<bool> onWorker { true };
    const Qt::HANDLE mainThread = QThread::currentThreadId();
    ThumbnailService service({ 100, 100 }, 100'000, [&](const QString& path, QSize box) {
        if (QThread::currentThreadId() == mainThread)
            onWorker = false;
        return path.endsWith("broken") ? QImage() : square(box.width()); // 40,000 bytes each
    });
    for (int i = 0; i < 5; ++i)
        service.request(i, QStringLiteral("/p/%1").arg(i));
    service.request(5, "/p/broken");
    const QList<Answer> answers = collect(service, 6);
    EXPECT_TRUE(onWorker);
    EXPECT_EQ(answers.size(), 6);
    EXPECT_LE(service.cacheBytes(), 100'000);
    EXPECT_EQ(service.cachedCount(), 2);
    EXPECT_TRUE(service.cached("/p/broken").isNull());
    for (const Answer& answer : answers)
        EXPECT_EQ(answer.hasImage, answer.path != "/p/broken") << answer.path.toStdString();

    int evicted = -1;
    for (int i = 0; i < 5 && evicted < 0; ++i) {
        if (service.cached(QStringLiteral("/p/%1").arg(i)).isNull())
            evicted = i;
    }
    ASSERT_GE(evicted, 0);
    const quint64 before = service.decodeCount();
    service.request(evicted, QStringLiteral("/p/%1").arg(evicted));
    collect(service, 1);
    EXPECT_EQ(service.decodeCount(), before + 1);
    EXPECT_FALSE(service.cached(QStringLiteral("/p/%1").arg(evicted)).isNull());

    service.clearCache();
    EXPECT_EQ(service.cacheBytes(), 0);
}

TEST(ThumbnailServiceTest, RequestsQueuedBeforeAScrollLapseBeforeDecoding)
{
    QSemaphore decoding;
    QSemaphore gate;
    ThumbnailService service({ 10, 10 }, 1'000'000, [&](const QString&, QSize box) {
        decoding.release();
        gate.acquire();
        return square(box.width());
    });
    for (int i = 0; i < 8; ++i)
        service.request(i, QStringLiteral("/p/%1").arg(i));
    decoding.acquire(2); // both workers are inside a decode; six requests wait
    service.invalidatePending();
    service.request(7, "/p/after-scroll");
    gate.release(3);
    const QList<Answer> answers = collect(service, 3);
    EXPECT_EQ(service.decodeCount(), 3u);
    QStringList paths;
    for (const Answer& answer : answers)
        paths << answer.path;
    paths.sort();
    EXPECT_EQ(paths, (QStringList { "/p/0", "/p/1", "/p/after-scroll" }));
}

} // namespace
} // namespace vantrel
