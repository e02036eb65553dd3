#include "core/Processing/ProcessingLogDatabase.h"

#include <algorithm>
#include <utility>

#include <QUuid>

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

/// How long the rows of a run so far wait, at most, for another connection that holds the
/// database: the run's next write waits meanwhile.
constexpr std::chrono::milliseconds kSoFarBudget { 2'000 };

RunLogWriter::Run runOf(const QVariantMap& summary, const QList<QVariantMap>& details)
{
    RunLogWriter::Run run { {}, toRow(summary), {} };
    run.details.reserve(details.size());
    for (const QVariantMap& row : details)
        run.details.append(toRow(row));
    return run;
}

} // namespace

ProcessingLogDatabase::ProcessingLogDatabase(std::shared_ptr<DBManager> dbManager, std::chrono::milliseconds budget)
    : m_dbManager(std::move(dbManager))
    , m_budget(budget)
{
}

QString ProcessingLogDatabase::databasePath() const
{
    QString path = m_dbManager ? m_dbManager->excludedatabasePath() : QString();
    if (path.isEmpty() && !Paths::applicationSupportFolder().isEmpty())
        path = Paths::applicationSupportFolder() + u'/' + DBManager::kDatabaseFileName;
    return path;
}

void ProcessingLogDatabase::keepRunSoFar(const QVariantMap& summary, const QList<QVariantMap>& details)
{
    const QString path = databasePath();
    if (path.isEmpty())
        return;
    RunLogWriter::Run run = runOf(summary, details);
    {
        std::lock_guard lock(m_mutex);
        // A worker that was still on its way when the run ended must not start a second, partial
        // copy of a run already handed over whole.
        if (m_endedStamp.isValid() && summary.value(QStringLiteral("timeStamp")) == m_endedStamp)
            return;
        if (m_runSoFarId.isEmpty())
            m_runSoFarId = QUuid::createUuid().toString(QUuid::WithoutBraces);
        run.id = m_runSoFarId;
    }
    RunLogWriter(path, std::min(m_budget, kSoFarBudget)).keepRunSoFar(run);
}

void ProcessingLogDatabase::writeRunLog(
    const QVariantMap& summary, const QList<QVariantMap>& details, std::function<void(const RunLogResult&)> done)
{
    const QString path = databasePath();
    RunLogWriter::Run run = runOf(summary, details);
    {
        // The run's rows so far give way to these; without any, the writer gives it its identity.
        std::lock_guard lock(m_mutex);
        run.id = std::exchange(m_runSoFarId, QString());
        m_endedStamp = summary.value(QStringLiteral("timeStamp"));
    }
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
