#pragma once

#include <atomic>
#include <memory>

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QUrl>

#include "core/AddPhotos/AddScanTypes.h"
#include "core/AddPhotos/AddedPaths.h"

namespace vantrel {

class AddPhotosView;
class RunExecutor;

/// The add run of the add-photos screen, without widgets: every way of adding photos ends in
/// addPhotosFromPathUrls(). The scan runs on one worker thread (the executor's); accepted photos
/// come back to the main thread in groups, where they are appended to the shared batch, and the
/// run ends with the refresh of the screen and at most one alert (posted as notifications).
///
/// One run at a time: while a run is in progress every entry point refuses. Everything here is
/// called on the main thread; the worker only reads the stop flag and the duplicate set.
class AddPhotosLogic {
public:
    /// `executor` runs the scan (not owned; null: a thread of the logic's own).
    explicit AddPhotosLogic(AddPhotosView* view, RunExecutor* executor = nullptr);
    ~AddPhotosLogic();
    AddPhotosLogic(const AddPhotosLogic&) = delete;
    AddPhotosLogic& operator=(const AddPhotosLogic&) = delete;

    /// Starts an add run over file URLs (local files only; others are left out). The second
    /// argument is not used. False when a run is already in progress or nothing is local.
    bool addPhotosFromPathUrls(const QList<QUrl>& urls, bool isiPhoto = false);
    /// The same, after a drop on the drop box: folders are walked with their subfolders.
    bool handleFileDragDropPaths(const QStringList& paths);
    /// Observer of "FileDragDropNotification" (user info "paths").
    void startObservingDrops();
    /// The stop button: the scan ends before the next photo is appended.
    void btnStopAddingTapped();

    /// The refresh after a run (also used by removals).
    void processAfterAllPhotosAdded();
    void showPhotosAfterCompletion();

    /// Tests and appends one path (display name = last path component), reporting it to the
    /// progress text. Skips silently a path that does not end with a `fileType` other than "ALL",
    /// a path already added and a refused type; a pixel size not above 0 sets the
    /// unsupported-format flag. True when appended.
    bool addToImageArray(const QString& path, const QString& fileType);
    /// Validates and appends the photos of an iPhoto/Aperture library (or of a Photos library);
    /// returns the number accepted. Synchronous: for tools, not for the main thread.
    int countTotalPhotosInIPhotoFolder(const QString& packagePath, const QString& fileType);
    int countTotalPhotosInPhotosAppFolder(const QString& packagePath, const QString& fileType);
    static QStringList getAllFilesInFolder(const QString& folder, const QString& fileType, bool isSubFolderSelected);

    /// True when the defaults hold "tips_isDisable" or "tips_addPhotosView".
    static bool isTipsAlreadyDisplayed();

    /// The duplicate set (`dictFileAdded`): removals take their paths out of it.
    AddedPaths& dictFileAdded() { return m_shared->added; }

    // The run's state.
    bool isProcessingInProgress() const { return m_shared->inProgress.load(); }
    bool isProcessingStopped() const { return m_shared->stop.load(); }
    qint32 totalPhotoToAdd() const { return m_totalPhotoToAdd; }
    qint32 photosAdded() const { return m_photosAdded; }
    const AddScanOutcome& lastOutcome() const { return m_outcome; }
    bool isMaxPhotosLimitExceeded() const { return m_outcome.isMaxPhotosLimitExceeded; }
    bool isPhotosAlreadyAdded() const { return m_outcome.isPhotosAlreadyAdded; }
    bool isPhotoFormatNotSupported() const { return m_outcome.isPhotoFormatNotSupported; }
    qint32 damagedFileCount() const { return m_outcome.damagedFileCount; }
    qint32 alreadyExistsPhotosCount() const { return m_outcome.alreadyExistsPhotosCount; }
    /// Some accepted photo needs the RAW question; never cleared by this screen.
    bool isRawImageExist() const { return m_isRawImageExist; }
    bool isAddFromSubFolderSelected() const { return m_isAddFromSubFolderSelected; }
    void setIsAddFromSubFolderSelected(bool value) { m_isAddFromSubFolderSelected = value; }
    AddPathType pathType() const { return m_pathType; }
    void setPathType(AddPathType type) { m_pathType = type; }
    /// The rows of the add-options popup.
    static QStringList arrAddPhotosOptions();

    /// The most photos one run accepts (tests inject a small one).
    void setPhotoLimit(qint64 limit) { m_limit = limit; }
    /// How accepted photos are grouped on their way to the main thread.
    void setDeliveryGrouping(int maxGroup, int intervalMs);

    /// The progress texts for a count of photos added and the last path.
    static QString progressTextInScreen(const QString& path, qint32 photosAdded);
    static QString progressTextOnSheet(qint32 photosAdded);

private:
    struct Shared {
        AddedPaths added;
        std::atomic<bool> stop { false };
        std::atomic<bool> inProgress { false };
        AddPhotosLogic* owner = nullptr; ///< null once the logic is gone (read on the main thread)
    };

    bool startRun(const QStringList& paths);
    void appendPhotos(const QList<PhotoFilePtr>& photos);
    void finishRun(const AddScanOutcome& outcome);

    AddPhotosView* m_view;
    RunExecutor* m_executor;
    std::unique_ptr<RunExecutor> m_ownExecutor;
    std::shared_ptr<Shared> m_shared;
    QObject m_observerContext;
    qint64 m_limit = kMaxPhotosPerRun;
    int m_maxGroup = 256;
    int m_intervalMs = 16;
    qint32 m_totalPhotoToAdd = 0;
    qint32 m_photosAdded = 0;
    AddScanOutcome m_outcome;
    bool m_isRawImageExist = false;
    bool m_isAddFromSubFolderSelected = false;
    AddPathType m_pathType = AddPathType::None;
};

} // namespace vantrel
