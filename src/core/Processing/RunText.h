#pragma once

#include <QDateTime>
#include <QString>

namespace vantrel::RunText {

/// Byte count as the application shows it everywhere (base 1000, two decimals cut, 994 bytes and
/// up to 999 shown as 0.97 KB).
QString bytes(double count);

/// Whole seconds as the summary shows them (" 45 seconds", " 1 minute 0 seconds", "2 hours 2
/// minutes 2 seconds"); 0 gives the empty text.
QString duration(qint64 seconds);

/// Whole seconds from `earlier` to `later`, truncated toward zero.
qint64 secondsBetween(const QDateTime& earlier, const QDateTime& later);

/// A moment formatted with a Unicode date pattern for the user to read: the user's locale and
/// time zone.
QString date(const QDateTime& when, const QString& pattern);

/// A moment formatted with a Unicode date pattern for keeping: en_US_POSIX, the user's time zone.
/// The run stamp is the key that joins a run's log rows and finds them again in later sessions,
/// so its text must not depend on the locale (a marker such as "午後" or native digits would
/// also set new rows apart from the rows kept by earlier runs).
QString stampDate(const QDateTime& when, const QString& pattern);

/// The log text and progress message of a photo whose source changed (was rewritten, replaced
/// or cut short) while the run read it: the photo is not written.
QString sourceChanged();

/// The path itself when nothing exists there, else "name (n).ext" with the first free n from 1.
QString collisionFreePath(const QString& path);

} // namespace vantrel::RunText
