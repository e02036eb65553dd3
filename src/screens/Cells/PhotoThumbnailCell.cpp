#include "screens/Cells/PhotoThumbnailCell.h"

#include <QGridLayout>

#include "screens/Cells/CellRow.h"

namespace vantrel {

PhotoThumbnailCell::PhotoThumbnailCell(QWidget* parent)
    : QWidget(parent)
    , m_txtName(new QLineEdit(this))
    , m_txtPath(new QLineEdit(this))
    , m_vwSelectedState(new QWidget(this))
    , m_image(new QLabel(this))
    , m_checkButton(new QPushButton(this))
    , m_btnMore(new QPushButton(this))
{
    m_txtName->setObjectName(QStringLiteral("txtName"));
    m_txtPath->setObjectName(QStringLiteral("txtPath"));
    m_vwSelectedState->setObjectName(QStringLiteral("vwSelectedState"));
    m_image->setObjectName(QStringLiteral("image"));
    m_checkButton->setObjectName(QStringLiteral("checkButton"));
    m_btnMore->setObjectName(QStringLiteral("btnMore"));
    m_txtName->setAccessibleName(tr("Name"));
    m_txtPath->setAccessibleName(tr("Path"));
    m_image->setAccessibleName(tr("Thumbnail"));
    m_checkButton->setAccessibleName(tr("Check"));
    m_btnMore->setAccessibleName(tr("More options"));
    m_btnMore->setToolTip(tr("More options"));
    for (QLineEdit* field : { m_txtName, m_txtPath }) {
        field->setReadOnly(true);
        field->setFrame(false);
    }
    m_vwSelectedState->lower();
    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(4, 2, 4, 2);
    layout->addWidget(m_checkButton, 0, 0, 2, 1);
    layout->addWidget(m_image, 0, 1, 2, 1);
    layout->addWidget(m_txtName, 0, 2);
    layout->addWidget(m_txtPath, 1, 2);
    layout->addWidget(m_btnMore, 0, 3, 2, 1);
    connect(m_btnMore, &QPushButton::clicked, this, &PhotoThumbnailCell::btnInfoTapped);
    connect(m_checkButton, &QPushButton::clicked, this, &PhotoThumbnailCell::btnCheckBoxSelect);
}

void PhotoThumbnailCell::btnInfoTapped()
{
    if (m_delegate)
        m_delegate->btnInfoTappedAtLocationInTableView(m_btnMore->mapTo(window(), QPoint(0, 0)), CellRow::rowOf(this));
}

void PhotoThumbnailCell::btnCheckBoxSelect()
{
    if (m_delegate && m_rowTag >= 0)
        m_delegate->btnCheckBoxSelect(this);
}

} // namespace vantrel
