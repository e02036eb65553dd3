#include "screens/Batch/BatchListDelegate.h"

#include <QAbstractItemView>
#include <QMouseEvent>
#include <QPainter>

#include "core/Batch/BatchViewRules.h"
#include "core/ResourceImages.h"
#include "screens/Batch/BatchListModel.h"
#include "screens/Cells/ButtonTableCellDelegate.h"
#include "screens/Cells/PhotoInfoButton.h"

namespace vantrel {

namespace {

const QColor kPanel(36, 41, 50);
const QColor kText(Qt::white);
const QColor kSecondaryText(195, 204, 233);
constexpr int kButtonSide = 18;
constexpr int kButtonColumn = 34;
constexpr int kThumbnailWidth = 46;
constexpr int kInfoMargin = 6;

} // namespace

BatchListDelegate::BatchListDelegate(ButtonTableCellDelegate* receiver, QObject* parent)
    : QStyledItemDelegate(parent)
    , m_receiver(receiver)
{
}

QRect BatchListDelegate::buttonRect(const QRect& cell)
{
    // Centred in the column's first 34 pixels: the delete column runs 25 pixels further to the
    // list's edge, so both buttons stay under the header's mark-all and remove-all buttons.
    return QRect(cell.left() + kButtonColumn / 2 - kButtonSide / 2, cell.center().y() - kButtonSide / 2 + 1,
        kButtonSide, kButtonSide);
}

QRect BatchListDelegate::infoButtonRect(const QRect& nameCell)
{
    return QRect(nameCell.right() - kInfoMargin - PhotoInfoButton::kSide + 1,
        nameCell.center().y() - PhotoInfoButton::kSide / 2 + 1, PhotoInfoButton::kSide, PhotoInfoButton::kSide);
}

void BatchListDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    painter->save();
    painter->fillRect(option.rect, kPanel);
    painter->setFont(option.font);
    const QRect cell = option.rect.adjusted(6, 0, -6, 0);
    switch (index.column()) {
    case BatchListModel::NameColumn: {
        const QImage thumbnail = index.data(Qt::DecorationRole).value<QImage>();
        const QRect box(cell.left(), cell.top() + 2, kThumbnailWidth, cell.height() - 4);
        if (!thumbnail.isNull()) {
            const QSize fitted = thumbnail.size().scaled(box.size(), Qt::KeepAspectRatio);
            const QRect target(box.left() + (box.width() - fitted.width()) / 2,
                box.top() + (box.height() - fitted.height()) / 2, fitted.width(), fitted.height());
            painter->setRenderHint(QPainter::SmoothPixmapTransform);
            painter->drawImage(target, thumbnail);
        }
        // The name ends before the row's info control (a widget of the list laid over the cell).
        const QRect text = cell.adjusted(kThumbnailWidth + 8, 0, -(PhotoInfoButton::kSide + 4), 0);
        painter->setPen(kText);
        painter->drawText(text, Qt::AlignVCenter | Qt::AlignLeft,
            option.fontMetrics.elidedText(index.data().toString(), Qt::ElideMiddle, text.width()));
        break;
    }
    case BatchListModel::CheckColumn:
    case BatchListModel::DeleteColumn: {
        const QImage image = ResourceImages::named(index.data(BatchListModel::ImageNameRole).toString());
        if (!image.isNull()) {
            painter->setRenderHint(QPainter::SmoothPixmapTransform);
            painter->drawImage(buttonRect(option.rect), image);
        }
        break;
    }
    default: {
        const bool location = index.column() == BatchListModel::FileLocationColumn;
        painter->setPen(location ? kSecondaryText : kText);
        painter->drawText(cell, Qt::AlignVCenter | (location ? Qt::AlignLeft : Qt::AlignHCenter),
            option.fontMetrics.elidedText(
                index.data().toString(), location ? Qt::ElideMiddle : Qt::ElideRight, cell.width()));
        break;
    }
    }
    painter->restore();
}

QSize BatchListDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    size.setHeight(BatchViewRules::kListRowHeight);
    return size;
}

bool BatchListDelegate::editorEvent(
    QEvent* event, QAbstractItemModel*, const QStyleOptionViewItem& option, const QModelIndex& index)
{
    if (event->type() != QEvent::MouseButtonRelease || !m_receiver)
        return false;
    const auto* mouse = static_cast<QMouseEvent*>(event);
    const int column = index.column();
    if (mouse->button() != Qt::LeftButton
        || (column != BatchListModel::CheckColumn && column != BatchListModel::DeleteColumn))
        return false;
    const QRect button = buttonRect(option.rect);
    if (!button.adjusted(-4, -4, 4, 4).contains(mouse->position().toPoint()))
        return false;
    // The location is the button's origin in the list's own window coordinates.
    QPoint location = button.topLeft();
    if (const auto* view = qobject_cast<const QAbstractItemView*>(option.widget))
        location = view->viewport()->mapTo(view->window(), location);
    if (column == BatchListModel::CheckColumn)
        m_receiver->btnCheckTappedAtLocationInTableView(location, index.row());
    else
        m_receiver->btnDeleteTappedAtLocationInTableView(location, index.row());
    return true;
}

} // namespace vantrel
