#include "screens/Panes/ResizeModel.h"

#include <cmath>
#include <optional>
#include <utility>

#include "core/AppDelegate.h"
#include "core/Catalogue.h"
#include "core/DataBeans/PhotoFile.h"
#include "core/DataBeans/ProjectSession.h"
#include "platform/Defaults.h"
#include "platform/KeyedArchiver.h"
#include "screens/Panes/FieldText.h"

namespace vantrel {

namespace {

qint64 roundHalfAway(float value)
{
    return qint64(std::roundf(value));
}

/// A size pair read from a saved session, held to what typing allows: a side above the field's
/// limit is brought down to it; a pair with a side below 1 or not a number (which no user could
/// have typed, and which the run would refuse for every photo) is not restored.
std::optional<std::pair<qint64, qint64>> restoredPair(double width, double height, qint32 limit)
{
    if (!(width >= 1) || !(height >= 1)) // also NaN
        return std::nullopt;
    const auto held = [limit](double side) { return side > limit ? qint64(limit) : qint64(side); };
    return std::pair { held(width), held(height) };
}

} // namespace

ResizeModel::ResizeModel()
{
    m_text = { QString::number(qint64(kFallbackSide)), QString::number(qint64(kFallbackSide)), QStringLiteral("100"),
        QStringLiteral("100") };
}

void ResizeModel::loadPresets()
{
    m_presets.clear();
    m_selectedPreset = -1;
    Defaults& defaults = Defaults::standard();
    if (!defaults.contains(kDefaultsProjectSession))
        return;
    const std::optional<ProjectSession> session
        = KeyedUnarchiver::unarchiveObjectWithData<ProjectSession>(defaults.dataForKey(kDefaultsProjectSession));
    if (session)
        m_presets = session->arrayPredefinedSize;
}

void ResizeModel::saveProjectSession() const
{
    Defaults& defaults = Defaults::standard();
    if (!defaults.contains(kDefaultsProjectSession))
        return;
    std::optional<ProjectSession> session
        = KeyedUnarchiver::unarchiveObjectWithData<ProjectSession>(defaults.dataForKey(kDefaultsProjectSession));
    if (!session)
        return; // a damaged archive is left as it is rather than replaced by presets alone
    session->arrayPredefinedSize = m_presets;
    defaults.setObject(kDefaultsProjectSession, KeyedArchiver::archivedDataWithRootObject(*session));
}

QString ResizeModel::presetLabel(const SizeObject& preset)
{
    const auto whole = [](double value) { return QString::number(qint64(value)); };
    if (!preset.name.isEmpty())
        return QStringLiteral("%1 - %2 X %3").arg(preset.name, whole(preset.customWidth), whole(preset.customHeight));
    if (preset.isCustomSize)
        return QStringLiteral("Custom Size: %1 X %2").arg(whole(preset.customWidth), whole(preset.customHeight));
    return QStringLiteral("Percent Size: %1 X %2 %").arg(whole(preset.perWidth), whole(preset.perHeight));
}

QString ResizeModel::predefinedSizeText() const
{
    if (m_selectedPreset >= 0 && m_selectedPreset < m_presets.size())
        return presetLabel(m_presets[m_selectedPreset]);
    return QStringLiteral("Select");
}

int ResizeModel::popupHeight() const
{
    return m_presets.size() < 6 ? 30 * int(m_presets.size()) + 4 : 186;
}

void ResizeModel::predefinedSizeSelectedAtIndex(int index)
{
    if (index < 0 || index >= m_presets.size())
        return;
    m_selectedPreset = index;
    m_presets[index].isPredefinedSize = true;
    m_presets[index].predefinedIndex = index;
}

void ResizeModel::savePredefinedSizeObject()
{
    if ((m_mode != Mode::Custom && m_mode != Mode::Percent) || !m_saveAsPredefined || !m_selectedSizeObj)
        return;
    const SizeObject& size = *m_selectedSizeObj;
    for (const SizeObject& preset : std::as_const(m_presets)) {
        if (preset.isCustomSize && size.isCustomSize && preset.customWidth == size.customWidth
            && preset.customHeight == size.customHeight)
            return;
        if (preset.isPercentSize && size.isPercentSize && preset.perWidth == size.perWidth
            && preset.perHeight == size.perHeight)
            return;
    }
    m_presets.append(size);
    saveProjectSession();
}

void ResizeModel::takeReferenceSize()
{
    m_refWidth = kFallbackSide;
    m_refHeight = kFallbackSide;
    const QList<PhotoFilePtr>& batch = AppDelegate::shareDelegate()->arraySelectedImagesToProcess;
    for (qsizetype i = batch.size() - 1; i >= 0; --i) {
        const PhotoFilePtr& photo = batch[i];
        if (!photo || !photo->isSelected())
            continue;
        double width = photo->width();
        double height = photo->height();
        if (width <= 0 && height <= 0 && batch.last()) {
            width = batch.last()->width();
            height = batch.last()->height();
        }
        // A reference without a positive side would divide by zero in the aspect arithmetic.
        if (width > 0 && height > 0) {
            m_refWidth = width;
            m_refHeight = height;
        }
        break;
    }
}

void ResizeModel::setDefaultCustomSize()
{
    // The reference is refreshed even while a restored size is shown: the aspect lock must scale
    // by the photos of this batch, not by the fallback.
    takeReferenceSize();
    if (m_isCustomsizeFromLastSession)
        return;
    setNumber(Field::CustomWidth, qint64(m_refWidth));
    setNumber(Field::CustomHeight, qint64(m_refHeight));
}

void ResizeModel::resetTextFields()
{
    takeReferenceSize();
    m_keepAspect = false;
    setNumber(Field::CustomWidth, qint64(m_refWidth));
    setNumber(Field::CustomHeight, qint64(m_refHeight));
    setNumber(Field::PercentWidth, 100);
    setNumber(Field::PercentHeight, 100);
    changeSizeSettingWithSelectedOption(Mode::KeepOriginal);
}

void ResizeModel::changeSizeSettingWithSelectedOption(Mode mode)
{
    m_mode = mode;
    const bool sizeMode = mode == Mode::Custom || mode == Mode::Percent;
    m_keepAspect = sizeMode;
    m_saveAsPredefined = sizeMode;
    m_selectedPreset = -1;
}

void ResizeModel::keepOriginalToggled(bool on)
{
    changeSizeSettingWithSelectedOption(on ? Mode::KeepOriginal : Mode::Custom);
}

void ResizeModel::textEdited(Field field, const QString& text)
{
    m_text[int(field)] = FieldText::withoutGroupingSeparators(text);
    calculateAspectedValuesForTextField(field);
}

void ResizeModel::step(Field field, bool up)
{
    const qint32 value = FieldText::intValue(text(field));
    const qint32 ceiling = isPercentField(field) ? kMaxPercent - 1 : kMaxCustom - 1;
    if (up && value <= ceiling)
        setNumber(field, qint64(value) + 1);
    else if (!up && value >= 1)
        setNumber(field, qint64(value) - 1);
    calculateAspectedValuesForTextField(field);
}

void ResizeModel::calculateAspectedValuesForTextField(Field field)
{
    m_isCustomsizeFromLastSession = false;
    const bool percent = isPercentField(field);
    const Field width = percent ? Field::PercentWidth : Field::CustomWidth;
    const Field height = percent ? Field::PercentHeight : Field::CustomHeight;
    if (!m_keepAspect)
        applyUnlockedLimits(field);
    else if (field == width)
        applyLockedWidth(width, height, percent);
    else
        applyLockedHeight(width, height, percent);

    if (FieldText::floatValue(text(width)) < 1)
        setNumber(width, 1);
    else if (FieldText::floatValue(text(height)) < 1)
        setNumber(height, 1);
}

void ResizeModel::applyUnlockedLimits(Field field)
{
    const qint32 limit = isPercentField(field) ? kMaxPercent : kMaxCustom;
    qint32 value = FieldText::intValue(text(field));
    if (value > limit) {
        // Each pass drops the last digit, until the value fits (a pasted 123456 ends at 1234).
        while (value > limit)
            value /= 10;
        setNumber(field, value);
    } else if (FieldText::floatValue(text(field)) < 1) {
        setNumber(field, 1);
    }
}

void ResizeModel::applyLockedWidth(Field width, Field height, bool percent)
{
    const float pw = float(m_refWidth);
    const float ph = float(m_refHeight);
    float a = FieldText::floatValue(text(width));
    const qint32 before = FieldText::intValue(text(height));
    const auto tooLarge = [&](float value) {
        const float pixelWidth = percent ? float(value * pw / 100.0f) : value;
        const float scaledHeight = (pixelWidth / pw) * ph;
        return pixelWidth > kMaxPixels || scaledHeight > kMaxPixels;
    };
    if (tooLarge(a)) {
        qint32 whole = qint32(std::trunc(a));
        do {
            whole /= 10;
        } while (tooLarge(float(whole)) && whole > 0);
        setNumber(width, whole);
        setNumber(height, before);
        return;
    }
    const float r = a / pw;
    const float h = r * ph;
    if (h > 0)
        setNumber(height, roundHalfAway(percent ? a : h));
    else
        setNumber(height, 1);
}

void ResizeModel::applyLockedHeight(Field width, Field height, bool percent)
{
    const double pw = m_refWidth;
    const double ph = m_refHeight;
    const float c = FieldText::floatValue(text(height));
    const qint32 before = FieldText::intValue(text(width));
    const auto tooLarge = [&](float value) {
        const float pixelHeight = percent ? float(value * float(ph) / 100.0f) : value;
        const float scaledWidth = float(pw * pixelHeight / ph);
        return pixelHeight > kMaxPixels || scaledWidth > kMaxPixels;
    };
    if (tooLarge(c)) {
        qint32 whole = qint32(std::trunc(c));
        do {
            whole /= 10;
        } while (tooLarge(float(whole)) && whole > 0);
        setNumber(height, whole);
        setNumber(width, before);
        return;
    }
    const float w = float(pw * c / ph);
    if (w > 0)
        setNumber(width, roundHalfAway(percent ? c : w));
    else
        setNumber(width, 1);
}

SizeObject ResizeModel::getReSizeSettingObject()
{
    if (m_mode == Mode::Predefined && m_selectedPreset >= 0 && m_selectedPreset < m_presets.size()) {
        // The preset itself carries the save-as flag, as the handed-out size does.
        m_presets[m_selectedPreset].isSaveAsPredefined = m_saveAsPredefined;
        m_selectedSizeObj = m_presets[m_selectedPreset];
        return *m_selectedSizeObj;
    }
    SizeObject size;
    if (m_mode == Mode::Predefined) {
        size.isKeepOriginalSize = true;
    } else {
        size.customWidth = FieldText::intValue(text(Field::CustomWidth));
        size.customHeight = FieldText::intValue(text(Field::CustomHeight));
        size.perWidth = FieldText::intValue(text(Field::PercentWidth));
        size.perHeight = FieldText::intValue(text(Field::PercentHeight));
        size.isCustomSize = m_mode == Mode::Custom;
        size.isPercentSize = m_mode == Mode::Percent;
        size.isKeepAspectRatio = m_keepAspect;
        size.isKeepOriginalSize = m_mode == Mode::KeepOriginal;
    }
    size.isSaveAsPredefined = m_saveAsPredefined;
    m_selectedSizeObj = size;
    return size;
}

void ResizeModel::setReSizeSettingObject(const SizeObject& size)
{
    if (size.isPredefinedSize) {
        changeSizeSettingWithSelectedOption(Mode::Predefined);
    } else if (size.isCustomSize) {
        changeSizeSettingWithSelectedOption(Mode::Custom);
        // Without a usable pair the fields show the batch's size, as when nothing was saved.
        const auto pair = restoredPair(size.customWidth, size.customHeight, kMaxCustom);
        if (pair) {
            setNumber(Field::CustomWidth, pair->first);
            setNumber(Field::CustomHeight, pair->second);
        }
        m_isCustomsizeFromLastSession = pair.has_value();
    } else if (size.isPercentSize) {
        changeSizeSettingWithSelectedOption(Mode::Percent);
        const auto pair
            = restoredPair(size.perWidth, size.perHeight, kMaxPercent).value_or(std::pair<qint64, qint64> { 100, 100 });
        setNumber(Field::PercentWidth, pair.first);
        setNumber(Field::PercentHeight, pair.second);
    } else {
        changeSizeSettingWithSelectedOption(Mode::KeepOriginal);
    }
    if (size.predefinedIndex >= 0 && size.predefinedIndex < m_presets.size())
        predefinedSizeSelectedAtIndex(size.predefinedIndex);
    m_saveAsPredefined = size.isSaveAsPredefined;
    m_keepAspect = size.isKeepAspectRatio;
}

bool ResizeModel::isPredefinedSizeNotSlectedAnyValue() const
{
    return m_mode == Mode::Predefined && (m_selectedPreset < 0 || m_selectedPreset >= m_presets.size());
}

void ResizeModel::btnAppySizeTapped()
{
    if (m_mode == Mode::Predefined && m_selectedPreset >= 0 && m_selectedPreset < m_presets.size()) {
        m_selectedSizeObj = m_presets[m_selectedPreset];
        return;
    }
    SizeObject size;
    size.customWidth = FieldText::intValue(text(Field::CustomWidth));
    size.customHeight = FieldText::intValue(text(Field::CustomHeight));
    size.perWidth = FieldText::intValue(text(Field::PercentWidth));
    size.perHeight = FieldText::intValue(text(Field::PercentHeight));
    size.isCustomSize = m_mode == Mode::Custom;
    size.isPercentSize = m_mode == Mode::Percent;
    m_selectedSizeObj = size;
}

} // namespace vantrel
