#pragma once

#include <QDateTime>
#include <QString>

namespace vantrel {

/// Everything the feedback document carries, as plain text (escaping happens when it is built).
struct FeedbackValues {
    QString appName;
    QString email;
    QString feedbackType;
    QString content;
    QString logsData;
    QString logsDataScan;
    QString osVersion;
    QString procName;
    QString ramInfo;
    QString machineId;
    QString urlBuyNow;
    QString appVersion;
};

/// What the form asks to attach and where it is read from.
struct FeedbackAttachments {
    bool sendLogs = false;
    bool sendUsage = false;
    QString logFilePath;
    QString documentsFolder;
    QDateTime now;
};

/// The result of checking the form's three fields; the texts are what is written back.
struct FeedbackValidation {
    QString email; // lower-cased and trimmed
    QString text; // trimmed
    bool invalidEmail = false;
    bool invalidType = false;
    bool invalidExp = false;

    bool anyMissing() const { return invalidEmail || invalidType || invalidExp; }
};

/// The feedback upload's document, SOAP envelope, file name and attachments. Widget-free.
///
/// The document travels as escaped text inside the envelope's `input` element: its markup is
/// escaped once, and every value once more with the inner escape ("&" -> "&amp;amp;", "<" ->
/// "(lessthan)", quotes and ">" as entities), so that no value can break out of its element.
/// Characters XML cannot carry become U+FFFD.
class FeedbackDocument {
public:
    static constexpr char kServiceNamespace[] = "http://services.vantrel.org/feedback/";
    static constexpr char kLogsNotSelected[] = "LOGSNOTSELECTED";
    static constexpr char kScanLogsNotSelected[] = "SCAN_LOGSNOTSELECTED";
    static constexpr char kUsageReportName[] = "ScanReport.plist";
    static constexpr qint64 kMaxLogBytes = 8 * 1024 * 1024;

    /// The form's rules: address lower-cased and trimmed, then matched; type missing while the
    /// placeholder (index 0) is chosen; text trimmed, missing when empty.
    static FeedbackValidation validate(const QString& email, int typeIndex, const QString& text);

    /// The escaped document (the content of `input`).
    static QString prepareDocument(const FeedbackValues& values);
    /// The whole SOAP envelope, no declaration and no blanks between elements.
    static QString envelope(const FeedbackValues& values, const QString& fileName);
    /// "<name without blanks>-Feedback yyyyMMddTHHmm n.xml".
    static QString fileName(const QString& appName, const QDateTime& now, int randomPart);
    /// The SOAPAction header: the namespace followed by "UploadFeedback".
    static QByteArray soapAction();

    /// The lines of the log from the first one dated within the 16 days up to `now`, each
    /// followed by "\n". Only the last kMaxLogBytes of the file are read; invalid UTF-8 becomes
    /// U+FFFD. "LOGSNOTSELECTED" when the file does not exist.
    static QString readLogsContent(const QString& path, const QDateTime& now);
    static QString logExcerpt(const QString& logText, const QDateTime& now);
    /// The usage report (Documents/ScanReport.plist as an XML property list) or
    /// "SCAN_LOGSNOTSELECTED" when it is missing or not a dictionary.
    static QString usageReport(const QString& documentsFolder);

    /// Fills the log excerpt, the usage report and the system values (file reads: run it off the
    /// main thread).
    static void attach(FeedbackValues& values, const FeedbackAttachments& attachments);

    /// The running system's product name and version, CPU model and installed memory.
    static QString systemOsVersion();
    static QString systemProcName();
    static QString systemRamInfo();

    /// The application's own values: name, version, web-site address.
    static QString bundleName();
    static QString bundleVersion();
    static QString productWebsite(const QString& appName);

    /// The inner escape applied to every value.
    static QString escapeValue(const QString& value);
};

} // namespace vantrel
