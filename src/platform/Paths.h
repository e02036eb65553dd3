#pragma once

#include <QString>

namespace vantrel::Paths {

/// $XDG_DATA_HOME/Vantrel, created on demand; empty when it cannot be created.
QString applicationSupportFolder();
/// $XDG_CACHE_HOME/Vantrel, created on demand; empty when it cannot be created.
QString cachesFolder();
/// The log file's name: standard error is appended to it, and the feedback form reads it back.
inline constexpr char kLogFileName[] = "Vantrel.log";

/// $XDG_STATE_HOME/Vantrel/<kLogFileName> (falls back to ~/.local/state when the variable is unset).
QString logFilePath();
/// The user's Pictures folder (from user-dirs.dirs, else $HOME/Pictures).
QString picturesFolder();
/// The default output folder of a run: the Pictures folder + "/Vantrel".
QString defaultOutputFolder();
/// Where photos from a photo library are written: the Pictures folder + "/PhotosLibrary_VantrelOutput".
QString libraryOutputFolder();
/// The user's home folder.
QString homeFolder();

} // namespace vantrel::Paths
