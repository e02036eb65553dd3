#pragma once

#include <QStyledItemDelegate>

namespace vantrel {

class ButtonTableCellDelegate;

/// Paints the list's rows (thumbnail and name, texts, check and delete buttons) on the dark
/// panel colour, and answers clicks on the check and delete buttons through the
/// ButtonTableCellDelegate callbacks with the row taken from the model index.
class BatchListDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    explicit BatchListDelegate(ButtonTableCellDelegate* receiver, QObject* parent = nullptr);

    /// The rectangle of a column's button inside its cell.
    static QRect buttonRect(const QRect& cell);
    /// The rectangle of the row's info control at the right end of its name cell.
    static QRect infoButtonRect(const QRect& nameCell);

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    bool editorEvent(QEvent* event, QAbstractItemModel* model, const QStyleOptionViewItem& option,
        const QModelIndex& index) override;

private:
    ButtonTableCellDelegate* m_receiver;
};

} // namespace vantrel
