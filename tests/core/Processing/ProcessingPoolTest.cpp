// The batch run with several writers: the same batch gives the same records, texts, progress and
// log rows with one writer and with three; barriers (the overwrite question, the low-space alert,
// a hold) wait for every write in flight; never more writes at once than writers. Real
// worker and writer threads, the main thread's event loop carrying the hops.
#include <chrono>
#include <latch>
#include <mutex>
#include <semaphore>
#include <thread>
#include <vector>

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include "ProcessingEngineFixture.h"
#include "core/AppDelegate.h"
#include "core/Catalogue.h"
#include "core/Processing/ProcessingEngine.h"
#include "core/Processing/ProcessingInlineExecutor.h"
#include "core/Processing/ProcessingSerialExecutor.h"
#include "core/Processing/ProcessingWritePool.h"
#include "platform/imaging/DecodeBudget.h"
#include "platform/imaging/VipsInclude.h"

namespace vantrel::test {
namespace {

/// Everything a user or the log can see of a finished run.
struct Seen {
    QList<qint32> statuses;
    QStringList messages;
    QList<int> progress;
    QStringList bottomLines;
    QStringList logRows;
    QStringList files; // name=content of every file in the output folder
    QString converted;
    QString failed;
};

class ProcessingPoolTest : public RunBench {
public:
    void SetUp() override { reset(1); }
    void TearDown() override
    {
        if (engine)
            spinUntil([&] { return settled(); });
    }

    /// A fresh batch, folders and engine with `writerCount` writers; with one writer the whole run
    /// may happen inside the call that starts it (on this thread, as a plain serial run).
    void reset(int writerCount, bool onThisThread = false)
    {
        if (engine) {
            ASSERT_TRUE(spinUntil([&] { return settled(); }));
        }
        freshBatch();
        std::shared_ptr<RunExecutor> executor = std::make_shared<ProcessingSerialExecutor>();
        if (onThisThread)
            executor = std::make_shared<ProcessingInlineExecutor>();
        makeEngine(executor, nullptr, writerCount,
            { kNotificationShowOverwriteAlert, kNotificationShowAlertWithType, kNotificationsProcessFinished });
        writers = writerCount;
        context = std::make_unique<QObject>();
        inWriteAtQuestion.clear();
        countedAtQuestion.clear();
        options.askBeforeOverwrite = false;
    }

    /// A checked photo whose file holds its own name (no file when `exists` is false); its write
    /// takes `millis`.
    PhotoFilePtr addPhoto(const QString& path, int millis = 0, bool exists = true)
    {
        if (exists)
            writeFile(path, QFileInfo(path).fileName().toUtf8());
        pipeline->writeMillis[path] = millis;
        return addCheckedPhoto(path, 100);
    }
    /// Photos p0.jpg ... p<count-1>.jpg, the early ones slower, so later writes finish first.
    void addPhotos(int count)
    {
        for (int i = 0; i < count; ++i)
            addPhoto(src + QStringLiteral("/p%1.jpg").arg(i), (count - i) * 4);
    }

    bool settled() const { return engine->activeWorkers() == 0 && workerThreadsIdle(); }

    Seen seen() const
    {
        Seen s;
        s.statuses = statuses();
        s.messages = messages();
        s.progress = view->progress;
        for (const RunBottomLine& line : view->bottomLines)
            s.bottomLines.append(line.text);
        for (const QVariantMap& row : log->details) {
            QString text = row.value("inputFilename").toString() + " -> " + row.value("outputFilename").toString()
                + ": " + row.value("information").toString();
            s.logRows.append(text.remove(dir->path()));
        }
        for (const QString& name : QDir(out).entryList(QDir::Files, QDir::Name))
            s.files.append(name + "=" + readAll(out + "/" + name));
        s.converted = view->summary.imagesConverted;
        s.failed = view->summary.conversionFailed;
        return s;
    }

    /// At the moment of a question or an alert: writes in flight and photos counted.
    void recordAtQuestions()
    {
        for (const char* name : { kNotificationShowOverwriteAlert, kNotificationShowAlertWithType })
            NotificationCenter::defaultCenter().addObserver(context.get(), name, [this](const Notification&) {
                inWriteAtQuestion.append(pipeline->inWrite.load());
                countedAtQuestion.append(engine->counterTotalProgressedFiles());
            });
    }

    int writers = 1;
    std::unique_ptr<QObject> context;
    QList<int> inWriteAtQuestion;
    QList<int> countedAtQuestion;
};

TEST_F(ProcessingPoolTest, ThreeWritersShowWhatOneWriterShows)
{
    // Written photos of different write times, failures between them, two photos with one output
    // name, and a photo whose source is the output of an earlier photo still being written.
    std::map<int, Seen> runs;
    for (const int k : { 1, 3 }) {
        SCOPED_TRACE(k);
        reset(k, k == 1);
        AppDelegate::shareDelegate()->setRawConvertFormat("skipRaw");
        addPhoto(src + "/a.jpg", 60);
        addPhoto(src + "/gone.jpg", 0, false);
        addPhoto(src + "/big.jpg");
        pipeline->refused.insert(src + "/big.jpg");
        addPhoto(src + "/one/dup.jpg", 40);
        addPhoto(src + "/two/dup.jpg", 0);
        addPhoto(src + "/raw.CR2");
        addPhoto(out + "/ro.jpg"); // read-only, and its output would replace it
        probe->readOnly.insert(out + "/ro.jpg");
        addPhoto(out + "/a.jpg", 0, false); // a.jpg's output, read once a.jpg is written
        addPhoto(src + "/fails.jpg", 30);
        pipeline->failWrites[src + "/fails.jpg"] = 0;
        for (int i = 0; i < 6; ++i)
            addPhoto(src + QStringLiteral("/q%1.jpg").arg(i), (6 - i) * 5);
        ASSERT_TRUE(engine->startProcess(options));
        ASSERT_TRUE(spinUntil([&] { return finished() && settled(); }));
        EXPECT_LE(pipeline->maxInWrite.load(), k);
        runs[k] = seen();
    }
    const Seen& one = runs[1];
    const Seen& three = runs[3];
    EXPECT_EQ(three.statuses, one.statuses);
    EXPECT_EQ(three.messages.join('\n').toStdString(), one.messages.join('\n').toStdString());
    EXPECT_EQ(three.progress, one.progress);
    EXPECT_EQ(three.bottomLines.join('\n').toStdString(), one.bottomLines.join('\n').toStdString());
    EXPECT_EQ(three.logRows.join('\n').toStdString(), one.logRows.join('\n').toStdString());
    EXPECT_EQ(three.files.join('\n').toStdString(), one.files.join('\n').toStdString());
    EXPECT_EQ(three.converted, one.converted);
    EXPECT_EQ(three.failed, one.failed);
    EXPECT_EQ(one.statuses, (QList<qint32> { 1, 2, 7, 1, 1, 8, 10, 1, 0, 1, 1, 1, 1, 1, 1 }));
    EXPECT_EQ(one.messages[1], "File not Processed");
    EXPECT_EQ(one.messages[8], "File not Processed");
    EXPECT_TRUE(one.files.contains("a.jpg=a.jpg|out"));
    EXPECT_TRUE(one.files.contains("a (1).jpg=a.jpg|out|out")) << "never replaces an output of this run";
    EXPECT_TRUE(one.files.contains("dup.jpg=dup.jpg|out"));
    EXPECT_TRUE(one.files.contains("dup (1).jpg=dup.jpg|out"));
    EXPECT_EQ(one.progress.size(), 16);
    EXPECT_EQ(one.progress.back(), 100);
    EXPECT_EQ(one.converted, "10");
}

TEST_F(ProcessingPoolTest, QuickWritesHoldingSharesOfTheBudgetAreRecordedOnceTheirWritersAreDone)
{
    // Many writes that end at once, each admitted by a third of the process's budget, on four
    // writers: shares are taken and given back on every writer while the run applies each outcome
    // as soon as its write is done. The run reads what a writer set only after the writer's done
    // flag tells it, with the ordering that flag carries; shares are given back under the budget's
    // lock (ThreadSanitizer reports either slip).
    reset(4);
    constexpr int kPhotos = 400;
    pipeline->memoryNeedEach = DecodeBudget::process().bytes() / 3;
    for (int i = 0; i < kPhotos; ++i)
        addPhoto(src + QStringLiteral("/q%1.jpg").arg(i));
    // Readers of the budget's count (the thumbnails' decodes ask it too) keep its lock busy, so
    // that a writer is often held between its done flag and the end of its job.
    std::atomic<bool> ended { false };
    std::vector<std::thread> readers;
    for (int i = 0; i < 3; ++i) {
        readers.emplace_back([&] {
            while (!ended.load())
                DecodeBudget::process().heldBytes();
        });
    }
    ASSERT_TRUE(engine->startProcess(options));
    const bool done = spinUntil([&] { return finished() && settled(); });
    ended = true;
    for (std::thread& reader : readers)
        reader.join();
    ASSERT_TRUE(done);
    EXPECT_EQ(statuses(), QList<qint32>(kPhotos, 1));
    EXPECT_EQ(view->summary.imagesConverted, QString::number(kPhotos));
    EXPECT_EQ(DecodeBudget::process().heldBytes(), 0);
}

TEST_F(ProcessingPoolTest, AWrittenPhotoIsRecordedOnlyOnceItsWriterHasMeasuredIt)
{
    // A writer measures its output (size, identity) after writing it; the run records the photo
    // only once that is done. a's writer is held inside the measurement while the run goes on to
    // b and b is written; a's record must still carry a's size. The hold ends when a's record
    // shows (it did too early) or after a while; that signal orders nothing, so that
    // ThreadSanitizer also sees a size read before its writer set it.
    reset(3);
    const PhotoFilePtr a = addPhoto(src + "/a.jpg");
    addPhoto(src + "/b.jpg");
    std::binary_semaphore measuring(0);
    std::atomic<bool> recorded { false };
    probe->onFileSize = [&](const QString& path) {
        if (path != out + "/a.jpg")
            return;
        measuring.release();
        const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(500);
        while (!recorded.load(std::memory_order_relaxed) && std::chrono::steady_clock::now() < until)
            std::this_thread::yield();
    };
    std::atomic<int> freeChecks { 0 };
    probe->onFreeBytes = [&] {
        if (++freeChecks == 2) // b's: a's writer is measuring by then
            ASSERT_TRUE(measuring.try_acquire_for(std::chrono::seconds(30)));
    };
    ASSERT_TRUE(engine->startProcess(options));
    ASSERT_TRUE(spinUntil([&] {
        if (a->processStatus() != 0)
            recorded.store(true, std::memory_order_relaxed);
        return finished() && settled();
    }));
    EXPECT_EQ(statuses(), (QList<qint32> { 1, 1 }));
    EXPECT_EQ(a->newfileSizeInBytes(), static_cast<double>(QFileInfo(out + "/a.jpg").size()));
    EXPECT_EQ(a->newfileSizeInBytes(), static_cast<double>(QByteArray("a.jpg|out").size()));
}

TEST_F(ProcessingPoolTest, BarriersWaitForEveryWriteInFlight)
{
    // A stop is no barrier: it ends the run at once (ProcessingThreadsTest).
    enum class Event { Question, LowSpace, Hold };
    struct Row {
        const char* name;
        Event event;
    };
    const Row rows[]
        = { { "overwrite question", Event::Question }, { "low space", Event::LowSpace }, { "hold", Event::Hold } };
    for (const int k : { 1, 3 }) {
        for (const Row& row : rows) {
            SCOPED_TRACE(std::string(row.name) + " with " + std::to_string(k) + " writers");
            reset(k);
            recordAtQuestions();
            addPhotos(7);
            std::atomic<int> freeChecks { 0 };
            std::binary_semaphore entered(0);
            std::binary_semaphore release(0);
            if (row.event == Event::Question) {
                options.askBeforeOverwrite = true;
                writeFile(out + "/p4.jpg", "old");
            } else if (row.event == Event::LowSpace) {
                probe->onFreeBytes = [&] {
                    if (++freeChecks == 5) { // p4's test
                        std::lock_guard lock(probe->mutex);
                        probe->free[out] = 1;
                    }
                };
            } else {
                // The hold comes during p2's write (with three writers p3 and p4 are in flight or
                // about to be) while that write waits.
                pipeline->duringWrite = [&](const PhotoFile& photo, const QString&) {
                    if (photo.fileName() != "p2.jpg")
                        return;
                    entered.release();
                    release.acquire();
                };
            }
            ASSERT_TRUE(engine->startProcess(options));
            if (row.event == Event::Hold) {
                ASSERT_TRUE(spinUntil([&] { return entered.try_acquire(); }));
                engine->holdProcessing();
                release.release();
            }
            ASSERT_TRUE(spinUntil([&] { return settled() && (finished() || engine->isProcessOnHold()); }));

            // Whatever held the run, every photo handed to a writer is written and counted, in
            // batch order, and none after it; a question or alert came with no write in flight.
            const int counted = engine->counterTotalProgressedFiles();
            for (int i = 0; i < 7; ++i) {
                const bool written = QFile::exists(out + QStringLiteral("/p%1.jpg").arg(i));
                EXPECT_EQ(written, i < counted || (row.event == Event::Question && i == 4)) << i;
                const qint32 held = row.event == Event::LowSpace ? 8 : 0; // the held photo's status
                if (row.event == Event::Question || row.event == Event::LowSpace) {
                    EXPECT_EQ(engine->arrPhotosToProcess()[i]->processStatus(),
                        i < counted  ? 1
                            : i == 4 ? held
                                     : 0)
                        << i;
                }
            }
            EXPECT_GE(counted, 3) << "photos up to the one being written are counted";
            EXPECT_EQ(pipeline->writes.size(), counted);
            EXPECT_LE(pipeline->maxInWrite.load(), k);
            if (row.event == Event::Question || row.event == Event::LowSpace) {
                EXPECT_EQ(inWriteAtQuestion, (QList<int> { 0 }));
                EXPECT_EQ(countedAtQuestion, (QList<int> { 4 }));
            }

            // Resume (or end) after the event.
            switch (row.event) {
            case Event::Question:
                engine->btnReplaceImageTapped();
                break;
            case Event::LowSpace:
                engine->btnOkOnEnoughtSpcaecTapped();
                break;
            case Event::Hold:
                pipeline->duringWrite = nullptr;
                engine->restartProcessing();
                break;
            }
            ASSERT_TRUE(spinUntil([&] { return finished() && settled(); }));
            const Seen s = seen();
            const int written = row.event == Event::LowSpace ? 4 : 7;
            EXPECT_EQ(s.converted, QString::number(written));
            EXPECT_EQ(pipeline->writes.size(), written) << "no photo written twice";
            EXPECT_EQ(s.files.size(), row.event == Event::LowSpace ? 4 : written) << s.files.join(", ").toStdString();
            ASSERT_EQ(s.logRows.size(), 7);
            for (int i = 0; i < 7; ++i)
                EXPECT_EQ(s.logRows[i].endsWith("Processed successfully."), i < written) << s.logRows[i].toStdString();
        }
    }
}

TEST_F(ProcessingPoolTest, RapidHoldsAndResumesNeverWriteAPhotoTwice)
{
    reset(3);
    addPhotos(24);
    ASSERT_TRUE(engine->startProcess(options));
    for (int i = 0; i < 200 && engine->isRunActive(); ++i) {
        engine->holdProcessing();
        QCoreApplication::processEvents();
        engine->restartProcessing();
        QCoreApplication::processEvents();
    }
    ASSERT_TRUE(spinUntil([&] { return finished() && settled(); }));
    EXPECT_LE(pipeline->maxInWrite.load(), 3);
    EXPECT_EQ(pipeline->writes.size(), 24);
    EXPECT_EQ(QDir(out).entryList(QDir::Files).size(), 24);
    EXPECT_EQ(view->progress.back(), 100);
    EXPECT_EQ(view->summaryCount, 1);
}

TEST_F(ProcessingPoolTest, TwoSpellingsOfOneOutputAreOneFile)
{
    // The first photo's write is slow, so that without waiting the second is decided while it is
    // in flight; with one writer it has finished before the second is decided.
    enum class Spelling { LinkedSourceFolder, LinkInOutputFolder, LinkedOutputFolder };
    struct Row {
        const char* name;
        Spelling spelling;
    };
    const Row rows[] = {
        { "beside the sources, one folder reached through a symbolic link", Spelling::LinkedSourceFolder },
        { "kept hierarchy, a folder of the output folder linked to another", Spelling::LinkInOutputFolder },
        { "output folder given through a link, its output read by a later photo", Spelling::LinkedOutputFolder },
    };
    for (const Row& row : rows) {
        for (const int k : { 1, 2, 3 }) {
            SCOPED_TRACE(std::string(row.name) + " with " + std::to_string(k) + " writers");
            reset(k, k == 1);
            options.job.formatOption = 1;
            options.job.selectedFileFormat = 3; // jpg
            QString first; // both outputs where they really are
            QString second;
            QString secondAsSpelled; // the second output as the run names it
            QByteArray secondPicture = "a.png|out";
            switch (row.spelling) {
            case Spelling::LinkedSourceFolder: {
                const QString real = dir->path() + "/real";
                QDir().mkpath(real);
                ASSERT_TRUE(QFile::link(real, dir->path() + "/link"));
                options.job.folderOption = 0;
                addPhoto(real + "/a.jpg", 300);
                addPhoto(dir->path() + "/link/a.png");
                first = real + "/a.jpg";
                second = real + "/a (1).jpg";
                secondAsSpelled = dir->path() + "/link/a (1).jpg";
                break;
            }
            case Spelling::LinkInOutputFolder:
                QDir().mkpath(out + "/pics");
                ASSERT_TRUE(QFile::link(out + "/pics", out + "/alias"));
                options.job.keepFolderHierarchy = true;
                addPhoto(src + "/pics/a.jpg", 300);
                addPhoto(src + "/alias/a.png");
                first = out + "/pics/a.jpg";
                second = out + "/pics/a (1).jpg";
                secondAsSpelled = out + "/alias/a (1).jpg";
                break;
            case Spelling::LinkedOutputFolder:
                ASSERT_TRUE(QFile::link(out, dir->path() + "/outlink"));
                options.job.ouptputFolder = dir->path() + "/outlink";
                options.job.filenameOption = 3;
                options.job.prefixString = "_s";
                addPhoto(src + "/a.jpg", 300);
                addPhoto(out + "/a_s.jpg", 0, false); // the first photo's output, by its real folder
                first = out + "/a_s.jpg";
                second = out + "/a_s_s.jpg";
                secondAsSpelled = dir->path() + "/outlink/a_s_s.jpg";
                secondPicture = "a.jpg|out|out";
                break;
            }
            ASSERT_TRUE(engine->startProcess(options));
            ASSERT_TRUE(spinUntil([&] { return finished() && settled(); }));
            EXPECT_EQ(readAll(first).toStdString(), "a.jpg|out") << "the first picture is kept";
            EXPECT_EQ(readAll(second).toStdString(), secondPicture.toStdString());
            EXPECT_EQ(engine->arrPhotosToProcess()[1]->filePathNew().toStdString(), secondAsSpelled.toStdString());
            EXPECT_EQ(seen().statuses, (QList<qint32> { 1, 1 }));
            EXPECT_LE(pipeline->maxInWrite.load(), k);
        }
    }
}

TEST_F(ProcessingPoolTest, TwoReadsOfOneFileRunSideBySide)
{
    // Two photos read one file (one through a symbolic link): neither writes it, so the second is
    // written while the first is, rather than after it. The first write holds until the second
    // has started (or a generous limit has passed, as it does when they are serialised).
    reset(2);
    addPhoto(src + "/a.jpg");
    ASSERT_TRUE(QFile::link(src + "/a.jpg", src + "/b.jpg"));
    addPhoto(src + "/b.jpg", 0, false);
    std::binary_semaphore secondStarted(0);
    std::atomic<bool> sideBySide { false };
    pipeline->duringWrite = [&](const PhotoFile& photo, const QString&) {
        if (photo.fileName() == "b.jpg")
            secondStarted.release();
        else
            sideBySide = secondStarted.try_acquire_for(std::chrono::seconds(20));
    };
    ASSERT_TRUE(engine->startProcess(options));
    ASSERT_TRUE(spinUntil([&] { return finished() && settled(); }));
    EXPECT_TRUE(sideBySide.load());
    EXPECT_EQ(readAll(out + "/a.jpg").toStdString(), "a.jpg|out");
    EXPECT_EQ(readAll(out + "/b.jpg").toStdString(), "a.jpg|out");
}

TEST_F(ProcessingPoolTest, ASingleReplaceAnswerKeepsASourceStillToBeRead)
{
    // a.png (earlier) and a.jpg (later) both become a.jpg beside their sources; each question is
    // answered "Replace" for that one file.
    for (const int k : { 1, 2, 3 }) {
        SCOPED_TRACE(k);
        reset(k, k == 1);
        options.askBeforeOverwrite = true;
        options.job.folderOption = 0;
        options.job.formatOption = 1;
        options.job.selectedFileFormat = 3; // jpg
        const PhotoFilePtr png = addPhoto(src + "/a.png");
        const PhotoFilePtr jpg = addPhoto(src + "/a.jpg");
        const auto asked
            = [&](int times) { return recorder->posted.count(kNotificationShowOverwriteAlert) == times && settled(); };
        ASSERT_TRUE(engine->startProcess(options));
        ASSERT_TRUE(spinUntil([&] { return asked(1); }));
        EXPECT_EQ(engine->fileToOverwrite(), png);
        EXPECT_EQ(engine->filePathToOverwrite(), src + "/a.jpg");
        engine->btnReplaceImageTapped();
        ASSERT_TRUE(spinUntil([&] { return asked(2); })) << "a.jpg's own output exists";
        EXPECT_EQ(engine->fileToOverwrite(), jpg);
        engine->btnReplaceImageTapped();
        ASSERT_TRUE(spinUntil([&] { return finished() && settled(); }));

        EXPECT_EQ(readAll(src + "/a (1).jpg").toStdString(), "a.png|out") << "a.jpg was still to be read";
        EXPECT_EQ(readAll(src + "/a.jpg").toStdString(), "a.jpg|out") << "a.jpg converted from its own picture";
        EXPECT_EQ(png->filePathNew().toStdString(), (src + "/a (1).jpg").toStdString());
        EXPECT_EQ(jpg->filePathNew().toStdString(), (src + "/a.jpg").toStdString());
        EXPECT_EQ(seen().statuses, (QList<qint32> { 1, 1 }));
    }
}

} // namespace
} // namespace vantrel::test
