#pragma once

#include <memory>

#include <QByteArray>
#include <QSettings>
#include <QString>
#include <QVariant>
#include <QVariantMap>

namespace vantrel {

/// The user defaults: ~/.config/Vantrel/Vantrel.conf through QSettings (that file alone: no
/// organisation-wide or system-wide settings files are read), with registered
/// defaults that answer for absent keys (they are never written to the file) and a sync after
/// every write unless the caller asks otherwise. When something other than a regular file sits
/// at that path (a FIFO would block the reader for ever), the defaults live in memory for the
/// session and the file is left alone.
class Defaults {
public:
    static Defaults& standard();

    void registerDefaults(const QVariantMap& values);

    bool contains(const QString& key) const; // stored, not registered
    QVariant objectForKey(const QString& key) const;
    QString stringForKey(const QString& key) const;
    QByteArray dataForKey(const QString& key) const;
    qint64 integerForKey(const QString& key) const;

    void setObject(const QString& key, const QVariant& value, bool synchronize = true);
    void removeObjectForKey(const QString& key, bool synchronize = true);
    bool synchronize();

    /// Re-reads the file; tests use it after changing HOME.
    void reload();

    /// Where the settings are kept: $XDG_CONFIG_HOME/Vantrel/Vantrel.conf.
    static QString settingsFilePath();

private:
    Defaults();
    ~Defaults();
    /// Sets aside whatever stands at the settings' lock file that is not a regular file, before
    /// each write of the settings (QSettings writes them in sync() and in its destructor).
    void setLockAsideIfNotAFile() const;

    std::unique_ptr<QSettings> m_settings; // null when the file is not a regular file
    QVariantMap m_memory; // the stored values while m_settings is null
    QVariantMap m_registered;
};

} // namespace vantrel
