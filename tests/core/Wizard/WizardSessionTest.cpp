// Changed settings and the saved session: round trip, the stored preset list kept, and missing or
// damaged archives.
#include <gtest/gtest.h>

#include "WizardFakes.h"
#include "core/Catalogue.h"
#include "core/DataBeans/ProjectSession.h"
#include "core/Helper/Utils.h"
#include "core/Processing/RunSummary.h"
#include "core/Wizard/WizardDriver.h"
#include "platform/Defaults.h"
#include "platform/KeyedArchiver.h"

namespace vantrel::test {
namespace {

SizeObject preset(const QString& name, double width)
{
    SizeObject size;
    size.isPredefinedSize = true;
    size.name = name;
    size.customWidth = width;
    return size;
}

std::optional<ProjectSession> storedSession()
{
    return KeyedUnarchiver::unarchiveObjectWithData<ProjectSession>(
        Defaults::standard().dataForKey(kDefaultsProjectSession));
}

class WizardSessionTest : public ::testing::Test {
public:
    void SetUp() override
    {
        AppDelegate::resetShared();
        Defaults::standard().removeObjectForKey(kDefaultsProjectSession);
        Defaults::standard().removeObjectForKey(kDefaultsSavedProjectSession);
    }
    FakeWizardScreen screen;
    FakeAddPhotos addPhotos;
    FakePanes panes;
    FakeProcessing processing;
};

TEST_F(WizardSessionTest, ChangedSettings)
{
    const struct {
        const char* name;
        std::function<void(FakePanes&)> change;
        bool changed;
    } rows[] = {
        { "defaults", [](FakePanes&) {}, false },
        { "horizontal flip", [](FakePanes& p) { p.flipH = true; }, true },
        { "vertical flip", [](FakePanes& p) { p.flipV = true; }, true },
        { "rotation", [](FakePanes& p) { p.rotation = 4; }, true },
        { "custom size", [](FakePanes& p) { p.size.isCustomSize = true; }, true },
        { "percent size", [](FakePanes& p) { p.size.isPercentSize = true; }, true },
        { "preset 0",
            [](FakePanes& p) {
                p.size = preset("a", 1);
                p.size.predefinedIndex = 0;
            },
            true },
        { "preset flag, no index", [](FakePanes& p) { p.size = preset("a", 1); }, false },
        { "ask off", [](FakePanes& p) { p.output.askBeforeOverwrite = false; }, true },
        { "overwrite 0", [](FakePanes& p) { p.output.owerwriteExistingFiles = 0; }, true },
        { "convert", [](FakePanes& p) { p.output.formatOption = 1; }, true },
        { "format", [](FakePanes& p) { p.output.selectedFileFormat = 3; }, true },
        { "naming", [](FakePanes& p) { p.output.filenameOption = 2; }, true },
        { "hierarchy", [](FakePanes& p) { p.output.keepFolderHierarchy = true; }, true },
        { "folder and quality",
            [](FakePanes& p) {
                p.output.ouptputFolder = "/x";
                p.output.compressionRatio = 10;
            },
            false },
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        FakePanes fresh;
        row.change(fresh);
        EXPECT_EQ(WizardSession(fresh).ischangesMadeInSettings(), row.changed);
    }
}

TEST_F(WizardSessionTest, SaveKeepsTheStoredPresetsAndLoadRestoresThePanes)
{
    ProjectSession before;
    before.arrayPredefinedSize = { preset("stored", 640) };
    Defaults::standard().setObject(kDefaultsProjectSession, KeyedArchiver::archivedDataWithRootObject(before));
    panes.presets = { preset("pane", 800) };
    panes.size.isCustomSize = true;
    panes.size.customWidth = 1024;
    panes.rotation = 2;
    panes.flipH = panes.flipV = true;
    panes.output.formatOption = 1;
    panes.output.selectedFileFormat = 5;

    WizardSession(panes).saveProjectSessionToDefault(QDateTime(QDate(2026, 3, 4), QTime(9, 5, 7)));
    const std::optional<ProjectSession> saved = storedSession();
    ASSERT_TRUE(saved);
    ASSERT_EQ(saved->arrayPredefinedSize.size(), 1);
    EXPECT_EQ(saved->arrayPredefinedSize[0].name, "stored");
    EXPECT_TRUE(saved->dateString.startsWith("Mar-04-2026 09:05:7 ")) << saved->dateString.toStdString();
    EXPECT_EQ(Defaults::standard().stringForKey(kDefaultsSavedProjectSession), "yes");

    // Restored into fresh panes through the driver: both flips restore the horizontal one only, and
    // the custom size is not replaced by the default when step 2 comes.
    FakePanes restored;
    WizardDriver driver(screen, addPhotos, restored, processing);
    driver.loadLastSessionSettings();
    EXPECT_EQ(restored.size.customWidth, 1024);
    EXPECT_EQ(restored.rotation, 2);
    EXPECT_EQ(restored.flipOption, 1);
    EXPECT_EQ(restored.output.selectedFileFormat, 5);
    EXPECT_EQ(restored.output.formatOption, 1);
    addBatchPhoto("a.jpg");
    driver.setUiOnTabChange(2);
    EXPECT_FALSE(restored.calls.contains("defaultSize"));
}

TEST_F(WizardSessionTest, ShownDatesFollowTheLocaleKeptDatesDoNot)
{
    const QLocale saved;
    const QString pattern = WizardSession::kDatePattern;
    const QDateTime when(QDate(2026, 12, 28), QTime(15, 5, 7));
    // What every version keeps, whatever the locale: the session's date and the log's run stamp.
    const QString keptDate = "Dec-28-2026 03:05:7 PM";
    const QString keptStamp = "12282027 03057 PM";
    const struct {
        QLocale locale;
        QString shown;
    } rows[] = {
        { QLocale::c(), keptDate },
        { QLocale(QLocale::German, QLocale::Germany), "Dez.-28-2026 03:05:7 PM" },
        { QLocale(QLocale::Japanese, QLocale::Japan), QString::fromUtf8("12\u6708-28-2026 03:05:7 \u5348\u5f8c") },
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.locale.name().toStdString());
        QLocale::setDefault(row.locale);
        // The toolbox shows the user's month name and marker, and reads its own text back.
        EXPECT_EQ(Utils::getDateStringFromDate(when, pattern), row.shown);
        EXPECT_EQ(Utils::getDateFromString(row.shown, pattern), when);
        // A session saved under this locale keeps the fixed text, which reads back as the date.
        ASSERT_TRUE(WizardSession(panes).saveProjectSessionToDefault(when));
        const std::optional<ProjectSession> session = storedSession();
        ASSERT_TRUE(session);
        EXPECT_EQ(session->dateString, keptDate);
        EXPECT_EQ(Utils::getDateFromString(session->dateString, pattern), when);
        // A run under this locale finds the log rows of earlier runs by the same stamp text.
        EXPECT_EQ(RunSummary::runStamp(when), keptStamp);
    }
    QLocale::setDefault(saved);
}

TEST_F(WizardSessionTest, MissingOrDamagedArchives)
{
    const struct {
        const char* name;
        QByteArray archive; // null: no archive
        bool savedFlag;
    } rows[] = {
        { "no archive", QByteArray(), false },
        { "damaged archive", QByteArray("\xa2garbage", 8), true },
        { "foreign class", KeyedArchiver::archivedDataWithRootObject(SizeObject()), true },
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        SetUp();
        if (!row.archive.isNull())
            Defaults::standard().setObject(kDefaultsProjectSession, row.archive);
        if (row.savedFlag)
            Defaults::standard().setObject(kDefaultsSavedProjectSession, "yes");

        // Loading finds no session and touches no pane.
        FakePanes untouched;
        EXPECT_FALSE(WizardSession(untouched).loadLastSessionSettings());
        EXPECT_TRUE(untouched.calls.isEmpty());

        // Saving builds a fresh session from the panes and their presets.
        panes.presets = { preset("pane", 800) };
        panes.rotation = 1;
        WizardSession(panes).saveProjectSessionToDefault();
        const std::optional<ProjectSession> saved = storedSession();
        ASSERT_TRUE(saved);
        ASSERT_EQ(saved->arrayPredefinedSize.size(), 1);
        EXPECT_EQ(saved->arrayPredefinedSize[0].name, "pane");
        EXPECT_EQ(saved->resizeSettingObject->rotationType, 1);
        EXPECT_TRUE(saved->outputSettingObject);
    }

    // A session without its option objects restores nothing and does not fail.
    SetUp();
    Defaults::standard().setObject(
        kDefaultsProjectSession, KeyedArchiver::archivedDataWithRootObject(ProjectSession()));
    Defaults::standard().setObject(kDefaultsSavedProjectSession, "yes");
    EXPECT_EQ(WizardSession(panes).loadLastSessionSettings(), false);
    EXPECT_TRUE(panes.calls.isEmpty());
}

} // namespace
} // namespace vantrel::test
