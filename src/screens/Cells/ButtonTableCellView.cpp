#include "screens/Cells/ButtonTableCellView.h"

#include <QAbstractItemView>
#include <QHBoxLayout>

#include "screens/Cells/ButtonTableCellDelegate.h"
#include "screens/Cells/CellRow.h"

namespace vantrel {

ButtonTableCellView::ButtonTableCellView(QWidget* parent)
    : QWidget(parent)
    , m_btnDelete(new QPushButton(this))
    , m_btnCheck(new QPushButton(this))
    , m_cellButton(new QPushButton(this))
{
    m_btnDelete->setObjectName(QStringLiteral("btnDelete"));
    m_btnDelete->setAccessibleName(tr("Remove from batch"));
    m_btnCheck->setObjectName(QStringLiteral("btnCheck"));
    m_btnCheck->setAccessibleName(tr("Check"));
    m_cellButton->setObjectName(QStringLiteral("cellButton"));
    m_cellButton->setAccessibleName(tr("Photo information"));
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    for (QPushButton* button : { m_cellButton, m_btnCheck, m_btnDelete }) {
        button->setFlat(true);
        layout->addWidget(button);
    }
    connect(m_cellButton, &QPushButton::clicked, this, &ButtonTableCellView::btnIncelltapped);
    connect(m_btnDelete, &QPushButton::clicked, this, &ButtonTableCellView::btnDeleteTapped);
    connect(m_btnCheck, &QPushButton::clicked, this, &ButtonTableCellView::btnCheckTapped);
}

int ButtonTableCellView::row() const
{
    return CellRow::rowOf(this);
}

QPoint ButtonTableCellView::locationOf(const QWidget* button) const
{
    return button->mapTo(window(), QPoint(0, 0));
}

void ButtonTableCellView::btnIncelltapped()
{
    if (m_delegate)
        m_delegate->btnInfoTappedAtLocationInTableView(locationOf(m_cellButton), row());
}

void ButtonTableCellView::btnDeleteTapped()
{
    if (m_delegate)
        m_delegate->btnDeleteTappedAtLocationInTableView(locationOf(m_btnDelete), row());
}

void ButtonTableCellView::btnCheckTapped()
{
    if (m_delegate)
        m_delegate->btnCheckTappedAtLocationInTableView(locationOf(m_btnCheck), row());
}

} // namespace vantrel
