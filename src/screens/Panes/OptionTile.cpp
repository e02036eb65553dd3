#include "screens/Panes/OptionTile.h"

#include <QCheckBox>
#include <QPixmap>
#include <QRadioButton>
#include <QToolButton>
#include <QVBoxLayout>

#include "core/ResourceImages.h"
#include "screens/Panes/PaneLook.h"

namespace vantrel {

OptionTile::OptionTile(const QString& text, bool check, QWidget* parent)
    : QWidget(parent)
{
    m_picture = new QToolButton(this);
    m_picture->setAutoRaise(true);
    m_picture->setIconSize(QSize(48, 48));
    m_picture->setFocusPolicy(Qt::NoFocus);
    m_picture->setAccessibleName(text + QStringLiteral(" picture"));
    m_picture->setCursor(Qt::PointingHandCursor);
    if (check)
        m_control = new QCheckBox(text, this);
    else
        m_control = new QRadioButton(text, this);
    m_control->setAutoExclusive(false); // the pane's model decides which option is on
    m_control->setAccessibleName(text);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(4, 4, 4, 4);
    column->setSpacing(4);
    column->addWidget(m_picture, 0, Qt::AlignHCenter);
    column->addWidget(m_control, 0, Qt::AlignHCenter);
    connect(m_picture, &QToolButton::clicked, this, &OptionTile::clicked);
    connect(m_control, &QAbstractButton::clicked, this, &OptionTile::clicked);
}

void OptionTile::setChosen(bool chosen, const QString& imageName)
{
    m_control->setChecked(chosen);
    PaneLook::setLabelLit(m_control, chosen);
    m_picture->setIcon(QPixmap::fromImage(ResourceImages::named(imageName)));
    m_picture->setProperty("imageName", imageName);
}

bool OptionTile::isChosen() const
{
    return m_control->isChecked();
}

} // namespace vantrel
