#pragma once

#include <QRectF>
#include <QWidget>

namespace vantrel {

/// A dashed outline around the view: line width 2, dashes of 15 on and 15 off, in
/// (115, 124, 151) at alpha 0.2. It is drawn around the view's bounds whatever part of the view
/// is being repainted, so a partial repaint never draws a second, smaller outline.
class DashedLineView : public QWidget {
    Q_OBJECT

public:
    explicit DashedLineView(QWidget* parent = nullptr);

    /// The outline's path in widget coordinates: 2 in from the left and the bottom, 1 from the
    /// top and the right.
    static QRectF borderRect(const QSizeF& bounds);
    static QColor lineColor();

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace vantrel
