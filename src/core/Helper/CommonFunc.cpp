#include "core/Helper/CommonFunc.h"

#include <cmath>
#include <cstdio>
#include <mutex>

#include <QDir>
#include <QFileInfo>
#include <QJsonDocument>
#include <QStandardPaths>

#include "core/AppDelegate.h"
#include "core/Helper/LanguageTableReader.h"
#include "core/ResourceImages.h"
#include "platform/DateFormat.h"
#include "platform/Paths.h"

namespace vantrel {

namespace {

constexpr const char* kLanguageTableResources[] = { ":/VANTREL_EN.plist", ":/Vantrel_EN.plist" };

bool hasLanguageTable()
{
    const auto table = AppDelegate::shareDelegate()->dictLanguage();
    return table && !table->isEmpty();
}

bool isNumber(const QVariant& value)
{
    switch (value.typeId()) {
    case QMetaType::Bool:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::UChar:
    case QMetaType::Double:
    case QMetaType::Float:
        return true;
    default:
        return false;
    }
}

QString numberText(const QVariant& value)
{
    switch (value.typeId()) {
    case QMetaType::Bool:
        return value.toBool() ? QStringLiteral("1") : QStringLiteral("0");
    case QMetaType::Double:
    case QMetaType::Float: {
        const double d = value.toDouble();
        if (std::isfinite(d) && d == std::trunc(d) && std::fabs(d) < 1e15)
            return QString::number(static_cast<qint64>(d));
        return QString::number(d, 'g', QLocale::FloatingPointShortest);
    }
    case QMetaType::ULongLong:
    case QMetaType::ULong:
    case QMetaType::UInt:
        return QString::number(value.toULongLong());
    default:
        return QString::number(value.toLongLong());
    }
}

QString valueText(const QVariant& value)
{
    if (value.typeId() == QMetaType::QVariantList || value.typeId() == QMetaType::QVariantMap
        || value.typeId() == QMetaType::QStringList) {
        return QString::fromUtf8(QJsonDocument::fromVariant(value).toJson(QJsonDocument::Compact));
    }
    if (!value.isValid() || value.isNull())
        return QStringLiteral("(null)");
    return value.toString();
}

} // namespace

void CommonFunc::loadLanguageDict()
{
    static std::mutex loadMutex;
    std::lock_guard lock(loadMutex);
    if (hasLanguageTable())
        return;
    ResourceImages::initResources();
    for (const char* resource : kLanguageTableResources) {
        if (auto table = LanguageTableReader::readFile(QString::fromLatin1(resource)); table && !table->isEmpty()) {
            AppDelegate::shareDelegate()->setDictLanguage(std::move(*table));
            return;
        }
    }
    static std::once_flag reported;
    std::call_once(reported, [] { std::fprintf(stderr, "Language table: no readable resource\n"); });
}

Caption CommonFunc::getLocalizedStringForKey(const QString& key)
{
    loadLanguageDict();
    const auto table = AppDelegate::shareDelegate()->dictLanguage();
    if (!table)
        return Caption();
    const auto found = table->constFind(key);
    if (found == table->constEnd())
        return Caption();
    return Caption(*found);
}

std::optional<QDateTime> CommonFunc::getDateFromString(const QString& text)
{
    if (text.isEmpty())
        return std::nullopt;
    return DateFormat::parse(text, QStringLiteral("yyyy:MM:dd HH:mm:ss"));
}

std::optional<QDateTime> CommonFunc::getDateFromString1(const QString& text)
{
    if (text.isEmpty())
        return std::nullopt;
    return DateFormat::parse(text, QStringLiteral("MM/dd/yyyy hh:mm:ss"));
}

QString CommonFunc::getStringFromDate(const QDateTime& date)
{
    if (!date.isValid())
        return {};
    return DateFormat::format(date, QStringLiteral("MMM dd, yyyy"));
}

QString CommonFunc::getDateTimeStringFromDate(const QDateTime& date)
{
    if (!date.isValid())
        return {};
    return DateFormat::format(date, QStringLiteral("MMM dd, yyyy hh:mm:ss a"));
}

QString CommonFunc::getSizeInUnits(double bytes)
{
    static const char* const kUnits[] = { "bytes", "KB", "MB", "GB", "TB" };
    constexpr int kLastUnit = 4;
    double v = bytes;
    int unit = 0;
    while (v >= 1000 && unit < kLastUnit) {
        v /= 1000;
        ++unit;
    }
    if (v == 0)
        return QStringLiteral("0 ") + QLatin1String(kUnits[unit]);
    // Cut to two decimals. The tiny margin keeps binary fractions such as 1.15 (stored as
    // 1.1499999...) from losing their last digit.
    v = std::floor(v * 100 + 1e-7) / 100;
    if (v > 993 && unit < kLastUnit) {
        v = 0.97;
        ++unit;
    }
    const QString number = QString::asprintf(unit == 0 ? "%4.0f" : "%4.2f", v);
    return (number + QLatin1Char(' ') + QLatin1String(kUnits[unit])).trimmed();
}

QString CommonFunc::applicationSupportDirectory()
{
    // Without a home folder (HOME unset or "/") and without an absolute XDG_DATA_HOME, the data
    // folder would land under "/": refuse instead of creating anything there.
    const QString dataHome = qEnvironmentVariable("XDG_DATA_HOME");
    const bool homeless = QDir::cleanPath(QDir::homePath()) == QDir::rootPath();
    if (homeless && !QDir::isAbsolutePath(dataHome)) {
        std::fprintf(stderr, "Application Support folder unavailable: no home folder; the log is unavailable\n");
        return {};
    }
    const QString folder = Paths::applicationSupportFolder();
    if (folder.isEmpty())
        std::fprintf(stderr, "Application Support folder could not be created under %s; the log is unavailable\n",
            qPrintable(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)));
    return folder;
}

QString CommonFunc::findOrCreateDirectory(
    SearchPathDirectory directory, const QString& appendPathComponent, QString* error)
{
    QStandardPaths::StandardLocation location = QStandardPaths::GenericDataLocation;
    switch (directory) {
    case SearchPathDirectory::ApplicationSupport:
        location = QStandardPaths::GenericDataLocation;
        break;
    case SearchPathDirectory::Caches:
        location = QStandardPaths::GenericCacheLocation;
        break;
    case SearchPathDirectory::Documents:
        location = QStandardPaths::DocumentsLocation;
        break;
    case SearchPathDirectory::Pictures:
        location = QStandardPaths::PicturesLocation;
        break;
    }
    const QString base = QStandardPaths::writableLocation(location);
    // A relative or empty base would create folders in the current folder: refuse it.
    if (base.isEmpty() || !QDir::isAbsolutePath(base)) {
        if (error)
            *error = QStringLiteral("no folder of this kind");
        return {};
    }
    QString path = base;
    if (!appendPathComponent.isEmpty())
        path += QLatin1Char('/') + appendPathComponent;
    path = QDir::cleanPath(path);
    if (!QDir().mkpath(path) || !QFileInfo(path).isDir()) {
        if (error)
            *error = QStringLiteral("cannot create %1").arg(path);
        return {};
    }
    if (error)
        error->clear();
    return path;
}

QString CommonFunc::getJSONFromDict(const QVariantMap& dict)
{
    QString json = QStringLiteral("{");
    bool first = true;
    for (auto it = dict.constBegin(); it != dict.constEnd(); ++it) {
        if (!first)
            json += QLatin1Char(',');
        first = false;
        json += QLatin1Char('"') + it.key() + QStringLiteral("\":");
        if (isNumber(it.value()))
            json += numberText(it.value());
        else
            json += QLatin1Char('"') + valueText(it.value()) + QLatin1Char('"');
    }
    return json + QLatin1Char('}');
}

} // namespace vantrel
