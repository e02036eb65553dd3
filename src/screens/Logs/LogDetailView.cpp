#include "screens/Logs/LogDetailView.h"

#include <algorithm>

#include <QAbstractButton>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QResizeEvent>
#include <QScrollBar>
#include <QStyle>
#include <QTableView>
#include <QVBoxLayout>

#include "components/AppLook.h"
#include "screens/Panes/PaneLook.h"

namespace vantrel {

namespace {

const std::pair<const char*, const char*> kSummaryCaptions[] = {
    { "imagesSelected", "Images selected" },
    { "imagesConverted", "Images converted" },
    { "conversionFailed", "Conversion failed" },
    { "oldSize", "Old size" },
    { "newSize", "New size" },
    { "saveSpace", "Space saved" },
    { "timeElapsed", "Time elapsed" },
    { "totalOldSize", "Total old size" },
};

} // namespace

LogDetailView::LogDetailView(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("LogDetailView"));
    setAccessibleName(QStringLiteral("Log details"));
    m_processTitle = PaneLook::makeTitle(QStringLiteral("Process Log"), this);

    auto* summary = new QGridLayout;
    summary->setHorizontalSpacing(18);
    summary->setVerticalSpacing(4);
    int i = 0;
    for (const auto& [key, caption] : kSummaryCaptions) {
        auto* name = new QLabel(QString::fromLatin1(caption), this);
        PaneLook::setLabelLit(name, false);
        auto* value = new QLabel(this);
        value->setAccessibleName(QString::fromLatin1(caption));
        PaneLook::setLabelLit(value, true);
        m_summaryLabels.insert(QString::fromLatin1(key), value);
        summary->addWidget(name, i / 4 * 2, i % 4);
        summary->addWidget(value, i / 4 * 2 + 1, i % 4);
        ++i;
    }

    m_tblLogs = new QTableView(this);
    m_tblLogs->setObjectName(QStringLiteral("tblLogs"));
    m_tblLogs->setAccessibleName(QStringLiteral("Photos of the run"));
    m_tblLogs->setModel(m_model.tableModel());
    m_tblLogs->setSelectionMode(QAbstractItemView::NoSelection);
    m_tblLogs->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_tblLogs->setTabKeyNavigation(false); // Tab leaves the table for the log buttons; arrows move in it
    m_tblLogs->setShowGrid(false);
    m_tblLogs->setWordWrap(false);
    m_tblLogs->setTextElideMode(Qt::ElideMiddle);
    m_tblLogs->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    m_tblLogs->verticalHeader()->hide();
    // Fixed 30-pixel rows: the table never measures rows, so a million of them cost nothing.
    m_tblLogs->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_tblLogs->verticalHeader()->setDefaultSectionSize(30);
    m_tblLogs->horizontalHeader()->setHighlightSections(false);
    m_tblLogs->horizontalHeader()->setStretchLastSection(true);
    const QColor panel = AppLook::panelColor();
    m_tblLogs->setStyleSheet(
        QStringLiteral("QTableView { background: rgb(%1, %2, %3); color: white; border: none; }"
                       "QHeaderView::section { background: rgb(54, 63, 78); color: rgb(195, 204, 233); border: none; "
                       "border-right: 1px solid rgb(36, 41, 50); padding: 4px 6px; }")
            .arg(panel.red())
            .arg(panel.green())
            .arg(panel.blue()));

    // Said in place of the table while another copy of the application holds the log.
    m_lblBusy = new QLabel(LogDetailModel::busyText(), this);
    m_lblBusy->setAccessibleName(QStringLiteral("Log busy"));
    m_lblBusy->setWordWrap(true);
    m_lblBusy->setAlignment(Qt::AlignCenter);
    PaneLook::setLabelLit(m_lblBusy, true);
    m_lblBusy->hide();

    m_btnPrevLog = PaneLook::makeButton(QStringLiteral("◀ Previous"), QStringLiteral("Previous log"), this);
    m_btnNextLog = PaneLook::makeButton(QStringLiteral("Next ▶"), QStringLiteral("Next log"), this);
    m_lblLoading = new QLabel(this);
    m_lblLoading->setAccessibleName(QStringLiteral("Rows loaded"));
    PaneLook::setLabelLit(m_lblLoading, false);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_btnPrevLog);
    buttons->addStretch(1);
    buttons->addWidget(m_lblLoading);
    buttons->addStretch(1);
    buttons->addWidget(m_btnNextLog);

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(16, 12, 16, 12);
    column->setSpacing(10);
    column->addWidget(m_processTitle);
    column->addLayout(summary);
    column->addWidget(m_tblLogs, 1);
    column->addWidget(m_lblBusy, 1);
    column->addLayout(buttons);

    connect(m_btnPrevLog, &QAbstractButton::clicked, this, &LogDetailView::btnPrevLogTapped);
    connect(m_btnNextLog, &QAbstractButton::clicked, this, &LogDetailView::btnNextLogTapped);
    connect(&m_model, &LogDetailModel::runChanged, this, &LogDetailView::showRun);
    connect(&m_model, &LogDetailModel::rowsLoaded, this,
        [this](int rows, bool finished) { m_lblLoading->setText(LogDetailModel::rowCountText(rows, finished)); });
    m_btnPrevLog->setEnabled(false);
    m_btnNextLog->setEnabled(false);
    sizeColumns();
}

void LogDetailView::initWithLogTimeStamp(const QString& stamp)
{
    m_model.initWithLogTimeStamp(stamp);
}

void LogDetailView::initWithLogRun(const QString& runId, const QString& stamp)
{
    m_model.initWithLogRun(runId, stamp);
}

void LogDetailView::showRun()
{
    m_btnNextLog->setEnabled(m_model.isNextEnabled());
    m_btnPrevLog->setEnabled(m_model.isPrevEnabled());
    for (auto it = m_summaryLabels.cbegin(); it != m_summaryLabels.cend(); ++it) {
        // Every text is shown as stored, an inner "-" included: no text of an earlier run stays.
        it.value()->setText(m_model.summaryText(it.key()));
    }
    const bool busy = m_model.isBusy();
    m_lblBusy->setVisible(busy);
    m_tblLogs->setVisible(!busy);
    if (busy)
        m_lblLoading->clear();
    m_tblLogs->scrollToTop();
}

void LogDetailView::sizeColumns()
{
    // The number and size columns keep their widths; input, output and information share what
    // is left (the saved column stretches), so a narrow window shows every column, texts elided.
    constexpr int kNumber = 50, kSize = 80, kRatio = 70, kSaved = 110, kMinText = 110, kCellPadding = 8;
    // Measured from the view's own width: the table's viewport is resized only after this view.
    const QMargins margins = layout() ? layout()->contentsMargins() : QMargins();
    const int scrollBar = std::max(m_tblLogs->verticalScrollBar()->sizeHint().width(),
        style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, m_tblLogs));
    const int tableWidth = width() - margins.left() - margins.right() - m_tblLogs->frameWidth() * 2 - scrollBar;
    const int available = tableWidth - kNumber - 2 * kSize - kRatio - kSaved;
    const int text = std::max(kMinText, available / 3);
    // The information column shows the message most rows carry whole; the paths (elided in the
    // middle) give up the room for it.
    const int message
        = m_tblLogs->fontMetrics().horizontalAdvance(LogDetailModel::getMessageForstatus(1)) + 2 * kCellPadding;
    const int information = std::max(text - text / 5, message);
    const int path = std::max(kMinText, (3 * text - information) / 2);
    const int widths[] = { kNumber, path, path, information, kSize, kSize, kRatio };
    for (int c = 0; c < int(std::size(widths)); ++c)
        m_tblLogs->setColumnWidth(c, widths[c]);
}

void LogDetailView::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    sizeColumns();
}

} // namespace vantrel
