#include "core/Processing/RunText.h"

#include <cmath>

#include <QFileInfo>

#include "platform/DateFormat.h"

namespace vantrel::RunText {

QString bytes(double count)
{
    static const char* const kUnits[] = { "bytes", "KB", "MB", "GB", "TB", "PB", "EB" };
    if (!(count >= 1))
        return QStringLiteral("0 bytes");
    // Exact integer arithmetic: the binary-floating formula cuts 1,150 bytes to "1.14 KB".
    const auto whole = static_cast<quint64>(std::min(count, 1.8e19));
    quint64 divisor = 1;
    int unit = 0;
    while (whole / divisor >= 1000 && unit < 6) {
        divisor *= 1000;
        ++unit;
    }
    quint64 hundredths = whole / divisor * 100 + (whole % divisor) * 100 / divisor;
    if (hundredths > 99300 && unit < 6) {
        hundredths = 97;
        ++unit;
    }
    if (unit == 0)
        return QStringLiteral("%1 bytes").arg(hundredths / 100);
    return QStringLiteral("%1.%2 %3")
        .arg(hundredths / 100)
        .arg(hundredths % 100, 2, 10, QLatin1Char('0'))
        .arg(QLatin1String(kUnits[unit]));
}

QString duration(qint64 seconds)
{
    const qint64 hours = seconds / 3600;
    const qint64 minutes = (seconds / 60) % 60;
    const qint64 rest = seconds % 60;
    QString text;
    if (hours >= 1) {
        text += QStringLiteral("%1 hour%2").arg(hours).arg(hours == 1 ? "" : "s");
        text += QStringLiteral(" %1 minute%2").arg(minutes).arg(minutes == 1 ? "" : "s");
    } else if (minutes >= 1) {
        text += QStringLiteral(" %1 minute%2").arg(minutes).arg(minutes == 1 ? "" : "s");
    }
    if (hours >= 1 || minutes >= 1 || rest >= 1)
        text += QStringLiteral(" %1 second%2").arg(rest).arg(rest == 1 ? "" : "s");
    return text;
}

qint64 secondsBetween(const QDateTime& earlier, const QDateTime& later)
{
    return earlier.msecsTo(later) / 1000;
}

QString date(const QDateTime& when, const QString& pattern)
{
    return DateFormat::format(when, pattern);
}

QString collisionFreePath(const QString& path)
{
    const QFileInfo info(path);
    const QString folder = info.path();
    const QString base = info.completeBaseName().isEmpty() ? info.fileName() : info.completeBaseName();
    const QString ext = info.completeBaseName().isEmpty() ? QString() : info.suffix();
    QString candidate = path;
    for (int n = 1; QFileInfo::exists(candidate); ++n) {
        const QString name = ext.isEmpty() ? QStringLiteral("%1 (%2)").arg(base).arg(n)
                                           : QStringLiteral("%1 (%2).%3").arg(base).arg(n).arg(ext);
        candidate = folder + QLatin1Char('/') + name;
    }
    return candidate;
}

} // namespace vantrel::RunText
