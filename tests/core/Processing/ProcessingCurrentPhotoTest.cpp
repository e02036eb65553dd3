// The progress panel's current-photo line with several writers: whatever order the writes finish
// in, and whatever outcomes wait behind them, the line names only a photo already counted or one
// the worker has reached, never one beyond the count of photos done, and it ends on the last
// photo.
#include <chrono>
#include <functional>
#include <mutex>
#include <set>
#include <thread>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "ProcessingFakes.h"
#include "core/AppDelegate.h"
#include "core/Processing/ProcessingEngine.h"
#include "core/Processing/ProcessingSerialExecutor.h"

namespace vantrel::test {
namespace {

/// Records each name shown on the line with the number of photos done at that moment and the
/// furthest photo the worker had reached (asked the output path of) by then.
class CountingView : public FakeView {
public:
    void setCurrentPath(const QString& path) override
    {
        FakeView::setCurrentPath(path);
        shownAt.append(engine ? engine->counterTotalProgressedFiles() : -1);
        furthestWhenShown.append(furthest ? furthest() : -1);
    }
    ProcessingEngine* engine = nullptr;
    std::function<int()> furthest;
    QList<int> shownAt;
    QList<int> furthestWhenShown;
};

/// The fake pipeline whose write of one photo waits until the worker has gone on to check the
/// size of a later one, so that the writes after it finish first.
class GatedPipeline : public FakePipeline {
public:
    QString outputPath(const PhotoFile& photo, const RunOptions& options) override
    {
        {
            std::lock_guard lock(reachedMutex);
            reached.insert(photo.filePath());
        }
        return FakePipeline::outputPath(photo, options);
    }
    bool wasReached(const QString& path)
    {
        std::lock_guard lock(reachedMutex);
        return reached.count(path) > 0;
    }
    RunSizeCheck checkSize(const PhotoFile& photo, const RunOptions& options) override
    {
        if (photo.fileName() == releaseOn)
            released = true;
        return FakePipeline::checkSize(photo, options);
    }
    RunWriteResult write(const PhotoFile& photo, const QString& outputPath, const RunOptions& options) override
    {
        if (photo.fileName() == held) {
            // A safety limit, not a timing: the worker reaches the later photo at once.
            const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(20);
            while (!released && std::chrono::steady_clock::now() < limit)
                std::this_thread::yield();
        }
        return FakePipeline::write(photo, outputPath, options);
    }
    QString held;
    QString releaseOn;
    std::atomic<bool> released { false };
    std::mutex reachedMutex;
    std::set<QString> reached;
};

TEST(ProcessingCurrentPhoto, NeverNamesAPhotoBeyondTheCount)
{
    // Each photo is "ok", "missing" (its source gone), "raw" (left out by "skipRaw") or "refused"
    // (a size the resize step refuses). The held photo's write waits until the worker checks the
    // size of `releaseOn`; the outcomes after it are decided meanwhile.
    const struct {
        const char* name;
        QStringList kinds;
        int held;
        int releaseOn;
    } cases[] = {
        { "the first write finishes last", { "ok", "ok", "ok", "ok", "ok", "ok", "ok", "ok", "ok" }, 0, 3 },
        { "a write in the middle finishes last", { "ok", "ok", "ok", "ok", "ok", "ok" }, 2, 5 },
        { "failures wait behind a write", { "ok", "missing", "raw", "refused", "ok", "ok" }, 0, 4 },
        { "failures after the last write", { "ok", "ok", "missing", "refused", "raw" }, 1, 3 },
        { "no write at all", { "missing", "raw", "refused" }, -1, -1 },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        AppDelegate* app = AppDelegate::resetShared();
        app->setRawConvertFormat("skipRaw");
        QTemporaryDir dir;
        ASSERT_TRUE(dir.isValid());
        const QString src = dir.filePath("src");
        const QString out = dir.filePath("out");
        QDir().mkpath(src);
        QDir().mkpath(out);
        auto pipeline = std::make_shared<GatedPipeline>();
        QStringList paths;
        for (int i = 0; i < c.kinds.size(); ++i) {
            const QString kind = c.kinds[i];
            const QString name = QStringLiteral("p%1.%2").arg(i).arg(kind == "raw" ? "cr2" : "jpg");
            const QString path = src + "/" + name;
            if (kind != "missing")
                writeFile(path, name.toUtf8());
            if (kind == "refused")
                pipeline->refused.insert(path);
            auto photo = std::make_shared<PhotoFile>();
            photo->setFilePath(path);
            photo->setFileURL(path);
            photo->setFileName(name);
            photo->setFileExtension(QFileInfo(name).suffix());
            photo->setIsSelected(true);
            app->arraySelectedImagesToProcess.append(photo);
            paths << path;
        }
        if (c.held >= 0) {
            pipeline->held = QFileInfo(paths[c.held]).fileName();
            pipeline->releaseOn = QFileInfo(paths[c.releaseOn]).fileName();
        }
        auto engine = ProcessingEngine::create({ pipeline, std::make_shared<FakeProbe>(), std::make_shared<FakeClock>(),
            nullptr, std::make_shared<FakeLog>(), std::make_shared<ProcessingSerialExecutor>(), 3 });
        CountingView view;
        view.engine = engine.get();
        view.furthest = [&] {
            int furthest = -1;
            for (int i = 0; i < paths.size(); ++i)
                if (pipeline->wasReached(paths[i]))
                    furthest = i;
            return furthest;
        };
        engine->setView(&view);
        RunOptions options;
        options.job.folderOption = 1;
        options.job.ouptputFolder = out;
        options.askBeforeOverwrite = false;

        ASSERT_TRUE(engine->startProcess(options));
        ASSERT_TRUE(
            spinUntil([&] { return !engine->isRunActive() && engine->activeWorkers() == 0 && workerThreadsIdle(); }));
        ASSERT_EQ(engine->counterTotalProgressedFiles(), paths.size());

        ASSERT_FALSE(view.currentPaths.isEmpty());
        for (int i = 0; i < view.currentPaths.size(); ++i) {
            const int index = int(paths.indexOf(view.currentPaths[i]));
            EXPECT_LE(index, view.shownAt[i])
                << "the line named photo " << index + 1 << " with " << view.shownAt[i] << " photos done";
            // Photo `done + 1` is the next one due: named only once the worker is at it or beyond.
            EXPECT_TRUE(index < view.shownAt[i] || index <= view.furthestWhenShown[i])
                << "the line named photo " << index + 1 << " before the worker reached it";
        }
        EXPECT_EQ(view.currentPaths.last(), paths.last()) << "the line does not end on the last photo";
        engine->setView(nullptr);
    }
}

} // namespace
} // namespace vantrel::test
