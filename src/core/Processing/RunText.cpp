#include "core/Processing/RunText.h"

#include "core/Helper/Utils.h"
#include "platform/DateFormat.h"

namespace vantrel::RunText {

QString sourceChanged()
{
    return QStringLiteral("The photo changed while it was being read.");
}

QString bytes(double count)
{
    return Utils::sharedUtils().unitStringFromBytes(count, 0);
}

QString duration(qint64 seconds)
{
    return Utils::sharedUtils().timeFormattedString(seconds);
}

qint64 secondsBetween(const QDateTime& earlier, const QDateTime& later)
{
    return Utils::getDurationBetweenDate(earlier, later);
}

QString date(const QDateTime& when, const QString& pattern)
{
    return Utils::getDateStringFromDate(when, pattern);
}

QString stampDate(const QDateTime& when, const QString& pattern)
{
    return DateFormat::format(when, pattern);
}

QString collisionFreePath(const QString& path)
{
    return Utils::stringToAvoidNameCollisionForPath(path);
}

} // namespace vantrel::RunText
