#include "screens/Panes/FlipView.h"

#include <QAbstractButton>
#include <QHBoxLayout>
#include <QLabel>
#include <QTimer>
#include <QVBoxLayout>

#include "screens/Panes/OptionTile.h"
#include "screens/Panes/PaneLook.h"

namespace vantrel {

FlipView::FlipView(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("vwFlip"));
    setAccessibleName(QStringLiteral("Flip"));
    const char* texts[] = { "Keep original", "Flip horizontal", "Flip vertical" };
    auto* tiles = new QHBoxLayout;
    tiles->setSpacing(6);
    for (int o = 0; o < FlipModel::kOptionCount; ++o) {
        auto* tile = new OptionTile(QString::fromLatin1(texts[o]), true, this);
        m_tiles[size_t(o)] = tile;
        tiles->addWidget(tile);
        connect(tile, &OptionTile::clicked, this, [this, o] { changeSettingWithSelectedOption(o); });
    }
    tiles->addStretch(1);
    m_btnReset = PaneLook::makeResetLink(QStringLiteral("Reset flip"), this);
    tiles->addWidget(m_btnReset, 0, Qt::AlignBottom);

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(16, 12, 16, 12);
    column->addWidget(PaneLook::makeTitle(QStringLiteral("Flip"), this));
    column->addLayout(tiles);
    column->addStretch(1);
    connect(m_btnReset, &QAbstractButton::clicked, this, &FlipView::btnResetSettingTapped);
    refresh();
    QTimer::singleShot(20, this, &FlipView::initSetup);
}

void FlipView::initSetup()
{
    if (m_isSetUp)
        return;
    m_isSetUp = true;
    resetSetting();
}

QList<bool> FlipView::getFlipSettongObject() const
{
    const auto [horizontal, vertical] = m_model.getFlipSettongObject();
    return { horizontal, vertical };
}

void FlipView::setFlipSettongObject(int option)
{
    initSetup(); // a restore right after creation must not be undone by the scheduled set-up
    m_model.setFlipSettongObject(option);
    refresh();
}

void FlipView::changeSettingWithSelectedOption(int option)
{
    m_model.changeSettingWithSelectedOption(option);
    refresh();
}

void FlipView::resetSetting()
{
    m_model.resetSetting();
    refresh();
}

void FlipView::btnApplyTapped()
{
    if (m_delegate)
        m_delegate->btnApplyFlipTapped({ getFlipSettongObject() });
}

void FlipView::refresh()
{
    const int chosen = m_model.chosenOption();
    for (int o = 0; o < FlipModel::kOptionCount; ++o)
        m_tiles[size_t(o)]->setChosen(o == chosen, FlipModel::imageName(o, o == chosen));
    m_btnReset->setEnabled(m_model.isResetEnabled());
}

} // namespace vantrel
