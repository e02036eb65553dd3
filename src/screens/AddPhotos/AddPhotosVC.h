#pragma once

#include <memory>

#include <QList>
#include <QPointer>
#include <QStringList>
#include <QUrl>
#include <QWidget>

#include "core/AddPhotos/AddPhotosLogic.h"
#include "core/AddPhotos/AddPhotosView.h"

class QLabel;
class QPushButton;

class QFileDialog;

namespace vantrel {

class BatchArea;
class DragDropBox;
class OptionPopups;
class HighlightedButton;
class RunExecutor;
class Sheet;
class WyProgressIndicator;

/// Told when the add-photos screen switches between the drop area and the batch views.
class AddPhotosDelegate {
public:
    virtual ~AddPhotosDelegate() = default;
    virtual void photosChangedNotification() { }
};

/// What the batch views (grid and list) do for the screen after a change of the batch. The batch
/// views install one; without it the screen keeps its own batch line and footer text.
class AddPhotosBatchArea {
public:
    virtual ~AddPhotosBatchArea() = default;
    virtual void updateBatchInformationInBottomView() = 0;
    virtual void changePhotosViewImageMode() = 0;
    virtual void updateButtonsEnability() = 0;
    virtual void addBottomInfoAboutBatch() = 0;
    virtual void processWithSkippedFilesNotification() { }
    virtual void windowResizing() { }
};

/// Step 1 of the wizard: gathering photos into the batch from files, folders, photo libraries
/// and drops. A thin widget over AddPhotosLogic (the add run); every child has the object name of
/// its outlet. The batch views go into batchViewsContainer().
class AddPhotosVC : public QWidget, public AddPhotosView {
    Q_OBJECT

public:
    /// `executor` runs the add scans (null: a worker thread of the screen's own).
    explicit AddPhotosVC(QWidget* parent = nullptr, RunExecutor* executor = nullptr);
    ~AddPhotosVC() override;

    AddPhotosLogic& logic() { return *m_logic; }
    void setDelegate(AddPhotosDelegate* delegate) { m_delegate = delegate; }
    void setBatchArea(AddPhotosBatchArea* area) { m_batchArea = area; }
    /// The empty widget where the grid and list go (with a vertical box layout).
    QWidget* batchViewsContainer() const { return m_batchViews; }

    // Actions.
    void btnAddPhotosTapped() { btnAddPhotosTappedWithIndex(0); }
    void btnAddFolderTapped() { btnAddPhotosTappedWithIndex(1); }
    void btnAddphotosInMiddleTapped() { btnAddPhotosTappedWithIndex(1); }
    void btnAddMorePhotosTapped();
    /// 0 files, 1 a folder, 2 a folder ("Add with Filters"), 3 nothing.
    void btnAddPhotosTappedWithIndex(int index);
    void btnAddIphotosTapped();
    /// The library panel's test: folders and packages, but not "migratedphotolibrary" ones.
    static bool panelShouldEnableURL(const QString& path);
    void addPhotosAfterDelay(const QList<QUrl>& urls);
    bool addPhotosFromPathUrls(const QList<QUrl>& urls, bool isiPhoto = false);
    void btnStopAddingTapped();
    void processAfterAllPhotosAdded();
    void showPhotosAfterCompletion();
    void enableDragDrop(bool enable) override;
    static bool isTipsAlreadyDisplayed() { return AddPhotosLogic::isTipsAlreadyDisplayed(); }
    QStringList getAllFilesInFolder(const QString& folder, const QString& fileType, bool isSubFolderSelected) const;

    // What the wizard reads.
    bool isRawImageExist() const { return m_logic->isRawImageExist(); }
    int totalPhotoToAdd() const { return m_logic->totalPhotoToAdd(); }
    int damagedFileCount() const { return m_logic->damagedFileCount(); }
    int alreadyExistsPhotosCount() const { return m_logic->alreadyExistsPhotosCount(); }
    bool isAddRunInProgress() const { return m_logic->isProcessingInProgress(); }
    /// Paths dropped on the grid or list: an add run reading folders one level deep.
    bool addPhotosFromDroppedPaths(const QStringList& paths);
    /// Removals take their paths out of the duplicate set.
    void forgetAddedPath(const QString& path) { m_logic->dictFileAdded().remove(path); }
    void forgetAllAddedPaths() { m_logic->dictFileAdded().clear(); }

    // The batch views (grid and list): the operations the wizard and its alerts call.
    BatchArea* batchViewsArea() const { return m_batchViewsArea; }
    QList<PhotoFilePtr> getSelectedPhotoFiles() const;
    void closeBackgroundOperations();
    void btnYesOnRemoveSelectedPhotoTapped();
    void btnYesOnRemoveAllPhotoTapped();
    void btnRemoveFromBatchOnAlertTapped();
    void checkForDeletedPhotosInSourceFolder();

    // AddPhotosView.
    void setAddingProgressViewHidden(bool hidden) override;
    void setStopButtonHidden(bool hidden) override;
    void showProgressSheet() override;
    void endProgressSheet() override;
    void setProgressTexts(const QString& inScreen, const QString& onSheet, const QString& path) override;
    void resetProgress() override;
    void hideDragnDropImageSetHidden(bool hidden) override;
    void updateBatchInformationInBottomView() override;
    void changePhotosViewImageMode() override;
    void updateButtonsEnability() override;
    void addBottomInfoAboutBatch() override;
    void showMessageAlert(const QString& message, const QString& informativeText, const QString& button) override;
    void addRunFinished() override;

private:
    void openMessageAlert(const QString& message, const QString& informativeText, const QString& button);
    void buildInterface();
    QWidget* buildToolbar();
    QWidget* buildDropArea();
    QWidget* buildProgressSheet();
    void registerObservers();
    void setAddButtonsEnabled(bool enabled);
    void refuseTrash();
    /// Opens a panel window-modally; what it chooses (only library folders when `librariesOnly`)
    /// is added after the usual delay, unless its first item lies in the Trash.
    void openPanel(QFileDialog* panel, bool librariesOnly);

    std::unique_ptr<AddPhotosLogic> m_logic;
    AddPhotosDelegate* m_delegate = nullptr;
    AddPhotosBatchArea* m_batchArea = nullptr;
    BatchArea* m_batchViewsArea = nullptr;
    OptionPopups* m_optionPopups = nullptr;
    QPointer<Sheet> m_sheet;
    /// The control that had the focus when a file panel opened: it gets it back when the panel
    /// closes and again when the run started from the panel ends (the run disables the buttons,
    /// which moves the focus on).
    QPointer<QWidget> m_panelOpener;

    // Outlets.
    QWidget* m_vwPhotosHeader = nullptr;
    HighlightedButton* m_btnAddPhotos = nullptr;
    HighlightedButton* m_btnAddFolder = nullptr;
    HighlightedButton* m_btnAddPhotosLibrary = nullptr;
    HighlightedButton* m_btnAddMorePhotos = nullptr;
    QWidget* m_viewDragNDrop = nullptr;
    DragDropBox* m_leftBox = nullptr;
    QPushButton* m_btnAddPhotos_center = nullptr;
    QLabel* m_lblDropHint = nullptr;
    QWidget* m_vWAddingPhotos = nullptr;
    QLabel* m_txtCurrentProgress = nullptr;
    QPushButton* m_btnstopOnAddPhotos = nullptr;
    QWidget* m_batchViews = nullptr;
    QWidget* m_vWImageMetadata = nullptr;
    QLabel* m_lblBatchInfo = nullptr;
    QWidget* m_winAddingPhotos = nullptr;
    QLabel* m_txtCurrentProgressOnWin = nullptr;
    QLabel* m_lblFilePathOnPopup = nullptr;
    WyProgressIndicator* m_progressIndicator = nullptr;
};

} // namespace vantrel
