#include "platform/Workspace.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDesktopServices>
#include <QFileInfo>
#include <QUrl>

namespace vantrel {

namespace {

constexpr char kService[] = "org.freedesktop.FileManager1";
constexpr char kObjectPath[] = "/org/freedesktop/FileManager1";

} // namespace

Workspace::Workspace()
    : Workspace(callFileManagerOnSessionBus, openWithDesktopServices)
{
}

Workspace::Workspace(FileManagerCall fileManager, UrlOpener opener)
    : m_fileManager(fileManager ? std::move(fileManager) : FileManagerCall(callFileManagerOnSessionBus))
    , m_opener(opener ? std::move(opener) : UrlOpener(openWithDesktopServices))
{
}

Workspace& Workspace::shared()
{
    static Workspace workspace;
    return workspace;
}

void Workspace::setShared(FileManagerCall fileManager, UrlOpener opener)
{
    shared() = Workspace(std::move(fileManager), std::move(opener));
}

bool Workspace::selectFile(const QString& path) const
{
    return showThroughFileManager(QStringLiteral("ShowItems"), path);
}

bool Workspace::showInfo(const QString& path) const
{
    return showThroughFileManager(QStringLiteral("ShowItemProperties"), path);
}

bool Workspace::openFile(const QString& path) const
{
    return !path.isEmpty() && m_opener(QUrl::fromLocalFile(path).toString());
}

bool Workspace::showThroughFileManager(const QString& method, const QString& path) const
{
    if (path.isEmpty())
        return false;
    if (m_fileManager(method, { QUrl::fromLocalFile(path).toString() }))
        return true;
    return m_opener(QUrl::fromLocalFile(QFileInfo(path).absolutePath()).toString());
}

bool Workspace::callFileManagerOnSessionBus(const QString& method, const QStringList& uris)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected() || !bus.interface())
        return false;
    // Only the bus daemon is asked (quickly); the file manager itself is called without waiting,
    // since it may take its time to start and open a window.
    QDBusConnectionInterface* daemon = bus.interface();
    const bool running = daemon->isServiceRegistered(QString::fromLatin1(kService)).value();
    if (!running && !daemon->activatableServiceNames().value().contains(QString::fromLatin1(kService)))
        return false;
    QDBusMessage call = QDBusMessage::createMethodCall(
        QString::fromLatin1(kService), QString::fromLatin1(kObjectPath), QString::fromLatin1(kService), method);
    call << uris << QString();
    return bus.send(call);
}

bool Workspace::openWithDesktopServices(const QString& url)
{
    return QDesktopServices::openUrl(QUrl(url));
}

} // namespace vantrel
