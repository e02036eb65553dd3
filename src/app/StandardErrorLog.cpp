#include "app/StandardErrorLog.h"

#include <cstdio>

#include <fcntl.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace vantrel::StandardErrorLog {

bool redirectTo(const QString& path)
{
    if (path.isEmpty() || !QDir().mkpath(QFileInfo(path).absolutePath()))
        return false;
    const QByteArray native = QFile::encodeName(path);
    const int fd = ::open(native.constData(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0)
        return false;
    std::fflush(stderr);
    const bool ok = ::dup2(fd, STDERR_FILENO) >= 0;
    ::close(fd);
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

void handleMessage(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    const QString line = QStringLiteral("%1 %2: %3\n")
                             .arg(datePrefix(QDateTime::currentDateTime()), QLatin1String(levelName(type)), message);
    std::fputs(line.toUtf8().constData(), stderr);
    std::fflush(stderr);
}

} // namespace

void installMessageHandler()
{
    qInstallMessageHandler(handleMessage);
}

} // namespace vantrel::StandardErrorLog
