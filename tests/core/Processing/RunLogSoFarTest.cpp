// The rows of a run so far: written before a write that may end the process, so that a process
// ended by a library leaves the rows of the photos recorded before it in the log; replaced by the
// run's later writes, so that a run that goes on to its end is in the log once, whole.
#include <QFileInfo>

#include <gtest/gtest.h>

#include "ProcessingEngineFixture.h"
#include "core/DbManager/LogDatabaseFixtures.h"
#include "core/Processing/ProcessingLogDatabase.h"
#include "core/Processing/ProcessingPhotoPipeline.h"
#include "core/Processing/RunLogWriter.h"
#include "platform/Paths.h"

namespace vantrel::test {
namespace {

/// The fake pipeline, whose GIF writes may end the process, as the real GIF encoder's may.
class GifEndsProcessPipeline : public FakePipeline {
public:
    bool mayEndProcess(const PhotoFile&, const QString& outputPath, const RunOptions&) override
    {
        return outputPath.endsWith(QLatin1String(".gif"));
    }
};

/// Each detail row of the file as "<input name>: <information>", one a line, in order.
std::string detailsIn(const QString& db)
{
    QStringList rows;
    for (const QString& row :
        columnValues(db, QStringLiteral("SELECT inputFilename || ': ' || information FROM tblLogDetails ORDER BY id")))
        rows << QFileInfo(row.section(QStringLiteral(": "), 0, 0)).fileName() + ": " + row.section(": ", 1);
    return rows.join('\n').toStdString();
}

std::string lines(const QStringList& rows)
{
    return rows.join('\n').toStdString();
}

TEST_F(ProcessingEngineTest, BeforeAWriteThatMayEndTheProcessTheRowsSoFarAreInTheLog)
{
    // Each photo keeps its format; the GIFs are the writes that may end the process. The log is
    // the real one (this test's own data folder). What a process ended inside a GIF write would
    // leave is what the file holds while that write runs: the rows of every photo recorded before
    // it, the others not yet processed.
    const QString db = Paths::applicationSupportFolder() + "/Vantrel.db";
    pipeline = std::make_shared<GifEndsProcessPipeline>();
    engine = ProcessingEngine::create(
        { pipeline, probe, clock, opener, std::make_shared<ProcessingLogDatabase>(nullptr), executor, 1 });
    engine->setView(view.get());
    for (const char* name : { "a.jpg", "b.gif", "c.png", "d.gif", "e.jpg" })
        addPhoto(name);
    pipeline->failWrites[src + "/c.png"] = 0;
    std::map<QString, std::string> seenDuring;
    pipeline->duringWrite = [&](const PhotoFile& photo, const QString&) {
        if (photo.fileName().endsWith(QLatin1String(".gif")))
            seenDuring[photo.fileName()] = detailsIn(db);
    };
    ASSERT_TRUE(engine->startProcess(options));
    ASSERT_TRUE(spinUntil([&] { return finished(); }));

    const QString done = QStringLiteral("Processed successfully.");
    const QString notYet = QStringLiteral("File not Processed.");
    EXPECT_EQ(seenDuring["b.gif"],
        lines({ "a.jpg: " + done, "b.gif: " + notYet, "c.png: " + notYet, "d.gif: " + notYet, "e.jpg: " + notYet }));
    EXPECT_EQ(seenDuring["d.gif"],
        lines({ "a.jpg: " + done, "b.gif: " + done, "c.png: " + notYet, "d.gif: " + notYet, "e.jpg: " + notYet }))
        << "c.png failed";
    // The end of the run replaced them: the run is in the log once, whole.
    EXPECT_EQ(lines(columnValues(db, "SELECT count(*) FROM tblLogSummary")), "1");
    EXPECT_EQ(detailsIn(db),
        lines({ "a.jpg: " + done, "b.gif: " + done, "c.png: " + notYet, "d.gif: " + done, "e.jpg: " + done }));
    EXPECT_EQ(lines(columnValues(db, "SELECT count(*) FROM tblLogRunsSoFar")), "0");
    EXPECT_FALSE(engine->getLogDetails().value("runId").toString().isEmpty());
}

TEST(RunLogSoFarTest, ARunSoFarGivesWayToItsLaterWritesAndARunWrittenWholeToNone)
{
    QTemporaryDir dir;
    const QString db = dir.filePath("Vantrel.db");
    RunLogWriter writer(db);
    const auto run = [](const char* stamp, int photos, const char* id) {
        RunLogRun r = runOf(QString::fromUtf8(stamp), photos);
        r.id = QString::fromUtf8(id);
        return r;
    };
    struct Step {
        const char* what;
        bool soFar;
        RunLogRun run;
        QStringList summaries; // the stamps in the log afterwards, in order
        QMap<QString, int> details;
    };
    const Step steps[] = {
        { "a run whole", false, run("before", 2, "0"), { "before" }, { { "before", 2 } } },
        { "the next run, so far", true, run("one photo in", 1, "1"), { "before", "one photo in" },
            { { "before", 2 }, { "one photo in", 1 } } },
        { "further", true, run("two photos in", 2, "1"), { "before", "two photos in" },
            { { "before", 2 }, { "two photos in", 2 } } },
        { "its end", false, run("ended", 3, "1"), { "before", "ended" }, { { "before", 2 }, { "ended", 3 } } },
        { "a run written whole, again", false, run("ended again", 4, "1"), { "before", "ended" },
            { { "before", 2 }, { "ended", 3 } } },
        { "a run written whole, so far", true, run("ended, so far", 1, "1"), { "before", "ended" },
            { { "before", 2 }, { "ended", 3 } } },
        { "a run whose process ended with it", true, run("cut short", 1, "2"), { "before", "ended", "cut short" },
            { { "before", 2 }, { "ended", 3 }, { "cut short", 1 } } },
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        if (step.soFar)
            EXPECT_TRUE(writer.keepRunSoFar(step.run));
        else
            EXPECT_TRUE(writer.write(step.run).saved);
        const StoredLog stored = storedIn(db);
        EXPECT_EQ(lines(stored.summaries), lines(step.summaries));
        EXPECT_EQ(stored.details, step.details)
            << "photos of the last: " << stored.details.value(step.summaries.last());
    }
}

TEST(RunLogSoFarTest, AWorkerLateAfterTheRunsEndStartsNoSecondCopyOfIt)
{
    // A worker still on its way to a GIF write when the run was stopped asks to keep the rows so
    // far after the run was handed over whole: that run stays in the log once; the next run's rows
    // so far are kept as ever.
    const QString db = Paths::applicationSupportFolder() + "/Vantrel.db";
    ProcessingLogDatabase log(nullptr);
    const auto summary = [](const char* stamp) { return QVariantMap { { "timeStamp", QString::fromUtf8(stamp) } }; };
    const auto details = [](const char* stamp) {
        return QList<QVariantMap> { { { "timeStamp", QString::fromUtf8(stamp) }, { "inputFilename", "/p/a.gif" } } };
    };
    log.keepRunSoFar(summary("stopped"), details("stopped"));
    bool written = false;
    log.writeRunLog(summary("stopped"), details("stopped"), [&](const RunLogResult&) { written = true; });
    ASSERT_TRUE(spinUntil([&] { return written; }));
    log.keepRunSoFar(summary("stopped"), details("stopped"));
    EXPECT_EQ(lines(columnValues(db, "SELECT timeStamp FROM tblLogSummary ORDER BY id")), "stopped");
    log.keepRunSoFar(summary("next"), details("next"));
    EXPECT_EQ(lines(columnValues(db, "SELECT timeStamp FROM tblLogSummary ORDER BY id")), lines({ "stopped", "next" }));
}

TEST(RunLogSoFarTest, TheWritesThatMayEndTheProcessAreTheGifEncodes)
{
    // GLib's allocator, which aborts, gives the GIF encoder its frame; a GIF copied as it is
    // encodes nothing.
    const struct {
        const char* source;
        const char* output;
        bool keepSize;
        bool mayEnd;
    } cases[] = {
        { "a.jpg", "a.gif", true, true },
        { "a.jpg", "a.GIF", true, true },
        { "a.gif", "a.gif", false, true },
        { "a.gif", "a.gif", true, false },
        { "a.gif", "a.png", false, false },
        { "a.jpg", "a.jpg", false, false },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.source) + " -> " + c.output + (c.keepSize ? ", kept size" : ", resized"));
        PhotoFile photo;
        photo.setFilePath(QStringLiteral("/photos/") + c.source);
        photo.setFileURL(photo.filePath());
        RunOptions options;
        options.job.isKeepOriginalSize = c.keepSize;
        options.job.isPercentSize = !c.keepSize;
        options.job.perWidth = options.job.perHeight = 50;
        EXPECT_EQ(
            ProcessingPhotoPipeline().mayEndProcess(photo, QStringLiteral("/out/") + c.output, options), c.mayEnd);
    }
}

} // namespace
} // namespace vantrel::test
