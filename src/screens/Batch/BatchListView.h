#pragma once

#include <QTableView>
#include <QTimer>

#include "core/DataBeans/PhotoFile.h"

namespace vantrel {

class BatchListDelegate;
class BatchListModel;
class ButtonTableCellDelegate;
class PhotoInfoButton;
class ThumbnailService;

/// The batch as a list: rows 35 high on the dark panel, no selection highlight, thumbnails
/// 70 x 48 loaded for the visible rows once scrolling pauses for 0.02 seconds, right click (or
/// the Menu key and Shift+F10 on the current row) for the photo menu, Delete and Backspace on
/// the current row as its remove button, drops of files and folders. Each visible row carries an info control at the
/// right end of its name column (accessible name "Photo information") that asks the receiver
/// for the row's information popup; the controls exist for the visible rows only and follow
/// scrolling.
class BatchListView : public QTableView {
    Q_OBJECT
public:
    static constexpr qint64 kCacheBytes = 32LL * 1024 * 1024;

    BatchListView(const QList<PhotoFilePtr>* batch, ButtonTableCellDelegate* receiver, QWidget* parent = nullptr);
    ~BatchListView() override;

    BatchListModel* batchModel() const { return m_model; }
    ThumbnailService* thumbnails() const { return m_thumbnails; }
    /// Replaces the thumbnail service (tests give one with a fake decoder).
    void setThumbnailService(ThumbnailService* service);

    /// Restarts the 0.02-second pause after which the visible rows get their thumbnails.
    void tableviewPhotosBoundDidChange();
    /// Requests the thumbnails of the visible rows that have none cached.
    void loadTableViewThumbnailImages();
    /// Rows visible now (first, last); (-1, -1) for none.
    QPair<int, int> visibleRows() const;
    /// Drops cached thumbnails and queued requests.
    void closeThumbnailWork();
    /// The info control of a visible row, or nullptr.
    PhotoInfoButton* infoButtonOfRow(int row) const;

signals:
    /// Right click on a row, with the click's point in the list's window.
    void rightClickedRow(QPoint at, int row);
    /// The menu keys on the current row, with a point inside the row's name in the list's window.
    void photoMenuKeyPressed(QPoint at, int row);
    /// Paths dropped on the list.
    void pathsDropped(const QStringList& paths);
    /// Thumbnail loading starts (the information popup closes).
    void thumbnailsLoading();

protected:
    void showEvent(QShowEvent* event) override;
    void updateGeometries() override;
    void scrollContentsBy(int dx, int dy) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void onThumbnail(qsizetype item, const QString& path, const QImage& image);
    /// Places one info control on each visible row, hiding the spare ones.
    void layoutInfoButtons();
    PhotoInfoButton* makeInfoButton();
    /// Emits photoMenuKeyPressed for the current row; false without one.
    bool openMenuOfCurrentRow();
    /// The current row's button in `column` pressed from the keyboard, as a click on it would
    /// press it; nothing without a current row.
    void pressButtonOfCurrentRow(int column, void (ButtonTableCellDelegate::*press)(QPoint, qsizetype));

    const QList<PhotoFilePtr>* m_batch;
    BatchListModel* m_model;
    BatchListDelegate* m_delegate;
    ButtonTableCellDelegate* m_receiver;
    QList<PhotoInfoButton*> m_infoButtons;
    ThumbnailService* m_thumbnails = nullptr;
    QTimer m_debounce;
    int m_rowBeforeReset = -1;
};

} // namespace vantrel
