#pragma once

#include <QPointF>
#include <QVariant>

#include "components/CollectionView/KeltIndexPath.h"

class QMenu;
class QMouseEvent;
class QContextMenuEvent;

namespace vantrel {

class KeltCollectionView;
class KeltCollectionViewCell;

/// Receives the mouse, selection and scrolling events of a collection view. Not owned by the
/// view. Every operation is optional: the default bodies behave as a delegate that does not
/// answer it (the "should" operations allow, the event forms fall back to the plain forms).
class KeltCollectionViewDelegate {
public:
    virtual ~KeltCollectionViewDelegate() = default;

    /// Preferred forms; by default they call the plain forms below.
    virtual void mouseDownInItemAtIndexPath(KeltCollectionView* cv, KeltIndexPath path, QMouseEvent* event);
    virtual void mouseUpInItemAtIndexPath(KeltCollectionView* cv, KeltIndexPath path, QMouseEvent* event);
    virtual void mouseDownInItemAtIndexPath(KeltCollectionView* cv, KeltIndexPath path);
    virtual void mouseUpInItemAtIndexPath(KeltCollectionView* cv, KeltIndexPath path);
    virtual void mouseMovedInItemAtIndexPath(KeltCollectionView* cv, KeltIndexPath path, QMouseEvent* event);
    virtual void mouseDraggedInItemAtIndexPath(KeltCollectionView* cv, KeltIndexPath path, QMouseEvent* event);
    virtual void mouseEnteredInItemAtIndexPath(KeltCollectionView* cv, KeltIndexPath path);
    virtual void mouseExitedInItemAtIndexPath(KeltCollectionView* cv, KeltIndexPath path);

    virtual bool shouldSelectItemAtIndexPath(KeltCollectionView* cv, KeltIndexPath path);
    virtual void didSelectItemAtIndexPath(KeltCollectionView* cv, KeltIndexPath path);
    virtual bool shouldDeselectItemAtIndexPath(KeltCollectionView* cv, KeltIndexPath path);
    virtual void didDeselectItemAtIndexPath(KeltCollectionView* cv, KeltIndexPath path);
    virtual void didDoubleClickItemAtIndexPath(KeltCollectionView* cv, KeltIndexPath path);
    /// Preferred form; by default it calls the plain form.
    virtual void didRightClickItemAtIndexPath(KeltCollectionView* cv, KeltIndexPath path, QMouseEvent* event);
    virtual void didRightClickItemAtIndexPath(KeltCollectionView* cv, KeltIndexPath path);
    virtual bool shouldScrollToItemAtIndexPath(KeltCollectionView* cv, KeltIndexPath path);
    virtual void didScrollToItemAtIndexPath(KeltCollectionView* cv, KeltIndexPath path);
    virtual void didEndDisplayingCell(KeltCollectionView* cv, KeltCollectionViewCell* cell, KeltIndexPath path);
    /// The view's context menu; nullptr for none. The caller does not take ownership.
    virtual QMenu* menuForEvent(KeltCollectionView* cv, QContextMenuEvent* event);
    /// Value bound to a new visible cell; only asked when answersObjectValue() is true.
    virtual QVariant objectValueForItemAtIndexPath(KeltCollectionView* cv, KeltIndexPath path);
    virtual bool answersObjectValue() const { return false; }

    /// A cell's info or check-box button: the button's origin in the coordinates of the widget two
    /// levels above the collection view, and the cell's index path.
    virtual void btnInfoTappedAtLocationInCollectionView(QPointF location, KeltIndexPath andIndex);
    virtual void btnCheckboxTappedAtLocationInCollectionView(QPointF location, KeltIndexPath andIndex);
};

} // namespace vantrel
