#pragma once

#include <memory>
#include <vector>

#include <QPointF>
#include <QRectF>
#include <QStringList>

#include "components/CollectionView/KeltCollectionViewData.h"
#include "components/CollectionView/KeltCollectionViewLayout.h"
#include "components/CollectionView/KeltIndexPath.h"
#include "components/CollectionView/KeltSelectionList.h"

namespace vantrel {

class KeltCollectionView;
class KeltCollectionViewDataSource;
class KeltCollectionViewDelegate;

enum class KeltSelectionType { Single = 0, Extend = 1, Toggle = 2 };
enum class KeltScrollPosition { None = 0, Nearest = 1, Top = 2, Middle = 3, Bottom = 4 };

/// The collection view's logic without widgets: the data source, delegate, layout and data
/// object, the item queries, the selection and the arrow-key moves. The widget
/// (KeltCollectionView) adds cells, scrolling and events through the virtual hooks; tests drive
/// this class headless with a fixed visible rectangle.
class KeltCollectionViewModel {
public:
    KeltCollectionViewModel();
    virtual ~KeltCollectionViewModel();
    KeltCollectionViewModel(const KeltCollectionViewModel&) = delete;
    KeltCollectionViewModel& operator=(const KeltCollectionViewModel&) = delete;

    KeltCollectionViewDataSource* dataSource() const { return m_dataSource; }
    void setDataSource(KeltCollectionViewDataSource* dataSource) { m_dataSource = dataSource; }
    KeltCollectionViewDelegate* delegate() const { return m_delegate; }
    void setDelegate(KeltCollectionViewDelegate* delegate) { m_delegate = delegate; }

    KeltCollectionViewLayout* collectionViewLayout() const { return m_layout.get(); }
    /// Installs (owns) a layout; reloads at once when the view has been loaded before.
    void setCollectionViewLayout(std::unique_ptr<KeltCollectionViewLayout> layout);
    const KeltCollectionViewData& data() const { return m_data; }
    KeltCollectionViewData& data() { return m_data; }
    /// False until the first reloadData: before that the view shows nothing.
    bool wantsLayout() const { return m_wantsLayout; }

    /// The visible part of the document, in document coordinates.
    virtual QRectF documentVisibleRect() const = 0;
    /// The widget handed to the data source and delegate (nullptr when driven headless).
    virtual KeltCollectionView* collectionViewWidget() { return nullptr; }
    /// Kinds of the registered supplementary views.
    virtual QStringList supplementaryViewKinds() const { return {}; }

    virtual void reloadData();
    /// Sent by a layout's invalidateLayout: counts, layout and every cell are redone.
    void collectionViewLayoutWasInvalidated(KeltCollectionViewLayout* layout);

    // Item queries.
    qint64 numberOfSections() const { return m_data.numberOfSections(); }
    qint64 numberOfItemsInSection(qint64 section) const { return m_data.numberOfItemsInSection(section); }
    bool validateIndexPath(OptionalIndexPath indexPath) const;
    std::vector<KeltIndexPath> indexPathsForItemsInRect(const QRectF& rect) const;
    std::vector<KeltIndexPath> indexPathsForVisibleItems() const
    {
        return indexPathsForItemsInRect(documentVisibleRect());
    }
    OptionalIndexPath indexPathForItemAtPoint(const QPointF& point) const;
    QRectF rectForItemAtIndexPath(OptionalIndexPath indexPath) const;
    QRectF rectForSupplementaryViewWithKind(const QString& kind, qint64 section) const;
    QRectF rectForSection(qint64 section) const;
    std::vector<qint64> indexesForSectionsInRect(const QRectF& rect) const;
    std::vector<KeltIndexPath> allIndexPaths() const;
    OptionalIndexPath firstIndexPath() const;
    OptionalIndexPath lastIndexPath() const;
    OptionalIndexPath indexPathForNextSelectableItemAfterIndexPath(OptionalIndexPath indexPath) const;
    OptionalIndexPath indexPathForNextSelectableItemBeforeIndexPath(OptionalIndexPath indexPath) const;

    // Selection.
    bool animatesSelection() const { return m_animatesSelection; }
    void setAnimatesSelection(bool animates) { m_animatesSelection = animates; }
    bool allowsSelection() const { return m_allowsSelection; }
    void setAllowsSelection(bool allows) { m_allowsSelection = allows; }
    bool allowsEmptySelection() const { return m_allowsEmptySelection; }
    void setAllowsEmptySelection(bool allows) { m_allowsEmptySelection = allows; }

    /// The last selected item.
    OptionalIndexPath indexPathForSelectedItem() const { return m_selection.last(); }
    /// The selection in the order the items were selected. Valid until the selection changes.
    const std::vector<KeltIndexPath>& indexPathsForSelectedItems() const { return m_selection.paths(); }
    bool isItemSelected(KeltIndexPath indexPath) const { return m_selection.contains(indexPath); }
    qint64 selectedItemCount() const { return m_selection.count(); }

    void selectItemAtIndexPath(OptionalIndexPath indexPath, bool animated);
    void deselectItemAtIndexPath(OptionalIndexPath indexPath, bool animated);
    void selectItemsAtIndexPaths(const std::vector<KeltIndexPath>& indexPaths, bool animated);
    void deselectItemsAtIndexPaths(const std::vector<KeltIndexPath>& indexPaths, bool animated);
    /// Single selection of one item, then scrolls to it.
    void selectItemAtIndexPath(OptionalIndexPath indexPath, KeltScrollPosition scrollPosition, bool animated);
    /// The routine every mouse and key selection goes through.
    void selectItemAtIndexPath(
        OptionalIndexPath indexPath, KeltSelectionType selectionType, KeltScrollPosition scrollPosition, bool animated);
    void selectAllItems();
    void deselectAllItems();

    // Keys: the four arrows (directions of KeltCollectionViewLayout), extending with modify.
    void moveInDirection(int direction, bool modifySelection);
    void moveToBeginningOfDocument();
    void moveToEndOfDocument();

    /// Scrolls to an item; the widget does the scrolling. Invalid paths are ignored.
    virtual void scrollToItemAtIndexPath(OptionalIndexPath indexPath, KeltScrollPosition scrollPosition, bool animated);

protected:
    /// Full relayout after a recalculation; the widget resets and lays out its cells.
    virtual void performFullRelayoutForcingSubviewsReset(bool reset) { Q_UNUSED(reset); }
    /// The visible cell of an item (if any) shows a new selected state.
    virtual void setSelectedOnVisibleCell(KeltIndexPath indexPath, bool selected, bool animated)
    {
        Q_UNUSED(indexPath);
        Q_UNUSED(selected);
        Q_UNUSED(animated);
    }
    /// The selection changed: called once when the outermost selection call that changed it
    /// returns, however many items it selected or deselected.
    virtual void selectionDidChange() { }

private:
    /// Scope of one selection call; the outermost one reports a change when it ends.
    class SelectionChange;

    KeltCollectionViewDataSource* m_dataSource = nullptr;
    KeltCollectionViewDelegate* m_delegate = nullptr;
    std::unique_ptr<KeltCollectionViewLayout> m_layout;
    KeltCollectionViewData m_data;
    KeltSelectionList m_selection;
    bool m_wantsLayout = false;
    bool m_animatesSelection = false;
    bool m_allowsSelection = true;
    bool m_allowsEmptySelection = true;
    int m_selectionDepth = 0;
    bool m_selectionChanged = false;
};

} // namespace vantrel
