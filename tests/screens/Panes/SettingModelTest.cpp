// The output settings pane's rules without widgets: format and quality, naming text, folder
// choice with the Trash refusal and the reset rule, restore.
#include <unistd.h>

#include <QDir>

#include <gtest/gtest.h>

#include "platform/Paths.h"
#include "screens/Panes/SettingModel.h"

namespace vantrel {
namespace {

TEST(SettingModelTest, DefaultsAndHandedOutChoice)
{
    SettingModel model;
    const OutputOptionSettings s = model.getOutputSettingObject();
    EXPECT_EQ(s.formatOption, 0);
    EXPECT_EQ(s.selectedFileFormat, 0);
    EXPECT_EQ(s.compressionRatio, 75);
    EXPECT_EQ(s.filenameOption, 0);
    EXPECT_EQ(s.folderOption, 1);
    EXPECT_EQ(s.ouptputFolder, Paths::defaultOutputFolder());
    EXPECT_FALSE(s.keepFolderHierarchy);
    EXPECT_TRUE(s.askBeforeOverwrite);
    EXPECT_FALSE(model.isResetFolderEnabled());
    EXPECT_FALSE(model.isResetFilenameEnabled());
    EXPECT_EQ(model.selectedFormatTitle(), "*.TIF");
}

TEST(SettingModelTest, FormatsQualityBoxAndQuality)
{
    SettingModel model;
    model.setUIforFormatType(1);
    const bool lossy[] = { false, false, false, true, true, true, false, false };
    const char* titles[] = { "*.TIF", "*.TIFF", "*.PNG", "*.JPG", "*.JPEG", "*.JP2", "*.BMP", "*.GIF" };
    for (int i = 0; i < 8; ++i) {
        model.formatSelectionChangedWithIndex(i);
        EXPECT_EQ(model.isQualityBoxVisible(), lossy[i]) << i;
        EXPECT_EQ(model.selectedFormatTitle(), titles[i]);
    }
    model.formatSelectionChangedWithIndex(4);
    model.setQualityText("40");
    EXPECT_EQ(model.getOutputSettingObject().compressionRatio, 40);
    EXPECT_EQ(model.getOutputSettingObject().selectedFileFormat, 4);
    model.setUIforFormatType(0); // keep: quality back to 75, format 0
    EXPECT_EQ(model.qualityText(), "75");
    EXPECT_EQ(model.selectedFormatOptionIndex(), 0);

    struct Step {
        QString from;
        bool up;
        QString to;
    };
    for (const Step& s : { Step { "99", true, "100" }, Step { "100", true, "100" }, Step { "1", false, "0" },
             Step { "0", false, "0" } }) {
        model.setQualityText(s.from);
        model.stepQuality(s.up);
        EXPECT_EQ(model.qualityText(), s.to) << s.from.toStdString();
    }
    EXPECT_EQ(SettingModel::popupHeight(SettingModel::PopupKind::Formats), 224);
    EXPECT_EQ(SettingModel::popupHeight(SettingModel::PopupKind::Naming), 128);
}

TEST(SettingModelTest, NamingOptionsAndTheirText)
{
    struct Case {
        int index;
        bool box;
        QString label, placeholder;
    };
    const Case cases[] = { { 0, false, "Original Name:", "Original Name" },
        { 1, false, "[Original Name]_[Width]X[Height]:", "[Original Name]_[Width]X[Height]" },
        { 2, true, "Prefix:", "Enter Prefix" }, { 3, true, "Suffix:", "Enter Suffix" } };
    SettingModel model;
    for (const Case& c : cases) {
        model.suffixEdited("left over");
        model.filenameSelectionChangedWithIndex(c.index);
        EXPECT_EQ(model.suffixText(), ""); // every choice empties the text
        EXPECT_EQ(model.isSuffixBoxVisible(), c.box);
        EXPECT_EQ(model.suffixLabel(), c.label);
        EXPECT_EQ(model.suffixPlaceholder(), c.placeholder);
        EXPECT_EQ(model.isResetFilenameEnabled(), c.index != 0);
    }

    const QString emoji = QString::fromUtf8("\xF0\x9F\x93\xB7"); // one character, two UTF-16 units
    struct Typed {
        QString typed, kept;
    };
    const Typed typed[] = {
        { "a/b:c", "abc" },
        { ":;,./\\?%*|\"<>x", "x" },
        { QString(40, u'n'), QString(30, u'n') },
        { "tab\there\x7f", "tabhere" },
        { QString(29, u'n') + emoji, QString(29, u'n') }, // the pair is not split
        { QString(28, u'n') + emoji, QString(28, u'n') + emoji },
        { "", "" },
    };
    model.filenameSelectionChangedWithIndex(3);
    for (const Typed& t : typed) {
        EXPECT_EQ(model.suffixEdited(t.typed), t.kept);
        EXPECT_EQ(model.getOutputSettingObject().prefixString, t.kept);
    }
}

TEST(SettingModelTest, FolderChoiceTrashAndReset)
{
    SettingModel model;
    const QString chosen = QDir::homePath() + "/Shared/Out Photos";
    EXPECT_TRUE(model.folderChosen(chosen));
    EXPECT_EQ(model.outputFolder(), chosen); // kept as chosen, case included
    EXPECT_EQ(model.getOutputSettingObject().ouptputFolder, chosen);
    EXPECT_TRUE(model.isResetFolderEnabled());

    const QString uid = QString::number(::getuid());
    const QString dataHome = qEnvironmentVariable("XDG_DATA_HOME");
    for (const QString& trash : { dataHome + "/Trash/files/x", dataHome + "/Trash",
             "/media/disk/.Trash-" + uid + "/files", "/media/disk/.Trash/" + uid + "/files" }) {
        EXPECT_FALSE(model.folderChosen(trash)) << trash.toStdString();
        EXPECT_EQ(model.outputFolder(), chosen);
    }
    EXPECT_TRUE(model.folderChosen("/media/disk/Trash folder"));

    model.btnResetFolderTapped();
    EXPECT_EQ(model.outputFolder(), Paths::defaultOutputFolder());
    EXPECT_FALSE(model.isResetFolderEnabled());
    // Each of the three differences from the defaults enables reset; a spelling of the default
    // folder with a trailing slash is still the default.
    struct Change {
        const char* what;
        std::function<void(SettingModel&)> apply;
        bool enabled;
    };
    const Change changes[] = {
        { "keep hierarchy", [](SettingModel& m) { m.setKeepFolderHierarchy(true); }, true },
        { "ask off", [](SettingModel& m) { m.setAskBeforeOverwrite(false); }, true },
        { "other folder",
            [](SettingModel& m) {
                m.folderChosen("/tmp/other");
                m.setAskBeforeOverwrite(true);
            },
            true },
        { "default folder respelt",
            [](SettingModel& m) {
                m.folderChosen(Paths::defaultOutputFolder() + "/");
                m.setAskBeforeOverwrite(true);
            },
            false },
        { "beside the originals", [](SettingModel& m) { m.btnKeepOriginalFolderTapped(); }, true },
    };
    for (const Change& c : changes) {
        SCOPED_TRACE(c.what);
        model.btnResetFolderTapped();
        c.apply(model);
        EXPECT_EQ(model.isResetFolderEnabled(), c.enabled);
    }
    model.btnKeepOriginalFolderTapped();
    EXPECT_FALSE(model.isKeepFolderHierarchyEnabled());
    EXPECT_EQ(model.getOutputSettingObject().folderOption, 0);
}

TEST(SettingModelTest, RestoreKeepsLabelAndIndexTogether)
{
    OutputOptionSettings saved;
    saved.formatOption = 0;
    saved.selectedFileFormat = 5; // stored by an old session in keep mode
    saved.compressionRatio = 60;
    saved.filenameOption = 2;
    saved.prefixString = "web_";
    saved.keepFolderHierarchy = true;
    saved.askBeforeOverwrite = false;
    SettingModel model;
    model.setOutputSettingObject(saved);
    EXPECT_FALSE(model.isConvertFormat());
    EXPECT_EQ(model.selectedFormatOptionIndex(), 0);
    EXPECT_EQ(model.selectedFormatTitle(), "*.TIF");
    EXPECT_EQ(model.qualityText(), "60");
    EXPECT_EQ(model.suffixText(), "web_");
    EXPECT_TRUE(model.isSuffixBoxVisible());
    EXPECT_TRUE(model.isResetFolderEnabled());
    const OutputOptionSettings out = model.getOutputSettingObject();
    EXPECT_EQ(out.selectedFileFormat, 0);
    EXPECT_EQ(out.prefixString, "web_");
    EXPECT_TRUE(out.keepFolderHierarchy);
    EXPECT_FALSE(out.askBeforeOverwrite);

    saved.formatOption = 1;
    model.setOutputSettingObject(saved);
    EXPECT_TRUE(model.isConvertFormat());
    EXPECT_EQ(model.selectedFormatTitle(), "*.JP2");
    EXPECT_TRUE(model.isQualityBoxVisible());
}

} // namespace
} // namespace vantrel
