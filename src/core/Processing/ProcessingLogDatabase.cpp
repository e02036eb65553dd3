#include "core/Processing/ProcessingLogDatabase.h"

#include "core/DbManager/DBManager.h"

namespace vantrel {

namespace {

DbRow toRow(const QVariantMap& map)
{
    DbRow row;
    for (auto it = map.cbegin(); it != map.cend(); ++it)
        row.insert(it.key(), it.value().toString());
    return row;
}

DbRows toRows(const QList<QVariantMap>& maps)
{
    DbRows rows;
    rows.reserve(maps.size());
    for (const QVariantMap& map : maps)
        rows.append(toRow(map));
    return rows;
}

} // namespace

ProcessingLogDatabase::ProcessingLogDatabase(std::shared_ptr<DBManager> dbManager)
    : m_dbManager(std::move(dbManager))
{
}

bool ProcessingLogDatabase::isTableExistsInDB(const QString& tableName)
{
    return m_dbManager && m_dbManager->isTableExistsInDB(tableName);
}

void ProcessingLogDatabase::createTableWithColumns(const QString& tableName, const QList<QVariantMap>& columns)
{
    if (m_dbManager)
        m_dbManager->createTableWithColumns(tableName, toRows(columns));
}

bool ProcessingLogDatabase::InsertDetailInLogSummaryTable(const QVariantMap& summary)
{
    return m_dbManager && m_dbManager->InsertDetailInLogSummaryTable(toRow(summary));
}

bool ProcessingLogDatabase::InsertDetailInLogDetailsTable(const QList<QVariantMap>& rows)
{
    return m_dbManager && m_dbManager->InsertDetailInLogDetailsTable(toRows(rows));
}

} // namespace vantrel
