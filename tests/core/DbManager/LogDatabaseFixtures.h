#pragma once

#include <atomic>
#include <chrono>
#include <future>
#include <optional>
#include <thread>

#include <QMap>
#include <QString>
#include <QStringList>

#include "core/DbManager/RunLogPendingFile.h"

namespace vantrel::test {

/// A run stamped `stamp` with `photos` detail rows, every value telling its column.
RunLogRun runOf(const QString& stamp, int photos);

/// What a log database holds: the run stamps of the summary rows in order, and the number of
/// detail rows per stamp.
struct StoredLog {
    QStringList summaries;
    QMap<QString, int> details;
};
StoredLog storedIn(const QString& path);

/// The stored statements of the file's own tables, in the order they were made.
QStringList tablesOf(const QString& path);

/// Runs `sql` on the file, creating it when missing.
bool execOn(const QString& path, const QString& sql);
/// The text of the first column of every row `sql` yields on the file, in order.
QStringList columnValues(const QString& path, const QString& sql);

/// The text of a file, or nothing when there is none.
std::optional<QByteArray> contentsOf(const QString& path);

/// A second connection, on a thread of its own, that holds the file with BEGIN EXCLUSIVE from
/// construction until release() (or until `holdFor` has passed, when given).
class LockHolder {
public:
    explicit LockHolder(const QString& path, std::optional<std::chrono::milliseconds> holdFor = std::nullopt);
    ~LockHolder();
    LockHolder(const LockHolder&) = delete;
    LockHolder& operator=(const LockHolder&) = delete;
    bool locked() const { return m_locked; }
    void release();

private:
    std::promise<void> m_release;
    std::atomic<bool> m_released = false;
    std::thread m_thread;
    bool m_locked = false;
};

} // namespace vantrel::test
