#pragma once

#include <QPointer>
#include <QPushButton>
#include <QWidget>

namespace vantrel {

class ButtonTableCellDelegate;

/// A list cell with an info, a delete and a check button; each forwards to the delegate with
/// the cell's row in its table and the clicked button's origin in the table's window.
class ButtonTableCellView : public QWidget {
    Q_OBJECT
public:
    explicit ButtonTableCellView(QWidget* parent = nullptr);

    QPushButton* btnDelete() const { return m_btnDelete; }
    QPushButton* btnCheck() const { return m_btnCheck; }
    QPushButton* cellButton() const { return m_cellButton; }

    void setDelegate(ButtonTableCellDelegate* delegate) { m_delegate = delegate; }
    ButtonTableCellDelegate* delegate() const { return m_delegate; }

    /// The cell's row in the table that holds it; -1 outside a table.
    int row() const;

    void btnIncelltapped();
    void btnDeleteTapped();
    void btnCheckTapped();

private:
    QPoint locationOf(const QWidget* button) const;

    QPushButton* m_btnDelete;
    QPushButton* m_btnCheck;
    QPushButton* m_cellButton;
    ButtonTableCellDelegate* m_delegate = nullptr;
};

} // namespace vantrel
