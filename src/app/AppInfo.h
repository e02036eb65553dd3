#pragma once

#include <QString>

namespace vantrel::AppInfo {

/// The application's name in user-visible text, file and folder names.
inline constexpr char kBundleName[] = "Vantrel";
/// The executable's name.
inline constexpr char kExecutableName[] = "vantrel";

/// The build's version ("CFBundleVersion" where the rating rules compare it).
QString bundleVersion();

} // namespace vantrel::AppInfo
