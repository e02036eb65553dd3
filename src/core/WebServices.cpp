#include "core/WebServices.h"

#include <cstdio>

namespace vantrel {

QString WebServices::environmentVariable(Service service)
{
    switch (service) {
    case Service::Tracker:
        return QStringLiteral("VANTREL_TRACKER_URL");
    case Service::Feedback:
        return QStringLiteral("VANTREL_FEEDBACK_URL");
    case Service::Content:
        return QStringLiteral("VANTREL_CONTENT_URL");
    }
    return {};
}

QUrl WebServices::baseUrl(Service service)
{
    const QString text = qEnvironmentVariable(environmentVariable(service).toUtf8().constData()).trimmed();
    if (text.isEmpty())
        return {};
    QUrl url(text, QUrl::StrictMode);
    if (!url.isValid() || (url.scheme() != "http" && url.scheme() != "https") || url.host().isEmpty())
        return {};
    return url;
}

bool WebServices::isEnabled(Service service)
{
    return baseUrl(service).isValid();
}

QUrl WebServices::endpoint(Service service, const QString& path)
{
    QUrl base = baseUrl(service);
    if (!base.isValid())
        return {};
    QString basePath = base.path();
    while (basePath.endsWith('/'))
        basePath.chop(1);
    base.setPath(basePath + path);
    return base;
}

void WebServices::logDisabled(Service service, const QString& operation)
{
    std::fprintf(stderr, "%s: disabled (%s is not set)\n", qPrintable(operation),
                 qPrintable(environmentVariable(service)));
}

} // namespace vantrel
