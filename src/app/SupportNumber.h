#pragma once

#include <functional>
#include <optional>

#include <QMap>
#include <QString>
#include <QUrl>

namespace vantrel {

/// The support phone number: the built-in one, registered as the default at launch, and the
/// reader that can pick a newer one from the content server's INI file. The reader never runs on
/// the main thread (it waits between attempts); updatePhoneInfo() starts it off that thread.
class SupportNumber {
public:
    using IniSections = QMap<QString, QMap<QString, QString>>;
    /// Fetches a URL's body as text; nothing on failure (with the reason in *error).
    using Fetcher = std::function<std::optional<QString>(const QUrl& url, QString* error)>;
    using Sleeper = std::function<void(int seconds)>;

    static constexpr char kBuiltInNumber[] = "(800) 555-0142";
    /// This application's entry in the INI file's "default" section.
    static constexpr char kApplicationKey[] = "vantrel";
    static constexpr int kAttempts = 5;

    /// The stored number, or the built-in one when the stored text is empty.
    static QString getDefaultPhoneNumber();
    /// Registers the built-in number as the default of "phonenumber".
    static void registerDefault();

    /// Sections from "[name]" lines, each holding its "key = value" lines (trimmed). Lines before
    /// the first section and lines without exactly one "=" are ignored; a repeated section name
    /// starts that section afresh.
    static IniSections parseIni(const QString& text);
    /// The number to use: the "default" section's entry for this application, else the "phone"
    /// section's entry under the current number, else empty.
    static QString checkAndGetNewPhoneNumberForAppStoreApp(const IniSections& ini, const QString& currentNumber);

    /// The INI file's sections: up to kAttempts fetches, waiting 5 s after a failed first or second
    /// attempt and 20 s after a third or fourth; none after the last. Empty when offline or when
    /// every attempt failed. Logs each attempt. Must not run on the main thread.
    static IniSections getDictParamsFromINIURL(
        const QUrl& url, bool isInternetAvailable, const Fetcher& fetch, const Sleeper& sleep);

    /// Starts the reader's whole pass on a pool thread, fetching with httpGet() and sleeping for
    /// real between attempts, and returns at once. The number reaches the screens later, through
    /// updatePhoneInfoToLabels() on the main thread. Main thread.
    static void updatePhoneInfo();
    /// The reader's whole pass (worker thread): reads the INI file from the content server,
    /// stores the chosen number (or the empty text when offline) and hands it to the screens.
    static void updatePhoneNumbersFromWebINI(const Fetcher& fetch, const Sleeper& sleep);
    /// Posts "updatePhoneNumber" with the number as its object and keeps it on the delegate.
    /// Main thread.
    static void updatePhoneInfoToLabels(const QString& number);

    /// A plain HTTP/1.0 GET over a blocking socket (for worker threads; http only).
    static std::optional<QString> httpGet(const QUrl& url, QString* error, int timeoutMs = 10000);
};

} // namespace vantrel
