#pragma once

#include <QStyledItemDelegate>

namespace vantrel {

/// The selection look of the dark tables: a selected row is filled with (30, 24, 25) at alpha 0.9,
/// 2 points in from its top and bottom, unless the view does not select at all; the item is then
/// drawn as usual without the style's own selection.
class ColoredTableCell : public QStyledItemDelegate {
    Q_OBJECT

public:
    explicit ColoredTableCell(QObject* parent = nullptr);

    static QColor selectionColor();
    /// The filled area of a selected row's cell.
    static QRect selectionRect(const QRect& cell) { return cell.adjusted(0, 2, 0, -2); }

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};

} // namespace vantrel
