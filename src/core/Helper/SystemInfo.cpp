#include "core/Helper/SystemInfo.h"

#include <QCryptographicHash>
#include <QFile>

namespace vantrel {

namespace {

// Salting keeps the value specific to this application: it cannot be matched with the machine
// id that other programs report.
constexpr char kSalt[] = "Vantrel serial number v1:";
constexpr qint64 kMaxMachineIdBytes = 4096;

} // namespace

QStringList SystemInfo::machineIdPaths()
{
    return { QStringLiteral("/etc/machine-id"), QStringLiteral("/var/lib/dbus/machine-id") };
}

std::optional<QString> SystemInfo::serialNumberFromMachineIdFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray id = file.read(kMaxMachineIdBytes).trimmed();
    if (id.isEmpty())
        return std::nullopt;
    QCryptographicHash hash(QCryptographicHash::Sha256);
    hash.addData(QByteArrayView(kSalt));
    hash.addData(id);
    return QString::fromLatin1(hash.result().toHex());
}

std::optional<QString> SystemInfo::getSerialNumber()
{
    for (const QString& path : machineIdPaths()) {
        if (auto serial = serialNumberFromMachineIdFile(path))
            return serial;
    }
    return std::nullopt;
}

QString SystemInfo::computerSerialNumber()
{
    return getSerialNumber().value_or(QString());
}

} // namespace vantrel
