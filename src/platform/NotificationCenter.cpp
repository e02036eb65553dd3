#include "platform/NotificationCenter.h"

#include <algorithm>

#include "platform/MainThread.h"

namespace vantrel {

NotificationCenter& NotificationCenter::defaultCenter()
{
    static NotificationCenter center;
    return center;
}

void NotificationCenter::addObserver(QObject* context, const QString& name, Handler handler)
{
    Q_ASSERT(isMainThread());
    Q_ASSERT(context);
    const bool firstForContext = std::none_of(m_entries.begin(), m_entries.end(),
        [context](const Entry& e) { return e.context == context; });
    m_entries.push_back({m_nextId++, context, name, std::move(handler)});
    if (firstForContext)
        QObject::connect(context, &QObject::destroyed, context, [this, context] { removeObserver(context); });
}

void NotificationCenter::removeObserver(QObject* context)
{
    Q_ASSERT(isMainThread());
    std::erase_if(m_entries, [context](const Entry& e) { return e.context.isNull() || e.context == context; });
}

void NotificationCenter::removeObserver(QObject* context, const QString& name)
{
    Q_ASSERT(isMainThread());
    std::erase_if(m_entries, [&](const Entry& e) { return e.context == context && e.name == name; });
}

void NotificationCenter::post(const QString& name, const QVariantMap& userInfo, const QVariant& object)
{
    Q_ASSERT(isMainThread());
    const Notification note{name, object, userInfo};
    // Handlers may add or remove observers while we deliver: walk a snapshot of the matching
    // ids and look each one up again before calling it.
    std::vector<quint64> ids;
    for (const Entry& e : m_entries)
        if (e.name == name)
            ids.push_back(e.id);
    for (quint64 id : ids) {
        auto it = std::find_if(m_entries.begin(), m_entries.end(), [id](const Entry& e) { return e.id == id; });
        if (it == m_entries.end() || it->context.isNull())
            continue;
        Handler handler = it->handler;
        handler(note);
    }
}

int NotificationCenter::observerCount(const QString& name) const
{
    return static_cast<int>(std::count_if(m_entries.begin(), m_entries.end(),
        [&](const Entry& e) { return e.name == name && !e.context.isNull(); }));
}

} // namespace vantrel
