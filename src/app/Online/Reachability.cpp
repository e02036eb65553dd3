#include "app/Online/Reachability.h"

#include <cstdio>

#include <QNetworkInformation>
#include <QUrl>

#include "core/Catalogue.h"
#include "platform/NotificationCenter.h"

namespace vantrel {

using namespace ReachabilityFlag;

NetworkInformationSource::NetworkInformationSource(QObject* parent)
    : NetworkInformationSource(systemBackends(), parent)
{
}

NetworkInformationSource::NetworkInformationSource(const QStringList& backends, QObject* parent)
    : ReachabilitySource(parent)
{
    const auto usable = [&backends](const QNetworkInformation* info) {
        return info && info->supports(QNetworkInformation::Feature::Reachability)
            && backends.contains(info->backendName(), Qt::CaseInsensitive);
    };
    // One backend serves the whole process: a loaded one is used when it is among ours.
    for (const QString& name : backends) {
        if (usable(QNetworkInformation::instance()))
            break;
        if (!QNetworkInformation::instance())
            QNetworkInformation::loadBackendByName(name);
    }
    QNetworkInformation* info = QNetworkInformation::instance();
    if (!usable(info)) {
        std::fprintf(stderr, "Reachability: no network-information backend reports reachability (tried: %s)\n",
            qPrintable(backends.join(QStringLiteral(", "))));
        return;
    }
    m_backend = info->backendName();
    connect(info, &QNetworkInformation::reachabilityChanged, this, &ReachabilitySource::changed);
    connect(info, &QNetworkInformation::transportMediumChanged, this, &ReachabilitySource::changed);
    connect(info, &QNetworkInformation::isBehindCaptivePortalChanged, this, &ReachabilitySource::changed);
}

QStringList NetworkInformationSource::systemBackends()
{
    QStringList names = QNetworkInformation::availableBackends();
    const qsizetype manager = names.indexOf(QStringLiteral("networkmanager"), 0);
    if (manager > 0)
        names.move(manager, 0);
    return names;
}

std::optional<quint32> NetworkInformationSource::flags() const
{
    const QNetworkInformation* info = QNetworkInformation::instance();
    if (!info || m_backend.isEmpty())
        return std::nullopt;
    switch (info->reachability()) {
    case QNetworkInformation::Reachability::Unknown:
        return std::nullopt;
    case QNetworkInformation::Reachability::Disconnected:
    case QNetworkInformation::Reachability::Local:
    case QNetworkInformation::Reachability::Site:
        return 0u;
    case QNetworkInformation::Reachability::Online:
        break;
    }
    quint32 flags = kReachable;
    if (info->transportMedium() == QNetworkInformation::TransportMedium::Cellular)
        flags |= kIsDirect;
    if (info->isBehindCaptivePortal())
        flags |= kConnectionRequired | kInterventionRequired;
    return flags;
}

Reachability::Reachability(std::unique_ptr<ReachabilitySource> source, bool localWiFi)
    : m_source(std::move(source))
    , m_localWiFiRef(localWiFi)
{
}

std::unique_ptr<Reachability> Reachability::reachabilityWithHostName(
    const QString& hostName, std::unique_ptr<ReachabilitySource> source)
{
    QUrl probe;
    probe.setHost(hostName.trimmed(), QUrl::StrictMode);
    if (hostName.trimmed().isEmpty() || !probe.isValid() || probe.host().isEmpty())
        return nullptr;
    return reachabilityForInternetConnection(std::move(source));
}

std::unique_ptr<Reachability> Reachability::reachabilityWithAddress(
    const QHostAddress& address, std::unique_ptr<ReachabilitySource> source)
{
    const auto family = address.protocol();
    if (address.isNull() || (family != QAbstractSocket::IPv4Protocol && family != QAbstractSocket::IPv6Protocol))
        return nullptr;
    return reachabilityForInternetConnection(std::move(source));
}

std::unique_ptr<Reachability> Reachability::reachabilityForInternetConnection(
    std::unique_ptr<ReachabilitySource> source)
{
    if (!source)
        source = std::make_unique<NetworkInformationSource>();
    return std::unique_ptr<Reachability>(new Reachability(std::move(source), false));
}

std::unique_ptr<Reachability> Reachability::reachabilityForLocalWiFi(std::unique_ptr<ReachabilitySource> source)
{
    if (!source)
        source = std::make_unique<NetworkInformationSource>();
    return std::unique_ptr<Reachability>(new Reachability(std::move(source), true));
}

bool Reachability::startNotifier()
{
    if (!m_source)
        return false;
    if (!m_notifying) {
        connect(m_source.get(), &ReachabilitySource::changed, this, [this] {
            NotificationCenter::defaultCenter().post(
                QLatin1String(kNetworkReachabilityChangedNotification), {}, QVariant::fromValue<QObject*>(this));
        });
        m_notifying = true;
    }
    return true;
}

void Reachability::stopNotifier()
{
    if (m_source)
        disconnect(m_source.get(), &ReachabilitySource::changed, this, nullptr);
    m_notifying = false;
}

qint32 Reachability::currentReachabilityStatus() const
{
    const quint32 flags = m_source ? m_source->flags().value_or(0u) : 0u;
    return m_localWiFiRef ? localWiFiStatusForFlags(flags) : networkStatusForFlags(flags);
}

bool Reachability::isStatusKnown() const
{
    return m_source && m_source->flags().has_value();
}

bool Reachability::connectionRequired() const
{
    const std::optional<quint32> flags = m_source ? m_source->flags() : std::nullopt;
    return flags && (*flags & kConnectionRequired);
}

qint32 Reachability::networkStatusForFlags(quint32 flags)
{
    std::fprintf(stderr, "%s", qPrintable(flagStatusLine(flags, "networkStatusForFlags")));
    if (!(flags & kReachable))
        return kNotReachable;
    if (flags & kIsDirect)
        return kReachableViaWWAN;
    if (!(flags & (kConnectionOnTraffic | kConnectionOnDemand)) || (flags & kInterventionRequired))
        return (flags & kConnectionRequired) ? kNotReachable : kReachableViaWiFi;
    return kReachableViaWiFi;
}

qint32 Reachability::localWiFiStatusForFlags(quint32 flags)
{
    std::fprintf(stderr, "%s", qPrintable(flagStatusLine(flags, "localWiFiStatusForFlags")));
    return ((flags & kReachable) && (flags & kIsDirect)) ? kReachableViaWiFi : kNotReachable;
}

QString Reachability::flagStatusLine(quint32 flags, const char* label)
{
    const auto mark = [flags](quint32 flag, char c) { return QChar::fromLatin1((flags & flag) ? c : '-'); };
    return QString("Reachability Flag Status: ") + mark(kIsDirect, 'W') + mark(kReachable, 'R') + QLatin1Char(' ')
        + mark(kTransientConnection, 't') + mark(kConnectionRequired, 'c') + mark(kConnectionOnTraffic, 'C')
        + mark(kInterventionRequired, 'i') + mark(kConnectionOnDemand, 'D') + mark(kIsLocalAddress, 'l')
        + QLatin1Char(' ') + QLatin1String(label) + QLatin1Char('\n');
}

} // namespace vantrel
