#include "screens/Processing/ProcessingView.h"

#include <utility>

#include <QFutureWatcher>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>
#include <QVariant>
#include <QtConcurrent/QtConcurrentRun>

#include "components/AppLook.h"
#include "components/FocusRing.h"
#include "components/WyProgressIndicator.h"
#include "core/AppDelegate.h"
#include "core/Helper/Utils.h"
#include "core/Processing/ProcessingClock.h"
#include "core/Processing/ProcessingFileProbe.h"
#include "core/Processing/ProcessingFolderOpener.h"
#include "core/Processing/ProcessingLogDatabase.h"
#include "core/Processing/ProcessingPhotoPipeline.h"
#include "core/Processing/ProcessingSerialExecutor.h"
#include "screens/Panes/PaneLook.h"

namespace vantrel {

namespace {

std::shared_ptr<ProcessingEngine> realEngine()
{
    std::shared_ptr<DBManager> db = AppDelegate::shareDelegate()->dbManager;
    return ProcessingEngine::create(
        { std::make_shared<ProcessingPhotoPipeline>(), std::make_shared<ProcessingFileProbe>(),
            std::make_shared<ProcessingClock>(), std::make_shared<ProcessingFolderOpener>(),
            db ? std::make_shared<ProcessingLogDatabase>(db) : nullptr, std::make_shared<ProcessingSerialExecutor>() });
}

// The summary rows: log key and caption, in panel order.
const std::pair<const char*, const char*> kSummaryRows[] = {
    { "imagesSelected", "Images selected:" },
    { "imagesConverted", "Images converted:" },
    { "conversionFailed", "Conversion failed:" },
    { "totalOldSize", "Total size of the photos:" },
    { "oldSize", "Size of the converted photos:" },
    { "newSize", "Size after conversion:" },
    { "saveSpace", "Space saved:" },
    { "timeElapsed", "Time elapsed:" },
};

} // namespace

ProcessingView::ProcessingView(std::shared_ptr<ProcessingEngine> engine, QWidget* parent)
    : QWidget(parent)
    , m_engine(engine ? std::move(engine) : realEngine())
{
    setObjectName(QStringLiteral("vwProcessing"));
    setAccessibleName(QStringLiteral("Processing"));
    m_processTitle = PaneLook::makeTitle(QStringLiteral("Processing..."), this);
    m_processTitle->setObjectName(QStringLiteral("processTitle"));
    // The title changes from "Processing..." to "Summary": its name follows what it shows.
    m_processTitle->setAccessibleName(m_processTitle->text());
    m_processTitle->setStyleSheet(m_processTitle->styleSheet() + QStringLiteral("font-size: 18px;"));
    buildProgressPanel();
    buildSummaryPanel();
    m_vwRecommendedApps = new QWidget(this);
    m_vwRecommendedApps->setObjectName(QStringLiteral("vwRecommendedApps"));
    m_vwRecommendedApps->setAccessibleName(QStringLiteral("Recommended applications"));
    m_vwRecommendedApps->hide();
    m_lblProcessInfoBottom = new QLabel(this);
    m_lblProcessInfoBottom->setObjectName(QStringLiteral("lblProcessInfoBottom"));
    // The progress indicator is named "Progress": the line under it names itself apart.
    m_lblProcessInfoBottom->setAccessibleName(QStringLiteral("Progress summary"));
    m_lblProcessInfoBottom->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_lblProcessInfoBottom->setTextFormat(Qt::RichText);

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(24, 18, 24, 12);
    column->setSpacing(14);
    column->addWidget(m_processTitle);
    column->addWidget(m_vwProcessingInfo);
    column->addWidget(m_vwProcessedInfo);
    column->addWidget(m_vwRecommendedApps, 1);
    column->addStretch(1);
    column->addWidget(m_lblProcessInfoBottom);

    m_overwrite = new OverwriteAlertView(this);
    m_overwrite->hide();
    connect(m_overwrite, &OverwriteAlertView::answered, this, &ProcessingView::answer);
    connect(m_overwrite, &OverwriteAlertView::renameEdited, this, [this](const QString& text) {
        PaneLook::setTextKeepingCursor(m_overwrite->txtRenamefileName(), ProcessingEngine::controlTextDidChange(text));
    });
    // Nothing shows before the first run; the bar's decorations move only during a run.
    m_vwProcessedInfo->hide();
    m_vwProcessingInfo->hide();
    m_engine->setView(this);
}

ProcessingView::~ProcessingView()
{
    m_engine->setView(nullptr);
}

void ProcessingView::buildProgressPanel()
{
    m_vwProcessingInfo = new QWidget(this);
    m_vwProcessingInfo->setObjectName(QStringLiteral("vwProcessingInfo"));
    m_progressIndicator = new WyProgressIndicator(m_vwProcessingInfo);
    m_progressIndicator->setAccessibleName(QStringLiteral("Progress"));
    m_progressIndicator->setMinValue(0);
    m_progressIndicator->setMaxValue(100);
    m_progressIndicator->setFixedHeight(22);
    m_lblCurrentPath = new QLabel(m_vwProcessingInfo);
    m_lblCurrentPath->setObjectName(QStringLiteral("lblCurrentPath"));
    m_lblCurrentPath->setAccessibleName(QStringLiteral("Current photo"));
    m_lblCurrentPath->setMinimumWidth(100);
    m_lblCurrentPath->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    PaneLook::setLabelLit(m_lblCurrentPath, false);
    m_btnStop = PaneLook::makeButton(QStringLiteral("Stop"), QStringLiteral("Stop"), m_vwProcessingInfo);
    m_btnStop->setMinimumWidth(90);
    connect(m_btnStop, &QAbstractButton::clicked, this, &ProcessingView::btnStopProcessTapped);
    auto* bar = new QHBoxLayout;
    bar->addWidget(m_progressIndicator, 1);
    bar->addWidget(m_btnStop);
    auto* column = new QVBoxLayout(m_vwProcessingInfo);
    column->setContentsMargins(0, 0, 0, 0);
    column->addLayout(bar);
    column->addWidget(m_lblCurrentPath);
}

void ProcessingView::buildSummaryPanel()
{
    m_vwProcessedInfo = new QWidget(this);
    m_vwProcessedInfo->setObjectName(QStringLiteral("vwProcessedInfo"));
    m_vwProcessedInfo->setAutoFillBackground(true);
    QPalette palette = m_vwProcessedInfo->palette();
    palette.setColor(QPalette::Window, AppLook::popupColor());
    m_vwProcessedInfo->setPalette(palette);
    auto* grid = new QGridLayout(m_vwProcessedInfo);
    grid->setContentsMargins(18, 14, 18, 14);
    grid->setHorizontalSpacing(24);
    grid->setVerticalSpacing(8);
    int row = 0;
    for (const auto& [key, caption] : kSummaryRows) {
        auto* name = new QLabel(QString::fromLatin1(caption), m_vwProcessedInfo);
        PaneLook::setLabelLit(name, false);
        auto* value = new QLabel(m_vwProcessedInfo);
        value->setAccessibleName(QString::fromLatin1(caption).chopped(1));
        PaneLook::setLabelLit(value, true);
        m_summaryLabels.insert(QString::fromLatin1(key), value);
        value->setProperty("caption", QVariant::fromValue<QObject*>(name));
        grid->addWidget(name, row, 0);
        grid->addWidget(value, row, 1);
        ++row;
    }
    m_lblLogNotice = new QLabel(m_vwProcessedInfo);
    m_lblLogNotice->setObjectName(QStringLiteral("lblLogNotice"));
    m_lblLogNotice->setAccessibleName(QStringLiteral("Log notice"));
    m_lblLogNotice->setWordWrap(true);
    PaneLook::setLabelLit(m_lblLogNotice, true);
    m_lblLogNotice->hide();
    grid->addWidget(m_lblLogNotice, row, 0, 1, 3);
    grid->setColumnStretch(2, 1);
}

QLabel* ProcessingView::summaryLabel(const QString& key) const
{
    return m_summaryLabels.value(key);
}

void ProcessingView::startProcess(
    const OutputOptionSettings& outputSettingObject, const ResizingOptionsSettingObject& resizingOptionObject)
{
    m_engine->startProcess(outputSettingObject, resizingOptionObject);
}

void ProcessingView::showProgressPanel()
{
    m_vwProcessedInfo->hide();
    m_vwProcessingInfo->show();
    m_vwRecommendedApps->hide();
    m_progressIndicator->startAnimation();
    if (const std::optional<bool> ringed = std::exchange(m_focusForStop, std::nullopt); ringed && hasFocus())
        m_btnStop->setFocus(*ringed ? Qt::TabFocusReason : Qt::MouseFocusReason);
}

void ProcessingView::takeFocusForStop(bool ringed)
{
    if (m_btnStop->isVisible()) {
        m_focusForStop.reset();
        m_btnStop->setFocus(ringed ? Qt::TabFocusReason : Qt::MouseFocusReason);
        return;
    }
    setFocus(Qt::OtherFocusReason);
    m_focusForStop = ringed;
}

void ProcessingView::showSummaryPanel()
{
    const bool stopFocused = m_btnStop->hasFocus();
    const bool stopRinged = stopFocused && FocusRing::ringedWidget() == m_btnStop;
    m_progressIndicator->stopAnimation();
    m_vwProcessedInfo->show();
    m_vwProcessingInfo->hide();
    m_vwRecommendedApps->show();
    m_focusLeftByStop.reset();
    if (stopFocused) {
        // Left to Qt, the focus would pass to the next control in the chain (a step tab), where a
        // Return meant for Finish would act. It waits here, unringed, until Finish shows.
        setFocus(Qt::OtherFocusReason);
        m_focusLeftByStop = stopRinged;
    }
}

std::optional<bool> ProcessingView::takeFocusLeftByStop()
{
    const std::optional<bool> ringed = std::exchange(m_focusLeftByStop, std::nullopt);
    return hasFocus() ? ringed : std::nullopt; // else the user has put the focus somewhere since
}

void ProcessingView::setTitle(const QString& title)
{
    m_processTitle->setText(title);
    m_processTitle->setAccessibleName(title);
}

void ProcessingView::setProgressValue(int percent)
{
    m_progressIndicator->setDoubleValue(percent);
}

void ProcessingView::setCurrentPath(const QString& path)
{
    m_lblCurrentPath->setText(path);
    m_lblCurrentPath->setToolTip(path);
}

QString ProcessingView::bottomLineHtml(const RunBottomLine& line)
{
    std::vector<bool> lit(size_t(line.text.size()), false);
    for (const RunTextRange& range : line.highlights)
        for (int i = std::max(0, range.start); i < std::min(int(line.text.size()), range.start + range.length); ++i)
            lit[size_t(i)] = true;
    const int grey = qRound(RunBottomLine::kBaseGrey * 255);
    QString html = QStringLiteral("<span style=\"color: rgb(%1, %1, %1); white-space: pre;\">").arg(grey);
    int i = 0;
    while (i < line.text.size()) {
        int end = i;
        while (end < line.text.size() && lit[size_t(end)] == lit[size_t(i)])
            ++end;
        const QString piece = line.text.mid(i, end - i).toHtmlEscaped();
        html += lit[size_t(i)] ? QStringLiteral("<span style=\"color: rgb(255, 255, 255);\">%1</span>").arg(piece)
                               : piece;
        i = end;
    }
    return html + QStringLiteral("</span>");
}

void ProcessingView::setBottomLine(const RunBottomLine& line)
{
    m_lblProcessInfoBottom->setText(bottomLineHtml(line));
    m_lblProcessInfoBottom->setAccessibleDescription(line.text);
}

void ProcessingView::setSummary(const RunSummaryTexts& texts)
{
    setTitle(texts.processTitle);
    const std::pair<const char*, const QString*> values[] = { { "imagesSelected", &texts.imagesSelected },
        { "imagesConverted", &texts.imagesConverted }, { "conversionFailed", &texts.conversionFailed },
        { "oldSize", &texts.oldSize }, { "newSize", &texts.newSize }, { "saveSpace", &texts.spaceSave },
        { "timeElapsed", &texts.timeElapsed }, { "totalOldSize", &texts.totalOldSize } };
    for (const auto& [key, text] : values)
        m_summaryLabels.value(QString::fromLatin1(key))->setText(*text);
    QLabel* spaceSaved = m_summaryLabels.value(QStringLiteral("saveSpace"));
    spaceSaved->setVisible(texts.spaceSaveVisible);
    // Its caption goes with it: a caption over nothing reads as a fault.
    if (auto* caption = qobject_cast<QLabel*>(spaceSaved->property("caption").value<QObject*>()))
        caption->setVisible(texts.spaceSaveVisible);
}

void ProcessingView::setLogNotice(const QString& text)
{
    m_lblLogNotice->setText(text);
    m_lblLogNotice->setVisible(!text.isEmpty());
}

void ProcessingView::setOverwriteQuestion(
    const QString& renameText, const QString& existingPath, const QString& sourcePath)
{
    m_overwrite->setQuestion(renameText, existingPath);
    loadExistingImage(sourcePath);
}

void ProcessingView::setRenameError(const QString& message)
{
    m_overwrite->setRenameError(message);
}

void ProcessingView::loadExistingImage(const QString& sourcePath)
{
    const quint64 request = ++m_imageRequest;
    if (sourcePath.isEmpty())
        return;
    // Decoding happens on a worker; only the latest question's picture is shown.
    auto* watcher = new QFutureWatcher<QImage>(this);
    connect(watcher, &QFutureWatcher<QImage>::finished, this, [this, watcher, request] {
        if (request == m_imageRequest)
            m_overwrite->setExistingImage(watcher->result());
        watcher->deleteLater();
    });
    watcher->setFuture(QtConcurrent::run([sourcePath] {
        return Utils::sharedUtils().getThumbnailImageAtFilePath(sourcePath, QSizeF(240, 180)).toQImage();
    }));
}

void ProcessingView::answer(OverwriteAlertView::Answer answer)
{
    using Answer = OverwriteAlertView::Answer;
    switch (answer) {
    case Answer::Replace:
        m_engine->btnReplaceImageTapped();
        break;
    case Answer::Skip:
        m_engine->btnSkipImageTapped();
        break;
    case Answer::KeepBoth:
        m_engine->btnKeepImageTapped();
        break;
    case Answer::Rename:
        m_engine->btnRenameImageTapped(m_overwrite->txtRenamefileName()->text());
        break;
    case Answer::SkipAll:
        m_engine->btnSkipAllImageTapped();
        break;
    case Answer::ReplaceAll:
        m_engine->btnReplaceAllImageTapped();
        break;
    case Answer::KeepAll:
        m_engine->btnKeepAllImageTapped();
        break;
    }
}

} // namespace vantrel
