#pragma once

#include <memory>
#include <optional>

#include <QHostAddress>
#include <QObject>
#include <QString>
#include <QStringList>

namespace vantrel {

/// The reachability flags the status rules read (the values of the network-reachability
/// interface these rules were written for).
namespace ReachabilityFlag {
inline constexpr quint32 kTransientConnection = 1;
inline constexpr quint32 kReachable = 2;
inline constexpr quint32 kConnectionRequired = 4;
inline constexpr quint32 kConnectionOnTraffic = 8;
inline constexpr quint32 kInterventionRequired = 16;
inline constexpr quint32 kConnectionOnDemand = 32;
inline constexpr quint32 kIsLocalAddress = 65536;
inline constexpr quint32 kIsDirect = 131072;
} // namespace ReachabilityFlag

/// Where the flags come from. The running system's source is NetworkInformationSource; tests
/// give their own. changed() is emitted on the main thread.
class ReachabilitySource : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    /// Nothing when the flags cannot be read.
    virtual std::optional<quint32> flags() const = 0;

signals:
    void changed();
};

/// The system's network state through QNetworkInformation: online is "reachable", online over a
/// cellular link also "direct", a captive portal "connection and intervention required";
/// disconnected, local-only and site-only are not reachable.
///
/// The backends are tried in order until one loads that reports reachability (NetworkManager
/// runs on few machines; GLib's monitor works without it). Without such a backend, or while it
/// does not know, the flags cannot be read.
class NetworkInformationSource : public ReachabilitySource {
    Q_OBJECT
public:
    /// Tries every backend this Qt offers, NetworkManager first.
    explicit NetworkInformationSource(QObject* parent = nullptr);
    /// Tries only these backends, in this order (none: the flags are never known).
    explicit NetworkInformationSource(const QStringList& backends, QObject* parent = nullptr);

    static QStringList systemBackends();
    /// The backend in use; empty when none could be loaded.
    QString backendName() const { return m_backend; }
    std::optional<quint32> flags() const override;

private:
    QString m_backend;
};

/// Watches whether the internet can be reached and posts "kNetworkReachabilityChangedNotification"
/// (object: the monitor) on every change while its notifier runs.
class Reachability : public QObject {
    Q_OBJECT
public:
    /// The status values: not reachable, reachable without a direct link (counted as WiFi),
    /// reachable through a direct link (counted as the data provider).
    static constexpr qint32 kNotReachable = 0;
    static constexpr qint32 kReachableViaWiFi = 1;
    static constexpr qint32 kReachableViaWWAN = 2;

    /// A monitor for one host, by name. This system has no per-host reachability service: the
    /// monitor watches the system's network state (the source) under the network rule. Nothing
    /// when the name is not a valid host name. No caller in the application today.
    static std::unique_ptr<Reachability> reachabilityWithHostName(
        const QString& hostName, std::unique_ptr<ReachabilitySource> source = {});
    /// A monitor for one address, with the same limits as reachabilityWithHostName. Nothing when
    /// the address is not an IPv4 or IPv6 address. No caller in the application today.
    static std::unique_ptr<Reachability> reachabilityWithAddress(
        const QHostAddress& address, std::unique_ptr<ReachabilitySource> source = {});
    /// The monitor for the internet as a whole; without a source, the system's.
    static std::unique_ptr<Reachability> reachabilityForInternetConnection(
        std::unique_ptr<ReachabilitySource> source = {});
    /// The monitor for the local link-local network (status by the local rule).
    static std::unique_ptr<Reachability> reachabilityForLocalWiFi(std::unique_ptr<ReachabilitySource> source = {});

    bool startNotifier();
    void stopNotifier();
    bool isNotifying() const { return m_notifying; }

    /// The status under the monitor's rule; 0 when the flags cannot be read.
    qint32 currentReachabilityStatus() const;
    /// False while the source cannot tell (no backend, or one that does not know yet): a status
    /// of 0 then means "unknown", not "offline".
    bool isStatusKnown() const;
    bool connectionRequired() const;
    bool localWiFiRef() const { return m_localWiFiRef; }
    ReachabilitySource* source() const { return m_source.get(); }

    /// The status rules over the flags, and the line each writes to the log.
    static qint32 networkStatusForFlags(quint32 flags);
    static qint32 localWiFiStatusForFlags(quint32 flags);
    static QString flagStatusLine(quint32 flags, const char* label);

private:
    Reachability(std::unique_ptr<ReachabilitySource> source, bool localWiFi);

    std::unique_ptr<ReachabilitySource> m_source;
    bool m_localWiFiRef = false;
    bool m_notifying = false;
};

} // namespace vantrel
