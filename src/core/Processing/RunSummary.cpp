#include "core/Processing/RunSummary.h"

#include <QFileInfo>
#include <QVariantList>

#include "core/Processing/RunText.h"

namespace vantrel {

namespace {

struct Sums {
    double totalInput = 0; // every photo of the run
    double input = 0; // photos with status 1
    double output = 0; // their outputs
    qint64 converted = 0;
};

Sums sumUp(const QList<PhotoFilePtr>& photos)
{
    Sums sums;
    for (const PhotoFilePtr& photo : photos) {
        sums.totalInput += photo->fileSizeInBytes();
        if (photo->processStatus() == static_cast<qint32>(ProcessStatus::Processed)) {
            sums.input += photo->fileSizeInBytes();
            sums.output += photo->newfileSizeInBytes();
            ++sums.converted;
        }
    }
    return sums;
}

QString orSpace(const QString& text)
{
    return text.isEmpty() ? QStringLiteral(" ") : text;
}

void highlightAll(const QString& text, const QString& needle, std::vector<RunTextRange>& ranges)
{
    if (needle.isEmpty())
        return;
    for (qsizetype at = text.indexOf(needle); at >= 0; at = text.indexOf(needle, at + needle.size()))
        ranges.push_back({ static_cast<int>(at), static_cast<int>(needle.size()) });
}

// The status text, or the run's own text for a photo whose source changed while it was read.
QString information(const PhotoFile& photo)
{
    if (photo.processStatus() == static_cast<qint32>(ProcessStatus::NotProcessed)
        && photo.processInfoMessage() == RunText::sourceChanged())
        return RunText::sourceChanged();
    return RunSummary::getMessageForstatus(photo.processStatus());
}

} // namespace

const QStringList& RunSummary::summaryColumns()
{
    static const QStringList columns { "timeStamp", "imagesSelected", "imagesConverted", "conversionFailed", "oldSize",
        "newSize", "saveSpace", "timeElapsed", "totalOldSize" };
    return columns;
}

const QStringList& RunSummary::detailColumns()
{
    static const QStringList columns { "timeStamp", "inputFilename", "outputFilename", "information", "oldSize",
        "newSize", "ratio", "save" };
    return columns;
}

QString RunSummary::elapsedText(const QDateTime& start, const QDateTime& now)
{
    const QString text = RunText::duration(RunText::secondsBetween(start, now));
    return text.isEmpty() ? QStringLiteral("1 second") : text;
}

QString RunSummary::runStamp(const QDateTime& start)
{
    return RunText::stampDate(start, QStringLiteral("MMddYYYY")) + QLatin1Char(' ')
        + RunText::stampDate(start, QStringLiteral("hhmms a"));
}

QString RunSummary::getMessageForstatus(qint32 status)
{
    return PhotoFile::logTextForStatus(status);
}

RunSummaryTexts RunSummary::summaryTexts(const QList<PhotoFilePtr>& photos, const QString& elapsed)
{
    const Sums sums = sumUp(photos);
    const qint64 count = photos.size();
    const double saved = sums.input - sums.output;
    RunSummaryTexts texts;
    texts.processTitle = QStringLiteral("Summary");
    texts.imagesSelected = QString::number(count);
    texts.imagesConverted = QString::number(sums.converted);
    texts.conversionFailed = QString::number(std::max<qint64>(0, count - sums.converted));
    texts.spaceSaveVisible = sums.output > 0 && saved > 0;
    texts.spaceSave = texts.spaceSaveVisible ? RunText::bytes(saved) : QString();
    texts.oldSize = sums.input > 0 ? RunText::bytes(sums.input) : QStringLiteral("-");
    texts.newSize = sums.output > 0 ? RunText::bytes(sums.output) : QStringLiteral("-");
    texts.totalOldSize = RunText::bytes(sums.totalInput);
    texts.timeElapsed = elapsed;
    return texts;
}

QVariantMap RunSummary::summaryRow(const QString& stamp, const RunSummaryTexts& texts)
{
    return {
        { "timeStamp", stamp },
        { "imagesSelected", texts.imagesSelected },
        { "imagesConverted", texts.imagesConverted },
        { "conversionFailed", texts.conversionFailed },
        { "oldSize", texts.oldSize },
        { "newSize", texts.newSize },
        { "saveSpace", texts.spaceSave },
        { "timeElapsed", texts.timeElapsed },
        { "totalOldSize", texts.totalOldSize },
    };
}

QVariantMap RunSummary::detailRow(const QString& stamp, const PhotoFile& photo)
{
    const bool written = photo.processStatus() == static_cast<qint32>(ProcessStatus::Processed);
    QString ratio = QStringLiteral(" ");
    QString save = QStringLiteral(" ");
    if (written) {
        // Single precision as the log has always shown it; an input size of 0 has no ratio.
        if (photo.fileSizeInBytes() > 0) {
            const float value = static_cast<float>(photo.newfileSizeInBytes() * 100.0 / photo.fileSizeInBytes());
            if (value > 0)
                ratio = QString::asprintf("%.02f", static_cast<double>(value));
        }
        // 64-bit: sizes above 2 GiB must not wrap into a bogus saving.
        const auto saved = static_cast<qint64>(photo.fileSizeInBytes() - photo.newfileSizeInBytes());
        if (saved > 0)
            save = RunText::bytes(static_cast<double>(saved));
    }
    return {
        { "timeStamp", stamp },
        { "inputFilename", orSpace(photo.filePath()) },
        { "outputFilename", written ? orSpace(photo.filePathNew()) : QStringLiteral(" ") },
        { "information", information(photo) },
        { "oldSize", orSpace(photo.fileSizeAsString()) },
        { "newSize", photo.newfileSizeAsString() },
        { "ratio", ratio },
        { "save", save },
    };
}

QVariantMap RunSummary::logDetails(const QList<PhotoFilePtr>& photos, const QString& stamp, const QString& elapsed)
{
    const Sums sums = sumUp(photos);
    const double saved = sums.input - sums.output;
    QVariantList list;
    list.reserve(photos.size());
    for (const PhotoFilePtr& photo : photos)
        list.append(QVariant::fromValue(photo));
    return {
        { "timeStamp", stamp },
        { "imagesSelected", QString::number(photos.size()) },
        { "imagesConverted", QString::number(sums.converted) },
        { "conversionFailed", QString::number(std::max<qint64>(0, photos.size() - sums.converted)) },
        { "oldSize", RunText::bytes(sums.input) },
        { "newSize", RunText::bytes(sums.output) },
        { "saveSpace", sums.output > 0 && saved > 0 ? RunText::bytes(saved) : QString() },
        { "timeElapsed", elapsed },
        { "totalOldSize", RunText::bytes(sums.totalInput) },
        { "arrPhotos", list },
    };
}

QString RunSummary::logNotice(const RunLogResult& result)
{
    QStringList lines;
    if (!result.pendingSetAsideTo.isEmpty())
        lines << QStringLiteral("The file of log rows kept for the next run %1; it was set aside as \"%2\".")
                     .arg(result.pendingSetAsideBecause, QFileInfo(result.pendingSetAsideTo).fileName());
    if (!result.movedAsideTo.isEmpty())
        lines << QStringLiteral("The log database %1; it was set aside as \"%2\" and a new one was started.")
                     .arg(result.movedAsideBecause.isEmpty() ? QStringLiteral("was damaged") : result.movedAsideBecause,
                         QFileInfo(result.movedAsideTo).fileName());
    if (!result.saved)
        lines << (result.kept
                ? QStringLiteral("This run's log could not be saved (%1); it will be saved with the next run.")
                : QStringLiteral("This run's log could not be saved (%1)."))
                     .arg(result.failure);
    return lines.join(u' ');
}

int RunSummary::percentDone(qint64 done, qint64 total)
{
    if (total <= 0)
        return 100;
    return static_cast<int>(std::clamp<qint64>(done * 100 / total, 0, 100));
}

RunBottomLine RunSummary::bottomLine(qint64 errors, qint64 done, qint64 total, const QString& elapsed)
{
    const QString percent = QStringLiteral("%1 %").arg(percentDone(done, total));
    const QString errorText = QString::number(errors);
    RunBottomLine line;
    line.text = QStringLiteral("Process Completed: %1  |  Error%2 reported: %3  |  Time elapsed: %4 approx.")
                    .arg(percent, errors < 2 ? QString() : QStringLiteral("s"), errorText, elapsed);
    highlightAll(line.text, percent, line.highlights);
    highlightAll(line.text, errorText, line.highlights);
    highlightAll(line.text, elapsed, line.highlights);
    return line;
}

} // namespace vantrel
