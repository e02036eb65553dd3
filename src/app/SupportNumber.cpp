#include "app/SupportNumber.h"

#include <chrono>
#include <cstdio>
#include <exception>
#include <thread>

#include <QTcpSocket>
#include <QThreadPool>

#include "core/AppDelegate.h"
#include "core/Catalogue.h"
#include "core/WebServices.h"
#include "platform/Defaults.h"
#include "platform/MainThread.h"
#include "platform/NotificationCenter.h"

namespace vantrel {

QString SupportNumber::getDefaultPhoneNumber()
{
    const QString stored = Defaults::standard().stringForKey(kDefaultsPhoneNumber);
    return stored.isEmpty() ? QString::fromLatin1(kBuiltInNumber) : stored;
}

void SupportNumber::registerDefault()
{
    Defaults::standard().registerDefaults({ { kDefaultsPhoneNumber, QString::fromLatin1(kBuiltInNumber) } });
}

SupportNumber::IniSections SupportNumber::parseIni(const QString& text)
{
    IniSections sections;
    QString current;
    bool inSection = false;
    for (const QString& line : text.split('\n')) {
        const QStringList open = line.split('[');
        if (open.size() == 2) {
            const QStringList close = open.at(1).split(']');
            if (close.size() == 2) {
                current = close.at(0).trimmed();
                sections.insert(current, {});
                inSection = true;
                continue;
            }
        }
        if (!inSection)
            continue;
        const QStringList pair = line.split('=');
        if (pair.size() == 2)
            sections[current].insert(pair.at(0).trimmed(), pair.at(1).trimmed());
    }
    return sections;
}

QString SupportNumber::checkAndGetNewPhoneNumberForAppStoreApp(const IniSections& ini, const QString& currentNumber)
{
    const auto defaults = ini.constFind(QStringLiteral("default"));
    if (defaults != ini.constEnd() && defaults->contains(QLatin1String(kApplicationKey)))
        return defaults->value(QLatin1String(kApplicationKey));
    const auto phone = ini.constFind(QStringLiteral("phone"));
    if (phone != ini.constEnd())
        return phone->value(currentNumber);
    return {};
}

SupportNumber::IniSections SupportNumber::getDictParamsFromINIURL(
    const QUrl& url, bool isInternetAvailable, const Fetcher& fetch, const Sleeper& sleep)
{
    Q_ASSERT(!isMainThread());
    if (!isInternetAvailable || !url.isValid())
        return {};
    for (int attempt = 1; attempt <= kAttempts; ++attempt) {
        std::fprintf(stderr, "Attempt:%d\n", attempt);
        QString error;
        if (const std::optional<QString> text = fetch(url, &error))
            return parseIni(*text);
        std::fprintf(stderr, "No Contents Found, Attempt:%d %s\n", attempt, qPrintable(error));
        if (attempt < kAttempts)
            sleep(attempt < 3 ? 5 : 20);
    }
    std::fprintf(stderr, "No Contents Found After Retries\n");
    return {};
}

void SupportNumber::updatePhoneInfo()
{
    QThreadPool::globalInstance()->start([] {
        // Nothing may leave the pool thread: a failure of the pass only leaves the number as it was.
        try {
            updatePhoneNumbersFromWebINI([](const QUrl& url, QString* error) { return httpGet(url, error); },
                [](int seconds) { std::this_thread::sleep_for(std::chrono::seconds(seconds)); });
        } catch (const std::exception& e) {
            std::fprintf(stderr, "updatePhoneInfo: %s\n", e.what());
        } catch (...) {
            std::fprintf(stderr, "updatePhoneInfo: the reader failed\n");
        }
    });
}

void SupportNumber::updatePhoneNumbersFromWebINI(const Fetcher& fetch, const Sleeper& sleep)
{
    Q_ASSERT(!isMainThread());
    const bool online = AppDelegate::shareDelegate()->isInternetAvailable;
    QString number;
    if (online) {
        const QUrl url
            = WebServices::endpoint(WebServices::Service::Content, QLatin1String(WebServices::kPhoneNumberIniPath));
        if (!url.isValid()) {
            WebServices::logDisabled(WebServices::Service::Content, QStringLiteral("updatePhoneNumbersFromWebINI"));
            return;
        }
        number = checkAndGetNewPhoneNumberForAppStoreApp(
            getDictParamsFromINIURL(url, true, fetch, sleep), getDefaultPhoneNumber());
    }
    runOnMainThreadAsync([number] {
        Defaults::standard().setObject(kDefaultsPhoneNumber, number, false);
        updatePhoneInfoToLabels(number);
    });
}

void SupportNumber::updatePhoneInfoToLabels(const QString& number)
{
    AppDelegate::shareDelegate()->strPhoneNumber = number;
    NotificationCenter::defaultCenter().post(kUpdatePhoneNumber, {}, number);
}

std::optional<QString> SupportNumber::httpGet(const QUrl& url, QString* error, int timeoutMs)
{
    auto fail = [error](const QString& why) -> std::optional<QString> {
        if (error)
            *error = why;
        return std::nullopt;
    };
    if (url.scheme() != QLatin1String("http"))
        return fail(QStringLiteral("unsupported scheme"));
    QTcpSocket socket;
    socket.connectToHost(url.host(), quint16(url.port(80)));
    if (!socket.waitForConnected(timeoutMs))
        return fail(socket.errorString());
    const QByteArray path
        = url.path(QUrl::FullyEncoded).isEmpty() ? QByteArray("/") : url.path(QUrl::FullyEncoded).toUtf8();
    socket.write("GET " + path + " HTTP/1.0\r\nHost: " + url.host().toUtf8() + "\r\nConnection: close\r\n\r\n");
    if (!socket.waitForBytesWritten(timeoutMs))
        return fail(socket.errorString());
    QByteArray reply;
    while (socket.state() == QAbstractSocket::ConnectedState || socket.bytesAvailable() > 0) {
        if (socket.bytesAvailable() == 0 && !socket.waitForReadyRead(timeoutMs))
            break;
        reply += socket.readAll();
    }
    reply += socket.readAll();
    const int headerEnd = reply.indexOf("\r\n\r\n");
    if (headerEnd < 0)
        return fail(QStringLiteral("no reply"));
    const QList<QByteArray> status = reply.left(reply.indexOf("\r\n")).split(' ');
    if (status.size() < 2 || status.at(1) != "200")
        return fail(QStringLiteral("status %1").arg(QString::fromLatin1(reply.left(reply.indexOf("\r\n")))));
    return QString::fromUtf8(reply.mid(headerEnd + 4));
}

} // namespace vantrel
