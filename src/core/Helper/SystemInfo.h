#pragma once

#include <optional>

#include <QString>
#include <QStringList>

namespace vantrel {

/// The machine's serial number for the install tracking, the cross-promotion report and the
/// feedback upload. It is an application-specific hash of the system's machine id, never the id
/// itself (which other programs use and which must not leave the machine as is): 64 lowercase
/// hexadecimal characters, stable for one machine.
class SystemInfo {
public:
    SystemInfo() = delete;

    /// Nothing when no machine id is readable.
    static std::optional<QString> getSerialNumber();
    /// The same value as text; empty when no machine id is readable.
    static QString computerSerialNumber();

    /// The serial number derived from one machine-id file (tests point it at their own file).
    static std::optional<QString> serialNumberFromMachineIdFile(const QString& path);
    /// Where the machine id is looked for, in order.
    static QStringList machineIdPaths();
};

} // namespace vantrel
