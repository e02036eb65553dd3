#include "components/CustomCheckboxCell.h"

#include <QPainter>

#include "components/NamedImagePainter.h"

namespace vantrel {

CustomCheckboxCell::CustomCheckboxCell(QWidget* parent)
    : QCheckBox(parent)
{
}

CustomCheckboxCell::CustomCheckboxCell(const QString& accessibleTitle, QWidget* parent)
    : QCheckBox(accessibleTitle, parent)
{
}

QString CustomCheckboxCell::imageName(bool on)
{
    return on ? QStringLiteral("checked_sq_icon_flip") : QStringLiteral("unchecked_sq_icon_flip");
}

void CustomCheckboxCell::paintEvent(QPaintEvent* /*event*/)
{
    QPainter painter(this);
    NamedImagePainter::drawWhole(painter, imageName(isChecked()), imageRect());
}

} // namespace vantrel
