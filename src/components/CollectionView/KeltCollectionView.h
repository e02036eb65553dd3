#pragma once

#include <functional>
#include <vector>

#include <QHash>
#include <QSizeF>
#include <QString>

#include "components/CollectionView/KeltCollectionViewModel.h"
#include "components/CollectionView/KeltScrollView.h"

class QMouseEvent;

namespace vantrel {

class KeltCollectionViewCell;
class KeltCollectionViewReusableView;

/// A cell-reusing collection view: items grouped in sections are shown as cells whose frames come
/// from a layout object. Only the items inside the visible rectangle have cells; cells that leave
/// it are hidden and pooled by reuse identifier (last in, first out). The document is virtual
/// (see KeltScrollView), so a million items need no more widgets than a screenful. The logic
/// without widgets (data, layout, selection, keys) is KeltCollectionViewModel's.
class KeltCollectionView : public KeltScrollView, public KeltCollectionViewModel {
    Q_OBJECT

public:
    using CellFactory = std::function<KeltCollectionViewCell*()>;
    using SupplementaryViewFactory = std::function<KeltCollectionViewReusableView*()>;

    explicit KeltCollectionView(QWidget* parent = nullptr);
    ~KeltCollectionView() override;

    void registerClass(CellFactory factory, const QString& forCellWithReuseIdentifier);
    template <class Cell> void registerClass(const QString& forCellWithReuseIdentifier)
    {
        registerClass([] { return new Cell; }, forCellWithReuseIdentifier);
    }
    void registerClass(SupplementaryViewFactory factory, const QString& forSupplementaryViewOfKind,
        const QString& withReuseIdentifier);

    /// The last pooled cell of the identifier, or a new one of its registered class; its reuse
    /// identifier is set, prepareForReuse sent and the item index stored.
    KeltCollectionViewCell* dequeueReusableCellWithIdentifier(const QString& identifier, int SetIndex);
    KeltCollectionViewCell* dequeueReusableCellWithIdentifier(const QString& identifier);
    KeltCollectionViewReusableView* dequeueReusableSupplementaryViewOfKind(
        const QString& kind, const QString& withReuseIdentifer);
    void enqueueReusableCell(KeltCollectionViewCell* cell, const QString& withIdentifier);
    void enqueueReusableSupplementaryView(
        KeltCollectionViewReusableView* view, const QString& ofKind, const QString& withReuseIdentifier);

    void reloadData() override;

    // Queries beyond the model's.
    std::vector<KeltCollectionViewCell*> visibleCells() const;
    KeltCollectionViewCell* cellForItemAtIndexPath(KeltIndexPath indexPath) const;
    KeltCollectionViewReusableView* supplementaryViewForKind(
        const QString& kind, const QString& reuseIdentifier, qint64 inSection) const;
    OptionalIndexPath indexPathForCell(const KeltCollectionViewCell* cell) const;
    /// Number of cells waiting in the pools (all identifiers).
    qint64 reusableCellCount() const;

    void scrollToItemAtIndexPath(
        OptionalIndexPath indexPath, KeltScrollPosition scrollPosition, bool animated) override;
    void scrollToBeginningOfDocument();
    void scrollToEndOfDocument();

    // The model's widget-free answers.
    QRectF documentVisibleRect() const override { return KeltScrollView::documentVisibleRect(); }
    KeltCollectionView* collectionViewWidget() override { return this; }
    QStringList supplementaryViewKinds() const override;

    /// The layout pass: keeps the cells in step with the visible rectangle; a change of the
    /// visible size may re-prepare the layout first.
    void layoutDocument();

    // Calls from cells.
    void mouseDownInCollectionViewCell(KeltCollectionViewCell* cell, QMouseEvent* withEvent);
    void mouseUpInCollectionViewCell(KeltCollectionViewCell* cell, QMouseEvent* withEvent);
    void mouseMovedInCollectionViewCell(KeltCollectionViewCell* cell, QMouseEvent* withEvent);
    void mouseDraggedInCollectionViewCell(KeltCollectionViewCell* cell, QMouseEvent* withEvent);
    void mouseEnteredInCollectionViewCell(KeltCollectionViewCell* cell, QEvent* withEvent);
    void mouseExitedInCollectionViewCell(KeltCollectionViewCell* cell, QEvent* withEvent);
    void doubleClickInCollectionViewCell(KeltCollectionViewCell* cell, QMouseEvent* withEvent);
    void rightClickInCollectionViewCell(KeltCollectionViewCell* cell, QMouseEvent* withEvent);
    void btnInfoTappedAtLocationInCollectionView(QPointF location, KeltIndexPath andIndex);
    void btnCheckboxTappedAtLocationInCollectionView(QPointF location, KeltIndexPath andIndex);

    QString description() const;
    /// The widget two levels above the view (or the highest one there is): cells report the
    /// locations of their buttons in its coordinates, where popups anchored to them are placed.
    QWidget* locationsView() const;

protected:
    /// Tells the focus ring where the current (last selected) item shows: after each layout pass
    /// and once per selection call that changed the selection.
    void updateFocusRect();
    void performFullRelayoutForcingSubviewsReset(bool reset) override;
    void setSelectedOnVisibleCell(KeltIndexPath indexPath, bool selected, bool animated) override;
    void selectionDidChange() override;
    void reflectScrolledClipView() override;
    bool viewportEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void layoutCellsWithRedraw(bool redraw);
    void layoutSupplementaryViewsWithRedraw(bool redraw);
    void applyLayoutAttributes(KeltCollectionViewCell* cell, const OptionalLayoutAttributes& attributes);
    void applyLayoutAttributes(KeltCollectionViewReusableView* view, const OptionalLayoutAttributes& attributes);
    QRect viewportRect(const QRectF& documentFrame) const;
    void discard(QWidget* view);

    QHash<QString, CellFactory> m_cellClassMap;
    QHash<QString, SupplementaryViewFactory> m_supplementaryViewClassMap;
    QHash<QString, std::vector<KeltCollectionViewCell*>> m_reusableCells;
    QHash<QString, std::vector<KeltCollectionViewReusableView*>> m_reusableSupplementaryViews;
    QHash<KeltIndexPath, KeltCollectionViewCell*> m_visibleCellsMap;
    QHash<QString, KeltCollectionViewReusableView*> m_visibleSupplementaryViewsMap;
    QSizeF m_lastDrawnSize;
    bool m_inLayout = false;
    bool m_layoutAgain = false;
};

} // namespace vantrel
