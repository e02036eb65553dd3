// The missing-photo check: which photos count, which alert reports them, and the removal of the
// gone photos by identity after a worker has looked, with a photo added while it looked.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QSemaphore>
#include <QSet>
#include <QTemporaryDir>
#include <QThread>

#include "core/Batch/BatchRemoval.h"
#include "core/Batch/MissingPhotoCheck.h"
#include "support/TestImages.h"

namespace vantrel {
namespace {

PhotoFilePtr photoAt(const QString& path, double width = 100, double height = 80)
{
    auto photo = std::make_shared<PhotoFile>();
    photo->setFilePath(path);
    photo->setWidth(width);
    photo->setHeight(height);
    return photo;
}

TEST(MissingPhotoCheckTest, AlertForMissingPhotos)
{
    const struct {
        qsizetype count;
        qsizetype missing;
        int alert;
    } rows[] = {
        { 0, 0, 0 },
        { 1, 0, 0 },
        { 1, 1, 103 }, // a batch of one: 103, never 106
        { 5, 1, 104 },
        { 5, 2, 105 },
        { 5, 4, 105 },
        { 3, 3, 106 },
        { 2, 2, 106 },
        { 100'000, 0, 0 },
    };
    for (const auto& row : rows)
        EXPECT_EQ(MissingPhotoCheck::alertForMissing(row.count, row.missing), row.alert)
            << row.count << " " << row.missing;
}

TEST(MissingPhotoCheckTest, WhatCountsAsMissingAndWhatIsRemoved)
{
    QTemporaryDir dir;
    const QString present = dir.filePath("present.jpg");
    ASSERT_TRUE(testimages::writePattern(present, 20, 10));
    const struct {
        const char* name;
        PhotoFilePtr photo;
        bool missingForCheck;
        bool gone;
    } rows[] = {
        { "present", photoAt(present), false, false },
        { "deleted", photoAt(dir.filePath("deleted.jpg")), true, true },
        { "no width", photoAt(present, 0, 80), true, false },
        { "no height", photoAt(present, 100, 0), true, false },
        { "empty path", photoAt(QString()), true, true },
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(MissingPhotoCheck::countsAsMissing(*row.photo, MissingPhotoCheck::fileExists), row.missingForCheck);
        EXPECT_EQ(
            MissingPhotoCheck::goneRecords({ row.photo }, MissingPhotoCheck::fileExists).size(), row.gone ? 1 : 0);
    }
}

// The worker decides on a snapshot; meanwhile the main thread adds a photo whose path the probe
// would call gone. The hop removes exactly the records the worker found, by identity.
TEST(MissingPhotoCheckTest, RemovalByIdentityKeepsAPhotoAddedMeanwhile)
{
    QList<PhotoFilePtr> batch { photoAt("/gone/a.jpg"), photoAt("/here/b.jpg"), photoAt("/gone/c.jpg") };
    QSet<QString> duplicateMap { "/gone/a.jpg", "/here/b.jpg", "/gone/c.jpg" };
    QSemaphore probing;
    QSemaphore mayAnswer;
    const auto probe = [&](const QString& path) {
        probing.release();
        mayAnswer.acquire();
        return !path.startsWith("/gone/");
    };
    QObject context;
    bool answered = false;
    MissingPhotoCheck::findGoneAsync(
        batch, &context,
        [&](QList<PhotoFilePtr> gone) {
            BatchRemoval::removeRecords(batch, gone, [&](const QString& p) { duplicateMap.remove(p); });
            answered = true;
        },
        probe);

    probing.acquire(); // the worker is inside its first stat
    batch.append(photoAt("/gone/added-meanwhile.jpg"));
    duplicateMap.insert("/gone/added-meanwhile.jpg");
    mayAnswer.release(3);
    while (!answered)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);

    ASSERT_EQ(batch.size(), 2);
    EXPECT_EQ(batch[0]->filePath(), "/here/b.jpg");
    EXPECT_EQ(batch[1]->filePath(), "/gone/added-meanwhile.jpg");
    EXPECT_EQ(duplicateMap, (QSet<QString> { "/here/b.jpg", "/gone/added-meanwhile.jpg" }));
}

TEST(MissingPhotoCheckTest, CheckRunsOffTheMainThreadAndAnswersTheAlert)
{
    QList<PhotoFilePtr> batch;
    for (int i = 0; i < 5; ++i)
        batch.append(photoAt(QStringLiteral("/p/%1.jpg").arg(i)));
    QObject context;
    int alert = -1;
    Qt::HANDLE probeThread = nullptr;
    MissingPhotoCheck::checkAsync(
        batch, &context, [&](int a) { alert = a; },
        [&](const QString& path) {
            probeThread = QThread::currentThreadId();
            return !(path.endsWith("1.jpg") || path.endsWith("3.jpg"));
        });
    while (alert < 0)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    EXPECT_EQ(alert, 105);
    EXPECT_NE(probeThread, QThread::currentThreadId());

    int emptyAlert = -1;
    MissingPhotoCheck::checkAsync({}, &context, [&](int a) { emptyAlert = a; });
    EXPECT_EQ(emptyAlert, 0);
}

} // namespace
} // namespace vantrel
