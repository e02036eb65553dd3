// The end of a batch run: the summary, its bottom line and rows, the folder opened, and the log
// written before the run is said to have finished; over the fakes of ProcessingEngineFixture.h.
#include <algorithm>

#include "ProcessingEngineFixture.h"

namespace vantrel::test {
namespace {

TEST_F(ProcessingEngineTest, EmptyRunEndsAtOnce)
{
    addPhoto("unchecked.jpg")->setIsSelected(false);
    ASSERT_TRUE(engine->startProcess(options));
    EXPECT_EQ(recorder->posted,
        (QStringList { kNotificationsDisbleView, kNotificationsEnable, kNotificationsSaveasPredefinedSize,
            kNotificationsProcessFinished }));
    EXPECT_EQ(view->summary.imagesSelected, "0");
    EXPECT_EQ(view->summary.conversionFailed, "0");
    EXPECT_TRUE(view->bottomLines.back().text.startsWith("Process Completed: 100 %"));
    EXPECT_FALSE(AppDelegate::shareDelegate()->isProcessingInProgress);
    EXPECT_EQ(executor->jobsRun(), 0);
    EXPECT_FALSE(engine->isRunActive());
}

TEST_F(ProcessingEngineTest, SummaryBottomLineStampAndRows)
{
    addPhoto(src + "/a.jpg", QByteArray(2000, 'a'));
    addPhoto(src + "/b.jpg", QByteArray(3000, 'b'));
    addPhoto(src + "/c.jpg", QByteArray(5000, 'c'));
    addPhoto(src + "/d.jpg", QByteArray())->setFileSizeInBytes(1000);
    pipeline->duringWrite = [this](const PhotoFile&, const QString&) { clock->current = clock->current.addSecs(20); };

    ASSERT_TRUE(engine->startProcess(options));
    ASSERT_TRUE(finished());

    EXPECT_EQ(view->bottomLines.front().text,
        "Process Completed: 0 %  |  Error reported: 0  |  Time elapsed: 1 second approx.");
    const RunBottomLine& last = view->bottomLines.back();
    EXPECT_EQ(
        last.text, "Process Completed: 100 %  |  Error reported: 1  |  Time elapsed:  1 minute 0 seconds approx.");
    const QStringList highlighted { "100 %", "1", " 1 minute 0 seconds" };
    for (const RunTextRange& range : last.highlights)
        EXPECT_TRUE(highlighted.contains(last.text.mid(range.start, range.length)));
    EXPECT_TRUE(std::count(last.highlights.begin(), last.highlights.end(), RunTextRange { 19, 5 }));
    EXPECT_TRUE(std::count(last.highlights.begin(), last.highlights.end(),
        RunTextRange { static_cast<int>(last.text.indexOf(" 1 minute")), 19 }));

    const RunSummaryTexts& s = view->summary;
    EXPECT_EQ(s.processTitle, "Summary");
    EXPECT_EQ(s.imagesSelected, "4");
    EXPECT_EQ(s.imagesConverted, "3");
    EXPECT_EQ(s.conversionFailed, "1");
    EXPECT_EQ(s.oldSize, "10.00 KB");
    EXPECT_EQ(s.newSize, "10.01 KB"); // every output is 4 bytes larger
    EXPECT_FALSE(s.spaceSaveVisible);
    EXPECT_EQ(s.spaceSave, "");
    EXPECT_EQ(s.totalOldSize, "11.00 KB");
    EXPECT_EQ(s.timeElapsed, " 1 minute 0 seconds");

    const QString stamp = "12282027 03057 PM"; // week-based year: 28 December 2026 is in 2027's first week
    ASSERT_EQ(log->summaries.size(), 1);
    EXPECT_EQ(log->summaries[0].value("timeStamp"), stamp);
    EXPECT_EQ(log->summaries[0].value("imagesConverted"), "3");
    EXPECT_EQ(log->summaries[0].value("saveSpace"), "");
    ASSERT_EQ(log->details.size(), 4);
    const QStringList order { "a.jpg", "b.jpg", "c.jpg", "d.jpg" };
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(log->details[i].value("inputFilename"), src + "/" + order[i]);
    EXPECT_EQ(log->details[0].value("timeStamp"), stamp);
    EXPECT_EQ(log->details[0].value("outputFilename"), out + "/a.jpg");
    EXPECT_EQ(log->details[0].value("information"), "Processed successfully.");
    EXPECT_EQ(log->details[0].value("newSize"), "2.00 KB");
    EXPECT_EQ(log->details[0].value("ratio"), "100.20");
    EXPECT_EQ(log->details[0].value("save"), " ");
    EXPECT_EQ(log->details[3].value("outputFilename"), " ");
    EXPECT_EQ(log->details[3].value("information"), "File not available at source directory.");
    EXPECT_EQ(log->details[3].value("ratio"), " ");

    const QVariantMap current = engine->getLogDetails();
    EXPECT_EQ(current.value("timeStamp"), stamp);
    EXPECT_EQ(current.value("imagesConverted"), "3");
    EXPECT_EQ(current.value("conversionFailed"), "1");
    EXPECT_EQ(current.value("arrPhotos").toList().size(), 4);

    EXPECT_TRUE(opener->opened.isEmpty());
    clock->runScheduled();
    EXPECT_EQ(opener->opened, (QStringList { out }));
}

TEST_F(ProcessingEngineTest, SummaryCountsTheRecordsNotTheCounters)
{
    // The counters feed the bottom line only, and disagree with the records: a write that was
    // started and failed, a write the folder refused and a read-only source that its output would
    // replace are all failures of the summary, the log and the current-run dictionary, yet the
    // error counter holds one of them and the progress counter all of them. The output folder
    // opens only when a photo was written.
    const struct {
        const char* name;
        // a.jpg is written, b.jpg fails, c.jpg is refused, d.jpg is read-only and already in the output
        // folder, so that its output would replace it
        QStringList photos;
        QString converted;
        QString failed;
        bool folderOpened;
    } rows[] = {
        { "one written", { "a.jpg", "b.jpg", "c.jpg", "d.jpg" }, "1", "3", true },
        { "every started write failed", { "b.jpg", "c.jpg" }, "0", "2", false },
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        reset();
        for (const QString& name : row.photos)
            addPhoto((name == "d.jpg" ? out : src) + "/" + name, name.toUtf8());
        pipeline->failWrites[src + "/b.jpg"] = 0;
        pipeline->failWrites[src + "/c.jpg"] = static_cast<qint32>(ProcessStatus::DestinationAccessDenied);
        probe->readOnly.insert(out + "/d.jpg");
        options.askBeforeOverwrite = false;
        ASSERT_TRUE(engine->startProcess(options));
        ASSERT_TRUE(finished());
        EXPECT_EQ(engine->counterProcessedWithError(), 1);
        EXPECT_EQ(engine->counterTotalProgressedFiles(), row.photos.size());

        const QString selected = QString::number(row.photos.size());
        ASSERT_EQ(log->summaries.size(), 1);
        const QVariantMap current = engine->getLogDetails();
        for (const QVariantMap& counts : { RunSummary::summaryRow("s", view->summary), log->summaries[0], current }) {
            EXPECT_EQ(counts.value("imagesSelected").toString(), selected);
            EXPECT_EQ(counts.value("imagesConverted").toString(), row.converted);
            EXPECT_EQ(counts.value("conversionFailed").toString(), row.failed);
        }
        clock->runScheduled();
        EXPECT_EQ(opener->opened, row.folderOpened ? QStringList { out } : QStringList());
    }
}

TEST_F(ProcessingEngineTest, PhotosWrittenBesideTheirSourcesOpenNoFolder)
{
    options.job.folderOption = 0;
    addPhoto("a.jpg");
    ASSERT_TRUE(engine->startProcess(options));
    clock->runScheduled();
    EXPECT_TRUE(opener->opened.isEmpty());
}

TEST_F(ProcessingEngineTest, TheRunEndsWhenItsLogIsWrittenAndTheSummarySaysWhatBecameOfTheLog)
{
    struct Case {
        const char* name;
        RunLogResult result;
        QString notice;
    };
    const Case cases[] = {
        { "saved", {}, "" },
        { "kept for the next run", { false, "database is locked", true, {}, {}, {}, {}, {} },
            "This run's log could not be saved (database is locked); it will be saved with the next run." },
        { "lost",
            { false, "disk I/O error; the rows could not be kept either (No space left on device)", false, {}, {}, {},
                {}, {} },
            "This run's log could not be saved (disk I/O error; the rows could not be kept either (No space left on "
            "device))." },
        { "set aside", { true, {}, false, "/data/Vantrel (damaged 2026-12-07 19.02.03).db", "was damaged", {}, {}, {} },
            "The log database was damaged; it was set aside as \"Vantrel (damaged 2026-12-07 19.02.03).db\" and a "
            "new one was started." },
        { "read-only, set aside",
            { true, {}, false, "/data/Vantrel (read-only 2026-12-07 19.02.03).db", "was read-only", {}, {}, {} },
            "The log database was read-only; it was set aside as \"Vantrel (read-only 2026-12-07 19.02.03).db\" and a "
            "new one was started." },
        { "waiting rows unreadable, and the run kept",
            { false, "database is locked", true, {}, {}, "/data/Vantrel.db (unreadable 2026-12-07 19.02.03).pending",
                "was unreadable", {} },
            "The file of log rows kept for the next run was unreadable; it was set aside as \"Vantrel.db (unreadable "
            "2026-12-07 19.02.03).pending\". This run's log could not be saved (database is locked); it will be saved "
            "with the next run." },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        reset();
        log->deferred = true;
        addPhoto("a.jpg");
        ASSERT_TRUE(engine->startProcess(options));

        // The summary is up while the log is being written; the run is not over until it is.
        EXPECT_EQ(view->summaryCount, 1);
        ASSERT_TRUE(log->pending);
        EXPECT_FALSE(finished());
        EXPECT_FALSE(AppDelegate::shareDelegate()->isProcessingInProgress) << "a quit asks no stop question";
        EXPECT_TRUE(engine->isRunActive()) << "a quit waits for the log";
        EXPECT_FALSE(engine->startProcess(options)) << "a new run waits for the last one's log";

        log->pending(c.result);
        EXPECT_TRUE(finished());
        EXPECT_EQ(view->logNotice, c.notice);
        EXPECT_FALSE(AppDelegate::shareDelegate()->isProcessingInProgress);
    }
}

} // namespace
} // namespace vantrel::test
