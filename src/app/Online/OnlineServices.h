#pragma once

#include <functional>
#include <memory>

#include <QObject>
#include <QString>
#include <QStringList>
#include <QUrl>

class QNetworkAccessManager;

namespace vantrel {

struct FeedbackValues;
struct Notification;
class Reachability;
class ReachabilitySource;
class RecommendedApps;
class Tracker;

/// The application's online side: reachability, the one-time install registration, the
/// cross-promotion reports and links, and the feedback upload. One shared instance for the
/// application (shared()); tests make their own with injected timeouts, opener and sources.
///
/// Every request is asynchronous on the main thread. A service whose base URL is not
/// configured sends nothing: the operation logs one line.
class OnlineServices : public QObject {
    Q_OBJECT
public:
    using UrlOpener = std::function<bool(const QUrl&)>;

    explicit OnlineServices(QObject* parent = nullptr);
    ~OnlineServices() override;

    /// The application's instance, created on first use and owned by the application object.
    static OnlineServices* shared();

    QNetworkAccessManager& network() { return *m_network; }
    void setTransferTimeout(int ms);
    int transferTimeout() const { return m_timeoutMs; }
    /// Opens store links; the desktop's browser unless replaced.
    void setUrlOpener(UrlOpener opener) { m_opener = std::move(opener); }

    // Start-up.
    /// Watches the internet's reachability (the system's, or `source`) and keeps the shared
    /// flags (isInternetAvailable, ...) up to date, starting at once.
    void registerReachability(std::unique_ptr<ReachabilitySource> source = {});
    void reachabilityChanged(const Notification& notification);
    void updateInterfaceWithReachability(Reachability* reachability);
    /// Creates the tracker and, on the installation's first run only, sends the install
    /// registration; "trackedForAppStore" is written whether or not it arrives.
    void registerFroTracking();
    /// Fetches the recommended applications from the content service.
    void loadRecommendedApps();

    Tracker* tracker();
    Reachability* internetReachability() const { return m_internetReachability.get(); }
    RecommendedApps& recommendedApps() { return *m_recommendedApps; }

    // Cross-promotion.
    /// The report {"from", "to", "mac", "btn", "fromid", "toid"} to the tracker's "/CrossTracking".
    void fireKorvBraskHit(
        const QString& event, const QString& product, const QString& toProductId, const QString& fromProductId);
    QString getURLForTATTracking();
    void openURLAsync(const QString& url, const QString& json);
    /// Menu item 1 or 2: reports the click on that recommended application and opens its store
    /// link; other tags, or no such row, do nothing.
    void btnKorvingAppcenterTapped(int tag);
    /// The titles of the menu items for the recommended applications, in tag order.
    QStringList appcenterMenuTitles() const;
    void openStoreLink(const QString& url);

    // Feedback.
    /// Called once with the upload's outcome: true only when the service accepted the feedback.
    using FeedbackDone = std::function<void(bool submitted)>;
    /// POSTs the envelope to the feedback service. Only an HTTP 2xx reply that is no SOAP fault
    /// counts as submitted; anything else, an unconfigured service included, is logged. `done`
    /// hears the outcome first, so a form waiting on it can close before
    /// "notificationSubmitFeedback" (posted on success) asks for the confirmation alert.
    void uploadFeedback(const FeedbackValues& values, const QString& fileName, FeedbackDone done = {});
    static bool isSoapFault(const QByteArray& body);

signals:
    void crossPromotionReportFinished();
    void feedbackFinished(bool submitted);

private:
    std::unique_ptr<QNetworkAccessManager> m_network;
    std::unique_ptr<Reachability> m_internetReachability;
    RecommendedApps* m_recommendedApps;
    Tracker* m_tracker = nullptr;
    UrlOpener m_opener;
    int m_timeoutMs;
};

} // namespace vantrel
