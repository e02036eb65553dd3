#pragma once

#include <functional>

#include <QByteArray>
#include <QList>
#include <QNetworkReply>
#include <QPair>
#include <QString>
#include <QUrl>

class QNetworkAccessManager;

namespace vantrel {

/// What came back from one request: the transport error (NoError when a reply arrived), the HTTP
/// status (0 without a reply) and the body.
struct OnlineReply {
    QNetworkReply::NetworkError error = QNetworkReply::NoError;
    int httpStatus = 0;
    QByteArray body;
    QString errorString;

    bool isHttpSuccess() const { return error == QNetworkReply::NoError && httpStatus >= 200 && httpStatus < 300; }
};

/// One asynchronous HTTP request through a QNetworkAccessManager on the calling (main) thread,
/// with a transfer timeout. The callback runs once, on that thread, after the reply finished or
/// failed; the reply object is deleted afterwards.
class OnlineRequest {
public:
    using Headers = QList<QPair<QByteArray, QByteArray>>;
    using Done = std::function<void(const OnlineReply&)>;

    static constexpr int kDefaultTimeoutMs = 30000;

    static void post(QNetworkAccessManager& manager, const QUrl& url, const QByteArray& body, const Headers& headers,
        int timeoutMs, Done done);
    static void get(QNetworkAccessManager& manager, const QUrl& url, int timeoutMs, Done done);

    /// "Accept" and "Content-Type" "application/json" and the body length in decimal.
    static Headers jsonHeaders(const QByteArray& body);

private:
    static void watch(QNetworkReply* reply, Done done);
};

} // namespace vantrel
