// The whole wizard offscreen with the real screens and the real run: photos added, a size and a
// format chosen, Convert, an overwrite question answered with "keep both", outputs and log rows
// found; then a second run on a volume that reports too little space, ended by OK on alert 102.
#include <atomic>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QImageReader>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include "app/MainScreen/AlertSheetView.h"
#include "app/MainScreen/MainScreenView.h"
#include "components/Sheet.h"
#include "core/AppDelegate.h"
#include "core/Catalogue.h"
#include "core/DataBeans/PhotoFile.h"
#include "core/DbManager/DBManager.h"
#include "core/Processing/ProcessingClock.h"
#include "core/Processing/ProcessingFileProbe.h"
#include "core/Processing/ProcessingLogDatabase.h"
#include "core/Processing/ProcessingPhotoPipeline.h"
#include "core/Processing/ProcessingSerialExecutor.h"
#include "platform/NotificationCenter.h"
#include "screens/AddPhotos/AddPhotosVC.h"
#include "screens/Panes/ResizeView.h"
#include "screens/Panes/SettingView.h"
#include "screens/Processing/OverwriteAlertView.h"
#include "screens/Processing/ProcessingView.h"
#include "support/TestImages.h"

namespace vantrel::test {
namespace {

/// Turns the event loop until done answers true; the limit only stops a hung test.
bool turnUntil(const std::function<bool()>& done)
{
    QDeadlineTimer limit(120'000);
    while (!done() && !limit.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    return done();
}

/// The real file probe; once `full` is set, every volume reports too little space.
class SwitchableProbe : public ProcessingFileProbe {
public:
    std::optional<qint64> freeBytes(const QString& folder) override
    {
        if (full)
            return 1024;
        return ProcessingFileProbe::freeBytes(folder);
    }
    std::atomic<bool> full { false };
};

QStringList filesIn(const QString& folder)
{
    return QDir(folder).entryList(QDir::Files, QDir::Name);
}

QWidget* activeSheetContent(QWidget* window)
{
    Sheet* sheet = Sheet::activeSheet(window);
    return sheet ? sheet->content() : nullptr;
}

TEST(WizardEndToEnd, ConvertWithAKeepBothAnswer_ThenALowSpaceRunEndedByOk)
{
    AppDelegate* app = AppDelegate::resetShared();
    app->dbManager = std::make_shared<DBManager>();
    QTemporaryDir dir;
    const QString src = dir.path() + "/src";
    const QString out = dir.path() + "/out";
    QDir().mkpath(src);
    QDir().mkpath(out);
    QStringList paths;
    for (int i = 1; i <= 3; ++i) {
        paths.append(QStringLiteral("%1/photo%2.jpg").arg(src).arg(i));
        ASSERT_TRUE(testimages::writePattern(paths.last(), 120, 80));
    }
    // An earlier output that the run will ask about.
    ASSERT_TRUE(testimages::writePattern(out + "/photo2.png", 10, 10));

    auto probe = std::make_shared<SwitchableProbe>();
    auto engine = ProcessingEngine::create(
        { std::make_shared<ProcessingPhotoPipeline>(), probe, std::make_shared<ProcessingClock>(), nullptr,
            std::make_shared<ProcessingLogDatabase>(app->dbManager), std::make_shared<ProcessingSerialExecutor>() });

    QWidget window;
    window.resize(1200, 800);
    auto* screen = new MainScreenView(&window, engine);
    screen->setGeometry(window.rect());
    window.show();
    screen->setUiOnTabChange(1);

    // Step 1: the photos are dropped on the add screen's drop box.
    NotificationCenter::defaultCenter().post(kFileDragDropNotification, { { kUserInfoPaths, paths } });
    ASSERT_TRUE(turnUntil([&] {
        return app->arraySelectedImagesToProcess.size() == 3 && !screen->addPhotosScreen()->isAddRunInProgress();
    }));
    QTest::mouseClick(screen->bottomButton("btnNextOnPhotosvw"), Qt::LeftButton);
    ASSERT_TRUE(screen->stepView(2)->isVisible());

    // Step 2: a custom size of 60 by 40.
    SizeObject size;
    size.isCustomSize = true;
    size.customWidth = 60;
    size.customHeight = 40;
    screen->vwResize()->setReSizeSettingObject(size);
    QTest::mouseClick(screen->bottomButton("btnNextOnResizingvw"), Qt::LeftButton);
    ASSERT_TRUE(screen->stepView(3)->isVisible());

    // Step 3: PNG into the chosen output folder, then Convert.
    SettingView* settings = screen->vwSetting();
    settings->btnConvertFormatTapped();
    settings->formatSelectionChangedWithIndex(2);
    settings->btnOutputToFolderTapped();
    settings->folderPanelEnded(out);
    ASSERT_EQ(settings->getOutputSettingObject().ouptputFolder, out);
    QTest::mouseClick(screen->bottomButton("btnConvertOnSettingvw"), Qt::LeftButton);
    ASSERT_TRUE(screen->stepView(4)->isVisible());

    // The run asks about photo2.png: keep both.
    ASSERT_TRUE(turnUntil([&] { return activeSheetContent(&window) == screen->winOverwriteAlert(); }));
    EXPECT_TRUE(app->isSubWindowOpened);
    QTest::mouseClick(
        screen->vwProcessing()->overwriteAlertContent()->button(OverwriteAlertView::Answer::KeepBoth), Qt::LeftButton);
    ASSERT_TRUE(turnUntil([&] { return !engine->isRunActive() && engine->activeWorkers() == 0; }));
    ASSERT_TRUE(turnUntil([&] { return screen->bottomButton("btnFinishOnProccesiingvw")->isVisible(); }));
    EXPECT_FALSE(activeSheetContent(&window));
    EXPECT_FALSE(app->isSubWindowOpened);

    const QStringList outputs = filesIn(out);
    ASSERT_EQ(outputs.size(), 4) << outputs.join(", ").toStdString();
    for (const QString& name : outputs) {
        const QSize written = QImageReader(out + "/" + name).size();
        if (name != "photo2.png") {
            EXPECT_EQ(written, QSize(60, 40)) << name.toStdString();
        }
    }
    EXPECT_EQ(QImageReader(out + "/photo2.png").size(), QSize(10, 10)); // the earlier file is kept

    const DbRows summaries = app->dbManager->getAllLogSummaries();
    ASSERT_EQ(summaries.size(), 1);
    const QString stamp = summaries[0].value("timeStamp");
    EXPECT_EQ(app->dbManager->getAllLogDetailsWhereTimestamp(stamp).size(), 3);
    EXPECT_EQ(summaries[0].value("imagesConverted"), "3");

    // Finish returns to step 1; the second run finds a full volume.
    QTest::mouseClick(screen->bottomButton("btnFinishOnProccesiingvw"), Qt::LeftButton);
    ASSERT_TRUE(screen->stepView(1)->isVisible());
    probe->full = true;
    screen->setUiOnTabChange(3);
    QTest::mouseClick(screen->bottomButton("btnConvertOnSettingvw"), Qt::LeftButton);
    ASSERT_TRUE(turnUntil([&] { return activeSheetContent(&window) == screen->winAlert(); }));
    EXPECT_EQ(screen->alertTag(), 102);
    QTest::mouseClick(screen->winAlert()->button(AlertButton::Ok), Qt::LeftButton);
    ASSERT_TRUE(turnUntil([&] { return !engine->isRunActive() && engine->activeWorkers() == 0; }));
    EXPECT_TRUE(screen->bottomButton("btnFinishOnProccesiingvw")->isVisible());
    EXPECT_EQ(engine->counterProcessedSuccessfully(), 0);
    EXPECT_EQ(filesIn(out).size(), 4);
    const DbRows both = app->dbManager->getAllLogSummaries();
    ASSERT_EQ(both.size(), 2);
    const DbRow& lowSpace = both[0].value("timeStamp") == stamp ? both[1] : both[0];
    EXPECT_EQ(lowSpace.value("imagesConverted"), "0");
    EXPECT_EQ(lowSpace.value("conversionFailed"), "3");
}

} // namespace
} // namespace vantrel::test
