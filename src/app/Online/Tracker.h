#pragma once

#include <QObject>
#include <QString>
#include <QVariantMap>

class QNetworkAccessManager;

namespace vantrel {

/// The tracking client: reports the installation once and carries the addresses of the tracking
/// service. Reports are small JSON objects POSTed asynchronously; the reply is read only for its
/// "tid" and never changes what the user sees. Without a configured tracking service
/// (VANTREL_TRACKER_URL) every report logs one line and sends nothing.
class Tracker : public QObject {
    Q_OBJECT
public:
    /// This application's code and its catalogue id at the tracking service.
    static constexpr char kAppCode[] = "kvx";
    static constexpr int kAppCatalogueId = 7311;
    static constexpr char kDummySerial[] = "DUMMYSERIAL";

    /// initWithApp: stores the code, the two addresses (empty while the service is not
    /// configured) and the machine's serial number ("DUMMYSERIAL" when it cannot be read).
    Tracker(const QString& appCode, QNetworkAccessManager* manager, QObject* parent = nullptr);

    QString baseTrackURL() const { return m_baseTrackURL; }
    QString appStoreTrackURL() const { return m_appStoreTrackURL; }
    QString macSerialNumber() const { return m_macSerialNumber; }
    void setMacSerialNumber(const QString& serial) { m_macSerialNumber = serial; }
    QString frmApp() const { return m_frmApp; }
    /// The tracking id of the last reply that held one; 0 before.
    quint64 tid() const { return m_tid; }

    void setTransferTimeout(int ms) { m_timeoutMs = ms; }

    /// The install registration: {"pid": source, "bins": "1", "mac": serial} to appStoreTrackURL.
    void fireOrmelHitForTrackSource(int source);
    /// A cross-promotion report to "brk": {"from", "to", "mac", "btn": event} to the "/CrossTracking"
    /// address. No caller in the application today (the delegate sends its own reports).
    void fireKorvBraskHit(const QString& event);
    /// A sign-up report: {"TrackingID", "ProductId" (decimal text), "FBID", "FBToken", "fromFB": "1",
    /// "Email"} to baseTrackURL followed by "/usersignup". No caller in the application today.
    void loginWithFacebook(const QString& email, quint64 trackingID, int productId, const QString& fbid,
        const QString& fbToken);
    /// baseTrackURL followed by "/CrossTracking"; empty while the service is not configured.
    QString getURLForTATTracking() const;
    /// A flat dictionary as JSON text, values escaped.
    static QString getJSONFromDict(const QVariantMap& dict);
    /// POSTs the JSON text; a reply that is a JSON object holding "tid" sets tid(), anything
    /// else (no reply, an error, broken JSON) leaves it as it was.
    void openURLAsync(const QString& url, const QString& json);

signals:
    /// A report's reply has been read (or the request failed).
    void reportFinished();

private:
    QNetworkAccessManager* m_manager;
    QString m_baseTrackURL;
    QString m_macSerialNumber;
    QString m_frmApp;
    QString m_appStoreTrackURL;
    quint64 m_tid = 0;
    int m_timeoutMs = 0;
};

} // namespace vantrel
