#pragma once

#include <memory>

#include "core/Processing/RunInterfaces.h"

namespace vantrel {

class DBManager;

/// The run's log database over the application's DBManager (main thread only).
class ProcessingLogDatabase : public RunLogDatabase {
public:
    explicit ProcessingLogDatabase(std::shared_ptr<DBManager> dbManager);

    bool isTableExistsInDB(const QString& tableName) override;
    void createTableWithColumns(const QString& tableName, const QList<QVariantMap>& columns) override;
    bool InsertDetailInLogSummaryTable(const QVariantMap& summary) override;
    bool InsertDetailInLogDetailsTable(const QList<QVariantMap>& rows) override;

private:
    std::shared_ptr<DBManager> m_dbManager;
};

} // namespace vantrel
