#pragma once

#include <exception>

#include <QString>

namespace vantrel {

/// The library's reason for a failed decode or encode, as one line of the log.
///
/// libvips keeps one error buffer for the whole process, and a vips::VError built without a
/// message copies all of it: every line appended since the buffer was last cleared, each ending
/// in a newline, whichever photo it was about. Left uncleared after a failure, the buffer lends
/// that photo's text to the next failure of any other photo. A photo's decode and encode clear it
/// as they begin, and the text of a failure is taken (and the buffer cleared) where it is caught.
class VipsErrorText {
public:
    /// Empties libvips' error buffer: a decode or an encode of a photo is about to begin.
    static void clear();

    /// The text of `error` as one line: its lines trimmed and joined by "; ", empty ones dropped.
    /// When `path` is given, lines that name some other file are dropped as well (another
    /// photo's failure that landed in the shared buffer meanwhile), unless nothing would be left.
    /// Empties libvips' error buffer, whose text `error` carries already.
    static QString take(const std::exception& error, const QString& path = {});

    /// `text` as one line, as take() makes it, without touching libvips' buffer.
    static QString oneLine(const QString& text, const QString& path = {});
};

} // namespace vantrel
