// The resize pane's rules without widgets: the size arithmetic with and without the aspect lock,
// the steppers, the reference size, modes and their enable rules, presets and restore.
#include <limits>

#include <QList>
#include <QSize>

#include <gtest/gtest.h>

#include "core/AppDelegate.h"
#include "core/Catalogue.h"
#include "core/DataBeans/OutputOptionSettings.h"
#include "core/DataBeans/PhotoFile.h"
#include "core/DataBeans/ProjectSession.h"
#include "core/DataBeans/ResizingOptionsSettingObject.h"
#include "core/Processing/PhotoJobSettings.h"
#include "core/Processing/TargetSize.h"
#include "platform/Defaults.h"
#include "platform/KeyedArchiver.h"
#include "screens/Panes/ResizeModel.h"

namespace vantrel {
namespace {

using Field = ResizeModel::Field;
using Mode = ResizeModel::Mode;

PhotoFilePtr photoOfSize(double width, double height, bool selected)
{
    auto photo = std::make_shared<PhotoFile>();
    photo->setWidth(width);
    photo->setHeight(height);
    photo->setIsSelected(selected);
    return photo;
}

// A model with the given reference size, in a mode, fields at their defaults for that reference.
ResizeModel modelWithReference(double width, double height, Mode mode, bool lock)
{
    AppDelegate* app = AppDelegate::resetShared();
    app->arraySelectedImagesToProcess = { photoOfSize(width, height, true) };
    ResizeModel model;
    model.resetTextFields();
    model.changeSizeSettingWithSelectedOption(mode);
    model.setKeepAspectRatio(lock);
    return model;
}

TEST(ResizeModelTest, SizeArithmeticTable)
{
    struct Case {
        const char* what;
        double refW, refH;
        Mode mode;
        bool lock;
        Field field;
        QString typed;
        QString width, height; // the pair's two fields afterwards
    };
    const Case cases[] = {
        { "lock: width sets height", 4000, 3000, Mode::Custom, true, Field::CustomWidth, "1000", "1000", "750" },
        { "lock: too wide drops a digit, height back", 4000, 3000, Mode::Custom, true, Field::CustomWidth, "12000",
            "1200", "3000" },
        { "lock: pasted 123456 ends at 1234", 4000, 3000, Mode::Custom, true, Field::CustomWidth, "123456", "1234",
            "3000" },
        { "lock: height sets width", 4000, 3000, Mode::Custom, true, Field::CustomHeight, "300", "400", "300" },
        { "lock: height rounds half away", 3, 2, Mode::Custom, true, Field::CustomHeight, "1", "2", "1" },
        { "lock: too tall drops a digit, width back", 4000, 3000, Mode::Custom, true, Field::CustomHeight, "9000",
            "4000", "900" },
        { "lock: grouping commas removed", 4000, 3000, Mode::Custom, true, Field::CustomWidth, "2,000", "2000",
            "1500" },
        { "lock percent: same percent both sides", 4000, 3000, Mode::Percent, true, Field::PercentWidth, "150", "150",
            "150" },
        { "lock percent: 200% of 8000 px is too wide", 8000, 3000, Mode::Percent, true, Field::PercentWidth, "200",
            "20", "100" },
        { "lock percent: height edit limited by pixels", 3000, 8000, Mode::Percent, true, Field::PercentHeight, "200",
            "100", "20" },
        { "lock percent: 1200% fine on a small photo", 500, 400, Mode::Percent, true, Field::PercentWidth, "1200",
            "1200", "1200" },
        { "lock: emptied width becomes 1", 4000, 3000, Mode::Custom, true, Field::CustomWidth, "", "1", "1" },
        { "free: 12345 custom leaves 1234", 4000, 3000, Mode::Custom, false, Field::CustomWidth, "12345", "1234",
            "3000" },
        { "free: 123456 custom leaves 1234", 4000, 3000, Mode::Custom, false, Field::CustomHeight, "123456", "4000",
            "1234" },
        { "free: 10000 custom is allowed", 4000, 3000, Mode::Custom, false, Field::CustomWidth, "10000", "10000",
            "3000" },
        { "free: 1500 percent leaves 150", 4000, 3000, Mode::Percent, false, Field::PercentWidth, "1500", "150",
            "100" },
        { "free: emptied field becomes 1", 4000, 3000, Mode::Custom, false, Field::CustomHeight, "", "4000", "1" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ResizeModel model = modelWithReference(c.refW, c.refH, c.mode, c.lock);
        model.textEdited(c.field, c.typed);
        const bool percent = c.field == Field::PercentWidth || c.field == Field::PercentHeight;
        EXPECT_EQ(model.text(percent ? Field::PercentWidth : Field::CustomWidth), c.width);
        EXPECT_EQ(model.text(percent ? Field::PercentHeight : Field::CustomHeight), c.height);
    }
}

TEST(ResizeModelTest, EachPercentSizesItsOwnSideUnlessTheLockJoinsThem)
{
    struct Case {
        const char* what;
        bool lock;
        QSize photo;
        QString widthPercent, heightPercent; // typed in this order
        QSize pixels;
    };
    const Case cases[] = {
        { "free: 50 % by 25 %", false, { 400, 300 }, "50", "25", { 200, 75 } },
        { "free: 25 % by 50 %", false, { 400, 300 }, "25", "50", { 100, 150 } },
        { "free: portrait, 50 % by 25 %", false, { 300, 400 }, "50", "25", { 150, 100 } },
        { "lock: the last percent typed is both sides'", true, { 400, 300 }, "50", "25", { 100, 75 } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ResizeModel model = modelWithReference(c.photo.width(), c.photo.height(), Mode::Percent, c.lock);
        model.textEdited(Field::PercentWidth, c.widthPercent);
        model.textEdited(Field::PercentHeight, c.heightPercent);
        ResizingOptionsSettingObject resize;
        resize.sizeObject = model.getReSizeSettingObject();
        const PhotoJobSettings settings = PhotoJobSettings::from(resize, OutputOptionSettings(), QString());
        EXPECT_EQ(TargetSize::forPixels(c.photo, settings), c.pixels);
    }
}

TEST(ResizeModelTest, SteppersStopAtTheirLimitsAndNeverLeaveZero)
{
    ResizeModel model = modelWithReference(4000, 3000, Mode::Custom, false);
    model.setText(Field::CustomWidth, "10000");
    model.step(Field::CustomWidth, true);
    EXPECT_EQ(model.text(Field::CustomWidth), "10000");
    model.setText(Field::CustomWidth, "9999");
    model.step(Field::CustomWidth, true);
    EXPECT_EQ(model.text(Field::CustomWidth), "10000");
    model.changeSizeSettingWithSelectedOption(Mode::Percent);
    model.setKeepAspectRatio(false);
    model.setText(Field::PercentHeight, "1000");
    model.step(Field::PercentHeight, true);
    EXPECT_EQ(model.text(Field::PercentHeight), "1000");
    model.setText(Field::PercentHeight, "1");
    model.step(Field::PercentHeight, false); // 0, raised back to 1
    EXPECT_EQ(model.text(Field::PercentHeight), "1");
}

TEST(ResizeModelTest, ReferenceSizeComesFromTheLastSelectedPhoto)
{
    struct Case {
        const char* what;
        QList<PhotoFilePtr> batch;
        QString width, height;
    };
    const Case cases[] = {
        { "empty batch", {}, "200", "200" },
        { "nothing selected", { photoOfSize(640, 480, false) }, "200", "200" },
        { "last selected wins", { photoOfSize(640, 480, true), photoOfSize(800, 600, true), photoOfSize(1, 1, false) },
            "800", "600" },
        { "sizeless selected photo: the last photo", { photoOfSize(0, 0, true), photoOfSize(320, 240, false) }, "320",
            "240" },
        { "no photo with a size: the fallback", { photoOfSize(0, 0, true) }, "200", "200" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        AppDelegate::resetShared()->arraySelectedImagesToProcess = c.batch;
        ResizeModel model;
        model.setDefaultCustomSize();
        EXPECT_EQ(model.text(Field::CustomWidth), c.width);
        EXPECT_EQ(model.text(Field::CustomHeight), c.height);
    }
}

TEST(ResizeModelTest, RestoredCustomSizeStaysButTheLockUsesTheBatch)
{
    AppDelegate::resetShared()->arraySelectedImagesToProcess = { photoOfSize(4000, 2000, true) };
    ResizeModel model;
    SizeObject saved;
    saved.isCustomSize = true;
    saved.isKeepAspectRatio = true;
    saved.customWidth = 1024;
    saved.customHeight = 768;
    model.setReSizeSettingObject(saved);
    model.setDefaultCustomSize(); // the size step is shown: fields kept, reference refreshed
    EXPECT_EQ(model.text(Field::CustomWidth), "1024");
    EXPECT_EQ(model.text(Field::CustomHeight), "768");
    EXPECT_TRUE(model.isCustomsizeFromLastSession());
    model.textEdited(Field::CustomWidth, "1000"); // 4000 x 2000, not the 200 x 200 fallback
    EXPECT_EQ(model.text(Field::CustomHeight), "500");
    EXPECT_FALSE(model.isCustomsizeFromLastSession());
}

// A size read back from a saved session goes through the archive and into the pane as a typed
// one would: a side above its limit comes down to it; a pair no user could have typed (below 1,
// not a number) is not restored, so the run gets the batch's size (or 100 %), never 1 x 1. A
// preset of the session chosen as the predefined size is handed to the run as it is, and the run
// refuses one with a side below 1 as it refuses a size too large (status 7), never raising it.
TEST(ResizeModelTest, ARestoredSizeIsHeldToTheLimitsOfATypedOne)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const struct {
        const char* what;
        bool custom, preset;
        double width, height;
        std::optional<QSize> pixels; // for the 400 x 300 photo of the batch; none: refused
    } cases[] = {
        { "a usable pixel size stays", true, false, 800, 600, QSize(800, 600) },
        { "zero pixels", true, false, 0, 0, QSize(400, 300) },
        { "a negative side", true, false, 640, -480, QSize(400, 300) },
        { "not a number", true, false, nan, 480, QSize(400, 300) },
        { "above the limit", true, false, 50000, 20000, QSize(10000, 10000) },
        { "a usable percent stays", false, false, 50, 50, QSize(200, 150) },
        { "zero percent", false, false, 0, 0, QSize(400, 300) },
        { "a negative percent", false, false, -50, 50, QSize(400, 300) },
        { "percent not a number", false, false, 50, nan, QSize(400, 300) },
        { "percent above the limit", false, false, 5000, 1000, QSize(4000, 3000) },
        { "a usable preset", true, true, 640, 480, QSize(640, 480) },
        { "a preset of zero pixels", true, true, 0, 0, std::nullopt },
        { "a preset half a pixel wide", true, true, 0.5, 480, std::nullopt },
        { "a preset of zero percent", false, true, 0, 0, std::nullopt },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        SizeObject saved;
        saved.isCustomSize = c.custom;
        saved.isPercentSize = !c.custom;
        (c.custom ? saved.customWidth : saved.perWidth) = c.width;
        (c.custom ? saved.customHeight : saved.perHeight) = c.height;
        ProjectSession session;
        if (c.preset) {
            session.arrayPredefinedSize = { saved };
            saved.isPredefinedSize = true;
            saved.predefinedIndex = 0;
        }
        session.resizeSettingObject = ResizingOptionsSettingObject();
        session.resizeSettingObject->sizeObject = saved;
        const std::optional<ProjectSession> restored = KeyedUnarchiver::unarchiveObjectWithData<ProjectSession>(
            KeyedArchiver::archivedDataWithRootObject(session));
        ASSERT_TRUE(restored && restored->resizeSettingObject && restored->resizeSettingObject->sizeObject);

        ResizeModel model = modelWithReference(400, 300, Mode::KeepOriginal, false);
        model.setPresets(restored->arrayPredefinedSize);
        model.setReSizeSettingObject(*restored->resizeSettingObject->sizeObject);
        model.setDefaultCustomSize(); // the size step is shown
        EXPECT_EQ(model.mode(), c.preset ? Mode::Predefined : c.custom ? Mode::Custom : Mode::Percent);
        EXPECT_FALSE(model.isPredefinedSizeNotSlectedAnyValue()); // nothing holds the run back
        ResizingOptionsSettingObject resize;
        resize.sizeObject = model.getReSizeSettingObject();
        const PhotoJobSettings settings = PhotoJobSettings::from(resize, OutputOptionSettings(), QString());
        EXPECT_EQ(TargetSize::forPixels(QSize(400, 300), settings), c.pixels);
    }
}

TEST(ResizeModelTest, ModesDecideTheEnableRulesAndTheChoice)
{
    struct Case {
        Mode mode;
        bool predefined, custom, percent, checks, reset;
    };
    const Case cases[] = {
        { Mode::KeepOriginal, false, false, false, false, false },
        { Mode::Predefined, true, false, false, false, true },
        { Mode::Custom, false, true, false, true, true },
        { Mode::Percent, false, false, true, true, true },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(int(c.mode));
        ResizeModel model = modelWithReference(640, 480, Mode::KeepOriginal, false);
        model.changeSizeSettingWithSelectedOption(c.mode);
        EXPECT_EQ(model.isPredefinedEnabled(), c.predefined);
        EXPECT_EQ(model.isCustomEnabled(), c.custom);
        EXPECT_EQ(model.isPercentEnabled(), c.percent);
        EXPECT_EQ(model.areOptionChecksEnabled(), c.checks);
        EXPECT_EQ(model.isKeepAspectRatio(), c.checks); // on in the size modes, off otherwise
        EXPECT_EQ(model.isSaveAsPredefined(), c.checks);
        EXPECT_EQ(model.isResetEnabled(), c.reset);
        EXPECT_EQ(model.predefinedSizeText(), "Select");
        const SizeObject size = model.getReSizeSettingObject();
        EXPECT_EQ(size.isCustomSize, c.mode == Mode::Custom);
        EXPECT_EQ(size.isPercentSize, c.mode == Mode::Percent);
        // Predefined without a preset hands out keep-original, and the wizard is told to refuse.
        EXPECT_EQ(size.isKeepOriginalSize, c.mode == Mode::KeepOriginal || c.mode == Mode::Predefined);
        EXPECT_EQ(model.isPredefinedSizeNotSlectedAnyValue(), c.mode == Mode::Predefined);
        EXPECT_EQ(size.customWidth, c.mode == Mode::Predefined ? 0 : 640); // all four fields otherwise
        EXPECT_EQ(size.perWidth, c.mode == Mode::Predefined ? 0 : 100);
    }
    ResizeModel model = modelWithReference(640, 480, Mode::Custom, true);
    model.keepOriginalToggled(true);
    EXPECT_EQ(model.mode(), Mode::KeepOriginal);
    model.keepOriginalToggled(false);
    EXPECT_EQ(model.mode(), Mode::Custom);
}

SizeObject preset(const QString& name, bool custom, double w, double h)
{
    SizeObject size;
    size.name = name;
    size.isCustomSize = custom;
    size.isPercentSize = !custom;
    (custom ? size.customWidth : size.perWidth) = w;
    (custom ? size.customHeight : size.perHeight) = h;
    return size;
}

TEST(ResizeModelTest, PresetLabelsPopupAndChoice)
{
    EXPECT_EQ(ResizeModel::presetLabel(preset("Phone", true, 1136, 640)), "Phone - 1136 X 640");
    EXPECT_EQ(ResizeModel::presetLabel(preset("", true, 800.7, 600)), "Custom Size: 800 X 600");
    EXPECT_EQ(ResizeModel::presetLabel(preset("", false, 50, 50)), "Percent Size: 50 X 50 %");

    ResizeModel model = modelWithReference(640, 480, Mode::Predefined, false);
    model.setPresets({ preset("A", true, 1, 2), preset("B", true, 3, 4), preset("", false, 5, 6),
        preset("D", true, 7, 8), preset("E", true, 9, 10) });
    EXPECT_EQ(model.popupHeight(), 154);
    model.predefinedSizeSelectedAtIndex(1);
    EXPECT_EQ(model.predefinedSizeText(), "B - 3 X 4");
    EXPECT_FALSE(model.isPredefinedSizeNotSlectedAnyValue());
    const SizeObject chosen = model.getReSizeSettingObject();
    EXPECT_EQ(chosen.name, "B");
    EXPECT_TRUE(chosen.isPredefinedSize);
    EXPECT_EQ(chosen.predefinedIndex, 1);
    model.setPresets(model.presets() + QList<SizeObject> { preset("F", true, 1, 1) });
    EXPECT_EQ(model.popupHeight(), 186);

    // Restoring the chosen preset in a new pane shows it again.
    ResizeModel restored = modelWithReference(640, 480, Mode::KeepOriginal, false);
    restored.setPresets(model.presets());
    restored.setReSizeSettingObject(chosen);
    EXPECT_EQ(restored.mode(), Mode::Predefined);
    EXPECT_EQ(restored.predefinedSizeText(), "B - 3 X 4");
}

TEST(ResizeModelTest, UsedSizesBecomePresetsOnceAndTheSessionIsRewritten)
{
    ProjectSession session;
    session.dateString = "kept";
    session.arrayPredefinedSize = { preset("", false, 50, 50) };
    Defaults::standard().setObject(kDefaultsProjectSession, KeyedArchiver::archivedDataWithRootObject(session));

    ResizeModel model = modelWithReference(4000, 3000, Mode::Custom, false);
    model.loadPresets();
    ASSERT_EQ(model.presets().size(), 1);

    const auto runWith = [&](Mode mode, const QString& w, const QString& h, bool saveAs) {
        model.changeSizeSettingWithSelectedOption(mode);
        model.setSaveAsPredefined(saveAs);
        const bool percent = mode == Mode::Percent;
        model.setText(percent ? Field::PercentWidth : Field::CustomWidth, w);
        model.setText(percent ? Field::PercentHeight : Field::CustomHeight, h);
        model.getReSizeSettingObject();
        model.savePredefinedSizeObject(); // the end of a run
    };
    runWith(Mode::Custom, "800", "600", true);
    runWith(Mode::Custom, "800", "600", true); // equal: not added twice
    runWith(Mode::Custom, "50", "50", true); // a percent 50 x 50 does not block a custom one
    runWith(Mode::Percent, "50", "50", true); // equal to the archived preset
    runWith(Mode::Custom, "640", "480", false); // not asked for
    ASSERT_EQ(model.presets().size(), 3);

    const std::optional<ProjectSession> stored = KeyedUnarchiver::unarchiveObjectWithData<ProjectSession>(
        Defaults::standard().dataForKey(kDefaultsProjectSession));
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->dateString, "kept");
    ASSERT_EQ(stored->arrayPredefinedSize.size(), 3);
    EXPECT_EQ(stored->arrayPredefinedSize[1].customWidth, 800);
    EXPECT_EQ(stored->arrayPredefinedSize[2].customHeight, 50);

    Defaults::standard().removeObjectForKey(kDefaultsProjectSession);
    model.loadPresets();
    EXPECT_TRUE(model.presets().isEmpty());
}

} // namespace
} // namespace vantrel
