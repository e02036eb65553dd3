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
    if (stamp.isEmpty() || !m_db)
        return false;
    DbRows summaries = m_db->getAllLogSummaries();
    for (int i = 0; i < summaries.size(); ++i) {
        if (summaries[i].value(QStringLiteral("timeStamp")) == stamp) {
            m_summaries = std::move(summaries);
            setLogDetailsForLogDict(i);
            return true;
        }
    }
    return false; // the previous run stays on show
}

void LogDetailModel::setLogDetailsForLogDict(int index)
{
    if (index < 0 || index >= m_summaries.size())
        return;
    m_timer.stop();
    m_selected = index;
    m_shown = m_summaries[index];
    m_stamp = m_shown.value(QStringLiteral("timeStamp"));
    m_lastId = 0;
    m_rows.clear();
    m_more = true;
    emit runChanged();
    loadNextPage(kFirstPageRows);
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
    const int read = m_db->readLogDetailsWhereTimestamp(
        m_stamp, m_lastId, limit, [&](qint64 id, const DBManager::LogDetailValues& values) {
            m_lastId = id;
            page.append(values);
        });
    m_rows.appendRows(page);
    m_more = read == limit;
    if (!m_more)
        m_timer.stop();
    emit rowsLoaded(m_rows.rowCount(), !m_more);
    return m_more;
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
