// The batch run's questions, answers and outcomes of single photos, over the fakes of
// ProcessingEngineFixture.h.
#include "ProcessingEngineFixture.h"

namespace vantrel::test {
namespace {

TEST_F(ProcessingEngineTest, QuestionOnTheSecondOfThreeResumesAtTheSecond)
{
    addPhoto("a.jpg");
    addPhoto("b.jpg");
    addPhoto("c.jpg");
    writeFile(out + "/b.jpg", "old");

    ASSERT_TRUE(engine->startProcess(options));
    EXPECT_TRUE(engine->isProcessOnHold());
    EXPECT_EQ(view->progress, (QList<int> { 0, 33 }));
    ASSERT_EQ(view->questions.size(), 1u);
    EXPECT_EQ(view->questions[0].renameText, "b");
    EXPECT_EQ(view->questions[0].existingPath, out + "/b.jpg");
    EXPECT_EQ(view->questions[0].sourcePath, src + "/b.jpg");
    EXPECT_EQ(engine->counterTotalProgressedFiles(), 1);

    engine->btnReplaceImageTapped();
    engine->btnReplaceImageTapped(); // a second click finds no question: no second worker

    EXPECT_EQ(view->progress, (QList<int> { 0, 33, 66, 100 }));
    EXPECT_EQ(statuses(), (QList<qint32> { 1, 1, 1 }));
    EXPECT_EQ(readAll(out + "/b.jpg"), "b.jpg|out");
    EXPECT_EQ(executor->jobsRun(), 2);
    EXPECT_EQ(recorder->posted,
        (QStringList { kNotificationsDisbleView, kNotificationShowOverwriteAlert, kNotificationHideOverwriteAlert,
            kNotificationsEnable, kNotificationsSaveasPredefinedSize, kNotificationsProcessFinished }));
    EXPECT_FALSE(engine->isRunActive());
    EXPECT_EQ(view->summaryCount, 1);
}

TEST_F(ProcessingEngineTest, FileAndBatchAnswers)
{
    // Two photos named x.jpg from two folders, one output x.jpg already there, and y.jpg.
    struct Row {
        const char* name;
        std::function<void(ProcessingEngine&)> answer;
        QList<qint32> statuses;
        QStringList outputs; // files in the output folder afterwards
        QByteArray xContent; // content of out/x.jpg afterwards
        size_t questions;
    };
    const std::vector<Row> rows {
        { "skip all", [](ProcessingEngine& e) { e.btnSkipAllImageTapped(); }, { 8, 8, 1 }, { "x.jpg", "y.jpg" }, "old",
            1 },
        // The second x.jpg never replaces the first one's output: it goes under a free name.
        { "replace all", [](ProcessingEngine& e) { e.btnReplaceAllImageTapped(); }, { 1, 1, 1 },
            { "x (1).jpg", "x.jpg", "y.jpg" }, "x1|out", 1 },
        { "keep all", [](ProcessingEngine& e) { e.btnKeepAllImageTapped(); }, { 1, 1, 1 },
            { "x (1).jpg", "x (2).jpg", "x.jpg", "y.jpg" }, "old", 1 },
        // A file answer holds for one photo: the second x.jpg asks again.
        { "skip this", [](ProcessingEngine& e) { e.btnSkipImageTapped(); }, { 8, 0, 0 }, { "x.jpg" }, "old", 2 },
        { "keep this", [](ProcessingEngine& e) { e.btnKeepImageTapped(); }, { 1, 0, 0 }, { "x (1).jpg", "x.jpg" },
            "old", 2 },
        { "replace this", [](ProcessingEngine& e) { e.btnReplaceImageTapped(); }, { 1, 0, 0 }, { "x.jpg" }, "x1|out",
            2 },
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        reset();
        addPhoto(src + "/one/x.jpg", "x1");
        addPhoto(src + "/two/x.jpg", "x2");
        addPhoto(src + "/y.jpg", "y");
        writeFile(out + "/x.jpg", "old");
        ASSERT_TRUE(engine->startProcess(options));
        ASSERT_EQ(view->questions.size(), 1u);
        row.answer(*engine);
        EXPECT_EQ(view->questions.size(), row.questions);
        EXPECT_EQ(statuses(), row.statuses);
        EXPECT_EQ(QDir(out).entryList(QDir::Files, QDir::Name), row.outputs);
        EXPECT_EQ(readAll(out + "/x.jpg"), row.xContent);
        if (row.statuses[0] == 8) {
            EXPECT_EQ(messages()[0], "File size exceeded");
        }
    }
}

TEST_F(ProcessingEngineTest, RenameFieldRule)
{
    const struct {
        QString typed;
        QString shown;
    } rows[] = {
        { "my:photo/1", "myphoto1" },
        { "a;b,c.d\\e?f%g*h|i\"j<k>l", "abcdefghijkl" },
        { QString(300, 'a'), QString(255, 'a') },
        { QString(256, 'b'), QString(255, 'b') },
        { QString(255, 'c'), QString(255, 'c') },
        { "", "" },
        // 127 emoji are 254 UTF-16 units; the 128th would be split at 255, so it goes whole.
        { QString("\U0001F600").repeated(130), QString("\U0001F600").repeated(127) },
    };
    for (const auto& row : rows)
        EXPECT_EQ(ProcessingEngine::controlTextDidChange(row.typed), row.shown) << row.typed.toStdString();
}

TEST_F(ProcessingEngineTest, RenameAnswerChecksTheName)
{
    addPhoto("a.b.jpg");
    writeFile(out + "/a.b.jpg", "old");
    writeFile(out + "/taken.jpg", "taken");
    ASSERT_TRUE(engine->startProcess(options));
    ASSERT_EQ(view->questions.size(), 1u);
    EXPECT_EQ(view->questions[0].renameText, "a"); // the extension removed twice

    EXPECT_FALSE(engine->btnRenameImageTapped(""));
    EXPECT_EQ(view->renameError, "* File name can't be empty.");
    EXPECT_FALSE(engine->btnRenameImageTapped("taken"));
    EXPECT_EQ(view->renameError, "* File already exist with same name at destination folder.");
    // 100 two-byte letters fit the field but make a file name of 204 bytes; 130 make 264.
    EXPECT_FALSE(engine->btnRenameImageTapped(QString(130, QChar(0x00E9))));
    EXPECT_EQ(view->renameError, "* Invalid file name.");
    EXPECT_TRUE(engine->isProcessOnHold());

    EXPECT_TRUE(engine->btnRenameImageTapped("fre/sh"));
    EXPECT_EQ(view->renameError, "");
    EXPECT_EQ(statuses(), (QList<qint32> { 1 }));
    EXPECT_EQ(engine->arrPhotosToProcess()[0]->filePathNew(), out + "/fresh.jpg");
    EXPECT_EQ(readAll(out + "/fresh.jpg"), "a.b.jpg|out");
    EXPECT_EQ(readAll(out + "/a.b.jpg"), "old");
    EXPECT_TRUE(finished());
}

TEST_F(ProcessingEngineTest, OutcomesOfOnePhoto)
{
    struct Row {
        const char* name;
        std::function<void(ProcessingEngineTest&)> stage;
        qint32 status;
        QString message;
        int errors; // failures counted on the bottom line
        QString logText = {}; // the log row's "information", when the row checks it
    };
    const std::vector<Row> rows {
        { "written", [](ProcessingEngineTest&) {}, 1, "File Processed", 0, "Processed successfully." },
        { "RAW skipped",
            [](ProcessingEngineTest& t) {
                AppDelegate::shareDelegate()->setRawConvertFormat("skipRaw");
                t.addPhoto("raw.CR2");
                t.addPhoto("upper.JPG");
            },
            8, "File skipped", 1, "File skipped." },
        { "missing source",
            [](ProcessingEngineTest& t) {
                t.addPhoto(t.src + "/gone.jpg", QByteArray());
                t.addPhoto("p.jpg");
            },
            2, "File not Processed", 1 },
        { "size refused", [](ProcessingEngineTest& t) { t.pipeline->refused.insert(t.src + "/p.jpg"); }, 7,
            "File size exceeded", 1 },
        // A source that cannot be decoded is a failure, never "too large".
        { "undecodable source", [](ProcessingEngineTest& t) { t.pipeline->unreadable.insert(t.src + "/p.jpg"); }, 0,
            "File not Processed", 1, "File not Processed." },
        // Reading needs no write permission: a read-only or locked source is refused only where
        // its output would replace it.
        { "read-only source", [](ProcessingEngineTest& t) { t.probe->readOnly.insert(t.src + "/p.jpg"); }, 1,
            "File Processed", 0, "Processed successfully." },
        { "locked source", [](ProcessingEngineTest& t) { t.probe->locked.insert(t.src + "/p.jpg"); }, 1,
            "File Processed", 0 },
        { "read-only source onto itself",
            [](ProcessingEngineTest& t) {
                t.probe->readOnly.insert(t.src + "/p.jpg");
                t.replaceSources();
            },
            10, "Permisssion error", 0, "Access denied to source file." },
        { "locked source onto itself",
            [](ProcessingEngineTest& t) {
                t.probe->locked.insert(t.src + "/p.jpg");
                t.replaceSources();
            },
            10, "Permisssion error", 0 },
        // The output path names the source through a link: the same file by device and inode.
        { "read-only source onto itself through a linked output folder",
            [](ProcessingEngineTest& t) {
                t.probe->readOnly.insert(t.src + "/p.jpg");
                ASSERT_TRUE(QDir(t.out).removeRecursively());
                ASSERT_TRUE(QFile::link(t.src, t.out));
                t.options.askBeforeOverwrite = false;
            },
            10, "Permisssion error", 0, "Access denied to source file." },
        { "unwritable folder", [](ProcessingEngineTest& t) { t.probe->readOnly.insert(t.out); }, 11,
            "Permisssion error", 0, "Access denied to destination folder." },
        { "missing folder",
            [](ProcessingEngineTest& t) {
                QDir(t.out).removeRecursively();
                t.probe->uncreatable.insert(t.out);
                t.probe->readOnly.insert(t.out);
            },
            12, "Permisssion error", 0 },
        { "write refused by the folder", [](ProcessingEngineTest& t) { t.pipeline->failWrites[t.src + "/p.jpg"] = 11; },
            11, "Permisssion error", 0 },
        { "write fails", [](ProcessingEngineTest& t) { t.pipeline->failWrites[t.src + "/p.jpg"] = 0; }, 0,
            "File not Processed", 1 },
        { "name too long",
            [](ProcessingEngineTest& t) {
                t.options.job.filenameOption = 3;
                t.options.job.prefixString = QString(252, 'n'); // "p" + 252 + ".jpg" = 257 characters
            },
            13, "File not Processed", 1, "Invalid file name." },
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        reset();
        row.stage(*this);
        if (AppDelegate::shareDelegate()->arraySelectedImagesToProcess.isEmpty())
            addPhoto("p.jpg");
        ASSERT_TRUE(engine->startProcess(options));
        ASSERT_TRUE(finished());
        EXPECT_EQ(statuses()[0], row.status);
        EXPECT_EQ(messages()[0], row.message);
        EXPECT_EQ(engine->counterProcessedWithError(), row.errors);
        if (!row.logText.isEmpty()) {
            ASSERT_FALSE(log->details.isEmpty());
            EXPECT_EQ(log->details[0].value("information").toString(), row.logText);
        }
        EXPECT_EQ(engine->counterTotalProgressedFiles(), engine->arrPhotosToProcess().size());
        EXPECT_EQ(pipeline->writes.size(), row.status == 1 ? 1 : statuses().count(1));
        if (statuses().size() > 1) {
            EXPECT_EQ(statuses()[1], 1) << "the run goes on with the next photo";
        }
    }
}

TEST_F(ProcessingEngineTest, LowSpaceHoldsWithAlert102AndOkEndsTheRun)
{
    // The output folder does not exist yet: the first photo is not tested and creates it; the
    // second finds too little space there.
    QDir(out).removeRecursively();
    probe->free[out] = 100 * 1024 * 1024;
    addPhoto("a.jpg");
    addPhoto("b.jpg");
    addPhoto("c.jpg");
    ASSERT_TRUE(engine->startProcess(options));

    EXPECT_EQ(recorder->alertTypes, (QList<int> { 102 }));
    EXPECT_TRUE(engine->isProcessOnHold());
    EXPECT_EQ(statuses(), (QList<qint32> { 1, 8, 0 }));
    EXPECT_EQ(pipeline->writes, (QStringList { out + "/a.jpg" }));
    EXPECT_FALSE(finished());

    engine->btnOkOnEnoughtSpcaecTapped();
    EXPECT_TRUE(finished());
    EXPECT_FALSE(engine->isProcessOnHold());
    EXPECT_EQ(view->summary.imagesConverted, "1");
    EXPECT_EQ(view->summary.conversionFailed, "2");
    EXPECT_EQ(log->details.size(), 3);
}

TEST_F(ProcessingEngineTest, AQuestionWaitsWhileASubWindowIsOpen)
{
    AppDelegate* app = AppDelegate::shareDelegate();
    addPhoto("a.jpg");
    writeFile(out + "/a.jpg", "old");
    app->isSubWindowOpened = true;
    ASSERT_TRUE(engine->startProcess(options));
    EXPECT_TRUE(engine->isProcessOnHold());
    EXPECT_FALSE(recorder->posted.contains(kNotificationShowOverwriteAlert));

    engine->subWindowDidClose(); // still open: nothing yet
    EXPECT_FALSE(recorder->posted.contains(kNotificationShowOverwriteAlert));
    app->isSubWindowOpened = false;
    engine->subWindowDidClose();
    EXPECT_EQ(recorder->posted.count(kNotificationShowOverwriteAlert), 1);
    engine->subWindowDidClose();
    EXPECT_EQ(recorder->posted.count(kNotificationShowOverwriteAlert), 1);

    // The same for the low-space alert.
    reset();
    probe->free[out] = 1;
    addPhoto("a.jpg");
    AppDelegate::shareDelegate()->isSubWindowOpened = true;
    ASSERT_TRUE(engine->startProcess(options));
    EXPECT_TRUE(recorder->alertTypes.isEmpty());
    AppDelegate::shareDelegate()->isSubWindowOpened = false;
    engine->subWindowDidClose();
    EXPECT_EQ(recorder->alertTypes, (QList<int> { 102 }));
}

TEST_F(ProcessingEngineTest, AResumeDropsAQuestionThatWasNeverShown)
{
    // Low space while the stop question is open: alert 102 waits. Space is freed and the run
    // resumed; the stop question comes again during a write. When it closes, the stale alert must
    // not appear (a resumed photo asks again whatever it still needs).
    AppDelegate* app = AppDelegate::shareDelegate();
    options.askBeforeOverwrite = false; // a.jpg, written during the hold, is written again
    addPhoto("a.jpg");
    addPhoto("b.jpg");
    probe->free[out] = 1;
    app->isSubWindowOpened = true;
    ASSERT_TRUE(engine->startProcess(options));
    ASSERT_TRUE(engine->isProcessOnHold());
    probe->free.erase(out);
    pipeline->duringWrite = [this](const PhotoFile&, const QString&) {
        pipeline->duringWrite = nullptr;
        engine->holdProcessing();
    };
    engine->restartProcessing();
    app->isSubWindowOpened = false;
    engine->subWindowDidClose();
    EXPECT_TRUE(recorder->alertTypes.isEmpty());
    engine->restartProcessing();
    EXPECT_TRUE(finished());
    EXPECT_EQ(statuses(), (QList<qint32> { 1, 1 }));
}

TEST_F(ProcessingEngineTest, AStoppedRunLeavesNoHoldForTheNext)
{
    addPhoto("a.jpg");
    addPhoto("b.jpg");
    // The stop question comes while a.jpg is written, and is answered Yes: the summary comes at
    // once, and the write, finishing after it, puts nothing in place.
    bool endedDuringWrite = false;
    pipeline->duringWrite = [this, &endedDuringWrite](const PhotoFile&, const QString&) {
        engine->holdProcessing();
        engine->stopProcessing();
        endedDuringWrite = finished() && view->summaryCount == 1;
    };
    ASSERT_TRUE(engine->startProcess(options));
    EXPECT_TRUE(endedDuringWrite);
    EXPECT_EQ(view->summaryCount, 1);
    EXPECT_EQ(statuses(), (QList<qint32> { 0, 0 })) << "the photo being written is not processed";
    EXPECT_EQ(log->details.size(), 2);
    EXPECT_EQ(log->details[0].value("information"), "File not Processed.");
    EXPECT_EQ(QDir(out).entryList(QDir::Files | QDir::Hidden), QStringList());
    EXPECT_EQ(pipeline->cleaned, (QStringList { out })) << "a cut-off run clears interrupted temporaries";

    // The same batch again, with its outputs present: the question appears and the run finishes.
    pipeline->duringWrite = nullptr;
    writeFile(out + "/b.jpg", "old");
    recorder->posted.clear();
    ASSERT_TRUE(engine->startProcess(options));
    ASSERT_EQ(view->questions.size(), 1u);
    EXPECT_TRUE(recorder->posted.contains(kNotificationShowOverwriteAlert));
    engine->btnReplaceAllImageTapped();
    EXPECT_TRUE(finished());
    EXPECT_EQ(statuses(), (QList<qint32> { 1, 1 }));
}

TEST_F(ProcessingEngineTest, NoOnTheStopQuestionForgetsTheBatchAnswer)
{
    addPhoto("x.jpg");
    addPhoto("y.jpg");
    writeFile(out + "/x.jpg", "old");
    writeFile(out + "/y.jpg", "old");
    ASSERT_TRUE(engine->startProcess(options));
    pipeline->duringWrite = [this](const PhotoFile&, const QString&) {
        pipeline->duringWrite = nullptr;
        engine->holdProcessing();
    };
    engine->btnReplaceAllImageTapped();
    EXPECT_TRUE(engine->isProcessOnHold());
    EXPECT_EQ(view->questions.size(), 1u);
    engine->restartProcessing();
    EXPECT_EQ(view->questions.size(), 2u) << "the next existing output asks again";
    EXPECT_FALSE(finished());
}

TEST_F(ProcessingEngineTest, ResumeDuringAWriteKeepsThatWrite)
{
    // The stop question comes while a.jpg is written and is answered No before the write ends:
    // the file on disk is recorded, and the resumed run neither rewrites it nor asks about it.
    addPhoto("a.jpg");
    addPhoto("b.jpg");
    pipeline->duringWrite = [this](const PhotoFile&, const QString&) {
        pipeline->duringWrite = nullptr;
        engine->holdProcessing();
        engine->restartProcessing();
    };
    ASSERT_TRUE(engine->startProcess(options));
    ASSERT_TRUE(finished());
    EXPECT_TRUE(view->questions.empty());
    EXPECT_EQ(statuses(), (QList<qint32> { 1, 1 }));
    EXPECT_EQ(pipeline->writes, (QStringList { out + "/a.jpg", out + "/b.jpg" }));
    EXPECT_EQ(view->progress, (QList<int> { 0, 50, 100 }));
}

TEST_F(ProcessingEngineTest, ASupersededWorkerLeavesTheNewAnswerAlone)
{
    // The question is open when the run is resumed (No on the stop question); the user answers
    // "keep both" while the resumed worker is between its hops. That worker is superseded and must
    // not clear the answer meant for the next one.
    addPhoto("a.jpg");
    writeFile(out + "/a.jpg", "old");
    ASSERT_TRUE(engine->startProcess(options));
    ASSERT_EQ(view->questions.size(), 1u);
    probe->onFreeBytes = [this] {
        probe->onFreeBytes = nullptr;
        engine->btnKeepImageTapped();
    };
    engine->holdProcessing();
    engine->restartProcessing();
    ASSERT_TRUE(finished());
    EXPECT_EQ(view->questions.size(), 1u);
    EXPECT_EQ(readAll(out + "/a (1).jpg"), "a.jpg|out");
    EXPECT_EQ(readAll(out + "/a.jpg"), "old");
}

TEST_F(ProcessingEngineTest, ReplacingNeverDestroysASourceStillToBeRead)
{
    // a.png and a.jpg both become a.jpg beside their sources.
    struct Row {
        const char* name;
        bool ask;
    };
    for (const Row& row : { Row { "asking off", false }, Row { "replace all", true } }) {
        SCOPED_TRACE(row.name);
        reset();
        options.job.folderOption = 0;
        options.job.formatOption = 1;
        options.job.selectedFileFormat = 3;
        options.askBeforeOverwrite = row.ask;
        addPhoto(src + "/a.png", "png");
        addPhoto(src + "/a.jpg", "jpg");
        ASSERT_TRUE(engine->startProcess(options));
        if (row.ask)
            engine->btnReplaceAllImageTapped();
        ASSERT_TRUE(finished());
        EXPECT_EQ(readAll(src + "/a (1).jpg"), "png|out");
        EXPECT_EQ(readAll(src + "/a.jpg"), "jpg|out") << "a.jpg was read before it was replaced";
    }
}

TEST_F(ProcessingEngineTest, ARunNeverReplacesAnOutputItWroteItself)
{
    struct Row {
        const char* name;
        bool ask;
        bool besideSources;
    };
    for (const Row& row :
        { Row { "two folders, asking off", false, false }, Row { "two folders, replace all", true, false },
            Row { "a.jpg then a.png beside their sources", false, true } }) {
        SCOPED_TRACE(row.name);
        reset();
        options.askBeforeOverwrite = row.ask;
        QString first;
        QString second;
        if (row.besideSources) {
            options.job.folderOption = 0;
            options.job.formatOption = 1;
            options.job.selectedFileFormat = 3;
            addPhoto(src + "/a.jpg", "jpg");
            addPhoto(src + "/a.png", "png");
            first = src + "/a.jpg";
            second = src + "/a (1).jpg";
        } else {
            addPhoto(src + "/A/photo.jpg", "A");
            addPhoto(src + "/B/photo.jpg", "B");
            writeFile(out + "/photo.jpg", "older"); // so that "replace all" is asked for at all
            first = out + "/photo.jpg";
            second = out + "/photo (1).jpg";
        }
        ASSERT_TRUE(engine->startProcess(options));
        if (row.ask)
            engine->btnReplaceAllImageTapped();
        ASSERT_TRUE(finished());
        EXPECT_EQ(statuses(), (QList<qint32> { 1, 1 }));
        EXPECT_EQ(readAll(first), row.besideSources ? "jpg|out" : "A|out");
        EXPECT_EQ(readAll(second), row.besideSources ? "png|out" : "B|out");
        EXPECT_EQ(engine->arrPhotosToProcess()[1]->filePathNew(), second);
    }
}

} // namespace
} // namespace vantrel::test
