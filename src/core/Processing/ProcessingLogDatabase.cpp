#include "core/Processing/ProcessingLogDatabase.h"

#include "core/DbManager/DBManager.h"
#include "core/Processing/ProcessingSerialExecutor.h"
#include "core/Processing/RunLogWriter.h"
#include "platform/MainThread.h"
#include "platform/Paths.h"

namespace vantrel {

namespace {

DbRow toRow(const QVariantMap& map)
{
    DbRow row;
    for (auto it = map.cbegin(); it != map.cend(); ++it)
        row.insert(it.key(), it.value().toString());
    return row;
}

RunExecutor& logQueue()
{
    static ProcessingSerialExecutor queue;
    return queue;
}

} // namespace

ProcessingLogDatabase::ProcessingLogDatabase(std::shared_ptr<DBManager> dbManager, std::chrono::milliseconds budget)
    : m_dbManager(std::move(dbManager))
    , m_budget(budget)
{
}

void ProcessingLogDatabase::writeRunLog(
    const QVariantMap& summary, const QList<QVariantMap>& details, std::function<void(const RunLogResult&)> done)
{
    QString path = m_dbManager ? m_dbManager->excludedatabasePath() : QString();
    if (path.isEmpty() && !Paths::applicationSupportFolder().isEmpty())
        path = Paths::applicationSupportFolder() + u'/' + DBManager::kDatabaseFileName;
    RunLogWriter::Run run { {}, toRow(summary), {} }; // the writer gives it its identity
    run.details.reserve(details.size());
    for (const QVariantMap& row : details)
        run.details.append(toRow(row));
    logQueue().submit([path, run = std::move(run), budget = m_budget, done = std::move(done)] {
        RunLogResult result;
        if (path.isEmpty()) {
            result.saved = false;
            result.failure = QStringLiteral("no folder for the application's data");
        } else {
            result = RunLogWriter(path, budget).write(run);
        }
        runOnMainThreadAsync([done, result] { done(result); });
    });
}

} // namespace vantrel
