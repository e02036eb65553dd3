#include "app/Online/RecommendedApps.h"

#include <cstdio>

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QPointer>
#include <QStandardPaths>

#include "app/Online/OnlineRequest.h"
#include "core/WebServices.h"

namespace vantrel {

PromotionPlan PromotionPlan::forInstalled(const QList<bool>& installed)
{
    PromotionPlan plan;
    for (int i = 0; i < installed.size() && plan.slotRows.size() < RecommendedApps::kMaxRows; ++i) {
        if (!installed.at(i))
            plan.slotRows.append(i);
    }
    const int shown = static_cast<int>(plan.slotRows.size());
    plan.headingVisible = shown > 0;
    plan.firstPanelVisible = shown > 0;
    plan.secondPanelVisible = shown == 2;
    plan.dividerVisible = shown == 2;
    plan.firstTitleCentred = shown == 1;
    return plan;
}

int PromotionPlan::firstPanelX(int width, int secondPanelX, int firstPanelWidth) const
{
    if (slotRows.size() == 2)
        return width - secondPanelX - firstPanelWidth + 30;
    return (width - firstPanelWidth) / 2;
}

RecommendedApps::RecommendedApps(QObject* parent)
    : QObject(parent)
{
}

void RecommendedApps::setRows(QList<RecommendedApp> rows)
{
    if (rows.size() > kMaxRows)
        rows.resize(kMaxRows);
    m_rows = std::move(rows);
    emit rowsChanged();
}

QList<RecommendedApp> RecommendedApps::parseRows(const QByteArray& json, const QUrl& base)
{
    QList<RecommendedApp> rows;
    const QJsonDocument document = QJsonDocument::fromJson(json);
    if (!document.isArray())
        return rows;
    for (const QJsonValue& value : document.array()) {
        if (!value.isObject())
            continue;
        const QJsonObject object = value.toObject();
        RecommendedApp row;
        row.name = object.value(QStringLiteral("name")).toString().trimmed();
        row.description = object.value(QStringLiteral("description")).toString();
        for (const QJsonValue& feature : object.value(QStringLiteral("features")).toArray())
            row.features.append(feature.toString());
        while (row.features.size() < 3)
            row.features.append(QString());
        row.features.resize(3);
        const QString logo = object.value(QStringLiteral("logo")).toString();
        if (!logo.isEmpty())
            row.logoUrl = base.resolved(QUrl(logo));
        row.storeUrl = object.value(QStringLiteral("store")).toString();
        row.trackName = object.value(QStringLiteral("track")).toString();
        const QJsonValue id = object.value(QStringLiteral("id"));
        row.appId = id.isDouble() ? QString::number(id.toInteger()) : id.toString();
        // A name with a path separator could point the installed check anywhere.
        const QUrl store(row.storeUrl);
        if (row.name.isEmpty() || row.name.contains(QLatin1Char('/')) || !store.isValid()
            || (store.scheme() != QLatin1String("http") && store.scheme() != QLatin1String("https")))
            continue;
        rows.append(row);
        if (rows.size() == kMaxRows)
            break;
    }
    return rows;
}

void RecommendedApps::fetch(QNetworkAccessManager& manager, int timeoutMs)
{
    const QUrl url = WebServices::endpoint(WebServices::Service::Content, QLatin1String(kContentPath));
    if (!url.isValid()) {
        WebServices::logDisabled(WebServices::Service::Content, QStringLiteral("Recommended applications"));
        return;
    }
    OnlineRequest::get(manager, url, timeoutMs,
        [self = QPointer<RecommendedApps>(this), manager = &manager, url, timeoutMs](const OnlineReply& reply) {
            if (!self)
                return;
            if (!reply.isHttpSuccess()) {
                std::fprintf(stderr, "Recommended applications: no table (%s)\n", qPrintable(reply.errorString));
                return;
            }
            self->setRows(parseRows(reply.body, url));
            for (int i = 0; i < self->m_rows.size(); ++i)
                self->fetchLogo(*manager, i, timeoutMs);
        });
}

void RecommendedApps::fetchLogo(QNetworkAccessManager& manager, int index, int timeoutMs)
{
    const QUrl url = m_rows.at(index).logoUrl;
    if (!url.isValid() || (url.scheme() != QLatin1String("http") && url.scheme() != QLatin1String("https")))
        return;
    const QString name = m_rows.at(index).name;
    OnlineRequest::get(
        manager, url, timeoutMs, [self = QPointer<RecommendedApps>(this), index, name](const OnlineReply& reply) {
            if (!self || !reply.isHttpSuccess() || index >= self->m_rows.size() || self->m_rows.at(index).name != name)
                return;
            QImage logo;
            if (logo.loadFromData(reply.body)) {
                self->m_rows[index].logo = logo;
                emit self->rowsChanged();
            }
        });
}

QStringList RecommendedApps::applicationsFolders()
{
    return QStandardPaths::standardLocations(QStandardPaths::ApplicationsLocation);
}

bool RecommendedApps::isApplicationInstalledWithName(const QString& name, const QStringList& folders)
{
    if (name.isEmpty() || name.contains(QLatin1Char('/')))
        return false;
    for (const QString& folder : folders) {
        if (QFileInfo(QDir(folder).filePath(name + QStringLiteral(".desktop"))).isFile())
            return true;
    }
    return false;
}

bool RecommendedApps::isInstalled(const RecommendedApp& row) const
{
    return isApplicationInstalledWithName(row.name, m_folders.isEmpty() ? applicationsFolders() : m_folders);
}

} // namespace vantrel
