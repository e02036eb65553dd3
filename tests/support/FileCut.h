#pragma once

#include <atomic>
#include <thread>

#include <QString>

namespace vantrel::test {

/// True when the process has a mapping of the file at `path` now.
bool isMapped(const QString& path);

/// Cuts the file at `path` to a third of its length from a thread of its own, as another program
/// truncating a photo would: at the moment the process has held a mapping of it for a few
/// milliseconds (a loader reading it through that mapping), else `delayMs` after it is made.
/// Records whether the file was ever mapped; joins its thread when destroyed.
class FileCut {
public:
    FileCut(const QString& path, int delayMs);
    ~FileCut();
    FileCut(const FileCut&) = delete;
    FileCut& operator=(const FileCut&) = delete;

    bool sawMapping() const { return m_sawMapping; }

private:
    QString m_path;
    std::atomic<bool> m_stop { false };
    std::atomic<bool> m_sawMapping { false };
    std::thread m_thread;
};

} // namespace vantrel::test
