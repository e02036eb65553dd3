#pragma once

class QAbstractItemView;
class QString;

namespace vantrel {

/// Sets the horizontal header title of the table's column at the index (through its model). An
/// index outside the columns, or a table without a model, does nothing.
void setTitleForColumnHeader(const QString& title, int index, QAbstractItemView* table);

} // namespace vantrel
