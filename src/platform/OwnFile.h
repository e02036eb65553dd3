#pragma once

#include <QString>

/// The files the application keeps at fixed paths of its own folders (the settings' lock, the log
/// file, the log database's companions, the rows kept for the next run and their lock) are opened
/// only as what they claim to be: a regular file with no other name (a hard link would have the
/// writes land in the file it shares its data with), reached without following a link, opened
/// without waiting (a FIFO in such a place would block the opener for ever, at start-up or at the
/// end of a run). Whatever else stands there is renamed aside once, with a line on standard error
/// that says so, and never followed, read, written or deleted.
namespace vantrel::OwnFile {

/// A free name beside `path` for setting aside what stands there: "<base> (<word> <date and
/// time>).<suffix>", e.g. "Vantrel.conf (not a file 2026-12-07 19.02.03).lock".
QString asidePath(const QString& path, const QString& word);

/// When something other than a regular file of its own stands at `path` (a FIFO, a socket, a
/// device, a folder, a symbolic link, whatever it points to, or a file with more than one name),
/// renames it aside and says so. Answers the new name, or an empty string when nothing was moved
/// (nothing there, a regular file with one name, or a rename that failed, which is said as well).
QString setAsideIfNotAFile(const QString& path);

/// Opens the regular file at `path` with `flags` (O_CREAT among them makes it with `mode` when
/// missing), never following a link and never waiting. Anything but a regular file with one name
/// found there is set aside first (setAsideIfNotAFile) and the open is tried once more. Answers the
/// descriptor (close-on-exec, blocking again), or -1 with errno set.
int openRegular(const QString& path, int flags, int mode = 0600);

/// Makes a fresh temporary at `path` for writing: whatever entry stands there is removed first (a
/// file or a link; a hard link loses its name here, its other names keep their data), or set
/// aside when it cannot be removed (a folder), and the file is created with O_EXCL, so no write
/// ever goes into a file that existed before. Answers the descriptor, or -1 with errno set.
int createTemporary(const QString& path, int mode = 0600);

} // namespace vantrel::OwnFile
