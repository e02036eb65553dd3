#include "app/Online/Tracker.h"

#include <cstdio>

#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <QNetworkAccessManager>
#include <QPointer>

#include "app/Online/OnlineRequest.h"
#include "core/Helper/SystemInfo.h"
#include "core/Helper/Utils.h"
#include "core/WebServices.h"

namespace vantrel {

Tracker::Tracker(const QString& appCode, QNetworkAccessManager* manager, QObject* parent)
    : QObject(parent)
    , m_manager(manager)
    , m_frmApp(appCode)
{
    using WS = WebServices;
    m_baseTrackURL = WS::endpoint(WS::Service::Tracker, WS::kCrossTrackingBasePath).toString();
    m_appStoreTrackURL = WS::endpoint(WS::Service::Tracker, WS::kRegisterInstallsPath).toString();
    m_macSerialNumber = SystemInfo::computerSerialNumber();
    if (m_macSerialNumber.isEmpty())
        m_macSerialNumber = kDummySerial;
}

void Tracker::fireOrmelHitForTrackSource(int source)
{
    std::fprintf(stderr, "fireOrmelHitForTrackSource\n");
    QVariantMap dict;
    dict.insert(QStringLiteral("pid"), QString::number(source));
    dict.insert(QStringLiteral("bins"), QStringLiteral("1"));
    dict.insert(QStringLiteral("mac"), m_macSerialNumber);
    openURLAsync(m_appStoreTrackURL, getJSONFromDict(dict));
}

void Tracker::fireKorvBraskHit(const QString& event)
{
    QVariantMap dict;
    dict.insert(QStringLiteral("from"), m_frmApp);
    dict.insert(QStringLiteral("to"), QStringLiteral("brk"));
    dict.insert(QStringLiteral("mac"), m_macSerialNumber);
    dict.insert(QStringLiteral("btn"), event);
    openURLAsync(getURLForTATTracking(), getJSONFromDict(dict));
}

void Tracker::loginWithFacebook(
    const QString& email, quint64 trackingID, int productId, const QString& fbid, const QString& fbToken)
{
    QVariantMap dict;
    dict.insert(QStringLiteral("TrackingID"), QString::number(trackingID));
    dict.insert(QStringLiteral("ProductId"), QString::number(productId));
    dict.insert(QStringLiteral("FBID"), fbid);
    dict.insert(QStringLiteral("FBToken"), fbToken);
    dict.insert(QStringLiteral("fromFB"), QStringLiteral("1"));
    dict.insert(QStringLiteral("Email"), email);
    const QString url = m_baseTrackURL.isEmpty() ? QString() : m_baseTrackURL + QStringLiteral("/usersignup");
    openURLAsync(url, getJSONFromDict(dict));
}

QString Tracker::getURLForTATTracking() const
{
    if (m_baseTrackURL.isEmpty())
        return {};
    return m_baseTrackURL + QLatin1String(WebServices::kCrossTrackingSuffix);
}

QString Tracker::getJSONFromDict(const QVariantMap& dict)
{
    return Utils::getJSONFromDict(dict);
}

void Tracker::openURLAsync(const QString& url, const QString& json)
{
    if (url.isEmpty() || !m_manager) {
        WebServices::logDisabled(WebServices::Service::Tracker, QStringLiteral("Tracking report"));
        return;
    }
    std::fprintf(stderr, "url = %s\n", qPrintable(url));
    const QByteArray body = json.toUtf8();
    QJsonParseError parseError;
    QJsonDocument::fromJson(body, &parseError);
    if (parseError.error != QJsonParseError::NoError) {
        std::fprintf(stderr, "JSON ERROR: %s\n", qPrintable(parseError.errorString()));
        std::fprintf(stderr, "ERROR UserInfo: offset %d\n", parseError.offset);
    }
    OnlineRequest::post(*m_manager, QUrl(url), body, OnlineRequest::jsonHeaders(body), m_timeoutMs,
        [self = QPointer<Tracker>(this)](const OnlineReply& reply) {
            if (!self)
                return;
            if (!reply.isHttpSuccess()) {
                std::fprintf(stderr, "Tracking report failed: %s\n", qPrintable(reply.errorString));
            } else if (!reply.body.isEmpty()) {
                std::fprintf(stderr, "Response: %s\n", reply.body.left(4096).constData());
                const QJsonDocument document = QJsonDocument::fromJson(reply.body);
                if (document.isObject()) {
                    const QJsonValue tid = document.object().value(QStringLiteral("tid"));
                    // Kept only when it is a whole number that fits an unsigned 64-bit value.
                    bool ok = false;
                    quint64 value = 0;
                    if (tid.isString())
                        value = tid.toString().toULongLong(&ok);
                    else if (tid.isDouble() && tid.toDouble() >= 0 && tid.toDouble() < 1.8e19
                        && tid.toDouble() == static_cast<double>(static_cast<quint64>(tid.toDouble()))) {
                        value = static_cast<quint64>(tid.toDouble());
                        ok = true;
                    }
                    if (ok)
                        self->m_tid = value;
                }
            }
            emit self->reportFinished();
        });
}

} // namespace vantrel
