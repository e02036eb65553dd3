#include "screens/Panes/RotateView.h"

#include <QAbstractButton>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QResizeEvent>
#include <QTimer>
#include <QVBoxLayout>

#include "components/HighlightedButton.h"
#include "components/OnlyIntegerValueFormatter.h"
#include "screens/Panes/FieldText.h"
#include "screens/Panes/OptionTile.h"
#include "screens/Panes/PaneLook.h"

namespace vantrel {

namespace {

// The apply button's look: a light slate face with a dark border and black title.
constexpr int kApplyTag = 111;

} // namespace

RotateView::RotateView(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("vwRotate"));
    setAccessibleName(QStringLiteral("Rotate"));
    const char* texts[] = { "Keep original", "90° clockwise", "90° anticlockwise", "180°", "Auto correct" };
    m_tilesGrid = new QGridLayout;
    m_tilesGrid->setHorizontalSpacing(6);
    m_tilesGrid->setVerticalSpacing(2);
    for (int v = 0; v < RotateModel::kOptionCount; ++v) {
        auto* tile = new OptionTile(QString::fromUtf8(texts[v]), false, this);
        m_tiles[size_t(v)] = tile;
        connect(tile, &OptionTile::clicked, this, [this, v] { changeSettingWithSelectedOption(v); });
    }
    layOutTiles(RotateModel::kOptionCount);

    m_txtAngle = new QLineEdit(this);
    m_txtAngle->setAccessibleName(QStringLiteral("Rotation angle"));
    m_txtAngle->setFixedWidth(60);
    m_txtAngle->setPlaceholderText(QStringLiteral("0"));
    PaneLook::styleField(m_txtAngle);
    auto* apply = new HighlightedButton(QStringLiteral("Apply"), this);
    apply->setAccessibleName(QStringLiteral("Apply angle"));
    apply->setTag(kApplyTag);
    apply->awakeFromNib();
    apply->setMinimumSize(64, 26);
    m_btnApplyRotate = apply;
    m_btnReset = PaneLook::makeResetLink(QStringLiteral("Reset rotation"), this);
    auto* angle = new QHBoxLayout;
    auto* angleLabel = new QLabel(QStringLiteral("Angle (degrees)"), this);
    PaneLook::setLabelLit(angleLabel, true);
    angle->addWidget(angleLabel);
    angle->addWidget(m_txtAngle);
    angle->addWidget(m_btnApplyRotate);
    angle->addStretch(1);
    angle->addWidget(m_btnReset);

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(16, 12, 16, 12);
    column->addWidget(PaneLook::makeTitle(QStringLiteral("Rotate"), this));
    column->addLayout(m_tilesGrid);
    column->addLayout(angle);
    column->addStretch(1);

    connect(m_btnReset, &QAbstractButton::clicked, this, &RotateView::btnResetSettingTapped);
    connect(m_btnApplyRotate, &QAbstractButton::clicked, this, &RotateView::btnApplyTapped);
    connect(m_txtAngle, &QLineEdit::textEdited, this,
        [this](const QString& text) { PaneLook::setTextKeepingCursor(m_txtAngle, RotateModel::angleEdited(text)); });
    refresh();
    QTimer::singleShot(20, this, &RotateView::initSetup);
}

void RotateView::initSetup()
{
    if (m_isSetUp)
        return;
    m_isSetUp = true;
    m_txtAngle->setValidator(new OnlyIntegerValueFormatter(m_txtAngle));
    changeSettingWithSelectedOption(0);
}

void RotateView::setRotationType(int value)
{
    initSetup(); // a restore right after creation must not be undone by the scheduled set-up
    changeSettingWithSelectedOption(value);
}

void RotateView::changeSettingWithSelectedOption(int value)
{
    m_model.changeSettingWithSelectedOption(value);
    refresh();
}

void RotateView::btnApplyTapped()
{
    if (m_delegate)
        m_delegate->btnApplyRotationTapped(FieldText::floatValue(m_txtAngle->text()));
}

void RotateView::refresh()
{
    for (int v = 0; v < RotateModel::kOptionCount; ++v)
        m_tiles[size_t(v)]->setChosen(m_model.isChosen(v), RotateModel::imageName(v, m_model.isChosen(v)));
    m_btnReset->setEnabled(m_model.isResetEnabled());
}

void RotateView::layOutTiles(int columns)
{
    if (columns == m_tileColumns)
        return;
    m_tileColumns = columns;
    for (OptionTile* tile : m_tiles)
        m_tilesGrid->removeWidget(tile);
    for (int v = 0; v < RotateModel::kOptionCount; ++v)
        m_tilesGrid->addWidget(m_tiles[size_t(v)], v / columns, v % columns);
    for (int c = 0; c <= RotateModel::kOptionCount; ++c)
        m_tilesGrid->setColumnStretch(c, c == columns ? 1 : 0);
}

void RotateView::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    // One row of five options while their captions fit, else two rows, so no caption is cut.
    int needed = 0;
    for (const OptionTile* tile : m_tiles)
        needed += tile->sizeHint().width() + m_tilesGrid->horizontalSpacing();
    const QMargins margins = layout() ? layout()->contentsMargins() : QMargins();
    const int available = event->size().width() - margins.left() - margins.right();
    layOutTiles(needed <= available ? RotateModel::kOptionCount : (RotateModel::kOptionCount + 1) / 2);
}

} // namespace vantrel
