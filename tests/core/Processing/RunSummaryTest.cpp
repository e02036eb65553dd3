// The end-of-run figures as pure functions of the records: the summary labels, the detail rows'
// ratio and saving, and the bottom line's percentage.
#include <gtest/gtest.h>

#include "core/Processing/RunSummary.h"

namespace vantrel {
namespace {

PhotoFilePtr record(qint32 status, double input, double output)
{
    auto photo = std::make_shared<PhotoFile>();
    photo->setFilePath("/in/p.jpg");
    photo->setFilePathNew("/out/p.jpg");
    photo->setProcessStatus(status);
    photo->setFileSizeInBytes(input);
    photo->setNewfileSizeInBytes(output);
    return photo;
}

TEST(RunSummaryTest, DetailRowRatioAndSaving)
{
    const struct {
        const char* name;
        qint32 status;
        double input;
        double output;
        QString ratio;
        QString save;
        QString outputFilename;
    } rows[] = {
        { "smaller output", 1, 2'000'000, 500'000, "25.00", "1.50 MB", "/out/p.jpg" },
        { "larger output", 1, 1'000'000, 1'250'000, "125.00", " ", "/out/p.jpg" },
        { "no saving (a copy)", 1, 1'000'000, 1'000'000, "100.00", " ", "/out/p.jpg" },
        { "empty input", 1, 0, 1'000, " ", " ", "/out/p.jpg" },
        { "above 2 GiB", 1, 5e9, 1e9, "20.00", "4.00 GB", "/out/p.jpg" },
        { "not written", 8, 1'000'000, 0, " ", " ", " " },
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const QVariantMap detail = RunSummary::detailRow("stamp", *record(row.status, row.input, row.output));
        EXPECT_EQ(detail.value("ratio").toString(), row.ratio);
        EXPECT_EQ(detail.value("save").toString(), row.save);
        EXPECT_EQ(detail.value("outputFilename").toString(), row.outputFilename);
        EXPECT_EQ(detail.value("inputFilename").toString(), "/in/p.jpg");
        EXPECT_EQ(detail.value("oldSize").toString(), " ");
        EXPECT_EQ(detail.value("newSize").toString(), "");
    }
}

TEST(RunSummaryTest, SummaryCountsComeFromTheRecords)
{
    // Three written (3 MB in, 1 MB out) and one missing source whose size still counts in total.
    const QList<PhotoFilePtr> run { record(1, 1e6, 4e5), record(1, 1e6, 3e5), record(1, 1e6, 3e5), record(2, 5e5, 0) };
    const RunSummaryTexts texts = RunSummary::summaryTexts(run, "1 second");
    EXPECT_EQ(texts.imagesSelected, "4");
    EXPECT_EQ(texts.imagesConverted, "3");
    EXPECT_EQ(texts.conversionFailed, "1");
    EXPECT_EQ(texts.oldSize, "3.00 MB");
    EXPECT_EQ(texts.newSize, "1.00 MB");
    EXPECT_TRUE(texts.spaceSaveVisible);
    EXPECT_EQ(texts.spaceSave, "2.00 MB");
    EXPECT_EQ(texts.totalOldSize, "3.50 MB");

    const RunSummaryTexts none = RunSummary::summaryTexts({ record(8, 1e6, 0), record(0, 1e6, 0) }, "1 second");
    EXPECT_EQ(none.imagesConverted, "0");
    EXPECT_EQ(none.conversionFailed, "2");
    EXPECT_EQ(none.oldSize, "-");
    EXPECT_EQ(none.newSize, "-");
    EXPECT_FALSE(none.spaceSaveVisible);
    EXPECT_EQ(none.spaceSave, "");

    const QVariantMap current = RunSummary::logDetails(run, "stamp", "1 second");
    EXPECT_EQ(current.value("imagesConverted").toString(), texts.imagesConverted);
    EXPECT_EQ(current.value("conversionFailed").toString(), texts.conversionFailed);
    EXPECT_EQ(RunSummary::logDetails({ record(8, 1e6, 0) }, "s", "e").value("oldSize").toString(), "0 bytes");
}

TEST(RunSummaryTest, BottomLinePercentAndPlural)
{
    const struct {
        qint64 errors;
        qint64 done;
        qint64 total;
        QString text;
    } rows[] = {
        { 0, 3, 7, "Process Completed: 42 %  |  Error reported: 0  |  Time elapsed: 1 second approx." },
        { 1, 7, 7, "Process Completed: 100 %  |  Error reported: 1  |  Time elapsed: 1 second approx." },
        { 3, 5, 7, "Process Completed: 71 %  |  Errors reported: 3  |  Time elapsed: 1 second approx." },
        { 0, 0, 0, "Process Completed: 100 %  |  Error reported: 0  |  Time elapsed: 1 second approx." },
    };
    for (const auto& row : rows)
        EXPECT_EQ(RunSummary::bottomLine(row.errors, row.done, row.total, "1 second").text, row.text);
}

TEST(RunSummaryTest, StampUsesTheWeekBasedYear)
{
    EXPECT_EQ(RunSummary::runStamp(QDateTime(QDate(2026, 12, 28), QTime(9, 4, 5))), "12282027 09045 AM");
    EXPECT_EQ(RunSummary::runStamp(QDateTime(QDate(2026, 6, 1), QTime(23, 59, 59))), "06012026 115959 PM");
    EXPECT_EQ(RunSummary::elapsedText(
                  QDateTime(QDate(2026, 6, 1), QTime(10, 0, 0)), QDateTime(QDate(2026, 6, 1), QTime(10, 0, 0, 900))),
        "1 second");
    EXPECT_EQ(RunSummary::elapsedText(
                  QDateTime(QDate(2026, 6, 1), QTime(10, 0, 0)), QDateTime(QDate(2026, 6, 1), QTime(10, 0, 45))),
        " 45 seconds");
}

} // namespace
} // namespace vantrel
