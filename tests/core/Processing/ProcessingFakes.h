#pragma once

// Stand-ins for the engine's collaborators: a view that records what it is shown, a file probe
// over the real file system with injectable permission, lock and free-space answers, a pipeline
// that writes a copy of the source, a settable clock, a folder opener and a log that record their
// calls, and a recorder of the end-of-run notifications.

#include <atomic>
#include <cerrno>
#include <chrono>
#include <functional>
#include <map>
#include <mutex>
#include <set>
#include <thread>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QObject>
#include <QStringList>

#include <gtest/gtest.h>

#include "core/Processing/ProcessingFileProbe.h"
#include "core/Processing/ProcessingSerialExecutor.h"
#include "core/Processing/RunCommitGate.h"
#include "core/Processing/RunInterfaces.h"
#include "platform/NotificationCenter.h"

namespace vantrel::test {

/// Runs the main thread's events until `done` holds (a generous safety limit, not a timing).
template <typename Predicate> bool spinUntil(Predicate done)
{
    QDeadlineTimer limit(60'000);
    while (!limit.hasExpired()) {
        if (done())
            return true;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    return false;
}

/// True once the run's worker threads have let go of their jobs, and with them of the engine: a
/// test that waits for this before its engine goes destroys the engine on this thread, after all
/// the workers did, as the application does (otherwise the worker may drop the last hold on it).
inline bool workerThreadsIdle()
{
    return ProcessingSerialExecutor::unfinishedJobs() == 0;
}

inline QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline void writeFile(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

struct OverwriteQuestion {
    QString renameText;
    QString existingPath;
    QString sourcePath;
};

class FakeView : public RunView {
public:
    void showProgressPanel() override { panels.append("progress"); }
    void showSummaryPanel() override { panels.append("summary"); }
    void setTitle(const QString& title) override { titles.append(title); }
    void setProgressValue(int percent) override { progress.append(percent); }
    void setCurrentPath(const QString& path) override { currentPaths.append(path); }
    void setBottomLine(const RunBottomLine& line) override { bottomLines.push_back(line); }
    void setSummary(const RunSummaryTexts& texts) override
    {
        summary = texts;
        ++summaryCount;
    }
    void setOverwriteQuestion(
        const QString& renameText, const QString& existingPath, const QString& sourcePath) override
    {
        questions.push_back({ renameText, existingPath, sourcePath });
    }
    void setRenameError(const QString& message) override { renameError = message; }
    void setLogNotice(const QString& text) override { logNotice = text; }

    QStringList panels;
    QStringList titles;
    QList<int> progress;
    QStringList currentPaths;
    std::vector<RunBottomLine> bottomLines;
    RunSummaryTexts summary;
    int summaryCount = 0;
    std::vector<OverwriteQuestion> questions;
    QString renameError;
    QString logNotice;
};

/// The real probe, with answers that cannot be staged for real when the tests run as root.
class FakeProbe : public ProcessingFileProbe {
public:
    std::optional<qint64> freeBytes(const QString& folder) override
    {
        if (onFreeBytes)
            onFreeBytes();
        std::lock_guard lock(mutex);
        if (!exists(folder))
            return std::nullopt;
        const auto it = free.find(folder);
        return it == free.end() ? std::optional<qint64>(qint64(1) << 40) : it->second;
    }
    bool isReadOnly(const QString& path) override
    {
        std::lock_guard lock(mutex);
        return readOnly.count(path) > 0;
    }
    bool isLocked(const QString& path) override
    {
        std::lock_guard lock(mutex);
        return locked.count(path) > 0;
    }
    std::optional<qint64> fileSize(const QString& path) override
    {
        if (onFileSize)
            onFileSize(path);
        return ProcessingFileProbe::fileSize(path);
    }
    bool makeFolder(const QString& folder) override
    {
        {
            std::lock_guard lock(mutex);
            if (uncreatable.count(folder))
                return false;
        }
        return ProcessingFileProbe::makeFolder(folder);
    }

    std::mutex mutex;
    std::map<QString, qint64> free;
    std::set<QString> readOnly;
    std::set<QString> locked;
    std::set<QString> uncreatable;
    std::function<void()> onFreeBytes; // called on the worker between its hops
    std::function<void(const QString&)> onFileSize; // called where a size is read (a writer measuring its output)
};

/// Names the output after the source (folder option 1: the output folder, with the kept folder
/// hierarchy reduced to the source's own folder name under it; else beside the source; filename
/// option 3 appends the prefix text; format option 1 takes the chosen format) and writes a copy of
/// the source there.
class FakePipeline : public RunPhotoPipeline {
public:
    QString outputPath(const PhotoFile& photo, const RunOptions& options) override
    {
        static const QStringList kFormats { "tif", "tiff", "png", "jpg", "jpeg", "jp2", "bmp", "gif" };
        const QFileInfo source(photo.filePath());
        QString folder = options.job.folderOption == 1 ? options.job.ouptputFolder : source.path();
        if (options.job.folderOption == 1 && options.job.keepFolderHierarchy)
            folder += "/" + source.dir().dirName();
        QString name = source.completeBaseName();
        if (options.job.filenameOption == 3)
            name += options.job.prefixString;
        const QString ext
            = options.job.formatOption != 0 ? kFormats.value(options.job.selectedFileFormat) : source.suffix();
        return folder + "/" + name + "." + ext;
    }
    RunSizeCheck checkSize(const PhotoFile& photo, const RunOptions&) override
    {
        std::lock_guard lock(mutex);
        if (unreadable.count(photo.filePath()))
            return RunSizeCheck::Unreadable;
        return refused.count(photo.filePath()) ? RunSizeCheck::Refused : RunSizeCheck::Accepted;
    }
    RunWriteResult write(const PhotoFile& photo, const QString& outputPath, const RunOptions& options) override
    {
        const int now = ++inWrite;
        int seen = maxInWrite.load();
        while (now > seen && !maxInWrite.compare_exchange_weak(seen, now)) { }
        if (duringWrite)
            duringWrite(photo, outputPath);
        int millis = 0;
        {
            std::lock_guard lock(mutex);
            if (const auto it = writeMillis.find(photo.filePath()); it != writeMillis.end())
                millis = it->second;
        }
        // A write that takes a while, so that later ones finish first (no test measures it). Spun
        // rather than slept: ThreadSanitizer keeps the sleep's stack read past the end of a
        // detached worker thread and reports it against the next thread on that stack.
        const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(millis);
        while (std::chrono::steady_clock::now() < until)
            std::this_thread::yield();
        {
            std::lock_guard lock(mutex);
            if (const auto it = failWrites.find(photo.filePath()); it != failWrites.end()) {
                --inWrite;
                return { it->second };
            }
            if (fullDisk.count(photo.filePath())) {
                --inWrite;
                return { 0, false, true };
            }
        }
        QFile in(photo.filePath());
        QByteArray bytes;
        if (in.open(QIODevice::ReadOnly))
            bytes = in.readAll();
        const QString temporary = outputPath + ".vantrel-test.tmp";
        QFile out(temporary);
        const bool ok = out.open(QIODevice::WriteOnly) && out.write(bytes + "|out") >= 0;
        out.close();
        // Put in place as the real pipeline does: through the run's gate, else the temporary goes.
        const auto commit = [&] {
            QFile::remove(outputPath);
            return QFile::rename(temporary, outputPath) ? 0 : EIO;
        };
        const bool renamed = ok && (options.commitGate ? options.commitGate->pass(temporary, outputPath, commit) : commit()) == 0;
        if (!renamed)
            QFile::remove(temporary);
        {
            std::lock_guard lock(mutex);
            writes.append(outputPath);
        }
        --inWrite;
        return { renamed ? 1 : 0 };
    }
    void removeTemporaries(const QStringList& folders) override
    {
        std::lock_guard lock(mutex);
        cleaned += folders;
    }
    qint64 memoryNeed(const PhotoFile&, const QString&, const RunOptions&) override { return memoryNeedEach; }

    std::mutex mutex;
    std::set<QString> refused;
    std::set<QString> unreadable; // sources whose header cannot be decoded
    std::map<QString, qint32> failWrites; // source path -> status of a write that fails
    std::set<QString> fullDisk; // sources whose write finds the volume full (nothing written)
    std::map<QString, int> writeMillis; // source path -> how long its write takes
    QStringList writes;
    QStringList cleaned;
    std::function<void(const PhotoFile&, const QString&)> duringWrite;
    std::atomic<int> inWrite { 0 };
    std::atomic<int> maxInWrite { 0 };
    qint64 memoryNeedEach = 0; // the share of the process's budget each write is admitted by
};

class FakeClock : public RunClock {
public:
    QDateTime now() override { return current; }
    void schedule(int, std::function<void()> fn) override { scheduled.push_back(std::move(fn)); }
    void runScheduled()
    {
        auto pending = std::move(scheduled);
        scheduled.clear();
        for (auto& fn : pending)
            fn();
    }
    QDateTime current;
    std::vector<std::function<void()>> scheduled;
};

class FakeOpener : public RunFolderOpener {
public:
    void openFolder(const QString& path) override { opened.append(path); }
    QStringList opened;
};

class FakeLog : public RunLogDatabase {
public:
    void writeRunLog(const QVariantMap& summary, const QList<QVariantMap>& rows,
        std::function<void(const RunLogResult&)> done) override
    {
        summaries.append(summary);
        details.append(rows);
        if (deferred)
            pending = std::move(done);
        else
            done(result);
    }
    QList<QVariantMap> summaries;
    QList<QVariantMap> details;
    RunLogResult result; // what every write answers at once
    bool deferred = false; // when set, the write ends only when the test calls `pending`
    std::function<void(const RunLogResult&)> pending;
};

/// Records the names of the notifications that concern a run, in order.
class NotificationRecorder {
public:
    explicit NotificationRecorder(const QStringList& names)
    {
        for (const QString& name : names)
            NotificationCenter::defaultCenter().addObserver(&m_context, name, [this](const Notification& n) {
                posted.append(n.name);
                if (n.userInfo.contains("type"))
                    alertTypes.append(n.userInfo.value("type").toInt());
            });
    }
    QStringList posted;
    QList<int> alertTypes;

private:
    QObject m_context;
};

} // namespace vantrel::test
