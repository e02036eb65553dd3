#include "platform/Defaults.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

#include <QStandardPaths>

#include "platform/OwnFile.h"

namespace vantrel {

Defaults& Defaults::standard()
{
    static Defaults defaults;
    return defaults;
}

Defaults::Defaults()
{
    reload();
}

QString Defaults::settingsFilePath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + "/Vantrel/Vantrel.conf";
}

Defaults::~Defaults()
{
    setLockAsideIfNotAFile();
}

void Defaults::reload()
{
    setLockAsideIfNotAFile();
    m_settings.reset();
    m_memory.clear();
    // QSettings reads the file in its constructor: a FIFO there would block start-up for ever,
    // and a device or folder is no settings file either. Links are followed, as QSettings does.
    std::error_code error;
    const QString path = settingsFilePath();
    const auto type = std::filesystem::status(path.toStdString(), error).type();
    if (type != std::filesystem::file_type::not_found && type != std::filesystem::file_type::regular
        && type != std::filesystem::file_type::none) {
        std::fprintf(
            stderr, "Defaults: %s is not a regular file; starting with the default settings\n", qPrintable(path));
        return;
    }
    // Named by its path, QSettings reads this one file only. Named by organisation and application,
    // it would also read the organisation's file beside it and the system files under
    // $XDG_CONFIG_DIRS, all of them in its constructor (turning the fallbacks off afterwards
    // stops their lookup, not their reading); a FIFO at any of those would block start-up as
    // well, and the application keeps nothing there.
    m_settings = std::make_unique<QSettings>(path, QSettings::NativeFormat);
    setLockAsideIfNotAFile();
}

void Defaults::setLockAsideIfNotAFile() const
{
    // QSettings::sync() takes a QLockFile on "<file>.lock", which reads what it finds there to see
    // whether its holder still runs: a FIFO there would block every write of the settings (and
    // the exit, which syncs) for ever.
    if (m_settings)
        OwnFile::setAsideIfNotAFile(m_settings->fileName() + QStringLiteral(".lock"));
}

void Defaults::registerDefaults(const QVariantMap& values)
{
    for (auto it = values.begin(); it != values.end(); ++it)
        m_registered.insert(it.key(), it.value());
}

bool Defaults::contains(const QString& key) const
{
    return m_settings ? m_settings->contains(key) : m_memory.contains(key);
}

QVariant Defaults::objectForKey(const QString& key) const
{
    if (contains(key))
        return m_settings ? m_settings->value(key) : m_memory.value(key);
    return m_registered.value(key);
}

QString Defaults::stringForKey(const QString& key) const
{
    const QVariant v = objectForKey(key);
    return v.isValid() && v.canConvert<QString>() ? v.toString() : QString();
}

QByteArray Defaults::dataForKey(const QString& key) const
{
    const QVariant v = objectForKey(key);
    return v.typeId() == QMetaType::QByteArray ? v.toByteArray() : QByteArray();
}

qint64 Defaults::integerForKey(const QString& key) const
{
    return objectForKey(key).toLongLong();
}

void Defaults::setObject(const QString& key, const QVariant& value, bool sync)
{
    if (!value.isValid()) {
        removeObjectForKey(key, sync);
        return;
    }
    if (m_settings)
        m_settings->setValue(key, value);
    else
        m_memory.insert(key, value);
    if (sync)
        synchronize();
}

void Defaults::removeObjectForKey(const QString& key, bool sync)
{
    if (m_settings)
        m_settings->remove(key);
    else
        m_memory.remove(key);
    if (sync)
        synchronize();
}

bool Defaults::synchronize()
{
    if (!m_settings)
        return true; // the session's values stay in memory, as announced at start-up
    setLockAsideIfNotAFile();
    m_settings->sync();
    if (m_settings->status() != QSettings::NoError) {
        std::fprintf(stderr, "Defaults: could not write %s\n", qPrintable(m_settings->fileName()));
        return false;
    }
    return true;
}

} // namespace vantrel
