#include "platform/Defaults.h"

#include <cstdio>

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

void Defaults::reload()
{
    m_settings = std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope, "Vantrel", "Vantrel");
}

void Defaults::registerDefaults(const QVariantMap& values)
{
    for (auto it = values.begin(); it != values.end(); ++it)
        m_registered.insert(it.key(), it.value());
}

bool Defaults::contains(const QString& key) const
{
    return m_settings->contains(key);
}

QVariant Defaults::objectForKey(const QString& key) const
{
    if (m_settings->contains(key))
        return m_settings->value(key);
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
    m_settings->setValue(key, value);
    if (sync)
        synchronize();
}

void Defaults::removeObjectForKey(const QString& key, bool sync)
{
    m_settings->remove(key);
    if (sync)
        synchronize();
}

bool Defaults::synchronize()
{
    m_settings->sync();
    if (m_settings->status() != QSettings::NoError) {
        std::fprintf(stderr, "Defaults: could not write %s\n", qPrintable(m_settings->fileName()));
        return false;
    }
    return true;
}

} // namespace vantrel
