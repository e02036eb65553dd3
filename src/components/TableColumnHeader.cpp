#include "components/TableColumnHeader.h"

#include <QAbstractItemModel>
#include <QAbstractItemView>
#include <QString>

namespace vantrel {

void setTitleForColumnHeader(const QString& title, int index, QAbstractItemView* table)
{
    QAbstractItemModel* model = table ? table->model() : nullptr;
    if (!model || index < 0 || index >= model->columnCount())
        return;
    model->setHeaderData(index, Qt::Horizontal, title, Qt::DisplayRole);
}

} // namespace vantrel
