// Journeys through the output settings and the run: every output format, the naming rule, an
// output folder chosen through its panel, and the files the run leaves on disk.
#include <QAbstractItemView>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <functional>

#include <gtest/gtest.h>

#include "JourneyDriver.h"
#include "JourneyFiles.h"
#include "JourneyGestures.h"
#include "JourneyStart.h"
#include "JourneySteps.h"

namespace vantrel::journeys {
namespace {

struct FormatCase {
    const char* item; ///< the row of the format list
    const char* extension; ///< of the files written
    const char* magic; ///< what the files' bytes say they are
    int quality; ///< typed into the quality field; 0 where the format has none
    bool keepsCameraTags; ///< the JPEG sources' EXIF camera tags survive
};

const FormatCase kFormats[] = {
    { "*.TIF", "tif", "tiff", 0, true },
    { "*.TIFF", "tiff", "tiff", 0, true },
    { "*.PNG", "png", "png", 0, false },
    { "*.JPG", "jpg", "jpeg", 20, true },
    { "*.JPEG", "jpeg", "jpeg", 95, true },
    { "*.JP2", "jp2", "jp2", 60, false },
    { "*.BMP", "bmp", "bmp", 0, false },
    { "*.GIF", "gif", "gif", 0, false },
};

/// The output folder the settings show.
QString shownFolder()
{
    return controlText("Output folder");
}

TEST(Journey, ConvertToEveryFormatWithNamingAndChosenFolder)
{
    JourneyStart start;
    ASSERT_TRUE(start.launchWithPhotos());
    const PhotoFolder& folder = start.folder();

    // Half size, upright by the EXIF orientation: every output has the shown size halved and no
    // turn left in its tag, whatever the format.
    ASSERT_TRUE(goToStep("Next", "Resizing"));
    ASSERT_TRUE(clickControl("Percent size", pane("Resize")));
    ASSERT_TRUE(typeInto("Percent width", "50", pane("Resize")));
    ASSERT_TRUE(typeInto("Percent height", "50", pane("Resize")));
    ASSERT_TRUE(clickControl("Auto correct", pane("Rotate")));

    QMap<QString, QMap<QString, qint64>> bytes; // extension -> photo -> file size
    int run = 0;
    for (const FormatCase& format : kFormats) {
        SCOPED_TRACE(format.item);
        ++run;
        ASSERT_TRUE(goToStep("Next", "Settings"));
        QWidget* settings = pane("Settings");
        ASSERT_TRUE(settings);
        ASSERT_TRUE(clickControl("Convert to", settings));
        ASSERT_TRUE(chooseFromPopup("Choose format", format.item, settings));
        EXPECT_EQ(controlText("Chosen format", settings), QString::fromLatin1(format.item));
        EXPECT_EQ(visibleControls("Quality", settings).size(), format.quality > 0 ? 1 : 0) << "the quality field";
        if (format.quality > 0) {
            ASSERT_TRUE(typeInto("Quality", QString::number(format.quality), settings));
        }

        // Prefix and suffix in turn, typed with capitals and symbols.
        const bool prefix = run % 2 == 1;
        const QString affix = prefix ? QStringLiteral("Trip-%1_").arg(run) : QStringLiteral("_V%1(b)").arg(run);
        ASSERT_TRUE(chooseFromPopup("Choose naming", prefix ? "Add Prefix" : "Add Suffix", settings));
        ASSERT_TRUE(typeInto("Prefix or suffix", affix, settings));
        EXPECT_EQ(controlText("Prefix or suffix", settings), affix) << "the typed affix";

        // A new output folder each run, chosen through the panel.
        const QString out = start.place(QStringLiteral("out-%1").arg(format.extension));
        ASSERT_TRUE(QDir().mkpath(out));
        ASSERT_TRUE(clickControl("Save to folder", settings));
        ASSERT_TRUE(clickControl("Choose output folder", settings));
        ASSERT_TRUE(choosePathInPanel(out));
        EXPECT_TRUE(waitFor([&] { return shownFolder() == out; }, 3000))
            << "the output folder shows \"" << shownFolder().toStdString() << "\"";

        ASSERT_TRUE(goToStep("Convert", "Processing"));
        ASSERT_TRUE(waitForSummary()) << "the run did not reach its summary";
        const QStringList written = filesIn(out);
        EXPECT_EQ(summaryCount("Images selected"), 6);
        EXPECT_EQ(summaryCount("Images converted"), written.size()) << "summary against the disk";
        EXPECT_EQ(summaryCount("Conversion failed"), 0);
        EXPECT_EQ(written.size(), 6) << written.join(", ").toStdString();

        for (const JourneyPhoto& photo : folder.photos()) {
            const QString base = QFileInfo(photo.relativePath).completeBaseName();
            const QString name = (prefix ? affix + base : base + affix) + "." + format.extension;
            SCOPED_TRACE(name.toStdString());
            ASSERT_TRUE(written.contains(name))
                << "missing output " << name.toStdString() << " among " << written.join(", ").toStdString();
            const FileFacts facts = factsOf(out + "/" + name);
            bytes[QString::fromLatin1(format.extension)][base] = QFileInfo(out + "/" + name).size();
            EXPECT_TRUE(facts.readable) << "unreadable output";
            EXPECT_EQ(facts.format, QString::fromLatin1(format.magic)) << "format of the file's bytes";
            EXPECT_EQ(facts.size, photo.shown() / 2) << "pixel size";
            EXPECT_EQ(facts.orientation, 1) << "orientation tag";
            if (format.keepsCameraTags && photo.relativePath.contains(".jp")) {
                EXPECT_TRUE(facts.hasCameraMake) << "the camera's EXIF tags were not kept";
            }
        }
        ASSERT_TRUE(goToStep("Finish", "Photos"));
        ASSERT_TRUE(goToStep("Next", "Resizing"));
    }
    // The quality typed shows in the files: at 95 every JPEG is larger than at 20.
    ASSERT_EQ(bytes["jpeg"].size(), 6);
    ASSERT_EQ(bytes["jpg"].size(), 6);
    for (auto it = bytes["jpeg"].cbegin(); it != bytes["jpeg"].cend(); ++it)
        EXPECT_GT(it.value(), bytes["jpg"].value(it.key())) << it.key().toStdString() << ": quality 95 against 20";
}

TEST(Journey, StopInTheMiddleLeavesOnlyWholeFilesAndTheSummaryCountsThem)
{
    QTemporaryDir disk;
    const QString photos = disk.filePath("forty");
    // Big enough that a PNG encode takes a moment, so the run is still going when Stop comes.
    ASSERT_TRUE(writeTinyPhotos(photos, 40, 1200, 900));
    const QString out = disk.filePath("out");
    ASSERT_TRUE(QDir().mkpath(out));
    RunningApp app;
    ASSERT_TRUE(app.isUp()) << "the main window did not become active";

    // The folder arrives by drag and drop on the drop area.
    ASSERT_TRUE(dropPaths(control("Drop photos here"), "Drop photos here", { photos }));
    ASSERT_TRUE(waitForBatchCount(40));
    ASSERT_TRUE(goToStep("Next", "Resizing"));
    ASSERT_TRUE(goToStep("Next", "Settings"));
    ASSERT_TRUE(convertToPngInto(out));

    ASSERT_TRUE(goToStep("Convert", "Processing"));
    const QRegularExpression whole("^photo\\d{3}\\.png$");
    ASSERT_TRUE(waitFor([&] { return !filesIn(out).filter(whole).isEmpty(); }, 30'000)) << "no file was written";
    ASSERT_TRUE(clickControl("Stop", pane("Processing")));
    ASSERT_TRUE(waitForSummary()) << "the stopped run did not reach its summary";
    // The summary comes at once; the writes it cut off put nothing in place, and their encoders'
    // scratch files go as soon as each notices.
    EXPECT_TRUE(waitFor([&] { return filesIn(out).filter(whole).size() == filesIn(out).size(); }, 30'000))
        << "temporaries left: " << filesIn(out).join(", ").toStdString();

    const QStringList written = filesIn(out);
    EXPECT_GT(written.size(), 0);
    EXPECT_LT(written.size(), 40) << "the run did not stop";
    EXPECT_EQ(summaryCount("Images converted"), written.size()) << "summary against the disk";
    EXPECT_EQ(summaryCount("Images selected"), 40);
    for (const QString& name : written) {
        EXPECT_TRUE(whole.match(name).hasMatch()) << "stray file " << name.toStdString();
        const FileFacts facts = factsOf(out + "/" + name);
        EXPECT_TRUE(facts.readable && facts.format == "png" && facts.size == QSize(1200, 900))
            << "partial or wrong file " << name.toStdString();
    }
    // The log has one row per photo the run wrote.
    const auto details = logRows("tblLogDetails");
    EXPECT_GE(details.size(), written.size()) << "log rows";
}

TEST(Journey, LogViewerFromTheSummaryShowsOneRowPerFileOfTheRun)
{
    JourneyStart start;
    ASSERT_TRUE(start.launchWithPhotos());
    const PhotoFolder& folder = start.folder();
    const QString out = start.out();
    // One source goes from the disk while the user is on the later steps.
    const JourneyPhoto gone = folder.photos().at(3);
    ASSERT_TRUE(goToStep("Next", "Resizing"));
    ASSERT_TRUE(QFile::remove(folder.path(gone)));
    ASSERT_TRUE(goToStep("Next", "Settings"));
    ASSERT_TRUE(convertToPngInto(out));
    ASSERT_TRUE(goToStep("Convert", "Processing"));
    ASSERT_TRUE(waitForSummary()) << "the run did not reach its summary";
    EXPECT_EQ(summaryCount("Images converted"), 5);
    EXPECT_EQ(summaryCount("Conversion failed"), 1);
    EXPECT_EQ(filesIn(out).size(), 5);

    ASSERT_TRUE(clickControl("Show Logs"));
    ASSERT_TRUE(waitFor([] { return visibleControls("Log window").size() == 1; }, 5000)) << "no log window came up";
    QWidget* logWindow = control("Log window");
    ASSERT_TRUE(logWindow);
    EXPECT_EQ(controlText("Images selected", logWindow), "6");
    EXPECT_EQ(controlText("Images converted", logWindow), "5");
    EXPECT_EQ(controlText("Conversion failed", logWindow), "1");
    auto* table = qobject_cast<QAbstractItemView*>(control("Photos of the run", logWindow));
    ASSERT_TRUE(table) << "the log's table of photos is missing";
    QAbstractItemModel* rows = table->model();
    ASSERT_EQ(rows->rowCount(), 6) << "rows of the log's table";

    // The table and the database agree, row by row, and name each photo's fate.
    const auto details = logRows("tblLogDetails");
    ASSERT_EQ(details.size(), 6) << "rows of tblLogDetails";
    const auto summaries = logRows("tblLogSummary");
    ASSERT_EQ(summaries.size(), 1) << "rows of tblLogSummary";
    EXPECT_EQ(summaries.first().value("imagesConverted"), "5");
    QStringList inputs;
    for (int row = 0; row < 6; ++row) {
        const QString input = rows->index(row, 1).data().toString();
        const QString output = rows->index(row, 2).data().toString().trimmed();
        const QString information = rows->index(row, 3).data().toString();
        SCOPED_TRACE(input.toStdString());
        inputs << input;
        EXPECT_EQ(rows->index(row, 0).data().toString(), QString::number(row + 1)) << "row number";
        EXPECT_EQ(details.at(row).value("inputFilename"), input) << "database row " << row;
        EXPECT_EQ(details.at(row).value("outputFilename").trimmed(), output) << "database row " << row;
        EXPECT_EQ(details.at(row).value("information"), information) << "database row " << row;
        EXPECT_EQ(details.at(row).value("timeStamp"), summaries.first().value("timeStamp"));
        if (input == folder.path(gone)) {
            EXPECT_EQ(information, "File not available at source directory.");
            EXPECT_TRUE(output.isEmpty()) << "an output for the gone photo: " << output.toStdString();
        } else {
            EXPECT_EQ(information, "Processed successfully.");
            EXPECT_EQ(output, out + "/" + QFileInfo(input).completeBaseName() + ".png") << "output path";
            EXPECT_TRUE(QFile::exists(output)) << "the logged output is not on disk";
        }
    }
    QStringList sources;
    for (const JourneyPhoto& photo : folder.photos())
        sources << folder.path(photo);
    inputs.sort();
    sources.sort();
    EXPECT_EQ(inputs, sources) << "the log's input paths";

    ASSERT_TRUE(clickControl("Close", logWindow));
    EXPECT_TRUE(waitFor([&] { return !logWindow->isVisible(); }, 3000)) << "the log window did not close";
}

/// Waits for the overwrite question about `fileName`; the sheet, or nullptr with a failure.
QWidget* overwriteQuestionAbout(const QString& fileName)
{
    QWidget* sheet = nullptr;
    QString shown;
    waitFor(
        [&] {
            const QList<QWidget*> found = visibleControls("File already exists");
            sheet = found.size() == 1 ? found.first() : nullptr;
            shown = sheet ? plainText("Existing file", sheet) : QString();
            return sheet && shown.startsWith("\"" + fileName + "\"");
        },
        15'000);
    if (!sheet || !shown.startsWith("\"" + fileName + "\""))
        ADD_FAILURE() << "no overwrite question about " << fileName.toStdString() << " (shown: \""
                      << shown.toStdString() << "\")";
    return sheet && shown.startsWith("\"" + fileName + "\"") ? sheet : nullptr;
}

TEST(Journey, ConvertAgainIntoTheSameFolderAnswersEveryOverwriteQuestion)
{
    JourneyStart start;
    ASSERT_TRUE(start.launchWithPhotos());
    const PhotoFolder& folder = start.folder();
    const QString out = start.out();

    // First run: full size PNGs.
    ASSERT_TRUE(goToStep("Next", "Resizing"));
    ASSERT_TRUE(goToStep("Next", "Settings"));
    ASSERT_TRUE(convertToPngInto(out));
    ASSERT_TRUE(isChecked("Ask before overwriting files", pane("Settings")));
    ASSERT_TRUE(goToStep("Convert", "Processing"));
    ASSERT_TRUE(waitForSummary());
    ASSERT_EQ(filesIn(out).size(), 6);

    // Second run at half size into the same folder: each answer shows in the files' sizes.
    ASSERT_TRUE(goToStep("Finish", "Photos"));
    ASSERT_TRUE(goToStep("Next", "Resizing"));
    ASSERT_TRUE(clickControl("Percent size", pane("Resize")));
    ASSERT_TRUE(typeInto("Percent width", "50", pane("Resize")));
    ASSERT_TRUE(typeInto("Percent height", "50", pane("Resize")));
    ASSERT_TRUE(goToStep("Next", "Settings"));
    ASSERT_TRUE(goToStep("Convert", "Processing"));

    // Rename, with a name typed with capitals and symbols.
    const QString newName = QStringLiteral("Trip #1 (A&B) - Sea!");
    QWidget* sheet = overwriteQuestionAbout("landscape.png");
    ASSERT_TRUE(sheet);
    ASSERT_TRUE(typeInto("New file name", newName, sheet));
    EXPECT_EQ(controlText("New file name", sheet), newName) << "the name as typed in the sheet";
    ASSERT_TRUE(clickControl("Rename", sheet));
    // Keep Both, Skip, then Replace All for the rest.
    sheet = overwriteQuestionAbout("portrait.png");
    ASSERT_TRUE(sheet);
    ASSERT_TRUE(clickControl("Keep Both", sheet));
    sheet = overwriteQuestionAbout("left.png");
    ASSERT_TRUE(sheet);
    ASSERT_TRUE(clickControl("Skip", sheet));
    sheet = overwriteQuestionAbout("upside.png");
    ASSERT_TRUE(sheet);
    ASSERT_TRUE(clickControl("Replace All", sheet));
    ASSERT_TRUE(waitForSummary()) << "the run did not reach its summary after the answers";

    const QStringList expected = { "landscape.png", "left.png", "portrait (1).png", "portrait.png", "scan.png",
        newName + ".png", "turned.png", "upside.png" };
    QStringList sortedExpected = expected;
    sortedExpected.sort();
    EXPECT_EQ(filesIn(out), sortedExpected) << "files after the answers";
    const auto sizeOf = [&](const QString& name) { return factsOf(out + "/" + name).size; };
    // No rotation chosen: a PNG is stored upright, at the size a viewer shows its photo.
    const auto shownOf = [&](const QString& relative) {
        for (const JourneyPhoto& photo : folder.photos())
            if (photo.relativePath.endsWith(relative))
                return photo.shown();
        return QSize();
    };
    // Untouched: the renamed photo's old file, the skipped one, the first of the kept pair.
    EXPECT_EQ(sizeOf("landscape.png"), shownOf("landscape.jpg")) << "landscape.png was not to change";
    EXPECT_EQ(sizeOf("left.png"), shownOf("left.jpeg")) << "left.png was skipped";
    EXPECT_EQ(sizeOf("portrait.png"), shownOf("portrait.png")) << "portrait.png was kept";
    // New at half size: the renamed file, the second of the kept pair, the replaced ones.
    EXPECT_EQ(sizeOf(newName + ".png"), shownOf("landscape.jpg") / 2) << "the renamed file";
    EXPECT_EQ(sizeOf("portrait (1).png"), shownOf("portrait.png") / 2) << "the file kept beside";
    for (const char* replaced : { "upside", "scan", "turned" })
        EXPECT_EQ(sizeOf(QString::fromLatin1(replaced) + ".png"),
            shownOf(QString::fromLatin1(replaced) + (QString::fromLatin1(replaced) == "scan" ? ".tif" : ".jpg")) / 2)
            << replaced << ".png was to be replaced";
    EXPECT_EQ(summaryCount("Images converted"), 5);
}

} // namespace
} // namespace vantrel::journeys
