#include "screens/Logs/LogDetailModel.h"

#include <QElapsedTimer>

#include "core/AppDelegate.h"

namespace vantrel {

const std::array<QString, 8>& LogDetailModel::summaryKeys()
{
    static const std::array<QString, 8> kKeys { QStringLiteral("imagesSelected"), QStringLiteral("imagesConverted"),
        QStringLiteral("conversionFailed"), QStringLiteral("oldSize"), QStringLiteral("newSize"),
        QStringLiteral("saveSpace"), QStringLiteral("timeElapsed"), QStringLiteral("totalOldSize") };
    return kKeys;
}

LogDetailModel::LogDetailModel(std::shared_ptr<DBManager> dbManager, QObject* parent)
    : QObject(parent)
    , m_db(dbManager ? std::move(dbManager) : AppDelegate::shareDelegate()->dbManager)
{
    m_timer.setInterval(0);
    connect(&m_timer, &QTimer::timeout, this, &LogDetailModel::loadSlice);
}

bool LogDetailModel::initWithLogTimeStamp(const QString& stamp)
{
    return initWithLogRun(QString(), stamp);
}

bool LogDetailModel::initWithLogRun(const QString& runId, const QString& stamp)
{
    if ((stamp.isEmpty() && runId.isEmpty()) || !m_db)
        return false;
    DbRows summaries;
    QList<qint64> summaryIds;
    qint64 runSummaryId = 0;
    if (m_db->readLogSummaries(summaries, &summaryIds) == DBManager::LogReadStatus::Busy
        || (!runId.isEmpty() && m_db->readSummaryIdOfRun(runId, runSummaryId) == DBManager::LogReadStatus::Busy)) {
        m_summaries.clear();
        m_summaryIds.clear();
        m_selected = -1;
        showBusy();
        return false;
    }
    if (m_busy) { // the log is free again, though this run may match nothing
        m_busy = false;
        emit runChanged();
    }
    // A run with an identity is found by it alone. Not recorded yet (its rows still wait for a
    // log that another copy held), it matches nothing: a run of the same stamp is another's.
    for (int i = 0; i < summaries.size(); ++i) {
        const bool found = !runId.isEmpty()
            ? runSummaryId > 0 && summaryIds.value(i) == runSummaryId
            : !stamp.isEmpty() && summaries[i].value(QStringLiteral("timeStamp")) == stamp;
        if (found) {
            m_summaries = std::move(summaries);
            m_summaryIds = std::move(summaryIds);
            m_selected = -1; // an index into the list read before means nothing now
            setLogDetailsForLogDict(i);
            return !m_busy;
        }
    }
    return false; // the previous run stays on show
}

void LogDetailModel::setLogDetailsForLogDict(int index)
{
    if (index < 0 || index >= m_summaries.size())
        return;
    m_timer.stop();
    const int previous = m_selected;
    m_selected = index;
    m_shown = m_summaries[index];
    m_stamp = m_shown.value(QStringLiteral("timeStamp"));
    m_summaryId = m_summaryIds.value(index);
    m_lastId = 0;
    m_rows.clear();
    m_more = true;
    m_busy = false;
    emit runChanged();
    loadNextPage(kFirstPageRows);
    if (m_busy) {
        // The step did not happen, so that the same step tries again.
        m_selected = previous;
        emit runChanged();
        return;
    }
    if (m_more)
        m_timer.start();
}

void LogDetailModel::btnNextLogTapped()
{
    if (m_selected + 1 < m_summaries.size())
        setLogDetailsForLogDict(m_selected + 1);
}

void LogDetailModel::btnPrevLogTapped()
{
    if (m_selected >= 1)
        setLogDetailsForLogDict(m_selected - 1);
}

bool LogDetailModel::loadNextPage(int limit)
{
    if (!m_more || !m_db)
        return false;
    QList<DBManager::LogDetailValues> page;
    page.reserve(limit);
    // Runs started in the same second share their stamp: the summary row's key finds this run's own.
    const DBManager::LogPage read = m_db->readLogDetailsOfRun(
        m_summaryId, m_stamp, m_lastId, limit, [&](qint64 id, const DBManager::LogDetailValues& values) {
            m_lastId = id;
            page.append(values);
        });
    if (read.status == DBManager::LogReadStatus::Busy) {
        showBusy(); // the runs stay known: stepping tries again
        return false;
    }
    m_rows.appendRows(page);
    m_more = read.status == DBManager::LogReadStatus::Read && read.rows == limit;
    if (!m_more)
        m_timer.stop();
    emit rowsLoaded(m_rows.rowCount(), !m_more);
    return m_more;
}

void LogDetailModel::showBusy()
{
    m_timer.stop();
    m_more = false;
    m_busy = true;
    m_shown.clear();
    m_stamp.clear();
    m_rows.clear();
    emit runChanged();
}

QString LogDetailModel::busyText()
{
    return QStringLiteral("The log is busy: another copy of Vantrel is writing to it. Try again in a moment.");
}

void LogDetailModel::loadSlice()
{
    QElapsedTimer slice;
    slice.start();
    while (loadNextPage() && slice.elapsed() < kSliceMilliseconds) { }
}

QString LogDetailModel::rowCountText(int rows, bool finished)
{
    const QString count = rows == 1 ? QStringLiteral("1 photo") : QStringLiteral("%1 photos").arg(rows);
    return finished ? count : QStringLiteral("Loading… ") + count;
}

QString LogDetailModel::getMessageForstatus(int status)
{
    switch (status) {
    case 0:
        return QStringLiteral("File not Processed.");
    case 1:
        return QStringLiteral("Processed successfully.");
    case 2:
        return QStringLiteral("File not available at source directory.");
    case 7:
        return QStringLiteral("Output image dimension is too long, please reset the setiings.");
    case 8:
        return QStringLiteral("File skipped.");
    case 12:
        return QStringLiteral("Destination folder doesn't exist.");
    case 13:
        return QStringLiteral("Invalid file name.");
    default:
        return QStringLiteral("-");
    }
}

} // namespace vantrel
