#include "components/CollectionView/KeltCollectionViewDelegate.h"

namespace vantrel {

void KeltCollectionViewDelegate::mouseDownInItemAtIndexPath(KeltCollectionView* cv, KeltIndexPath path, QMouseEvent*)
{
    mouseDownInItemAtIndexPath(cv, path);
}

void KeltCollectionViewDelegate::mouseUpInItemAtIndexPath(KeltCollectionView* cv, KeltIndexPath path, QMouseEvent*)
{
    mouseUpInItemAtIndexPath(cv, path);
}

void KeltCollectionViewDelegate::mouseDownInItemAtIndexPath(KeltCollectionView*, KeltIndexPath) { }
void KeltCollectionViewDelegate::mouseUpInItemAtIndexPath(KeltCollectionView*, KeltIndexPath) { }
void KeltCollectionViewDelegate::mouseMovedInItemAtIndexPath(KeltCollectionView*, KeltIndexPath, QMouseEvent*) { }
void KeltCollectionViewDelegate::mouseDraggedInItemAtIndexPath(KeltCollectionView*, KeltIndexPath, QMouseEvent*) { }
void KeltCollectionViewDelegate::mouseEnteredInItemAtIndexPath(KeltCollectionView*, KeltIndexPath) { }
void KeltCollectionViewDelegate::mouseExitedInItemAtIndexPath(KeltCollectionView*, KeltIndexPath) { }

bool KeltCollectionViewDelegate::shouldSelectItemAtIndexPath(KeltCollectionView*, KeltIndexPath)
{
    return true;
}

void KeltCollectionViewDelegate::didSelectItemAtIndexPath(KeltCollectionView*, KeltIndexPath) { }

bool KeltCollectionViewDelegate::shouldDeselectItemAtIndexPath(KeltCollectionView*, KeltIndexPath)
{
    return true;
}

void KeltCollectionViewDelegate::didDeselectItemAtIndexPath(KeltCollectionView*, KeltIndexPath) { }
void KeltCollectionViewDelegate::didDoubleClickItemAtIndexPath(KeltCollectionView*, KeltIndexPath) { }

void KeltCollectionViewDelegate::didRightClickItemAtIndexPath(KeltCollectionView* cv, KeltIndexPath path, QMouseEvent*)
{
    didRightClickItemAtIndexPath(cv, path);
}

void KeltCollectionViewDelegate::didRightClickItemAtIndexPath(KeltCollectionView*, KeltIndexPath) { }

bool KeltCollectionViewDelegate::shouldScrollToItemAtIndexPath(KeltCollectionView*, KeltIndexPath)
{
    return true;
}

void KeltCollectionViewDelegate::didScrollToItemAtIndexPath(KeltCollectionView*, KeltIndexPath) { }
void KeltCollectionViewDelegate::didEndDisplayingCell(KeltCollectionView*, KeltCollectionViewCell*, KeltIndexPath) { }

QMenu* KeltCollectionViewDelegate::menuForEvent(KeltCollectionView*, QContextMenuEvent*)
{
    return nullptr;
}

QVariant KeltCollectionViewDelegate::objectValueForItemAtIndexPath(KeltCollectionView*, KeltIndexPath)
{
    return {};
}

void KeltCollectionViewDelegate::btnInfoTappedAtLocationInCollectionView(QPointF, KeltIndexPath) { }
void KeltCollectionViewDelegate::btnCheckboxTappedAtLocationInCollectionView(QPointF, KeltIndexPath) { }

} // namespace vantrel
