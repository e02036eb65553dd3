// Mouse, keys and scrolling of KeltCollectionView.
#include "components/CollectionView/KeltCollectionView.h"

#include <cstdio>

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QScrollBar>

#include "components/CollectionView/KeltClipView.h"
#include "components/CollectionView/KeltCollectionViewCell.h"
#include "components/CollectionView/KeltCollectionViewDelegate.h"

namespace vantrel {

void KeltCollectionView::scrollToItemAtIndexPath(
    OptionalIndexPath indexPath, KeltScrollPosition scrollPosition, bool animated)
{
    if (!validateIndexPath(indexPath))
        return;
    if (delegate() && !delegate()->shouldScrollToItemAtIndexPath(this, *indexPath))
        return;
    QRectF rect = rectForItemAtIndexPath(indexPath);
    const QRectF visible = documentVisibleRect();
    switch (scrollPosition) {
    case KeltScrollPosition::None:
        return;
    case KeltScrollPosition::Nearest:
        break;
    case KeltScrollPosition::Top:
        rect.setHeight(visible.height());
        break;
    case KeltScrollPosition::Middle:
        rect = QRectF(rect.x(), rect.center().y() - visible.height() / 2, rect.width(), visible.height());
        break;
    case KeltScrollPosition::Bottom:
        rect = QRectF(rect.x(), rect.bottom() - visible.height(), rect.width(), visible.height());
        break;
    }
    clipView()->scrollRectToVisible(rect, animated);
    if (delegate())
        delegate()->didScrollToItemAtIndexPath(this, *indexPath);
}

void KeltCollectionView::scrollToBeginningOfDocument()
{
    clipView()->scrollRectToVisible(QRectF(0, 0, 0, 0), animatesSelection());
}

void KeltCollectionView::scrollToEndOfDocument()
{
    const QSizeF size = documentSize();
    clipView()->scrollRectToVisible(QRectF(size.width(), size.height(), 0, 0), animatesSelection());
}

void KeltCollectionView::mouseDownInCollectionViewCell(KeltCollectionViewCell* cell, QMouseEvent* withEvent)
{
    const OptionalIndexPath path = indexPathForCell(cell);
    if (delegate() && path)
        delegate()->mouseDownInItemAtIndexPath(this, *path, withEvent);
}

void KeltCollectionView::mouseUpInCollectionViewCell(KeltCollectionViewCell* cell, QMouseEvent* withEvent)
{
    setFocus(Qt::MouseFocusReason);
    const OptionalIndexPath path = indexPathForCell(cell);
    if (!path) {
        std::fprintf(stderr, "***index path not found for selection.\n");
        return;
    }
    if (delegate())
        delegate()->mouseUpInItemAtIndexPath(this, *path, withEvent);
    // Control plays the part of the other platform's Command key.
    const Qt::KeyboardModifiers modifiers = withEvent ? withEvent->modifiers() : Qt::NoModifier;
    KeltSelectionType type = KeltSelectionType::Single;
    if (modifiers & Qt::ControlModifier)
        type = KeltSelectionType::Toggle;
    else if (modifiers & Qt::ShiftModifier)
        type = KeltSelectionType::Extend;
    selectItemAtIndexPath(path, type, KeltScrollPosition::Nearest, true);
}

void KeltCollectionView::mouseMovedInCollectionViewCell(KeltCollectionViewCell* cell, QMouseEvent* withEvent)
{
    const OptionalIndexPath path = indexPathForCell(cell);
    if (delegate() && path)
        delegate()->mouseMovedInItemAtIndexPath(this, *path, withEvent);
}

void KeltCollectionView::mouseDraggedInCollectionViewCell(KeltCollectionViewCell* cell, QMouseEvent* withEvent)
{
    const OptionalIndexPath path = indexPathForCell(cell);
    if (delegate() && path)
        delegate()->mouseDraggedInItemAtIndexPath(this, *path, withEvent);
}

void KeltCollectionView::mouseEnteredInCollectionViewCell(KeltCollectionViewCell* cell, QEvent*)
{
    const OptionalIndexPath path = indexPathForCell(cell);
    if (delegate() && path)
        delegate()->mouseEnteredInItemAtIndexPath(this, *path);
    for (KeltCollectionViewCell* visible : visibleCells())
        visible->setHovered(false);
    cell->setHovered(true);
}

void KeltCollectionView::mouseExitedInCollectionViewCell(KeltCollectionViewCell* cell, QEvent*)
{
    const OptionalIndexPath path = indexPathForCell(cell);
    if (delegate() && path)
        delegate()->mouseExitedInItemAtIndexPath(this, *path);
    cell->setHovered(false);
}

void KeltCollectionView::doubleClickInCollectionViewCell(KeltCollectionViewCell* cell, QMouseEvent*)
{
    const OptionalIndexPath path = indexPathForCell(cell);
    if (delegate() && path)
        delegate()->didDoubleClickItemAtIndexPath(this, *path);
}

void KeltCollectionView::rightClickInCollectionViewCell(KeltCollectionViewCell* cell, QMouseEvent* withEvent)
{
    const OptionalIndexPath path = indexPathForCell(cell);
    if (delegate() && path)
        delegate()->didRightClickItemAtIndexPath(this, *path, withEvent);
}

void KeltCollectionView::btnInfoTappedAtLocationInCollectionView(QPointF location, KeltIndexPath andIndex)
{
    if (delegate())
        delegate()->btnInfoTappedAtLocationInCollectionView(location, andIndex);
}

void KeltCollectionView::btnCheckboxTappedAtLocationInCollectionView(QPointF location, KeltIndexPath andIndex)
{
    if (delegate())
        delegate()->btnCheckboxTappedAtLocationInCollectionView(location, andIndex);
}

void KeltCollectionView::contextMenuEvent(QContextMenuEvent* event)
{
    QMenu* menu = delegate() ? delegate()->menuForEvent(this, event) : nullptr;
    if (!menu) {
        event->ignore();
        return;
    }
    menu->popup(event->globalPos());
    event->accept();
}

void KeltCollectionView::keyPressEvent(QKeyEvent* event)
{
    const bool shift = event->modifiers() & Qt::ShiftModifier;
    const bool control = event->modifiers() & Qt::ControlModifier;
    switch (event->key()) {
    case Qt::Key_Left:
        moveInDirection(KeltCollectionViewLayout::kDirectionLeft, shift);
        break;
    case Qt::Key_Right:
        moveInDirection(KeltCollectionViewLayout::kDirectionRight, shift);
        break;
    case Qt::Key_Up:
        moveInDirection(KeltCollectionViewLayout::kDirectionUp, shift);
        break;
    case Qt::Key_Down:
        moveInDirection(KeltCollectionViewLayout::kDirectionDown, shift);
        break;
    case Qt::Key_Home:
        if (control)
            moveToBeginningOfDocument();
        else
            scrollToBeginningOfDocument();
        break;
    case Qt::Key_End:
        if (control)
            moveToEndOfDocument();
        else
            scrollToEndOfDocument();
        break;
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
        // A page of the document, whatever is held with the key: the view's own navigation key
        // never leaves it for a shortcut of the window.
        verticalScrollBar()->triggerAction(
            event->key() == Qt::Key_PageUp ? QAbstractSlider::SliderPageStepSub : QAbstractSlider::SliderPageStepAdd);
        break;
    case Qt::Key_A:
        if (!control) {
            KeltScrollView::keyPressEvent(event);
            return;
        }
        selectAllItems();
        break;
    default:
        KeltScrollView::keyPressEvent(event);
        return;
    }
    event->accept();
    updateFocusRect(); // the selection is final only now
}

} // namespace vantrel
