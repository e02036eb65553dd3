#pragma once

#include <atomic>
#include <optional>

#include <QDateTime>
#include <QImage>
#include <QString>
#include <QVariant>
#include <QVariantMap>

#include "core/Helper/Caption.h"

namespace vantrel {

/// Class operations shared by the screens and the data layer: captions from the language table,
/// date texts, names of EXIF values, byte-count texts, the Application Support folder, file
/// digests, a flat JSON text and a few image and system chores. No instances and no state of its
/// own; the only shared state it touches is the application delegate's language table.
///
/// Threads: every operation may be called from any thread.
class CommonFunc {
public:
    CommonFunc() = delete;

    // Captions

    /// Loads the language table into the application delegate when it holds none yet, from the
    /// resource ":/VANTREL_EN.plist", else ":/Vantrel_EN.plist". Serialized: concurrent callers
    /// load it once. When neither can be read the table stays unset and the next call tries again.
    static void loadLanguageDict();
    /// The caption of a key, with typed argument slots (Caption::arg). A key the table lacks,
    /// or no table at all, gives the text "(null)".
    static Caption getLocalizedStringForKey(const QString& key);

    // Dates (local time zone). The parsers read fixed digit forms (POSIX locale); the formatters
    // write in the user's locale (month names, AM/PM). Unparsable or empty text gives nothing; an
    // invalid date, "".

    /// Parses EXIF form "yyyy:MM:dd HH:mm:ss".
    static std::optional<QDateTime> getDateFromString(const QString& text);
    /// Parses "MM/dd/yyyy hh:mm:ss".
    static std::optional<QDateTime> getDateFromString1(const QString& text);
    /// "MMM dd, yyyy".
    static QString getStringFromDate(const QDateTime& date);
    /// "MMM dd, yyyy hh:mm:ss a".
    static QString getDateTimeStringFromDate(const QDateTime& date);

    /// The byte-count text, by the toolbox's one rule (Utils::unitStringFromBytes): "0 bytes",
    /// "512 bytes", "1.50 KB", "0.97 MB".
    static QString getSizeInUnits(double bytes);

    // Names of EXIF values. A null or non-numeric value, or one outside the table, gives "---".
    static QString getColorSensingType(const QVariant& value);
    static QString getMeteringModeType(const QVariant& value);
    static QString getExposureProgramType(const QVariant& value);
    static QString getExposureModeType(const QVariant& value);
    static QString getScenceCaptureType(const QVariant& value);
    static QString getLightSourceType(const QVariant& value);
    /// The EXIF colour space's name ("sRGB", "Adobe RGB", "Uncalibrated"); "---" for another value.
    static QString getColorSpaceType(const QVariant& value);
    /// "6 (Rotate 90 CW)" for 6; "---" outside 1 to 8.
    static QString getOrientationType(int value);

    // Folders

    /// $XDG_DATA_HOME/Vantrel, created on demand; empty (and one line on stderr) when it cannot
    /// be created. Nothing is ever created in the current folder or at "/".
    static QString applicationSupportDirectory();

    enum class SearchPathDirectory { ApplicationSupport, Caches, Documents, Pictures };
    /// The user's folder of that kind plus the component (when not empty), created with every
    /// missing parent. Empty on failure, with the reason in *error when given; *error is cleared
    /// on success.
    static QString findOrCreateDirectory(
        SearchPathDirectory directory, const QString& appendPathComponent, QString* error = nullptr);

    /// The toolbox's flat JSON text (Utils::getJSONFromDict): numbers bare, everything else
    /// quoted and escaped, entries in the map's key order.
    static QString getJSONFromDict(const QVariantMap& dict);

    // Photo-library packages: the same answers as PhotoLibraryPaths, which resolves names inside
    // a package without regard to letter case.

    /// The database file a Photos library is read from; empty when the package holds none.
    static QString getDataBasePathForPhotosLib(const QString& libraryPath);
    static bool isPhotosLib(const QString& libraryPath);
    /// The major part of the album file's "Application Version"; null when there is none.
    static QString getPhotoLibraryVersion(const QString& libraryPath);
    static QString getPhotoLibraryMajorVersion(const QString& version);
    /// The masters folder's name as spelled in a version-9 package; null otherwise.
    static QString photoLibrary_MastersOrOriginal(const QString& libraryPath);
    static bool isPkgPhotoLib(const QString& libraryPath);
    static bool isiPhotoLibrary9AndAbove(const QString& libraryPath);

    // Digests: 32 lowercase hexadecimal characters of the MD5 of the file's bytes.

    /// Nothing when the file cannot be read (never the digest of no bytes).
    static std::optional<QString> getFileMD5(const QString& path);
    /// Streams the file in chunks (4096 bytes when chunkSize is 0 or less), yielding the processor
    /// before every fifth chunk and checking the abort flag before each read. Nothing when the
    /// file cannot be opened or read, or when the flag is set.
    static std::optional<QString> FileMD5HashCreateWithPath(
        const QString& path, qint64 chunkSize, const std::atomic<bool>* abortFlag);
    /// The above with 4096-byte chunks, logging when no digest comes back.
    static std::optional<QString> getFileMD5UsingStreamWithAbortFlag(
        const QString& path, const std::atomic<bool>* abortFlag);

    // Images and system

    /// The image in the file, upright by its EXIF orientation; null when it cannot be read.
    static QImage getImageForFilePath(const QString& path);
    /// A quarter turn: clockwise as seen on screen when `clockwise` is true, counter-clockwise
    /// otherwise. Null for a null image.
    static QImage bwRotateImage90DegreesClockwise(bool clockwise, const QImage& image);
    /// Whether an application with this identifier runs in the session: a session-bus name equal
    /// to it, compared in upper case.
    static bool checkAppOpen(const QString& bundleIdentifier);
    /// Requests the feedback service's base page (up to 3 attempts, 5 s each, no cache). False
    /// when the service is not configured. Blocks the calling thread while it waits (it runs a
    /// local event loop): call it from a worker, not from the main thread.
    static bool isInternetConnected();
};

} // namespace vantrel
