#pragma once

#include <QPoint>
#include <QStringList>
#include <QTimer>

#include "components/CollectionView/KeltCollectionView.h"
#include "components/CollectionView/KeltCollectionViewDataSource.h"
#include "components/CollectionView/KeltCollectionViewDelegate.h"
#include "components/CollectionView/KeltCollectionViewGridLayout.h"
#include "core/Batch/BatchViewRules.h"
#include "core/DataBeans/PhotoFile.h"

namespace vantrel {

class GridCell;
class ThumbnailService;

/// The batch as a grid of thumbnails: a collection view with GridCell items of 180 x 220 (220 x
/// 300 in the big grid), 10 pixels apart. Once scrolling pauses for 0.02 seconds the visible
/// cells get their thumbnails (404 x 414) from the cache or from two decoding workers; a
/// thumbnail lands only on a cell that still shows the same item and the same photo. The Menu
/// key and Shift+F10 ask for the current item's photo menu, Delete and Backspace for its removal.
class BatchGridView : public KeltCollectionView,
                      public KeltCollectionViewDataSource,
                      public KeltCollectionViewDelegate,
                      public KeltCollectionViewGridLayoutDelegate {
    Q_OBJECT
public:
    static constexpr qint64 kCacheBytes = 128LL * 1024 * 1024;
    static constexpr char kCellIdentifier[] = "CELL";
    /// Big-grid cells are pooled apart: the big check-box placement cannot be undone on a cell,
    /// so a cell that served the big grid never serves the normal one.
    static constexpr char kBigCellIdentifier[] = "CELL_BIG";

    explicit BatchGridView(const QList<PhotoFilePtr>* batch, QWidget* parent = nullptr);
    ~BatchGridView() override;

    ThumbnailService* thumbnails() const { return m_thumbnails; }
    /// Replaces the thumbnail service (tests give one with a fake decoder).
    void setThumbnailService(ThumbnailService* service);

    /// Reloads every item; the current item stays current (the last one when fewer are left).
    void reloadData() override;
    void setMode(BatchViewMode mode);
    BatchViewMode mode() const { return m_mode; }
    /// Restarts the 0.02-second pause after which the visible cells get their thumbnails.
    void collectionViewBoundsDidChange();
    /// Gives the visible cells their cached thumbnails and requests the others.
    void scrollingEndAfterDelay();
    bool isScrollingDone() const { return m_isScrollingDone; }
    void reloadCheckMark(qsizetype index);
    void showNotAvailable(qsizetype index);
    void closeThumbnailWork();
    /// The visible cell of an item, or nullptr.
    GridCell* gridCellAt(qsizetype index) const;

    // KeltCollectionViewDataSource
    qint64 numberOfItemsInSection(KeltCollectionView* collectionView, qint64 section) override;
    KeltCollectionViewCell* cellForItemAtIndexPath(
        KeltCollectionView* collectionView, KeltIndexPath indexPath) override;
    qint64 numberOfSectionsInCollectionView(KeltCollectionView* collectionView) override;
    // KeltCollectionViewGridLayoutDelegate
    std::optional<QSizeF> sizeForItemInCollectionView(KeltCollectionView* collectionView) override;
    // KeltCollectionViewDelegate
    bool shouldDeselectItemAtIndexPath(KeltCollectionView* cv, KeltIndexPath path) override;
    void didRightClickItemAtIndexPath(KeltCollectionView* cv, KeltIndexPath path, QMouseEvent* event) override;
    void btnInfoTappedAtLocationInCollectionView(QPointF location, KeltIndexPath andIndex) override;
    void btnCheckboxTappedAtLocationInCollectionView(QPointF location, KeltIndexPath andIndex) override;

signals:
    /// The check box of an item; the location is the cell's top-left in this view.
    void checkboxTapped(QPoint location, qsizetype index);
    /// The info control of an item; the location is the control's top-left in this view.
    void infoTapped(QPoint location, qsizetype index);
    void rightClicked(QPoint location, qsizetype index);
    /// The menu keys on the current item; the location is the item's centre in this view.
    void photoMenuKeyPressed(QPoint location, qsizetype index);
    /// Delete or Backspace on the current item.
    void removeKeyPressed(qsizetype index);
    void pathsDropped(const QStringList& paths);
    /// Any change of the visible part (the information popup closes).
    void scrolled();

protected:
    /// Reached by Tab with no current item, the grid makes its first item current, as a list
    /// does with its first row, so the ring and the info control are on a photo at once.
    void focusInEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    /// The ring and the info control in the keyboard's reach follow the current item.
    void selectionDidChange() override;

private:
    void onThumbnail(qsizetype item, const QString& path, const QImage& image);
    QPoint cellOrigin(qsizetype index) const;
    /// The current item (the last selected) while the grid still holds it; nothing otherwise.
    OptionalIndexPath validCurrentItem() const;
    /// Emits photoMenuKeyPressed for the current item; false without one.
    bool openMenuOfCurrentItem();
    /// Whether an item is the current one (the last selected), whose info control the keyboard
    /// reaches.
    bool isCurrentItem(qint64 item) const;

    const QList<PhotoFilePtr>* m_batch;
    ThumbnailService* m_thumbnails = nullptr;
    BatchViewMode m_mode = BatchViewMode::Grid;
    QTimer m_scrollingTimer;
    bool m_isScrollingDone = true;
};

} // namespace vantrel
