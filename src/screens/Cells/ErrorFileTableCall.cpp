#include "screens/Cells/ErrorFileTableCall.h"

#include <QHBoxLayout>

namespace vantrel {

ErrorFileTableCall::ErrorFileTableCall(QWidget* parent)
    : QWidget(parent)
    , m_fileName(new QLabel(this))
    , m_errorName(new QLabel(this))
    , m_btnDelete(new QPushButton(this))
{
    m_fileName->setObjectName(QStringLiteral("fileName"));
    m_errorName->setObjectName(QStringLiteral("errorName"));
    m_btnDelete->setObjectName(QStringLiteral("btnDelete"));
    m_fileName->setAccessibleName(tr("File name"));
    m_errorName->setAccessibleName(tr("Error"));
    m_btnDelete->setAccessibleName(tr("Remove"));
    m_btnDelete->setFlat(true);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(6, 2, 6, 2);
    layout->addWidget(m_fileName, 1);
    layout->addWidget(m_errorName, 1);
    layout->addWidget(m_btnDelete);
}

} // namespace vantrel
