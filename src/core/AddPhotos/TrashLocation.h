#pragma once

#include <QString>

namespace vantrel {

/// Where deleted files wait: the freedesktop Trash folders.
class TrashLocation {
public:
    /// True when `path` lies inside the user's home Trash ($XDG_DATA_HOME/Trash, by default
    /// ~/.local/share/Trash) or inside a volume's Trash of this user ("<topdir>/.Trash-<uid>" or
    /// "<topdir>/.Trash/<uid>"). Compared as written: file names are case-sensitive here.
    static bool isInTrash(const QString& path);

    /// The home Trash folder, without a trailing slash.
    static QString homeTrash();
};

} // namespace vantrel
