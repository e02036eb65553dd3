#pragma once

#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QStackedLayout>
#include <QWidget>

#include "components/IMGButton.h"
#include "components/LocalMouseMonitor.h"
#include "components/Sheet.h"
#include "components/TorAttachedWindow.h"
#include "screens/Batch/BatchPresenter.h"
#include "screens/Cells/ButtonTableCellDelegate.h"

namespace vantrel {

class BatchGridView;
class BatchListView;
class PhotoInfoView;
class PhotoMenuView;
class TorAttachedWindow;
class EscapeKeyMonitor;
class LocalMouseMonitor;
class NoNewPhotosAlertView;
class Sheet;

/// The batch on screen: the header with the three view-mode buttons, mark all and the remove
/// buttons; the grid or the list; the batch line. A thin widget over BatchPresenter, which it
/// serves as its BatchView; the add-photos screen hosts it and is its BatchHost. Every header
/// button is in the keyboard's reach (Tab in reading order, Space presses it), and so is the
/// info control of the view's current photo. The photo menu opened by a key takes the keyboard
/// and gives it back to the grid or the list when it closes.
class BatchBrowser : public QWidget, public BatchView, public ButtonTableCellDelegate {
    Q_OBJECT
public:
    explicit BatchBrowser(BatchHost* host, QList<PhotoFilePtr>* batch = nullptr, QWidget* parent = nullptr);
    ~BatchBrowser() override;

    BatchPresenter* presenter() const { return m_presenter; }
    BatchListView* tblPhotos() const { return m_list; }
    BatchGridView* collectionView() const { return m_grid; }
    IMGButton* modeButton(BatchViewMode mode) const;
    IMGButton* btnMarkAllOnGridHeader() const { return m_btnMarkAllOnGridHeader; }
    QLabel* lblMarkAllOngridHeader() const { return m_lblMarkAllOngridHeader; }
    IMGButton* btnMarkAllOnTblHeader() const { return m_btnMarkAllOnTblHeader; }
    IMGButton* btnRemoveAllOnTblHeader() const { return m_btnRemoveAllOnTblHeader; }
    QPushButton* btnRemovePhoto() const { return m_btnRemovePhoto; }
    QPushButton* btnRemoveAllPhoto() const { return m_btnRemoveAllPhoto; }
    QLabel* lblBatchInfo() const { return m_lblBatchInfo; }
    /// The image name each named button shows now (for tests and the screenshots' checks).
    static QString imageNameOf(const IMGButton* button);

    /// The open popups, or nullptr.
    TorAttachedWindow* infoWindow() const { return m_infoWindow; }
    TorAttachedWindow* menuOptionsWindow() const { return m_menuOptionsWindow; }
    PhotoInfoView* infoView() const { return m_infoView; }
    PhotoMenuView* menuView() const { return m_menuView; }
    NoNewPhotosAlertView* noNewPhotosAlert() const { return m_noNewPhotos; }

    // BatchView
    void showViewMode(BatchViewMode mode, const BatchViewModeLook& look, bool batchEmpty) override;
    void windowResizing() override;
    void reloadCheckMark(qsizetype index) override;
    void reloadVisibleView() override;
    void reloadBothViews() override;
    void removeListRow(qsizetype index) override;
    void setButtons(const BatchButtonsLook& look) override;
    void setBatchLine(const BatchInfoLine::Styled& line) override;
    void closeThumbnailWork() override;
    void showNotAvailableOnCell(qsizetype index) override;
    void showNoNewPhotosAlert(const QString& title, const QString& message, AlertSheetButton button) override;
    void hideNoNewPhotosAlert() override;
    void showInfoPopup(QPoint at, const QList<PhotoInfoRows::Row>& rows) override;
    void dismissInfoPopup() override;
    void showPhotoMenu(QPoint at) override;
    void dismissPhotoMenu() override;

    // ButtonTableCellDelegate
    void btnInfoTappedAtLocationInTableView(QPoint location, qsizetype index) override;
    void btnDeleteTappedAtLocationInTableView(QPoint location, qsizetype index) override;
    void btnCheckTappedAtLocationInTableView(QPoint location, qsizetype index) override;

protected:
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    /// Tab in reading order, but for the list's header buttons: they sit over the list's
    /// header and are read before the list, as the grid's header is read before the grid, so
    /// the current row's info control comes right after the list.
    bool focusNextPrevChild(bool next) override;

private:
    IMGButton* makeImageButton(const QString& objectName, const QString& accessibleName, QWidget* parent);
    static void setButtonImage(IMGButton* button, const QString& imageName);
    void buildHeader();
    TorAttachedWindow* attachPopup(
        QWidget* content, QPoint at, int side, bool arrow, const QColor& background, void (BatchBrowser::*dismiss)());
    /// Stops the click and Escape monitors of the last opened popup.
    void stopPopupMonitors();
    void closePopup(QPointer<TorAttachedWindow>& popup, QWidget* content);
    void layoutListHeaderButtons();
    /// Opens the photo menu of a photo from the keyboard: its first item takes the keyboard.
    void openPhotoMenuByKey(QPoint at, qsizetype index, QWidget* from);

    QList<PhotoFilePtr>* m_batch;
    BatchPresenter* m_presenter;
    QWidget* m_header = nullptr;
    IMGButton* m_modeButtons[3] {};
    QWidget* m_underlines[3] {};
    IMGButton* m_btnMarkAllOnGridHeader = nullptr;
    QLabel* m_lblMarkAllOngridHeader = nullptr;
    QPushButton* m_btnRemovePhoto = nullptr;
    QPushButton* m_btnRemoveAllPhoto = nullptr;
    IMGButton* m_btnMarkAllOnTblHeader = nullptr;
    IMGButton* m_btnRemoveAllOnTblHeader = nullptr;
    QStackedLayout* m_stack = nullptr;
    QWidget* m_emptyPage = nullptr;
    BatchListView* m_list = nullptr;
    BatchGridView* m_grid = nullptr;
    QLabel* m_lblBatchInfo = nullptr;
    PhotoInfoView* m_infoView = nullptr;
    PhotoMenuView* m_menuView = nullptr;
    NoNewPhotosAlertView* m_noNewPhotos = nullptr;
    QPointer<TorAttachedWindow> m_infoWindow;
    QPointer<TorAttachedWindow> m_menuOptionsWindow;
    QPointer<LocalMouseMonitor> m_mouseEventMonitor;
    /// Escape closes the last opened popup, as its close control or a click outside does.
    QPointer<EscapeKeyMonitor> m_escapeMonitor;
    QPointer<Sheet> m_noNewPhotosSheet;
    /// The view a key opened the photo menu from, and is given the keyboard back on its close.
    QPointer<QWidget> m_menuKeyboardOwner;
};

} // namespace vantrel
