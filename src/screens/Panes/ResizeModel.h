#pragma once

#include <array>
#include <optional>

#include <QList>
#include <QString>

#include "core/DataBeans/SizeObject.h"

namespace vantrel {

/// What the resize pane shows and decides, without widgets: the mode, the four size fields as
/// texts, the check boxes, the preset list and the reference size that the aspect lock scales by.
/// The widget (ResizeView) forwards user actions here and copies the state back to its controls.
/// Main thread only.
class ResizeModel {
public:
    enum class Mode { KeepOriginal = 0, Predefined = 1, Custom = 2, Percent = 3 };
    enum class Field { CustomWidth = 0, CustomHeight = 1, PercentWidth = 2, PercentHeight = 3 };

    static constexpr float kMaxPixels = 10000.0f; ///< the largest side a locked pair may give
    static constexpr qint32 kMaxCustom = 10000; ///< one custom field, lock off
    static constexpr qint32 kMaxPercent = 1000; ///< one percent field, lock off
    static constexpr double kFallbackSide = 200.0; ///< reference side without a usable photo

    ResizeModel();

    // --- Presets (kept in the session archive of the defaults) ------------------------------------
    /// The preset list from the archived session; empty without one.
    void loadPresets();
    /// Writes the preset list back into the archived session; nothing when there is none.
    void saveProjectSession() const;
    const QList<SizeObject>& presets() const { return m_presets; }
    void setPresets(QList<SizeObject> presets) { m_presets = std::move(presets); }
    /// "%@ - %d X %d" with a name, else "Custom Size: %d X %d" or "Percent Size: %d X %d %%".
    static QString presetLabel(const SizeObject& preset);
    /// The text of the preset field: the chosen preset's label, or "Select".
    QString predefinedSizeText() const;
    /// Height of the preset popup: 30 per row plus 4 below six rows, else 186 (the list scrolls).
    int popupHeight() const;
    void predefinedSizeSelectedAtIndex(int index);
    int selectedPresetIndex() const { return m_selectedPreset; }
    /// After a run: appends the size handed out last unless an equal preset exists, then saves.
    void savePredefinedSizeObject();

    // --- Reference size and reset ----------------------------------------------------------------
    /// Takes the reference size from the shared batch (the last selected photo with a size). The
    /// custom fields show it unless a restored custom size is in force.
    void setDefaultCustomSize();
    void resetTextFields();
    double referenceWidth() const { return m_refWidth; }
    double referenceHeight() const { return m_refHeight; }

    // --- Mode and edits --------------------------------------------------------------------------
    void changeSizeSettingWithSelectedOption(Mode mode);
    /// The keep-original check box: mode 0 when turned on, mode 2 when turned off.
    void keepOriginalToggled(bool on);
    void setKeepAspectRatio(bool on) { m_keepAspect = on; }
    void setSaveAsPredefined(bool on) { m_saveAsPredefined = on; }
    /// A user edit of a size field: separators removed, then the size rules.
    void textEdited(Field field, const QString& text);
    /// A stepper beside a field.
    void step(Field field, bool up);
    void calculateAspectedValuesForTextField(Field field);

    // --- Choice ----------------------------------------------------------------------------------
    SizeObject getReSizeSettingObject();
    /// Shows a saved choice. Its custom or percent sizes are held to what typing allows: a side
    /// above the field's limit comes down to it; a pair with a side below 1 or not a number is not
    /// restored (the fields show the batch's size, or 100 %).
    void setReSizeSettingObject(const SizeObject& size);
    bool isPredefinedSizeNotSlectedAnyValue() const;
    void btnAppySizeTapped();

    // --- State for the widget --------------------------------------------------------------------
    Mode mode() const { return m_mode; }
    QString text(Field field) const { return m_text[int(field)]; }
    void setText(Field field, const QString& text) { m_text[int(field)] = text; }
    bool isKeepOriginalChecked() const { return m_mode == Mode::KeepOriginal; }
    bool isKeepAspectRatio() const { return m_keepAspect; }
    bool isSaveAsPredefined() const { return m_saveAsPredefined; }
    bool isPredefinedEnabled() const { return m_mode == Mode::Predefined; }
    bool isCustomEnabled() const { return m_mode == Mode::Custom; }
    bool isPercentEnabled() const { return m_mode == Mode::Percent; }
    /// The aspect and save-as check boxes are enabled (and their labels white) in modes 2 and 3.
    bool areOptionChecksEnabled() const { return m_mode == Mode::Custom || m_mode == Mode::Percent; }
    bool isResetEnabled() const { return m_mode != Mode::KeepOriginal; }
    bool isCustomsizeFromLastSession() const { return m_isCustomsizeFromLastSession; }
    const std::optional<SizeObject>& selectedSizeObj() const { return m_selectedSizeObj; }

private:
    static bool isPercentField(Field field) { return field == Field::PercentWidth || field == Field::PercentHeight; }
    void setNumber(Field field, qint64 value) { m_text[int(field)] = QString::number(value); }
    void applyUnlockedLimits(Field field);
    void applyLockedWidth(Field width, Field height, bool percent);
    void applyLockedHeight(Field width, Field height, bool percent);
    void takeReferenceSize();

    std::array<QString, 4> m_text;
    Mode m_mode = Mode::KeepOriginal;
    bool m_keepAspect = false;
    bool m_saveAsPredefined = false;
    QList<SizeObject> m_presets;
    int m_selectedPreset = -1;
    std::optional<SizeObject> m_selectedSizeObj;
    double m_refWidth = kFallbackSide;
    double m_refHeight = kFallbackSide;
    bool m_isCustomsizeFromLastSession = false;
};

} // namespace vantrel
