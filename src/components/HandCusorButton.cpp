#include "components/HandCusorButton.h"

namespace vantrel {

HandCusorButton::HandCusorButton(QWidget* parent)
    : QPushButton(parent)
{
    setCursor(Qt::PointingHandCursor);
}

HandCusorButton::HandCusorButton(const QString& title, QWidget* parent)
    : QPushButton(title, parent)
{
    setCursor(Qt::PointingHandCursor);
}

} // namespace vantrel
