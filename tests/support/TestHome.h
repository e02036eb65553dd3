#pragma once

#include <QString>

namespace vantrel::test {

/// Makes `home` the process's home: HOME and the XDG folders point under it, and its Pictures
/// folder exists and is the one the desktop names, so that no test reads or writes the real home.
void pointHomeAt(const QString& home);

} // namespace vantrel::test
