#include "core/Processing/RunCommitGate.h"

#include <cerrno>

namespace vantrel {

int RunCommitGate::pass(const QString& target, const std::function<int()>& commit)
{
    {
        const std::lock_guard lock(m_mutex);
        if (m_closed)
            return ECANCELED;
        ++m_inProgress;
    }
    const int error = commit();
    {
        const std::lock_guard lock(m_mutex);
        --m_inProgress;
        if (error == 0)
            m_committed.insert(target);
        m_changed.notify_all();
    }
    return error;
}

QSet<QString> RunCommitGate::close()
{
    std::unique_lock lock(m_mutex);
    m_closed = true;
    m_changed.wait(lock, [this] { return m_inProgress == 0; });
    return m_committed;
}

bool RunCommitGate::isClosed() const
{
    const std::lock_guard lock(m_mutex);
    return m_closed;
}

} // namespace vantrel
