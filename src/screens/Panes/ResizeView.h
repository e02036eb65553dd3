#pragma once

#include <array>

#include <QWidget>

#include "screens/Panes/ResizeModel.h"

class QAbstractButton;
class QCheckBox;
class QKeyEvent;
class QLineEdit;
class QRadioButton;

namespace vantrel {

class OptionsPopup;

/// The size step's resize pane: keep the original size, a preset, a custom size in pixels or a
/// size in percent, with the aspect lock and the save-as-preset choice. A thin widget over
/// ResizeModel: every action goes to the model and the controls are then refreshed from it.
/// Main thread only.
class ResizeView : public QWidget {
    Q_OBJECT
public:
    explicit ResizeView(QWidget* parent = nullptr);
    ~ResizeView() override;

    /// Loads the presets and resets the fields; runs once, 20 ms after creation or when called.
    void initSetup();

    // What the main screen calls.
    void setDefaultCustomSize();
    SizeObject getReSizeSettingObject();
    void setReSizeSettingObject(const SizeObject& size);
    bool isPredefinedSizeNotSlectedAnyValue() const { return m_model.isPredefinedSizeNotSlectedAnyValue(); }
    QList<SizeObject> predefinedSizes() const { return m_model.presets(); }

    // Actions (public so that the main screen and the tests can drive them like clicks).
    void btnKeepOriginalSizeTapped();
    void btnPredefinedSizeTapped();
    void btnCustomSizeTapped();
    void btnPercentSizeTapped();
    void btnSelectPredefinedTapped();
    void btnResetSettingTapped();
    void predefinedSizeSelectedAtIndex(int index);
    void savePredefinedSizeObject();

    const ResizeModel& model() const { return m_model; }
    OptionsPopup* popup() const { return m_popup; }
    QLineEdit* field(ResizeModel::Field field) const { return m_fields[size_t(field)]; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    /// Down, Alt+Down, Space, Return and Enter on the preset field.
    static bool opensPresetList(const QKeyEvent* event);
    /// Opens the preset list below the preset field; `opener` gets the keyboard back.
    void showPresetList(QWidget* opener);
    void buildControls();
    void refresh();
    void edited(ResizeModel::Field field, const QString& text);
    void stepped(ResizeModel::Field field, bool up);

    ResizeModel m_model;
    bool m_isSetUp = false;
    OptionsPopup* m_popup = nullptr;

    QCheckBox* m_checkKeepOriginalsize = nullptr;
    QRadioButton* m_btnPredefinedSize = nullptr;
    QRadioButton* m_btnCustomSize = nullptr;
    QRadioButton* m_btnPercentSize = nullptr;
    QLineEdit* m_txtPredefinedSize = nullptr;
    QAbstractButton* m_btnOnPredefinedSize = nullptr;
    std::array<QLineEdit*, 4> m_fields {};
    std::array<std::array<QAbstractButton*, 2>, 4> m_steppers {};
    std::array<QWidget*, 4> m_fieldLabels {};
    QCheckBox* m_checkKeepAspectratio = nullptr;
    QCheckBox* m_checkSaveAsPredefined = nullptr;
    QAbstractButton* m_btnReset = nullptr;
};

} // namespace vantrel
