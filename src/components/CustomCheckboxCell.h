#pragma once

#include <QCheckBox>

namespace vantrel {

/// A check box drawn only as its image: "checked_sq_icon_flip" when on, "unchecked_sq_icon_flip"
/// when off, in (2, 0, 15, 15) whatever the control's size. Its label is a separate view on the
/// screens; the text given here is not drawn and serves as its accessible name. The whole control
/// takes clicks.
class CustomCheckboxCell : public QCheckBox {
    Q_OBJECT

public:
    explicit CustomCheckboxCell(QWidget* parent = nullptr);
    explicit CustomCheckboxCell(const QString& accessibleTitle, QWidget* parent = nullptr);

    static QRect imageRect() { return { 2, 0, 15, 15 }; }
    static QString imageName(bool on);

    QSize sizeHint() const override { return { 19, 15 }; }
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent* event) override;
    bool hitButton(const QPoint& pos) const override { return rect().contains(pos); }
};

} // namespace vantrel
