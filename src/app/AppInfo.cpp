#include "app/AppInfo.h"

namespace vantrel::AppInfo {

QString bundleVersion()
{
    return QStringLiteral(VANTREL_VERSION);
}

} // namespace vantrel::AppInfo
