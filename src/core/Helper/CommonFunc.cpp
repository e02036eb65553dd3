#include "core/Helper/CommonFunc.h"

#include <cstdio>
#include <mutex>

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include "core/AppDelegate.h"
#include "core/Helper/LanguageTableReader.h"
#include "core/Helper/Utils.h"
#include "core/PhotoLibrary/PhotoLibraryPaths.h"
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
    return DateFormat::formatForUser(date, QStringLiteral("MMM dd, yyyy"));
}

QString CommonFunc::getDateTimeStringFromDate(const QDateTime& date)
{
    if (!date.isValid())
        return {};
    return DateFormat::formatForUser(date, QStringLiteral("MMM dd, yyyy hh:mm:ss a"));
}

QString CommonFunc::getSizeInUnits(double bytes)
{
    // One rule for byte counts everywhere: the toolbox's.
    return Utils::sharedUtils().unitStringFromBytes(bytes, 0);
}

QString CommonFunc::applicationSupportDirectory()
{
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
    return Utils::getJSONFromDict(dict);
}

QString CommonFunc::getDataBasePathForPhotosLib(const QString& libraryPath)
{
    return PhotoLibraryPaths::getDataBasePathForPhotosLib(libraryPath);
}

bool CommonFunc::isPhotosLib(const QString& libraryPath)
{
    return PhotoLibraryPaths::isPhotosLib(libraryPath);
}

QString CommonFunc::getPhotoLibraryVersion(const QString& libraryPath)
{
    return PhotoLibraryPaths::getPhotoLibraryVersion(libraryPath);
}

QString CommonFunc::getPhotoLibraryMajorVersion(const QString& version)
{
    return PhotoLibraryPaths::getPhotoLibraryMajorVersion(version);
}

QString CommonFunc::photoLibrary_MastersOrOriginal(const QString& libraryPath)
{
    return PhotoLibraryPaths::photoLibrary_MastersOrOriginal(libraryPath);
}

bool CommonFunc::isPkgPhotoLib(const QString& libraryPath)
{
    return PhotoLibraryPaths::isPkgPhotoLib(libraryPath);
}

bool CommonFunc::isiPhotoLibrary9AndAbove(const QString& libraryPath)
{
    return PhotoLibraryPaths::isiPhotoLibrary9AndAbove(libraryPath);
}

} // namespace vantrel
