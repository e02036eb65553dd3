#pragma once

#include <QObject>
#include <QPoint>

#include "core/Batch/BatchPopupRules.h"
#include "core/Batch/MissingPhotoCheck.h"
#include "core/DataBeans/PhotoFile.h"
#include "screens/Batch/BatchViewInterfaces.h"

namespace vantrel {

/// The batch screen's behaviour without widgets: view modes, check marks, the batch line, removals
/// and their alerts, the missing-photo checks, the information popup's rows and the photo menu.
/// The widgets (BatchView) only show; the hosting add-photos screen (BatchHost) owns the
/// duplicate map and the refresh after a change.
///
/// The batch is the application's shared list, changed here on the main thread only. Alerts go
/// out as "notificationShowAlertWithType" with their number under "type".
class BatchPresenter : public QObject {
    Q_OBJECT
public:
    /// `batch` defaults to the application delegate's batch.
    BatchPresenter(BatchView* view, BatchHost* host, QList<PhotoFilePtr>* batch = nullptr, QObject* parent = nullptr);

    const QList<PhotoFilePtr>& batch() const { return *m_batch; }
    BatchViewMode mode() const { return m_mode; }

    // View modes and check marks
    void btnViewPhotosModetapped(int tag);
    void changePhotosViewImageMode(BatchViewMode mode);
    void btnCheckboxTappedAtLocationInCollectionView(QPoint location, qsizetype index);
    void btnCheckTappedAtLocationInTableView(QPoint location, qsizetype index);
    void btnMarkAllTapped() { markUnmarkAll(); }
    /// A key press with its modifiers: Control alone (with any key) runs mark all.
    bool keyDown(bool control, bool shift, bool alt, bool meta);
    void markUnmarkAll();
    QList<PhotoFilePtr> getSelectedPhotoFiles() const;
    void updateButtonsEnability();
    void updateBatchInformationInBottomView();
    /// Posts "notificationUpdateFooterInfo" with the styled line as rich text under "textStr".
    void addBottomInfoAboutBatch();
    void processWithSkippedFilesNotification();
    void closeBackgroundOperations();

    // Removals
    void btnRemovePhotoTapped(int tag);
    void btnYesOnRemoveSelectedPhotoTapped();
    void btnYesOnRemoveAllPhotoTapped();
    void btnDeleteTappedAtLocationInTableView(QPoint location, qsizetype index);
    /// Looks for missing photos on a worker; requests alert 103 to 106 when some are missing.
    void checkForDeletedPhotosInSourceFolder();
    /// Removes, once a worker has found them, the photos whose files are gone.
    void btnRemoveFromBatchOnAlertTapped();
    void photoNotAvailableOnIndex(qsizetype index);
    void hideNoNewPhotosAlertWindow(bool hide);

    // Information popup and photo menu
    /// The info button of a photo: the popup with its rows at `at`, or the not-available sheet.
    void btnInfoTapped(QPoint at, qsizetype index);
    /// A right click on a photo: remembers it and opens the menu at `at`. Nothing outside the batch.
    void showMenuForIndex(QPoint at, qsizetype index);
    void btnOnMenuOptionTapped(int option);
    /// Delete or Backspace on a grid item: the photo leaves the batch as by the menu's remove row.
    void removePhotoByKey(qsizetype index);
    qsizetype selectedMenuFileIndexPath() const { return m_selectedMenuIndex; }

    /// Paths dropped on the grid or the list: handed to the host's add run.
    void acceptDrop(const QStringList& paths);

    /// The file test of the missing-photo checks (tests inject theirs).
    void setExistsProbe(MissingPhotoCheck::ExistsProbe probe) { m_exists = std::move(probe); }
    /// True while a missing-photo check or removal is looking at the files.
    bool isCheckingFiles() const { return m_filesChecks > 0; }

signals:
    /// Emitted when a worker's answer about missing photos has been applied (tests wait for it).
    void missingPhotosHandled();

private:
    void postAlert(int type);
    /// The screen's alert sheet naming the file the desktop could not show or open.
    void fileNotShown(PhotoMenuAction action, const QString& path);
    void forget(const QString& path);
    bool photoFileExists(qsizetype index) const;
    void toggleCheck(qsizetype index);

    BatchView* m_view;
    BatchHost* m_host;
    QList<PhotoFilePtr>* m_batch;
    BatchViewMode m_mode = BatchViewMode::Grid;
    qsizetype m_selectedMenuIndex = -1;
    int m_filesChecks = 0;
    MissingPhotoCheck::ExistsProbe m_exists = MissingPhotoCheck::fileExists;
};

} // namespace vantrel
