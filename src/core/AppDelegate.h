#pragma once

#include <atomic>
#include <memory>
#include <mutex>

#include <QHash>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QVariant>

namespace vantrel {

class PhotoFile;
class DBManager;

using PhotoFilePtr = std::shared_ptr<PhotoFile>;
using LanguageTable = QHash<QString, QString>;

/// The application-wide state that the screens, the batch run and the readers share: the batch,
/// the log-database gateway, the language table, the RAW answer and the flags. One instance for
/// the life of the process, reached through shareDelegate(); tests make a fresh one with
/// resetShared().
///
/// Threads: everything is read and written on the main thread, except that the add scan and the
/// batch run read photo records from their workers (each batch change happens inside a
/// main-thread hop). Flags read across threads are atomic; the language table is guarded.
class AppDelegate {
public:
    static AppDelegate* shareDelegate();
    /// Replaces the shared instance with a fresh one (tests, and a clean start).
    static AppDelegate* resetShared();

    // Owned elsewhere (the window layer); kept as plain object pointers here.
    QPointer<QObject> myWindowController;
    QPointer<QObject> tracker;
    QPointer<QObject> internetReachability;
    QPointer<QObject> hostReachability;
    QPointer<QObject> wifiReachability;
    QPointer<QObject> window;

    std::atomic<bool> isSubWindowOpened{false};
    std::atomic<bool> isExifEditingFirstTime{false};
    std::atomic<bool> isProcessingInProgress{false};
    std::atomic<bool> isDisableview{false};
    std::atomic<bool> isOSX_15_AndAbove{false};
    std::atomic<bool> isOSX_16_AndAbove{false};
    std::atomic<bool> isInternetAvailable{false};
    std::atomic<bool> isInternetAvailableUsingDataProvider{false};
    std::atomic<bool> isInternetAvailableUsingWiFi{false};
    std::atomic<bool> connectionRequired{false};
    std::atomic<bool> isSaveSessionShown{false};
    std::atomic<qint32> networkStatus{0};

    /// THE batch, in order. Changed on the main thread only.
    QList<PhotoFilePtr> arraySelectedImagesToProcess;
    QList<QVariant> arrayPresets; // kept, never used

    QString baseTrackURL; // kept, never used
    QString strPhoneNumber;

    QString rawConvertFormat() const;
    void setRawConvertFormat(const QString& format);

    /// The language table; empty until loaded. Safe from any thread.
    std::shared_ptr<const LanguageTable> dictLanguage() const;
    void setDictLanguage(LanguageTable table);

    std::shared_ptr<DBManager> dbManager;

private:
    AppDelegate() = default;

    mutable std::mutex m_mutex;
    QString m_rawConvertFormat = QStringLiteral("png");
    std::shared_ptr<const LanguageTable> m_dictLanguage;
};

} // namespace vantrel
