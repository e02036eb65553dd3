#pragma once

#include <functional>
#include <vector>

#include <QObject>
#include <QPointer>
#include <QString>
#include <QVariant>
#include <QVariantMap>

namespace vantrel {

/// One delivered notification: its name, the optional object and the user-info dictionary.
struct Notification {
    QString name;
    QVariant object;
    QVariantMap userInfo;
};

/// The process's default notification centre. Observers are keyed by a context object and go
/// away with it. Delivery is synchronous, in the order the observers were added. Posting happens
/// on the main thread only (a worker posts through runOnMainThreadSync); this is asserted.
class NotificationCenter {
public:
    using Handler = std::function<void(const Notification&)>;

    static NotificationCenter& defaultCenter();

    void addObserver(QObject* context, const QString& name, Handler handler);
    void removeObserver(QObject* context);
    void removeObserver(QObject* context, const QString& name);

    void post(const QString& name, const QVariantMap& userInfo = {}, const QVariant& object = {});

    int observerCount(const QString& name) const;

private:
    struct Entry {
        quint64 id;
        QPointer<QObject> context;
        QString name;
        Handler handler;
    };
    std::vector<Entry> m_entries;
    quint64 m_nextId = 1;
};

} // namespace vantrel
