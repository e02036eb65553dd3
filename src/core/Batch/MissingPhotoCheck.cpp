#include "core/Batch/MissingPhotoCheck.h"

#include <sys/stat.h>

#include <QFile>
#include <QPointer>
#include <QThreadPool>

#include "core/Batch/BatchRemoval.h"
#include "platform/MainThread.h"

namespace vantrel {

namespace {

// Runs work on a pool thread and its answer on the main thread, dropped when the context died.
template <typename Result>
void runThenAnswer(QObject* context, std::function<Result()> work, std::function<void(Result)> done)
{
    QPointer<QObject> guard(context);
    QThreadPool::globalInstance()->start([guard, work = std::move(work), done = std::move(done)]() mutable {
        Result result = work();
        runOnMainThreadAsync([guard, result = std::move(result), done = std::move(done)]() mutable {
            if (guard)
                done(std::move(result));
        });
    });
}

} // namespace

bool MissingPhotoCheck::fileExists(const QString& path)
{
    struct stat info { };
    return !path.isEmpty() && ::stat(QFile::encodeName(path).constData(), &info) == 0;
}

bool MissingPhotoCheck::countsAsMissing(const PhotoFile& photo, const ExistsProbe& exists)
{
    return !exists(photo.filePath()) || !(photo.width() > 0) || !(photo.height() > 0);
}

qsizetype MissingPhotoCheck::countMissing(const QList<PhotoFilePtr>& snapshot, const ExistsProbe& exists)
{
    qsizetype missing = 0;
    for (auto it = snapshot.crbegin(); it != snapshot.crend(); ++it) {
        if (countsAsMissing(**it, exists))
            ++missing;
    }
    return missing;
}

int MissingPhotoCheck::alertForMissing(qsizetype count, qsizetype missing)
{
    if (count <= 0 || missing <= 0)
        return BatchAlert::kNone;
    if (count == 1)
        return BatchAlert::kChosenPhotoMissing;
    if (missing >= count)
        return BatchAlert::kAllPhotosMissing;
    return missing == 1 ? BatchAlert::kOnePhotoMissing : BatchAlert::kSomePhotosMissing;
}

QList<PhotoFilePtr> MissingPhotoCheck::goneRecords(const QList<PhotoFilePtr>& snapshot, const ExistsProbe& exists)
{
    QList<PhotoFilePtr> gone;
    for (const PhotoFilePtr& photo : snapshot) {
        if (!exists(photo->filePath()))
            gone.append(photo);
    }
    return gone;
}

void MissingPhotoCheck::checkAsync(
    const QList<PhotoFilePtr>& snapshot, QObject* context, std::function<void(int alert)> done, ExistsProbe exists)
{
    if (snapshot.isEmpty()) {
        done(BatchAlert::kNone);
        return;
    }
    runThenAnswer<int>(
        context,
        [snapshot, exists = std::move(exists)] {
            return alertForMissing(snapshot.size(), countMissing(snapshot, exists));
        },
        std::move(done));
}

void MissingPhotoCheck::findGoneAsync(const QList<PhotoFilePtr>& snapshot, QObject* context,
    std::function<void(QList<PhotoFilePtr> gone)> done, ExistsProbe exists)
{
    runThenAnswer<QList<PhotoFilePtr>>(
        context, [snapshot, exists = std::move(exists)] { return goneRecords(snapshot, exists); }, std::move(done));
}

} // namespace vantrel
