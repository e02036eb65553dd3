#pragma once

#include <QDateTime>
#include <QString>

namespace vantrel::StandardErrorLog {

/// Appends the process's standard error to the file at `path`: the folder is created first, the
/// file is opened for appending, and only when that succeeded does it replace descriptor 2. Only
/// a regular file with no other name is appended to, never through a link (symbolic or hard) and
/// never waiting: anything else at the path (a FIFO, a link, a folder) is set aside first, and the
/// log says so. On any failure standard error stays where it was and false is returned.
bool redirectTo(const QString& path);

/// The date that starts every dated line: "yyyy-MM-dd HH:mm:ss.zzz" in local time, the form the
/// feedback form's log excerpt looks for.
QString datePrefix(const QDateTime& when);

/// One dated line on standard error saying that the application started.
void writeStartLine(const QString& applicationName, const QString& version);

/// Routes Qt's messages and the libraries' (GLib's and libvips') to standard error, each line
/// starting with the date; a message's empty lines are left out. A library's warning is said once
/// per run: the same text again (libvips warns about every photo of a kind) is dropped
/// until beginRun(). Safe from any thread.
void installMessageHandler();

/// A run (adding photos, or a batch run) starts: every library warning may be said once more.
void beginRun();

} // namespace vantrel::StandardErrorLog
