#pragma once

#include <QLineEdit>

namespace vantrel {

/// A field with a white insertion point, for the dark size fields. Qt draws the insertion point
/// in the text colour, so the field's text is white too.
class ColoredCusrsorTextField : public QLineEdit {
    Q_OBJECT

public:
    explicit ColoredCusrsorTextField(QWidget* parent = nullptr);

protected:
    void changeEvent(QEvent* event) override;

private:
    void makeCursorWhite();
};

} // namespace vantrel
