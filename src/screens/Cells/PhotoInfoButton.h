#pragma once

#include <QToolButton>

namespace vantrel {

/// The info control of a batch grid cell or list row: the info image (its hover image while the
/// pointer is over it), named "Photo information" for screen readers and as its tool tip.
/// Only the control of its view's current item (the grid's current item, the list's current
/// row) is in the keyboard's reach: Tab stops on it after the view, and Space opens the popup as
/// a click does. A click never gives it focus.
class PhotoInfoButton : public QToolButton {
    Q_OBJECT
public:
    static constexpr int kSide = 20;

    explicit PhotoInfoButton(QWidget* parent = nullptr);

    void setCurrent(bool current) { setFocusPolicy(current ? Qt::TabFocus : Qt::NoFocus); }
};

} // namespace vantrel
