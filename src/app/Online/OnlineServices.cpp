#include "app/Online/OnlineServices.h"

#include <cstdio>

#include <QCoreApplication>
#include <QDesktopServices>
#include <QNetworkAccessManager>
#include <QPointer>
#include <QXmlStreamReader>

#include "app/Online/FeedbackDocument.h"
#include "app/Online/OnlineRequest.h"
#include "app/Online/Reachability.h"
#include "app/Online/RecommendedApps.h"
#include "app/Online/Tracker.h"
#include "core/AppDelegate.h"
#include "core/Catalogue.h"
#include "core/Helper/Utils.h"
#include "core/WebServices.h"
#include "platform/Defaults.h"
#include "platform/NotificationCenter.h"

namespace vantrel {

OnlineServices::OnlineServices(QObject* parent)
    : QObject(parent)
    , m_network(std::make_unique<QNetworkAccessManager>())
    , m_recommendedApps(new RecommendedApps(this))
    , m_opener([](const QUrl& url) { return QDesktopServices::openUrl(url); })
    , m_timeoutMs(OnlineRequest::kDefaultTimeoutMs)
{
}

OnlineServices::~OnlineServices()
{
    NotificationCenter::defaultCenter().removeObserver(this);
}

OnlineServices* OnlineServices::shared()
{
    static QPointer<OnlineServices> instance;
    if (!instance)
        instance = new OnlineServices(QCoreApplication::instance());
    return instance;
}

void OnlineServices::setTransferTimeout(int ms)
{
    m_timeoutMs = ms;
    if (m_tracker)
        m_tracker->setTransferTimeout(ms);
}

void OnlineServices::registerReachability(std::unique_ptr<ReachabilitySource> source)
{
    NotificationCenter& center = NotificationCenter::defaultCenter();
    center.removeObserver(this, QLatin1String(kNetworkReachabilityChangedNotification));
    center.addObserver(this, QLatin1String(kNetworkReachabilityChangedNotification),
        [this](const Notification& n) { reachabilityChanged(n); });
    m_internetReachability = Reachability::reachabilityForInternetConnection(std::move(source));
    AppDelegate::shareDelegate()->internetReachability = m_internetReachability.get();
    m_internetReachability->startNotifier();
    updateInterfaceWithReachability(m_internetReachability.get());
}

void OnlineServices::reachabilityChanged(const Notification& notification)
{
    auto* reachability = qobject_cast<Reachability*>(notification.object.value<QObject*>());
    if (reachability)
        updateInterfaceWithReachability(reachability);
}

void OnlineServices::updateInterfaceWithReachability(Reachability* reachability)
{
    if (!reachability)
        return;
    const qint32 status = reachability->currentReachabilityStatus();
    AppDelegate* delegate = AppDelegate::shareDelegate();
    delegate->networkStatus = status;
    // Where the system cannot tell, the internet is not claimed to be away: a request goes out
    // and reports its own result.
    delegate->isInternetAvailable = status != Reachability::kNotReachable || !reachability->isStatusKnown();
    delegate->isInternetAvailableUsingDataProvider = status == Reachability::kReachableViaWWAN;
    delegate->isInternetAvailableUsingWiFi = status == Reachability::kReachableViaWiFi;
    delegate->connectionRequired = reachability->connectionRequired();
    std::fprintf(stderr, "Internet Available : %s\n", delegate->isInternetAvailable ? "YES" : "NO");
}

Tracker* OnlineServices::tracker()
{
    if (!m_tracker) {
        m_tracker = new Tracker(QLatin1String(Tracker::kAppCode), m_network.get(), this);
        m_tracker->setTransferTimeout(m_timeoutMs);
        AppDelegate::shareDelegate()->tracker = m_tracker;
    }
    return m_tracker;
}

void OnlineServices::registerFroTracking()
{
    Defaults& defaults = Defaults::standard();
    const bool tracked = defaults.contains(QLatin1String(kDefaultsTrackedForAppStore));
    Tracker* t = tracker();
    if (tracked)
        return;
    t->fireOrmelHitForTrackSource(Tracker::kAppCatalogueId);
    // Once asked, never again: the mark stays even when the report does not arrive.
    defaults.setObject(QLatin1String(kDefaultsTrackedForAppStore), QStringLiteral("TRACKING CALLED"), false);
}

void OnlineServices::loadRecommendedApps()
{
    m_recommendedApps->fetch(*m_network, m_timeoutMs);
}

void OnlineServices::fireKorvBraskHit(
    const QString& event, const QString& product, const QString& toProductId, const QString& fromProductId)
{
    QVariantMap dict;
    dict.insert(QStringLiteral("from"), QLatin1String(Tracker::kAppCode));
    dict.insert(QStringLiteral("to"), product);
    dict.insert(QStringLiteral("mac"), tracker()->macSerialNumber());
    dict.insert(QStringLiteral("btn"), event);
    dict.insert(QStringLiteral("fromid"), fromProductId);
    dict.insert(QStringLiteral("toid"), toProductId);
    openURLAsync(getURLForTATTracking(), Utils::getJSONFromDict(dict));
}

QString OnlineServices::getURLForTATTracking()
{
    return tracker()->getURLForTATTracking();
}

void OnlineServices::openURLAsync(const QString& url, const QString& json)
{
    if (url.isEmpty()) {
        WebServices::logDisabled(WebServices::Service::Tracker, QStringLiteral("Cross-promotion report"));
        return;
    }
    const QByteArray body = json.toUtf8();
    OnlineRequest::post(*m_network, QUrl(url), body, OnlineRequest::jsonHeaders(body), m_timeoutMs,
        [self = QPointer<OnlineServices>(this)](const OnlineReply& reply) {
            if (!self)
                return;
            if (reply.error != QNetworkReply::NoError)
                std::fprintf(stderr, "Cross-promotion report failed: %s\n", qPrintable(reply.errorString));
            emit self->crossPromotionReportFinished();
        });
}

void OnlineServices::btnKorvingAppcenterTapped(int tag)
{
    const QList<RecommendedApp>& rows = m_recommendedApps->rows();
    if (tag < 1 || tag > rows.size())
        return;
    const RecommendedApp row = rows.at(tag - 1);
    fireKorvBraskHit(QStringLiteral("exit_nag"), row.trackName, row.appId, QString::number(Tracker::kAppCatalogueId));
    openStoreLink(row.storeUrl);
}

QStringList OnlineServices::appcenterMenuTitles() const
{
    QStringList titles;
    for (const RecommendedApp& row : m_recommendedApps->rows())
        titles.append(row.name);
    return titles;
}

void OnlineServices::openStoreLink(const QString& url)
{
    const QUrl link(url);
    if (!link.isValid() || (link.scheme() != QLatin1String("http") && link.scheme() != QLatin1String("https")))
        return;
    if (m_opener)
        m_opener(link);
}

bool OnlineServices::isSoapFault(const QByteArray& body)
{
    QXmlStreamReader reader(body);
    while (!reader.atEnd()) {
        if (reader.readNext() == QXmlStreamReader::StartElement && reader.name() == QLatin1String("Fault")
            && reader.namespaceUri() == QLatin1String("http://schemas.xmlsoap.org/soap/envelope/"))
            return true;
    }
    return false;
}

void OnlineServices::uploadFeedback(const FeedbackValues& values, const QString& fileName, FeedbackDone done)
{
    const QUrl url = WebServices::endpoint(WebServices::Service::Feedback, QLatin1String(WebServices::kFeedbackPath));
    if (!url.isValid()) {
        WebServices::logDisabled(WebServices::Service::Feedback, QStringLiteral("Feedback upload"));
        if (done)
            done(false);
        emit feedbackFinished(false);
        return;
    }
    const QByteArray body = FeedbackDocument::envelope(values, fileName).toUtf8();
    const OnlineRequest::Headers headers {
        { "Content-Type", "text/xml; charset=utf-8" },
        { "SOAPAction", FeedbackDocument::soapAction() },
        { "Content-Length", QByteArray::number(body.size()) },
    };
    OnlineRequest::post(*m_network, url, body, headers, m_timeoutMs,
        [self = QPointer<OnlineServices>(this), done = std::move(done)](const OnlineReply& reply) {
            if (reply.error != QNetworkReply::NoError && reply.httpStatus == 0) {
                std::fprintf(stderr, "connection: didFailWithError: %s\n", qPrintable(reply.errorString));
            } else {
                std::fprintf(stderr, "connection: didReceiveResponse:\n");
                std::fprintf(stderr, "connectionDidFinishLoading:\n");
            }
            const bool submitted = reply.isHttpSuccess() && !isSoapFault(reply.body);
            if (!submitted && reply.httpStatus != 0)
                std::fprintf(stderr, "Feedback not accepted: HTTP %d\n", reply.httpStatus);
            if (done)
                done(submitted);
            if (submitted)
                NotificationCenter::defaultCenter().post(QLatin1String(kNotificationSubmitFeedback));
            if (self)
                emit self->feedbackFinished(submitted);
        });
}

} // namespace vantrel
