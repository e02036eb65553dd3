#include "core/Processing/RunCommitGate.h"

#include <cerrno>
#include <utility>

#include <QScopeGuard>

namespace vantrel {

bool RunCommitGate::hold(const QString& temporary, std::function<void()> discard)
{
    {
        const std::lock_guard lock(m_mutex);
        if (!m_closed) {
            m_held.insert(temporary, std::move(discard));
            return true;
        }
    }
    discard();
    return false;
}

void RunCommitGate::release(const QString& temporary)
{
    const std::lock_guard lock(m_mutex);
    m_held.remove(temporary);
}

int RunCommitGate::pass(const QString& temporary, const QString& target, const std::function<int()>& commit)
{
    {
        const std::lock_guard lock(m_mutex);
        if (m_closed)
            return ECANCELED;
        ++m_inProgress;
    }
    // The commit may throw (a library's exception, caught by the writer): the pass ends all the
    // same, or the end of the run would wait for it for ever.
    int error = ECANCELED;
    const auto ended = qScopeGuard([&] {
        const std::lock_guard lock(m_mutex);
        --m_inProgress;
        if (error == 0) {
            m_held.remove(temporary);
            m_committed.insert(target);
        }
        m_changed.notify_all();
    });
    error = commit();
    return error;
}

QSet<QString> RunCommitGate::close()
{
    QHash<QString, std::function<void()>> held;
    QSet<QString> committed;
    {
        std::unique_lock lock(m_mutex);
        m_closed = true;
        m_changed.wait(lock, [this] { return m_inProgress == 0; });
        held.swap(m_held);
        committed = m_committed;
    }
    // A write still on its way may be writing into its temporary: it goes on into a file without a
    // name, and finds nothing to remove when it later removes its temporary by name.
    for (const std::function<void()>& discard : std::as_const(held))
        discard();
    return committed;
}

bool RunCommitGate::isClosed() const
{
    const std::lock_guard lock(m_mutex);
    return m_closed;
}

} // namespace vantrel
