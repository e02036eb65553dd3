#pragma once

#include <QColor>
#include <QRectF>
#include <QScrollBar>

namespace vantrel {

/// A scroll bar drawn in the application's colours, chosen by its tag ("tag" property): the
/// track 101 (36, 41, 50), 102 clear, any other white; the knob, a rounded rect of radius 3
/// inset 2 from the slider's area, 101 (147, 165, 198), 102 white, any other (200, 200, 200).
class CustomScroll : public QScrollBar {
    Q_OBJECT

public:
    explicit CustomScroll(Qt::Orientation orientation, QWidget* parent = nullptr);

    static QColor trackColor(int tag);
    static QColor knobColor(int tag);
    /// The knob drawn inside the slider's area: moved by (2, 2), 4 smaller each way.
    static QRectF knobRect(const QRectF& sliderArea);

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace vantrel
