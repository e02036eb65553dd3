#include "components/UtilsButtons.h"

#include <QAbstractButton>
#include <QColor>
#include <QPalette>
#include <QString>

namespace vantrel {

void UtilsButtons::setButtonTitleFor(QAbstractButton* button, const QString& title, const QColor& color)
{
    if (!button)
        return;
    // Push and tool buttons centre their text; the colour goes to every role a style may use
    // for a button's label.
    button->setText(title);
    QPalette palette = button->palette();
    for (const QPalette::ColorGroup group : { QPalette::Active, QPalette::Inactive, QPalette::Disabled }) {
        palette.setColor(group, QPalette::ButtonText, color);
        palette.setColor(group, QPalette::WindowText, color);
    }
    button->setPalette(palette);
}

} // namespace vantrel
