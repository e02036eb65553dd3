#pragma once

#include <functional>

#include <QByteArray>
#include <QString>

namespace vantrel {

/// Streams the files of a folder to a handler, for the add scan.
///
/// Each folder's entries come in file-name order with digit runs compared as numbers ("2" before
/// "10"), whatever order the file system lists them in. Symbolic links are never followed into
/// (a link is handed over as a file, so a link loop ends). A name that is not valid UTF-8 cannot
/// be named by a QString: it goes to `badName` with its raw path instead of being dropped.
/// A folder that cannot be read logs "[Error] <reason> (<path>)" and is skipped; the walk goes on.
class FolderWalk {
public:
    struct Handlers {
        std::function<bool(const QString& path)> file; ///< a candidate; false stops the walk
        std::function<bool(const QByteArray& rawPath)> badName; ///< may be empty; false stops the walk
        /// May be empty; false makes a folder unreadable (tests: permissions do not bind root).
        std::function<bool(const QByteArray& folder)> canRead;
    };

    /// The folder's own entries (hidden ones included, nothing below them) whose extension is an
    /// image extension of the type registry. Returns false when a handler stopped the listing.
    static bool listOneLevel(const QString& folder, const Handlers& handlers);

    /// Every entry below the folder that is not a folder, depth first, each subfolder visited
    /// right where it stands in its parent's order. Hidden entries are left out, and package
    /// folders (photo libraries) are neither handed over nor entered. Returns false when a handler
    /// stopped the walk.
    static bool walkRecursive(const QString& folder, const Handlers& handlers);

    /// True for a folder name with a package extension (photoslibrary, migratedphotolibrary,
    /// photolibrary, iphotolibrary, aplibrary), in any letter case.
    static bool isPackageName(const QString& name);

    /// Negative, zero or positive as `a` sorts before, with or after `b` (digit runs as numbers,
    /// letters without regard to case, exact comparison as the last tie-break).
    static int compareNames(const QString& a, const QString& b);
};

} // namespace vantrel
