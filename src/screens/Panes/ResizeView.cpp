#include "screens/Panes/ResizeView.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTimer>
#include <QVBoxLayout>

#include "components/ColoredCusrsorTextField.h"
#include "components/OnlyIntegerValueFormatter.h"
#include "core/AppDelegate.h"
#include "core/Catalogue.h"
#include "platform/NotificationCenter.h"
#include "screens/Panes/OptionsPopup.h"
#include "screens/Panes/PaneLook.h"

namespace vantrel {

using Field = ResizeModel::Field;
using Mode = ResizeModel::Mode;

ResizeView::ResizeView(QWidget* parent)
    : QWidget(parent)
    , m_popup(new OptionsPopup(this))
{
    setObjectName(QStringLiteral("vwResize"));
    setAccessibleName(QStringLiteral("Resize"));
    buildControls();
    NotificationCenter::defaultCenter().addObserver(
        this, kNotificationsSaveasPredefinedSize, [this](const Notification&) { savePredefinedSizeObject(); });
    QTimer::singleShot(20, this, &ResizeView::initSetup);
}

ResizeView::~ResizeView()
{
    NotificationCenter::defaultCenter().removeObserver(this);
}

void ResizeView::buildControls()
{
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(10);

    m_checkKeepOriginalsize = new QCheckBox(QStringLiteral("Keep original size"), this);
    m_btnPredefinedSize = new QRadioButton(QStringLiteral("Predefined size"), this);
    m_btnCustomSize = new QRadioButton(QStringLiteral("Custom size (pixels)"), this);
    m_btnPercentSize = new QRadioButton(QStringLiteral("Percentage (%)"), this);
    for (QRadioButton* radio : { m_btnPredefinedSize, m_btnCustomSize, m_btnPercentSize })
        radio->setAutoExclusive(false); // the model decides which one is on
    m_checkKeepOriginalsize->setAccessibleName(QStringLiteral("Keep original size"));
    m_btnPredefinedSize->setAccessibleName(QStringLiteral("Predefined size"));
    m_btnCustomSize->setAccessibleName(QStringLiteral("Custom size"));
    m_btnPercentSize->setAccessibleName(QStringLiteral("Percent size"));

    m_txtPredefinedSize = new QLineEdit(this);
    m_txtPredefinedSize->setReadOnly(true);
    m_txtPredefinedSize->setAccessibleName(QStringLiteral("Chosen preset"));
    PaneLook::styleField(m_txtPredefinedSize);
    // A Tab stop of its own: the keys that open a drop-down list open the presets from it.
    m_txtPredefinedSize->installEventFilter(this);
    m_btnOnPredefinedSize = PaneLook::makeButton(QStringLiteral("▾"), QStringLiteral("Choose preset"), this);
    m_btnOnPredefinedSize->setFixedWidth(28);

    // One shared integer-only formatter for the four size fields.
    auto* formatter = new OnlyIntegerValueFormatter(this);
    const char* names[] = { "Custom width", "Custom height", "Percent width", "Percent height" };
    for (int i = 0; i < 4; ++i) {
        auto* field = new ColoredCusrsorTextField(this);
        field->setValidator(formatter);
        field->setAccessibleName(QString::fromLatin1(names[i]));
        field->setFixedWidth(70);
        PaneLook::styleField(field);
        m_fields[size_t(i)] = field;
        const Field f = Field(i);
        connect(field, &QLineEdit::textEdited, this, [this, f](const QString& text) { edited(f, text); });
        for (int up = 1; up >= 0; --up) {
            QAbstractButton* stepper = PaneLook::makeStepper(
                up == 1, QString::fromLatin1(names[i]) + (up ? QStringLiteral(" up") : QStringLiteral(" down")), this);
            m_steppers[size_t(i)][size_t(1 - up)] = stepper;
            connect(stepper, &QAbstractButton::clicked, this, [this, f, up] { stepped(f, up == 1); });
        }
        m_fieldLabels[size_t(i)] = new QLabel(i % 2 == 0 ? QStringLiteral("W") : QStringLiteral("H"), this);
    }
    const auto fieldBox = [&](int i) {
        auto* box = new QHBoxLayout;
        box->setSpacing(4);
        box->addWidget(m_fieldLabels[size_t(i)]);
        box->addWidget(m_fields[size_t(i)]);
        auto* steps = new QVBoxLayout;
        steps->setSpacing(0);
        steps->addWidget(m_steppers[size_t(i)][0]);
        steps->addWidget(m_steppers[size_t(i)][1]);
        box->addLayout(steps);
        return box;
    };

    m_checkKeepAspectratio = new QCheckBox(QStringLiteral("Keep aspect ratio"), this);
    m_checkKeepAspectratio->setAccessibleName(QStringLiteral("Keep aspect ratio"));
    m_checkSaveAsPredefined = new QCheckBox(QStringLiteral("Save as predefined size"), this);
    m_checkSaveAsPredefined->setAccessibleName(QStringLiteral("Save as predefined size"));
    m_btnReset = PaneLook::makeResetLink(QStringLiteral("Reset size"), this);

    grid->addWidget(m_checkKeepOriginalsize, 0, 0, 1, 3);
    grid->addWidget(m_btnPredefinedSize, 1, 0);
    auto* preset = new QHBoxLayout;
    preset->setSpacing(0);
    preset->addWidget(m_txtPredefinedSize, 1);
    preset->addWidget(m_btnOnPredefinedSize);
    grid->addLayout(preset, 1, 1, 1, 2);
    grid->addWidget(m_btnCustomSize, 2, 0);
    grid->addLayout(fieldBox(0), 2, 1);
    grid->addLayout(fieldBox(1), 2, 2);
    grid->addWidget(m_btnPercentSize, 3, 0);
    grid->addLayout(fieldBox(2), 3, 1);
    grid->addLayout(fieldBox(3), 3, 2);
    grid->setColumnStretch(3, 1);

    auto* checks = new QHBoxLayout;
    checks->addWidget(m_checkKeepAspectratio);
    checks->addSpacing(16);
    checks->addWidget(m_checkSaveAsPredefined);
    checks->addStretch(1);
    checks->addWidget(m_btnReset);

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(16, 12, 16, 12);
    column->addWidget(PaneLook::makeTitle(QStringLiteral("Resize"), this));
    column->addLayout(grid);
    column->addLayout(checks);
    column->addStretch(1);

    connect(m_checkKeepOriginalsize, &QCheckBox::clicked, this, [this](bool on) {
        m_model.keepOriginalToggled(on);
        refresh();
    });
    connect(m_btnPredefinedSize, &QRadioButton::clicked, this, &ResizeView::btnPredefinedSizeTapped);
    connect(m_btnCustomSize, &QRadioButton::clicked, this, &ResizeView::btnCustomSizeTapped);
    connect(m_btnPercentSize, &QRadioButton::clicked, this, &ResizeView::btnPercentSizeTapped);
    connect(m_btnOnPredefinedSize, &QAbstractButton::clicked, this, &ResizeView::btnSelectPredefinedTapped);
    connect(m_btnReset, &QAbstractButton::clicked, this, &ResizeView::btnResetSettingTapped);
    // The two option check boxes are read when needed; the model keeps their state.
    connect(m_checkKeepAspectratio, &QCheckBox::clicked, this, [this](bool on) { m_model.setKeepAspectRatio(on); });
    connect(m_checkSaveAsPredefined, &QCheckBox::clicked, this, [this](bool on) { m_model.setSaveAsPredefined(on); });
    refresh();
}

void ResizeView::initSetup()
{
    if (m_isSetUp)
        return;
    m_isSetUp = true;
    m_model.loadPresets();
    m_model.resetTextFields();
    refresh();
}

void ResizeView::refresh()
{
    const Mode mode = m_model.mode();
    m_checkKeepOriginalsize->setChecked(mode == Mode::KeepOriginal);
    m_btnPredefinedSize->setChecked(mode == Mode::Predefined);
    m_btnCustomSize->setChecked(mode == Mode::Custom);
    m_btnPercentSize->setChecked(mode == Mode::Percent);
    PaneLook::setLabelLit(m_checkKeepOriginalsize, mode == Mode::KeepOriginal);
    PaneLook::setLabelLit(m_btnPredefinedSize, mode == Mode::Predefined);
    PaneLook::setLabelLit(m_btnCustomSize, mode == Mode::Custom);
    PaneLook::setLabelLit(m_btnPercentSize, mode == Mode::Percent);

    m_txtPredefinedSize->setText(m_model.predefinedSizeText());
    m_txtPredefinedSize->setEnabled(m_model.isPredefinedEnabled());
    m_btnOnPredefinedSize->setEnabled(m_model.isPredefinedEnabled());
    for (int i = 0; i < 4; ++i) {
        const bool enabled = i < 2 ? m_model.isCustomEnabled() : m_model.isPercentEnabled();
        PaneLook::setTextKeepingCursor(m_fields[size_t(i)], m_model.text(Field(i)));
        m_fields[size_t(i)]->setEnabled(enabled);
        m_steppers[size_t(i)][0]->setEnabled(enabled);
        m_steppers[size_t(i)][1]->setEnabled(enabled);
        PaneLook::setLabelLit(m_fieldLabels[size_t(i)], enabled);
    }
    const bool checks = m_model.areOptionChecksEnabled();
    m_checkKeepAspectratio->setEnabled(checks);
    m_checkKeepAspectratio->setChecked(m_model.isKeepAspectRatio());
    m_checkSaveAsPredefined->setEnabled(checks);
    m_checkSaveAsPredefined->setChecked(m_model.isSaveAsPredefined());
    PaneLook::setLabelLit(m_checkKeepAspectratio, checks);
    PaneLook::setLabelLit(m_checkSaveAsPredefined, checks);
    m_btnReset->setEnabled(m_model.isResetEnabled());
}

void ResizeView::edited(Field field, const QString& text)
{
    m_model.textEdited(field, text);
    refresh();
}

void ResizeView::stepped(Field field, bool up)
{
    m_model.step(field, up);
    refresh();
}

void ResizeView::setDefaultCustomSize()
{
    m_model.setDefaultCustomSize();
    refresh();
}

SizeObject ResizeView::getReSizeSettingObject()
{
    return m_model.getReSizeSettingObject();
}

void ResizeView::setReSizeSettingObject(const SizeObject& size)
{
    initSetup(); // a restore right after creation must not be undone by the scheduled set-up
    m_model.setReSizeSettingObject(size);
    refresh();
}

void ResizeView::btnKeepOriginalSizeTapped()
{
    m_model.changeSizeSettingWithSelectedOption(Mode::KeepOriginal);
    refresh();
}

void ResizeView::btnPredefinedSizeTapped()
{
    m_model.changeSizeSettingWithSelectedOption(Mode::Predefined);
    refresh();
}

void ResizeView::btnCustomSizeTapped()
{
    m_model.changeSizeSettingWithSelectedOption(Mode::Custom);
    refresh();
}

void ResizeView::btnPercentSizeTapped()
{
    m_model.changeSizeSettingWithSelectedOption(Mode::Percent);
    refresh();
}

void ResizeView::btnResetSettingTapped()
{
    m_model.resetTextFields();
    refresh();
}

void ResizeView::predefinedSizeSelectedAtIndex(int index)
{
    m_model.predefinedSizeSelectedAtIndex(index);
    refresh();
}

void ResizeView::savePredefinedSizeObject()
{
    m_model.savePredefinedSizeObject();
}

bool ResizeView::opensPresetList(const QKeyEvent* event)
{
    const Qt::KeyboardModifiers held = event->modifiers() & ~Qt::KeypadModifier;
    switch (event->key()) {
    case Qt::Key_Down:
        return held == Qt::NoModifier || held == Qt::AltModifier;
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return held == Qt::NoModifier;
    default:
        return false;
    }
}

bool ResizeView::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_txtPredefinedSize && event->type() == QEvent::KeyPress
        && opensPresetList(static_cast<QKeyEvent*>(event)) && m_txtPredefinedSize->isEnabled()) {
        showPresetList(m_txtPredefinedSize);
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void ResizeView::btnSelectPredefinedTapped()
{
    showPresetList(m_btnOnPredefinedSize);
}

void ResizeView::showPresetList(QWidget* opener)
{
    QStringList rows;
    for (const SizeObject& preset : m_model.presets())
        rows << ResizeModel::presetLabel(preset);
    m_popup->show(
        m_txtPredefinedSize, opener, rows, m_model.popupHeight(), m_model.selectedPresetIndex(),
        [this](int row) { predefinedSizeSelectedAtIndex(row); },
        [] {
            NotificationCenter::defaultCenter().post(kNotificationsMakeKeyWindw);
            AppDelegate::shareDelegate()->isSubWindowOpened = false;
        });
    // Set after showing: closing a popup that was still open clears the flag.
    AppDelegate::shareDelegate()->isSubWindowOpened = m_popup->isOpen();
}

} // namespace vantrel
