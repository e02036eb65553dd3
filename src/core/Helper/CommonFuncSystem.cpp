// Image and system chores of CommonFunc.
#include "core/Helper/CommonFunc.h"

#include <cstdio>

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QEventLoop>
#include <QImageReader>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QPainter>
#include <QTransform>

#include "core/WebServices.h"

namespace vantrel {

namespace {

constexpr int kInternetAttempts = 3;
constexpr int kInternetTimeoutMs = 5000;

// One synchronous GET on the calling thread (its own manager and event loop).
bool requestSucceeds(const QUrl& url)
{
    QNetworkAccessManager manager;
    QNetworkRequest request(url);
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    request.setTransferTimeout(kInternetTimeoutMs);
    QNetworkReply* reply = manager.get(request);
    QEventLoop loop;
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    if (!reply->isFinished())
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    const bool ok = reply->error() == QNetworkReply::NoError;
    reply->deleteLater();
    return ok;
}

} // namespace

QImage CommonFunc::getImageForFilePath(const QString& path)
{
    QImageReader reader(path);
    reader.setAutoTransform(true);
    return reader.read();
}

QImage CommonFunc::bwRotateImage90DegreesClockwise(bool clockwise, const QImage& image)
{
    if (image.isNull())
        return {};
    QImage rotated(image.height(), image.width(),
        image.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
    rotated.fill(Qt::transparent);
    QPainter painter(&rotated);
    // The flag asks for +90 degrees in y-up drawing space, a quarter turn counter-clockwise as
    // seen (despite the name); screen space has y down, so that is -90 here.
    painter.translate(rotated.width() / 2.0, rotated.height() / 2.0);
    painter.rotate(clockwise ? -90 : 90);
    painter.translate(-image.width() / 2.0, -image.height() / 2.0);
    painter.drawImage(QPointF(0, 0), image);
    painter.end();
    return rotated;
}

bool CommonFunc::checkAppOpen(const QString& bundleIdentifier)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (bundleIdentifier.isEmpty() || !bus.isConnected() || !bus.interface())
        return false;
    const QString wanted = bundleIdentifier.toUpper();
    const QStringList names = bus.interface()->registeredServiceNames().value();
    for (const QString& name : names) {
        if (name.toUpper() == wanted)
            return true;
    }
    return false;
}

bool CommonFunc::isInternetConnected()
{
    const QUrl url = WebServices::baseUrl(WebServices::Service::Feedback);
    if (!url.isValid()) {
        WebServices::logDisabled(WebServices::Service::Feedback, QStringLiteral("Internet check"));
        return false;
    }
    for (int attempt = 1; attempt <= kInternetAttempts; ++attempt) {
        if (requestSucceeds(url)) {
            std::fprintf(stderr, "Submitting Feedback: Connected to Internet!\n");
            return true;
        }
        std::fprintf(stderr, "Submitting Feedback: Attempting to connect with internet: Retry(%d)\n", attempt);
    }
    return false;
}

} // namespace vantrel
