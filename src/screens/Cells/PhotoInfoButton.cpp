#include "screens/Cells/PhotoInfoButton.h"

#include <QIcon>
#include <QPixmap>

#include "core/ResourceImages.h"

namespace vantrel {

PhotoInfoButton::PhotoInfoButton(QWidget* parent)
    : QToolButton(parent)
{
    setObjectName(QStringLiteral("btnInfo"));
    setAccessibleName(tr("Photo information"));
    setToolTip(tr("Photo information"));
    setAutoRaise(true);
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::NoFocus);
    setIconSize(QSize(kSide, kSide));
    setStyleSheet(QStringLiteral("QToolButton { border: none; background: transparent; padding: 0; }"));
    QIcon icon(QPixmap::fromImage(ResourceImages::named(QStringLiteral("info_image.png"))));
    icon.addPixmap(QPixmap::fromImage(ResourceImages::named(QStringLiteral("info_image_hover.png"))), QIcon::Active);
    setIcon(icon);
}

} // namespace vantrel
