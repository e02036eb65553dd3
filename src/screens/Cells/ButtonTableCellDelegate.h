#pragma once

#include <QPoint>

namespace vantrel {

/// Receives the buttons of a list row: a location (the button's origin in the screen) and the row.
/// Every method is optional; the defaults do nothing.
class ButtonTableCellDelegate {
public:
    virtual ~ButtonTableCellDelegate() = default;
    virtual void btnInfoTappedAtLocationInTableView(QPoint, qsizetype) { }
    virtual void btnDeleteTappedAtLocationInTableView(QPoint, qsizetype) { }
    virtual void btnCheckTappedAtLocationInTableView(QPoint, qsizetype) { }
};

} // namespace vantrel
