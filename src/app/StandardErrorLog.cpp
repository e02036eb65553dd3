#include "app/StandardErrorLog.h"

#include <cstdio>
#include <mutex>

#include <fcntl.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSet>
#include <QStringList>

#include <glib.h>

#include "platform/OwnFile.h"

namespace vantrel::StandardErrorLog {

bool redirectTo(const QString& path)
{
    if (path.isEmpty() || !QDir().mkpath(QFileInfo(path).absolutePath()))
        return false;
    // A FIFO at the log's path would block start-up for ever, and a link (symbolic or hard) would
    // have the log written into another file: only a regular file with no other name is appended
    // to, and anything else is set aside.
    const QString aside = OwnFile::setAsideIfNotAFile(path);
    const int fd = OwnFile::openRegular(path, O_WRONLY | O_APPEND | O_CREAT, 0644);
    if (fd < 0)
        return false;
    std::fflush(stderr);
    const bool ok = ::dup2(fd, STDERR_FILENO) >= 0;
    ::close(fd);
    if (ok && !aside.isEmpty()) // said once more, where the log is read
        std::fprintf(
            stderr, "%s was not a regular file of its own; set aside as %s\n", qPrintable(path), qPrintable(aside));
    return ok;
}

QString datePrefix(const QDateTime& when)
{
    return when.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz"));
}

void writeStartLine(const QString& applicationName, const QString& version)
{
    const QString line = QStringLiteral("%1 %2[%3] started, version %4\n")
                             .arg(datePrefix(QDateTime::currentDateTime()), applicationName)
                             .arg(QCoreApplication::applicationPid())
                             .arg(version);
    std::fputs(line.toUtf8().constData(), stderr);
    std::fflush(stderr);
}

namespace {

const char* levelName(QtMsgType type)
{
    switch (type) {
    case QtDebugMsg:
        return "debug";
    case QtInfoMsg:
        return "info";
    case QtWarningMsg:
        return "warning";
    case QtCriticalMsg:
        return "critical";
    case QtFatalMsg:
        return "fatal";
    }
    return "message";
}

/// One dated entry; the message's empty lines (and a message with nothing to say) are left out.
void writeDated(const char* level, const QString& message)
{
    QStringList lines = message.split(QLatin1Char('\n'));
    lines.removeIf([](const QString& line) { return line.trimmed().isEmpty(); });
    if (lines.isEmpty())
        return;
    const QString entry
        = QStringLiteral("%1 %2: %3\n")
              .arg(datePrefix(QDateTime::currentDateTime()), QLatin1String(level), lines.join(QLatin1Char('\n')));
    std::fputs(entry.toUtf8().constData(), stderr);
    std::fflush(stderr);
}

void handleMessage(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    writeDated(levelName(type), message);
}

// The library messages said in this run, by domain and text.
std::mutex g_saidMutex;
QSet<QString> g_said;

const char* glibLevelName(GLogLevelFlags level)
{
    if (level & G_LOG_LEVEL_ERROR)
        return "fatal";
    if (level & G_LOG_LEVEL_CRITICAL)
        return "critical";
    if (level & G_LOG_LEVEL_WARNING)
        return "warning";
    return "message";
}

void handleLibraryMessage(const gchar* domain, GLogLevelFlags level, const gchar* message, gpointer)
{
    // As GLib's own handler: debugging and information messages are not for the log file.
    if (level & (G_LOG_LEVEL_DEBUG | G_LOG_LEVEL_INFO))
        return;
    const QString text = QString::fromUtf8(message ? message : "").trimmed();
    const QString said = domain ? QString::fromUtf8(domain) + QStringLiteral(": ") + text : text;
    {
        const std::lock_guard lock(g_saidMutex);
        if (g_said.contains(said))
            return;
        g_said.insert(said);
    }
    writeDated(glibLevelName(level), said);
}

} // namespace

void installMessageHandler()
{
    qInstallMessageHandler(handleMessage);
    g_log_set_default_handler(handleLibraryMessage, nullptr);
}

void beginRun()
{
    const std::lock_guard lock(g_saidMutex);
    g_said.clear();
}

} // namespace vantrel::StandardErrorLog
