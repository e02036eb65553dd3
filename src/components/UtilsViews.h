#pragma once

class QWidget;

namespace vantrel {

/// The toolbox's operations on views.
class UtilsViews {
public:
    /// Rounds the corners of `relativeToView` (radius 5) and puts, inside `view` and below
    /// `relativeToView`, a dark translucent backdrop of (0, 0, view width, view height + 20) with
    /// the same corner radius. Returns the backdrop (owned by `view`), or nullptr without views.
    static QWidget* addVisualEffectView(QWidget* view, QWidget* relativeToView);

    static constexpr double kCornerRadius = 5.0;
};

} // namespace vantrel
