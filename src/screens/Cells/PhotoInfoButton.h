#pragma once

#include <QToolButton>

namespace vantrel {

/// The info control of a batch grid cell or list row: the info image (its hover image while the
/// pointer is over it), named "Photo information" for screen readers and as its tool tip.
/// It takes no keyboard focus.
class PhotoInfoButton : public QToolButton {
    Q_OBJECT
public:
    static constexpr int kSide = 20;

    explicit PhotoInfoButton(QWidget* parent = nullptr);
};

} // namespace vantrel
