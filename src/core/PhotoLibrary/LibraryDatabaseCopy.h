#pragma once

#include <memory>

#include <QString>

class QTemporaryDir;

namespace vantrel {

/// A private copy of a library database and its companions ("-wal", "-shm", ".lock"), made in a
/// fresh folder under the caches folder so that reading it can never change the library. The
/// folder and everything in it are removed when the copy is destroyed.
/// Ownership: owns the private folder.
class LibraryDatabaseCopy {
public:
    LibraryDatabaseCopy();
    ~LibraryDatabaseCopy();
    LibraryDatabaseCopy(const LibraryDatabaseCopy&) = delete;
    LibraryDatabaseCopy& operator=(const LibraryDatabaseCopy&) = delete;

    /// Copies `source` and whichever companions exist as regular files in the database's own
    /// folder (links followed). false (with "Error in copy Data Base %@") when the database itself
    /// cannot be copied; a companion that fails to copy is ignored.
    bool make(const QString& source);
    /// The copied database; empty before a successful make().
    QString path() const { return m_path; }

    /// True when `source` can be opened read-only where it lies without SQLite creating or
    /// changing anything beside it: a rollback-journal database with no "-journal" or "-wal"
    /// file next to it. A WAL database (or one that may need recovery) must be read from a copy.
    static bool canReadInPlace(const QString& source);

private:
    std::unique_ptr<QTemporaryDir> m_folder;
    QString m_path;
};

} // namespace vantrel
