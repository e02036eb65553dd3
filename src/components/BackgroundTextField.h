#pragma once

#include <QLineEdit>

namespace vantrel {

/// A field drawn only as its box: a rounded rect of radius 1 over its bounds, filled with
/// (54, 63, 78) and outlined with (128, 142, 165), both at alpha 0.8. Its text is not drawn;
/// screens place it behind other controls as a backdrop.
class BackgroundTextField : public QLineEdit {
    Q_OBJECT

public:
    explicit BackgroundTextField(QWidget* parent = nullptr);

    static QColor fillColor();
    static QColor strokeColor();

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace vantrel
