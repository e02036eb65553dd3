#include "components/ColoredCusrsorTextField.h"

#include <QEvent>

namespace vantrel {

ColoredCusrsorTextField::ColoredCusrsorTextField(QWidget* parent)
    : QLineEdit(parent)
{
    makeCursorWhite();
}

void ColoredCusrsorTextField::changeEvent(QEvent* event)
{
    QLineEdit::changeEvent(event);
    // A new palette from the screen keeps the white insertion point.
    if (event->type() == QEvent::PaletteChange && palette().color(QPalette::Text) != Qt::white)
        makeCursorWhite();
}

void ColoredCusrsorTextField::makeCursorWhite()
{
    QPalette p = palette();
    for (const auto group : { QPalette::Active, QPalette::Inactive })
        p.setColor(group, QPalette::Text, Qt::white);
    setPalette(p);
}

} // namespace vantrel
