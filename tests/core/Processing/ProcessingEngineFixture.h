// The batch run with fakes around it: a probe over a temporary folder with injected permission and
// space answers and a pipeline that writes "<source bytes>|out" (RunBench, shared by the engine
// fixtures), and for ProcessingEngineTest an inline executor (the whole run happens inside the call
// that starts or resumes it).
#pragma once

#include <memory>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "ProcessingFakes.h"
#include "core/AppDelegate.h"
#include "core/Catalogue.h"
#include "core/Processing/ProcessingEngine.h"
#include "core/Processing/ProcessingInlineExecutor.h"
#include "core/Processing/RunSummary.h"

namespace vantrel::test {

inline const QStringList kRunNotifications { kNotificationsDisbleView, kNotificationShowOverwriteAlert,
    kNotificationHideOverwriteAlert, kNotificationShowAlertWithType, kNotificationsEnable,
    kNotificationsSaveasPredefinedSize, kNotificationsProcessFinished };

/// What every engine fixture starts from: an emptied shared batch, fresh "src" and "out" folders in a
/// temporary folder, fresh fakes, and run options that write into "out". The engine is made by
/// `makeEngine`, as fixtures differ in executor, opener, writer count and the notifications watched.
class RunBench : public ::testing::Test {
public:
    void freshBatch()
    {
        AppDelegate::resetShared();
        dir = std::make_unique<QTemporaryDir>();
        ASSERT_TRUE(dir->isValid());
        src = dir->path() + "/src";
        out = dir->path() + "/out";
        QDir().mkpath(src);
        QDir().mkpath(out);
        view = std::make_unique<FakeView>();
        probe = std::make_shared<FakeProbe>();
        pipeline = std::make_shared<FakePipeline>();
        clock = std::make_shared<FakeClock>();
        clock->current = QDateTime(QDate(2026, 12, 28), QTime(15, 5, 7));
        log = std::make_shared<FakeLog>();
        options = RunOptions();
        options.job.folderOption = 1;
        options.job.ouptputFolder = out;
    }

    void makeEngine(std::shared_ptr<RunExecutor> executor, std::shared_ptr<RunFolderOpener> opener, int writers,
        const QStringList& watched)
    {
        engine = ProcessingEngine::create(
            { pipeline, probe, clock, std::move(opener), log, std::move(executor), writers });
        engine->setView(view.get());
        recorder = std::make_unique<NotificationRecorder>(watched);
    }

    /// A checked photo of the batch at `path`, said to be `sizeInBytes` long.
    PhotoFilePtr addCheckedPhoto(const QString& path, qint64 sizeInBytes)
    {
        auto photo = std::make_shared<PhotoFile>();
        const QFileInfo info(path);
        photo->setFilePath(path);
        photo->setFileURL(path);
        photo->setFileName(info.fileName());
        photo->setFileExtension(info.suffix());
        photo->setFileSizeInBytes(sizeInBytes);
        photo->setIsSelected(true);
        AppDelegate::shareDelegate()->arraySelectedImagesToProcess.append(photo);
        return photo;
    }

    /// The record of each photo of the run, in batch order.
    QList<qint32> statuses() const
    {
        QList<qint32> result;
        for (const PhotoFilePtr& photo : engine->arrPhotosToProcess())
            result.append(photo->processStatus());
        return result;
    }
    QStringList messages() const
    {
        QStringList result;
        for (const PhotoFilePtr& photo : engine->arrPhotosToProcess())
            result.append(photo->processInfoMessage());
        return result;
    }
    bool finished() const { return recorder->posted.contains(kNotificationsProcessFinished); }

    std::unique_ptr<QTemporaryDir> dir;
    QString src;
    QString out;
    std::unique_ptr<FakeView> view;
    std::shared_ptr<FakeProbe> probe;
    std::shared_ptr<FakePipeline> pipeline;
    std::shared_ptr<FakeClock> clock;
    std::shared_ptr<FakeLog> log;
    std::shared_ptr<ProcessingEngine> engine;
    std::unique_ptr<NotificationRecorder> recorder;
    RunOptions options;
};

class ProcessingEngineTest : public RunBench {
public:
    void SetUp() override { reset(); }

    /// A fresh batch, folders and engine (table-driven tests call it once per row).
    void reset()
    {
        freshBatch();
        opener = std::make_shared<FakeOpener>();
        executor = std::make_shared<ProcessingInlineExecutor>();
        // One writer: the hooks of these tests act on the engine from inside a write, on its thread.
        makeEngine(executor, opener, 1, kRunNotifications);
    }

    /// A checked photo of the batch; its file holds `bytes` (no file when bytes is null).
    PhotoFilePtr addPhoto(const QString& path, const QByteArray& bytes)
    {
        if (!bytes.isNull())
            writeFile(path, bytes);
        PhotoFilePtr photo = addCheckedPhoto(path, bytes.size());
        photo->setFileSizeAsString(QString::number(bytes.size()) + " bytes");
        return photo;
    }
    PhotoFilePtr addPhoto(const QString& name) { return addPhoto(src + "/" + name, name.toUtf8()); }
    /// Outputs beside their sources under the same names, replaced without a question.
    void replaceSources()
    {
        options.job.folderOption = 0;
        options.askBeforeOverwrite = false;
    }

    std::shared_ptr<FakeOpener> opener;
    std::shared_ptr<ProcessingInlineExecutor> executor;
};

} // namespace vantrel::test
