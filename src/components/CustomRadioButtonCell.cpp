#include "components/CustomRadioButtonCell.h"

#include <QPainter>

#include "components/NamedImagePainter.h"

namespace vantrel {

CustomRadioButtonCell::CustomRadioButtonCell(QWidget* parent)
    : QRadioButton(parent)
{
}

CustomRadioButtonCell::CustomRadioButtonCell(const QString& accessibleTitle, QWidget* parent)
    : QRadioButton(accessibleTitle, parent)
{
}

QString CustomRadioButtonCell::imageName(bool on)
{
    return on ? QStringLiteral("radio_active.png") : QStringLiteral("radio.png");
}

void CustomRadioButtonCell::paintEvent(QPaintEvent* /*event*/)
{
    QPainter painter(this);
    NamedImagePainter::drawWhole(painter, imageName(isChecked()), imageRect());
}

} // namespace vantrel
