// The wizard's rules with recording screens: step moves and their checks, the Convert decision,
// each alert button's action, and the sub-window rule for alerts and the overwrite question.
#include <memory>

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "../Processing/ProcessingFakes.h"
#include "WizardFakes.h"
#include "core/Catalogue.h"
#include "core/Processing/ProcessingEngine.h"
#include "core/Processing/ProcessingInlineExecutor.h"
#include "core/Wizard/ConvertDecision.h"
#include "core/Wizard/WizardDriver.h"
#include "platform/NotificationCenter.h"

namespace vantrel::test {
namespace {

class WizardDriverTest : public WizardFixture { };

TEST_F(WizardDriverTest, BottomButtonsOfEachStep)
{
    const struct {
        int step;
        bool photos;
        WizardBottomButtons expected;
    } rows[] = {
        { 1, false, { true, false, false, false, false, false, false } },
        { 1, true, { true, false, false, false, false, false, true } },
        { 2, true, { false, true, true, false, false, false, true } },
        { 3, true, { false, false, false, true, true, false, true } },
        { 4, true, { false, false, false, false, false, true, false } },
        { 5, true, {} },
        { 0, true, {} },
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.step);
        reset();
        if (row.photos)
            addBatchPhoto("a.jpg");
        driver->configureBottomButtons(row.step);
        EXPECT_EQ(screen->buttons, row.expected);
    }
}

TEST_F(WizardDriverTest, StepMovesAndTheirChecks)
{
    enum class Batch { Empty, NoneChecked, Checked };
    const struct {
        const char* name;
        int from;
        Batch batch;
        bool presetMissing;
        bool disabled;
        void (WizardDriver::*button)();
        int step; // step shown afterwards
        QList<int> tabs;
        QList<int> alerts;
    } rows[] = {
        { "next 1, empty", 1, Batch::Empty, false, false, &WizardDriver::btnNextOnPhotosvwTapped, 1, {}, { 117 } },
        { "next 1, none checked", 1, Batch::NoneChecked, false, false, &WizardDriver::btnNextOnPhotosvwTapped, 1, {},
            { 118 } },
        { "next 1", 1, Batch::Checked, false, false, &WizardDriver::btnNextOnPhotosvwTapped, 2, { 2 }, {} },
        { "next 1, disabled", 1, Batch::Empty, false, true, &WizardDriver::btnNextOnPhotosvwTapped, 1, {}, {} },
        { "next 2", 2, Batch::Checked, false, false, &WizardDriver::btnNextOnResizingvwTapped, 3, { 3 }, {} },
        { "next 2, no preset", 2, Batch::Checked, true, false, &WizardDriver::btnNextOnResizingvwTapped, 2, {},
            { 123 } },
        { "back 2", 2, Batch::Checked, false, false, &WizardDriver::btnBackOnResizingvwTapped, 1, { 1 }, {} },
        { "back 2, no preset", 2, Batch::Checked, true, false, &WizardDriver::btnBackOnResizingvwTapped, 2, {},
            { 123 } },
        { "back 3", 3, Batch::Checked, true, false, &WizardDriver::btnBackOnSettingvwTapped, 2, { 2 }, {} },
        { "back 3, disabled", 3, Batch::Checked, false, true, &WizardDriver::btnBackOnSettingvwTapped, 3, {}, {} },
        { "finish", 4, Batch::Checked, false, false, &WizardDriver::btnFinishOnProcessingvwTapped, 1, { 1 }, {} },
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        reset();
        if (row.batch != Batch::Empty)
            addBatchPhoto("a.jpg", row.batch == Batch::Checked);
        if (row.from == 4)
            driver->addProcessView();
        else
            driver->setUiOnTabChange(row.from);
        panes->presetMissing = row.presetMissing;
        AppDelegate::shareDelegate()->isDisableview = row.disabled;
        screen->calls.clear();

        (driver.get()->*row.button)();
        EXPECT_EQ(driver->currentStep(), row.step);
        EXPECT_EQ(tabs, row.tabs);
        EXPECT_EQ(screen->alertShown ? QList<int> { screen->alert.tag } : QList<int> {}, row.alerts);
    }
}

TEST_F(WizardDriverTest, DefaultSizeOnceAfterEachBatchChangeAndNotOverARestoredCustomSize)
{
    addBatchPhoto("a.jpg");
    driver->setUiOnTabChange(2);
    driver->setUiOnTabChange(1);
    driver->setUiOnTabChange(2);
    EXPECT_EQ(panes->calls, QStringList { "defaultSize" });
    NotificationCenter::defaultCenter().post(kNotificationsPhotosModified);
    driver->setUiOnTabChange(2);
    EXPECT_EQ(panes->calls, (QStringList { "defaultSize", "defaultSize" }));
    EXPECT_TRUE(screen->nextOnPhotosEnabled);
    EXPECT_GT(addPhotos->closedBackground, 3); // every step change stops the thumbnail work
}

TEST(ConvertDecision, EveryCombinationOfRawLibraryAndFolder)
{
    const struct {
        const char* name;
        QStringList checked; // checked photos; a "lib:" prefix marks a library photo
        QStringList unchecked;
        bool rawAdded; // the add screen saw a RAW file
        int formatOption;
        int folderOption;
        int alert; // 0: the run starts
    } rows[] = {
        { "common formats, any case", { "a.JPG", "b.tif", "c.Jpeg" }, {}, true, 0, 0, 0 },
        { "raw kept beside", { "a.cr2" }, {}, true, 0, 0, 119 },
        { "raw kept into folder", { "a.cr2" }, {}, true, 0, 1, 119 },
        { "raw converted", { "a.cr2" }, {}, true, 1, 0, 0 },
        { "raw not checked", { "a.jpg" }, { "b.nef" }, true, 0, 0, 0 },
        { "raw, add screen saw none", { "a.cr2" }, {}, false, 0, 0, 0 },
        { "library beside", { "lib:a.jpg" }, {}, false, 0, 0, 120 },
        { "library unchecked beside", { "a.jpg" }, { "lib:b.jpg" }, false, 0, 0, 120 },
        { "library into folder", { "lib:a.jpg" }, {}, false, 0, 1, 0 },
        { "library converted beside", { "lib:a.jpg" }, {}, false, 1, 0, 120 },
        { "library and raw beside", { "lib:a.jpg", "b.dng" }, {}, true, 0, 0, 121 },
        { "library and raw into folder", { "lib:a.jpg", "b.dng" }, {}, true, 0, 1, 119 },
        { "library and raw converted beside", { "lib:a.jpg", "b.dng" }, {}, true, 1, 0, 120 },
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        AppDelegate::resetShared();
        QList<PhotoFilePtr> batch;
        for (bool checked : { true, false })
            for (QString name : checked ? row.checked : row.unchecked) {
                const bool library = name.startsWith("lib:");
                batch.append(addBatchPhoto(name.remove("lib:"), checked, library));
            }
        OutputOptionSettings output;
        output.formatOption = row.formatOption;
        output.folderOption = row.folderOption;
        EXPECT_EQ(ConvertDecision::alertFor(ConvertDecision::decide(batch, output, row.rawAdded)), row.alert);
    }
}

TEST_F(WizardDriverTest, ConvertBuildsTheOptionsAndStartsOrAsks)
{
    addBatchPhoto("a.jpg");
    panes->size.isCustomSize = true;
    panes->rotation = 3;
    panes->flipV = true;
    driver->setUiOnTabChange(3);
    panes->output.compressionRatio = 42;
    panes->output.folderOption = 1;
    AppDelegate::shareDelegate()->setRawConvertFormat("jpeg");
    driver->btnConvertOnSettingvwTapped();
    EXPECT_EQ(processing->calls, QStringList { "start:png" });
    EXPECT_EQ(processing->lastOutput.compressionRatio, 42);
    EXPECT_EQ(processing->lastResize.rotationType, 3);
    EXPECT_TRUE(processing->lastResize.isVerticalFlip);
    EXPECT_TRUE(processing->lastResize.sizeObject->isCustomSize);
    EXPECT_EQ(driver->currentStep(), 4);
    EXPECT_FALSE(screen->buttons.finishOnProcessing);
    EXPECT_TRUE(tabs.isEmpty()); // Convert moves without the tab notification
    NotificationCenter::defaultCenter().post(kNotificationsProcessFinished);
    EXPECT_TRUE(screen->buttons.finishOnProcessing);

    // Disabled: only the RAW answer is reset.
    reset();
    addBatchPhoto("a.cr2");
    addPhotos->rawImageExist = true;
    AppDelegate::shareDelegate()->setRawConvertFormat("skipRaw");
    AppDelegate::shareDelegate()->isDisableview = true;
    driver->btnConvertOnSettingvwTapped();
    EXPECT_EQ(AppDelegate::shareDelegate()->rawConvertFormat(), "png");
    EXPECT_TRUE(screen->calls.isEmpty());
    AppDelegate::shareDelegate()->isDisableview = false;
    driver->setUiOnTabChange(3);
    driver->btnConvertOnSettingvwTapped();
    EXPECT_EQ(screen->alert.tag, 119);
    driver->alerts().btnCancelOnAlertTapped();
    EXPECT_EQ(AppDelegate::shareDelegate()->rawConvertFormat(), "png");
    EXPECT_EQ(driver->currentStep(), 3);
    EXPECT_TRUE(processing->calls.isEmpty());
}

TEST_F(WizardDriverTest, EachAlertButtonCloses_ThenActsOnTheLastNumber)
{
    const struct {
        int tag;
        AlertButton button;
        QStringList processing; // calls on the processing view, "start:<raw answer>" for a run
        QStringList addPhotos; // calls on the add screen after the raise's "dragOff"
    } rows[] = {
        { 113, AlertButton::Yes, {}, { "dragOn", "removeSelected" } },
        { 113, AlertButton::No, {}, { "dragOn" } },
        { 114, AlertButton::Yes, {}, { "dragOn", "removeAll" } },
        { 114, AlertButton::No, {}, { "dragOn" } },
        { 119, AlertButton::UsePng, { "start:png" }, { "dragOn" } },
        { 119, AlertButton::UseJpeg, { "start:jpeg" }, { "dragOn" } },
        { 119, AlertButton::SkipRaw, { "start:skipRaw" }, { "dragOn" } },
        { 119, AlertButton::Cancel, {}, { "dragOn" } },
        { 121, AlertButton::UseJpeg, { "start:jpeg" }, { "dragOn" } },
        { 121, AlertButton::SkipRaw, { "start:skipRaw" }, { "dragOn" } },
        { 120, AlertButton::Ok, { "start:png" }, { "dragOn" } },
        { 120, AlertButton::Cancel, {}, { "dragOn" } },
        { 102, AlertButton::Ok, { "lowSpaceOk" }, { "dragOn" } },
        { 122, AlertButton::Yes, { "hold", "stop" }, { "dragOn" } },
        { 122, AlertButton::No, { "hold", "restart" }, { "dragOn" } },
        { 103, AlertButton::RemoveFromBatch, {}, { "dragOn", "removeMissing" } },
        { 106, AlertButton::RemoveFromBatch, {}, { "dragOn", "removeMissing" } },
        { 117, AlertButton::Ok, {}, { "dragOn" } },
        { 100, AlertButton::Yes, {}, { "dragOn" } },
        { 107, AlertButton::Ok, {}, { "dragOn" } },
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << row.tag << " button " << int(row.button));
        reset();
        AppDelegate::shareDelegate()->setRawConvertFormat("png");
        NotificationCenter::defaultCenter().post(kNotificationShowAlertWithType, { { kUserInfoType, row.tag } });
        ASSERT_TRUE(screen->alertShown);
        EXPECT_FALSE(AppDelegate::shareDelegate()->isSubWindowOpened); // raising does not set it
        AppDelegate::shareDelegate()->isSubWindowOpened = true; // ... and a button clears it
        addPhotos->calls.clear();

        driver->alerts().tap(row.button);
        EXPECT_FALSE(screen->alertShown);
        EXPECT_FALSE(AppDelegate::shareDelegate()->isSubWindowOpened);
        EXPECT_EQ(processing->calls, row.processing);
        EXPECT_EQ(addPhotos->calls, row.addPhotos);
        EXPECT_EQ(driver->currentStep(), row.processing.value(0).startsWith("start") ? 4 : 0);

        // A second press of a button of a closed sheet does nothing.
        driver->alerts().tap(row.button);
        EXPECT_EQ(processing->calls, row.processing);
    }
}

TEST_F(WizardDriverTest, AStopQuestionStillOpenWhenTheRunEndsIsTakenDownUnanswered)
{
    // A quit raised the stop question just before the run ended by itself (or was stopped by a
    // second quit): once the run is over, the question asks about nothing; any other alert stays.
    for (const int tag : { 122, 117 }) {
        SCOPED_TRACE(tag);
        reset();
        NotificationCenter::defaultCenter().post(kNotificationShowAlertWithType, { { kUserInfoType, tag } });
        ASSERT_TRUE(screen->alertShown);
        processing->calls.clear();
        NotificationCenter::defaultCenter().post(kNotificationsProcessFinished);
        EXPECT_EQ(screen->alertShown, tag != 122);
        EXPECT_TRUE(processing->calls.isEmpty()) << "the question was answered";
        EXPECT_TRUE(screen->buttons.finishOnProcessing);
    }
}

TEST_F(WizardDriverTest, ALaterRaiseReplacesTheTexts_AndUnknownNumbersAreIgnored)
{
    NotificationCenter::defaultCenter().post(kNotificationShowAlertWithType, { { kUserInfoType, 117 } });
    NotificationCenter::defaultCenter().post(kNotificationShowAlertWithType, { { kUserInfoType, 108 } });
    NotificationCenter::defaultCenter().post(kNotificationShowAlertWithType, {});
    EXPECT_EQ(screen->alert.tag, 117);
    NotificationCenter::defaultCenter().post(kNotificationShowAlertWithType, { { kUserInfoType, 114 } });
    EXPECT_EQ(screen->alert.tag, 114);
    EXPECT_EQ(driver->alerts().alertTag(), 114);
    EXPECT_EQ(addPhotos->calls, (QStringList { "dragOff", "dragOff" }));
    driver->alerts().btnYesOnAlertTapped();
    EXPECT_EQ(addPhotos->calls.last(), "removeAll");
}

TEST_F(WizardDriverTest, ARaiseWhileASubWindowIsOpenIsDroppedAndLeavesDragAndDropAlone)
{
    NotificationCenter::defaultCenter().post(kNotificationShowOverwriteAlert);
    EXPECT_TRUE(screen->overwriteShown);
    EXPECT_TRUE(AppDelegate::shareDelegate()->isSubWindowOpened);
    NotificationCenter::defaultCenter().post(kNotificationShowAlertWithType, { { kUserInfoType, 122 } });
    EXPECT_FALSE(screen->alertShown);
    EXPECT_TRUE(addPhotos->calls.isEmpty());
    EXPECT_TRUE(processing->calls.isEmpty()); // 122 holds the run only when it is shown
    NotificationCenter::defaultCenter().post(kNotificationShowOverwriteAlert);
    EXPECT_EQ(screen->calls, QStringList { "overwrite" });

    NotificationCenter::defaultCenter().post(kNotificationHideOverwriteAlert);
    EXPECT_FALSE(AppDelegate::shareDelegate()->isSubWindowOpened);
    EXPECT_EQ(processing->subWindowClosed, 1);
}

/// The wizard's processing port over a real engine whose run happens inside the calls.
class EngineProcessing : public WizardProcessing {
public:
    explicit EngineProcessing(std::shared_ptr<ProcessingEngine> engine)
        : m_engine(std::move(engine))
    {
    }
    void startProcess(const OutputOptionSettings& out, const ResizingOptionsSettingObject& resize) override
    {
        m_engine->startProcess(out, resize);
    }
    void btnOkOnEnoughtSpcaecTapped() override { m_engine->btnOkOnEnoughtSpcaecTapped(); }
    void holdProcessing() override { m_engine->holdProcessing(); }
    void restartProcessing() override { m_engine->restartProcessing(); }
    void stopProcessing() override { m_engine->stopProcessing(); }
    QVariantMap getLogDetails() override { return m_engine->getLogDetails(); }
    void subWindowDidClose() override { m_engine->subWindowDidClose(); }

private:
    std::shared_ptr<ProcessingEngine> m_engine;
};

TEST_F(WizardDriverTest, ALowSpaceQuestionDroppedUnderASubWindowIsAskedWhenItCloses)
{
    QTemporaryDir dir;
    const QString out = dir.path() + "/out";
    QDir().mkpath(out);
    auto probe = std::make_shared<FakeProbe>();
    probe->free[out] = 1;
    auto engine = ProcessingEngine::create({ std::make_shared<FakePipeline>(), probe, std::make_shared<FakeClock>(),
        std::make_shared<FakeOpener>(), std::make_shared<FakeLog>(), std::make_shared<ProcessingInlineExecutor>() });
    FakeView view;
    engine->setView(&view);
    EngineProcessing port(engine);
    WizardDriver wizard(*screen, *addPhotos, *panes, port);
    driver.reset(); // only this driver observes
    wizard.registerObservers();

    QFile photo(dir.path() + "/a.jpg");
    ASSERT_TRUE(photo.open(QIODevice::WriteOnly));
    photo.write("a");
    photo.close();
    addBatchPhoto("a.jpg")->setFilePath(photo.fileName());
    panes->output.folderOption = 1;
    panes->output.ouptputFolder = out;

    // A panel of another screen is open when the run finds too little space.
    AppDelegate::shareDelegate()->isSubWindowOpened = true;
    wizard.btnConvertOnSettingvwTapped();
    EXPECT_TRUE(engine->isProcessOnHold());
    EXPECT_FALSE(screen->alertShown);

    // It closes; the next look at the flag asks the question.
    AppDelegate::shareDelegate()->isSubWindowOpened = false;
    wizard.alerts().subWindowMayHaveClosed();
    ASSERT_TRUE(screen->alertShown);
    EXPECT_EQ(screen->alert.tag, 102);
    wizard.alerts().btnOkOnAlertTapped();
    EXPECT_FALSE(engine->isRunActive());
    EXPECT_EQ(view.summary.conversionFailed, "1");
    EXPECT_TRUE(screen->buttons.finishOnProcessing);
}

} // namespace
} // namespace vantrel::test
