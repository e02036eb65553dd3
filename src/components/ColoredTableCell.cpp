#include "components/ColoredTableCell.h"

#include <QAbstractItemView>
#include <QPainter>

namespace vantrel {

ColoredTableCell::ColoredTableCell(QObject* parent)
    : QStyledItemDelegate(parent)
{
}

QColor ColoredTableCell::selectionColor()
{
    QColor c(30, 24, 25);
    c.setAlphaF(0.9f);
    return c;
}

void ColoredTableCell::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    QStyleOptionViewItem plain(option);
    const auto* view = qobject_cast<const QAbstractItemView*>(option.widget);
    const bool selects = !view || view->selectionMode() != QAbstractItemView::NoSelection;
    if ((option.state & QStyle::State_Selected) && selects)
        painter->fillRect(selectionRect(option.rect), selectionColor());
    plain.state &= ~QStyle::State_Selected;
    plain.state &= ~QStyle::State_HasFocus;
    QStyledItemDelegate::paint(painter, plain, index);
}

} // namespace vantrel
