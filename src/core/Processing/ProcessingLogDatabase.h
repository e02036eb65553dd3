#pragma once

#include <chrono>
#include <memory>
#include <mutex>

#include "core/Processing/RunInterfaces.h"
#include "core/Processing/RunLogWriter.h"

namespace vantrel {

class DBManager;

/// The run's log database: the file of the application's DBManager, written by a RunLogWriter on
/// a background queue that all instances share (so this process writes its runs in the order they
/// ended), with the outcome handed back on the main thread. The rows of a run so far are written
/// at once on the caller's thread, under the identity that the run's end then writes it with: one
/// instance serves one engine, whose runs follow each other.
class ProcessingLogDatabase : public RunLogDatabase {
public:
    /// `budget`: how long one write may wait, all in all, for other connections that hold the file.
    explicit ProcessingLogDatabase(
        std::shared_ptr<DBManager> dbManager, std::chrono::milliseconds budget = RunLogWriter::kDefaultBudget);

    void writeRunLog(const QVariantMap& summary, const QList<QVariantMap>& details,
        std::function<void(const RunLogResult&)> done) override;
    void keepRunSoFar(const QVariantMap& summary, const QList<QVariantMap>& details) override;

private:
    QString databasePath() const;

    std::shared_ptr<DBManager> m_dbManager;
    std::chrono::milliseconds m_budget;
    std::mutex m_mutex;
    QString m_runSoFarId; // the identity of the run whose rows so far were written; empty: none
    QVariant m_endedStamp; // the stamp of the last run handed over whole: its rows so far are done
};

} // namespace vantrel
