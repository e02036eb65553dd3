// The toolbox's texts: byte counts, elapsed times, dates, collision-free names and flat JSON.
#include "core/Helper/Utils.h"

#include <cmath>
#include <filesystem>
#include <system_error>

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocale>
#include <QRegularExpression>

#include "platform/DateFormat.h"

namespace vantrel {

namespace {

__extension__ typedef unsigned __int128 Count;

const char* const kByteUnits[] = { "bytes", "KB", "MB", "GB", "TB", "PB", "EB", "ZB", "YB" };
constexpr int kByteUnitCount = sizeof(kByteUnits) / sizeof(kByteUnits[0]);

/// Counts are clamped here so that count * 100 cannot overflow (10^36 bytes is 10^12 YB).
constexpr double kLargestCount = 1e36;

bool entryExists(const QString& path)
{
    std::error_code error;
    return std::filesystem::exists(std::filesystem::symlink_status(path.toStdString(), error));
}

QString escapedJson(const QString& text)
{
    QString out;
    out.reserve(text.size() + 2);
    for (const QChar c : text) {
        switch (c.unicode()) {
        case '"':
            out += QLatin1String("\\\"");
            break;
        case '\\':
            out += QLatin1String("\\\\");
            break;
        case '\b':
            out += QLatin1String("\\b");
            break;
        case '\f':
            out += QLatin1String("\\f");
            break;
        case '\n':
            out += QLatin1String("\\n");
            break;
        case '\r':
            out += QLatin1String("\\r");
            break;
        case '\t':
            out += QLatin1String("\\t");
            break;
        default:
            if (c.unicode() < 0x20)
                out += QString::asprintf("\\u%04x", c.unicode());
            else
                out += c;
        }
    }
    return out;
}

bool isNumber(const QVariant& value)
{
    switch (value.metaType().id()) {
    case QMetaType::Bool:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Double:
    case QMetaType::Float:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Long:
    case QMetaType::ULong:
        return true;
    default:
        return false;
    }
}

QString numberText(const QVariant& value)
{
    switch (value.metaType().id()) {
    case QMetaType::Bool:
        return value.toBool() ? QStringLiteral("1") : QStringLiteral("0");
    case QMetaType::Double:
    case QMetaType::Float: {
        const double d = value.toDouble();
        // JSON has no NaN or infinity.
        if (!std::isfinite(d))
            return QStringLiteral("null");
        return QString::number(d, 'g', QLocale::FloatingPointShortest);
    }
    default:
        return value.toString();
    }
}

/// The text of a value that is not a number: nested collections as their compact JSON text.
QString valueText(const QVariant& value)
{
    const int type = value.metaType().id();
    if (type == QMetaType::QVariantMap || type == QMetaType::QVariantHash)
        return QString::fromUtf8(
            QJsonDocument(QJsonObject::fromVariantMap(value.toMap())).toJson(QJsonDocument::Compact));
    if (type == QMetaType::QVariantList || type == QMetaType::QStringList)
        return QString::fromUtf8(
            QJsonDocument(QJsonArray::fromVariantList(value.toList())).toJson(QJsonDocument::Compact));
    if (type == QMetaType::QByteArray)
        return QString::fromUtf8(value.toByteArray());
    if (type == QMetaType::QDateTime)
        return value.toDateTime().toString(Qt::ISODate);
    return value.toString();
}

} // namespace

QString Utils::unitStringFromBytes(double bytes, int /*flags*/) const
{
    // Exact integer arithmetic: a count of n bytes in unit i (divisor d = 1000^i) is shown as
    // floor(n * 100 / d) hundredths, which binary floating point gets wrong (1150 -> 1.14 KB).
    if (!(bytes >= 1.0))
        return QStringLiteral("0 bytes");
    const Count count = static_cast<Count>(std::floor(std::min(bytes, kLargestCount)));
    int unit = 0;
    Count divisor = 1;
    while (unit + 1 < kByteUnitCount && count / divisor >= 1000) {
        divisor *= 1000;
        ++unit;
    }
    Count hundredths = count * 100 / divisor;
    // Above 993 of one unit (after the cut) the text moves to 0.97 of the next.
    if (hundredths > 99300 && unit + 1 < kByteUnitCount) {
        hundredths = 97;
        ++unit;
    }
    const auto whole = static_cast<unsigned long long>(hundredths / 100);
    if (unit == 0)
        return QStringLiteral("%1 %2").arg(whole).arg(QLatin1String(kByteUnits[unit]));
    const auto cents = static_cast<unsigned>(hundredths % 100);
    return QString::asprintf("%llu.%02u %s", whole, cents, kByteUnits[unit]);
}

QString Utils::timeFormattedString(qint64 seconds) const
{
    const qint64 hours = seconds / 3600;
    const qint64 minutes = (seconds / 60) % 60;
    const qint64 secs = seconds % 60;
    QString text;
    if (hours >= 1) {
        text += QStringLiteral("%1 %2").arg(hours).arg(hours == 1 ? QLatin1String("hour") : QLatin1String("hours"));
        text += QStringLiteral(" %1 %2").arg(minutes).arg(
            minutes == 1 ? QLatin1String("minute") : QLatin1String("minutes"));
    } else if (minutes >= 1) {
        text += QStringLiteral(" %1 %2").arg(minutes).arg(
            minutes == 1 ? QLatin1String("minute") : QLatin1String("minutes"));
    }
    if (!(hours < 1 && minutes < 1 && secs < 1))
        text += QStringLiteral(" %1 %2").arg(secs).arg(secs == 1 ? QLatin1String("second") : QLatin1String("seconds"));
    return text;
}

qint64 Utils::getDurationBetweenDate(const QDateTime& first, const QDateTime& after)
{
    if (!first.isValid() || !after.isValid())
        return 0;
    return (after.toMSecsSinceEpoch() - first.toMSecsSinceEpoch()) / 1000;
}

QString Utils::getDateStringFromDate(const QDateTime& date, const QString& format)
{
    return DateFormat::formatForUser(date, format);
}

QDateTime Utils::getDateFromString(const QString& text, const QString& format)
{
    return DateFormat::parseForUser(text, format).value_or(QDateTime());
}

QString Utils::stringToAvoidNameCollisionForPath(const QString& path)
{
    QString trimmed = path;
    while (trimmed.size() > 1 && trimmed.endsWith(QLatin1Char('/')))
        trimmed.chop(1);
    const int slash = trimmed.lastIndexOf(QLatin1Char('/'));
    const QString folder = slash < 0 ? QString() : (slash == 0 ? QStringLiteral("/") : trimmed.left(slash));
    QString name = slash < 0 ? trimmed : trimmed.mid(slash + 1);

    // The extension follows the last dot; a leading dot (a hidden file) or a trailing one is not
    // an extension separator.
    const int dot = name.lastIndexOf(QLatin1Char('.'));
    const bool hasExtension = dot > 0 && dot < name.size() - 1;
    const QString base = hasExtension ? name.left(dot) : name;
    const QString extension = hasExtension ? name.mid(dot + 1) : QString();

    const auto join = [&folder](const QString& file) {
        if (folder.isEmpty())
            return file;
        return folder.endsWith(QLatin1Char('/')) ? folder + file : folder + QLatin1Char('/') + file;
    };
    for (qint64 n = 1;; ++n) {
        const QString candidate = join(name);
        if (!entryExists(candidate))
            return candidate;
        // Joined, never substituted: a "%1" or "%2" inside the user's name is plain text.
        name = base + QStringLiteral(" (") + QString::number(n) + QLatin1Char(')');
        if (hasExtension)
            name += QLatin1Char('.') + extension;
    }
}

QString Utils::getJSONFromDict(const QVariantMap& dict)
{
    QString json = QStringLiteral("{");
    bool first = true;
    for (auto it = dict.constBegin(); it != dict.constEnd(); ++it) {
        if (!first)
            json += QLatin1Char(',');
        first = false;
        json += QLatin1Char('"') + escapedJson(it.key()) + QLatin1String("\":");
        if (isNumber(it.value()))
            json += numberText(it.value());
        else
            json += QLatin1Char('"') + escapedJson(valueText(it.value())) + QLatin1Char('"');
    }
    json += QLatin1Char('}');
    return json;
}

bool Utils::validateEmail(const QString& email)
{
    static const QRegularExpression pattern(
        QRegularExpression::anchoredPattern(QStringLiteral("^.+@([A-Za-z0-9-]+\\.)+[A-Za-z]{2}[A-Za-z]*$")));
    return pattern.match(email).hasMatch();
}

QString Utils::getDateInFormatNEW(const QDateTime& date)
{
    const QDateTime local = date.toLocalTime();
    return QString::asprintf("%04d%02d%02dT%02d%02d", local.date().year(), local.date().month(), local.date().day(),
        local.time().hour(), local.time().minute());
}

} // namespace vantrel
