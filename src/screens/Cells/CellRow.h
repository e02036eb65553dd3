#pragma once

class QWidget;

namespace vantrel {

/// The row of a cell widget placed in an item view (setIndexWidget), found through the view that
/// holds it; -1 when the widget is in no item view or on no row.
class CellRow {
public:
    CellRow() = delete;
    static int rowOf(const QWidget* cell);
};

} // namespace vantrel
