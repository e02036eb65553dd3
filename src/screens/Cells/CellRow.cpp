#include "screens/Cells/CellRow.h"

#include <QAbstractItemView>

namespace vantrel {

int CellRow::rowOf(const QWidget* cell)
{
    for (QWidget* up = cell ? cell->parentWidget() : nullptr; up; up = up->parentWidget()) {
        if (auto* view = qobject_cast<QAbstractItemView*>(up)) {
            const QPoint inViewport = cell->mapTo(view->viewport(), QPoint(1, 1));
            const QModelIndex index = view->indexAt(inViewport);
            return index.isValid() ? index.row() : -1;
        }
    }
    return -1;
}

} // namespace vantrel
