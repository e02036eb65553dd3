#include "app/Online/OnlineRequest.h"

#include <QNetworkAccessManager>
#include <QNetworkRequest>

namespace vantrel {

namespace {

QNetworkRequest makeRequest(const QUrl& url, int timeoutMs)
{
    QNetworkRequest request(url);
    request.setTransferTimeout(timeoutMs > 0 ? timeoutMs : OnlineRequest::kDefaultTimeoutMs);
    // The services answer plainly; a redirect elsewhere is not followed.
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);
    return request;
}

} // namespace

void OnlineRequest::post(QNetworkAccessManager& manager, const QUrl& url, const QByteArray& body,
    const Headers& headers, int timeoutMs, Done done)
{
    QNetworkRequest request = makeRequest(url, timeoutMs);
    for (const auto& [name, value] : headers)
        request.setRawHeader(name, value);
    watch(manager.post(request, body), std::move(done));
}

void OnlineRequest::get(QNetworkAccessManager& manager, const QUrl& url, int timeoutMs, Done done)
{
    watch(manager.get(makeRequest(url, timeoutMs)), std::move(done));
}

OnlineRequest::Headers OnlineRequest::jsonHeaders(const QByteArray& body)
{
    return {
        { "Accept", "application/json" },
        { "Content-Type", "application/json" },
        { "Content-Length", QByteArray::number(body.size()) },
    };
}

void OnlineRequest::watch(QNetworkReply* reply, Done done)
{
    QObject::connect(reply, &QNetworkReply::finished, reply, [reply, done = std::move(done)] {
        OnlineReply result;
        result.error = reply->error();
        result.errorString = reply->errorString();
        result.httpStatus = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        if (reply->isOpen())
            result.body = reply->readAll();
        reply->deleteLater();
        if (done)
            done(result);
    });
}

} // namespace vantrel
